// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Images out: the composite picture as one PNG file, and the enabled frames of an animation as
// a numbered series of PNG files.
//
// Every image is encoded to PNG in memory and written through saveFileAtomically, so an
// existing file is replaced only by a complete new one; the first write that fails ends the
// export and is reported with the file's name. A series is saved through a SaveQueue, a few
// files at a time on worker threads, while the next frame is encoded.
//
// Every export takes a whole-number scale (see enlarged): each picture pixel becomes a square
// of scale x scale pixels. A scale whose images would pass the document side limit is refused
// before anything is composed or written.
#include "files/ImageFailure.h"
#include "gfx/Bitmap.h"
#include "model/Document.h"
#include "model/LayerComposite.h"
#include "pixels/ExportScale.h"
#include "pixels/Progress.h"

#include <cstdint>
#include <functional>
#include <span>
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

// The refusal's detail when the images of width x height at `scale` would be too large.
std::string scaledTooLargeText(int64_t width, int64_t height, int scale);

// One frame as every animation export takes it: its layers composed with composeLayers
// (single-layer view shows the frame's current layer), then enlarged by `scale`.
Bitmap exportedFrame(const Document& animation, const Frame& frame, SingleLayerView view,
                     int scale = 1);

// Frames handed over one at a time: the source hands each frame, in order, to its argument
// and stops when that gives false; it returns whether every frame was handed over. It may be
// called more than once, and holds only the frame it is handing over.
using FrameSource = std::function<bool(const std::function<bool(const Bitmap&)>&)>;

// What the animated exports (GIF, WebP, sprite sheet) take of an animation: its enabled
// frames, in order, each as exportedFrame gives it, with its delay. The source reads the
// document, which must outlive it.
struct ExportedFrames {
    int width = 0, height = 0; // of every frame, after the scale
    std::vector<double> delaysMs;
    FrameSource frames;
};
ExportedFrames exportedFrames(const Document& animation, SingleLayerView view, int scale = 1);

// The animation's exportedFrames encoded by `encode(width, height, delaysMs, frames, progress)`
// into an Encoding (an EncodedFile); refused as TooLarge, before any frame is composed, when
// the scale would pass the document side limit.
template <class Encoding, class Encode>
Encoding encodeExportedFrames(const Document& animation, SingleLayerView view,
                              const Progress& progress, int scale, Encode encode) {
    if (!scaledSizeFits(animation.width, animation.height, scale)) {
        Encoding refused;
        refused.failure = ImageFailure::TooLarge;
        refused.detail = scaledTooLargeText(animation.width, animation.height, scale);
        return refused;
    }
    const ExportedFrames exported = exportedFrames(animation, view, scale);
    return encode(exported.width, exported.height, exported.delaysMs, exported.frames, progress);
}

// A whole file encoded in memory, or why it could not be.
struct EncodedFile {
    std::vector<uint8_t> bytes;                // empty after a failure
    ImageFailure failure = ImageFailure::None; // e.g. NoEnabledFrames, TooLarge, Cancelled
    std::string detail;                        // what failed
    explicit operator bool() const { return failure == ImageFailure::None; }
};

// An encoded file saved as `file` through saveFileAtomically (after clearing the temporaries an
// interrupted save of it left); or the encoding's failure, said for the file.
ExportResult writeEncodedExport(const std::string& file, const EncodedFile& encoded);

// Writes the composite (composePicture) enlarged by `scale` under pictureExportName(chosenName).
ExportResult exportPicturePng(const Bitmap& composite, const std::string& chosenName,
                              int scale = 1);

// Writes every enabled frame, in order, composed with composeLayers (single-layer view shows
// each frame's current layer), as frameExportName(base, 1), (base, 2), ...: switched-off frames
// are skipped and use no number. Progress counts written files; a cancel starts no further
// file, finishes the few already under way and keeps every file written. An animation with no
// enabled frame writes nothing and says so. Each frame is enlarged by `scale`.
ExportResult exportFramesPng(const Document& animation, const std::string& chosenName,
                             SingleLayerView view, const Progress& progress = {}, int scale = 1);

} // namespace vork
