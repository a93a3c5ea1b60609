// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The pixel grid: a one-pixel line between picture pixels, drawn over the canvas at 400 % and
// above while it is switched on. It is drawn into the window only, never into the picture.
#include "canvas/Canvas.h"

#include <vector>

namespace vork {

// The smallest zoom the grid shows at.
inline constexpr float pixelGridMinZoom = 4;

// Whether the grid shows at the mode's zoom (switched on or not).
bool pixelGridAvailable(const Editor& e, Mode mode);

// The window columns (or rows) that start a picture pixel other than the first one shown:
// for each, the column is the first that the pointer mapping takes to that pixel. `along`
// picks the axis: true for columns.
std::vector<int> pixelGridLines(const CanvasPlacement& p, bool along);

// Draws the grid over the shown part of the document when it is on and the zoom allows.
void drawPixelGrid(const Editor& e, Graphics& g, Mode mode, const CanvasPlacement& p);

} // namespace vork
