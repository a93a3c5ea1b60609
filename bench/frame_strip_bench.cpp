// SPDX-License-Identifier: GPL-3.0-or-later
// The Animator's paint against the length of the animation, and the rate at which playback can
// show frames. Both in a 1280 x 800 window with a 300 x 264 animation.
#include "app/FrameCycle.h"
#include "app/Startup.h"
#include "app/WindowProcedure.h"
#include "commands/NewDocument.h"
#include "support/FakePlatform.h"
#include "ui/Widgets.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <ctime>
#include <memory>

using namespace vork;

namespace {

// An editor laid out at 1280 x 800 with its buttons, on a clock that moves a millisecond a
// paint, and an animation of `frames` frames of `layers` layers, each with pixels of its own
// and its thumbnails built, the middle frame current.
struct AnimatorBench {
    test::FakePlatform platform;
    Editor e{platform};
    Bitmap back;

    AnimatorBench(int frames, int layers) {
        onResize(e, 1280, 800);
        makeToolButtons(e);
        e.mode(Mode::Animator).width = 300;
        e.mode(Mode::Animator).height = 264;
        makeNewDocument(e, Mode::Animator);
        Document& a = *e.animation();
        for (int f = 1; f < frames; ++f)
            a.insertFrameAfter(a.currentFrameIndex());
        for (int f = 0; f < frames; ++f) {
            Frame& frame = a.frame(f);
            while (frame.layerCount() < layers)
                frame.appendLayer();
            for (int l = 0; l < layers; ++l)
                for (int y = l; y < 264; y += 4)
                    for (int x = f % 7; x < 300; x += 3)
                        frame.layer(l).image.setPixel(x, y,
                                                      Color::fromArgb(255, 40 * l, f & 255, y));
        }
        a.renumberFrames();
        refreshAllFrameThumbnails(a);
        a.setCurrentFrame(frames / 2);
        paint();
        paint();
    }
    void paint() {
        platform.tick += 1;
        paintWindow(e, back);
    }
    // In processor time of this thread: the machine is shared, and a wall clock would count
    // the time other work took the processor away.
    double millisecondsPerPaint(int paints) {
        const double start = threadMilliseconds();
        for (int i = 0; i < paints; ++i)
            paint();
        return (threadMilliseconds() - start) / paints;
    }
    static double threadMilliseconds() {
        timespec t{};
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
        return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
    }
};

// One stopped Animator paint with 1000 frames against the same with 10: only the cells in the
// window are drawn, so the two should cost nearly the same.
void BM_AnimatorPaintThousandFramesAgainstTen(benchmark::State& state) {
    AnimatorBench ten(10, 1);
    AnimatorBench thousand(1000, 1);
    for (auto _ : state) {
        thousand.paint();
        benchmark::DoNotOptimize(thousand.back.bytes());
    }
    // Measured in turns, so that whatever else the machine does falls on both alike.
    double tenMs = 0, thousandMs = 0;
    for (int round = 0; round < 10; ++round) {
        tenMs += ten.millisecondsPerPaint(20) / 10;
        thousandMs += thousand.millisecondsPerPaint(20) / 10;
    }
    state.counters["ten_ms"] = tenMs;
    state.counters["thousand_ms"] = thousandMs;
    state.counters["thousand_to_ten"] = thousandMs / tenMs;
}

// Paints per second while playing forwards with no delay, four layers a frame: every paint
// shows the next frame.
void BM_PlaybackPaintsPerSecond(benchmark::State& state) {
    AnimatorBench bench(100, 4);
    Document& a = *bench.e.animation();
    for (Frame& frame : a.frames())
        frame.delay = 0;
    bench.e.animator.playState = PlayState::Forward;
    int shown = a.currentFrameIndex();
    int advanced = 0;
    const auto start = std::chrono::steady_clock::now();
    const double startCpu = AnimatorBench::threadMilliseconds();
    for (auto _ : state) {
        bench.paint();
        advanced += a.currentFrameIndex() != shown;
        shown = a.currentFrameIndex();
    }
    const std::chrono::duration<double> spent = std::chrono::steady_clock::now() - start;
    const double cpuSeconds = (AnimatorBench::threadMilliseconds() - startCpu) / 1e3;
    if (advanced != int(state.iterations()))
        state.SkipWithError("a paint did not show the next frame");
    state.counters["paints_per_second"] = double(state.iterations()) / spent.count();
    state.counters["paints_per_cpu_second"] = double(state.iterations()) / cpuSeconds;
}

} // namespace

BENCHMARK(BM_AnimatorPaintThousandFramesAgainstTen)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(BM_PlaybackPaintsPerSecond)->Unit(benchmark::kMillisecond)->MinTime(2.0);
