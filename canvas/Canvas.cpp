#include "canvas/Canvas.h"

#include "canvas/CanvasView.h"
#include "canvas/History.h"
#include "canvas/SelectionOverlay.h"
#include "canvas/ShapeTools.h"
#include "canvas/ToolEngine.h"

#include <algorithm>
#include <cmath>

namespace vork {

namespace {

// Opacity factor for a layer: plain at 255 and, in the Animator, while playback runs.
float layerOpacity(const Editor& e, Mode mode, const Layer& layer) {
    if (layer.opacity >= 255 || (mode == Mode::Animator && e.playState != 0))
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
    if (!m.canvasBackdrop.isNull())
        g.drawImage(m.canvasBackdrop, 91, 0);
    g.drawLine(Pen{colors::black}, {91, 0}, {91 + e.frame.painterViewWidth, 0});
}

// The onion skin: rebuilt when the shown frame changed since the last pass, drawn under the
// frame's layers. Not during playback.
void drawOnionSkin(Editor& e, Graphics& g, const CanvasPlacement& p) {
    Document& animation = *e.animation();
    if (!e.onion.on || e.playState != 0 || animation.frameCount() <= 1)
        return;
    if (&animation.current() != e.onionRememberedFrame) {
        rebuildOnionSkin(animation, e.onion, e.singleLayerView);
        refreshCurrentThumbnails(animation);
        e.requestRepaint();
    }
    if (!e.onion.image)
        return;
    // Exactly 100 draws the image as it is; anything else fades its alpha.
    const float opacity = e.onionSkinOpacity == 100 ? 1.0f : e.onionSkinOpacity / 100;
    drawThroughView(g, *e.onion.image, p, opacity);
}

void drawAnimatorDocument(Editor& e, Graphics& g, const CanvasPlacement& p) {
    ModeState& m = e.mode(Mode::Animator);
    drawOnionSkin(e, g, p);
    Frame& frame = m.document->current();
    if (e.singleLayerView)
        e.viewedLayer = frame.currentLayer;
    if (frame.enabled) {
        for (int i = 0; i < frame.layerCount(); ++i) {
            Layer& layer = frame.layer(i);
            const bool shown = e.singleLayerView ? i == frame.currentLayer : layer.visible;
            if (shown) {
                // A locked layer shows its clipped pixels while the stroke is in progress.
                if (i == frame.currentLayer && e.input.mouseDown && m.transparencyLock.active)
                    applyTransparencyLock(e, Mode::Animator);
                drawThroughView(g, layer.image, p, layerOpacity(e, Mode::Animator, layer));
            }
            if (layer.serial == m.historyLayer && e.playState == 0) {
                // Place of the shape preview (drawShapePreview), right above the history's
                // layer.
                drawShapePreview(e, g, Mode::Animator, p);
            }
        }
    }
    if (e.playState == 0) {
        // The selection's marquee and floating image, above all layers.
        drawSelectionOverlay(e, g, Mode::Animator, p);
        undoRedoFrame(e, Mode::Animator);
    }
    e.onionRememberedFrame = &m.document->current();
}

// The caches hold the layers below and above the current one; nobody else notices when the
// current layer itself changed, so they are recomposed here then.
void keepLayerCachesAroundCurrentLayer(Editor& e) {
    const Document& picture = *e.picture();
    const Layer& current = picture.currentLayer();
    const bool sizeDiffers = e.belowCache.image.width() != picture.width ||
                             e.belowCache.image.height() != picture.height;
    if (current.serial == e.layerCachesLayer && !sizeDiffers)
        return;
    rebuildLayerCaches(picture, e.belowCache, e.aboveCache);
    e.layerCachesLayer = current.serial;
}

void drawPainterDocument(Editor& e, Graphics& g, const CanvasPlacement& p) {
    keepLayerCachesAroundCurrentLayer(e);
    Frame& frame = e.picture()->current();
    const Layer& layer = frame.current();
    if (e.belowCache.visible && !e.singleLayerView)
        drawThroughView(g, e.belowCache.image, p);
    const bool currentShown =
        e.singleLayerView ? e.viewedLayer == frame.currentLayer : layer.visible;
    if (currentShown) {
        drawThroughView(g, layer.image, p, layerOpacity(e, Mode::Painter, layer));
        // The shape preview and the floating selection, right above the current layer and
        // under the layers above it.
        drawShapePreview(e, g, Mode::Painter, p);
        drawFloatingSelection(e, g, Mode::Painter, p);
    }
    if (e.aboveCache.visible && !e.singleLayerView)
        drawThroughView(g, e.aboveCache.image, p);
    // The marquee of a selection being drawn, above all layers.
    drawSelectionMarquee(e, g, Mode::Painter, p);
    undoRedoFrame(e, Mode::Painter);
}

} // namespace

void drawThroughView(Graphics& g, const Bitmap& image, const CanvasPlacement& p, float opacity) {
    if (!image.isNull())
        g.drawImage(image, p.destination(), p.source, opacity);
}

RectF canvasPanel(const Editor& e, Mode mode) {
    if (mode == Mode::Animator) {
        const Panel& c = e.panels.canvas;
        return {float(c.x), float(c.y), float(c.width), float(c.height)};
    }
    // The Painter view is measured by its own layout step, right of the command bar.
    return {91, 0, e.frame.painterViewWidth, e.frame.painterViewHeight};
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
    p.imageLeft = std::max(p.panel.x + p.panel.w / 2 - scaledWidth / 2, p.panel.x);
    p.imageTop = std::max(p.panel.y + p.panel.h / 2 - scaledHeight / 2, p.panel.y);
    p.visibleWidth = std::min(scaledWidth, p.panel.w);
    p.visibleHeight = std::min(scaledHeight, p.panel.h);
    // A preview that has not been measured yet scrolls nothing.
    const PreviewState& v = m.preview;
    p.offsetX = v.previewImageWidth > 0 ? W * v.viewportX / v.previewImageWidth : 0;
    p.offsetY = v.previewImageHeight > 0 ? H * v.viewportY / v.previewImageHeight : 0;
    p.pixelX = (float(e.input.mouseX) - p.imageLeft + p.zoom / 2) / p.zoom + p.offsetX;
    p.pixelY = (float(e.input.mouseY) - p.imageTop + p.zoom / 2) / p.zoom + p.offsetY;
    p.inside = pointerInside(p, e.input.mouseX, e.input.mouseY);
    // The part shown is scaled exactly by the zoom from the scroll position, which is what
    // keeps the pixel under the pointer the pixel the tools change.
    p.source = {p.offsetX, p.offsetY, p.visibleWidth / p.zoom, p.visibleHeight / p.zoom};
    return p;
}

bool pointerInside(const CanvasPlacement& p, int mouseX, int mouseY) {
    const float x = float(mouseX), y = float(mouseY);
    return p.imageLeft <= x && x <= p.imageLeft + p.visibleWidth && p.imageTop <= y &&
           y <= p.imageTop + p.visibleHeight;
}

void requestCanvasRepaint(Editor& e, Mode mode) {
    if (mode == Mode::Animator)
        e.requestRepaint();
    else
        e.frame.painterRedrawRequest = true;
}

void drawCanvas(Editor& e, Graphics& g, Mode mode) {
    drawBackdrop(e, g, mode);
    if (!e.mode(mode).document)
        return;
    const CanvasPlacement p = canvasPlacement(e, mode);
    if (mode == Mode::Painter) {
        // The Painter keeps where its picture lies for the panels around it.
        e.frame.painterPictureX = p.imageLeft;
        e.frame.painterPictureY = p.imageTop;
        e.frame.painterPictureWidth = p.visibleWidth;
        e.frame.painterPictureHeight = p.visibleHeight;
    }
    runTools(e, mode, p);
    // Reductions are smoothed; enlargements keep the pixels square.
    g.setInterpolation(p.zoom >= 1 ? Interpolation::NearestNeighbor : Interpolation::Bicubic);
    if (mode == Mode::Animator)
        drawAnimatorDocument(e, g, p);
    else
        drawPainterDocument(e, g, p);
    g.setInterpolation(Interpolation::Bilinear); // the context's default, for the panels after
}

} // namespace vork
