// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The preview of the right-hand column of one mode.
#include "gfx/Bitmap.h"

#include <cstdint>
#include <vector>

namespace vork {

// What the preview image was drawn from: the shown frame, the picture's size and each of the
// frame's layers, bottom first, with what of it the preview shows. When only the layers'
// pixels changed since, the preview redraws the rows those changes reach.
struct PreviewSources {
    struct Source {
        uint64_t serial = 0;
        bool visible = true;
        int opacity = 255;
        uint64_t revision = 0;
    };
    uint64_t frame = 0;
    int width = 0, height = 0;
    std::vector<Source> layers;
    bool drawn = false; // false: the preview is drawn whole the next time
};

// The preview image and its visible-area rectangle, in preview pixels.
struct PreviewState {
    Bitmap previewImage;
    PreviewSources sources;
    float previewImageWidth = 165, previewImageHeight = 165;
    float previewX = 0, previewY = 0;
    float viewportX = 0, viewportY = 0, viewportWidth = 165, viewportHeight = 165;
    bool dragActive = false;
    int dragLastX = 0, dragLastY = 0;
};

} // namespace vork
