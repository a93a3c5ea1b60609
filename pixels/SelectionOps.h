// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The operations of a floating Selection: taking pixels from a layer in a rectangle, an ellipse
// or a freehand outline, cutting the image out of a layer, stamping it back, mirroring it, and
// the internal copy buffer. The layers' transparency locks are records of the same type and use
// the same take and cut-out.
//
// Integer forms: X0 = trunc(x), Y0 = trunc(y), W0 = trunc(width), H0 = trunc(height). The image
// is placed with its top-left corner at (X0, Y0) and turned by `angle` degrees about the pivot
// (X0 + W0 / 2, Y0 + H0 / 2), integer division.
//
// Precondition of the placing operations: `width` and `height` are the size of `image` (every
// operation here keeps them so). A record with a null image or a size below one pixel is left
// alone and leaves the layer alone.
#include "gfx/Bitmap.h"
#include "gfx/Geometry.h"
#include "gfx/Paint.h"
#include "pixels/Selection.h"

namespace vork {

// A take: angle = 0; x, y, width, height = the bounds; `image` = the layer's pixels inside the
// shape (aliased), transparent elsewhere and where the bounds leave the layer; active = true.
// The layer and `lifted` are not changed. Returns false and changes nothing when the bounds
// are empty or the layer is null.
bool takeRectangle(Selection& s, Rect r, const Bitmap& layer);
bool takeEllipse(Selection& s, Rect r, const Bitmap& layer);        // the ellipse inscribed in r
bool takePath(Selection& s, const Path& path, const Bitmap& layer); // odd-even inside

// The bounds of a freehand outline as measured with a 1-pixel pen: the path's integer
// bounding box grown by the pen's half width, rounded outwards.
Rect penBounds(const Path& path);

// Every layer pixel that the placed (and turned) image covers with an alpha other than 0
// becomes transparent black. With angle 0 at the place of the take this removes exactly the
// taken pixels; a turned image is drawn smoothed, so its soft edge counts as covered.
void cutOut(const Selection& s, Bitmap& layer);
// The same, only for the layer pixels inside `within`.
void cutOut(const Selection& s, Bitmap& layer, Rect within);
// The layer pixels that cutOut and stamp can change: the placed image, or the box of the
// turned one with its soft edge; empty for a record that cannot be placed.
Rect placedBounds(const Selection& s);
// Draws the placed (and turned) image onto the layer, source-over.
void stamp(const Selection& s, Bitmap& layer);

// Mirror the image left-right or top-bottom, exactly.
void mirrorHorizontal(Selection& s);
void mirrorVertical(Selection& s);

// Only while active: `copyImage` = the unturned image, hasCopy = true.
void copySelection(Selection& s);
// Only while hasCopy: `image` = a copy of `copyImage` centred on (cx, cy), so an odd size gives
// a half-pixel position; active and lifted are set, the angle is kept.
void pasteSelection(Selection& s, int cx, int cy);

// A transparency lock made from a layer: a take of the whole layer whose image is then turned
// into a mask, opaque white exactly where the layer is fully transparent and transparent
// elsewhere. Its cut-out from the layer clears whatever has been painted where the layer was
// empty, so painting changes only pixels that were already drawn. False, and the lock
// unchanged, for a null layer.
bool makeTransparencyLock(Selection& lock, const Bitmap& layer);

} // namespace vork
