// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Composite images the model keeps for fast display: the picture's layer caches and the
// animation's onion skin.
#include "gfx/Geometry.h"
#include "model/Document.h"

#include <functional>
#include <optional>
#include <vector>

namespace vork {

// Multiplies the alpha of every pixel whose alpha is not 0 by factor / 255, truncated; colour
// bytes stay. Does nothing unless 0 <= factor <= 255.
void scaleAlpha(Bitmap& image, int factor);

// The picture's layers below and above the current one, each composed with its opacity.
// A cache's `visible` flag tells whether any visible layer went into it (even one at opacity
// 0). Caches whose size differs from the picture are first remade at the picture's size.
// Alpha is exact; a translucent colour may differ by a step, as premultiplied drawing does.
void rebuildLayerCaches(const Document& picture, Layer& belowCache, Layer& aboveCache);
// Both caches get a new transparent image of the given size.
void resizeLayerCaches(Layer& belowCache, Layer& aboveCache, float width, float height);

// What a layer cache was composed from: each layer that went in, bottom first, with its
// revision and opacity, and the cache image's content key right after.
struct CacheSources {
    struct Source {
        uint64_t serial = 0;
        uint64_t revision = 0;
        int opacity = 255;
    };
    std::vector<Source> layers;
    Rect valid; // the part of the cache composed from them; elsewhere it may hold anything
    uint64_t cacheKey = 0;
    bool composed = false;
};

// The Painter's composites of the layers below and above the current one, what each was
// composed from, and the serial of the layer they were last brought up to date around.
struct LayerCaches {
    Layer below{0, 10, 10};
    Layer above{0, 10, 10};
    CacheSources belowSources, aboveSources;
    uint64_t aroundLayer = 0;
};

// Brings the caches up to date with the picture, as rebuildLayerCaches makes them, at least
// over `needed` (what will be drawn of them; the rest is composed when it is needed), doing
// only what changed: nothing when the same layers with the same pixels and opacities go in,
// the rectangle their pixels changed in when only that differs, only the added layers when
// layers are added on top (the current layer moved up), and everything needed afresh otherwise
// (another current layer, a layer shown, hidden, added, moved or given another opacity, or a
// cache image replaced from outside).
// `then` runs on each cache once it is up to date, for what is made from its pixels (its
// reductions). When the caches are composed around another current layer, which redoes most of
// both, the two are brought up to date side by side, the one with more to do on a second
// thread: they read disjoint layers and write their own images only.
void updateLayerCaches(const Document& picture, LayerCaches& caches, Rect needed,
                       const std::function<void(Layer&)>& then = {});

struct OnionSkin {
    std::optional<Bitmap> image;
    // Follow the image, which is replaced whole on every rebuild, for the reduced canvas.
    ChangeTracker changes;
    Reductions reductions;
    bool on = false;
    bool grey = true;
    int frameNumber = 0; // number of the frame it was built from
};

// Rebuilds the onion skin from the nearest enabled frame before the current one (wrapping);
// with one frame it switches the onion skin off instead. singleLayerView draws only the
// source frame's current layer.
void rebuildOnionSkin(Document& animation, OnionSkin& onion, bool singleLayerView);

} // namespace vork
