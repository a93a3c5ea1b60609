// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the canvas shows of the Selection: the marquee of a selection being drawn with the
// lasso, rectangle or ellipse tool, and the floating image, red-tinted at its place and angle.
// Both are drawn into the mode's overlay and from there through the view, and only while a
// selection tool is chosen; with another tool an active Selection is invisible, yet the keys
// still act on it.
#include "canvas/Canvas.h"
#include "gfx/Graphics.h"
#include "ui/Editor.h"

namespace vork {

// The marquee while a selection is being drawn (no active Selection, a drag in progress).
void drawSelectionMarquee(Editor& e, Graphics& backBuffer, Mode mode, const CanvasPlacement& p);

// The floating image of the active Selection with its outline.
void drawFloatingSelection(Editor& e, Graphics& backBuffer, Mode mode, const CanvasPlacement& p);

// Both at one place, as the Animator shows them above all its layers. (The Painter draws the
// floating image right above the current layer and the marquee above all layers.)
void drawSelectionOverlay(Editor& e, Graphics& backBuffer, Mode mode, const CanvasPlacement& p);

} // namespace vork
