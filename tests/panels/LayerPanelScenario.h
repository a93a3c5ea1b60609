// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A canvas scenario with the layer list's places: rows, buttons, switches and the opacity box,
// all read from the mode's layout, and layers made in given colours.
#include "support/CanvasScenario.h"

#include <vector>

namespace vork::test {

enum class LayerButtonAt { Delete = 0, New, Duplicate, Clear, MergeDown, Lock };

struct LayerPanelScenario : CanvasScenario {
    ColumnLayout column() { return layoutOf(e, mode).column; }
    Frame& frame() { return doc().current(); }

    // Row i (0 = bottom layer) as the list places it now.
    Rect row(int i) {
        const ColumnLayout c = column();
        const int y = c.listBottom - 40 + e.mode(mode).layers.layerScroll - 40 * i;
        return {c.listArea.x, y, 182, 40};
    }
    // A point of the row right of its switches, where a press picks the layer.
    std::pair<int, int> pickPoint(int i) {
        const Rect r = row(i);
        return {r.x + 150, r.y + 20};
    }
    void atScreen(int x, int y) {
        e.input.mouseX = x;
        e.input.mouseY = y;
    }
    void clickScreen(std::pair<int, int> p) { click(p.first, p.second); }
    // A press, a move with the button held, and a release, one frame each.
    void pressScreen(std::pair<int, int> p) {
        atScreen(p.first, p.second);
        e.input.mouseDown = true;
        paint();
    }
    void moveScreen(std::pair<int, int> p) {
        atScreen(p.first, p.second);
        paint();
    }
    void releaseScreen() {
        e.input.mouseDown = false;
        paint();
    }
    void clickButton(LayerButtonAt b) {
        const ColumnLayout c = column();
        click(c.rect.x + 11 + 30 * int(b) + 14, c.buttonRowY + 7);
    }
    void clickVisibility(int i) {
        const Rect r = row(i);
        click(r.x + 18, r.y + 20);
    }
    void clickAlone(int i) {
        const Rect r = row(i);
        click(r.x + 60, r.y + 20);
    }
    // Press on row `from`, move over row `to` (one frame held there), release there.
    void dragRow(int from, int to) {
        pressScreen(pickPoint(from));
        auto [x, y] = pickPoint(to);
        moveScreen({x, y + (to < from ? 5 : -5)});
        releaseScreen();
    }
    // Layers bottom first, each filled with its colour; the top one current.
    void makeLayers(const std::vector<Color>& colours) {
        make();
        for (size_t i = 0; i < colours.size(); ++i) {
            if (i > 0)
                clickButton(LayerButtonAt::New);
            frame().current().image.fill(colours[i]);
            frame().current().rebuildThumbnail();
        }
        // The history starts again from the pixels as they are now.
        e.mode(mode).history.reset();
        e.mode(mode).previewUpToDate = false;
        paint();
    }
    std::vector<int> ids() {
        std::vector<int> out;
        for (const Layer& l : frame().layers())
            out.push_back(l.id);
        return out;
    }
    // The back buffer's colour at a window point, alpha ignored.
    Color screenPixel(int x, int y) { return Color(back.pixel(x, y).argb | 0xFF000000u); }
    // The back buffer's colour under the centre of a picture pixel.
    Color canvasPixel(float px, float py) {
        auto [x, y] = screenOf(px + 0.5f, py + 0.5f);
        return screenPixel(x, y);
    }
};

} // namespace vork::test
