#pragma once
// Composite images the model keeps for fast display: the picture's layer caches and the
// animation's onion skin.
#include "model/Document.h"

#include <optional>

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
