// SPDX-License-Identifier: GPL-3.0-or-later
// Generator of the default data files: data/deflpal.lpal (the small palette and its
// replacement pairs), data/defbpal.bpal (the colour picker's grid) and data/property.txt
// (the default document sizes). Run: make_palettes <data folder>
#include "files/PaletteFiles.h"
#include "files/SettingsFile.h"
#include "files/ShippedPalette.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

namespace vork {
namespace {

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
    vork::fillShippedSmallPalette(palettes);
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
