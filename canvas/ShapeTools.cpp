// SPDX-License-Identifier: GPL-3.0-or-later
#include "canvas/ShapeTools.h"

#include "canvas/Overlay.h"
#include "canvas/ToolEngine.h"

#include <algorithm>
#include <cmath>

namespace vork {

namespace {

const ToolRow& currentRow(const Editor& e) {
    return toolRow(e.currentTool);
}

bool isTwoPointTool(Tool t) {
    return toolRow(t).gesture == Gesture::TwoPoint;
}

// The freehand polygon, filled on release.
bool isFreehandPolygon(Tool t) {
    const ToolRow& row = toolRow(t);
    return row.gesture == Gesture::Freehand && row.shape == Shape::Polygon;
}

Point pointerPixel(const CanvasPlacement& p) {
    return {int(p.pixelX), int(p.pixelY)};
}

PointF toF(Point a) {
    return {float(a.x), float(a.y)};
}

RectF toF(Rect r) {
    return {float(r.x), float(r.y), float(r.w), float(r.h)};
}

Smoothing smoothingOf(const ToolRow& row) {
    return row.edge == Edge::Smooth ? Smoothing::HighQuality : Smoothing::None;
}

Point dragStart(const Editor& e, Mode mode) {
    const ToolDrag& d = e.modes[size_t(mode)].drag;
    return {d.dragStartX, d.dragStartY};
}

Bitmap& currentLayerImage(Editor& e, Mode mode) {
    return e.mode(mode).document->currentLayer().image;
}

// The press of a shape gesture: the pointer pixel becomes the start.
void startShapeDrag(Editor& e, Mode mode, const CanvasPlacement& p) {
    ToolDrag& d = e.mode(mode).drag;
    const Point at = pointerPixel(p);
    d.dragStartX = at.x;
    d.dragStartY = at.y;
    d.shapeDrag = true;
}

bool pressing(const Editor& e, Mode mode, const CanvasPlacement& p) {
    return !e.modes[size_t(mode)].drag.shapeDrag && e.input.mouseDown && p.inside;
}

bool releasing(const Editor& e, Mode mode, const CanvasPlacement& p) {
    return e.modes[size_t(mode)].drag.shapeDrag && !e.input.mouseDown && p.inside;
}

// A hard outline set pixel by pixel where the drawing context would not draw it as wanted:
// the line and the rectangle run from the start pixel to the pointer pixel, both included.
// The context blends and so leaves pixels alone in a colour of alpha 0; an ellipse in
// transparent black erases its ring instead (another colour of alpha 0 goes through the context
// and changes nothing). False when the context is to draw the shape.
bool drawPixelOutline(const ToolRow& row, Bitmap& layer, Point start, Point end, RectF box,
                      Color ink) {
    if (row.edge != Edge::Hard || row.body != Body::Outline)
        return false;
    switch (row.shape) {
    case Shape::Line:
        pixelLine(start.x, start.y, end.x, end.y, layer, ink);
        return true;
    case Shape::Rectangle:
        pixelRectangle(start.x, start.y, end.x, end.y, layer, ink);
        return true;
    case Shape::Ellipse:
        if (ink.argb != 0)
            return false;
        pixelEllipse(box.x, box.y, box.w, box.h, layer, colors::transparent);
        return true;
    default:
        return false;
    }
}

// The shape of the current two-point tool, drawn into the current layer on release. The
// ellipse takes the box of the drag as it is, the filled rectangle its truncated box.
void drawShape(Editor& e, Mode mode, const CanvasPlacement& p) {
    const ToolRow& row = currentRow(e);
    Bitmap& layer = currentLayerImage(e, mode);
    const Point start = dragStart(e, mode), end = pointerPixel(p);
    const ShapeBox box = shapeBox(e, mode, p);
    const Color ink = toolInk(e, row.tool);
    if (drawPixelOutline(row, layer, start, end, box.rf, ink))
        return;
    Graphics g(layer);
    g.setSmoothing(smoothingOf(row));
    drawTwoPointShape(g, row.shape, row.body, Pen(ink, 1.0f), toF(start), toF(end),
                      row.shape == Shape::Ellipse ? box.rf : toF(box.ri));
}

// The pixels the current two-point shape can change: its box and both of its points, with a
// margin for pens and smoothed edges.
Rect shapeReach(const Editor& e, Mode mode, const CanvasPlacement& p) {
    const RectF box = shapeBox(e, mode, p).rf;
    const Point start = dragStart(e, mode), end = pointerPixel(p);
    const Rect boxPixels{int(std::floor(box.x)), int(std::floor(box.y)),
                         int(std::ceil(box.x + box.w) - std::floor(box.x)) + 1,
                         int(std::ceil(box.y + box.h) - std::floor(box.y)) + 1};
    return inflate(unite(boxPixels, unite({start.x, start.y, 1, 1}, {end.x, end.y, 1, 1})), 2);
}

// The preview of a two-point shape in the truncated box: the shape in the tool's colour, with
// the dashed pen over a hard outline so that it shows on any colour, and the dashed box around
// an ellipse.
void drawTwoPointPreview(Editor& e, Graphics& g, Mode mode, const CanvasPlacement& p) {
    const ToolRow& row = currentRow(e);
    const PointF start = toF(dragStart(e, mode)), end = toF(pointerPixel(p));
    const RectF box = toF(shapeBox(e, mode, p).ri);
    g.setSmoothing(smoothingOf(row));
    drawTwoPointShape(g, row.shape, row.body, Pen(toolInk(e, row.tool), 1.0f), start, end, box);
    if (row.edge == Edge::Hard && row.body == Body::Outline)
        drawTwoPointShape(g, row.shape, Body::Outline, previewPen(), start, end, box);
    if (row.shape == Shape::Ellipse) {
        g.setSmoothing(Smoothing::None);
        g.drawRect(previewPen(), box);
    }
}

} // namespace

RectF twoPointRectangle(int startX, int startY, float x, float y) {
    const float sx = float(startX), sy = float(startY);
    RectF r;
    r.x = sx < x ? sx : x;
    r.w = sx < x ? x - sx : sx - x;
    r.y = sy < y ? sy : y;
    r.h = sy < y ? y - sy : sy - y;
    return r;
}

ShapeBox shapeBox(const Editor& e, Mode mode, const CanvasPlacement& p) {
    const Point start = dragStart(e, mode);
    RectF r = twoPointRectangle(start.x, start.y, p.pixelX, p.pixelY);
    // Shift makes the box of a two-point ellipse square.
    const ToolRow& row = currentRow(e);
    if (row.gesture == Gesture::TwoPoint && row.shape == Shape::Ellipse &&
        e.platform.isHeld(HeldKey::Shift))
        r.w = r.h = std::min(r.w, r.h);
    return {r, Rect{int(r.x), int(r.y), int(r.w), int(r.h)}};
}

void twoPointShapes(Editor& e, Mode mode, const CanvasPlacement& p) {
    if (!isTwoPointTool(e.currentTool))
        return;
    if (pressing(e, mode, p)) {
        startShapeDrag(e, mode, p);
    } else if (releasing(e, mode, p)) {
        {
            auto edit = e.mode(mode).document->currentLayer().edit();
            drawShape(e, mode, p);
            edit.touched(shapeReach(e, mode, p));
        }
        e.mode(mode).drag.shapeDrag = false;
        commit(e, mode);
    }
}

void filledFreehandShape(Editor& e, Mode mode, const CanvasPlacement& p) {
    if (!p.inside || !isFreehandPolygon(e.currentTool))
        return;
    const ToolRow& row = currentRow(e);
    const Color ink = toolInk(e, row.tool);
    ModeState& m = e.mode(mode);
    const Point at = pointerPixel(p);
    // The fill of a release lands in the overlay, which must have the document's size even
    // before the first preview made it so.
    freehandStep(e.stroke, e.input.mouseDown, at.x, at.y, e.freehandPath,
                 overlayOfDocumentSize(e, mode), ink);
    if (pressing(e, mode, p)) {
        startShapeDrag(e, mode, p);
    } else if (releasing(e, mode, p)) {
        {
            auto edit = e.mode(mode).document->currentLayer().edit();
            {
                Graphics g(currentLayerImage(e, mode));
                g.setSmoothing(smoothingOf(row));
                g.fillPath(Brush::solid(ink), e.freehandPath);
            }
            edit.touched(inflate(e.freehandPath.bounds(), 2));
        } // the layer's context ends before the commit reads the layer
        m.drag.shapeDrag = false;
        commit(e, mode);
    }
}

void drawShapePreview(Editor& e, Graphics& backBuffer, Mode mode, const CanvasPlacement& p) {
    const ModeState& m = e.mode(mode);
    const bool twoPoint = isTwoPointTool(e.currentTool);
    // Playback shows the frames as they are; the shapes still commit on release.
    if (!m.document || !m.drag.shapeDrag || !(twoPoint || isFreehandPolygon(e.currentTool)) ||
        e.animator.playState != PlayState::Stopped)
        return;
    {
        Graphics g(beginOverlayPreview(e, mode, p));
        if (twoPoint)
            drawTwoPointPreview(e, g, mode, p);
        else
            drawFreehandOutline(g, e.freehandPath, toF(dragStart(e, mode)), {p.pixelX, p.pixelY},
                                toolInk(e, e.currentTool));
    } // the overlay's context ends before the overlay is drawn
    drawOverlay(e, backBuffer, mode, p);
}

} // namespace vork
