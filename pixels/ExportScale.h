// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The whole-number scale of the exports: every picture pixel becomes an N x N square, so a
// small sprite comes out large enough to post and stays sharp; and the padding a sprite sheet
// may leave between its cells. One function enlarges, for every
// export, and one check says beforehand whether the enlarged size is allowed.
#include "gfx/Bitmap.h"

#include <cstdint>
#include <string>

namespace vork {

inline constexpr int minExportScale = 1;
inline constexpr int maxExportScale = 16;

inline constexpr bool validExportScale(int scale) {
    return scale >= minExportScale && scale <= maxExportScale;
}

// The transparent pixels between neighbouring cells of a sprite sheet (none at its edges).
inline constexpr int maxSheetPadding = 256;
inline constexpr bool validSheetPadding(int padding) {
    return padding >= 0 && padding <= maxSheetPadding;
}

// Whether an image of width x height enlarged by `scale` keeps both sides within the document
// limit (maxDocumentSide): what no export goes past.
bool scaledSizeFits(int64_t width, int64_t height, int scale);

// "W x H" of the enlarged size, for a refusal's detail.
std::string scaledSizeText(int64_t width, int64_t height, int scale);

// The image with each pixel repeated `scale` times across and down (nearest neighbour); the
// image itself (sharing its pixels) for scale 1. A null bitmap when the scale is out of range
// or the memory cannot be had; check scaledSizeFits first.
Bitmap enlarged(const Bitmap& image, int scale);

} // namespace vork
