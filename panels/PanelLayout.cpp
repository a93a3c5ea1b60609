// SPDX-License-Identifier: GPL-3.0-or-later
#include "panels/PanelLayout.h"

#include "panels/Backgrounds.h"
#include "ui/Layout.h"

#include <algorithm>

namespace vork {

namespace {

const Pen blackPen{colors::black};
const Color grey128 = Color::rgb(128, 128, 128);

ModeLayout animator(const Editor& e) {
    return layoutOf(e, Mode::Animator);
}

void drawPanelImage(Graphics& g, const Panel& p) {
    if (!p.image.isNull())
        g.drawImage(p.image, p.x, p.y);
}

} // namespace

void layoutCommandBar(Editor& e) {
    Panel& p = e.panels.commandBar;
    if (!p.place(animator(e).commandBar))
        return;
    Graphics g(p.image);
    drawCommandBarBackground(g, Mode::Animator, p.height);
}

void layoutRightPanel(Editor& e) {
    Panel& p = e.panels.right;
    const ColumnLayout column = animator(e).column;
    if (!p.place(column.rect))
        return;
    Graphics g(p.image);
    drawRightColumnBackground(g, Mode::Animator, column, column.rect.x);
}

void layoutPalettePanel(Editor& e) {
    Panel& p = e.panels.palette;
    if (!p.place(animator(e).palette))
        return;
    Graphics g(p.image);
    g.clear(colors::panelGrey);
    g.drawLine(blackPen, {0, 0}, {float(p.width), 0});
}

void layoutPickerPanel(Editor& e) {
    Panel& p = e.panels.picker;
    Rect r = animator(e).picker;
    r.y = std::max(e.panels.palette.y - 260, 67); // placed from the palette panel's new place
    if (!p.place(r))
        return;
    const int w = p.width, h = p.height;
    Graphics g(p.image);
    g.clear(colors::panelGrey);
    g.drawRect(blackPen, Rect{0, 0, w - 1, h - 1});
    // A raised bevel inside the outline.
    const Pen dark{grey128}, light{Color::rgb(200, 200, 200)}, white{colors::white};
    const float x1 = 1, y1 = 1, r1 = float(w - 2), b1 = float(h - 2);
    g.drawPolyline(dark, {{x1, b1}, {r1, b1}, {r1, y1}});
    g.drawPolyline(light, {{x1, b1}, {x1, y1}, {r1, y1}});
    g.drawPolyline(white, {{2, float(h - 3)}, {2, 2}, {float(w - 3), 2}});
}

void layoutFramePanel(Editor& e) {
    Panel& p = e.panels.frame;
    if (!p.place(animator(e).frameStrip))
        return;
    const int w = p.width;
    Graphics g(p.image);
    g.clear(colors::panelGrey);
    g.drawLine(blackPen, {0, 0}, {float(w), 0});
    g.fillRect(Brush::hatch(HatchStyle::Percent50, Color::rgb(220, 220, 220), colors::white),
               Rect{0, 1, w, 16});
    g.fillRect(Brush::solid(colors::panelGrey), Rect{0, 1, 458, 16});
    g.drawRect(Pen{grey128}, Rect{0, 1, 458, 16});
    g.drawRect(Pen{grey128}, Rect{0, 1, w - 1, 16});
}

void layoutPainterBackgrounds(Editor& e) {
    const ModeLayout l = layoutOf(e, Mode::Painter);
    PainterBackgrounds& b = e.painter.backgrounds;
    if (b.clientWidth == e.clientWidth && b.clientHeight == e.clientHeight)
        return;
    b.clientWidth = e.clientWidth;
    b.clientHeight = e.clientHeight;
    // Both reach one pixel past their height: the outlines are drawn on their bottom row.
    const int H = l.commandBar.h;
    b.commandBar = Bitmap(l.commandBar.w, H + 1, PixelFormat::Rgb);
    {
        Graphics g(b.commandBar);
        drawCommandBarBackground(g, Mode::Painter, H);
    }
    b.column = Bitmap(l.column.rect.w, H + 1, PixelFormat::Rgb);
    {
        Graphics g(b.column);
        drawRightColumnBackground(g, Mode::Painter, l.column, l.column.rect.x);
    }
}

void drawBackground(const Editor& e, Graphics& g, Mode mode, Background region) {
    if (mode == Mode::Animator || region == Background::Picker) {
        // The Animator's panels, and the colour picker's panel, which both modes share.
        switch (region) {
        case Background::CommandBar:
            return drawPanelImage(g, e.panels.commandBar);
        case Background::Column:
            return drawPanelImage(g, e.panels.right);
        case Background::Palette:
            return drawPanelImage(g, e.panels.palette);
        case Background::Picker:
            return drawPanelImage(g, e.panels.picker);
        case Background::FrameStrip:
            return drawPanelImage(g, e.panels.frame);
        }
        return;
    }
    const PainterBackgrounds& b = e.painter.backgrounds;
    const ModeLayout l = layoutOf(e, Mode::Painter);
    switch (region) {
    case Background::CommandBar:
        if (!b.commandBar.isNull())
            g.drawImage(b.commandBar, l.commandBar.x, l.commandBar.y);
        break;
    case Background::Column:
        if (!b.column.isNull())
            g.drawImage(b.column, l.column.rect.x, 0);
        break;
    case Background::Palette:
        drawPainterPalettePanelBackground(g, l.palette);
        break;
    case Background::Picker:
    case Background::FrameStrip:
        break;
    }
}

} // namespace vork
