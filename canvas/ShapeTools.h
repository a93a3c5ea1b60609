// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The shape tools: a line, a rectangle, an ellipse or a freehand polygon between a press and a
// release of the button. While the button is held a preview is drawn into the mode's overlay;
// on release the shape is drawn once into the current layer and committed.
//
// What each tool draws comes from its row of the tool table (ui/Tools.h): the hard outlines
// (pixel line, rectangle, ellipse) set whole pixels in the drawing colour; the smooth line and
// ellipse, anti-aliased, and the filled shapes paint in the alpha colour.
#include "canvas/Canvas.h"
#include "gfx/Graphics.h"
#include "ui/Editor.h"

namespace vork {

// The rectangle R of a drag from the start pixel (startX, startY) to the pointer (x, y): left
// and top the smaller coordinates, width and height the distances.
RectF twoPointRectangle(int startX, int startY, float x, float y);

// R of the current shape tool as floats (rf) and with each of its four numbers truncated
// (ri). With Shift held, the two-point ellipses make it square: the larger of width and height
// is lowered to the smaller, left and top stay.
struct ShapeBox {
    RectF rf;
    Rect ri;
};
ShapeBox shapeBox(const Editor& e, Mode mode, const CanvasPlacement& p);

// The two-point shapes (lines, rectangles, ellipses, hard or smooth, outlined or filled): the
// press remembers the pointer pixel, the release inside the canvas draws the shape and commits.
void twoPointShapes(Editor& e, Mode mode, const CanvasPlacement& p);

// The filled freehand shape: the path follows the pointer while the
// button is held; the release inside the canvas fills it into the current layer and commits.
void filledFreehandShape(Editor& e, Mode mode, const CanvasPlacement& p);

// While a shape is dragged, draws its preview into the overlay and the overlay onto the back
// buffer through the view. Nothing during Animator playback.
void drawShapePreview(Editor& e, Graphics& backBuffer, Mode mode, const CanvasPlacement& p);

} // namespace vork
