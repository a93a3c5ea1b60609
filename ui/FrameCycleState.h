// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the frame cycle itself keeps between paints: the count behind the title's frame rate.
#include <cstdint>

namespace vork {

struct FrameCycle {
    int frameCounter = 0;
    uint32_t lastTitleTime = 0;
};

} // namespace vork
