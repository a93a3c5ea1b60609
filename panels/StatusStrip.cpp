// SPDX-License-Identifier: GPL-3.0-or-later
#include "panels/StatusStrip.h"

#include "canvas/Canvas.h"
#include "canvas/CanvasView.h"
#include "gfx/PixelBlend.h"
#include "ui/Layout.h"

#include <cmath>
#include <cstdio>
#include <filesystem>

namespace vork {

namespace {

const Color sunkenGrey = Color::rgb(128, 128, 128);

// The layers the canvas shows, composed at one pixel as the canvas composes them.
Color shownColour(const ModeState& m, int x, int y) {
    const Frame& frame = m.document->current();
    uint32_t out = 0;
    for (int i = 0; i < frame.layerCount(); ++i) {
        const Layer& layer = frame.layer(i);
        const bool shown =
            m.layers.singleLayerView ? i == frame.currentLayerIndex() : layer.visible;
        if (!shown)
            continue;
        const int opacity256 = (std::clamp(layer.opacity, 0, 255) * 256 + 127) / 255;
        out = blendOver(out, layer.image.pixel(x, y).argb, opacity256);
    }
    return Color{out};
}

} // namespace

StatusTexts statusTexts(const Editor& e, Mode mode) {
    const ModeState& m = e.mode(mode);
    StatusTexts t;
    char buf[64];
    std::snprintf(buf, sizeof buf, "%g%%", double(zoomOf(m) * 100));
    t.zoom = buf;
    if (!m.document)
        return t;
    t.file =
        m.filePath.empty() ? "без имени" : std::filesystem::path(m.filePath).filename().string();
    if (m.changes.modified)
        t.file += " *";
    const CanvasPlacement p = canvasPlacement(e, mode);
    const int x = int(std::floor(p.pixelX)), y = int(std::floor(p.pixelY));
    if (!p.inside || x < 0 || y < 0 || x >= m.document->width || y >= m.document->height)
        return t;
    std::snprintf(buf, sizeof buf, "%d, %d", x, y);
    t.pixel = buf;
    t.shown = shownColour(m, x, y);
    t.hasColour = true;
    std::snprintf(buf, sizeof buf, "R %d G %d B %d A %d", t.shown.r(), t.shown.g(), t.shown.b(),
                  t.shown.a());
    t.colour = buf;
    return t;
}

void drawStatusStrip(Editor& e, Graphics& g) {
    const Rect status = layoutOf(e, Mode::Painter).statusStrip;
    g.fillRect(Brush::solid(colors::panelGrey), status);
    g.drawLine(Pen{colors::black}, {float(status.x), float(status.y)},
               {float(status.x + status.w), float(status.y)});
    const StatusTexts t = statusTexts(e, Mode::Painter);
    const Brush ink = Brush::solid(colors::black);
    const float top = float(status.y + 5), h = 15;
    // Each field in a sunken box, as the zoom label of the preview is drawn.
    auto field = [&](float x, float w, const std::string& text) {
        g.fillRect(Brush::solid(colors::white), RectF{x, top, w, h});
        g.drawRect(Pen{sunkenGrey}, RectF{x, top, w, h});
        g.drawText(text, FontKind::Small, ink, RectF{x + 4, top, w - 8, h}, Align::Near);
    };
    // The fields end before the middle of the strip, which stays the plain strip it was.
    float x = float(status.x + 6);
    field(x, 200, t.file);
    x += 206;
    field(x, 50, t.zoom);
    x += 56;
    field(x, 70, t.pixel);
    x += 76;
    field(x, 150, t.colour);
    if (t.hasColour) {
        const RectF swatch{x + 132, top + 3, 14, 9};
        g.fillRect(
            Brush::hatch(HatchStyle::LargeCheckerBoard, Color::rgb(200, 200, 200), colors::white),
            swatch);
        g.fillRect(Brush::solid(t.shown), swatch);
        g.drawRect(Pen{sunkenGrey}, swatch);
    }
}

} // namespace vork
