// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Drawing an image reduced: the last, small step from the nearest kept reduction (Reductions)
// to the pixels on screen, in the preview or in a thumbnail.
//
// Every drawn pixel shows the box average of the image area it covers, weighted by how much of
// each pixel of the reduction lies in that area; with a scale that is a power of two and a
// source on the reduction's grid, that is exactly the reduction's pixel.
#include "gfx/Graphics.h"
#include "model/ChangeTracker.h"
#include "model/Document.h"
#include "model/Reductions.h"

#include <utility>

namespace vork {

// The pixels of a grid that the drawing context covers with the rectangle r: columns
// floor(r.x + 0.5) up to but not including floor(r.x + r.w + 0.5), likewise rows.
Rect coveredPixels(RectF r);

// An image with what keeps track of its changes and its reductions.
struct ReducibleImage {
    const Bitmap& image;
    const ChangeTracker& changes;
    Reductions& reductions;
};
inline ReducibleImage reducibleOf(Layer& layer) {
    return {layer.image, layer.changes, layer.reductions};
}

// Whether drawing `source` (image pixels) into `target` reduces in both directions, the case
// the functions below handle; enlargements are drawn from the image itself.
bool reducesInBoth(RectF target, RectF source);

// The part `source` of the image (in image pixels) shown in `target` (pixel (i, j) of the
// grid covering [i, i + 1) x [j, j + 1)), into `out`, which becomes a premultiplied bitmap of
// coveredPixels(target)'s size (kept when it has it): its pixel (u, v) is grid pixel
// (covered.x + u, covered.y + v), the box average of the image area that pixel shows, cut to
// `source` and to the image. A pixel that shows nothing of them is transparent.
void reduceInto(const ReducibleImage& image, RectF target, RectF source, Bitmap& out);

// The rows of what reduceInto makes (0 being the first covered row) that show some of the
// image pixels `changed`, as [begin, end); {0, 0} when none does. A few rows more may come
// with them, never one less.
std::pair<int, int> rowsShowing(const ReducibleImage& image, RectF target, RectF source,
                                Rect changed);

// Rows [begin, end) of what reduceInto makes, alone: `out` becomes their premultiplied pixels,
// a bitmap of the covered width and end - begin rows (kept when it has that size), its row 0
// being row `begin`. Null when there is nothing to reduce or no such rows.
void reduceRowsInto(const ReducibleImage& image, RectF target, RectF source, int begin, int end,
                    Bitmap& out);

// Brings up to date the reduction that drawing `source` into `target` reads, so that this
// costly part can run ahead of the drawing, elsewhere.
void prepareReduced(const ReducibleImage& image, RectF target, RectF source);

// The same drawn with g, source-over, with an opacity factor; `scratch` is a bitmap the caller
// keeps for the purpose, so that a paint allocates nothing.
void drawReduced(Graphics& g, const ReducibleImage& image, RectF target, RectF source,
                 float opacity, Bitmap& scratch);

// The same, drawn from the image's kept view (Reductions::keptView), which is made for this
// target and source when it is not, and otherwise brought up to date only in the drawn rows
// the image's changes reach. For one placement drawn paint after paint, such as the canvas; the
// pixels drawn are those drawReduced draws.
void drawKeptReduced(Graphics& g, const ReducibleImage& image, RectF target, RectF source,
                     float opacity);

} // namespace vork
