// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// One paint: the whole client area is composed afresh from the Editor state and this frame's
// input, then the frame's transient input is used up.
#include "gfx/Graphics.h"
#include "ui/Editor.h"

#include <string>

namespace vork {

// Builds the frame of the active mode into `backBuffer` (made anew at the client size) and
// does the after-paint bookkeeping: the click latch, the pointer leaving, the typed character
// (replaced by the next one typed ahead, which asks for a paint of its own).
void paintWindow(Editor& e, Bitmap& backBuffer);

// The frame of each mode: its panels in their order, each where the mode's layout puts it.
void animatorFrame(Editor& e, Graphics& g);
void painterFrame(Editor& e, Graphics& g);

// The window title of the active mode with the number of paints of the last interval.
std::string windowTitle(const Editor& e, int paints);

} // namespace vork
