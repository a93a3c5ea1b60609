// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What a picture or animation file holds, read through a small window of the file rather than
// whole: the header, the palette, every frame's delay and switch and every layer's flags, with
// the pixel runs checked and skipped, not decoded. One frame of an animation can be had the
// same way, with only its own pixels decoded, so that asking for one frame of a large
// animation costs about that frame's layers in memory.
//
// A file is accepted and refused exactly as the whole-file readers (readPictureFile,
// readAnimationFile) accept and refuse it, with the same failures and reasons.
#include "files/DocumentRead.h"
#include "model/Document.h"
#include "model/Palette.h"

#include <cstdint>
#include <string>
#include <vector>

namespace vork {

struct LayerSummary {
    int id = 0; // as a picture file stores it; an animation's layers are 1..N
    bool visible = true;
    int opacity = 255;
};

struct FrameSummary {
    double delay = 0; // ms
    bool enabled = true;
    std::vector<LayerSummary> layers;
};

struct DocumentSummary {
    int width = 0, height = 0;
    double defaultDelay = 0;
    std::vector<PaletteEntry> smallPalette;
    std::vector<FrameSummary> frames; // a picture has one
    ReadFailure failure = ReadFailure::None;
    std::string reason; // readFailureText, with what the system said of an unreadable file
    explicit operator bool() const { return failure == ReadFailure::None; }
};

DocumentSummary summariseDocumentFile(const std::string& path, DocumentFileFormat format);

// Frame `number` (1-based) of an animation file as a one-frame animation with the file's size
// and default delay, the frame's delay, switch and layers, and the file's palette. The summary
// of the whole file comes with it, so a number past the last frame gives no document and a
// summary that says how many there are.
struct AnimationFrameRead {
    DocumentReadResult read;
    DocumentSummary summary;
};
AnimationFrameRead readAnimationFrame(const std::string& path, int number);

} // namespace vork
