#include "app/Layout.h"

#include "canvas/CanvasView.h"
#include "gfx/Graphics.h"
#include "panels/Backgrounds.h"

#include <algorithm>

namespace vork {

AnimatorLayout animatorLayout(int R, int B) {
    AnimatorLayout l;
    const int barHeight = std::max(B - 95, 399);
    const int canvasWidth = std::max(R - 312, 401);
    const int canvasHeight = std::max(B - 167, 327);
    l.commandBar = {0, 0, 92, barHeight};
    l.right = {std::max(R - 220, 493), 0, 220, barHeight};
    l.canvas = {92, 0, canvasWidth, canvasHeight};
    l.palette = {92, canvasHeight, canvasWidth, 72};
    l.picker = {102, std::max(l.palette.y - 260, 67), std::min(std::max(R - 404, 381), 600), 250};
    l.frame = {0, barHeight, std::max(R, 673), 95};
    return l;
}

namespace {

const Pen blackPen{colors::black};
const Color grey128 = Color::rgb(128, 128, 128);

// Moves the panel and gives it a new background image of its size.
Graphics* placePanel(Panel& p, Rect r, std::optional<Graphics>& g) {
    p.x = r.x;
    p.y = r.y;
    p.width = r.w;
    p.height = r.h;
    p.image = Bitmap(r.w, r.h, PixelFormat::Rgb);
    g.emplace(p.image);
    return &*g;
}

void topLine(Graphics& g, int w) { g.drawLine(blackPen, {0, 0}, {float(w), 0}); }

AnimatorLayout layoutOf(const Editor& e) { return animatorLayout(e.clientWidth, e.clientHeight); }

} // namespace

void layoutCommandBar(Editor& e) {
    std::optional<Graphics> g;
    Panel& p = e.panels.commandBar;
    placePanel(p, layoutOf(e).commandBar, g);
    drawCommandBarBackground(*g, Mode::Animator, p.height);
}

void layoutRightPanel(Editor& e) {
    std::optional<Graphics> g;
    Panel& p = e.panels.right;
    placePanel(p, layoutOf(e).right, g);
    drawRightColumnBackground(*g, Mode::Animator, 0, p.height);
}

void layoutCanvasPanel(Editor& e) {
    {
        std::optional<Graphics> g;
        Panel& p = e.panels.canvas;
        placePanel(p, layoutOf(e).canvas, g);
        g->clear(grey128);
        topLine(*g, p.width);
    }
    if (e.animation())
        rebuildCanvasBackdrop(e, Mode::Animator);
}

void layoutPalettePanel(Editor& e) {
    std::optional<Graphics> g;
    Panel& p = e.panels.palette;
    placePanel(p, layoutOf(e).palette, g);
    g->clear(colors::panelGrey);
    topLine(*g, p.width);
}

void layoutPickerPanel(Editor& e) {
    std::optional<Graphics> g;
    Panel& p = e.panels.picker;
    Rect r = layoutOf(e).picker;
    r.y = std::max(e.panels.palette.y - 260, 67); // placed from the palette panel's new place
    placePanel(p, r, g);
    const int w = p.width, h = p.height;
    g->clear(colors::panelGrey);
    g->drawRect(blackPen, Rect{0, 0, w - 1, h - 1});
    // A raised bevel inside the outline.
    const Pen dark{grey128}, light{Color::rgb(200, 200, 200)}, white{colors::white};
    const float x1 = 1, y1 = 1, r1 = float(w - 2), b1 = float(h - 2);
    g->drawPolyline(dark, {{x1, b1}, {r1, b1}, {r1, y1}});
    g->drawPolyline(light, {{x1, b1}, {x1, y1}, {r1, y1}});
    g->drawPolyline(white, {{2, float(h - 3)}, {2, 2}, {float(w - 3), 2}});
}

void layoutFramePanel(Editor& e) {
    std::optional<Graphics> g;
    Panel& p = e.panels.frame;
    placePanel(p, layoutOf(e).frame, g);
    const int w = p.width;
    g->clear(colors::panelGrey);
    topLine(*g, w);
    g->fillRect(Brush::hatch(HatchStyle::Percent50, Color::rgb(220, 220, 220), colors::white),
                Rect{0, 1, w, 16});
    g->fillRect(Brush::solid(colors::panelGrey), Rect{0, 1, 458, 16});
    g->drawRect(Pen{grey128}, Rect{0, 1, 458, 16});
    g->drawRect(Pen{grey128}, Rect{0, 1, w - 1, 16});
}

void layoutPainterCanvas(Editor& e) {
    FrameCycle& f = e.frame;
    f.painterViewWidth = float(std::max(e.clientWidth - 311, 401));
    f.painterViewHeight = float(std::max(e.clientHeight - 97, 328));
    const float zoom = zoomOf(e.mode(Mode::Painter));
    f.painterPictureWidth = e.sizes.pictureWidth * zoom;
    f.painterPictureHeight = e.sizes.pictureHeight * zoom;
    f.painterPictureX = std::max(0.0f, f.painterViewWidth / 2 - f.painterPictureWidth / 2);
    f.painterPictureY = std::max(0.0f, f.painterViewHeight / 2 - f.painterPictureHeight / 2);
    f.painterPictureWidth = std::min(f.painterPictureWidth, f.painterViewWidth);
    f.painterPictureHeight = std::min(f.painterPictureHeight, f.painterViewHeight);
    rebuildCanvasBackdrop(e, Mode::Painter);

    // Both reach one pixel past their height: the outlines are drawn on their bottom row.
    const int H = std::max(e.clientHeight - 25, 400);
    f.painterCommandBarImage = Bitmap(92, H + 1, PixelFormat::Rgb);
    {
        Graphics g(f.painterCommandBarImage);
        drawCommandBarBackground(g, Mode::Painter, H);
    }
    f.painterColumnImage = Bitmap(220, H + 1, PixelFormat::Rgb);
    {
        Graphics g(f.painterColumnImage);
        drawRightColumnBackground(g, Mode::Painter, 0, H);
    }
}

void layoutAnimatorPanels(Editor& e) {
    layoutCommandBar(e);
    layoutRightPanel(e);
    layoutCanvasPanel(e);
    layoutPalettePanel(e);
    layoutPickerPanel(e);
    layoutFramePanel(e);
}

void layoutAll(Editor& e) {
    layoutAnimatorPanels(e);
    layoutPainterCanvas(e);
}

} // namespace vork
