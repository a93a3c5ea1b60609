// SPDX-License-Identifier: GPL-3.0-or-later
// Writes a large animated GIF for the command-line measurements (bench/cli_vs_imagemagick.sh):
// FRAMES frames of WIDTH x HEIGHT, each covering the whole screen with 255 colours of a moving
// pattern and a little noise, so that the frames neither repeat nor compress to nothing.
// Usage: make_big_gif <out.gif> [frames=783] [width=640] [height=421]
#include "support/GifWriter.h"

#include <cstdio>
#include <cstdlib>
#include <random>

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s <out.gif> [frames] [width] [height]\n", argv[0]);
        return 2;
    }
    const int frames = argc > 2 ? std::atoi(argv[2]) : 783;
    const int width = argc > 3 ? std::atoi(argv[3]) : 640;
    const int height = argc > 4 ? std::atoi(argv[4]) : 421;
    std::vector<vork::Color> palette;
    for (int i = 0; i < 256; ++i)
        palette.push_back(vork::Color::rgb(i, (i * 7) & 255, 255 - i));
    std::mt19937 noise(23);
    std::vector<vork::test::GifFrame> list;
    list.reserve(size_t(frames));
    for (int f = 0; f < frames; ++f) {
        list.push_back(vork::test::fullFrame(width, height, [&](int x, int y) {
            const int wave = (x + 2 * f) / 8 + (y + f) / 8;
            return (wave * 13 + int(noise() % 3)) & 255;
        }));
        list.back().delayCentiseconds = 3 + f % 5;
    }
    if (!vork::test::writeGif(argv[1], width, height, palette, list)) {
        std::fprintf(stderr, "could not write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
