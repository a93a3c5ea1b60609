// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The floating selection: a piece of a layer that can be moved, mirrored, rotated, copied,
// pasted, stamped back or deleted. The transparency locks of the layers are records of the
// same shape.
#include "gfx/Bitmap.h"

namespace vork {

struct Selection {
    bool active = false;
    float angle = 0;             // degrees, rotation of the image about its pivot
    float x = 0, y = 0;          // picture position of the image's top-left corner
    float width = 0, height = 0; // size of the image
    bool lifted = false;         // cut out of the layer, or pasted
    Bitmap image;
    bool hasCopy = false;
    Bitmap copyImage;
    bool pastedFromOutside = false; // the image came from a file, not from a copy

    void drop() {
        active = false;
        lifted = false;
    }
};

} // namespace vork
