// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The two delay pop-ups of the Animator.
#include <cstdint>

namespace vork {

// While one is open it holds the pointer (InputState::delayPopupActive) and reads the buttons
// itself.
struct DelayPopups {
    bool defaultDelayPopupOpen = false, frameDelayPopupOpen = false;
    int frameDelayCellX = 0;      // left edge of the cell whose delay text opened it
    uint64_t frameDelayFrame = 0; // serial of the frame whose delay it sets
    bool delayPressLatch = false; // the left button went down over one of its items
};

} // namespace vork
