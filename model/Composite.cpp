#include "model/Composite.h"

#include <algorithm>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace vork {

namespace {

// Composition works a row at a time through all the layers, so that the target row stays in
// the cache, and blends premultiplied, two channels a multiply, without a division per pixel
// and layer; each finished row is turned back into plain ARGB once.

// Each of the four bytes of p times f / 255, rounded exactly: for x = b * f + 128,
// (x + (x >> 8)) >> 8 equals round(b * f / 255) over all bytes b and f.
inline uint32_t multiplyBytes(uint32_t p, uint32_t f) {
    uint32_t rb = (p & 0x00FF00FFu) * f + 0x00800080u;
    uint32_t ag = ((p >> 8) & 0x00FF00FFu) * f + 0x00800080u;
    rb = ((rb + ((rb >> 8) & 0x00FF00FFu)) >> 8) & 0x00FF00FFu;
    ag = (ag + ((ag >> 8) & 0x00FF00FFu)) & 0xFF00FF00u;
    return rb | ag;
}

// Source-over of one plain-ARGB pixel, its alpha already scaled, onto a premultiplied one.
inline uint32_t blendPixel(uint32_t out, uint32_t s, uint32_t a) {
    if (a == 0)
        return out;
    if (a == 255)
        return s;
    return multiplyBytes(s | 0xFF000000u, a) + multiplyBytes(out, 255 - a);
}

#if defined(__SSE2__)
// The same, four pixels at a time in 16-bit lanes; the rounding is identical.
inline __m128i divideBy255Rounded(__m128i products) {
    __m128i x = _mm_add_epi16(products, _mm_set1_epi16(128));
    return _mm_srli_epi16(_mm_add_epi16(x, _mm_srli_epi16(x, 8)), 8);
}

// Each pixel's alpha in all four 16-bit lanes of that pixel: pixels 0, 1 and pixels 2, 3.
struct AlphaLanes {
    __m128i low, high;
    explicit AlphaLanes(__m128i alpha) {
        const __m128i pairs = _mm_or_si128(alpha, _mm_slli_epi32(alpha, 16));
        low = _mm_unpacklo_epi32(pairs, pairs);
        high = _mm_unpackhi_epi32(pairs, pairs);
    }
};

// The source's four pixels premultiplied by their (scaled) alpha, in 16-bit lanes.
inline void premultiplyFour(__m128i s, const AlphaLanes& a, __m128i& low, __m128i& high) {
    const __m128i zero = _mm_setzero_si128();
    const __m128i opaque = _mm_or_si128(s, _mm_set1_epi32(int(0xFF000000u)));
    low = divideBy255Rounded(_mm_mullo_epi16(_mm_unpacklo_epi8(opaque, zero), a.low));
    high = divideBy255Rounded(_mm_mullo_epi16(_mm_unpackhi_epi8(opaque, zero), a.high));
}

inline __m128i blendFour(__m128i out, __m128i s, __m128i alpha) {
    const __m128i zero = _mm_setzero_si128();
    const AlphaLanes a(alpha);
    __m128i low, high;
    premultiplyFour(s, a, low, high);
    // Onto nothing yet, the premultiplied source is the result.
    if (_mm_movemask_epi8(_mm_cmpeq_epi32(out, zero)) == 0xFFFF)
        return _mm_packus_epi16(low, high);
    const __m128i full = _mm_set1_epi16(255);
    low = _mm_add_epi16(low, divideBy255Rounded(_mm_mullo_epi16(_mm_unpacklo_epi8(out, zero),
                                                                _mm_sub_epi16(full, a.low))));
    high = _mm_add_epi16(high, divideBy255Rounded(_mm_mullo_epi16(_mm_unpackhi_epi8(out, zero),
                                                                  _mm_sub_epi16(full, a.high))));
    return _mm_packus_epi16(low, high);
}
#endif

// Source-over of n plain-ARGB pixels onto premultiplied ones, the source alpha first scaled by
// opacity / 255 and truncated (the alpha scaling of layer opacity).
void composeRow(uint32_t* out, const uint32_t* in, int n, uint32_t opacity) {
    int x = 0;
#if defined(__SSE2__)
    const __m128i alphaMask = _mm_set1_epi32(int(0xFF000000u));
    const __m128i factor = _mm_set1_epi32(int(opacity));
    for (; x + 4 <= n; x += 4) {
        // Composition reads several layers in turn: asking for the pixels ahead keeps the
        // loads from waiting on memory.
        _mm_prefetch(reinterpret_cast<const char*>(in + x + 256), _MM_HINT_T0);
        __m128i s = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + x));
        __m128i alpha = _mm_srli_epi32(s, 24);
        if (opacity != 255) {
            // floor(t / 255) == (t + 1 + (t >> 8)) >> 8 for t = a * opacity <= 65025.
            __m128i t = _mm_mullo_epi16(alpha, factor);
            t = _mm_add_epi32(t, _mm_add_epi32(_mm_set1_epi32(1), _mm_srli_epi32(t, 8)));
            alpha = _mm_srli_epi32(t, 8);
        }
        int zeros = _mm_movemask_epi8(_mm_cmpeq_epi32(alpha, _mm_setzero_si128()));
        if (zeros == 0xFFFF)
            continue; // four transparent pixels: the common case on a drawing layer
        if (opacity == 255 &&
            _mm_movemask_epi8(_mm_cmpeq_epi32(_mm_and_si128(s, alphaMask), alphaMask)) == 0xFFFF) {
            _mm_storeu_si128(reinterpret_cast<__m128i*>(out + x), s);
            continue;
        }
        __m128i o = _mm_loadu_si128(reinterpret_cast<const __m128i*>(out + x));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + x), blendFour(o, s, alpha));
    }
#endif
    for (; x < n; ++x) {
        const uint32_t s = in[x];
        uint32_t a = s >> 24;
        if (opacity != 255)
            a = a * opacity / 255;
        out[x] = blendPixel(out[x], s, a);
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

inline void unpremultiplyPixel(uint32_t& p) {
    const uint32_t a = p >> 24;
    if (a == 255 || a == 0)
        return;
    const uint32_t f = unpremultiplier.of[a];
    auto channel = [&](int shift) {
        return std::min(255u, (((p >> shift) & 255) * f + 0x8000u) >> 16);
    };
    p = (a << 24) | (channel(16) << 16) | (channel(8) << 8) | channel(0);
}

void unpremultiplyRow(uint32_t* row, int n) {
    int x = 0;
#if defined(__SSE2__)
    // Runs of opaque and transparent pixels, most of a picture, are passed four at a time.
    const __m128i zero = _mm_setzero_si128(), full = _mm_set1_epi32(255);
    for (; x + 4 <= n; x += 4) {
        const __m128i a =
            _mm_srli_epi32(_mm_loadu_si128(reinterpret_cast<const __m128i*>(row + x)), 24);
        if (_mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi32(a, zero), _mm_cmpeq_epi32(a, full))) ==
            0xFFFF)
            continue;
        for (int k = 0; k < 4; ++k)
            unpremultiplyPixel(row[x + k]);
    }
#endif
    for (; x < n; ++x)
        unpremultiplyPixel(row[x]);
}

// Copies n pixels to memory that will not be read again soon, past the processor's cache.
void writeRow(uint32_t* to, const uint32_t* from, int n) {
    int x = 0;
#if defined(__SSE2__)
    for (; x < n && (reinterpret_cast<uintptr_t>(to + x) & 15) != 0; ++x)
        to[x] = from[x];
    for (; x + 4 <= n; x += 4)
        _mm_stream_si128(reinterpret_cast<__m128i*>(to + x),
                         _mm_loadu_si128(reinterpret_cast<const __m128i*>(from + x)));
    _mm_sfence();
#endif
    for (; x < n; ++x)
        to[x] = from[x];
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

// Replaces the rectangle r of target by the contributions drawn onto transparent at (0, 0)
// unscaled, in order, source-over; pixels outside the target are dropped.
void compose(Bitmap& target, const std::vector<Contribution>& parts, Tone tone, Rect r) {
    std::vector<Contribution> drawn;
    for (const Contribution& part : parts)
        if (!part.image->isNull() && part.opacity > 0)
            drawn.push_back({part.image, std::min(part.opacity, 255)});
    r = intersect(r, {0, 0, target.width(), target.height()});
    // Each row is made in a buffer that stays in the processor's cache and then written out
    // once, without the target's old pixels being read in first.
    std::vector<uint32_t> row(size_t(std::max(r.w, 0)));
    for (int y = r.y; y < r.y + r.h; ++y) {
        uint32_t* out = row.data();
        std::fill(out, out + r.w, 0u);
        for (const Contribution& part : drawn)
            if (y < part.image->height() && r.x < part.image->width())
                composeRow(out, part.image->row(y) + r.x, std::min(r.w, part.image->width() - r.x),
                           uint32_t(part.opacity));
        unpremultiplyRow(out, r.w);
        if (tone == Tone::Grey)
            greyRow(out, r.w);
        writeRow(target.row(y) + r.x, out, r.w);
    }
}

void compose(Bitmap& target, const std::vector<Contribution>& parts, Tone tone) {
    compose(target, parts, tone, {0, 0, target.width(), target.height()});
}

// The visible layers [first, last) of a frame with their opacity.
std::vector<Contribution> cacheParts(const Frame& frame, int first, int last) {
    std::vector<Contribution> parts;
    for (int i = first; i < last; ++i)
        if (frame.layer(i).visible)
            parts.push_back({&frame.layer(i).image, frame.layer(i).opacity});
    return parts;
}

// Composes the visible layers [first, last) of a frame into a cache with their opacity.
void composeCache(const Frame& frame, int first, int last, Layer& cache) {
    const std::vector<Contribution> parts = cacheParts(frame, first, last);
    // The flag says a visible layer went in, even one at opacity 0 that adds no pixels.
    cache.visible = !parts.empty();
    compose(cache.image, parts, Tone::Colour);
}

CacheSources sourcesOf(const Frame& frame, int first, int last) {
    CacheSources s;
    for (int i = first; i < last; ++i) {
        const Layer& l = frame.layer(i);
        if (l.visible)
            s.layers.push_back({l.serial, l.changes.revision(l.image), l.opacity});
    }
    return s;
}

// Whether the same layers went in, in the same order and with the same opacities.
bool sameLayers(const CacheSources& a, const CacheSources& b) {
    if (a.layers.size() != b.layers.size())
        return false;
    for (size_t i = 0; i < a.layers.size(); ++i)
        if (a.layers[i].serial != b.layers[i].serial || a.layers[i].opacity != b.layers[i].opacity)
            return false;
    return true;
}

// Brings one cache up to date with the visible layers [first, last) of the frame.
void updateLayerCache(const Frame& frame, int first, int last, Layer& cache,
                      CacheSources& sources) {
    CacheSources now = sourcesOf(frame, first, last);
    const bool cacheAsComposed = sources.cacheKey == cache.image.contentKey() && sources.composed;
    Rect redo{0, 0, cache.image.width(), cache.image.height()};
    if (cacheAsComposed && sameLayers(sources, now)) {
        // The same layers: only where their pixels changed since.
        redo = {};
        size_t k = 0;
        for (int i = first; i < last; ++i) {
            const Layer& l = frame.layer(i);
            if (l.visible)
                redo = unite(redo, l.changes.changedSince(l.image, sources.layers[k++].revision));
        }
    }
    if (!redo.empty()) {
        ImageEdit edit(cache.image, cache.changes);
        compose(cache.image, cacheParts(frame, first, last), Tone::Colour, redo);
        edit.touched(redo);
    }
    cache.visible = !now.layers.empty();
    sources = std::move(now);
    sources.cacheKey = cache.image.contentKey();
    sources.composed = true;
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

void updateLayerCaches(const Document& picture, LayerCaches& caches) {
    // A cache that does not match the picture would be drawn misplaced over the canvas; it is
    // remade at the picture's size (and so composed whole).
    for (Layer* cache : {&caches.below, &caches.above})
        if (cache->image.width() != picture.width || cache->image.height() != picture.height)
            cache->image = Bitmap(picture.width, picture.height);
    const Frame& frame = picture.current();
    updateLayerCache(frame, 0, frame.currentLayer, caches.below, caches.belowSources);
    updateLayerCache(frame, frame.currentLayer + 1, frame.layerCount(), caches.above,
                     caches.aboveSources);
    caches.aroundLayer = frame.current().serial;
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
