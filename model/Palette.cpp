// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/Palette.h"

#include <cstddef>

namespace vork {

std::vector<PaletteEntry> makePalette(int n) {
    std::vector<PaletteEntry> p(size_t(n > 0 ? n : 0));
    for (int i = 0; i < n; ++i)
        p[size_t(i)].id = i;
    return p;
}

Color fixedSwatchColour(int id) {
    switch (id) {
    case 1:
        return Color::fromArgb(255, 255, 255, 255);
    case 2:
        return Color::fromArgb(255, 0, 0, 0);
    default:
        return Color::fromArgb(0, 0, 0, 0);
    }
}

void Palettes::fixSmallPaletteEntries() {
    for (int id = 0; id < 3; ++id)
        small[size_t(id)].color = fixedSwatchColour(id);
}

} // namespace vork
