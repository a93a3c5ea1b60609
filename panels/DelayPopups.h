// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The two delay pop-ups of the Animator: small panels with a fixed list of delays, drawn over
// everything else. The default-delay pop-up (from the strip's toolbar) sets the delay of every
// frame and the default delay of new ones; the frame-delay pop-up (from a cell's delay text)
// sets the delay of that one frame.
//
// While a pop-up is open it holds the pointer: the window records no press
// (InputState::delayPopupActive), and the pop-up reads the buttons and Escape as they are held.
// A press on one item and a release on another chooses the second; Escape or the right button
// closes the pop-up without a choice.
#include "gfx/Graphics.h"
#include "ui/Editor.h"

#include <string>

namespace vork {

void openDefaultDelayPopup(Editor& e);
// Opens the frame-delay pop-up above the cell at `cellX` for the frame with serial `frame`.
void openFrameDelayPopup(Editor& e, uint64_t frame, int cellX);

// Draws the open pop-ups, the default-delay one first, and acts on this frame's buttons.
void drawDelayPopups(Editor& e, Graphics& g);

// One item of a pop-up: highlighted under the pointer; true on the frame on which it is
// chosen (the left button released over it after a press over any item).
bool delayMenuItem(Editor& e, Graphics& g, Rect r, const std::string& label);

// Closes both pop-ups, ends a frame drag and gives the pointer back to the window: what a
// switch to the Painter does, where neither is drawn.
void releasePointerCapture(Editor& e);

} // namespace vork
