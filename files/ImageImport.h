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
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <vector>

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
// the file, in order, each enabled with the delay the file gives it (importedGifDelayMs; an
// image of another format lasts 100 ms), holding one visible layer with the image as the GIF shows
// it at that point. Pixels the GIF leaves transparent are transparent black. As frames are added
// one after the other, the last frame is current. A file of one still image, in any format, gives
// one frame. Progress counts decoded frames; a cancel is honoured.
ImportedDocument importGif(const std::string& path, const Progress& progress = {});
ImportedDocument importGifBytes(std::span<const uint8_t> bytes, const Progress& progress = {});

// One image of a file as the import makes it a frame: ARGB of the file's size (a GIF's logical
// screen), with its delay; `number` counts from 1 to `count`, the images the file holds.
struct ImportedFrame {
    Bitmap image;
    double delayMs = 100;
    int number = 0, count = 0;
};
// Takes one frame; false stops the stream (it then ends Cancelled).
using ImportedFrameSink = std::function<bool(ImportedFrame&&)>;
// How many of the frames the caller keeps at once, for the memory budget checked up front.
enum class FramesHeld { All, One };

// The frames importGif makes, handed over one at a time as they are decoded, so a caller that
// keeps one frame at a time needs the memory of a few frames, however many the file holds.
// The file is checked as importGif checks it before any frame is handed over (a GIF cut short
// gives none). A failure to read says why in the outcome's detail: what the system said of
// the file, that it is no image of a known kind, or where a GIF is cut short.
FileOutcome streamImageFrames(const std::string& path, FramesHeld held,
                              const ImportedFrameSink& take);

// What importGif would make of a file, told from the file's blocks or header without decoding
// a pixel: the frame size, the number of frames and each one's delay. Fails as importGif fails
// for a file it refuses before decoding (unreadable, no image, a GIF cut short, too large).
struct ImageSummary {
    FileOutcome outcome;
    int width = 0, height = 0;
    std::vector<double> delaysMs; // one a frame
    std::vector<int> gifDelays;   // a GIF's delays as it stores them, in hundredths
    explicit operator bool() const { return outcome.ok(); }
};
ImageSummary summariseImageFile(const std::string& path);

// The first image of the file as an ARGB Bitmap of its size, every pixel as decoded (a
// transparent pixel keeps the colour bytes the format stores; a GIF's are transparent black).
LoadedImage loadImageFile(const std::string& path);
LoadedImage loadImageBytes(std::span<const uint8_t> bytes);

// A new picture of the image's size: default delay 0, one frame, one layer holding the image.
ImportedDocument openImageAsPicture(const std::string& path);

} // namespace vork
