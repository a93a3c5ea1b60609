#pragma once
// The top of the right-hand column: the whole picture (Painter) or the current frame
// (Animator) fitted into a 165-pixel square over a checkerboard, a red rectangle around the
// part the canvas shows (dragging in the preview moves it, and so scrolls the canvas), and
// under it the zoom controls: the zoom in percent, minus and plus, the zoom slider and the keys
// '/', '-' and '+'.
#include "app/Editor.h"
#include "gfx/Graphics.h"

namespace vork {

// Draws the column background, the preview and the zoom controls of `mode` and acts on this
// frame's input. `client` is the client rectangle (0, 0, R, B). A press in the preview area
// that is dragged out of it is used up: mouseDown is cleared, so later panels do not see it.
void drawPreviewPanel(Editor& e, Graphics& g, Mode mode, Rect client);

// The canvas rectangle of the mode in window pixels: the Animator's laid-out canvas panel, or
// the Painter's (91, 0, max(401, R - 311), max(328, B - 97)).
Rect canvasRectangle(const Editor& e, Mode mode, Rect client);

} // namespace vork
