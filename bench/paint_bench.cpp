// SPDX-License-Identifier: GPL-3.0-or-later
// The cost of one whole paint of the window.
#include "app/FrameCycle.h"
#include "app/WindowProcedure.h"
#include "support/FakePlatform.h"

#include <benchmark/benchmark.h>

using namespace vork;

namespace {

void paintNoDocument(benchmark::State& state, bool painter) {
    test::FakePlatform platform;
    Editor e(platform);
    onResize(e, 1280, 800);
    e.shownMode = painter ? Mode::Painter : Mode::Animator;
    Bitmap back;
    for (auto _ : state) {
        paintWindow(e, back);
        benchmark::DoNotOptimize(back.bytes());
    }
}

void BM_PaintWindowAnimatorNoDocument(benchmark::State& state) {
    paintNoDocument(state, false);
}
void BM_PaintWindowPainterNoDocument(benchmark::State& state) {
    paintNoDocument(state, true);
}

} // namespace

// Reported with the median of repeated runs, in milliseconds per paint.
BENCHMARK(BM_PaintWindowAnimatorNoDocument)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(9)
    ->ReportAggregatesOnly(true);
BENCHMARK(BM_PaintWindowPainterNoDocument)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(9)
    ->ReportAggregatesOnly(true);
