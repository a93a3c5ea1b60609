// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The Animator's frame strip and its playback clock.
#include "ui/LabelCache.h"

#include <cstdint>

namespace vork {

// A frame cell being dragged to another place in the strip.
struct FrameDrag {
    bool active = false;
    // Where the press started along the scrolled row of cells (window x plus the scroll), so
    // the strip may scroll during the drag.
    int startX = 0;
    uint64_t frame = 0; // serial of the dragged frame
};

struct FrameStripState {
    bool loopPlayback = true;   // stepping past either end comes round to the other
    uint32_t nextFrameTime = 0; // tick at which playback shows the next frame
    int stripScroll = 0;        // pixels the frame cells are scrolled left by
    FrameDrag frameDrag;
    LabelCache labels; // the cells' delay texts and numbers, drawn once each
};

} // namespace vork
