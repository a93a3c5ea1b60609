#include "model/Composite.h"

#include <algorithm>
#include <vector>

namespace vork {

namespace {

// Composition works a row at a time through all the layers, so that the target row stays in
// the cache, and blends premultiplied, two channels a multiply, without a division per pixel
// and layer; each finished row is turned back into plain ARGB once.

// Each of the four bytes of p times f / 255, rounded.
inline uint32_t multiplyBytes(uint32_t p, uint32_t f) {
    uint32_t rb = (p & 0x00FF00FFu) * f;
    uint32_t ag = ((p >> 8) & 0x00FF00FFu) * f;
    rb = ((rb + ((rb >> 8) & 0x00FF00FFu) + 0x00800080u) >> 8) & 0x00FF00FFu;
    ag = (ag + ((ag >> 8) & 0x00FF00FFu) + 0x00800080u) & 0xFF00FF00u;
    return rb | ag;
}

// Source-over of n plain-ARGB pixels onto premultiplied ones, the source alpha first scaled by
// opacity / 255 and truncated (the alpha scaling of layer opacity).
void composeRow(uint32_t* out, const uint32_t* in, int n, uint32_t opacity) {
    for (int x = 0; x < n; ++x) {
        const uint32_t s = in[x];
        uint32_t a = s >> 24;
        if (opacity != 255)
            a = a * opacity / 255;
        if (a == 0)
            continue;
        if (a == 255) {
            out[x] = s;
            continue;
        }
        out[x] = multiplyBytes(s | 0xFF000000u, a) + multiplyBytes(out[x], 255 - a);
    }
}

// 255 / a in 16.16 fixed point.
struct Unpremultiplier {
    uint32_t of[256] = {};
    constexpr Unpremultiplier() {
        for (uint32_t a = 1; a < 256; ++a)
            of[a] = (255u * 65536u + a / 2) / a;
    }
};
constexpr Unpremultiplier unpremultiplier;

void unpremultiplyRow(uint32_t* row, int n) {
    for (int x = 0; x < n; ++x) {
        const uint32_t p = row[x];
        const uint32_t a = p >> 24;
        if (a == 255 || a == 0)
            continue;
        const uint32_t f = unpremultiplier.of[a];
        auto channel = [&](int shift) {
            return std::min(255u, (((p >> shift) & 255) * f + 0x8000u) >> 16);
        };
        row[x] = (a << 24) | (channel(16) << 16) | (channel(8) << 8) | channel(0);
    }
}

// Red, green and blue become their integer average where there is alpha; alpha is kept.
void greyRow(uint32_t* row, int n) {
    for (int x = 0; x < n; ++x) {
        const Color c(row[x]);
        if (c.a() == 0)
            continue;
        const int grey = (c.r() + c.g() + c.b()) / 3;
        row[x] = Color::fromArgb(c.a(), grey, grey, grey).argb;
    }
}

struct Contribution {
    const Bitmap* image;
    int opacity;
};

enum class Tone { Colour, Grey };

// Replaces target by the contributions drawn onto transparent at (0, 0) unscaled, in order,
// source-over; pixels outside the target are dropped.
void compose(Bitmap& target, const std::vector<Contribution>& parts, Tone tone) {
    std::vector<Contribution> drawn;
    for (const Contribution& part : parts)
        if (!part.image->isNull() && part.opacity > 0)
            drawn.push_back({part.image, std::min(part.opacity, 255)});
    const int w = target.width();
    for (int y = 0; y < target.height(); ++y) {
        uint32_t* out = target.row(y);
        std::fill(out, out + w, 0u);
        for (const Contribution& part : drawn)
            if (y < part.image->height())
                composeRow(out, part.image->row(y), std::min(w, part.image->width()),
                           uint32_t(part.opacity));
        unpremultiplyRow(out, w);
        if (tone == Tone::Grey)
            greyRow(out, w);
    }
}

// Composes the visible layers [first, last) of a frame into a cache with their opacity.
void composeCache(const Frame& frame, int first, int last, Layer& cache) {
    std::vector<Contribution> parts;
    for (int i = first; i < last; ++i)
        if (frame.layer(i).visible)
            parts.push_back({&frame.layer(i).image, frame.layer(i).opacity});
    // The flag says a visible layer went in, even one at opacity 0 that adds no pixels.
    cache.visible = !parts.empty();
    compose(cache.image, parts, Tone::Colour);
}

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

} // namespace

void scaleAlpha(Bitmap& image, int factor) {
    if (image.isNull() || factor < 0 || factor >= 255)
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

void rebuildOnionSkin(Document& animation, OnionSkin& onion, bool singleLayerView) {
    if (animation.frameCount() == 1) {
        onion.on = false;
        return;
    }
    const int source = onionSourceFrame(animation);
    animation.renumberFrames();
    const Frame& frame = animation.frame(source);
    onion.frameNumber = frame.number;

    // Layers go in at full opacity: the canvas fades the whole skin instead.
    std::vector<Contribution> parts;
    if (singleLayerView)
        parts.push_back({&frame.current().image, 255});
    else
        for (const auto& layer : frame.layers)
            if (layer->visible)
                parts.push_back({&layer->image, 255});
    Bitmap skin(animation.width, animation.height);
    compose(skin, parts, onion.grey ? Tone::Grey : Tone::Colour);
    onion.image = std::move(skin);
}

} // namespace vork
