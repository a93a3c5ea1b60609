// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The overlay of a mode's canvas: a transparent bitmap of the document's size into which the
// previews of shapes and selections are drawn, shown over the document through the view.
#include "canvas/Canvas.h"

namespace vork {

// The grey dashed pen every preview outlines with, made anew for each preview.
Pen previewPen();

// The mode's overlay, remade transparent at the document's size when it has another size.
Bitmap& overlayOfDocumentSize(Editor& e, Mode mode);

// Starts a preview: makes sure the overlay has the document's size, clears the part the last
// preview may have touched and marks the part this one may touch (the shown source rectangle
// with 3 added to its width and height). Returns the overlay to draw into.
Bitmap& beginOverlayPreview(Editor& e, Mode mode, const CanvasPlacement& p);

// Draws the overlay onto the back buffer through the view, as a layer.
void drawOverlay(Editor& e, Graphics& g, Mode mode, const CanvasPlacement& p);

// A two-point shape: the line from a to b, or the rectangle or the ellipse of box; its outline
// drawn with the pen, or, for a filled body, its inside filled in the pen's colour.
void drawTwoPointShape(Graphics& g, Shape shape, Body body, const Pen& pen, PointF a, PointF b,
                       RectF box);

// The outline of a freehand polygon being collected from `start`: filled, drawn white under the
// dashed pen, the line that will close it on release, and its box.
void drawFreehandOutline(Graphics& g, const Path& path, PointF start, PointF pointer, Color fill);

} // namespace vork
