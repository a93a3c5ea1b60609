// SPDX-License-Identifier: GPL-3.0-or-later
#include "canvas/Overlay.h"

#include "pixels/Pixels.h"
#include "pixels/SelectionOps.h"

namespace vork {

Pen previewPen() {
    return Pen{Color::rgb(128, 128, 128), 1.0f, {3, 3}};
}

Bitmap& overlayOfDocumentSize(Editor& e, Mode mode) {
    ModeState& m = e.mode(mode);
    const Document& d = *m.document;
    if (m.overlay.width() != d.width || m.overlay.height() != d.height) {
        m.overlay = Bitmap(d.width, d.height);
        m.overlayDirty = {};
    }
    return m.overlay;
}

Bitmap& beginOverlayPreview(Editor& e, Mode mode, const CanvasPlacement& p) {
    overlayOfDocumentSize(e, mode);
    ModeState& m = e.mode(mode);
    const Rect& dirty = m.overlayDirty;
    clearRectangle(dirty.x, dirty.y, dirty.w, dirty.h, m.overlay);
    m.overlayDirty = {int(p.source.x), int(p.source.y), int(p.source.w + 3), int(p.source.h + 3)};
    return m.overlay;
}

void drawOverlay(Editor& e, Graphics& g, Mode mode, const CanvasPlacement& p) {
    drawThroughView(g, e.mode(mode).overlay, p);
}

void drawTwoPointShape(Graphics& g, Shape shape, Body body, const Pen& pen, PointF a, PointF b,
                       RectF box) {
    const bool filled = body == Body::Filled;
    switch (shape) {
    case Shape::Line:
        g.drawLine(pen, a, b);
        break;
    case Shape::Rectangle:
        if (filled)
            g.fillRect(Brush::solid(pen.color), box);
        else
            g.drawRect(pen, box);
        break;
    case Shape::Ellipse:
        if (filled)
            g.fillEllipse(Brush::solid(pen.color), box);
        else
            g.drawEllipse(pen, box);
        break;
    default:
        break;
    }
}

void drawFreehandOutline(Graphics& g, const Path& path, PointF start, PointF pointer, Color fill) {
    const Pen white(colors::white, 1.0f), dashed = previewPen();
    g.fillPath(Brush::solid(fill), path);
    g.drawPath(white, path);
    g.drawPath(dashed, path);
    g.drawLine(white, start, pointer);
    g.drawLine(dashed, start, pointer);
    g.drawRect(dashed, penBounds(path));
}

} // namespace vork
