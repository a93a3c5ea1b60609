// SPDX-License-Identifier: GPL-3.0-or-later
// Saving and opening an animation file (encoding to bytes and decoding them) against a memcpy
// of the same pixel bytes in the same run: 200 frames of 300 x 264 with 3 layers, once with
// sprite-like content (long runs) and once with noise (a run per pixel).
#include "files/AnimationFile.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstring>
#include <memory>
#include <random>

using namespace vork;

namespace {

constexpr int frames = 200, layers = 3, width = 300, height = 264;

enum class Content { Sprite, Noise };

// A few solid shapes on a transparent ground, moving from frame to frame.
void drawSprite(Bitmap& image, int frame, int layer) {
    const uint32_t colours[] = {0xFF2040C0u, 0xFFE0C020u, 0x80FF00FFu, 0xFF000000u};
    for (int s = 0; s < 4; ++s) {
        const int x0 = (frame * 3 + s * 70 + layer * 20) % (width - 60);
        const int y0 = (frame * 2 + s * 50 + layer * 30) % (height - 50);
        for (int y = y0; y < y0 + 50; ++y) {
            uint32_t* row = image.row(y);
            for (int x = x0; x < x0 + 60; ++x)
                row[x] = colours[(s + layer) % 4];
        }
    }
}

void drawNoise(Bitmap& image, std::mt19937& rng) {
    for (int y = 0; y < height; ++y) {
        uint32_t* row = image.row(y);
        for (int x = 0; x < width; ++x)
            row[x] = uint32_t(rng()) | 1u; // neighbours almost never match
    }
}

std::unique_ptr<Document> makeAnimation(Content content) {
    auto animation = std::make_unique<Document>(width, height, 100.0);
    std::mt19937 rng(42);
    for (int j = 0; j < frames; ++j) {
        if (j > 0)
            animation->insertFrameAfter(animation->currentFrameIndex());
        Frame& frame = animation->current();
        for (int k = 1; k < layers; ++k)
            frame.appendLayer();
        for (int k = 0; k < layers; ++k) {
            if (content == Content::Sprite)
                drawSprite(frame.layer(k).image, j, k);
            else
                drawNoise(frame.layer(k).image, rng);
        }
    }
    return animation;
}

double secondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

void copyAllPixels(const Document& animation, uint8_t* out) {
    const size_t layerBytes = size_t(width) * height * 4;
    for (const Frame& frame : animation.frames())
        for (const Layer& layer : frame.layers()) {
            std::memcpy(out, layer.image.bytes(), layerBytes);
            out += layerBytes;
        }
}

// Each iteration copies the pixels twice, saves and opens. A save and an open both fill new
// memory (the file's bytes, the new document's layers), so the main baseline copies into a newly
// allocated buffer; the copy into a buffer already in use is reported beside it. The counters
// give the save, the open and both together as multiples of a copy.
void fileRoundTrip(benchmark::State& state, Content content) {
    const auto animation = makeAnimation(content);
    const auto palette = makePalette(smallPaletteSize);
    const size_t pixelBytes = size_t(frames) * layers * width * height * 4;
    std::vector<uint8_t> warm(pixelBytes, 1);
    double freshCopySeconds = 0, warmCopySeconds = 0, saveSeconds = 0, openSeconds = 0;
    size_t fileBytes = 0;
    for (auto _ : state) {
        auto start = std::chrono::steady_clock::now();
        std::unique_ptr<uint8_t[]> fresh(new uint8_t[pixelBytes]);
        copyAllPixels(*animation, fresh.get());
        benchmark::DoNotOptimize(fresh.get());
        benchmark::ClobberMemory();
        freshCopySeconds += secondsSince(start);

        start = std::chrono::steady_clock::now();
        copyAllPixels(*animation, warm.data());
        benchmark::ClobberMemory();
        warmCopySeconds += secondsSince(start);

        start = std::chrono::steady_clock::now();
        const auto bytes = encodeAnimation(*animation, palette);
        saveSeconds += secondsSince(start);

        start = std::chrono::steady_clock::now();
        const auto read = decodeAnimation(bytes);
        openSeconds += secondsSince(start);
        if (!read)
            state.SkipWithError("the animation did not read back");
        fileBytes = bytes.size();
    }
    state.counters["save_x_memcpy"] = saveSeconds / freshCopySeconds;
    state.counters["open_x_memcpy"] = openSeconds / freshCopySeconds;
    state.counters["save_open_x_memcpy"] = (saveSeconds + openSeconds) / freshCopySeconds;
    state.counters["save_x_warm_memcpy"] = saveSeconds / warmCopySeconds;
    state.counters["open_x_warm_memcpy"] = openSeconds / warmCopySeconds;
    state.counters["file_MiB"] = double(fileBytes) / (1 << 20);
    state.counters["memcpy_ms"] = 1000 * freshCopySeconds / double(state.iterations());
    state.counters["warm_memcpy_ms"] = 1000 * warmCopySeconds / double(state.iterations());
}

void BM_AnimationFileSprites(benchmark::State& state) {
    fileRoundTrip(state, Content::Sprite);
}
void BM_AnimationFileNoise(benchmark::State& state) {
    fileRoundTrip(state, Content::Noise);
}

BENCHMARK(BM_AnimationFileSprites)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_AnimationFileNoise)->Unit(benchmark::kMillisecond)->MinTime(2.0);

} // namespace
