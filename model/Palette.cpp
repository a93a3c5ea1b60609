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

void Palettes::fixSmallPaletteEntries() {
    small[0].color = Color::fromArgb(0, 0, 0, 0);
    small[1].color = Color::fromArgb(255, 255, 255, 255);
    small[2].color = Color::fromArgb(255, 0, 0, 0);
}

} // namespace vork
