// SPDX-License-Identifier: GPL-3.0-or-later
#include "canvas/CanvasView.h"

#include "gfx/Graphics.h"
#include "ui/Layout.h"

#include <algorithm>

namespace vork {

namespace {
const Color canvasGrey = Color::rgb(128, 128, 128);
Brush checkerboard() {
    return Brush::hatch(HatchStyle::LargeCheckerBoard, Color::rgb(200, 200, 200), colors::white);
}
} // namespace

bool zoomIn(ModeState& m) {
    if (m.zoomIndex >= int(zoomLevels.size()) - 1)
        return false;
    ++m.zoomIndex;
    return true;
}

bool zoomOut(ModeState& m) {
    if (m.zoomIndex <= 0)
        return false;
    --m.zoomIndex;
    return true;
}

bool zoomReset(ModeState& m) {
    bool changed = m.zoomIndex != defaultZoomIndex;
    m.zoomIndex = defaultZoomIndex;
    return changed;
}

void rebuildCanvasBackdrop(Editor& e, Mode mode) {
    ModeState& m = e.mode(mode);
    const float zoom = zoomOf(m);
    if (mode == Mode::Animator) {
        const Panel& p = e.panels.canvas;
        m.canvasBackdrop = Bitmap(p.width, p.height, PixelFormat::Rgb);
        Graphics g(m.canvasBackdrop);
        g.clear(canvasGrey);
        if (!m.document)
            return;
        // The Animator's checkerboard is one zoomed pixel smaller than the image and placed
        // from the integer centre of the panel.
        float w = std::min((float(m.document->width) - 1) * zoom, float(p.width));
        float h = std::min((float(m.document->height) - 1) * zoom, float(p.height));
        g.fillRect(checkerboard(),
                   RectF{float(p.width / 2) - w / 2, float(p.height / 2) - h / 2, w, h});
        return;
    }
    const Rect view = layoutOf(e, Mode::Painter).canvas;
    const float vw = float(view.w), vh = float(view.h);
    m.canvasBackdrop = Bitmap(int(vw), int(vh), PixelFormat::Rgb);
    Graphics g(m.canvasBackdrop);
    g.clear(canvasGrey);
    if (!m.document)
        return;
    float w = std::min(float(m.document->width) * zoom, vw);
    float h = std::min(float(m.document->height) * zoom, vh);
    g.fillRect(checkerboard(),
               RectF{std::max(0.0f, vw / 2 - w / 2), std::max(0.0f, vh / 2 - h / 2), w, h});
}

void layoutCanvas(Editor& e, Mode mode) {
    if (mode == Mode::Animator) {
        Panel& p = e.panels.canvas;
        p.place(layoutOf(e, Mode::Animator).canvas);
        {
            Graphics g(p.image);
            g.clear(canvasGrey);
            g.drawLine(Pen{colors::black}, {0, 0}, {float(p.width), 0});
        }
        if (e.animation())
            rebuildCanvasBackdrop(e, Mode::Animator);
        return;
    }
    const Rect view = layoutOf(e, Mode::Painter).canvas;
    const float vw = float(view.w), vh = float(view.h);
    const float zoom = zoomOf(e.mode(Mode::Painter));
    const ModeState& m = e.mode(Mode::Painter);
    CanvasGeometry& c = e.mode(Mode::Painter).canvas;
    c.pictureWidth = float(m.width) * zoom;
    c.pictureHeight = float(m.height) * zoom;
    c.pictureX = std::max(0.0f, vw / 2 - c.pictureWidth / 2);
    c.pictureY = std::max(0.0f, vh / 2 - c.pictureHeight / 2);
    c.pictureWidth = std::min(c.pictureWidth, vw);
    c.pictureHeight = std::min(c.pictureHeight, vh);
    rebuildCanvasBackdrop(e, Mode::Painter);
}

} // namespace vork
