// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Helpers for the picture and animation file tests: seeded random documents, a field-by-field
// comparison, and a byte builder that spells files out independently of the writers.
#include "files/DocumentRead.h"
#include "model/Document.h"
#include "model/Palette.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <memory>
#include <random>
#include <span>
#include <string>
#include <vector>

namespace vork::test {

// Builds a file byte by byte: 32-bit little-endian integers, runs (end, B, G, R, A).
struct FileBuilder {
    std::vector<uint8_t> bytes;

    FileBuilder& text(const std::string& s) {
        bytes.insert(bytes.end(), s.begin(), s.end());
        return *this;
    }
    FileBuilder& int32(int32_t v) {
        for (int k = 0; k < 4; ++k)
            bytes.push_back(uint8_t(uint32_t(v) >> (8 * k)));
        return *this;
    }
    FileBuilder& byte4(int a, int b, int c, int d) {
        bytes.insert(bytes.end(), {uint8_t(a), uint8_t(b), uint8_t(c), uint8_t(d)});
        return *this;
    }
    FileBuilder& run(int32_t end, Color c) { return int32(end).byte4(c.b(), c.g(), c.r(), c.a()); }
    // Magic, delay, size and a palette whose entry i is (A, R, G, B) = (i, i+1, i+2, i+3).
    FileBuilder& header(const std::string& magic, int32_t delay, int32_t w, int32_t h) {
        text(magic).int32(delay).int32(w).int32(h);
        for (int i = 0; i < smallPaletteSize; ++i)
            byte4(i, i + 1, i + 2, i + 3);
        return *this;
    }
    std::span<const uint8_t> span() const { return bytes; }
};

inline std::vector<PaletteEntry> randomPalette(std::mt19937& rng) {
    auto palette = makePalette(smallPaletteSize);
    for (auto& e : palette)
        e.color = Color(uint32_t(rng()));
    return palette;
}

// Stretches of one colour, stretches of noise, and fully transparent pixels whose colour bytes
// differ, so every kind of run boundary appears.
inline void fillRandomPixels(Bitmap& image, std::mt19937& rng) {
    const int count = image.width() * image.height();
    uint32_t* pixels = image.row(0);
    for (int i = 0; i < count;) {
        const int length = std::min(count - i, int(rng() % 40) + 1);
        const uint32_t kind = rng() % 4;
        const uint32_t colour = uint32_t(rng());
        for (int k = 0; k < length; ++k, ++i) {
            switch (kind) {
            case 0: // one colour
                pixels[i] = colour;
                break;
            case 1: // noise
                pixels[i] = uint32_t(rng());
                break;
            case 2: // transparent, colour bytes vary
                pixels[i] = uint32_t(rng()) & 0x00FFFFFFu;
                break;
            default: // transparent, the same colour bytes
                pixels[i] = colour & 0x00FFFFFFu;
                break;
            }
        }
    }
}

inline void randomizeLayer(Layer& layer, std::mt19937& rng) {
    layer.visible = rng() % 2 == 0;
    layer.opacity = int(rng() % 256);
    fillRandomPixels(layer.image, rng);
}

// A picture of one frame with 1..maxLayers layers, some deleted on the way so ids have gaps.
inline std::unique_ptr<Document> randomPicture(std::mt19937& rng, int maxSide, int maxLayers) {
    const int w = int(rng() % maxSide) + 1, h = int(rng() % maxSide) + 1;
    auto picture = std::make_unique<Document>(w, h, 0.0);
    picture->defaultDelay = double(int(rng() % 2000) - 1000) + 0.75;
    Frame& frame = picture->current();
    const int layers = int(rng() % maxLayers) + 1;
    for (int k = 1; k < layers; ++k) {
        frame.appendLayer();
        if (rng() % 3 == 0 && frame.layerCount() > 1) {
            frame.deleteLayer(int(rng() % frame.layerCount()));
            frame.appendLayer();
        }
    }
    for (Layer& layer : frame.layers())
        randomizeLayer(layer, rng);
    frame.setCurrentLayer(int(rng() % frame.layerCount()));
    return picture;
}

inline std::unique_ptr<Document> randomAnimation(std::mt19937& rng, int maxSide, int maxFrames,
                                                 int maxLayers) {
    const int w = int(rng() % maxSide) + 1, h = int(rng() % maxSide) + 1;
    auto animation = std::make_unique<Document>(w, h, 100.0);
    animation->defaultDelay = double(rng() % 500) + 0.5;
    const int frames = int(rng() % maxFrames) + 1;
    for (int j = 1; j < frames; ++j)
        animation->insertFrameAfter(animation->currentFrameIndex());
    for (Frame& frame : animation->frames()) {
        const int layers = int(rng() % maxLayers) + 1;
        for (int k = 1; k < layers; ++k)
            frame.insertLayerBefore(int(rng() % frame.layerCount()));
        for (Layer& layer : frame.layers())
            randomizeLayer(layer, rng);
        frame.delay = double(rng() % 1000) + 0.9;
        frame.enabled = rng() % 3 != 0;
        frame.setCurrentLayer(int(rng() % frame.layerCount()));
    }
    animation->setCurrentFrame(int(rng() % animation->frameCount()));
    return animation;
}

inline bool samePixelBytes(const Bitmap& a, const Bitmap& b) {
    return a.sameSize(b) &&
           std::memcmp(a.bytes(), b.bytes(), size_t(a.width()) * size_t(a.height()) * 4) == 0;
}

// Compares what the file keeps of `saved` with `read`, and the positions a read gives.
inline void expectReadBack(const Document& saved, const Document& read, DocumentFileFormat format) {
    const bool animation = format == DocumentFileFormat::Animation;
    ASSERT_EQ(read.width, saved.width);
    ASSERT_EQ(read.height, saved.height);
    EXPECT_EQ(read.defaultDelay, std::trunc(saved.defaultDelay));
    ASSERT_EQ(read.frameCount(), saved.frameCount());
    EXPECT_EQ(read.currentFrameIndex(), read.frameCount() - 1);
    for (int j = 0; j < saved.frameCount(); ++j) {
        SCOPED_TRACE("frame " + std::to_string(j));
        const Frame& s = saved.frame(j);
        const Frame& r = read.frame(j);
        ASSERT_EQ(r.layerCount(), s.layerCount());
        EXPECT_EQ(r.currentLayerIndex(), r.layerCount() - 1);
        EXPECT_EQ(r.enabled, s.enabled);
        EXPECT_EQ(r.layerCounter, animation ? s.layerCount() : s.layerCounter);
        if (animation) {
            EXPECT_EQ(r.delay, std::trunc(s.delay));
        }
        EXPECT_EQ(r.width, float(saved.width));
        EXPECT_EQ(r.height, float(saved.height));
        for (int k = 0; k < s.layerCount(); ++k) {
            SCOPED_TRACE("layer " + std::to_string(k));
            EXPECT_EQ(r.layer(k).id, animation ? k + 1 : s.layer(k).id);
            EXPECT_EQ(r.layer(k).visible, s.layer(k).visible);
            EXPECT_EQ(r.layer(k).opacity, s.layer(k).opacity);
            EXPECT_TRUE(samePixelBytes(r.layer(k).image, s.layer(k).image));
        }
    }
}

inline void expectSameColours(const std::vector<PaletteEntry>& read,
                              const std::vector<PaletteEntry>& saved) {
    ASSERT_EQ(read.size(), size_t(smallPaletteSize));
    for (size_t i = 0; i < read.size(); ++i) {
        EXPECT_EQ(read[i].id, int(i));
        EXPECT_EQ(read[i].color, saved[i].color) << "entry " << i;
    }
}

} // namespace vork::test
