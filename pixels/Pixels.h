// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Pixel routines on 32-bit ARGB bitmaps: single pixels, lines, outlines, the per-frame stroke
// steps of the freehand tools, the flood fill and two rectangle operations on alpha.
//
// Writes replace all four channels and never touch a pixel outside the bitmap; only the smooth
// pencil and the path fill blend, source-over.
#include "gfx/Bitmap.h"
#include "gfx/Graphics.h"
#include "gfx/Paint.h"

namespace vork {

// The freehand stroke in progress; one for both modes, since only one tool is current.
struct StrokeState {
    bool strokeActive = false;
    int strokeLastX = 0, strokeLastY = 0;
};

void setPixel(Bitmap& b, int x, int y, Color c);
// Bresenham line, both end points included: max(dx, dy) + 1 pixels.
void pixelLine(int x0, int y0, int x1, int y1, Bitmap& b, Color c);
// Four pixel lines through the corners (x0, y0) and (x1, y1), both included.
void pixelRectangle(int x0, int y0, int x1, int y1, Bitmap& b, Color c);
// Midpoint outline of the ellipse in the box (x, y, w, h).
void pixelEllipse(float x, float y, float w, float h, Bitmap& b, Color c);

// One frame of a stroke at the pointer's picture position (x, y). Each returns true when it
// drew a joining line. The smooth pencil blends its dot and lines through the drawing context,
// anti-aliased with Smoothing::HighQuality.
bool pencilStep(StrokeState& s, bool mouseDown, float x, float y, Bitmap& b, Color c);
bool smoothPencilStep(StrokeState& s, bool mouseDown, float x, float y, Bitmap& b, Color c,
                      Smoothing smoothing);
// Collects the outline of a filled freehand shape in `path`; on release fills it into target.
bool freehandStep(StrokeState& s, bool mouseDown, int x, int y, Path& path, Bitmap& target,
                  Color c);

// 4-connected fill of the exact colour under (x, y) (transparent black when outside); true
// when pixels changed.
bool floodFill(Bitmap& b, int x, int y, Color c);
// The same fill, returning the rectangle of the filled pixels (empty when nothing changed).
Rect floodFillRegion(Bitmap& b, int x, int y, Color c);
// The rectangle, clamped to the bitmap, becomes transparent black.
void clearRectangle(int x, int y, int w, int h, Bitmap& b);
// Multiplies the alpha of the rectangle's pixels by v / 255 (truncated) where alpha is not 0;
// nothing unless 0 <= v <= 255.
void scaleAlpha(int x, int y, int w, int h, Bitmap& b, int v);

} // namespace vork
