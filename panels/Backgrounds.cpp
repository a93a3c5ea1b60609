#include "panels/Backgrounds.h"

#include <algorithm>

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
float cornerRadius(Mode mode) { return mode == Mode::Painter ? 3.0f : 6.0f; }
const Pen blackPen{colors::black};

} // namespace

void drawCommandBarBackground(Graphics& g, Mode mode, int h) {
    ColumnColours c = coloursOf(mode);
    g.setSmoothing(Smoothing::HighQuality);
    // The Painter bar leaves its last two columns to the canvas line; the Animator image is
    // exactly the bar.
    int hatchWidth = mode == Mode::Painter ? 90 : 92;
    g.fillRect(Brush::hatch(HatchStyle::Trellis, c.hatchFore, c.hatchBack), Rect{0, 0, hatchWidth, h});
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

void drawRightColumnBackground(Graphics& g, Mode mode, int x, int h) {
    ColumnColours c = coloursOf(mode);
    const float X = float(x);
    g.setSmoothing(Smoothing::HighQuality);
    g.fillRect(Brush::hatch(HatchStyle::Trellis, c.hatchFore, c.hatchBack), Rect{x, 0, 220, h});
    g.drawRect(blackPen, Rect{x, 0, 219, h});
    g.drawRect(Pen{Color::rgb(115, 128, 115)}, Rect{x + 1, 1, 217, h - 2});
    g.roundedBox(RectF{X + 6, 6, 206, 221}, cornerRadius(mode), Brush::solid(colors::panelGrey), whitePen);
    g.drawRect(Pen{Color::rgb(128, 128, 128)}, Rect{x + 10, 10, 198, 198});
    // The layer list: the Painter keeps more room under it for its opacity box.
    const bool painter = mode == Mode::Painter;
    g.roundedBox(RectF{X + 6, 234, 206, float(h - (painter ? 282 : 238))}, cornerRadius(mode),
                 Brush::solid(Color::rgb(230, 230, 230)), whitePen);
    g.setSmoothing(Smoothing::None);
    g.fillRect(Brush::hatch(HatchStyle::Percent50, Color::rgb(200, 185, 180), colors::white),
               Rect{x + 193, 253, 15, h - (painter ? 345 : 301)});
    const Pen linePen{Color::rgb(80, 80, 80)};
    for (int y : {238, h - (painter ? 91 : 48), h - (painter ? 75 : 32)})
        g.drawLine(linePen, PointF{X + 10, float(y)}, PointF{X + 208, float(y)});
}

void drawPainterPalettePanelBackground(Graphics& g, int R, int B) {
    const int X = 91, Y = std::max(B - 97, 328), w = std::max(R - 310, 401);
    g.fillRect(Brush::solid(colors::panelGrey), Rect{X, Y, w, 72});
    g.drawLine(blackPen, PointF{float(X), float(Y)}, PointF{float(X + w), float(Y)});
}

} // namespace vork
