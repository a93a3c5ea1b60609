// SPDX-License-Identifier: GPL-3.0-or-later
#include "pixels/LayerOps.h"

#include "pixels/Pixels.h"

namespace vork {

namespace {

constexpr int gridColumns = 48, gridRows = 16;

// Source-over of one unpremultiplied pixel, rounded to the nearest byte.
uint32_t over(uint32_t src, uint32_t dst) {
    const uint32_t sa = src >> 24;
    if (sa == 255)
        return src;
    if (sa == 0)
        return dst;
    const uint32_t da = dst >> 24;
    if (da == 0)
        return src;
    // Weights out of 255 * 255: the source's and what shows of the destination.
    const uint32_t ws = sa * 255, wd = da * (255 - sa);
    const uint32_t wo = ws + wd;
    auto channel = [&](int shift) {
        const uint32_t s = (src >> shift) & 0xFF, d = (dst >> shift) & 0xFF;
        return ((s * ws + d * wd + wo / 2) / wo) << shift;
    };
    const uint32_t alpha = (wo + 127) / 255;
    return (alpha << 24) | channel(16) | channel(8) | channel(0);
}

} // namespace

bool mergeLayerPixels(Bitmap& lower, int lowerOpacity, Bitmap& upper, int upperOpacity) {
    if (lower.isNull() || !lower.sameSize(upper))
        return false;
    const int w = lower.width(), h = lower.height();
    scaleAlpha(0, 0, w, h, lower, lowerOpacity);
    scaleAlpha(0, 0, w, h, upper, upperOpacity);
    for (int y = 0; y < h; ++y) {
        uint32_t* out = lower.row(y);
        const uint32_t* in = upper.row(y);
        for (int x = 0; x < w; ++x)
            out[x] = over(in[x], out[x]);
    }
    return true;
}

int64_t replaceColour(Bitmap& image, Color from, Color to) {
    int64_t changed = 0;
    const int w = image.width();
    for (int y = 0; y < image.height(); ++y) {
        uint32_t* row = image.row(y);
        for (int x = 0; x < w; ++x) {
            const bool hit = row[x] == from.argb;
            row[x] = hit ? to.argb : row[x];
            changed += hit;
        }
    }
    return changed;
}

bool sampleBigPalette(const Bitmap& image, std::vector<PaletteEntry>& big) {
    if (image.isNull() || big.size() != size_t(gridColumns * gridRows))
        return false;
    const int cellWidth = image.width() / gridColumns, cellHeight = image.height() / gridRows;
    for (int r = 0; r < gridRows; ++r)
        for (int c = 0; c < gridColumns; ++c)
            big[size_t(gridColumns * r + c)].color = image.pixel(c * cellWidth, r * cellHeight);
    return true;
}

} // namespace vork
