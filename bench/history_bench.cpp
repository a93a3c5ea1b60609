// SPDX-License-Identifier: GPL-3.0-or-later
// What the undo history of a large layer holds after short strokes, and what recording and
// undoing cost there.
#include "canvas/History.h"
#include "support/FakePlatform.h"

#include <benchmark/benchmark.h>

using namespace vork;

namespace {

constexpr int side = 2048;

struct LargeLayer {
    test::FakePlatform platform;
    Editor e{platform};
    LargeLayer() {
        e.mode(Mode::Painter).width = e.mode(Mode::Painter).height = side;
        e.picture() = std::make_unique<Document>(side, side, 0.0);
        startHistory(e, Mode::Painter);
    }
    Bitmap& layer() { return e.picture()->currentLayer().image; }
    // A short pencil stroke somewhere on the layer, then its undo state.
    void stroke(int i) {
        const int x = (i * 397) % (side - 40), y = (i * 211) % (side - 40);
        pixelLine(x, y, x + 30, y + 17, layer(), Color::rgb(i & 255, 10, 200));
        recordState(e, Mode::Painter);
    }
};

void BM_HistoryMemoryAfter25Strokes(benchmark::State& state) {
    LargeLayer l;
    for (int i = 0; i < 25; ++i)
        l.stroke(i);
    const double layerBytes = double(side) * side * 4;
    for (auto _ : state)
        benchmark::DoNotOptimize(l.e.mode(Mode::Painter).history->memoryBytes());
    const double held = double(l.e.mode(Mode::Painter).history->memoryBytes());
    state.counters["held_MiB"] = held / (1024 * 1024);
    state.counters["held_to_layer"] = held / layerBytes;
}

void BM_HistoryRecordState(benchmark::State& state) {
    LargeLayer l;
    int i = 0;
    for (auto _ : state) {
        state.PauseTiming();
        const int x = (i * 397) % (side - 40), y = (i * 211) % (side - 40);
        pixelLine(x, y, x + 30, y + 17, l.layer(), Color::rgb(i & 255, 10, 200));
        ++i;
        state.ResumeTiming();
        recordState(l.e, Mode::Painter);
    }
}

// One undo through the frame's key handling: restore and thumbnail included. Undo and redo
// alternate so that every step moves.
void BM_HistoryUndo(benchmark::State& state) {
    LargeLayer l;
    for (int i = 0; i < 25; ++i)
        l.stroke(i);
    bool back = true;
    for (auto _ : state) {
        l.e.input.lastChar = back ? ',' : '.';
        undoRedoFrame(l.e, Mode::Painter);
        back = !back;
    }
}

} // namespace

BENCHMARK(BM_HistoryMemoryAfter25Strokes)->Iterations(1);
BENCHMARK(BM_HistoryRecordState)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_HistoryUndo)->Unit(benchmark::kMicrosecond);
