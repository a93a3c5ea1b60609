// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Checks of a document or image size against the program's limits, before any pixel of it is
// allocated.
#include "model/Limits.h"

#include <cstdint>

namespace vork {

inline bool sizeInRange(int64_t width, int64_t height) {
    return validDocumentSide(width) && validDocumentSide(height);
}

// Whether `layers` ARGB layers of width x height, each in a frame of its own, fit the memory
// budget with what each layer and frame costs beyond its pixels.
inline bool fitsMemoryBudget(int64_t layers, int64_t width, int64_t height) {
    // Past these bounds the product could overflow; no such count fits the budget anyway.
    if (layers < 0 || width < 0 || height < 0 || layers > (int64_t(1) << 32) ||
        width > maxDocumentSide || height > maxDocumentSide)
        return false;
    const uint64_t perLayer =
        uint64_t(width) * uint64_t(height) * 4u + layerOverheadBytes + frameOverheadBytes;
    return uint64_t(layers) * perLayer <= uint64_t(maxDecodedBytes);
}

} // namespace vork
