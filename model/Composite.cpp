// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/Composite.h"

#include "model/ComposeRow.h"

#include <algorithm>
#include <exception>
#include <optional>
#include <system_error>
#include <thread>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace vork {

namespace {

bool fitsAsCache(const Bitmap& image, const Document& picture) {
    return image.width() == picture.width && image.height() == picture.height;
}

// Below this many pixels needed of each cache, a second thread would cost more than it saves.
constexpr int64_t sideBySideArea = 512 * 512;

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
    const ChangeTracker* changes = nullptr; // the layer's, for the caches
};

enum class Tone { Colour, Grey };

// Replaces the rectangle r of target by the contributions drawn onto transparent at (0, 0)
// unscaled, in order, source-over; pixels outside the target are dropped.
// What the contributions are drawn onto: transparent, or the target's own pixels (which turn
// back into the premultiplied row they were made from exactly, so that drawing more layers on
// top gives the bytes composing them all at once would).
enum class Start { Transparent, Target };

void compose(Bitmap& target, const std::vector<Contribution>& parts, Tone tone, Rect r,
             Start start = Start::Transparent) {
    std::vector<Contribution> drawn;
    for (const Contribution& part : parts)
        if (!part.image->isNull() && part.opacity > 0)
            drawn.push_back({part.image, std::min(part.opacity, 255)});
    r = intersect(r, {0, 0, target.width(), target.height()});
    // A band of rows is made in a buffer that stays in the processor's cache, each layer read
    // in one stretch for the band, then written out once, without the target's old pixels
    // being read in first.
    const int bandRows = 16;
    std::vector<uint32_t> band(size_t(std::max(r.w, 0)) * bandRows);
    for (int y0 = r.y; y0 < r.y + r.h; y0 += bandRows) {
        const int rows = std::min(bandRows, r.y + r.h - y0);
        if (start == Start::Target) {
            const Bitmap& from = target;
            for (int y = y0; y < y0 + rows; ++y) {
                uint32_t* out = band.data() + size_t(y - y0) * size_t(r.w);
                std::copy(from.row(y) + r.x, from.row(y) + r.x + r.w, out);
                premultiplyRow(out, r.w);
            }
        } else {
            std::fill(band.begin(), band.begin() + size_t(rows) * size_t(r.w), 0u);
        }
        for (const Contribution& part : drawn) {
            if (r.x >= part.image->width())
                continue;
            const int n = std::min(r.w, part.image->width() - r.x);
            for (int y = y0; y < std::min(y0 + rows, part.image->height()); ++y)
                composeRow(band.data() + size_t(y - y0) * size_t(r.w), part.image->row(y) + r.x, n,
                           uint32_t(part.opacity));
        }
        for (int y = y0; y < y0 + rows; ++y) {
            uint32_t* out = band.data() + size_t(y - y0) * size_t(r.w);
            unpremultiplyRow(out, r.w);
            if (tone == Tone::Grey)
                greyRow(out, r.w);
            writeRow(target.row(y) + r.x, out, r.w);
        }
    }
}

void compose(Bitmap& target, const std::vector<Contribution>& parts, Tone tone) {
    compose(target, parts, tone, {0, 0, target.width(), target.height()});
}

// Whether `before` went in as the first layers of `now`, with the same pixels and opacities:
// `now` only adds layers on top (the current layer moved up).
bool addsOnTop(const CacheSources& before, const CacheSources& now) {
    if (before.layers.size() >= now.layers.size())
        return false;
    for (size_t i = 0; i < before.layers.size(); ++i) {
        const auto &a = before.layers[i], &b = now.layers[i];
        if (a.serial != b.serial || a.opacity != b.opacity || a.revision != b.revision)
            return false;
    }
    return true;
}

// The visible layers [first, last) of a frame with their opacity.
std::vector<Contribution> cacheParts(const Frame& frame, int first, int last) {
    std::vector<Contribution> parts;
    for (int i = first; i < last; ++i)
        if (frame.layer(i).visible)
            parts.push_back(
                {&frame.layer(i).image, frame.layer(i).opacity, &frame.layer(i).changes});
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
// The parts of a that lie outside b: up to four rectangles.
std::vector<Rect> outside(Rect a, Rect b) {
    const Rect common = intersect(a, b);
    if (common.empty())
        return a.empty() ? std::vector<Rect>{} : std::vector<Rect>{a};
    std::vector<Rect> parts;
    auto keep = [&](Rect r) {
        if (!r.empty())
            parts.push_back(r);
    };
    keep({a.x, a.y, a.w, common.y - a.y});                                            // above
    keep({a.x, common.y + common.h, a.w, a.y + a.h - common.y - common.h});           // below
    keep({a.x, common.y, common.x - a.x, common.h});                                  // left
    keep({common.x + common.w, common.y, a.x + a.w - common.x - common.w, common.h}); // right
    return parts;
}

// Roughly how many passes over the cache bringing it up to date around another layer takes:
// the layers added and the cache itself when only layers are added on top, every layer that
// goes in otherwise.
size_t passesToUpdate(const Frame& frame, int first, int last, const Layer& cache,
                      const CacheSources& sources) {
    const CacheSources now = sourcesOf(frame, first, last);
    const bool asComposed = sources.cacheKey == cache.image.contentKey() && sources.composed;
    if (asComposed && sameLayers(sources, now))
        return 0;
    if (asComposed && addsOnTop(sources, now))
        return now.layers.size() - sources.layers.size() + 1;
    return now.layers.size();
}

// Brings one cache up to date with the visible layers [first, last) of the frame, at least
// over `needed`.
void updateLayerCache(const Frame& frame, int first, int last, Layer& cache, CacheSources& sources,
                      Rect needed) {
    CacheSources now = sourcesOf(frame, first, last);
    const Rect whole{0, 0, cache.image.width(), cache.image.height()};
    needed = intersect(needed, whole);
    const bool asComposed = sources.cacheKey == cache.image.contentKey() && sources.composed;
    const std::vector<Contribution> parts = cacheParts(frame, first, last);
    ImageEdit edit(cache.image, cache.changes);
    Rect valid = asComposed ? sources.valid : Rect{};
    if (asComposed && sameLayers(sources, now)) {
        // The same layers: again only where their pixels changed since.
        Rect redo;
        for (size_t k = 0; k < now.layers.size(); ++k)
            redo = unite(
                redo, parts[k].changes->changedSince(*parts[k].image, sources.layers[k].revision));
        redo = intersect(redo, valid);
        compose(cache.image, parts, Tone::Colour, redo);
        edit.touched(redo);
    } else if (asComposed && addsOnTop(sources, now)) {
        // Only the added layers, drawn onto the cache as it is.
        const std::vector<Contribution> added(parts.begin() + std::ptrdiff_t(sources.layers.size()),
                                              parts.end());
        compose(cache.image, added, Tone::Colour, valid, Start::Target);
        edit.touched(valid);
    } else {
        valid = {}; // other layers: nothing of the cache holds them yet
    }
    // What is needed and not yet composed, composed afresh; the composed part stays one
    // rectangle.
    if (!needed.empty()) {
        const Rect grown = valid.empty() ? needed : unite(valid, needed);
        for (const Rect& r : outside(grown, valid)) {
            compose(cache.image, parts, Tone::Colour, r);
            edit.touched(r);
        }
        valid = grown;
    }
    cache.visible = !now.layers.empty();
    sources = std::move(now);
    sources.valid = valid;
    sources.composed = true;
}

// The nearest enabled frame before the current one, searching backwards and wrapping round;
// the current frame itself when no other frame is enabled.
int onionSourceFrame(const Document& animation) {
    const int n = animation.frameCount();
    int position = animation.currentFrameIndex();
    for (int tried = 0; tried < n - 1; ++tried) {
        position = position == 0 ? n - 1 : position - 1;
        if (animation.frame(position).enabled)
            return position;
    }
    return animation.currentFrameIndex();
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
        if (!fitsAsCache(cache->image, picture))
            cache->image = Bitmap(picture.width, picture.height);
    const Frame& frame = picture.current();
    const int current = frame.currentLayerIndex();
    composeCache(frame, 0, current, belowCache);
    composeCache(frame, current + 1, frame.layerCount(), aboveCache);
}

void updateLayerCaches(const Document& picture, LayerCaches& caches, Rect needed,
                       const std::function<void(Layer&)>& then) {
    // A cache that does not match the picture would be drawn misplaced over the canvas; it is
    // remade at the picture's size (and so composed afresh).
    bool remade = false;
    for (Layer* cache : {&caches.below, &caches.above})
        if (!fitsAsCache(cache->image, picture)) {
            cache->image = Bitmap(picture.width, picture.height);
            remade = true;
        }
    const Frame& frame = picture.current();
    const int current = frame.currentLayerIndex();
    auto below = [&] {
        updateLayerCache(frame, 0, current, caches.below, caches.belowSources, needed);
        if (then)
            then(caches.below);
    };
    auto above = [&] {
        updateLayerCache(frame, current + 1, frame.layerCount(), caches.above, caches.aboveSources,
                         needed);
        if (then)
            then(caches.above);
    };
    const bool aroundAnother = remade || caches.aroundLayer != frame.current().serial;
    if (!aroundAnother || int64_t(needed.w) * needed.h < sideBySideArea) {
        below();
        above();
    } else {
        // The second thread takes the cache with more to do; this one has the rest of the
        // paint. What either throws reaches the caller once both are done.
        const bool belowIsMore =
            passesToUpdate(frame, 0, current, caches.below, caches.belowSources) >
            passesToUpdate(frame, current + 1, frame.layerCount(), caches.above,
                           caches.aboveSources);
        const std::function<void()> more = belowIsMore ? std::function<void()>(below) : above;
        const std::function<void()> less = belowIsMore ? std::function<void()>(above) : below;
        std::exception_ptr failed;
        std::optional<std::thread> second;
        try {
            second.emplace([&] {
                try {
                    more();
                } catch (...) {
                    failed = std::current_exception();
                }
            });
        } catch (const std::system_error&) {
            // No thread to be had: one after the other.
        }
        if (!second) {
            more();
            less();
        } else {
            try {
                less();
            } catch (...) {
                second->join();
                throw;
            }
            second->join();
            if (failed)
                std::rethrow_exception(failed);
        }
    }
    // The keys are taken once the edits above have reported what they wrote.
    caches.belowSources.cacheKey = caches.below.image.contentKey();
    caches.aboveSources.cacheKey = caches.above.image.contentKey();
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
        for (const Layer& layer : frame.layers())
            if (layer.visible)
                parts.push_back({&layer.image, 255});
    Bitmap skin(animation.width, animation.height);
    compose(skin, parts, onion.grey ? Tone::Grey : Tone::Colour);
    onion.image = std::move(skin);
}

} // namespace vork
