#include "model/Composite.h"

#include <algorithm>

namespace vork {

namespace {

// Source-over of one non-premultiplied pixel whose alpha is already final onto another.
inline uint32_t blendOver(uint32_t dst, uint32_t src) {
    const uint32_t sa = src >> 24;
    const uint32_t da = dst >> 24;
    if (sa == 0)
        return dst;
    if (sa == 255 || da == 0)
        return src;
    const uint32_t inv = 255 - sa;
    const uint32_t outA = sa + (da * inv + 127) / 255;
    const uint32_t dw = da * inv / 255; // the destination's weight; sa + dw <= outA
    auto channel = [&](int shift) {
        uint32_t s = (src >> shift) & 255, d = (dst >> shift) & 255;
        return (s * sa + d * dw + outA / 2) / outA;
    };
    return (outA << 24) | (channel(16) << 16) | (channel(8) << 8) | channel(0);
}

// Draws source onto target at (0, 0) unscaled, source-over, with its alpha scaled by
// opacity / 255 (truncated) on the way, as if a scaled copy had been drawn.
void composeOver(Bitmap& target, const Bitmap& source, int opacity) {
    opacity = std::clamp(opacity, 0, 255);
    if (target.isNull() || source.isNull() || opacity == 0)
        return;
    const int w = std::min(target.width(), source.width());
    const int h = std::min(target.height(), source.height());
    for (int y = 0; y < h; ++y) {
        const uint32_t* in = source.row(y);
        uint32_t* out = target.row(y);
        for (int x = 0; x < w; ++x) {
            uint32_t s = in[x];
            uint32_t a = s >> 24;
            if (a == 0)
                continue;
            if (opacity != 255)
                s = (s & 0x00FFFFFFu) | ((a * uint32_t(opacity) / 255) << 24);
            out[x] = blendOver(out[x], s);
        }
    }
}

// Clears a cache and composes the visible layers [first, last) of a frame into it.
void composeCache(const Frame& frame, int first, int last, Layer& cache) {
    cache.visible = false;
    cache.image.fill(colors::transparent);
    for (int i = first; i < last; ++i) {
        const Layer& layer = frame.layer(i);
        if (!layer.visible)
            continue;
        // The flag says a visible layer went in, even one at opacity 0 that adds no pixels.
        cache.visible = true;
        composeOver(cache.image, layer.image, layer.opacity);
    }
}

} // namespace

void scaleAlpha(Bitmap& image, int factor) {
    if (image.isNull() || factor < 0 || factor > 255 || factor == 255)
        return;
    const uint32_t f = uint32_t(factor);
    for (int y = 0; y < image.height(); ++y) {
        uint32_t* row = image.row(y);
        for (int x = 0; x < image.width(); ++x) {
            uint32_t a = row[x] >> 24;
            if (a != 0)
                row[x] = (row[x] & 0x00FFFFFFu) | ((a * f / 255) << 24);
        }
    }
}

void rebuildLayerCaches(const Document& picture, Layer& belowCache, Layer& aboveCache) {
    // A cache that does not match the picture (never resized, or resized to other globals)
    // would be drawn misplaced over the canvas; it is remade at the picture's size.
    for (Layer* cache : {&belowCache, &aboveCache})
        if (cache->image.width() != picture.width || cache->image.height() != picture.height)
            cache->image = Bitmap(picture.width, picture.height);
    const Frame& frame = picture.current();
    composeCache(frame, 0, frame.currentLayer, belowCache);
    composeCache(frame, frame.currentLayer + 1, frame.layerCount(), aboveCache);
}

void resizeLayerCaches(Layer& belowCache, Layer& aboveCache, float width, float height) {
    belowCache.image = Bitmap(bitmapExtent(width), bitmapExtent(height));
    aboveCache.image = Bitmap(bitmapExtent(width), bitmapExtent(height));
}

namespace {

// The nearest enabled frame before the current one, searching backwards and wrapping round;
// the current frame itself when no other frame is enabled.
int onionSourceFrame(const Document& animation) {
    const int n = animation.frameCount();
    int position = animation.currentFrame;
    for (int tried = 0; tried < n - 1; ++tried) {
        position = position == 0 ? n - 1 : position - 1;
        if (animation.frame(position).enabled)
            return position;
    }
    return animation.currentFrame;
}

void greyOut(Bitmap& image) {
    for (int y = 0; y < image.height(); ++y) {
        uint32_t* row = image.row(y);
        for (int x = 0; x < image.width(); ++x) {
            Color c(row[x]);
            if (c.a() == 0)
                continue;
            int grey = (c.r() + c.g() + c.b()) / 3;
            row[x] = Color::fromArgb(c.a(), grey, grey, grey).argb;
        }
    }
}

} // namespace

void rebuildOnionSkin(Document& animation, OnionSkin& onion, bool singleLayerView) {
    if (animation.frameCount() == 1) {
        onion.on = false;
        return;
    }
    Bitmap skin(animation.width, animation.height);
    const int source = onionSourceFrame(animation);
    animation.renumberFrames();
    const Frame& frame = animation.frame(source);
    onion.frameNumber = frame.number;
    if (singleLayerView) {
        composeOver(skin, frame.current().image, 255);
    } else {
        for (const auto& layer : frame.layers)
            if (layer->visible)
                composeOver(skin, layer->image, 255);
    }
    if (onion.grey)
        greyOut(skin);
    onion.image = std::move(skin);
}

} // namespace vork
