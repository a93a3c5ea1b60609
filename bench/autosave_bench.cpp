// SPDX-License-Identifier: GPL-3.0-or-later
// The pause that keeping copies of an unsaved picture adds to the paints while the user draws:
// pencil strokes over a 2048 x 2048 picture of 8 layers, a copy falling due at the end of every
// stroke, against the same strokes with no copies kept, measured in the same run.
//
// The two drawings take their strokes in turn, so both meet the same machine and the same
// state of the memory allocator. `paced` waits one display refresh (16 ms) between paints, as
// the window's paints come, and takes the copy at the end of a stroke. Unpaced, the paints
// follow each other at once and the copy is taken right before a stroke's first paint: the
// worst case for the shared pixels, since the drawing thread then writes to the drawn-on layer
// before the worker has pixels of its own, and copies them itself.
#include "app/FrameCycle.h"
#include "app/WindowProcedure.h"
#include "canvas/Canvas.h"
#include "commands/Autosave.h"
#include "commands/NewDocument.h"
#include "support/FakePlatform.h"
#include "support/TempDir.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <string>
#include <thread>
#include <utility>

#include <time.h>

using namespace vork;

namespace {

constexpr int side = 2048;
constexpr int layers = 8;
constexpr int strokes = 12;
constexpr int movesPerStroke = 12;

struct Drawing {
    test::FakePlatform platform;
    Editor e{platform};
    Bitmap back;
    test::TempDir dir;
    uint64_t lastWriting = 0; // the revision of the last copy started
    std::string failure;      // why the recovery folder could not be opened

    explicit Drawing(bool keepCopies) {
        onResize(e, 1280, 800);
        e.shownMode = Mode::Painter;
        e.mode(Mode::Painter).width = e.mode(Mode::Painter).height = side;
        makeNewDocument(e, Mode::Painter);
        Frame& frame = e.picture()->current();
        for (int i = 1; i < layers; ++i)
            frame.appendLayer();
        // Bands and dots, so the copy's runs are neither one per layer nor one per pixel.
        for (int i = 0; i < layers; ++i) {
            Bitmap& image = frame.layer(i).image;
            for (int y = 0; y < side; ++y) {
                uint32_t* row = image.row(y);
                for (int x = (y * 7 + i) % 5; x < side; x += 3 + i)
                    row[x] = Color::fromArgb(255, 30 * i, x & 255, y & 255).argb;
            }
        }
        frame.setCurrentLayer(3);
        if (keepCopies)
            openRecoveryFolder(e, dir.file("recovery"), failure);
        paintWindow(e, back);
    }
    ~Drawing() {
        for (ModeState& m : e.modes)
            if (m.changes.writing.valid())
                m.changes.writing.wait();
    }
};

// The longest of each kind of step, in milliseconds. Paints are timed in CPU time of the
// drawing thread, which the other programs on a shared machine do not blur; the tick that
// takes a copy is timed on the clock.
struct StepTimes {
    double stroke = 0;  // the paints of the strokes, the first after a copy included
    double release = 0; // the paint that commits a stroke
    double tick = 0;    // the autosave tick that takes the copy and starts its write
    int copies = 0;
    int layerCopies = 0; // copies of the drawn-on layer's pixels made on the drawing thread
};

double threadCpuMs() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

// Counts the copies started, whether by a paint's tick or by the timer's.
void countCopies(Drawing& d, StepTimes& t) {
    const uint64_t writing = d.e.mode(Mode::Painter).changes.revisionWriting;
    t.copies += writing != d.lastWriting;
    d.lastWriting = writing;
}

double paintCpuMs(Drawing& d, bool paced, StepTimes& t) {
    if (paced)
        std::this_thread::sleep_for(std::chrono::milliseconds(16));
    const double start = threadCpuMs();
    paintWindow(d.e, d.back);
    const double spent = threadCpuMs() - start;
    countCopies(d, t);
    return spent;
}

const uint8_t* drawnOnPixels(Drawing& d) {
    return std::as_const(d.e.picture()->currentLayer().image).bytes();
}

// The clock moves on 30 s and the tick runs, as the window's timer runs it, so a copy falls
// due (and starts unless the previous one is still being written).
void copyFallsDue(Drawing& d, StepTimes& t) {
    d.platform.tick += autosaveDelayMs;
    const int copiesBefore = t.copies;
    const auto start = std::chrono::steady_clock::now();
    autosaveTick(d.e);
    const std::chrono::duration<double, std::milli> tick = std::chrono::steady_clock::now() - start;
    countCopies(d, t);
    if (t.copies != copiesBefore)
        t.tick = std::max(t.tick, tick.count());
}

// One stroke along row `s`, with a copy falling due at its end; unpaced, at its start, right
// before its first paint writes to the pixels the copy shares.
void drawStroke(Drawing& d, int s, bool paced, StepTimes& t) {
    if (!paced)
        copyFallsDue(d, t);
    const CanvasPlacement p = canvasPlacement(d.e, Mode::Painter);
    d.e.input.mouseX = int(p.imageLeft) + 40;
    d.e.input.mouseY = int(p.imageTop) + 40 + 23 * s;
    d.e.input.mouseDown = true;
    const uint8_t* before = drawnOnPixels(d);
    t.stroke = std::max(t.stroke, paintCpuMs(d, paced, t));
    t.layerCopies += drawnOnPixels(d) != before;
    for (int m = 1; m <= movesPerStroke; ++m) {
        d.e.input.mouseX = int(p.imageLeft) + 40 + 9 * m;
        t.stroke = std::max(t.stroke, paintCpuMs(d, paced, t));
    }
    d.e.input.mouseDown = false;
    t.release = std::max(t.release, paintCpuMs(d, paced, t));
    if (paced)
        copyFallsDue(d, t);
}

// The pause a copy made on the drawing thread adds: the first write to a layer whose pixels
// are shared copies them.
double layerCopyMs(Drawing& d) {
    Bitmap& layer = d.e.picture()->currentLayer().image;
    const Bitmap sharer = layer;
    const auto start = std::chrono::steady_clock::now();
    layer.setPixel(0, 0, colors::black);
    const std::chrono::duration<double, std::milli> spent =
        std::chrono::steady_clock::now() - start;
    return spent.count();
}

void BM_AutosavePauseWhileDrawing(benchmark::State& state) {
    const bool paced = state.range(0) != 0;
    StepTimes with, without;
    double copyMs = 0;
    std::string failure;
    for (auto _ : state) {
        Drawing plain(false), keeping(true);
        for (int s = 0; s < strokes; ++s) {
            drawStroke(plain, s, paced, without);
            drawStroke(keeping, s, paced, with);
        }
        copyMs = layerCopyMs(plain);
        failure = keeping.failure;
    }
    if (with.copies == 0)
        state.SkipWithError(("no copy was taken " + failure).c_str());
    state.counters["copies"] = with.copies;
    state.counters["tick_ms"] = with.tick;
    state.counters["layer_copies"] = with.layerCopies;
    state.counters["layer_copy_ms"] = copyMs;
    state.counters["stroke_ms"] = with.stroke;
    state.counters["stroke_base_ms"] = without.stroke;
    state.counters["stroke_ratio"] = with.stroke / without.stroke;
    state.counters["release_ms"] = with.release;
    state.counters["release_base_ms"] = without.release;
    state.counters["release_ratio"] = with.release / without.release;
}

} // namespace

BENCHMARK(BM_AutosavePauseWhileDrawing)
    ->ArgName("paced")
    ->Arg(1)
    ->Arg(0)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);
