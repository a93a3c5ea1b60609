// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/Layout.h"

#include "ui/Editor.h"

#include <algorithm>
#include <cstdint>

namespace vork {

namespace {

// The column at x, `height` high. The Painter keeps more room under its list for the opacity
// box of the current layer.
ColumnLayout columnAt(int x, int height, Mode mode) {
    const bool painter = mode == Mode::Painter;
    ColumnLayout c;
    c.rect = {x, 0, 220, height};
    c.previewBox = {x + 6, 6, 206, 221};
    c.previewArea = {x + 10, 10, 198, 198};
    c.layerBox = {x + 6, 234, 206, height - (painter ? 282 : 238)};
    c.scrollTrack = {x + 193, 253, 15, height - (painter ? 345 : 301)};
    c.listBottom = height - (painter ? 91 : 48);
    c.lineYs = {238, c.listBottom, height - (painter ? 75 : 32)};
    c.listArea = {x + 10, 239, 200, c.listBottom - 238};
    c.buttonRowY = height - (painter ? 90 : 47);
    c.opacityBoxY = height - (painter ? 70 : 26);
    return c;
}

FrameStripLayout frameStripAt(Rect rect, int clientWidth) {
    FrameStripLayout s;
    s.rect = rect;
    s.toolbarY = rect.y + 2;
    s.cellsY = rect.y + 17;
    s.scrollBar = {459, float(rect.y + 2), float(rect.w - 460), 14};
    s.shownWidth = std::clamp(clientWidth, 0, rect.w);
    return s;
}

} // namespace

Rect frameCellRect(const FrameStripLayout& strip, int index, int scroll) {
    return {frameCellWidth * index - scroll, strip.cellsY, frameCellWidth, frameCellHeight};
}

FrameRange shownFrameCells(const FrameStripLayout& strip, int frameCount, int scroll) {
    // Cell i spans [65 i - scroll, 65 i - scroll + 65): it shows when that meets
    // [0, shownWidth). Computed in 64 bits so no scroll or count can overflow.
    const int64_t w = frameCellWidth;
    const int64_t first = scroll > 0 ? scroll / w : 0;
    const int64_t end = std::max<int64_t>(0, int64_t(scroll) + strip.shownWidth + w - 1) / w;
    FrameRange r;
    r.first = int(std::min<int64_t>(first, frameCount));
    r.last = int(std::clamp<int64_t>(end, r.first, frameCount));
    return r;
}

Point defaultDelayPopupOrigin(const FrameStripLayout& strip) {
    return {50, strip.rect.y - 218};
}

Point frameDelayPopupOrigin(const FrameStripLayout& strip, int cellX) {
    return {cellX, strip.cellsY - 218};
}

ModeLayout animatorLayout(int R, int B) {
    ModeLayout l;
    const int barHeight = std::max(B - 95, 399);
    const int canvasWidth = std::max(R - 312, 401);
    const int canvasHeight = std::max(B - 167, 327);
    l.commandBar = {0, 0, 92, barHeight};
    l.column = columnAt(std::max(R - 220, 493), barHeight, Mode::Animator);
    l.canvas = {92, 0, canvasWidth, canvasHeight};
    l.palette = {92, canvasHeight, canvasWidth, 72};
    l.picker = {102, std::max(l.palette.y - 260, 67), std::min(std::max(R - 404, 381), 600), 250};
    l.frameStrip = {0, barHeight, std::max(R, 673), 95};
    l.strip = frameStripAt(l.frameStrip, R);
    return l;
}

ModeLayout painterLayout(int R, int B) {
    ModeLayout l;
    const int barHeight = std::max(B - 25, 400);
    l.commandBar = {0, 0, 92, barHeight};
    l.column = columnAt(std::max(R - 220, 492), barHeight, Mode::Painter);
    // The canvas starts one pixel left of the Animator's, over the bar's last column, and
    // the palette strip is one pixel wider than the canvas.
    l.canvas = {91, 0, std::max(R - 311, 401), std::max(B - 97, 328)};
    l.palette = {91, l.canvas.h, std::max(R - 310, 401), 72};
    // The colour picker lies where the Animator's picker panel is in both modes.
    l.picker = animatorLayout(R, B).picker;
    l.statusStrip = {0, barHeight, R - 1, 25};
    return l;
}

ModeLayout modeLayout(Mode mode, int R, int B) {
    return mode == Mode::Painter ? painterLayout(R, B) : animatorLayout(R, B);
}

ModeLayout layoutOf(const Editor& e, Mode mode) {
    return modeLayout(mode, e.clientWidth, e.clientHeight);
}

} // namespace vork
