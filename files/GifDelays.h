// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Frame delays in the hundredths of a second that a GIF counts in.
#include <span>
#include <vector>

namespace vork {

// The shortest delay, in hundredths, that browsers play as written: they stretch 0 and 1 to a
// tenth of a second, so a frame meant to flash by would instead stand still.
inline constexpr int shortestHonouredGifDelay = 2;
// The longest delay the format holds (a 16-bit field), a little under 11 minutes.
inline constexpr int longestGifDelay = 65535;

// The delays of the frames, in order, in hundredths. Each is rounded with the error of the
// frames before it carried along, so the running total stays within half a hundredth of the
// true one: 40, 40, 40 ms give 4, 4, 4 and 33, 33, 34 give 3, 4, 3. A frame that would come out
// shorter than shortestHonouredGifDelay (every 0 ms frame, and 10 ms ones) gets that delay, and
// one longer than the format holds gets longestGifDelay; such a frame owes the difference to no
// other frame. A delay below 0, or not a number, counts as 0.
std::vector<int> gifDelays(std::span<const double> delaysMs);

// A frame's delay in milliseconds from the hundredths a GIF stores: 0 and 1, which browsers
// play as a tenth of a second, become 100 ms like there.
inline double importedGifDelayMs(int hundredths) {
    return hundredths < shortestHonouredGifDelay ? 100.0 : hundredths * 10.0;
}

} // namespace vork
