#include "canvas/ShapeTools.h"

#include "canvas/Overlay.h"
#include "canvas/ToolEngine.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace vork {

namespace {

// The two-point tools in the order they are tried; only one tool is current, so at most one
// of them acts in a frame.
constexpr std::array<Tool, 7> twoPointTools = {
    Tool::PixelLine, Tool::SmoothLine,    Tool::PixelRectangle, Tool::FilledRectangle,
    Tool::Ellipse,   Tool::SmoothEllipse, Tool::FilledEllipse};

bool isTwoPointTool(Tool t) {
    return std::find(twoPointTools.begin(), twoPointTools.end(), t) != twoPointTools.end();
}

bool hasPreview(Tool t) {
    return isTwoPointTool(t) || t == Tool::FilledFreehand;
}

// The ellipse tools whose box Shift makes square.
bool squaredByShift(Tool t) {
    return t == Tool::Ellipse || t == Tool::SmoothEllipse || t == Tool::FilledEllipse;
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

// The shape of the current two-point tool, drawn into the current layer on release.
void drawShape(Editor& e, Mode mode, const CanvasPlacement& p) {
    Bitmap& layer = currentLayerImage(e, mode);
    const Point start = dragStart(e, mode), end = pointerPixel(p);
    const ShapeBox box = shapeBox(e, mode, p);
    const Color current = e.colour.currentColor, alpha = e.colour.alphaColor;
    switch (e.currentTool) {
    case Tool::PixelLine:
        pixelLine(start.x, start.y, end.x, end.y, layer, current);
        return;
    case Tool::PixelRectangle:
        pixelRectangle(start.x, start.y, end.x, end.y, layer, current);
        return;
    case Tool::Ellipse:
        // The drawing context blends and so leaves pixels alone in a colour of alpha 0; with
        // transparent black the ellipse erases its ring instead. Another colour of alpha 0
        // goes through the context and changes nothing.
        if (current.argb == 0) {
            pixelEllipse(box.rf.x, box.rf.y, box.rf.w, box.rf.h, layer, colors::transparent);
            return;
        }
        break;
    default:
        break;
    }
    Graphics g(layer);
    switch (e.currentTool) {
    case Tool::Ellipse:
        g.drawEllipse(Pen(current, 1.0f), box.rf);
        break;
    case Tool::SmoothLine:
        g.setSmoothing(Smoothing::HighQuality);
        g.drawLine(Pen(alpha, 1.0f), toF(start), toF(end));
        break;
    case Tool::FilledRectangle:
        g.fillRect(Brush::solid(alpha), box.ri);
        break;
    case Tool::SmoothEllipse:
        g.setSmoothing(Smoothing::HighQuality);
        g.drawEllipse(Pen(alpha, 1.0f), box.rf);
        break;
    case Tool::FilledEllipse:
        g.fillEllipse(Brush::solid(alpha), box.rf);
        break;
    default:
        break;
    }
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

// The integer box of the path as measured with a pen: widened by the half pen width the
// outline reaches beyond it.
Rect boundsWithPen(const Path& path, const Pen& pen) {
    const Rect b = path.bounds();
    const int reach = int(std::ceil(pen.width / 2));
    return {b.x - reach, b.y - reach, b.w + 2 * reach, b.h + 2 * reach};
}

void drawFreehandPreview(Editor& e, Graphics& g, Mode mode, const CanvasPlacement& p) {
    const Path& path = e.freehandPath;
    const Pen white(colors::white, 1.0f), dashed = previewPen();
    g.fillPath(Brush::solid(e.colour.alphaColor), path);
    g.drawPath(white, path);
    g.drawPath(dashed, path);
    const PointF start = toF(dragStart(e, mode)), pointer{p.pixelX, p.pixelY};
    g.drawLine(white, start, pointer);
    g.drawLine(dashed, start, pointer);
    g.drawRect(dashed, boundsWithPen(path, dashed));
}

// The preview of the current tool into the overlay; smoothing only where the tool draws
// anti-aliased.
void drawPreviewShape(Editor& e, Graphics& g, Mode mode, const CanvasPlacement& p) {
    const Point start = dragStart(e, mode), end = pointerPixel(p);
    const RectF ri = toF(shapeBox(e, mode, p).ri);
    const Pen current(e.colour.currentColor, 1.0f), alpha(e.colour.alphaColor, 1.0f);
    const Pen dashed = previewPen();
    switch (e.currentTool) {
    case Tool::PixelLine:
        g.drawLine(current, toF(start), toF(end));
        g.drawLine(dashed, toF(start), toF(end));
        break;
    case Tool::SmoothLine:
        g.setSmoothing(Smoothing::HighQuality);
        g.drawLine(alpha, toF(start), toF(end));
        break;
    case Tool::PixelRectangle:
        g.drawRect(current, ri);
        g.drawRect(dashed, ri);
        break;
    case Tool::FilledRectangle:
        g.fillRect(Brush::solid(e.colour.alphaColor), ri);
        break;
    case Tool::Ellipse:
        g.drawEllipse(current, ri);
        g.drawEllipse(dashed, ri);
        g.drawRect(dashed, ri);
        break;
    case Tool::SmoothEllipse:
        g.setSmoothing(Smoothing::HighQuality);
        g.drawEllipse(alpha, ri);
        g.setSmoothing(Smoothing::None);
        g.drawRect(dashed, ri);
        break;
    case Tool::FilledEllipse:
        g.fillEllipse(Brush::solid(e.colour.alphaColor), ri);
        g.drawRect(dashed, ri);
        break;
    case Tool::FilledFreehand:
        drawFreehandPreview(e, g, mode, p);
        break;
    default:
        break;
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
    if (squaredByShift(e.currentTool) && e.platform.isHeld(HeldKey::Shift))
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
    if (!p.inside || e.currentTool != Tool::FilledFreehand)
        return;
    ModeState& m = e.mode(mode);
    const Point at = pointerPixel(p);
    // The fill of a release lands in the overlay, which must have the document's size even
    // before the first preview made it so.
    freehandStep(e.stroke, e.input.mouseDown, at.x, at.y, e.freehandPath,
                 overlayOfDocumentSize(e, mode), e.colour.alphaColor);
    if (pressing(e, mode, p)) {
        startShapeDrag(e, mode, p);
    } else if (releasing(e, mode, p)) {
        {
            auto edit = e.mode(mode).document->currentLayer().edit();
            {
                Graphics g(currentLayerImage(e, mode));
                g.setSmoothing(Smoothing::None);
                g.fillPath(Brush::solid(e.colour.alphaColor), e.freehandPath);
            }
            edit.touched(inflate(e.freehandPath.bounds(), 2));
        } // the layer's context ends before the commit reads the layer
        m.drag.shapeDrag = false;
        commit(e, mode);
    }
}

void drawShapePreview(Editor& e, Graphics& backBuffer, Mode mode, const CanvasPlacement& p) {
    const ModeState& m = e.mode(mode);
    // Playback shows the frames as they are; the shapes still commit on release.
    if (!m.document || !m.drag.shapeDrag || !hasPreview(e.currentTool) ||
        e.playState != PlayState::Stopped)
        return;
    {
        Graphics g(beginOverlayPreview(e, mode, p));
        drawPreviewShape(e, g, mode, p);
    } // the overlay's context ends before the overlay is drawn
    drawOverlay(e, backBuffer, mode, p);
}

} // namespace vork
