// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The layer commands of the layer panel, in both modes, on the current frame of the mode's
// document. Each ends in what makes canvas, preview and thumbnails show the change at once:
// the preview is rebuilt, the thumbnails that show the current layer are remade and a paint
// follows (the Painter's canvas brings its caches up to date with the layers on every pass).
// A change of the list, of a visibility or of pixels marks the document changed; when one
// layer is shown alone, the view follows the current layer as the list changes under it.
#include "ui/Editor.h"

#include <cstdint>

namespace vork {

// The buttons of the row under the layer list.
enum class LayerButton { Delete, New, Duplicate, Clear, MergeDown, Lock };

// Runs one button; nothing without a document. Delete, Clear, Merge down and the lock work
// only on a visible current layer, and a frame keeps its last layer. New and Duplicate put a
// layer directly above the current one and make it current (a duplicate copies the pixels and
// the thumbnail; visibility and opacity start afresh); Merge down merges the current layer
// into the visible layer below it, both with their opacities, leaving the lower one current
// at full opacity; the lock switches off, or on with a mask of the layer's transparent pixels.
// The Painter records an undo state for every button that adds a layer or changes pixels, the
// Animator only for Clear (its history is rebuilt when the current layer changes).
void runLayerButton(Editor& e, Mode mode, LayerButton button);

// Shows or hides a layer of the current frame (its row's switch, the R key).
void toggleLayerVisibility(Editor& e, Mode mode, Layer& layer);

// The switch that shows a layer alone: on for another layer it moves the view there,
// otherwise it turns the single-layer view on or off.
void toggleLayerShownAlone(Editor& e, Mode mode, const Layer& layer);

// Makes a layer of the current frame current; nothing when it already is. The Painter's
// canvas recomposes around it as it draws; the Animator refreshes the layer's thumbnail.
void pickLayer(Editor& e, Mode mode, Layer& layer);

// Where a dragged layer lands beside the layer it is dropped on.
enum class DropPlace { Below, Above };

// Moves the layer with serial `dragged` directly below or above the layer with serial
// `target`. The layer keeps its number, pixels, visibility and opacity, and becomes current;
// false, with nothing changed, when either layer is gone or they are the same.
bool moveDraggedLayer(Editor& e, Mode mode, uint64_t dragged, uint64_t target, DropPlace place);

// Sets the current layer's opacity (clamped to 0..255). A change is no undo step; it marks the
// document changed and the preview stale.
void setLayerOpacity(Editor& e, Mode mode, int opacity);

} // namespace vork
