// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What an operation on a whole document gave, and the check of a new document size that comes
// before any pixel is allocated.
#include "model/Document.h"
#include "pixels/SizeLimits.h"

#include <cstdint>

namespace vork {

// Anything but Done leaves the document exactly as it was.
enum class EditResult {
    Done,
    SizeOutOfRange, // a side outside minDocumentSide..maxDocumentSide
    TooLarge,       // the pixels would pass the memory budget, or could not be allocated
    Cancelled,      // the progress callback asked to stop
};

inline int64_t layerCount(const Document& document) {
    int64_t n = 0;
    for (const Frame& frame : document.frames())
        n += frame.layerCount();
    return n;
}

// Whether a document of `layers` layers may be width x height.
inline EditResult checkDocumentSize(int64_t layers, int width, int height) {
    if (!sizeInRange(width, height))
        return EditResult::SizeOutOfRange;
    if (!fitsMemoryBudget(layers, width, height))
        return EditResult::TooLarge;
    return EditResult::Done;
}

} // namespace vork
