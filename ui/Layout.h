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

struct ModeLayout {
    Rect commandBar; // its height is the bar height the bar places its lower part by
    ColumnLayout column;
    Rect canvas;
    Rect palette;
    Rect picker;      // the colour picker, over the canvas
    Rect frameStrip;  // Animator only; empty in the Painter
    Rect statusStrip; // Painter only; empty in the Animator
};

ModeLayout animatorLayout(int R, int B);
ModeLayout painterLayout(int R, int B);
ModeLayout modeLayout(Mode mode, int R, int B);

// The layout of the mode for the editor's client size.
ModeLayout layoutOf(const Editor& e, Mode mode);

} // namespace vork
