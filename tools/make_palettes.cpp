// SPDX-License-Identifier: GPL-3.0-or-later
// Generator of the default data files: data/deflpal.lpal (the small palette and its
// replacement pairs), data/defbpal.bpal (the colour picker's grid) and data/property.txt
// (the default document sizes). Run: make_palettes <data folder>
#include "files/PaletteFiles.h"
#include "files/SettingsFile.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

namespace vork {
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

void fillSmallPalette(Palettes& p) {
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

// HSL with hue in degrees, saturation and lightness in 0..1.
Color fromHsl(double hue, double saturation, double lightness) {
    const double chroma = (1 - std::fabs(2 * lightness - 1)) * saturation;
    const double h = std::fmod(hue, 360.0) / 60.0;
    const double x = chroma * (1 - std::fabs(std::fmod(h, 2.0) - 1));
    double r = 0, g = 0, b = 0;
    switch (int(h)) {
    case 0:
        r = chroma, g = x;
        break;
    case 1:
        r = x, g = chroma;
        break;
    case 2:
        g = chroma, b = x;
        break;
    case 3:
        g = x, b = chroma;
        break;
    case 4:
        r = x, b = chroma;
        break;
    default:
        r = chroma, b = x;
        break;
    }
    const double m = lightness - chroma / 2;
    auto channel = [m](double v) { return std::clamp(int(std::lround((v + m) * 255)), 0, 255); };
    return Color::rgb(channel(r), channel(g), channel(b));
}

// The picker shows entry i in row i / 48, column i % 48: each column is one hue (7.5 degrees
// apart), rows 0..13 run from light to dark, row 14 holds muted tones and row 15 a grey ramp
// from black to white. Entry 0, the top-left cell, is transparent.
void fillBigPalette(Palettes& p) {
    constexpr int columns = 48, hueRows = 14;
    for (int row = 0; row < 16; ++row) {
        for (int column = 0; column < columns; ++column) {
            const double hue = column * 360.0 / columns;
            Color c;
            if (row < hueRows)
                c = fromHsl(hue, 1.0, 0.93 - row * (0.86 / (hueRows - 1)));
            else if (row == hueRows)
                c = fromHsl(hue, 0.4, 0.5);
            else {
                const int v = int(std::lround(255.0 * column / (columns - 1)));
                c = Color::rgb(v, v, v);
            }
            p.big[size_t(row * columns + column)].color = c;
        }
    }
    p.big[0].color = colors::transparent;
}

} // namespace
} // namespace vork

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <data folder>\n", argv[0]);
        return 2;
    }
    const std::string folder = argv[1];
    vork::Palettes palettes;
    if (vork::replacementPairs().size() * 2 != palettes.replacement.size()) {
        std::fprintf(stderr, "the replacement pairs do not fill the replacement palette\n");
        return 1;
    }
    vork::fillSmallPalette(palettes);
    vork::fillBigPalette(palettes);
    const vork::DocumentSizes sizes; // 300 x 264 animations, 300 x 300 pictures

    bool ok = true;
    for (const auto& [written, name] :
         {std::pair{vork::writeSmallPalette(folder + "/deflpal.lpal", palettes), "deflpal.lpal"},
          std::pair{vork::writeBigPalette(folder + "/defbpal.bpal", palettes), "defbpal.bpal"},
          std::pair{vork::writeSettings(folder + "/property.txt", sizes), "property.txt"}}) {
        if (!written) {
            std::fprintf(stderr, "could not write %s/%s\n", folder.c_str(), name);
            ok = false;
        }
    }
    return ok ? 0 : 1;
}
