// SPDX-License-Identifier: GPL-3.0-or-later
#include "panels/Backgrounds.h"

#include "ui/Layout.h"

namespace vork {

namespace {

struct ColumnColours {
    Color hatchFore, hatchBack, innerOutline;
};

ColumnColours coloursOf(Mode mode) {
    if (mode == Mode::Painter)
        return {Color::rgb(50, 114, 93), Color::rgb(50, 50, 50), Color::rgb(115, 128, 115)};
    return {Color::rgb(100, 100, 100), Color::rgb(80, 80, 80), Color::rgb(128, 128, 128)};
}

const Pen whitePen{colors::white};

// The Animator's boxes have corners of radius 6; the Painter's corner arcs fit a 6 x 6 box.
float cornerRadius(Mode mode) {
    return mode == Mode::Painter ? 3.0f : 6.0f;
}
const Pen blackPen{colors::black};

} // namespace

void drawCommandBarBackground(Graphics& g, Mode mode, int h) {
    ColumnColours c = coloursOf(mode);
    g.setSmoothing(Smoothing::HighQuality);
    // The Painter bar leaves its last two columns to the canvas line; the Animator image is
    // exactly the bar.
    int hatchWidth = mode == Mode::Painter ? 90 : 92;
    g.fillRect(Brush::hatch(HatchStyle::Trellis, c.hatchFore, c.hatchBack),
               Rect{0, 0, hatchWidth, h});
    g.drawRect(blackPen, Rect{0, 0, 91, h});
    g.drawRect(Pen{c.innerOutline}, Rect{1, 1, 89, h - 2});
    Brush face = Brush::solid(colors::panelGrey);
    g.roundedBox(RectF{6, 21, 79, float(h - 112)}, cornerRadius(mode), face, whitePen);
    if (mode == Mode::Animator)
        g.roundedBox(RectF{6, float(h - 86), 79, 80}, cornerRadius(mode), face, whitePen);
    g.drawText(mode == Mode::Painter ? "painter" : "animation", FontKind::Title,
               Brush::solid(colors::white), RectF{6, 0, 79, 20});
    g.setSmoothing(Smoothing::None);
}

void drawRightColumnBackground(Graphics& g, Mode mode, const ColumnLayout& c, int originX) {
    ColumnColours col = coloursOf(mode);
    const int x = c.rect.x - originX, w = c.rect.w, h = c.rect.h;
    auto local = [originX](Rect r) { return Rect{r.x - originX, r.y, r.w, r.h}; };
    auto localF = [originX](Rect r) {
        return RectF{float(r.x - originX), float(r.y), float(r.w), float(r.h)};
    };
    g.setSmoothing(Smoothing::HighQuality);
    g.fillRect(Brush::hatch(HatchStyle::Trellis, col.hatchFore, col.hatchBack), Rect{x, 0, w, h});
    g.drawRect(blackPen, Rect{x, 0, w - 1, h});
    g.drawRect(Pen{Color::rgb(115, 128, 115)}, Rect{x + 1, 1, w - 3, h - 2});
    g.roundedBox(localF(c.previewBox), cornerRadius(mode), Brush::solid(colors::panelGrey),
                 whitePen);
    g.drawRect(Pen{Color::rgb(128, 128, 128)}, local(c.previewArea));
    g.roundedBox(localF(c.layerBox), cornerRadius(mode), Brush::solid(Color::rgb(230, 230, 230)),
                 whitePen);
    g.setSmoothing(Smoothing::None);
    g.fillRect(Brush::hatch(HatchStyle::Percent50, Color::rgb(200, 185, 180), colors::white),
               local(c.scrollTrack));
    const Pen linePen{Color::rgb(80, 80, 80)};
    for (int y : c.lineYs)
        g.drawLine(linePen, PointF{float(x + 10), float(y)}, PointF{float(x + 208), float(y)});
}

void drawPainterPalettePanelBackground(Graphics& g, Rect palette) {
    const int X = palette.x, Y = palette.y, w = palette.w;
    g.fillRect(Brush::solid(colors::panelGrey), Rect{X, Y, w, palette.h});
    g.drawLine(blackPen, PointF{float(X), float(Y)}, PointF{float(X + w), float(Y)});
}

} // namespace vork
