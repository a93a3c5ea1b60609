// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The preview of the right-hand column of one mode.
#include "gfx/Bitmap.h"

namespace vork {

// The preview image and its visible-area rectangle, in preview pixels.
struct PreviewState {
    Bitmap previewImage;
    float previewImageWidth = 165, previewImageHeight = 165;
    float previewX = 0, previewY = 0;
    float viewportX = 0, viewportY = 0, viewportWidth = 165, viewportHeight = 165;
    bool dragActive = false;
    int dragLastX = 0, dragLastY = 0;
};

} // namespace vork
