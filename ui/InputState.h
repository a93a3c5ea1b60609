// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Pointer and keyboard state written by the window and read by the panels.
#include <cstdint>

namespace vork {

struct InputState {
    int mouseX = 0, mouseY = 0;
    bool mouseDown = false;
    uint8_t lastChar = 0;    // typed since the last paint, code page 1251; 0 when none
    int wheelSteps = 0;      // mouse wheel steps since the last paint, away from the user > 0
    bool clickLatch = false; // one latch for all clickable widgets
    bool delayPopupActive = false;
    bool inputEnabled = true; // cleared while a modal dialog or chooser is open
};

} // namespace vork
