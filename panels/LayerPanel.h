// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The layer list under the preview, in both modes: the layers of the current frame as rows
// (bottom layer at the bottom) with a visibility switch, a switch that shows the layer alone,
// a thumbnail and the caption "Слой %d"; a row of buttons that delete, add, duplicate, clear
// and merge down layers and lock the current layer's transparency; and the current layer's
// opacity. A press on a row picks its layer and starts a drag that reorders the list. The panel
// draws and finds what the pointer is on; what each control does is in commands/LayerCommands.
#include "gfx/Graphics.h"
#include "ui/Editor.h"

namespace vork {

// Draws the mode's layer panel where the mode's layout puts the column and acts on this
// frame's input. The preview panel calls it right after the preview.
void drawLayerPanel(Editor& e, Graphics& g, Mode mode);

} // namespace vork
