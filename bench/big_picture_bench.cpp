// SPDX-License-Identifier: GPL-3.0-or-later
// Big pictures: what the interactions cost on a 4096 x 4096 picture of 8 layers in a
// 1280 x 800 window, and on a 1024 x 1024 one for comparison (the argument is the side).
//
// Every case reports, measured in the same run:
//   case_ms        the time of the case, mean over the iterations
//   memcpy_ms      one memcpy of a layer of the same size
//   to_memcpy      case_ms / memcpy_ms
// and the layer switch also the time of reading every layer once (read_all_ms, to_read_all), the
// stroke ends and the undo the same case with the preview drawn whole (whole_ms, to_whole).
//
// Cases: a paint at zoom 0.1 (the whole picture fits) and at zoom 0.5, also while a stroke is
// drawn; a paint at every zoom step 0.3 to 0.9 on 4096 and 5000 pixel sides, against the same
// paint reducing every layer afresh (afresh_ms, to_afresh); the end of a short pencil stroke at
// zoom 1 and at zoom 0.1 (5000 pixels) with the paint after it; the undo of that
// stroke with the paint after it; a paint that rebuilds the preview; a press on another
// layer's row with the paint after it.
#include "app/FrameCycle.h"
#include "app/WindowProcedure.h"
#include "canvas/Canvas.h"
#include "commands/NewDocument.h"
#include "support/FakePlatform.h"
#include "ui/Layout.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstring>
#include <memory>
#include <vector>

using namespace vork;

namespace {

using Clock = std::chrono::steady_clock;

double millisecondsSince(Clock::time_point t0) {
    return std::chrono::duration<double, std::milli>(Clock::now() - t0).count();
}

constexpr int zoomIndexTenth = 0, zoomIndexHalf = 4, zoomIndexOne = 9;
constexpr int layerCount = 8, startLayer = 3;

// Layer i of a side x side picture, like a drawing: the bottom one an opaque scan, every other
// one opaque discs with a soft two-pixel rim on transparent, about a third of it covered, the
// discs placed differently per layer; layer 2 also holds a translucent glaze over an eighth of
// the picture.
void paintLayer(Bitmap& image, int i) {
    const int w = image.width(), h = image.height();
    constexpr int cell = 96, radius = 30;
    for (int y = 0; y < h; ++y) {
        uint32_t* row = image.row(y);
        const uint32_t g = uint32_t(y * 3) & 255;
        for (int x = 0; x < w; ++x) {
            const uint32_t r = uint32_t(x * 7 + i * 40) & 255;
            if (i == 0) {
                row[x] = 0xFF000000u | (r << 16) | (g << 8) | 90u;
                continue;
            }
            const int dx = (x + i * 37) % cell - cell / 2, dy = (y + i * 53) % cell - cell / 2;
            const float d = std::sqrt(float(dx * dx + dy * dy)) - radius;
            uint32_t alpha = d <= 0 ? 255u : d < 2 ? uint32_t(255 * (1 - d / 2)) : 0u;
            if (alpha == 0 && i == 2 && x < w / 2 && y < h / 4)
                alpha = 100;
            row[x] = alpha == 0 ? 0u : (alpha << 24) | (r << 16) | (g << 8) | uint32_t(i * 30);
        }
    }
}

struct BigPicture {
    test::FakePlatform platform;
    Editor e{platform};
    Bitmap back;

    BigPicture(int side, int zoomIndex) {
        onResize(e, 1280, 800);
        e.shownMode = Mode::Painter;
        e.mode(Mode::Painter).width = e.mode(Mode::Painter).height = float(side);
        e.mode(Mode::Painter).zoomIndex = zoomIndex;
        makeNewDocument(e, Mode::Painter);
        Frame& frame = e.picture()->current();
        for (int i = 1; i < layerCount; ++i)
            frame.appendLayer();
        for (int i = 0; i < layerCount; ++i) {
            paintLayer(frame.layer(i).image, i);
            frame.layer(i).rebuildThumbnail();
        }
        frame.setCurrentLayer(startLayer);
        e.mode(Mode::Painter).previewUpToDate = false;
        paint(); // caches, preview and history made
        paint();
    }
    void paint() {
        paintWindow(e, back);
        benchmark::DoNotOptimize(back.bytes());
    }
    // Not inlined, so that callgrind can count the timed paints alone
    // (--toggle-collect='*timedPaint*').
    [[gnu::noinline]] double timedPaint() {
        const auto t0 = Clock::now();
        paint();
        return millisecondsSince(t0);
    }
    // With `whole`, the preview forgets what it was drawn from, so that it is drawn whole the
    // next time, as every change drew it before it kept track of them.
    void forgetPreviewSources(bool whole) {
        if (whole)
            e.mode(Mode::Painter).preview.sources.drawn = false;
    }
    // The screen point that shows picture position (x, y).
    void pointAtPicture(float x, float y) {
        const CanvasPlacement p = canvasPlacement(e, Mode::Painter);
        e.input.mouseX = int(p.imageLeft + (x - p.offsetX) * p.zoom);
        e.input.mouseY = int(p.imageTop + (y - p.offsetY) * p.zoom);
    }
    // A short pencil stroke: press, three moves of 8 pixels, all painted; the release is left to
    // the caller.
    void strokeWithoutRelease(float x, float y) {
        e.currentTool = Tool::Pencil;
        pointAtPicture(x, y);
        e.input.mouseDown = true;
        paint();
        for (int step = 1; step <= 3; ++step) {
            pointAtPicture(x + 8.0f * float(step), y + 3.0f * float(step));
            paint();
        }
        e.input.mouseDown = false;
    }
    // The press on the row of layer `index` of the Painter's list, and its release.
    void clickLayerRow(int index) {
        const ColumnLayout c = layoutOf(e, Mode::Painter).column;
        e.input.mouseX = c.listArea.x + 120;
        e.input.mouseY = c.listBottom - 40 - 40 * index + 20;
        e.input.mouseDown = true;
    }
};

// One memcpy of a layer of the side, timed on buffers already written once.
double memcpyMilliseconds(int side) {
    const size_t bytes = size_t(side) * size_t(side) * 4;
    std::vector<uint8_t> from(bytes, 1), to(bytes, 2);
    double best = 1e30;
    for (int i = 0; i < 5; ++i) {
        const auto t0 = Clock::now();
        std::memcpy(to.data(), from.data(), bytes);
        benchmark::DoNotOptimize(to.data());
        benchmark::ClobberMemory();
        best = std::min(best, millisecondsSince(t0));
    }
    return best;
}

// Every pixel of every layer read once.
double readAllLayersMilliseconds(const Document& picture) {
    double best = 1e30;
    for (int i = 0; i < 3; ++i) {
        const auto t0 = Clock::now();
        uint64_t sums[4] = {};
        for (const Layer& layer : picture.current().layers()) {
            const Bitmap& image = layer.image;
            const int height = image.height(), words = image.width() / 2;
            for (int y = 0; y < height; ++y) {
                const uint64_t* row = reinterpret_cast<const uint64_t*>(image.row(y));
                for (int x = 0; x + 4 <= words; x += 4)
                    for (int k = 0; k < 4; ++k)
                        sums[k] += row[x + k];
            }
        }
        benchmark::DoNotOptimize(sums);
        best = std::min(best, millisecondsSince(t0));
    }
    return best;
}

void report(benchmark::State& state, double totalMs, int side) {
    const double memcpyMs = memcpyMilliseconds(side);
    const double caseMs = totalMs / double(std::max<int64_t>(state.iterations(), 1));
    state.counters["case_ms"] = caseMs;
    state.counters["memcpy_ms"] = memcpyMs;
    state.counters["to_memcpy"] = caseMs / memcpyMs;
}

// The reduced drawings the canvas keeps between paints dropped, so that the next paint reduces
// every layer it draws afresh, as each paint did before they were kept. Not inlined, so that
// callgrind can dump the case's counts before it (--dump-before).
[[gnu::noinline]] void dropKeptViews(BigPicture& b) {
    for (Layer& layer : b.e.picture()->current().layers())
        layer.reductions.keptView().pixels = Bitmap();
    b.e.painter.caches.below.reductions.keptView().pixels = Bitmap();
    b.e.painter.caches.above.reductions.keptView().pixels = Bitmap();
}

void paintAtZoom(benchmark::State& state, int zoomIndex) {
    const int side = int(state.range(0));
    BigPicture b(side, zoomIndex);
    b.pointAtPicture(float(side) / 3, float(side) / 3); // over the canvas, button up
    double total = 0;
    for (auto _ : state) {
        const double ms = b.timedPaint();
        total += ms;
        state.SetIterationTime(ms / 1000);
    }
    report(state, total, side);
    // The baseline of the kept drawings: the same paint reducing afresh (median of 5).
    std::vector<double> afresh;
    for (int i = 0; i < 5; ++i) {
        dropKeptViews(b);
        afresh.push_back(b.timedPaint());
    }
    std::sort(afresh.begin(), afresh.end());
    state.counters["afresh_ms"] = afresh[2];
    state.counters["to_afresh"] = state.counters["case_ms"] / afresh[2];
}

// A paint while a stroke crosses the picture: each paint draws the next piece.
void strokePaintAtZoom(benchmark::State& state, int zoomIndex) {
    const int side = int(state.range(0));
    BigPicture b(side, zoomIndex);
    b.e.currentTool = Tool::Pencil;
    const RectF inView = canvasPlacement(b.e, Mode::Painter).source;
    b.pointAtPicture(inView.x + inView.w * 0.1f, inView.y + inView.h / 2);
    b.e.input.mouseDown = true;
    b.paint();
    double total = 0;
    int step = 0;
    const RectF shown = canvasPlacement(b.e, Mode::Painter).source;
    for (auto _ : state) {
        ++step;
        // Across the part of the picture in view, a little up and down.
        b.pointAtPicture(shown.x + shown.w * (0.1f + 0.8f * float(step % 200) / 200),
                         shown.y + shown.h / 2 + float(step % 7) * 4);
        const double ms = b.timedPaint();
        total += ms;
        state.SetIterationTime(ms / 1000);
    }
    if (!b.e.stroke.strokeActive)
        state.SkipWithError("the stroke ended");
    report(state, total, side);
}

void BM_PaintAtZoomTenth(benchmark::State& state) {
    paintAtZoom(state, zoomIndexTenth);
}
void BM_PaintAtZoomHalf(benchmark::State& state) {
    paintAtZoom(state, zoomIndexHalf);
}
void BM_StrokePaintAtZoomTenth(benchmark::State& state) {
    strokePaintAtZoom(state, zoomIndexTenth);
}
void BM_StrokePaintAtZoomHalf(benchmark::State& state) {
    strokePaintAtZoom(state, zoomIndexHalf);
}

// The baseline of a case that updates the preview where the layers changed: the same case with
// the preview drawn whole each time, as it was before (median of 5), reported as whole_ms and
// to_whole. `once(i, whole)` runs the case once and returns its time.
// Not inlined, so that callgrind can dump the case's counts before it (--dump-before).
template <class Case>
[[gnu::noinline]] void wholePreviewBaseline(benchmark::State& state, Case once) {
    std::vector<double> whole;
    for (int i = 0; i < 5; ++i)
        whole.push_back(once(i, true));
    std::sort(whole.begin(), whole.end());
    state.counters["whole_ms"] = whole[2];
    state.counters["to_whole"] = state.counters["case_ms"] / whole[2];
}

// The paint that sees the button up (commit: lock, thumbnail, undo state) and the paint after
// it (the preview brought up to date).
void strokeEndAtZoom(benchmark::State& state, int zoomIndex) {
    const int side = int(state.range(0));
    BigPicture b(side, zoomIndex);
    auto once = [&b](int i, bool whole) {
        b.strokeWithoutRelease(100 + float(i % 10) * 60, 100 + float(i % 13) * 40);
        b.forgetPreviewSources(whole);
        return b.timedPaint() + b.timedPaint();
    };
    double total = 0;
    int i = 0;
    for (auto _ : state) {
        const double ms = once(i++, false);
        total += ms;
        state.SetIterationTime(ms / 1000);
    }
    report(state, total, side);
    wholePreviewBaseline(state, once);
}

void BM_StrokeEndAtZoomOne(benchmark::State& state) {
    strokeEndAtZoom(state, zoomIndexOne);
}
// The same with the whole picture in view (zoom 0.1), where the preview and the canvas both
// draw reduced.
void BM_StrokeEndAtFitZoom(benchmark::State& state) {
    strokeEndAtZoom(state, zoomIndexTenth);
}

// After a stroke, the paint that sees the undo key and the paint after it.
void BM_UndoStrokeAtZoomOne(benchmark::State& state) {
    const int side = int(state.range(0));
    BigPicture b(side, zoomIndexOne);
    auto once = [&b](int i, bool whole) {
        b.strokeWithoutRelease(100 + float(i % 10) * 60, 100 + float(i % 13) * 40);
        b.paint();
        b.paint();
        b.e.input.lastChar = ',';
        b.forgetPreviewSources(whole);
        return b.timedPaint() + b.timedPaint();
    };
    double total = 0;
    int i = 0;
    for (auto _ : state) {
        const double ms = once(i++, false);
        total += ms;
        state.SetIterationTime(ms / 1000);
    }
    report(state, total, side);
    wholePreviewBaseline(state, once);
}

// A paint whose preview is out of date.
void BM_PreviewRebuildPaint(benchmark::State& state) {
    const int side = int(state.range(0));
    BigPicture b(side, zoomIndexOne);
    double total = 0;
    for (auto _ : state) {
        b.e.mode(Mode::Painter).previewUpToDate = false;
        const double ms = b.timedPaint();
        total += ms;
        state.SetIterationTime(ms / 1000);
    }
    report(state, total, side);
}

// A press on another layer's row (the current layer changes there) and the paint after it,
// at zoom 1 and with the whole picture in view.
void switchLayer(benchmark::State& state, int zoomIndex) {
    const int side = int(state.range(0));
    BigPicture b(side, zoomIndex);
    double total = 0;
    int i = 0;
    for (auto _ : state) {
        b.clickLayerRow(i % 2 == 0 ? startLayer + 1 : startLayer);
        ++i;
        double ms = b.timedPaint();
        b.e.input.mouseDown = false;
        ms += b.timedPaint();
        total += ms;
        state.SetIterationTime(ms / 1000);
    }
    if (b.e.picture()->current().currentLayerIndex() != startLayer)
        state.SkipWithError("the presses did not switch the layer");
    report(state, total, side);
    const double readAll = readAllLayersMilliseconds(*b.e.picture());
    state.counters["read_all_ms"] = readAll;
    state.counters["to_read_all"] = state.counters["case_ms"] / readAll;
}

void BM_SwitchLayerAtZoomOne(benchmark::State& state) {
    switchLayer(state, zoomIndexOne);
}
void BM_SwitchLayerAtZoomTenth(benchmark::State& state) {
    switchLayer(state, zoomIndexTenth);
}

// A paint at every zoom step below 100 % that is not a power of two: 0.3 to 0.9 (the second
// argument, the zoom in tenths), on 4096 and 5000 pixel sides; and the 1024 picture at 0.6,
// the zoom that fits it into the window.
void BM_PaintAtZoomStep(benchmark::State& state) {
    paintAtZoom(state, int(state.range(1)) - 1);
}

void zoomSteps(benchmark::internal::Benchmark* b) {
    for (int side : {4096, 5000})
        for (int tenths = 3; tenths <= 9; ++tenths)
            b->Args({side, tenths});
    b->Args({1024, 6});
    b->Args({5000, 1}); // the zoom that fits 5000 pixels, 0.1
    b->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(20);
}

void sizes(benchmark::internal::Benchmark* b) {
    b->Arg(1024)->Arg(4096)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(20);
}

} // namespace

BENCHMARK(BM_PaintAtZoomTenth)->Apply(sizes);
BENCHMARK(BM_PaintAtZoomHalf)->Apply(sizes);
BENCHMARK(BM_PaintAtZoomStep)->Apply(zoomSteps);
BENCHMARK(BM_StrokePaintAtZoomTenth)->Apply(sizes);
BENCHMARK(BM_StrokePaintAtZoomHalf)->Apply(sizes);
BENCHMARK(BM_StrokeEndAtZoomOne)->Apply(sizes);
BENCHMARK(BM_StrokeEndAtFitZoom)
    ->Arg(5000)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(20);
BENCHMARK(BM_UndoStrokeAtZoomOne)->Apply(sizes);
BENCHMARK(BM_PreviewRebuildPaint)->Apply(sizes);
BENCHMARK(BM_SwitchLayerAtZoomOne)->Apply(sizes);
BENCHMARK(BM_SwitchLayerAtZoomTenth)->Apply(sizes);
