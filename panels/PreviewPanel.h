// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The top of the right-hand column: the whole picture (Painter) or the current frame
// (Animator) fitted into a 165-pixel square over a checkerboard, a red rectangle around the
// part the canvas shows (dragging in the preview moves it, and so scrolls the canvas), and
// under it the zoom controls: the zoom in percent, minus and plus, the zoom slider and the keys
// '/', '-' and '+'.
#include "gfx/Graphics.h"
#include "ui/Editor.h"

namespace vork {

// Draws the column background, the preview, the zoom controls and then the layer list of
// `mode` where the mode's layout puts the column, and acts on this frame's input. A press in the
// preview area that is dragged out of it is used up: mouseDown is cleared, so later panels do not
// see it.
void drawPreviewPanel(Editor& e, Graphics& g, Mode mode);

} // namespace vork
