// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A button whose face is cut from the tool sheet.
#include "gfx/Bitmap.h"
#include "gfx/Color.h"

namespace vork {

// Drawn pressed when the watched value is its id.
struct ToolButton {
    int id = 0;
    int faceX = 0, faceY = 0;
    int faceWidth = 0, faceHeight = 0;
    Color lightColor = Color::rgb(255, 255, 255);
    Color darkColor = Color::rgb(104, 84, 80);
    Bitmap face;
};

} // namespace vork
