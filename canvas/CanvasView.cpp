// SPDX-License-Identifier: GPL-3.0-or-later
#include "canvas/CanvasView.h"

#include "canvas/Canvas.h"
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

void zoomChanged(Editor& e, Mode mode) {
    if (mode == Mode::Painter)
        layoutCanvas(e, Mode::Painter);
    else if (e.animation())
        rebuildCanvasBackdrop(e, Mode::Animator);
    requestModeRepaint(e, mode);
}

namespace {

// Scrolls the view so that the picture point `x` of the axis shows at the screen place where
// the placement `after` (the new zoom, the old scroll) shows `shownAt`, within the scroll range
// of the axis; returns the preview's visible-area position that scrolls there.
float scrollKeeping(float x, float shownAt, float offset, float side, float visible, float zoom,
                    float previewSide) {
    const float wanted = x - (shownAt - offset);
    const float scrolled = std::clamp(wanted, 0.0f, std::max(side - visible / zoom, 0.0f));
    return scrolled * previewSide / side;
}

} // namespace

bool zoomAtPointer(Editor& e, Mode mode, int steps) {
    ModeState& m = e.mode(mode);
    const int before = m.zoomIndex;
    const int last = int(zoomLevels.size()) - 1;
    m.zoomIndex = std::clamp(m.zoomIndex + steps, 0, last);
    if (m.zoomIndex == before)
        return false;
    if (m.document) {
        // The pointer's picture point at the old zoom, and where the new zoom would show it
        // without scrolling.
        const int kept = m.zoomIndex;
        m.zoomIndex = before;
        const CanvasPlacement was = canvasPlacement(e, mode);
        m.zoomIndex = kept;
        const CanvasPlacement now = canvasPlacement(e, mode);
        PreviewState& v = m.preview;
        const float W = float(m.document->width), H = float(m.document->height);
        v.viewportX = scrollKeeping(was.pixelX, now.pixelX, now.offsetX, W, now.visibleWidth,
                                    now.zoom, v.previewImageWidth);
        v.viewportY = scrollKeeping(was.pixelY, now.pixelY, now.offsetY, H, now.visibleHeight,
                                    now.zoom, v.previewImageHeight);
        // The rectangle's size follows the zoom, as the preview keeps it.
        v.viewportWidth = v.previewImageWidth * now.visibleWidth / (W * now.zoom);
        v.viewportHeight = v.previewImageHeight * now.visibleHeight / (H * now.zoom);
    }
    zoomChanged(e, mode);
    return true;
}

int fittingZoomIndex(const Editor& e, Mode mode) {
    const ModeState& m = e.mode(mode);
    if (!m.document)
        return m.zoomIndex;
    const RectF panel = canvasPanel(e, mode);
    for (int i = int(zoomLevels.size()) - 1; i > 0; --i) {
        const float z = zoomLevels[size_t(i)];
        if (float(m.document->width) * z <= panel.w && float(m.document->height) * z <= panel.h)
            return i;
    }
    return 0;
}

bool zoomToFit(Editor& e, Mode mode) {
    ModeState& m = e.mode(mode);
    const int fit = fittingZoomIndex(e, mode);
    if (fit == m.zoomIndex)
        return false;
    m.zoomIndex = fit;
    // The whole picture shows: nothing is scrolled.
    m.preview.viewportX = m.preview.viewportY = 0;
    zoomChanged(e, mode);
    return true;
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
