// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The command bar: the 92-pixel strip at the left edge of the window in both modes. From the
// top: the mode title and switch, two rows of file commands, the drawing tools, the alpha of
// the drawing colour, the transform buttons of the Selection and, in the Animator, the
// onion-skin box at the bottom. It draws and reacts to this frame's input in one call.
#include "gfx/Graphics.h"
#include "ui/Editor.h"

#include <string>

namespace vork {

// Draws the bar of `mode` where the mode's layout puts it and acts on this frame's clicks and
// typed character. A click on the mode switch, or the G key, switches modes from the next
// frame on.
void drawCommandBar(Editor& e, Graphics& g, Mode mode);

// The bar's height, from the mode's layout; the lower part of the bar is placed from it.
int commandBarHeight(const Editor& e, Mode mode);

// The colour shown in the alpha box, the one the current tool paints with (alphaColor or
// currentColor, from the tool table), and its label "a: " followed by that colour's alpha.
Color alphaBoxColor(const Editor& e);
std::string alphaBoxLabel(const Editor& e);

} // namespace vork
