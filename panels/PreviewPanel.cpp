// SPDX-License-Identifier: GPL-3.0-or-later
#include "panels/PreviewPanel.h"

#include "canvas/CanvasView.h"
#include "model/Composite.h"
#include "model/Reduce.h"
#include "panels/LayerPanel.h"
#include "panels/PanelLayout.h"
#include "ui/Layout.h"
#include "ui/Widgets.h"

#include <algorithm>
#include <cstdio>
#include <utility>

namespace vork {

namespace {

constexpr float previewSide = 165;
const Color outlineGrey = Color::rgb(128, 128, 128);
const Color red = Color::rgb(255, 0, 0);
constexpr int maxZoomIndex = int(zoomLevels.size()) - 1;

// Fits W x H into the 165-pixel square, keeping its proportions, centred in the preview area:
// on (X + 109.5, 109.5) for the column at X.
void placePreview(PreviewState& p, Rect area, float W, float H) {
    float w = previewSide, h = previewSide;
    if (W > H)
        h = previewSide / (W / H);
    else if (W < H)
        w = previewSide / (H / W);
    p.previewImageWidth = w;
    p.previewImageHeight = h;
    p.previewX = float(area.x) + 17 + 82.5f - w / 2;
    p.previewY = float(area.y) + 17 + 82.5f - h / 2;
}

// The checkerboard the layers are drawn over; its pattern repeats every 8 rows.
Brush previewChecker() {
    return Brush::hatch(HatchStyle::LargeCheckerBoard, Color::rgb(200, 200, 200), colors::white);
}
constexpr int checkerPeriod = 8;

PreviewSources sourcesOf(const Frame& frame, int width, int height) {
    PreviewSources s;
    s.frame = frame.serial;
    s.width = width;
    s.height = height;
    for (const Layer& layer : frame.layers())
        s.layers.push_back(
            {layer.serial, layer.visible, layer.opacity, layer.changes.revision(layer.image)});
    s.drawn = true;
    return s;
}

// Whether the preview shows the same layers as `now`, in the same way, whatever their pixels.
bool sameLayersShown(const PreviewSources& before, const PreviewSources& now) {
    if (!before.drawn || before.frame != now.frame || before.width != now.width ||
        before.height != now.height || before.layers.size() != now.layers.size())
        return false;
    for (size_t i = 0; i < now.layers.size(); ++i) {
        const PreviewSources::Source &a = before.layers[i], &b = now.layers[i];
        if (a.serial != b.serial || a.visible != b.visible || a.opacity != b.opacity)
            return false;
    }
    return true;
}

// The visible layers of the shown frame, bottom first, each with its opacity, over the
// checkerboard. The picture has a single frame, so both modes show the current one.
void drawPreviewWhole(ModeState& m, int w, int h) {
    PreviewState& p = m.preview;
    Document& doc = *m.document;
    const float W = float(doc.width), H = float(doc.height);
    p.previewImage = Bitmap(w, h);
    Graphics g(p.previewImage);
    g.fillRect(previewChecker(), Rect{0, 0, w, h});
    // Enlarging keeps the pixels sharp; reducing averages, from the layers' reductions.
    const bool enlarging = W < p.previewImageWidth || H < p.previewImageHeight;
    const RectF whole{0, 0, W, H}, all{0, 0, float(w), float(h)};
    Bitmap scratch(w, h);
    for (Layer& layer : doc.current().layers()) {
        if (!layer.visible)
            continue;
        scratch.fill(colors::transparent);
        {
            Graphics sg(scratch);
            if (enlarging) {
                // Each preview pixel shows the picture pixel its left and top edges fall in,
                // which gives every picture pixel an equal share.
                sg.setInterpolation(Interpolation::NearestNeighbor);
                sg.drawImage(layer.image, all, whole);
            } else {
                drawReduced(sg, reducibleOf(layer), all, whole, 1.0f, m.reducedScratch);
            }
        }
        scaleAlpha(scratch, layer.opacity);
        g.drawImage(scratch, 0, 0);
    }
}

// The preview rows the layers' changes since `before` reach, as [begin, end).
std::pair<int, int> changedRows(ModeState& m, const PreviewSources& before, RectF all,
                                RectF whole) {
    int begin = 0, end = 0;
    Frame& frame = m.document->current();
    for (int i = 0; i < frame.layerCount(); ++i) {
        Layer& layer = frame.layer(i);
        if (!layer.visible)
            continue;
        const Rect changed =
            layer.changes.changedSince(layer.image, before.layers[size_t(i)].revision);
        if (changed.empty())
            continue;
        const auto [b, e] = rowsShowing(reducibleOf(layer), all, whole, changed);
        if (b >= e)
            continue;
        begin = end > begin ? std::min(begin, b) : b;
        end = std::max(end, e);
    }
    return {begin, end};
}

// Rows [begin, end) of the preview drawn again, each pixel exactly as drawing it whole draws
// it: the rows are composed apart, from a row where the checkerboard's pattern starts afresh,
// and copied in.
void drawPreviewRows(ModeState& m, int begin, int end) {
    PreviewState& p = m.preview;
    Document& doc = *m.document;
    const int w = p.previewImage.width();
    begin -= begin % checkerPeriod;
    const int rows = end - begin;
    const RectF whole{0, 0, float(doc.width), float(doc.height)};
    const RectF all{0, 0, float(w), float(p.previewImage.height())};
    Bitmap band(w, rows), scratch(w, rows);
    if (band.isNull() || scratch.isNull()) { // no memory for the rows: whole, as far as it goes
        drawPreviewWhole(m, w, p.previewImage.height());
        return;
    }
    Graphics g(band);
    g.fillRect(previewChecker(), Rect{0, 0, w, rows});
    for (Layer& layer : doc.current().layers()) {
        if (!layer.visible)
            continue;
        scratch.fill(colors::transparent);
        reduceRowsInto(reducibleOf(layer), all, whole, begin, end, m.reducedScratch);
        {
            Graphics sg(scratch);
            sg.drawImage(m.reducedScratch, 0, 0);
        }
        scaleAlpha(scratch, layer.opacity);
        g.drawImage(scratch, 0, 0);
    }
    for (int y = 0; y < rows; ++y)
        std::copy_n(band.row(y), w, p.previewImage.row(begin + y));
}

// Brings the preview image up to date: when the same layers are shown as before and it is
// reduced, only the rows their changes reach; otherwise whole.
void rebuildPreview(ModeState& m) {
    m.previewUpToDate = true;
    PreviewState& p = m.preview;
    Document& doc = *m.document;
    const int w = bitmapExtent(p.previewImageWidth), h = bitmapExtent(p.previewImageHeight);
    PreviewSources now = sourcesOf(doc.current(), doc.width, doc.height);
    const bool enlarging =
        float(doc.width) < p.previewImageWidth || float(doc.height) < p.previewImageHeight;
    if (enlarging || p.previewImage.width() != w || p.previewImage.height() != h ||
        !sameLayersShown(p.sources, now)) {
        drawPreviewWhole(m, w, h);
    } else {
        const RectF whole{0, 0, float(doc.width), float(doc.height)};
        const auto [begin, end] = changedRows(m, p.sources, {0, 0, float(w), float(h)}, whole);
        if (begin < end)
            drawPreviewRows(m, begin, end);
    }
    p.sources = std::move(now);
}

bool insideF(const InputState& in, float x, float y, float w, float h) {
    const float mx = float(in.mouseX), my = float(in.mouseY);
    return x < mx && mx < x + w && y < my && my < y + h;
}

// Drag, size and clamp of the red rectangle, in preview pixels.
void trackViewport(Editor& e, Mode mode, const ModeLayout& layout) {
    ModeState& m = e.mode(mode);
    PreviewState& p = m.preview;
    InputState& in = e.input;
    const bool inArea = pointerInside(in, layout.column.previewArea);

    if (!p.dragActive && in.mouseDown && inArea) {
        p.dragActive = true;
        p.dragLastX = in.mouseX;
        p.dragLastY = in.mouseY;
        // A press on the image centres the rectangle on the pointer.
        if (insideF(in, p.previewX, p.previewY, p.previewImageWidth, p.previewImageHeight)) {
            p.viewportX = float(in.mouseX) - p.viewportWidth / 2 - p.previewX;
            p.viewportY = float(in.mouseY) - p.viewportHeight / 2 - p.previewY;
        }
    }
    if (p.dragActive && inArea) {
        p.viewportX -= float(p.dragLastX - in.mouseX);
        p.viewportY -= float(p.dragLastY - in.mouseY);
        p.dragLastX = in.mouseX;
        p.dragLastY = in.mouseY;
        if (!in.mouseDown)
            p.dragActive = false;
    }
    if (p.dragActive && !inArea) {
        // Leaving the area ends the drag and uses the press up.
        p.dragActive = false;
        in.mouseDown = false;
    }

    // The part of the zoomed document that fits the canvas.
    const Rect canvas = layout.canvas;
    const float zoom = zoomOf(m);
    const float scaledW = float(m.document->width) * zoom;
    const float scaledH = float(m.document->height) * zoom;
    const float visibleW = std::min(scaledW, float(canvas.w));
    const float visibleH = std::min(scaledH, float(canvas.h));
    p.viewportWidth = p.previewImageWidth * (visibleW / scaledW);
    p.viewportHeight = p.previewImageHeight * (visibleH / scaledH);

    p.viewportX = std::max(p.viewportX, 0.0f);
    p.viewportY = std::max(p.viewportY, 0.0f);
    if (p.viewportX + p.viewportWidth > p.previewImageWidth)
        p.viewportX = p.previewImageWidth - p.viewportWidth;
    if (p.viewportY + p.viewportHeight > p.previewImageHeight)
        p.viewportY = p.previewImageHeight - p.viewportHeight;
}

void zoomControls(Editor& e, Graphics& g, Mode mode, int X) {
    ModeState& m = e.mode(mode);
    const Rect labelBox{X + 12, 211, 40, 13};
    g.fillRect(Brush::solid(colors::white), labelBox);
    g.drawRect(Pen{outlineGrey}, labelBox);
    char label[32];
    std::snprintf(label, sizeof label, "%g%s", double(zoomOf(m) * 100), "%");
    g.drawText(label, FontKind::Small, Brush::solid(colors::black),
               RectF{float(labelBox.x), float(labelBox.y), float(labelBox.w), float(labelBox.h)});

    const int before = m.zoomIndex;
    const uint8_t typed = e.input.lastChar;
    if (typed == '/')
        zoomReset(m);
    if (iconButton(e.widgets(), g, {X + 57, 212, 8, 11}, {100, 100, 22, 22}) || typed == '-')
        zoomOut(m);
    if (iconButton(e.widgets(), g, {X + 198, 212, 8, 11}, {125, 100, 22, 22}) || typed == '+')
        zoomIn(m);

    g.drawRect(Pen{outlineGrey}, Rect{X + 70, 216, 122, 2});
    // The 100 % mark: the Painter's is red while it has a picture.
    const bool redMark = mode == Mode::Painter && m.document;
    g.drawLine(Pen{redMark ? red : outlineGrey}, PointF{float(X + 109), 210},
               PointF{float(X + 109), 223});
    const float v = horizontalSlider(e.widgets(), g, RectF{float(X + 70), 211, 122, 11},
                                     float(maxZoomIndex), 1, float(m.zoomIndex));
    m.zoomIndex = std::clamp(int(v), 0, maxZoomIndex);

    if (m.zoomIndex == before)
        return;
    if (mode == Mode::Painter) {
        // The Painter's canvas layout places the zoomed picture and rebuilds its backdrop.
        layoutCanvas(e, Mode::Painter);
    } else if (e.animation()) {
        rebuildCanvasBackdrop(e, Mode::Animator);
    }
    // The label above still shows the old zoom, so a paint follows even without a document.
    requestModeRepaint(e, mode);
}

} // namespace

void drawPreviewPanel(Editor& e, Graphics& g, Mode mode) {
    const ModeLayout layout = layoutOf(e, mode);
    const int X = layout.column.rect.x;
    drawBackground(e, g, mode, Background::Column);

    ModeState& m = e.mode(mode);
    PreviewState& p = m.preview;
    if (m.document) {
        placePreview(p, layout.column.previewArea, float(m.document->width),
                     float(m.document->height));
        if (!m.previewUpToDate)
            rebuildPreview(m);
        g.drawImage(p.previewImage, int(p.previewX), int(p.previewY));
        trackViewport(e, mode, layout);
        g.drawRect(Pen{red}, RectF{p.previewX + p.viewportX, p.previewY + p.viewportY,
                                   p.viewportWidth, p.viewportHeight});
    }
    zoomControls(e, g, mode, X);
    drawLayerPanel(e, g, mode);
}

} // namespace vork
