#pragma once
// Pixels of a bitmap as sets of positions, so a test can state exactly which pixels a routine
// wrote.
#include "gfx/Bitmap.h"

#include <set>
#include <utility>

namespace vork::testing {

using PixelSet = std::set<std::pair<int, int>>; // (x, y)

// The positions of every pixel that is not transparent black.
inline PixelSet paintedPixels(const Bitmap& b) {
    PixelSet out;
    for (int y = 0; y < b.height(); ++y)
        for (int x = 0; x < b.width(); ++x)
            if (b.pixel(x, y) != colors::transparent)
                out.insert({x, y});
    return out;
}

} // namespace vork::testing
