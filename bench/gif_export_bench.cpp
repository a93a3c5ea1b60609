// SPDX-License-Identifier: GPL-3.0-or-later
// The animated GIF export of 100 frames of 300 x 264 in 16 colours against the PNG frames export
// of the same animation in the same iterations: ratio_to_png_frames is the GIF export's time
// over the PNG export's. gif_bytes is the size of the GIF file, png_bytes that of the 100 PNG
// files together.
#include "files/GifExport.h"
#include "files/ImageExport.h"
#include "support/TempDir.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cmath>
#include <filesystem>

using namespace vork;

namespace {

using Clock = std::chrono::steady_clock;

constexpr int frames = 100, width = 300, height = 264;

double secondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// Sixteen colours: eight sky bands, two of grass, five of a figure and black.
Color paletteColour(int i) {
    if (i < 8)
        return Color::rgb(40 + 20 * i, 90 + 15 * i, 230);
    if (i < 10)
        return Color::rgb(60 + 20 * (i - 8), 140 + 20 * (i - 8), 40);
    if (i < 15)
        return Color::rgb(200 - 30 * (i - 10), 50, 40 + 20 * (i - 10));
    return colors::black;
}

// A walk cycle: a banded sky with a transparent hole, a checked ground strip, and a round
// figure of a few colours that moves along with every frame.
Document walkCycle() {
    Document d(width, height, 40);
    for (int i = 0; i < frames; ++i) {
        if (i > 0)
            d.insertFrameAfter(d.currentFrameIndex());
        d.current().delay = i % 3 == 2 ? 34 : 33;
        Bitmap& image = d.currentLayer().image;
        const int cx = 20 + (i * 5) % 260, cy = 180 + int(8 * std::sin(i * 0.7));
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) {
                const int dx = x - cx, dy = y - cy;
                if (x > 250 && y < 30)
                    continue; // the hole stays transparent
                int index = y / 28;
                if (y > 220)
                    index = 8 + (x / 6 + y / 6) % 2;
                if (dx * dx + dy * dy < 400)
                    index = 10 + (dx * dx + dy * dy) / 80;
                image.setPixel(x, y, paletteColour(index));
            }
    }
    return d;
}

uintmax_t folderBytes(const std::filesystem::path& folder, const std::string& extension) {
    uintmax_t total = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        if (entry.path().extension() == extension)
            total += entry.file_size();
    return total;
}

void BM_GifExportAgainstPngFrames(benchmark::State& state) {
    const Document animation = walkCycle();
    test::TempDir out;
    double gifSeconds = 0, pngSeconds = 0;
    for (auto _ : state) {
        const auto t0 = Clock::now();
        const ExportResult gif =
            exportAnimationGif(animation, out.file("walk.gif"), SingleLayerView::Off);
        const double gifTime = secondsSince(t0);
        const auto t1 = Clock::now();
        const ExportResult png =
            exportFramesPng(animation, out.file("walk.png"), SingleLayerView::Off);
        const double pngTime = secondsSince(t1);
        if (!gif || !png || int(png.written.size()) != frames) {
            state.SkipWithError("an export failed");
            return;
        }
        gifSeconds += gifTime;
        pngSeconds += pngTime;
        state.SetIterationTime(gifTime);
    }
    const double n = double(state.iterations());
    state.counters["gif_ms"] = gifSeconds * 1000 / n;
    state.counters["png_frames_ms"] = pngSeconds * 1000 / n;
    state.counters["ratio_to_png_frames"] = pngSeconds > 0 ? gifSeconds / pngSeconds : 0;
    state.counters["gif_bytes"] = double(std::filesystem::file_size(out.file("walk.gif")));
    state.counters["png_bytes"] = double(folderBytes(out.path, ".png"));
}

} // namespace

BENCHMARK(BM_GifExportAgainstPngFrames)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->MinTime(2.0);
