#pragma once
// Checks of a document or image size against the program's limits, before any pixel of it is
// allocated.
#include "model/Limits.h"

#include <cstdint>

namespace vork {

inline bool sideInRange(int64_t side) {
    return side >= minDocumentSide && side <= maxDocumentSide;
}

inline bool sizeInRange(int64_t width, int64_t height) {
    return sideInRange(width) && sideInRange(height);
}

// Whether `images` ARGB images of width x height fit the memory budget.
inline bool fitsMemoryBudget(int64_t images, int64_t width, int64_t height) {
    // Past these bounds the product could overflow; no such count fits the budget anyway.
    if (images < 0 || width < 0 || height < 0 || images > (int64_t(1) << 32) ||
        width > maxDocumentSide || height > maxDocumentSide)
        return false;
    return uint64_t(images) * uint64_t(width) * uint64_t(height) * 4u <= uint64_t(maxDecodedBytes);
}

} // namespace vork
