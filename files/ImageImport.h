// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Images in: the frames of a GIF as a new animation, an image as a new picture, and an image as
// a Bitmap that the caller places as a pasted selection.
//
// The decoders are the image plugins behind gfx/ImageCodec.h (PNG, JPEG, GIF, BMP, TIFF and
// whatever else they read); the format is told from the content, not from the name. Before any
// frame is decoded, the size every frame will have and the number of frames are checked against the
// per-side limit and the memory budget, so a small hostile file cannot make the program allocate
// gigabytes. A file that cannot be read completely gives no document at all: a GIF must run whole
// to its trailer (the decoder would take a cut-off last image for a complete one). Nothing here
// touches an existing document.
//
// Thumbnails are left to the caller's document aftermath: the new layers keep their blank ones.
#include "files/ImageFailure.h"
#include "gfx/Bitmap.h"
#include "model/Document.h"
#include "pixels/Progress.h"

#include <cstdint>
#include <memory>
#include <span>
#include <string>

namespace vork {

struct ImportedDocument {
    std::unique_ptr<Document> document; // null on failure
    FileOutcome outcome;
    explicit operator bool() const { return document != nullptr; }
};

struct LoadedImage {
    Bitmap image; // ARGB, null on failure
    FileOutcome outcome;
    explicit operator bool() const { return !image.isNull(); }
};

// A new animation of the GIF's size with the default delay 100: one frame for each image of
// the file, in order, each enabled with the delay 100 (the delays stored in the file are not
// read), holding one visible layer with the image as the GIF shows it at that point. Pixels
// the GIF leaves transparent are transparent black. As frames are added one after the other,
// the last frame is current. A file of one still image, in any format, gives one frame.
// Progress counts decoded frames; a cancel is honoured.
ImportedDocument importGif(const std::string& path, const Progress& progress = {});
ImportedDocument importGifBytes(std::span<const uint8_t> bytes, const Progress& progress = {});

// The first image of the file as an ARGB Bitmap of its size, every pixel as decoded (a
// transparent pixel keeps the colour bytes the format stores; a GIF's are transparent black).
LoadedImage loadImageFile(const std::string& path);
LoadedImage loadImageBytes(std::span<const uint8_t> bytes);

// A new picture of the image's size: default delay 0, one frame, one layer holding the image.
ImportedDocument openImageAsPicture(const std::string& path);

} // namespace vork
