// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Source-over of plain (not premultiplied) ARGB pixels, by hand where the drawing context needs
// an exact result: the nearest-neighbour scaling of the canvas.
#include <cstdint>

namespace vork {

// Source-over of one non-premultiplied pixel onto another.
inline uint32_t blendOver(uint32_t dst, uint32_t src, int opacity256) {
    uint32_t sa = ((src >> 24) * uint32_t(opacity256)) >> 8;
    if (sa == 0)
        return dst;
    if (sa == 255)
        return src;
    uint32_t da = dst >> 24;
    uint32_t inv = 255 - sa;
    uint32_t outA = sa + (da * inv + 127) / 255;
    if (outA == 0)
        return 0;
    uint32_t dw = da * inv / 255; // the weight of the destination
    auto ch = [&](int shift) {
        uint32_t s = (src >> shift) & 255, d = (dst >> shift) & 255;
        return ((s * sa + d * dw + outA / 2) / outA) & 255;
    };
    return (outA << 24) | (ch(16) << 16) | (ch(8) << 8) | ch(0);
}

// blendOver onto an opaque target, where it comes down to each channel
// (s * a + d * (255 - a) + 127) / 255, the result opaque: n pixels of `out`, the source pixel
// of out[i] being from[columns[i]].
void blendOntoOpaque(uint32_t* out, const uint32_t* from, const int* columns, int n,
                     int opacity256);

} // namespace vork
