// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/ComposeRow.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

using namespace vork;

namespace {

// A row of plain pixels in runs: transparent, opaque and translucent stretches of random
// lengths, so that the vector forms meet whole runs, mixed runs and tails.
std::vector<uint32_t> runsOfPixels(std::mt19937& rng, int n) {
    std::vector<uint32_t> row(static_cast<size_t>(n));
    int x = 0;
    while (x < n) {
        const int kind = int(rng() % 4), length = 1 + int(rng() % 40);
        for (int k = 0; k < length && x < n; ++k, ++x) {
            const uint32_t colour = rng() & 0x00FFFFFFu;
            const uint32_t alpha = kind == 0 ? 0u : kind == 1 ? 255u : 1u + rng() % 254;
            row[size_t(x)] = (alpha << 24) | colour;
        }
    }
    return row;
}

// Premultiplied pixels (colour at most alpha), a third of them empty.
std::vector<uint32_t> premultipliedRow(std::mt19937& rng, int n) {
    std::vector<uint32_t> row(static_cast<size_t>(n));
    for (auto& p : row) {
        if (rng() % 3 == 0)
            continue;
        const uint32_t a = rng() % 256;
        auto channel = [&] { return a == 0 ? 0u : uint32_t(rng() % (a + 1)); };
        p = (a << 24) | (channel() << 16) | (channel() << 8) | channel();
    }
    return row;
}

} // namespace

TEST(ComposeRow, EveryInstructionSetGivesThePortableBytes) {
    std::mt19937 rng(11);
    int compared = 0;
    for (int round = 0; round < 60; ++round) {
        const int n = 1 + int(rng() % 300);
        const std::vector<uint32_t> in = runsOfPixels(rng, n);
        const std::vector<uint32_t> start = premultipliedRow(rng, n);
        for (uint32_t opacity : {255u, 254u, 128u, 1u}) {
            std::vector<uint32_t> expected = start;
            ASSERT_TRUE(
                composeRowWith(RowInstructions::Portable, expected.data(), in.data(), n, opacity));
            for (RowInstructions with : {RowInstructions::Sse2, RowInstructions::Avx2}) {
                std::vector<uint32_t> got = start;
                if (!composeRowWith(with, got.data(), in.data(), n, opacity))
                    continue; // not on this processor
                ++compared;
                ASSERT_EQ(got, expected)
                    << "round " << round << " opacity " << opacity << " instructions " << int(with);
            }
        }
    }
    EXPECT_GT(compared, 0) << "no vector form ran";
}

TEST(ComposeRow, AFullyOpaquePixelReplacesAndATransparentOneLeavesAlone) {
    std::vector<uint32_t> out{0x80402010u, 0x80402010u, 0u};
    const std::vector<uint32_t> in{0xFF123456u, 0x00FFFFFFu, 0x80FF0000u};
    composeRow(out.data(), in.data(), 3, 255);
    EXPECT_EQ(out[0], 0xFF123456u);
    EXPECT_EQ(out[1], 0x80402010u);
    EXPECT_EQ(out[2], 0x80800000u) << "red at alpha 128 premultiplied onto nothing";
}

TEST(UnpremultiplyRow, TurnsPremultipliedColourBackAndKeepsOpaqueAndEmptyPixels) {
    std::vector<uint32_t> row(40, 0xFF336699u);
    row[3] = 0x80402010u; // alpha 128: each channel times 255 / 128
    row[20] = 0u;
    row[39] = 0x01010101u;
    unpremultiplyRow(row.data(), int(row.size()));
    EXPECT_EQ(row[0], 0xFF336699u);
    EXPECT_EQ(row[3], 0x80804020u);
    EXPECT_EQ(row[20], 0u);
    EXPECT_EQ(row[39], 0x01FFFFFFu);
}
