// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The strip under the canvas, in both modes. Its main view shows the drawing colours: three
// fixed swatches (transparent, white, black) and a grid of 108 more; a click chooses the
// drawing colour, a second click on the chosen swatch opens the colour picker for it, and two
// buttons load and save the palette. A toggle shows the replacement view instead: 32 pairs of
// colours, each with a button that turns every pixel of the current layer that has the pair's
// first colour into its second, then swaps the pair.
#include "gfx/Graphics.h"
#include "ui/Editor.h"

namespace vork {

// Draws the mode's palette panel where the mode's layout puts it and acts on this frame's
// input.
void drawPalettePanel(Editor& e, Graphics& g, Mode mode);

// The replace of pair k (0..31) on the current layer of the mode's document: every pixel equal
// to the pair's first colour gets the second, the change is committed like a tool's (lock,
// thumbnails, one undo state), and the pair's colours are swapped, also when no pixel changed.
void replacePair(Editor& e, Mode mode, int k);

} // namespace vork
