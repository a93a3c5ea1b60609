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
// The checkerboard lies exactly under the shown image, in panel coordinates, so that the
// transparent pixels at its edges show as transparent.
RectF underTheImage(float panelWidth, float panelHeight, float scaledWidth, float scaledHeight) {
    return {centredImageStart(0, panelWidth, scaledWidth),
            centredImageStart(0, panelHeight, scaledHeight), std::min(scaledWidth, panelWidth),
            std::min(scaledHeight, panelHeight)};
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
        g.fillRect(checkerboard(),
                   underTheImage(float(p.width), float(p.height), float(m.document->width) * zoom,
                                 float(m.document->height) * zoom));
        return;
    }
    const Rect view = layoutOf(e, Mode::Painter).canvas;
    const float vw = float(view.w), vh = float(view.h);
    m.canvasBackdrop = Bitmap(int(vw), int(vh), PixelFormat::Rgb);
    Graphics g(m.canvasBackdrop);
    g.clear(canvasGrey);
    if (!m.document)
        return;
    g.fillRect(checkerboard(), underTheImage(vw, vh, float(m.document->width) * zoom,
                                             float(m.document->height) * zoom));
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
    c.pictureX = centredImageStart(0, vw, c.pictureWidth);
    c.pictureY = centredImageStart(0, vh, c.pictureHeight);
    c.pictureWidth = std::min(c.pictureWidth, vw);
    c.pictureHeight = std::min(c.pictureHeight, vh);
    rebuildCanvasBackdrop(e, Mode::Painter);
}

} // namespace vork
