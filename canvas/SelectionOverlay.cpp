// SPDX-License-Identifier: GPL-3.0-or-later
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

// The rectangle and the ellipse show one pixel less than they take in each direction, so that
// the outline lies on the last taken column and row.
RectF marqueeBox(const ToolDrag& d, const CanvasPlacement& p) {
    const Rect r = selectionRectangle(d, p);
    return toF({r.x, r.y, std::max(r.w - 1, 0), std::max(r.h - 1, 0)});
}

// The area being selected, filled translucent red under the dashed outline: the lasso's
// outline so far, or the rectangle or the ellipse of the drag (the ellipse in its dashed box).
void drawMarquee(Graphics& o, const Editor& e, const ToolDrag& d, const CanvasPlacement& p) {
    const Shape shape = toolRow(e.currentTool).shape;
    if (shape == Shape::Polygon) {
        drawFreehandOutline(o, e.freehandPath, {float(d.dragStartX), float(d.dragStartY)},
                            {p.pixelX, p.pixelY}, marqueeFill);
        return;
    }
    const RectF box = marqueeBox(d, p);
    drawTwoPointShape(o, shape, Body::Filled, Pen{marqueeFill}, {}, {}, box);
    drawTwoPointShape(o, shape, Body::Outline, previewPen(), {}, {}, box);
    if (shape == Shape::Ellipse)
        o.drawRect(previewPen(), box);
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
