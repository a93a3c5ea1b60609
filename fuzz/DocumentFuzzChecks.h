// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Checks shared by the picture and animation file fuzz targets: what a reader gives for any
// bytes must be a sound document, and writing it and reading it again must give it back.
#include "files/DocumentRead.h"
#include "model/Limits.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <span>
#include <vector>

namespace vork::fuzz {

// The fuzzers keep decoded documents smaller than the program does, so that a file's claim of a
// huge document is refused rather than reported as running out of memory; yet large enough for
// the most frames, and the most layers in a frame, of 1 x 1 pixels, so that the count limits
// are reached from both sides.
inline constexpr uint64_t fuzzPixelBudget =
    uint64_t(maxFrames) * (frameOverheadBytes + layerOverheadBytes + 4);
static_assert(fuzzPixelBudget >= uint64_t(maxLayersPerFrame) * (layerOverheadBytes + 4));

inline void require(bool condition, const char* what) {
    if (!condition) {
        std::fprintf(stderr, "document file fuzz: %s\n", what);
        std::abort();
    }
}

inline void requireSoundFailure(const DocumentReadResult& read) {
    require(read.failure != ReadFailure::None, "a failed read reports no failure");
    require(!read.document && read.smallPalette.empty(), "a failed read gave a document");
    require(!read.reason.empty(), "a failure has no reason text");
}

inline void requireSoundDocument(const DocumentReadResult& read, DocumentFileFormat format) {
    require(read.failure == ReadFailure::None && read.reason.empty(), "success with a failure");
    const Document& d = *read.document;
    require(d.width >= 1 && d.width <= 5000 && d.height >= 1 && d.height <= 5000, "bad size");
    require(d.frameCount() >= 1, "no frame");
    require(format == DocumentFileFormat::Animation || d.frameCount() == 1,
            "a picture with several frames");
    require(d.currentFrameIndex() == d.frameCount() - 1, "the current frame is not the last");
    for (const Frame& frame : d.frames()) {
        require(frame.layerCount() >= 1, "a frame without layers");
        require(frame.currentLayerIndex() == frame.layerCount() - 1,
                "the current layer is not last");
        for (const Layer& layer : frame.layers()) {
            require(layer.image.width() == d.width && layer.image.height() == d.height,
                    "a layer of another size");
            require(layer.opacity >= 0 && layer.opacity <= 255, "opacity out of range");
            require(layer.id <= frame.layerCounter, "a layer id above the counter");
        }
    }
    require(read.smallPalette.size() == 111, "palette of the wrong size");
    for (size_t i = 0; i < read.smallPalette.size(); ++i)
        require(read.smallPalette[i].id == int(i), "palette ids out of order");
}

inline bool samePixels(const Bitmap& a, const Bitmap& b) {
    return a.sameSize(b) &&
           std::memcmp(a.bytes(), b.bytes(), size_t(a.width()) * size_t(a.height()) * 4) == 0;
}

inline void requireSameDocument(const DocumentReadResult& a, const DocumentReadResult& b) {
    const Document& x = *a.document;
    const Document& y = *b.document;
    require(x.width == y.width && x.height == y.height, "size changed");
    require(x.defaultDelay == y.defaultDelay, "default delay changed");
    require(x.frameCount() == y.frameCount() && x.currentFrameIndex() == y.currentFrameIndex(),
            "frames changed");
    for (int j = 0; j < x.frameCount(); ++j) {
        const Frame& f = x.frame(j);
        const Frame& g = y.frame(j);
        require(f.delay == g.delay && f.enabled == g.enabled, "frame fields changed");
        require(f.layerCount() == g.layerCount() &&
                    f.currentLayerIndex() == g.currentLayerIndex() &&
                    f.layerCounter == g.layerCounter,
                "layer list changed");
        for (int k = 0; k < f.layerCount(); ++k) {
            const Layer& l = f.layer(k);
            const Layer& m = g.layer(k);
            require(l.id == m.id && l.visible == m.visible && l.opacity == m.opacity,
                    "layer fields changed");
            require(samePixels(l.image, m.image), "pixels changed");
        }
    }
    for (size_t i = 0; i < a.smallPalette.size(); ++i)
        require(a.smallPalette[i].color == b.smallPalette[i].color, "palette changed");
}

// Runs one input through a format's decoder and encoder.
template <typename Decode, typename Encode>
void checkDocumentFile(std::span<const uint8_t> bytes, DocumentFileFormat format, Decode decode,
                       Encode encode) {
    const DocumentReadResult read = decode(bytes, fuzzPixelBudget);
    if (!read) {
        requireSoundFailure(read);
        return;
    }
    requireSoundDocument(read, format);
    // A file may hold runs a writer would have joined and flags other than 1; what it means
    // must survive a write and a read, and a second write must give the same bytes.
    const std::vector<uint8_t> again = encode(*read.document, read.smallPalette);
    require(!again.empty(), "a document read could not be written");
    const DocumentReadResult reread = decode(again, fuzzPixelBudget);
    require(bool(reread), "a written document could not be read");
    requireSameDocument(read, reread);
    require(encode(*reread.document, reread.smallPalette) == again, "writing is not stable");
}

} // namespace vork::fuzz
