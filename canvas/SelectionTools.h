// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The selection gestures and keys of the tool engine: drawing a lasso, rectangle or ellipse
// selection, moving the floating selection with the pointer or the arrow keys, and the keys A
// (select all), Delete, Enter (stamp), C (copy), V (paste) and the cancel (Escape, the right
// button, a drag leaving the canvas). One Selection serves both modes; each mode works on its
// own current layer, drag state and undo history.
#include "canvas/Canvas.h"
#include "ui/Editor.h"

namespace vork {

// The selection gestures and keys, in the order they run. The engine calls this only while the
// current layer may be drawn on; the Animator skips the selection gestures and keys marked so while
// playback runs.
void selectionTools(Editor& e, Mode mode, const CanvasPlacement& p);

// Lifts the Selection off the current layer once: the first time it is called for a
// Selection that is not lifted yet, the image is cut out of the layer and one undo state is
// recorded (the Painter also rebuilds the layer's thumbnail). The Selection is lifted
// afterwards. Used by the pointer move, the arrow keys and the command bar's transforms.
void liftSelection(Editor& e, Mode mode);

// Whether the selection tools (lasso, rectangle, ellipse) are the current tool: only then are
// a selection's marquee and floating image shown and can the pointer move it.
bool selectionToolChosen(const Editor& e);

// The rectangle between the drag's start pixel and the pointer, each of its four numbers
// truncated: the rectangle a rectangle or ellipse selection takes and its marquee shows.
Rect selectionRectangle(const ToolDrag& d, const CanvasPlacement& p);

} // namespace vork
