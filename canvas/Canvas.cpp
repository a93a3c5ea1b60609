// SPDX-License-Identifier: GPL-3.0-or-later
#include "canvas/Canvas.h"

#include "canvas/CanvasView.h"
#include "canvas/History.h"
#include "canvas/PixelGrid.h"
#include "canvas/SelectionOverlay.h"
#include "canvas/ShapeTools.h"
#include "canvas/ToolEngine.h"
#include "ui/Layout.h"

#include <algorithm>
#include <cmath>

namespace vork {

namespace {

// Opacity factor for a layer: plain at 255 and, in the Animator, while playback runs.
float layerOpacity(const Editor& e, Mode mode, const Layer& layer) {
    if (layer.opacity >= 255 ||
        (mode == Mode::Animator && e.animator.playState != PlayState::Stopped))
        return 1.0f;
    return float(std::max(layer.opacity, 0)) / 255.0f;
}

void drawBackdrop(Editor& e, Graphics& g, Mode mode) {
    const ModeState& m = e.mode(mode);
    if (mode == Mode::Animator) {
        // Without an animation the panel keeps its own background (the backdrop is only
        // rendered while an animation exists).
        const Panel& panel = e.panels.canvas;
        if (m.document && !m.canvasBackdrop.isNull())
            g.drawImage(m.canvasBackdrop, panel.x, panel.y);
        else if (!panel.image.isNull())
            g.drawImage(panel.image, panel.x, panel.y);
        return;
    }
    const Rect view = layoutOf(e, Mode::Painter).canvas;
    if (!m.canvasBackdrop.isNull())
        g.drawImage(m.canvasBackdrop, view.x, view.y);
    g.drawLine(Pen{colors::black}, {float(view.x), float(view.y)},
               {float(view.x + view.w), float(view.y)});
}

// The onion skin: rebuilt when the shown frame changed since the last pass, drawn under the
// frame's layers. Not during playback.
void drawOnionSkin(Editor& e, Graphics& g, const CanvasPlacement& p) {
    ModeState& m = e.mode(Mode::Animator);
    Document& animation = *m.document;
    if (!e.animator.onion.on || e.animator.playState != PlayState::Stopped ||
        animation.frameCount() <= 1)
        return;
    if (animation.current().serial != e.animator.onionRememberedFrame) {
        rebuildOnionSkin(animation, e.animator.onion, m.layers.singleLayerView);
        refreshCurrentThumbnails(animation);
        e.requestRepaint();
    }
    if (!e.animator.onion.image)
        return;
    // Exactly 100 draws the image as it is; anything else fades its alpha.
    const float opacity =
        e.animator.onionSkinOpacity == 100 ? 1.0f : e.animator.onionSkinOpacity / 100;
    drawThroughView(
        g, {*e.animator.onion.image, e.animator.onion.changes, e.animator.onion.reductions}, p,
        opacity);
}

void drawAnimatorDocument(Editor& e, Graphics& g, const CanvasPlacement& p) {
    ModeState& m = e.mode(Mode::Animator);
    drawOnionSkin(e, g, p);
    Frame& frame = m.document->current();
    const bool singleLayerView = m.layers.singleLayerView;
    if (singleLayerView)
        m.layers.viewedLayer = frame.current().serial;
    if (frame.enabled) {
        for (int i = 0; i < frame.layerCount(); ++i) {
            Layer& layer = frame.layer(i);
            const bool isCurrent = i == frame.currentLayerIndex();
            const bool shown = singleLayerView ? isCurrent : layer.visible;
            if (shown) {
                // A locked layer shows its clipped pixels while the stroke is in progress.
                if (isCurrent && e.input.mouseDown && m.layers.transparencyLock.active)
                    applyTransparencyLock(e, Mode::Animator);
                drawThroughView(g, reducibleOf(layer), p, layerOpacity(e, Mode::Animator, layer));
            }
            if (layer.serial == m.historyLayer && e.animator.playState == PlayState::Stopped) {
                // Place of the shape preview (drawShapePreview), right above the history's
                // layer.
                drawShapePreview(e, g, Mode::Animator, p);
            }
        }
    }
    if (e.animator.playState == PlayState::Stopped) {
        // The selection's marquee and floating image, above all layers.
        drawSelectionOverlay(e, g, Mode::Animator, p);
        undoRedoFrame(e, Mode::Animator);
    }
    e.animator.onionRememberedFrame = m.document->current().serial;
}

void drawPainterDocument(Editor& e, Graphics& g, const CanvasPlacement& p) {
    ModeState& m = e.mode(Mode::Painter);
    // The caches hold the layers below and above the current one. They are brought up to date
    // on every pass, which costs nothing while those layers stay as they were, so a change of
    // the current layer or of the layers' pixels from anywhere shows at once.
    updatePainterLayerCaches(e);
    LayerCaches& caches = e.painter.caches;
    const bool singleLayerView = m.layers.singleLayerView;
    Frame& frame = m.document->current();
    Layer& layer = frame.current();
    if (caches.below.visible && !singleLayerView)
        drawThroughView(g, reducibleOf(caches.below), p, 1.0f);
    const bool currentShown =
        singleLayerView ? m.layers.viewedLayer == layer.serial : layer.visible;
    if (currentShown) {
        drawThroughView(g, reducibleOf(layer), p, layerOpacity(e, Mode::Painter, layer));
        // The shape preview and the floating selection, right above the current layer and
        // under the layers above it.
        drawShapePreview(e, g, Mode::Painter, p);
        drawFloatingSelection(e, g, Mode::Painter, p);
    }
    if (caches.above.visible && !singleLayerView)
        drawThroughView(g, reducibleOf(caches.above), p, 1.0f);
    // The marquee of a selection being drawn, above all layers.
    drawSelectionMarquee(e, g, Mode::Painter, p);
    undoRedoFrame(e, Mode::Painter);
}

// The part of the picture drawing through the view reads: the source rectangle with the column
// past it that nearest sampling may show; below 100 %, out to whole blocks of the reduction
// used and one block more each way, which the box step may take.
Rect partReadThroughView(const CanvasPlacement& p, int width, int height) {
    const int block = p.zoom < 1 ? 1 << Reductions::levelFor(1.0 / double(p.zoom)) : 1;
    const int margin = 2 + block;
    constexpr double limit = 1 << 30;
    const double left = std::clamp(std::floor(double(p.source.x)) - margin, 0.0, limit);
    const double top = std::clamp(std::floor(double(p.source.y)) - margin, 0.0, limit);
    const double right =
        std::clamp(std::ceil(double(p.source.x) + p.source.w) + margin, 0.0, limit);
    const double bottom =
        std::clamp(std::ceil(double(p.source.y) + p.source.h) + margin, 0.0, limit);
    const int x0 = int(left) / block * block, y0 = int(top) / block * block;
    const int x1 = (int(right) + block - 1) / block * block;
    const int y1 = (int(bottom) + block - 1) / block * block;
    return intersect({x0, y0, x1 - x0, y1 - y0}, {0, 0, width, height});
}

} // namespace

void updatePainterLayerCaches(Editor& e) {
    ModeState& m = e.mode(Mode::Painter);
    if (!m.document)
        return;
    const CanvasPlacement p = canvasPlacement(e, Mode::Painter);
    // Below 100 % the caches are drawn from their reductions, which are brought up to date
    // with them (and so, after a change of the current layer, side by side with them).
    auto reduce = [&p](Layer& cache) {
        if (p.zoom < 1)
            prepareReduced(reducibleOf(cache), p.destination(), p.source);
    };
    updateLayerCaches(*m.document, e.painter.caches,
                      partReadThroughView(p, m.document->width, m.document->height), reduce);
}

void drawThroughView(Graphics& g, const Bitmap& image, const CanvasPlacement& p, float opacity) {
    if (!image.isNull())
        g.drawImage(image, p.destination(), p.source, opacity);
}

void drawThroughView(Graphics& g, const ReducibleImage& image, const CanvasPlacement& p,
                     float opacity) {
    if (p.zoom < 1 && reducesInBoth(p.destination(), p.source))
        drawKeptReduced(g, image, p.destination(), p.source, opacity);
    else
        drawThroughView(g, image.image, p, opacity);
}

RectF canvasPanel(const Editor& e, Mode mode) {
    const Rect c = layoutOf(e, mode).canvas;
    return {float(c.x), float(c.y), float(c.w), float(c.h)};
}

CanvasPlacement canvasPlacement(const Editor& e, Mode mode) {
    const ModeState& m = e.modes[size_t(mode)];
    CanvasPlacement p;
    p.panel = canvasPanel(e, mode);
    p.zoom = zoomLevels[size_t(std::clamp(m.zoomIndex, 0, int(zoomLevels.size()) - 1))];
    if (!m.document)
        return p;
    const float W = float(m.document->width), H = float(m.document->height);
    const float scaledWidth = W * p.zoom, scaledHeight = H * p.zoom;
    p.imageLeft = centredImageStart(p.panel.x, p.panel.w, scaledWidth);
    p.imageTop = centredImageStart(p.panel.y, p.panel.h, scaledHeight);
    p.visibleWidth = std::min(scaledWidth, p.panel.w);
    p.visibleHeight = std::min(scaledHeight, p.panel.h);
    // A preview that has not been measured yet scrolls nothing.
    const PreviewState& v = m.preview;
    p.offsetX = v.previewImageWidth > 0 ? W * v.viewportX / v.previewImageWidth : 0;
    p.offsetY = v.previewImageHeight > 0 ? H * v.viewportY / v.previewImageHeight : 0;
    // The screen pixel at distance d from the origin shows the picture point d / zoom past
    // the scroll position, so every picture pixel covers zoom x zoom screen pixels.
    if (p.zoom >= 1) {
        // Enlarged, the view scrolls by whole screen pixels, and the pointer is mapped from
        // them in one division, exactly as drawing maps them: no rounding of the scroll
        // position can make the two disagree at a pixel's edge.
        const float shiftX = std::round(p.offsetX * p.zoom);
        const float shiftY = std::round(p.offsetY * p.zoom);
        p.offsetX = shiftX / p.zoom;
        p.offsetY = shiftY / p.zoom;
        p.pixelX = (float(e.input.mouseX) - p.imageLeft + shiftX) / p.zoom;
        p.pixelY = (float(e.input.mouseY) - p.imageTop + shiftY) / p.zoom;
    } else {
        p.pixelX = (float(e.input.mouseX) - p.imageLeft) / p.zoom + p.offsetX;
        p.pixelY = (float(e.input.mouseY) - p.imageTop) / p.zoom + p.offsetY;
    }
    p.inside = pointerInside(p, e.input.mouseX, e.input.mouseY);
    // The part shown is scaled exactly by the zoom from the scroll position, which is what
    // keeps the pixel under the pointer the pixel the tools change.
    p.source = {p.offsetX, p.offsetY, p.visibleWidth / p.zoom, p.visibleHeight / p.zoom};
    return p;
}

Point visibleCentre(const CanvasPlacement& p) {
    return {int(p.visibleWidth / 2 / p.zoom + p.offsetX),
            int(p.visibleHeight / 2 / p.zoom + p.offsetY)};
}

Point insertionCentre(const CanvasPlacement& p, Mode mode, int width, int height) {
    if (mode == Mode::Painter)
        return visibleCentre(p);
    const float w = std::min(float(width - 1) * p.zoom, p.panel.w);
    const float h = std::min(float(height - 1) * p.zoom, p.panel.h);
    return {int(w / 2 / p.zoom + p.offsetX), int(h / 2 / p.zoom + p.offsetY)};
}

bool pointerInside(const CanvasPlacement& p, int mouseX, int mouseY) {
    const float x = float(mouseX), y = float(mouseY);
    return p.imageLeft <= x && x < p.imageLeft + p.visibleWidth && p.imageTop <= y &&
           y < p.imageTop + p.visibleHeight;
}

namespace {

// The reduced drawings the canvas keeps are held only for the layers it draws: the current
// frame's (in the Painter only its current layer, beside the caches). Any other layer's is let
// go, so that what is kept stays a few screens, however many frames and layers there are.
void forgetUndrawnViews(Editor& e, Mode mode) {
    Document& d = *e.mode(mode).document;
    const Frame& shown = d.current();
    for (int f = 0; f < d.frameCount(); ++f) {
        Frame& frame = d.frame(f);
        for (int i = 0; i < frame.layerCount(); ++i) {
            Bitmap& kept = frame.layer(i).reductions.keptView().pixels;
            const bool drawn =
                &frame == &shown && (mode == Mode::Animator || i == frame.currentLayerIndex());
            if (!drawn && !kept.isNull())
                kept = Bitmap();
        }
    }
}

} // namespace

void drawCanvas(Editor& e, Graphics& g, Mode mode) {
    drawBackdrop(e, g, mode);
    if (!e.mode(mode).document)
        return;
    const CanvasPlacement p = canvasPlacement(e, mode);
    // Where the picture lies this frame, for the panels around the canvas.
    e.mode(mode).canvas = {p.imageLeft, p.imageTop, p.visibleWidth, p.visibleHeight};
    runTools(e, mode, p);
    // Reductions are smoothed; enlargements keep the pixels square.
    g.setInterpolation(p.zoom >= 1 ? Interpolation::NearestNeighbor : Interpolation::Bicubic);
    if (mode == Mode::Animator)
        drawAnimatorDocument(e, g, p);
    else
        drawPainterDocument(e, g, p);
    drawPixelGrid(e, g, mode, p); // over the window only, never into the picture
    forgetUndrawnViews(e, mode);
    g.setInterpolation(Interpolation::Bilinear); // the context's default, for the panels after
}

} // namespace vork
