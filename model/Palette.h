// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Palette entries and the three palettes of the program.
#include "gfx/Color.h"

#include <vector>

namespace vork {

// One swatch: its index in its palette and its colour.
struct PaletteEntry {
    int id = 0;
    Color color; // (0, 0, 0, 0) when made
};

inline constexpr int smallPaletteSize = 111;      // entries 0..2 fixed: transparent, white, black
inline constexpr int replacementPaletteSize = 64; // 32 pairs: entry 2k is replaced by 2k + 1
inline constexpr int bigPaletteSize = 768;        // the colour picker's 16 x 48 grid

// A palette of n entries with ids 0..n-1, all transparent black.
std::vector<PaletteEntry> makePalette(int n);

// The colour the palette panel always shows for the fixed entries 0, 1 and 2 of the small
// palette: transparent, opaque white and opaque black.
Color fixedSwatchColour(int id);

struct Palettes {
    std::vector<PaletteEntry> small = makePalette(smallPaletteSize);
    std::vector<PaletteEntry> replacement = makePalette(replacementPaletteSize);
    std::vector<PaletteEntry> big = makePalette(bigPaletteSize);

    // Gives entries 0, 1 and 2 of the small palette their fixed colours (at start-up; an
    // opened document's palette keeps the colours of its file).
    void fixSmallPaletteEntries();
};

} // namespace vork
