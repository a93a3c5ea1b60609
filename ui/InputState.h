// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Pointer and keyboard state written by the window and read by the panels.
#include <cstdint>
#include <deque>

namespace vork {

struct InputState {
    int mouseX = 0, mouseY = 0;
    bool mouseDown = false;
    uint8_t lastChar = 0; // the character this paint reads, code page 1251; 0 when none
    // Characters typed while lastChar still waited for its paint, oldest first: each is given a
    // paint of its own, in order, so that no key is lost when keys come faster than paints.
    std::deque<uint8_t> typedAhead;
    // The pointer moved since the last paint: a release must not come before that move is drawn.
    bool movedSincePaint = false;
    int wheelSteps = 0;      // mouse wheel steps since the last paint, away from the user > 0
    bool clickLatch = false; // one latch for all clickable widgets
    bool delayPopupActive = false;
    bool inputEnabled = true; // cleared while a modal dialog or chooser is open
};

} // namespace vork
