// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The largest documents the program makes or reads. A side outside 1..5000 pixels is refused
// everywhere: by the new-document dialogs, the file readers, the image import and the size
// dialogs. The pixel budget keeps a file of a few bytes from asking for more memory than the
// machine has: a reader refuses a document whose decoded layers (frames x layers x width x
// height x 4 bytes, with what each layer and frame costs beyond its pixels) would pass it,
// before it allocates anything. The numbers of frames and of layers in a frame have limits of
// their own, far past any real document, so that a file of tiny layers cannot make millions.
// The editor adds no frame or layer past them.
#include <cstdint>

namespace vork {

inline constexpr int minDocumentSide = 1;
inline constexpr int maxDocumentSide = 5000;

inline constexpr bool validDocumentSide(int64_t side) {
    return side >= minDocumentSide && side <= maxDocumentSide;
}

inline constexpr uint64_t maxDecodedBytes = uint64_t(4) << 30; // 4 GiB of layer pixels

inline constexpr int maxFrames = 10000;
inline constexpr int maxLayersPerFrame = 1000;

// What a layer and a frame hold besides their pixels, rounded up: the thumbnails (30 x 30 for a
// layer, 55 x 50 for a frame), the caches and the objects themselves.
inline constexpr uint64_t layerOverheadBytes = uint64_t(8) << 10;
inline constexpr uint64_t frameOverheadBytes = uint64_t(16) << 10;

} // namespace vork
