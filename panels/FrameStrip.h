// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The Animator's frame strip along the bottom of the window: a toolbar of frame commands and
// playback controls, and under it a sideways-scrolled row of cells, one per frame, each with
// its switch, its delay, its number and its thumbnail. A press on a cell makes its frame
// current; a cell dragged onto another moves its frame there (the right button or Escape
// cancels the drag). Only the cells inside the window are drawn or looked at, so the strip
// costs the same for ten frames as for thousands.
#include "gfx/Graphics.h"
#include "ui/Editor.h"

namespace vork {

// Draws the strip where the Animator's layout puts it and acts on this frame's input: the
// toolbar, the keys Z, X and space, a playback step, then the cells.
void drawFrameStrip(Editor& e, Graphics& g);

} // namespace vork
