// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/GifPalette.h"

#include <algorithm>
#include <cassert>

namespace vork {

void ColourCollector::add(uint32_t colour) {
    // Drawn pictures run in long stretches of one colour: most pixels end here.
    if (colour == last || !fits())
        return;
    last = colour;
    colours.insert(colour);
}

void ColourCollector::addAll(const GifFramePixels& frame) {
    for (uint32_t pixel : frame.pixels)
        if (pixel != gifTransparent)
            add(pixel);
}

void ColourCollector::addStored(const PlannedGifFrame& frame) {
    const Rect r = frame.rect;
    for (int y = r.y; y < r.y + r.h && fits(); ++y) {
        const uint32_t *target = frame.target->row(y), *canvas = frame.canvas->row(y);
        for (int x = r.x; x < r.x + r.w; ++x)
            if (target[x] != canvas[x])
                add(target[x]);
    }
}

GifPalette ColourCollector::palette() const {
    assert(fits());
    GifPalette out;
    for (uint32_t colour : colours)
        out.colours.push_back(colour & 0xFFFFFFu);
    std::sort(out.colours.begin(), out.colours.end());
    out.transparentIndex = int(out.colours.size());
    out.colours.push_back(0);
    return out;
}

std::vector<uint8_t> indexExactly(const PlannedGifFrame& frame, const GifPalette& palette) {
    const Rect r = frame.rect;
    std::vector<uint8_t> indices(size_t(r.w) * size_t(r.h), uint8_t(palette.transparentIndex));
    const auto opaque = palette.colours.begin(),
               opaqueEnd = palette.colours.begin() + palette.transparentIndex;
    uint8_t* out = indices.data();
    uint32_t lastColour = gifTransparent;
    uint8_t lastIndex = 0;
    for (int y = r.y; y < r.y + r.h; ++y) {
        const uint32_t *target = frame.target->row(y), *canvas = frame.canvas->row(y);
        for (int x = r.x; x < r.x + r.w; ++x, ++out) {
            if (target[x] == canvas[x])
                continue;
            if (target[x] != lastColour) {
                lastColour = target[x];
                const auto at = std::lower_bound(opaque, opaqueEnd, lastColour & 0xFFFFFFu);
                assert(at != opaqueEnd && *at == (lastColour & 0xFFFFFFu));
                lastIndex = uint8_t(at - opaque);
            }
            *out = lastIndex;
        }
    }
    return indices;
}

} // namespace vork
