// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The canvas of one mode: the tool engine's gesture and where the zoomed document lies.
#include "ui/Tools.h"

#include <cstdint>

namespace vork {

// The tool engine's gesture state of one mode.
struct ToolDrag {
    bool shapeDrag = false;             // a two-point gesture or a selection move is in progress
    int dragStartX = 0, dragStartY = 0; // picture pixels (pointer / zoom while moving a selection)
    bool fillSwitchActive = false;      // Control turned the current tool into the fill
    Tool toolBeforeFill = Tool::None;
    uint32_t lastArrowMoveTime = 0;
};

// Where the zoomed document lies in the canvas: in view coordinates after the canvas layout,
// in window coordinates after each pass of the canvas.
struct CanvasGeometry {
    float pictureX = 0, pictureY = 0;
    float pictureWidth = 0, pictureHeight = 0;
};

} // namespace vork
