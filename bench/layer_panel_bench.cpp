// SPDX-License-Identifier: GPL-3.0-or-later
// The layer list and the colour replace.
//
// A whole paint of the window with 200 layers in the list against the same paint with 8: rows
// outside the list area are skipped, so the list costs about the same whatever its length.
// ratio_to_8_layers is the 200-layer paint's time over the 8-layer paint's, both measured in
// the same iterations. The Painter composes the layers around the current one into caches; the
// Animator draws every visible layer, so its extra layers are hidden to measure the list alone.
//
// The replace of one colour across a 4096 x 4096 layer against a plain pass that reads and
// writes every pixel once, the least any replace can cost: ratio_to_plain_pass.
#include "app/FrameCycle.h"
#include "app/WindowProcedure.h"
#include "commands/NewDocument.h"
#include "pixels/LayerOps.h"
#include "support/FakePlatform.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <memory>

using namespace vork;

namespace {

using Clock = std::chrono::steady_clock;

struct Window {
    test::FakePlatform platform;
    Editor e{platform};
    Bitmap back;
};

// A 300 x 300 document of the mode with `layers` layers, the first 8 visible and filled.
std::unique_ptr<Window> windowWithLayers(Mode mode, int layers) {
    auto w = std::make_unique<Window>();
    Editor& e = w->e;
    onResize(e, 1280, 800);
    e.shownMode = mode;
    if (mode == Mode::Painter)
        e.mode(Mode::Painter).width = e.mode(Mode::Painter).height = 300;
    makeNewDocument(e, mode);
    Frame& f = e.mode(mode).document->current();
    for (int i = 1; i < layers; ++i)
        f.appendLayer();
    for (int i = 0; i < layers; ++i) {
        Layer& l = f.layer(i);
        l.image.fill(Color::rgb(i * 5 % 256, 100, 200 - i % 200));
        l.rebuildThumbnail();
        // The Animator draws every visible layer on its canvas: only the first 8 are shown.
        l.visible = mode == Mode::Painter || i < 8;
    }
    f.setCurrentLayer(3);
    paintWindow(e, w->back); // caches and preview made once
    paintWindow(e, w->back);
    return w;
}

double timedPaint(Window& w) {
    const auto t0 = Clock::now();
    paintWindow(w.e, w.back);
    benchmark::DoNotOptimize(w.back.bytes());
    return std::chrono::duration<double>(Clock::now() - t0).count();
}

void paintAgainstEightLayers(benchmark::State& state, Mode mode) {
    auto many = windowWithLayers(mode, 200);
    auto few = windowWithLayers(mode, 8);
    double manySeconds = 0, fewSeconds = 0;
    for (auto _ : state) {
        const double t = timedPaint(*many);
        manySeconds += t;
        fewSeconds += timedPaint(*few);
        state.SetIterationTime(t);
    }
    state.counters["ratio_to_8_layers"] = fewSeconds > 0 ? manySeconds / fewSeconds : 0;
}

void BM_PaintPainter200Layers(benchmark::State& state) {
    paintAgainstEightLayers(state, Mode::Painter);
}
void BM_PaintAnimator200Layers(benchmark::State& state) {
    paintAgainstEightLayers(state, Mode::Animator);
}

void BM_ReplaceColour4096(benchmark::State& state) {
    constexpr int side = 4096;
    const Color red = Color::rgb(255, 0, 0), blue = Color::rgb(0, 0, 255);
    Bitmap layer(side, side);
    // Every other pixel matches: no branch pattern to learn.
    for (int y = 0; y < side; ++y)
        for (int x = 0; x < side; ++x)
            layer.row(y)[x] = ((x ^ y) & 1) ? red.argb : Color::rgb(9, 9, 9).argb;
    Bitmap plain = layer.clone();
    double replaceSeconds = 0, plainSeconds = 0;
    bool forth = true;
    for (auto _ : state) {
        const auto t0 = Clock::now();
        const int64_t changed =
            forth ? replaceColour(layer, red, blue) : replaceColour(layer, blue, red);
        benchmark::DoNotOptimize(changed);
        benchmark::ClobberMemory();
        const auto t1 = Clock::now();
        for (int y = 0; y < side; ++y) {
            uint32_t* row = plain.row(y);
            for (int x = 0; x < side; ++x)
                row[x] = ~row[x];
        }
        benchmark::DoNotOptimize(plain.bytes());
        benchmark::ClobberMemory();
        const auto t2 = Clock::now();
        forth = !forth;
        const double replace = std::chrono::duration<double>(t1 - t0).count();
        replaceSeconds += replace;
        plainSeconds += std::chrono::duration<double>(t2 - t1).count();
        state.SetIterationTime(replace);
    }
    state.counters["ratio_to_plain_pass"] = plainSeconds > 0 ? replaceSeconds / plainSeconds : 0;
}

} // namespace

BENCHMARK(BM_PaintPainter200Layers)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PaintAnimator200Layers)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReplaceColour4096)->UseManualTime()->Unit(benchmark::kMillisecond);
