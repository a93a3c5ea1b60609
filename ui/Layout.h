// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The rectangles of the window's regions in each mode, for a client area of R x B. Drawing and
// hit testing both read them from here, so what a panel draws is what reacts to the pointer.
// Every rectangle has a lower bound: a window smaller than the start-up size keeps its regions
// at that size and shows only part of them.
#include "gfx/Geometry.h"
#include "ui/Mode.h"

#include <array>

namespace vork {

class Editor;

// The right-hand column: the preview box at the top, the layer box under it with its list,
// button row and (Painter) opacity box. All rectangles in window pixels.
struct ColumnLayout {
    Rect rect;                   // the whole column
    Rect previewBox;             // the rounded box around the preview and its zoom controls
    Rect previewArea;            // the preview's frame; a press inside it drags the visible area
    Rect layerBox;               // the rounded box of the layer list
    Rect scrollTrack;            // the hatched strip at the list's right edge
    std::array<int, 3> lineYs{}; // the lines across the layer box: list top, bottom, buttons
    Rect listArea;               // the rows are drawn and hit inside it only (inclusive pixels)
    int listBottom = 0;          // the line under the list; the bottom row sits right above it
    int buttonRowY = 0;          // the layer buttons, 15 pixels high
    int opacityBoxY = 0;         // the current layer's opacity box
};

// The Animator's frame strip: a toolbar along its top and a row of frame cells under it,
// scrolled sideways. The delay pop-ups open above it.
struct FrameStripLayout {
    Rect rect;          // the whole strip
    int toolbarY = 0;   // top of the toolbar items, 14 pixels high
    int cellsY = 0;     // top of the frame cells
    RectF scrollBar;    // the cells' scroll bar, at the toolbar's right
    int shownWidth = 0; // how much of the strip lies inside the window
};

inline constexpr int frameCellWidth = 65, frameCellHeight = 75;

// Frame `index`'s cell in the strip scrolled left by `scroll` pixels.
Rect frameCellRect(const FrameStripLayout& strip, int index, int scroll);

// The frames [first, last) whose cells lie at least partly inside the window; no other cell
// is drawn or hit-tested.
struct FrameRange {
    int first = 0, last = 0;
};
FrameRange shownFrameCells(const FrameStripLayout& strip, int frameCount, int scroll);

// Where the delay pop-ups open: the default-delay one at a fixed place above the strip, the
// frame-delay one above the cell at `cellX`. Each is 110 x 198 from its origin.
Point defaultDelayPopupOrigin(const FrameStripLayout& strip);
Point frameDelayPopupOrigin(const FrameStripLayout& strip, int cellX);
inline constexpr int delayPopupWidth = 110, delayPopupHeight = 198;

struct ModeLayout {
    Rect commandBar; // its height is the bar height the bar places its lower part by
    ColumnLayout column;
    Rect canvas;
    Rect palette;
    Rect picker;      // the colour picker, over the canvas
    Rect frameStrip;  // Animator only; empty in the Painter
    Rect statusStrip; // Painter only; empty in the Animator
    // Animator only: the parts of the frame strip.
    FrameStripLayout strip;
};

ModeLayout animatorLayout(int R, int B);
ModeLayout painterLayout(int R, int B);
ModeLayout modeLayout(Mode mode, int R, int B);

// The layout of the mode for the editor's client size.
ModeLayout layoutOf(const Editor& e, Mode mode);

} // namespace vork
