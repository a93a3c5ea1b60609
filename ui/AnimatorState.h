// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What only the Animator keeps: the onion skin, playback, the frame strip and the delay
// pop-ups.
#include "model/Composite.h"
#include "ui/DelayPopupState.h"
#include "ui/FrameStripState.h"

#include <cstdint>

namespace vork {

// The Animator's playback; the numbers are the ids of the stop and play buttons.
enum class PlayState { Stopped = 0, Backward = 1, Forward = 2 };

struct AnimatorState {
    // The onion skin, its opacity in percent, and the frame (by serial) the last canvas pass
    // showed.
    OnionSkin onion;
    float onionSkinOpacity = 100;
    uint64_t onionRememberedFrame = 0;

    PlayState playState = PlayState::Stopped;
    FrameStripState strip;
    DelayPopups delayPopups;
};

} // namespace vork
