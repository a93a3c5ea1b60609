// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The description that goes beside a sprite sheet: each frame's rectangle on the sheet and its
// delay, in the shape game frameworks read (a "frames" array of filename, frame {x, y, w, h}
// and duration in milliseconds, and a "meta" block naming the image and its size).
#include "gfx/Geometry.h"

#include <string>
#include <vector>

namespace vork {

struct SheetFrame {
    std::string name; // the frame's key for the game; any text
    Rect rect;        // where it lies on the sheet
    double delayMs = 0;
};

// The JSON text, UTF-8. A delay that is not a finite number of 0 or more is written as 0. The
// meta block's scale is the export scale the sheet was enlarged by.
std::string spriteSheetJson(const std::vector<SheetFrame>& frames, const std::string& imageName,
                            int sheetWidth, int sheetHeight, int scale = 1);

} // namespace vork
