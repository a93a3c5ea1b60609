#pragma once
// The decoration of the command bar and of the right-hand column. The Animator renders it
// into the panels' background images when the layout changes; the Painter draws the same
// construction, in its green trellis, on every frame.
#include "app/Editor.h"
#include "gfx/Graphics.h"

namespace vork {

// The command bar, 92 pixels wide and `height` high, drawn with its top-left corner at (0, 0).
void drawCommandBarBackground(Graphics& g, Mode mode, int height);

// The right-hand column (preview box and layer box), 220 wide and `height` high, drawn at x.
void drawRightColumnBackground(Graphics& g, Mode mode, int x, int height);

// The palette strip of the Painter, filled and topped by a black line.
void drawPainterPalettePanelBackground(Graphics& g, int clientWidth, int clientHeight);

} // namespace vork
