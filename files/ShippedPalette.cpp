// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/ShippedPalette.h"

#include <array>
#include <cstddef>
#include <utility>
#include <vector>

namespace vork {

using std::size_t;

namespace {

// The small palette shows entries 3..110 as 36 columns of three swatches (entries 3 + 3c,
// 4 + 3c, 5 + 3c from top to bottom), so each column is one light-to-dark ramp. The columns
// a narrow window still shows come first.
// clang-format off
enum Ramp {
    LightGreys, DarkGreys, Primaries, Secondaries, LightSkin, MidSkin, DarkSkin, Red, Orange,
    Yellow, Lime, Green, Olive, Teal, Sky, Blue, Indigo, Violet, Magenta, Rose, Brown, Earth,
    Brick, Gold, BlueGrey, WarmGrey, GreenGrey, Navy, Maroon, Forest, Sand, Ice, Fire, Water,
    Shadows, Highlights, rampCount
};

// clang-format on

using Shades = std::array<Color, 3>;

Color rgb(int r, int g, int b) {
    return Color::rgb(r, g, b);
}

// clang-format off
const std::array<Shades, rampCount> ramps = {{
    {rgb(224, 224, 224), rgb(160, 160, 160), rgb(96, 96, 96)},     // LightGreys
    {rgb(192, 192, 192), rgb(128, 128, 128), rgb(64, 64, 64)},     // DarkGreys
    {rgb(255, 0, 0), rgb(0, 255, 0), rgb(0, 0, 255)},              // Primaries
    {rgb(255, 255, 0), rgb(0, 255, 255), rgb(255, 0, 255)},        // Secondaries
    {rgb(255, 228, 206), rgb(246, 200, 166), rgb(226, 170, 130)},  // LightSkin
    {rgb(204, 142, 100), rgb(168, 110, 72), rgb(132, 82, 52)},     // MidSkin
    {rgb(104, 62, 38), rgb(78, 46, 28), rgb(54, 32, 20)},          // DarkSkin
    {rgb(255, 136, 136), rgb(214, 40, 40), rgb(128, 16, 24)},      // Red
    {rgb(255, 196, 128), rgb(250, 134, 20), rgb(168, 76, 8)},      // Orange
    {rgb(255, 246, 150), rgb(244, 212, 40), rgb(176, 140, 8)},     // Yellow
    {rgb(200, 255, 130), rgb(124, 210, 40), rgb(64, 128, 20)},     // Lime
    {rgb(130, 224, 130), rgb(40, 160, 60), rgb(16, 88, 36)},       // Green
    {rgb(190, 196, 110), rgb(128, 136, 56), rgb(72, 78, 28)},      // Olive
    {rgb(128, 228, 208), rgb(20, 164, 148), rgb(8, 92, 88)},       // Teal
    {rgb(150, 224, 255), rgb(40, 170, 232), rgb(16, 96, 160)},     // Sky
    {rgb(140, 160, 255), rgb(48, 72, 224), rgb(20, 28, 128)},      // Blue
    {rgb(170, 150, 240), rgb(88, 60, 190), rgb(44, 28, 104)},      // Indigo
    {rgb(216, 160, 255), rgb(150, 60, 214), rgb(82, 24, 124)},     // Violet
    {rgb(255, 160, 230), rgb(220, 50, 170), rgb(124, 20, 96)},     // Magenta
    {rgb(255, 192, 204), rgb(240, 110, 140), rgb(160, 40, 72)},    // Rose
    {rgb(214, 164, 110), rgb(150, 96, 48), rgb(92, 56, 26)},       // Brown
    {rgb(232, 206, 160), rgb(186, 146, 96), rgb(120, 88, 56)},     // Earth
    {rgb(224, 128, 96), rgb(176, 72, 48), rgb(112, 40, 28)},       // Brick
    {rgb(255, 226, 120), rgb(218, 166, 32), rgb(144, 100, 12)},    // Gold
    {rgb(184, 194, 214), rgb(120, 132, 164), rgb(60, 70, 98)},     // BlueGrey
    {rgb(214, 204, 188), rgb(152, 142, 126), rgb(92, 84, 74)},     // WarmGrey
    {rgb(190, 206, 186), rgb(126, 146, 122), rgb(66, 82, 64)},     // GreenGrey
    {rgb(64, 80, 140), rgb(36, 44, 92), rgb(18, 22, 48)},          // Navy
    {rgb(160, 60, 60), rgb(112, 32, 36), rgb(64, 16, 20)},         // Maroon
    {rgb(80, 120, 60), rgb(48, 84, 36), rgb(24, 48, 20)},          // Forest
    {rgb(255, 248, 224), rgb(240, 228, 190), rgb(220, 200, 150)},  // Sand
    {rgb(232, 248, 255), rgb(200, 232, 248), rgb(160, 204, 228)},  // Ice
    {rgb(255, 240, 160), rgb(255, 180, 60), rgb(240, 90, 20)},     // Fire
    {rgb(170, 220, 255), rgb(90, 160, 240), rgb(40, 100, 200)},    // Water
    {Color::fromArgb(64, 0, 0, 0), Color::fromArgb(128, 0, 0, 0),
     Color::fromArgb(192, 0, 0, 0)},                               // Shadows
    {Color::fromArgb(64, 255, 255, 255), Color::fromArgb(128, 255, 255, 255),
     Color::fromArgb(192, 255, 255, 255)},                         // Highlights
}};
// clang-format on

Color shade(Ramp ramp, int row) {
    return ramps[size_t(ramp)][size_t(row)];
}

struct Pair {
    Color from, to;
};

// Replacement pairs: clearing common backgrounds, whole ramps swapped shade for shade (team
// colours, skin and hair tones, autumn, night, cool greys), then a few single colours.
std::vector<Pair> replacementPairs() {
    std::vector<Pair> pairs = {{colors::white, colors::transparent},
                               {rgb(255, 0, 255), colors::transparent},
                               {rgb(0, 255, 0), colors::transparent},
                               {colors::transparent, colors::white}};
    const std::pair<Ramp, Ramp> swaps[] = {
        {Red, Blue},   {Blue, Green},   {LightSkin, MidSkin}, {MidSkin, DarkSkin},
        {Gold, Brown}, {Green, Orange}, {Sky, Navy},          {DarkGreys, BlueGrey}};
    for (const auto& [from, to] : swaps)
        for (int row = 0; row < 3; ++row)
            pairs.push_back({shade(from, row), shade(to, row)});
    pairs.push_back({colors::black, rgb(64, 64, 64)});
    pairs.push_back({rgb(255, 0, 0), rgb(0, 0, 255)});
    pairs.push_back({rgb(255, 255, 0), rgb(0, 255, 255)});
    pairs.push_back({colors::white, shade(Sand, 0)});
    return pairs;
}

} // namespace

void fillShippedSmallPalette(Palettes& p) {
    for (int c = 0; c < rampCount; ++c)
        for (int row = 0; row < 3; ++row)
            p.small[size_t(3 + 3 * c + row)].color = shade(Ramp(c), row);
    p.fixSmallPaletteEntries();
    const auto pairs = replacementPairs();
    for (size_t k = 0; k < pairs.size() && 2 * k + 1 < p.replacement.size(); ++k) {
        p.replacement[2 * k].color = pairs[k].from;
        p.replacement[2 * k + 1].color = pairs[k].to;
    }
}

} // namespace vork
