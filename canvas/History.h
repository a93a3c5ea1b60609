// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The undo history of each mode: snapshots of one layer, the current layer of the current
// frame. The history follows that layer; when the user works on another one it starts afresh.
#include "ui/Editor.h"

namespace vork {

// Releases the mode's history and starts a new one holding the current layer's pixels.
// False when there is no document or the history could not be made.
bool startHistory(Editor& e, Mode mode);

// Appends a snapshot of the current layer after the current state (later states go, and the
// oldest when more than 21 are kept). A history that belongs to another layer is never fed
// with this layer's pixels: it is started afresh on the current layer instead.
void recordState(Editor& e, Mode mode);

// Run once per frame by the canvas: keeps the history tied to the current layer (dropping the
// Selection when the layer changed) and handles the undo keys (',' '<' and the same key on a
// Russian layout) and the redo keys ('.' '>' likewise).
void undoRedoFrame(Editor& e, Mode mode);

// Rebuilds the thumbnails that show the current layer: Animator the current frame's and its
// current layer's, Painter the layer's 30 x 30 one.
void refreshLayerThumbnails(Editor& e, Mode mode);

} // namespace vork
