// SPDX-License-Identifier: GPL-3.0-or-later
// GIF import and frames export of an animation of 100 frames of 300 x 264, each against the
// bare Qt work on the same frames in the same iterations: ratio_to_qt_decode is the import's
// time over decoding every frame with a QImageReader, ratio_to_qt_write the export's time over
// writing every frame image with a QImageWriter.
#include "files/ImageExport.h"
#include "files/ImageImport.h"
#include "support/GifWriter.h"
#include "support/QtImages.h"
#include "support/TempDir.h"

#include <QImageReader>
#include <QImageWriter>
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

// A walk cycle as a GIF holds one: a sky gradient in bands, a ground strip, and a figure of a
// few colours that moves along with every frame, a transparent hole in the sky.
std::vector<test::GifFrame> walkFrames() {
    std::vector<test::GifFrame> list;
    for (int i = 0; i < frames; ++i) {
        const int cx = 20 + (i * 5) % 260, cy = 180 + int(8 * std::sin(i * 0.7));
        list.push_back(test::fullFrame(width, height, [&](int x, int y) {
            if (y > 220)
                return 8 + (x / 6 + y / 6) % 2;
            const int dx = x - cx, dy = y - cy;
            if (dx * dx + dy * dy < 400)
                return 10 + (dx * dx + dy * dy) / 100;
            if (x > 250 && y < 30)
                return 15;
            return y / 28;
        }));
        list.back().transparentIndex = 15;
    }
    return list;
}

std::vector<Color> walkPalette() {
    std::vector<Color> palette;
    for (int i = 0; i < 8; ++i)
        palette.push_back(Color::rgb(40 + 20 * i, 90 + 15 * i, 230));
    palette.push_back(Color::rgb(60, 140, 40));
    palette.push_back(Color::rgb(80, 160, 50));
    for (int i = 0; i < 5; ++i)
        palette.push_back(Color::rgb(200 - 30 * i, 50, 40 + 20 * i));
    palette.push_back(Color::rgb(0, 0, 0));
    return palette;
}

struct WalkGif {
    test::TempDir dir;
    std::string path = dir.file("walk.gif");
    WalkGif() { test::writeGif(path, width, height, walkPalette(), walkFrames()); }
};

const WalkGif& walkGif() {
    static const WalkGif gif;
    return gif;
}

int bareQtDecode(const std::string& path) {
    QImageReader reader(QString::fromStdString(path));
    QImage image;
    int n = 0;
    while (reader.read(&image))
        ++n;
    return n;
}

void BM_GifImport(benchmark::State& state) {
    const std::string& path = walkGif().path;
    double importSeconds = 0, qtSeconds = 0;
    for (auto _ : state) {
        const auto t0 = Clock::now();
        ImportedDocument imported = importGif(path);
        const double import = secondsSince(t0);
        if (!imported || imported.document->frameCount() != frames) {
            state.SkipWithError("the import failed");
            return;
        }
        imported.document.reset(); // not timed: the decode below keeps nothing either
        const auto t1 = Clock::now();
        benchmark::DoNotOptimize(bareQtDecode(path));
        qtSeconds += secondsSince(t1);
        importSeconds += import;
        state.SetIterationTime(import);
    }
    state.counters["ratio_to_qt_decode"] = qtSeconds > 0 ? importSeconds / qtSeconds : 0;
    state.counters["qt_decode_ms"] = qtSeconds * 1000 / double(state.iterations());
}

void BM_FramesExport(benchmark::State& state) {
    ImportedDocument imported = importGif(walkGif().path);
    if (!imported) {
        state.SkipWithError("the import failed");
        return;
    }
    const Document& animation = *imported.document;
    test::TempDir out;
    double exportSeconds = 0, qtSeconds = 0;
    for (auto _ : state) {
        const auto t0 = Clock::now();
        const ExportResult result =
            exportFramesPng(animation, out.file("walk.png"), SingleLayerView::Off);
        const double exported = secondsSince(t0);
        if (!result || int(result.written.size()) != frames) {
            state.SkipWithError("the export failed");
            return;
        }
        const auto t1 = Clock::now();
        for (int i = 0; i < frames; ++i) {
            QImageWriter writer(
                QString::fromStdString(out.file("bare" + std::to_string(i) + ".png")), "png");
            benchmark::DoNotOptimize(
                writer.write(test::qtImageOf(animation.frame(i).layer(0).image)));
        }
        qtSeconds += secondsSince(t1);
        exportSeconds += exported;
        state.SetIterationTime(exported);
    }
    state.counters["ratio_to_qt_write"] = qtSeconds > 0 ? exportSeconds / qtSeconds : 0;
    state.counters["qt_write_ms"] = qtSeconds * 1000 / double(state.iterations());
}

} // namespace

BENCHMARK(BM_GifImport)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_FramesExport)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(2.0);
