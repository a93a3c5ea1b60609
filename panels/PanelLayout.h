// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The layout steps of the panels: each places its region from the mode's layout and renders
// the region's background image, once per change of the window size. The canvas has its own
// step (canvas/CanvasView.h), which also runs when a document changes.
#include "gfx/Graphics.h"
#include "ui/Editor.h"

namespace vork {

// The Animator panels, in the order they run (the picker is placed from the palette panel).
void layoutCommandBar(Editor& e);
void layoutRightPanel(Editor& e);
void layoutPalettePanel(Editor& e);
void layoutPickerPanel(Editor& e);
void layoutFramePanel(Editor& e);

// The Painter's bar and column images.
void layoutPainterBackgrounds(Editor& e);

// The regions whose backgrounds the layout prepares.
enum class Background { CommandBar, Column, Palette, Picker, FrameStrip };

// Draws the mode's background of the region where the layout put it. The Painter's palette
// strip is plain and drawn directly; the Painter has no frame strip.
void drawBackground(const Editor& e, Graphics& g, Mode mode, Background region);

} // namespace vork
