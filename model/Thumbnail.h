// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The backdrop every layer and frame thumbnail starts from.
#include "gfx/Bitmap.h"

namespace vork {

// A transparent w x h bitmap with the grey and white checkerboard in the rectangle that
// thumbnailPlacement gives for a W x H source; null when w or h is not positive.
Bitmap thumbnailBackdrop(int w, int h, float sourceWidth, float sourceHeight);

} // namespace vork
