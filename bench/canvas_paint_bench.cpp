// SPDX-License-Identifier: GPL-3.0-or-later
// The cost of a Painter paint while a pencil stroke is drawn over a large zoomed picture,
// against the same paint with no picture at all.
#include "app/FrameCycle.h"
#include "app/WindowProcedure.h"
#include "canvas/Canvas.h"
#include "commands/NewDocument.h"
#include "support/FakePlatform.h"

#include <benchmark/benchmark.h>

#include <chrono>

using namespace vork;

namespace {

double millisecondsPerPaint(Editor& e, Bitmap& back, int paints) {
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < paints; ++i)
        paintWindow(e, back);
    const std::chrono::duration<double, std::milli> spent =
        std::chrono::steady_clock::now() - start;
    return spent.count() / paints;
}

// 1280 x 800 window, 1024 x 1024 picture of 8 layers at zoom 4 (so it fills the view), the
// fourth layer current; the pointer moves two pixels every paint with the button held.
void BM_PainterPaintDuringStroke(benchmark::State& state) {
    test::FakePlatform platform;
    Bitmap back;

    Editor empty(platform);
    onResize(empty, 1280, 800);
    empty.shownMode = Mode::Painter;
    paintWindow(empty, back);
    const double emptyMs = millisecondsPerPaint(empty, back, 50);

    Editor e(platform);
    onResize(e, 1280, 800);
    e.shownMode = Mode::Painter;
    e.mode(Mode::Painter).width = e.mode(Mode::Painter).height = 1024;
    e.mode(Mode::Painter).zoomIndex = 12; // 4
    makeNewDocument(e, Mode::Painter);
    Frame& frame = e.picture()->current();
    for (int i = 1; i < 8; ++i)
        frame.appendLayer();
    for (int i = 0; i < 8; ++i)
        for (int y = i; y < 1024; y += 8)
            for (int x = 0; x < 1024; x += 2)
                frame.layer(i).image.setPixel(x, y, Color::fromArgb(255, 30 * i, x & 255, y & 255));
    frame.setCurrentLayer(3);
    const CanvasPlacement p = canvasPlacement(e, Mode::Painter);
    e.input.mouseX = int(p.imageLeft + 100);
    e.input.mouseY = int(p.imageTop + 100);
    e.input.mouseDown = true;
    paintWindow(e, back);
    paintWindow(e, back); // the preview is built; the stroke is active from here on
    int step = 0;
    for (auto _ : state) {
        e.input.mouseX = int(p.imageLeft + 100) + 8 * (step++ % 40); // two picture pixels
        paintWindow(e, back);
        benchmark::DoNotOptimize(back.bytes());
    }
    if (!e.stroke.strokeActive)
        state.SkipWithError("the stroke ended");
    const double strokeMs = millisecondsPerPaint(e, back, 20);
    state.counters["stroke_ms"] = strokeMs;
    state.counters["empty_ms"] = emptyMs;
    state.counters["stroke_to_empty"] = strokeMs / emptyMs;
}

} // namespace

BENCHMARK(BM_PainterPaintDuringStroke)->Unit(benchmark::kMillisecond)->MinTime(1.0);
