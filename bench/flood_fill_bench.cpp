// SPDX-License-Identifier: GPL-3.0-or-later
// The flood fill on a large layer, against the plain fill of the same number of pixels, the
// least any fill of the whole layer can cost. ratio_to_fill is the flood fill's time over the
// plain fill's, both measured in the same iterations as the thread's CPU time, so that other work
// on a shared machine does not count.
#include "pixels/Pixels.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstring>
#include <ctime>
#include <vector>

using namespace vork;

namespace {

constexpr int side = 4096;
constexpr Color wallColour = Color::rgb(0, 0, 0);
constexpr Color fillColour = Color::rgb(220, 40, 40);

Bitmap openLayer() {
    return Bitmap(side, side);
}

// Walls on every odd column, each with one gap, alternately at the top and at the bottom: one
// corridor a pixel wide that winds down and up the whole layer. Every row of it is a run of
// one pixel, the worst case for a fill that works in runs.
Bitmap columnMaze() {
    Bitmap b(side, side);
    for (int x = 1; x < side; x += 2) {
        const int gap = (x / 2) % 2 == 0 ? 0 : side - 1;
        for (int y = 0; y < side; ++y)
            if (y != gap)
                b.row(y)[x] = wallColour.argb;
    }
    return b;
}

// The same maze turned by a quarter: corridors along the rows.
Bitmap rowMaze() {
    Bitmap b(side, side);
    for (int y = 1; y < side; y += 2) {
        const int gap = (y / 2) % 2 == 0 ? 0 : side - 1;
        uint32_t* row = b.row(y);
        std::fill(row, row + side, wallColour.argb);
        row[gap] = colors::transparent.argb;
    }
    return b;
}

double threadSeconds() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) * 1e-9;
}

// Walls scattered at random over 40 % of the layer: the open pixels still join into one large
// region, of short runs that differ from row to row. The top row is left open, so that the fill
// from its corner reaches that region.
Bitmap scatteredWalls() {
    Bitmap b(side, side);
    uint32_t state = 12345;
    for (int y = 0; y < side; ++y)
        for (int x = 0; x < side; ++x) {
            state = state * 1664525u + 1013904223u;
            if (y > 0 && (state >> 8) % 100 < 40)
                b.row(y)[x] = wallColour.argb;
        }
    return b;
}

void floodAgainstPlainFill(benchmark::State& state, const Bitmap& start) {
    Bitmap layer = start.clone();
    const size_t bytes = size_t(side) * size_t(side) * 4;
    std::vector<uint32_t> plain(size_t(side) * size_t(side), 0u);
    double floodSeconds = 0, plainSeconds = 0;
    for (auto _ : state) {
        std::memcpy(layer.bytes(), start.bytes(), bytes); // not timed
        const double t0 = threadSeconds();
        const bool changed = floodFill(layer, 0, 0, fillColour);
        benchmark::DoNotOptimize(changed);
        benchmark::ClobberMemory();
        const double t1 = threadSeconds();
        std::fill(plain.begin(), plain.end(), fillColour.argb);
        benchmark::DoNotOptimize(plain.data());
        benchmark::ClobberMemory();
        const double t2 = threadSeconds();
        const double flood = t1 - t0;
        floodSeconds += flood;
        plainSeconds += t2 - t1;
        state.SetIterationTime(flood);
    }
    state.counters["ratio_to_fill"] = plainSeconds > 0 ? floodSeconds / plainSeconds : 0;
    state.counters["plain_fill_ms"] =
        state.iterations() > 0 ? plainSeconds * 1000 / double(state.iterations()) : 0;
}

void BM_FloodFillOpenLayer(benchmark::State& state) {
    floodAgainstPlainFill(state, openLayer());
}
void BM_FloodFillColumnMaze(benchmark::State& state) {
    floodAgainstPlainFill(state, columnMaze());
}
void BM_FloodFillRowMaze(benchmark::State& state) {
    floodAgainstPlainFill(state, rowMaze());
}

void BM_FloodFillScatteredWalls(benchmark::State& state) {
    floodAgainstPlainFill(state, scatteredWalls());
}

} // namespace

BENCHMARK(BM_FloodFillOpenLayer)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FloodFillColumnMaze)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FloodFillRowMaze)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FloodFillScatteredWalls)->UseManualTime()->Unit(benchmark::kMillisecond);
