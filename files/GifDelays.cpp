// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/GifDelays.h"

#include <cmath>

namespace vork {

std::vector<int> gifDelays(std::span<const double> delaysMs) {
    std::vector<int> out;
    out.reserve(delaysMs.size());
    // How far the frames written so far fall short of their true total, in milliseconds; it
    // stays within [-5, 5), and exact for whole milliseconds.
    double carryMs = 0;
    for (double ms : delaysMs) {
        if (!(ms > 0))
            ms = 0;
        const double wantedMs = ms + carryMs;
        const double hundredths = std::floor(wantedMs / 10 + 0.5);
        if (hundredths < shortestHonouredGifDelay) {
            out.push_back(shortestHonouredGifDelay);
        } else if (hundredths > longestGifDelay) {
            out.push_back(longestGifDelay);
        } else {
            out.push_back(int(hundredths));
            carryMs = wantedMs - hundredths * 10;
        }
    }
    return out;
}

} // namespace vork
