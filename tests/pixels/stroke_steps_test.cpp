// SPDX-License-Identifier: GPL-3.0-or-later
#include "pixels/Pixels.h"
#include "support/PixelChecks.h"

#include <gtest/gtest.h>

using namespace vork;
using vork::test::paintedPixels;
using vork::test::PixelSet;

namespace {
constexpr Color ink = Color::rgb(0, 90, 200);
constexpr bool down = true, up = false;
} // namespace

TEST(PencilStep, FirstPointIsPutTruncatedAndNeedsNoLine) {
    StrokeState s;
    Bitmap b(20, 20);
    EXPECT_FALSE(pencilStep(s, down, 10.2f, 10.2f, b, ink));
    EXPECT_EQ(paintedPixels(b), (PixelSet{{10, 10}}));
    EXPECT_TRUE(s.strokeActive);
}

TEST(PencilStep, MovesUnderTwoPixelsDrawNothingUntilTheDistanceReachesTwo) {
    StrokeState s;
    Bitmap b(20, 20);
    pencilStep(s, down, 10.2f, 10.2f, b, ink);
    EXPECT_TRUE(pencilStep(s, down, 11.2f, 10.2f, b, ink)) << "the stroke goes on";
    EXPECT_EQ(paintedPixels(b), (PixelSet{{10, 10}})) << "distance 1.4 draws nothing";
    EXPECT_TRUE(pencilStep(s, down, 12.2f, 10.2f, b, ink));
    EXPECT_EQ(paintedPixels(b), (PixelSet{{10, 10}, {11, 10}, {12, 10}}));
    EXPECT_EQ(s.strokeLastX, 12);
    EXPECT_EQ(s.strokeLastY, 10);
}

TEST(PencilStep, DistanceIsMeasuredFromTheLastPixelToTheFractionalPointer) {
    StrokeState s;
    Bitmap b(20, 20);
    pencilStep(s, down, 10.2f, 10.2f, b, ink);
    EXPECT_TRUE(pencilStep(s, down, 11.5f, 10.5f, b, ink)); // 1.5 + 0.5 = 2.0
    EXPECT_EQ(paintedPixels(b), (PixelSet{{10, 10}, {11, 10}}));
}

TEST(PencilStep, ReleaseEndsTheStrokeAndTheNextPressStartsAfresh) {
    StrokeState s;
    Bitmap b(20, 20);
    pencilStep(s, down, 2.0f, 2.0f, b, ink);
    EXPECT_FALSE(pencilStep(s, up, 15.0f, 15.0f, b, ink));
    EXPECT_FALSE(s.strokeActive);
    EXPECT_FALSE(pencilStep(s, down, 15.0f, 15.0f, b, ink));
    EXPECT_EQ(paintedPixels(b), (PixelSet{{2, 2}, {15, 15}})) << "no line across the release";
}

TEST(PencilStep, NegativePositionsTruncateTowardZero) {
    StrokeState s;
    Bitmap b(5, 5);
    pencilStep(s, down, -0.7f, 3.9f, b, ink);
    EXPECT_EQ(paintedPixels(b), (PixelSet{{0, 3}}));
}

TEST(SmoothPencilStep, FirstDotCoversTheUnitSquareEndingAtThePointer) {
    for (Smoothing smoothing : {Smoothing::None, Smoothing::HighQuality}) {
        StrokeState s;
        Bitmap b(10, 10);
        EXPECT_FALSE(smoothPencilStep(s, down, 5.5f, 4.5f, b, ink, smoothing));
        EXPECT_EQ(paintedPixels(b), (PixelSet{{5, 4}})) << int(smoothing);
        EXPECT_EQ(b.pixel(5, 4), ink) << int(smoothing);
        EXPECT_EQ(s.strokeLastX, 5);
        EXPECT_EQ(s.strokeLastY, 4);
    }
}

TEST(SmoothPencilStep, SmoothedDotOffTheGridIsSharedByFourPixels) {
    StrokeState s;
    Bitmap b(10, 10);
    smoothPencilStep(s, down, 5.0f, 5.0f, b, ink, Smoothing::HighQuality);
    EXPECT_EQ(paintedPixels(b), (PixelSet{{4, 4}, {5, 4}, {4, 5}, {5, 5}}));
    for (auto [x, y] : paintedPixels(b)) {
        EXPECT_GT(b.pixel(x, y).a(), 0);
        EXPECT_LT(b.pixel(x, y).a(), 255);
    }
}

TEST(SmoothPencilStep, MovesUnderTwoPixelsDrawNothing) {
    StrokeState s;
    Bitmap b(12, 12);
    // The last point is (2, 5).
    smoothPencilStep(s, down, 2.5f, 5.5f, b, ink, Smoothing::HighQuality);
    const auto dot = paintedPixels(b);
    EXPECT_TRUE(smoothPencilStep(s, down, 3.2f, 5.5f, b, ink, Smoothing::HighQuality)); // 1.2 + 0.5
    EXPECT_EQ(paintedPixels(b), dot);
    EXPECT_EQ(s.strokeLastX, 2);
}

TEST(SmoothPencilStep, JoiningLineRunsThroughThePixelCentres) {
    for (Smoothing smoothing : {Smoothing::None, Smoothing::HighQuality}) {
        StrokeState s;
        Bitmap b(12, 12);
        smoothPencilStep(s, down, 2.5f, 5.5f, b, ink, smoothing);
        EXPECT_TRUE(smoothPencilStep(s, down, 8.7f, 5.2f, b, ink, smoothing));
        for (int x = 3; x < 8; ++x) {
            const Color p = b.pixel(x, 5);
            EXPECT_EQ(p.withAlpha(255), ink) << x << " smoothing " << int(smoothing);
            // Without smoothing the line is solid; smoothed, at least mostly covered.
            EXPECT_GE(p.a(), smoothing == Smoothing::HighQuality ? 128 : 255)
                << x << " smoothing " << int(smoothing);
        }
        for (int x = 0; x < 12; ++x) {
            EXPECT_EQ(b.pixel(x, 4), colors::transparent) << x << " smoothing " << int(smoothing);
            EXPECT_EQ(b.pixel(x, 6), colors::transparent) << x << " smoothing " << int(smoothing);
        }
        EXPECT_EQ(s.strokeLastX, 8);
        EXPECT_EQ(s.strokeLastY, 5);
    }
}

TEST(SmoothPencilStep, ReleaseEndsTheStroke) {
    StrokeState s;
    Bitmap b(10, 10);
    smoothPencilStep(s, down, 2.5f, 2.5f, b, ink, Smoothing::HighQuality);
    EXPECT_FALSE(smoothPencilStep(s, up, 8.5f, 8.5f, b, ink, Smoothing::HighQuality));
    EXPECT_FALSE(s.strokeActive);
    EXPECT_EQ(paintedPixels(b), (PixelSet{{2, 2}}));
}

TEST(FreehandStep, OutlineIsFilledIntoTheTargetOnRelease) {
    StrokeState s;
    Path path;
    Bitmap target(12, 12);
    EXPECT_FALSE(freehandStep(s, down, 2, 2, path, target, ink));
    EXPECT_FALSE(freehandStep(s, down, 3, 2, path, target, ink)) << "one pixel adds no line";
    EXPECT_TRUE(freehandStep(s, down, 9, 2, path, target, ink));
    EXPECT_TRUE(freehandStep(s, down, 9, 9, path, target, ink));
    EXPECT_TRUE(freehandStep(s, down, 2, 9, path, target, ink));
    EXPECT_TRUE(paintedPixels(target).empty()) << "nothing lands before the release";

    EXPECT_FALSE(freehandStep(s, up, 2, 9, path, target, ink));
    EXPECT_FALSE(s.strokeActive);
    for (int y = 3; y < 9; ++y)
        for (int x = 3; x < 9; ++x)
            EXPECT_EQ(target.pixel(x, y), ink) << x << "," << y;
    for (auto [x, y] : paintedPixels(target))
        EXPECT_EQ(target.pixel(x, y), ink) << "no anti-aliased edge at " << x << "," << y;
    EXPECT_EQ(target.pixel(0, 0), colors::transparent);
    EXPECT_EQ(target.pixel(11, 11), colors::transparent);
}

TEST(FreehandStep, ASecondReleaseDoesNotFillAgain) {
    StrokeState s;
    Path path;
    Bitmap target(12, 12);
    freehandStep(s, down, 2, 2, path, target, ink);
    freehandStep(s, down, 9, 2, path, target, ink);
    freehandStep(s, down, 9, 9, path, target, ink);
    freehandStep(s, up, 9, 9, path, target, ink);
    ASSERT_FALSE(paintedPixels(target).empty()) << "the first release fills the triangle";
    target.fill(colors::transparent);
    freehandStep(s, up, 9, 9, path, target, ink);
    EXPECT_TRUE(paintedPixels(target).empty());
}

TEST(FreehandStep, NewStrokeStartsWithANewPath) {
    StrokeState s;
    Path path;
    path.addRectangle({0, 0, 12, 12});
    Bitmap target(12, 12);
    freehandStep(s, down, 5, 5, path, target, ink);
    EXPECT_EQ(path.bounds(), (Rect{5, 5, 0, 0}));
}

TEST(StrokeSteps, NullBitmapIsLeftAlone) {
    StrokeState s;
    Bitmap none;
    Path path;
    pencilStep(s, down, 1, 1, none, ink);
    EXPECT_TRUE(pencilStep(s, down, 5, 5, none, ink));
    s = {};
    smoothPencilStep(s, down, 1, 1, none, ink, Smoothing::HighQuality);
    EXPECT_TRUE(smoothPencilStep(s, down, 5, 5, none, ink, Smoothing::HighQuality));
    s = {};
    freehandStep(s, down, 1, 1, path, none, ink);
    freehandStep(s, down, 5, 1, path, none, ink);
    freehandStep(s, down, 5, 5, path, none, ink);
    EXPECT_FALSE(freehandStep(s, up, 5, 5, path, none, ink));
    EXPECT_TRUE(none.isNull());
}
