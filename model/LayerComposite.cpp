// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/LayerComposite.h"

#include <algorithm>

namespace vork {

namespace {

// Source-over of plain ARGB src, its alpha already scaled, onto plain ARGB dst, rounded.
inline uint32_t over(uint32_t dst, uint32_t src) {
    const uint32_t sa = src >> 24, da = dst >> 24;
    if (sa == 0)
        return dst;
    if (sa == 255 || da == 0)
        return src;
    // Weights times 255: the source's sa * 255, what shows of the destination da * (255 - sa).
    const uint32_t sourceWeight = sa * 255, destinationWeight = da * (255 - sa);
    const uint32_t total = sourceWeight + destinationWeight; // the new alpha times 255
    auto channel = [&](int shift) {
        const uint32_t s = (src >> shift) & 255, d = (dst >> shift) & 255;
        return (s * sourceWeight + d * destinationWeight + total / 2) / total;
    };
    const uint32_t alpha = (total + 127) / 255;
    return alpha << 24 | channel(16) << 16 | channel(8) << 8 | channel(0);
}

inline uint32_t withScaledAlpha(uint32_t pixel, uint32_t opacity) {
    const uint32_t a = pixel >> 24;
    return a == 0 ? pixel : (pixel & 0x00FFFFFFu) | (a * opacity / 255) << 24;
}

void drawLayer(Bitmap& target, const Layer& layer) {
    const uint32_t opacity = uint32_t(std::clamp(layer.opacity, 0, 255));
    const int w = std::min(target.width(), layer.image.width());
    const int h = std::min(target.height(), layer.image.height());
    for (int y = 0; y < h; ++y) {
        const uint32_t* in = layer.image.row(y);
        uint32_t* out = target.row(y);
        for (int x = 0; x < w; ++x)
            out[x] = over(out[x], withScaledAlpha(in[x], opacity));
    }
}

} // namespace

Bitmap composeLayers(const Frame& frame, int width, int height, SingleLayerView view,
                     int viewedLayer) {
    Bitmap out(width, height);
    if (out.isNull())
        return out;
    for (int i = 0; i < frame.layerCount(); ++i) {
        const Layer& layer = frame.layer(i);
        const bool shown = view == SingleLayerView::On ? i == viewedLayer : layer.visible;
        if (shown)
            drawLayer(out, layer);
    }
    return out;
}

Bitmap composePicture(const Document& picture, SingleLayerView view, int viewedLayer) {
    return composeLayers(picture.frame(0), picture.width, picture.height, view, viewedLayer);
}

} // namespace vork
