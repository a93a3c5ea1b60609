// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The drawing tools: once per frame the canvas hands the engine the pointer's place in the
// picture, and the engine turns the button, the held keys and the typed character into
// changes of the current layer of the current frame. Tools act on press, drag and release by
// comparing the button with their own state from the previous frame.
#include "canvas/Canvas.h"
#include "ui/Editor.h"

namespace vork {

// Runs the tools of this frame (while the current layer may be drawn on), then the Control
// fill switch. Called by the canvas while the mode has a document.
void runTools(Editor& e, Mode mode, const CanvasPlacement& p);

// Whether the tools may change the current layer: Animator a switched-on frame with its
// current layer visible; Painter a visible current layer, or the one shown alone.
bool toolsMayDraw(const Editor& e, Mode mode);

// The Animator skips the selection gestures and keys while playback runs; the Painter never
// plays back.
bool selectionToolsPaused(const Editor& e, Mode mode);

// The one end of every change to the current layer: the transparency lock, the thumbnails
// and one undo state.
void commit(Editor& e, Mode mode);

// Clears the current layer's pixels under the mode's active transparency lock.
void applyTransparencyLock(Editor& e, Mode mode);

} // namespace vork
