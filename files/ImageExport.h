// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Images out: the composite picture as one PNG file, and the enabled frames of an animation as
// a numbered series of PNG files.
//
// Every image is encoded to PNG in memory and written through saveFileAtomically, so an
// existing file is replaced only by a complete new one; the first write that fails ends the
// export and is reported with the file's name. A series is saved through a SaveQueue, a few
// files at a time on worker threads, while the next frame is encoded.
#include "files/ImageFailure.h"
#include "gfx/Bitmap.h"
#include "model/Document.h"
#include "model/LayerComposite.h"
#include "pixels/Progress.h"

#include <cstdint>
#include <string>
#include <vector>

namespace vork {

struct ExportResult {
    FileOutcome outcome;
    std::vector<std::string> written; // the files written, in order, also before a failure
    explicit operator bool() const { return outcome.ok(); }
};

// The chosen name cut at the dot that starts the extension of its file name: "walk.png" and
// "walk" both give "walk"; a dot in a folder name is not an extension.
std::string exportBaseName(const std::string& chosenName);
// The picture's file: the base name and ".png", so "pic.bmp" is written as "pic.png".
std::string pictureExportName(const std::string& chosenName);
// The file of the n-th exported frame (1-based): base + "%03d" + ".png"; past 999 the number
// simply gets more digits.
std::string frameExportName(const std::string& baseName, int number);

// Writes the composite (composePicture) under pictureExportName(chosenName).
ExportResult exportPicturePng(const Bitmap& composite, const std::string& chosenName);

// Writes every enabled frame, in order, composed with composeLayers (single-layer view shows
// each frame's current layer), as frameExportName(base, 1), (base, 2), ...: switched-off frames
// are skipped and use no number. Progress counts written files; a cancel starts no further
// file, finishes the few already under way and keeps every file written. An animation with no
// enabled frame writes nothing and says so.
ExportResult exportFramesPng(const Document& animation, const std::string& chosenName,
                             SingleLayerView view, const Progress& progress = {});

} // namespace vork
