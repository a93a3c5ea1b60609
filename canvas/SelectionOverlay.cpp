#include "canvas/SelectionOverlay.h"

#include "canvas/Overlay.h"
#include "canvas/SelectionTools.h"
#include "canvas/ToolEngine.h"
#include "pixels/SelectionOps.h"

#include <algorithm>
#include <cmath>
#include <optional>

namespace vork {

namespace {

// The fill of the area being selected: a translucent red.
constexpr Color marqueeFill = Color::fromArgb(100, 200, 0, 0);

RectF toF(Rect r) {
    return {float(r.x), float(r.y), float(r.w), float(r.h)};
}

void drawLassoMarquee(Graphics& o, const Editor& e, const ToolDrag& d, const CanvasPlacement& p) {
    const Path& path = e.freehandPath;
    const Pen white{colors::white};
    o.fillPath(Brush::solid(marqueeFill), path);
    o.drawPath(white, path);
    o.drawPath(previewPen(), path);
    // The line that will close the outline on release.
    const PointF start{float(d.dragStartX), float(d.dragStartY)}, pointer{p.pixelX, p.pixelY};
    o.drawLine(white, start, pointer);
    o.drawLine(previewPen(), start, pointer);
    o.drawRect(previewPen(), penBounds(path));
}

// The rectangle and the ellipse show one pixel less than they take in each direction, so that
// the outline lies on the last taken column and row.
RectF marqueeBox(const ToolDrag& d, const CanvasPlacement& p) {
    const Rect r = selectionRectangle(d, p);
    return toF({r.x, r.y, std::max(r.w - 1, 0), std::max(r.h - 1, 0)});
}

void drawMarquee(Graphics& o, const Editor& e, const ToolDrag& d, const CanvasPlacement& p) {
    switch (e.currentTool) {
    case Tool::Lasso:
        drawLassoMarquee(o, e, d, p);
        break;
    case Tool::RectangleSelection: {
        const RectF box = marqueeBox(d, p);
        o.fillRect(Brush::solid(marqueeFill), box);
        o.drawRect(previewPen(), box);
        break;
    }
    case Tool::EllipseSelection: {
        const RectF box = marqueeBox(d, p);
        o.fillEllipse(Brush::solid(marqueeFill), box);
        o.drawEllipse(previewPen(), box);
        o.drawRect(previewPen(), box);
        break;
    }
    default:
        break;
    }
}

// The Selection's integer placement: top-left corner, size and pivot. Empty for a record whose
// numbers cannot be placed.
struct Placed {
    int x0, y0, w0, h0;
    float angle;
};
std::optional<Placed> placed(const Selection& s) {
    constexpr float limit = 1.0e8f; // beyond this the truncation would be undefined
    for (float v : {s.x, s.y, s.width, s.height, s.angle})
        if (!std::isfinite(v) || std::fabs(v) > limit)
            return std::nullopt;
    Placed r{int(s.x), int(s.y), int(s.width), int(s.height), s.angle};
    if (r.w0 <= 0 || r.h0 <= 0 || s.image.isNull())
        return std::nullopt;
    return r;
}

// Turned about the pivot as the stamp will draw it, the image red-tinted, its edge outlined
// in translucent white and dashed translucent black.
void drawFloatingImage(Graphics& o, const Selection& s, const Placed& q) {
    Graphics::State state(o);
    o.translate(float(q.x0 + q.w0 / 2), float(q.y0 + q.h0 / 2));
    o.rotate(q.angle);
    const float left = float(-(q.w0 / 2)), top = float(-(q.h0 / 2));
    const float w = float(std::min(q.w0, s.image.width()));
    const float h = float(std::min(q.h0, s.image.height()));
    o.drawImageRedTint(s.image, RectF{left, top, w, h}, RectF{0, 0, w, h});
    const RectF edge{left, top, float(q.w0 - 1), float(q.h0 - 1)};
    o.drawRect(Pen{Color::fromArgb(120, 255, 255, 255)}, edge);
    Pen dashed = previewPen();
    dashed.color = Color::fromArgb(120, 0, 0, 0);
    o.drawRect(dashed, edge);
}

} // namespace

void drawSelectionMarquee(Editor& e, Graphics& backBuffer, Mode mode, const CanvasPlacement& p) {
    const ToolDrag& d = e.mode(mode).drag;
    if (!selectionToolChosen(e) || e.selection.active || !d.shapeDrag)
        return;
    Bitmap& overlay = beginOverlayPreview(e, mode, p);
    {
        Graphics o(overlay);
        drawMarquee(o, e, d, p);
    }
    drawOverlay(e, backBuffer, mode, p);
}

void drawFloatingSelection(Editor& e, Graphics& backBuffer, Mode mode, const CanvasPlacement& p) {
    const Selection& s = e.selection;
    if (!selectionToolChosen(e) || !s.active)
        return;
    const auto q = placed(s);
    if (!q)
        return;
    Bitmap& overlay = beginOverlayPreview(e, mode, p);
    {
        Graphics o(overlay);
        drawFloatingImage(o, s, *q);
    }
    drawOverlay(e, backBuffer, mode, p);
}

void drawSelectionOverlay(Editor& e, Graphics& backBuffer, Mode mode, const CanvasPlacement& p) {
    // At most one of them draws: the marquee needs the Selection inactive, the image active.
    drawSelectionMarquee(e, backBuffer, mode, p);
    drawFloatingSelection(e, backBuffer, mode, p);
}

} // namespace vork
