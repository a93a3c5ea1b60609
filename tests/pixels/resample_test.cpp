// SPDX-License-Identifier: GPL-3.0-or-later
// Resampling with the three interpolations: known values, constant images, transparent edges.
#include "pixels/Resample.h"
#include "support/PixelChecks.h"

#include <gtest/gtest.h>

#include <array>

using namespace vork;

namespace {

constexpr std::array<Interpolation, 3> allInterpolations = {
    Interpolation::NearestNeighbor, Interpolation::Bilinear, Interpolation::Bicubic};

const char* nameOf(Interpolation i) {
    switch (i) {
    case Interpolation::NearestNeighbor:
        return "nearest";
    case Interpolation::Bilinear:
        return "bilinear";
    case Interpolation::Bicubic:
        return "bicubic";
    }
    return "?";
}

// Red 0 in the left column and 255 in the right one, green 0 in the top row and 255 in the
// bottom one, blue 128: each axis of the result shows one channel.
Bitmap twoByTwoRamp() {
    Bitmap b(2, 2);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 2; ++x)
            b.setPixel(x, y, Color::rgb(255 * x, 255 * y, 128));
    return b;
}

// Doubling [0, 255] puts the new centres at -0.25, 0.25, 0.75 and 1.25 source pixels.
// Linear: 0.25 x 255 = 63.75 and 0.75 x 255 = 191.25. Catmull-Rom at 0.25: the right pixel
// weighs k(0.75) + k(1.75) = 0.2265625 - 0.0234375 = 0.203125, so 51.8; at 0.75 it is 203.2;
// at -0.25 and 1.25 the overshoot (-17.9 and 272.9) is clamped to 0 and 255.
void expectDoubledRamp(Interpolation interpolation, std::array<int, 4> expected) {
    const Bitmap out = resampled(twoByTwoRamp(), 4, 4, interpolation);
    ASSERT_EQ(out.width(), 4);
    ASSERT_EQ(out.height(), 4);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x)
            EXPECT_EQ(out.pixel(x, y), Color::rgb(expected[size_t(x)], expected[size_t(y)], 128))
                << nameOf(interpolation) << " at " << x << ", " << y;
}

} // namespace

TEST(Resample, TwoByTwoToFourByFourGivesTheKnownValuesOfEachFilter) {
    expectDoubledRamp(Interpolation::NearestNeighbor, {0, 0, 255, 255});
    expectDoubledRamp(Interpolation::Bilinear, {0, 64, 191, 255});
    expectDoubledRamp(Interpolation::Bicubic, {0, 52, 203, 255});
}

TEST(Resample, NearestTakesThePixelUnderEachCentre) {
    Bitmap row(8, 1);
    for (int x = 0; x < 8; ++x)
        row.setPixel(x, 0, Color::rgb(x, 0, 0));
    // Centres at 1.33, 4.0 and 6.67 source pixels: 4.0 lies on a border and takes column 4.
    const Bitmap three = resampled(row, 3, 1, Interpolation::NearestNeighbor);
    EXPECT_EQ(three.pixel(0, 0).r(), 1);
    EXPECT_EQ(three.pixel(1, 0).r(), 4);
    EXPECT_EQ(three.pixel(2, 0).r(), 6);
    const Bitmap five = resampled(row, 5, 1, Interpolation::NearestNeighbor);
    for (int x = 0; x < 5; ++x)
        EXPECT_EQ(five.pixel(x, 0).r(), (2 * x + 1) * 8 / 10) << x;
}

TEST(Resample, NearestCopiesTranslucentAndInvisibleColoursExactly) {
    Bitmap b(2, 1);
    b.setPixel(0, 0, Color::fromArgb(1, 255, 255, 255));
    b.setPixel(1, 0, Color::fromArgb(0, 0, 255, 0));
    const Bitmap out = resampled(b, 4, 2, Interpolation::NearestNeighbor);
    for (int y = 0; y < 2; ++y) {
        EXPECT_EQ(out.pixel(1, y), Color::fromArgb(1, 255, 255, 255));
        EXPECT_EQ(out.pixel(2, y), Color::fromArgb(0, 0, 255, 0));
    }
}

TEST(Resample, AConstantImageStaysConstantEnlargedAndReduced) {
    for (Color c : {Color::rgb(200, 100, 50), Color::fromArgb(128, 200, 100, 50)}) {
        Bitmap b(7, 5);
        b.fill(c);
        for (Interpolation i : allInterpolations)
            for (auto [w, h] : {std::pair{13, 11}, std::pair{3, 2}, std::pair{20, 3}}) {
                const Bitmap out = resampled(b, w, h, i);
                EXPECT_EQ(test::countPixels(out, c), w * h)
                    << nameOf(i) << " to " << w << " x " << h << " of " << std::hex << c.argb;
            }
    }
}

TEST(Resample, TransparentNeighboursLendNoColourToAnEdge) {
    // Opaque red on the left, on the right transparent pixels whose colour bytes are green:
    // filtering plain (not premultiplied) colour would blend green or black into the edge.
    Bitmap b(8, 8);
    test::paintRect(b, {0, 0, 4, 8}, test::red);
    test::paintRect(b, {4, 0, 4, 8}, Color::fromArgb(0, 0, 255, 0));
    for (Interpolation i : allInterpolations)
        for (auto [w, h] : {std::pair{21, 19}, std::pair{3, 3}, std::pair{5, 8}}) {
            const Bitmap out = resampled(b, w, h, i);
            int translucent = 0;
            for (int y = 0; y < h; ++y)
                for (int x = 0; x < w; ++x) {
                    const Color c = out.pixel(x, y);
                    if (c.a() == 0) {
                        // Nearest copies pixels as they are; the filters clear invisible colour.
                        const Color invisible = i == Interpolation::NearestNeighbor
                                                    ? Color::fromArgb(0, 0, 255, 0)
                                                    : colors::transparent;
                        EXPECT_EQ(c, invisible) << nameOf(i) << " at " << x;
                    } else {
                        EXPECT_EQ(c.withAlpha(255), test::red) << nameOf(i) << " at " << x;
                    }
                    translucent += c.a() != 0 && c.a() != 255;
                }
            if (i != Interpolation::NearestNeighbor) {
                EXPECT_GT(translucent, 0) << nameOf(i) << ": the edge was blended";
            }
        }
}
