// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The decoration of the command bar, the right-hand column and the Painter's palette strip.
// Both modes render the bar and the column into background images when the layout changes:
// the Animator into its panels, the Painter, in its green trellis, into images of its own.
#include "gfx/Graphics.h"
#include "ui/Layout.h"

namespace vork {

// The command bar, 92 pixels wide and `height` high, drawn with its top-left corner at (0, 0).
void drawCommandBarBackground(Graphics& g, Mode mode, int height);

// The right-hand column (preview box and layer box) of the layout, drawn shifted left by
// originX: 0 draws it where it lies in the window, the column's x draws it at the left edge.
void drawRightColumnBackground(Graphics& g, Mode mode, const ColumnLayout& column, int originX);

// The palette strip of the Painter, filled and topped by a black line.
void drawPainterPalettePanelBackground(Graphics& g, Rect palette);

} // namespace vork
