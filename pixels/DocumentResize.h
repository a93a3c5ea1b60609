// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The two ways of giving a whole document a new size: rescaling every layer, and resizing the
// canvas around an anchor without scaling.
//
// Both work on every layer of every frame, then set the document's size and every frame's size
// to the new one. They leave the layer and frame thumbnails, the caches and the history to the
// caller's aftermath. Every new image is made before the first one replaces an old one, so a
// refusal, a failed allocation or a cancel leaves the document exactly as it was.
#include "gfx/Geometry.h"
#include "gfx/Graphics.h"
#include "model/Document.h"
#include "pixels/EditResult.h"
#include "pixels/Progress.h"

namespace vork {

// Every layer resampled to width x height (pixels/Resample.h says how each interpolation
// samples). Progress counts layers; a cancel is honoured.
EditResult rescaleDocument(Document& document, int width, int height, Interpolation interpolation,
                           const Progress& progress = {});

// Where the old content goes on the new canvas. The numbers are those of the canvas size
// dialog, which counts by columns: 1..3 the left column from top to bottom, 4..6 the centre
// column, 7..9 the right one.
enum class Anchor {
    TopLeft = 1,
    MiddleLeft,
    BottomLeft,
    TopCentre,
    Centre,
    BottomCentre,
    TopRight,
    MiddleRight,
    BottomRight,
};

// The centred offset (newSide div 2) - oldSide / 2, the half of the old side exact and the
// difference truncated toward zero: 10 over 5 gives 2, 3 over 5 gives -1.
int centredOffset(int newSide, int oldSide);

// Where the old top-left pixel lands on the new canvas.
Point canvasOffset(Anchor anchor, int oldWidth, int oldHeight, int newWidth, int newHeight);

// Every layer gets a transparent width x height image holding its old pixels, unscaled and
// unchanged, at canvasOffset; what falls outside is cut off. Progress counts layers; a cancel
// is honoured.
EditResult resizeCanvas(Document& document, int width, int height, Anchor anchor,
                        const Progress& progress = {});

} // namespace vork
