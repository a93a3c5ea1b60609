// SPDX-License-Identifier: GPL-3.0-or-later
#include "pixels/Pixels.h"
#include "support/PixelChecks.h"

#include <gtest/gtest.h>

#include <string>

using namespace vork;
using vork::test::paintedPixels;
using vork::test::PixelSet;

namespace {
constexpr Color ink = Color::rgb(200, 10, 10);
} // namespace

TEST(SetPixel, WritesOutsideTheBitmapAreIgnored) {
    Bitmap b(3, 3);
    for (auto [x, y] : {std::pair{-1, 0}, {0, -1}, {3, 0}, {0, 3}, {1 << 30, -(1 << 30)}})
        setPixel(b, x, y, ink);
    EXPECT_TRUE(paintedPixels(b).empty());
}

TEST(PixelLine, ShallowLineStepsRowsWhereTheErrorIsPositive) {
    Bitmap b(8, 8);
    pixelLine(0, 0, 5, 2, b, ink);
    EXPECT_EQ(paintedPixels(b), (PixelSet{{0, 0}, {1, 0}, {2, 1}, {3, 1}, {4, 2}, {5, 2}}));
}

TEST(PixelLine, SteepLineStepsColumnsWhereTheErrorIsPositive) {
    Bitmap b(8, 8);
    pixelLine(0, 0, 2, 5, b, ink);
    EXPECT_EQ(paintedPixels(b), (PixelSet{{0, 0}, {0, 1}, {1, 2}, {1, 3}, {2, 4}, {2, 5}}));
}

TEST(PixelLine, ZeroLengthLinePutsOnePixel) {
    Bitmap b(8, 8);
    pixelLine(3, 3, 3, 3, b, ink);
    EXPECT_EQ(paintedPixels(b), (PixelSet{{3, 3}}));
}

TEST(PixelLine, PutsMaxOfDxDyPlusOnePixelsFromEndToEnd) {
    for (auto [x1, y1] : {std::pair{9, 3}, {1, 9}, {0, 0}, {9, 9}, {4, 0}, {0, 7}}) {
        Bitmap b(10, 10);
        pixelLine(4, 5, x1, y1, b, ink);
        const PixelSet set = paintedPixels(b);
        EXPECT_EQ(int(set.size()), std::max(std::abs(x1 - 4), std::abs(y1 - 5)) + 1)
            << "to " << x1 << "," << y1;
        EXPECT_TRUE(set.count({4, 5}) && set.count({x1, y1})) << "to " << x1 << "," << y1;
    }
}

TEST(PixelLine, PartOutsideTheBitmapIsClippedNotWrapped) {
    Bitmap b(4, 4);
    pixelLine(-3, -3, 6, 6, b, ink);
    EXPECT_EQ(paintedPixels(b), (PixelSet{{0, 0}, {1, 1}, {2, 2}, {3, 3}}));
}

TEST(PixelRectangle, OutlinesBothEndColumnsAndRows) {
    Bitmap b(6, 6);
    pixelRectangle(4, 3, 1, 1, b, ink);
    EXPECT_EQ(
        paintedPixels(b),
        (PixelSet{{1, 1}, {2, 1}, {3, 1}, {4, 1}, {1, 2}, {4, 2}, {1, 3}, {2, 3}, {3, 3}, {4, 3}}));
}

// The expected sets below were worked out by hand, step by step through the midpoint
// recurrences.
TEST(PixelEllipse, CircleInAFourByFourBox) {
    Bitmap b(6, 6);
    pixelEllipse(0, 0, 4, 4, b, ink);
    EXPECT_EQ(paintedPixels(b), (PixelSet{{2, 0},
                                          {1, 0},
                                          {3, 0},
                                          {1, 1},
                                          {3, 1},
                                          {0, 2},
                                          {4, 2},
                                          {1, 3},
                                          {3, 3},
                                          {1, 4},
                                          {2, 4},
                                          {3, 4}}));
}

TEST(PixelEllipse, FlatEllipseOffTheOrigin) {
    Bitmap b(10, 10);
    pixelEllipse(1, 2, 6, 2, b, ink);
    EXPECT_EQ(paintedPixels(b), (PixelSet{{2, 2},
                                          {3, 2},
                                          {4, 2},
                                          {5, 2},
                                          {6, 2},
                                          {1, 3},
                                          {7, 3},
                                          {2, 4},
                                          {3, 4},
                                          {4, 4},
                                          {5, 4},
                                          {6, 4}}));
}

TEST(PixelEllipse, TinyBoxesEndAndPutAFewPixels) {
    // Boxes under 2 x 2 give zero squared half axes; the outline must still end.
    for (float size : {0.0f, 0.5f, 1.0f, 1.9f}) {
        Bitmap b(6, 6);
        pixelEllipse(2, 2, size, size, b, ink);
        const PixelSet set = paintedPixels(b);
        EXPECT_FALSE(set.empty()) << size;
        for (auto [px, py] : set)
            EXPECT_TRUE(px >= 2 && px <= 4 && py >= 2 && py <= 4) << size;
    }
}

TEST(PixelEllipse, BoxWithoutHeightGivesTheLineAcrossIt) {
    Bitmap b(20, 20);
    pixelEllipse(3, 10, 10, 0, b, ink);
    PixelSet line;
    for (int x = 3; x <= 13; ++x)
        line.insert({x, 10});
    EXPECT_EQ(paintedPixels(b), line);
}

TEST(PixelEllipse, BoxDraggedUpAndLeftIsTheSameBox) {
    Bitmap forward(20, 20), backward(20, 20);
    pixelEllipse(2, 3, 12, 8, forward, ink);
    pixelEllipse(14, 11, -12, -8, backward, ink);
    EXPECT_EQ(paintedPixels(backward), paintedPixels(forward));
}

TEST(PixelEllipse, OutlinesAreSymmetricAndStayInTheirBox) {
    // Flat boxes and odd heights are where the recurrences tend to run past the box.
    for (float offset : {0.0f, 0.25f, 0.5f}) {
        for (float extra : {0.0f, 0.3f, 0.5f}) {
            for (int w = 0; w <= 30; ++w) {
                for (int h = 0; h <= 30; ++h) {
                    Bitmap b(40, 40);
                    const float x = 3 + offset, y = 2 + offset;
                    const float bw = float(w) + extra, bh = float(h) + extra;
                    pixelEllipse(x, y, bw, bh, b, ink);
                    const PixelSet set = paintedPixels(b);
                    const std::string box =
                        std::to_string(x) + " " + std::to_string(bw) + " x " + std::to_string(bh);
                    ASSERT_FALSE(set.empty()) << box;
                    int minX = 1000, maxX = -1, minY = 1000, maxY = -1;
                    for (auto [px, py] : set) {
                        minX = std::min(minX, px), maxX = std::max(maxX, px);
                        minY = std::min(minY, py), maxY = std::max(maxY, py);
                    }
                    ASSERT_GE(minX, int(x)) << box;
                    ASSERT_LE(maxX, int(x + bw)) << box;
                    ASSERT_GE(minY, int(y)) << box;
                    ASSERT_LE(maxY, int(y + bh)) << box;
                    for (auto [px, py] : set) {
                        ASSERT_TRUE(set.count({minX + maxX - px, py})) << box;
                        ASSERT_TRUE(set.count({px, minY + maxY - py})) << box;
                    }
                }
            }
        }
    }
}

TEST(PixelEllipse, OutlineIsClosedAgainstAFillFromOutside) {
    // A gap in the outline would let a fill from outside leak into the middle.
    for (int w = 3; w <= 25; w += 2) {
        for (int h = 3; h <= 25; h += 3) {
            Bitmap b(30, 30);
            pixelEllipse(2, 2, float(w), float(h), b, ink);
            const Color outside = Color::rgb(0, 255, 0);
            floodFill(b, 0, 0, outside);
            EXPECT_NE(b.pixel(2 + w / 2, 2 + h / 2), outside) << w << " x " << h;
        }
    }
}

TEST(PixelEllipse, PartsOutsideTheBitmapAreSkipped) {
    // The same ellipse drawn whole on a wider bitmap, then shifted: the left half is cut off.
    Bitmap whole(20, 10), cut(10, 10);
    pixelEllipse(6, 2, 8, 4, whole, ink);
    pixelEllipse(-4, 2, 8, 4, cut, ink);
    PixelSet expected;
    for (auto [px, py] : paintedPixels(whole))
        if (px >= 10)
            expected.insert({px - 10, py});
    ASSERT_FALSE(expected.empty());
    EXPECT_EQ(paintedPixels(cut), expected);
}

TEST(PixelRoutines, NullBitmapIsLeftAlone) {
    Bitmap none;
    setPixel(none, 0, 0, ink);
    pixelLine(0, 0, 5, 5, none, ink);
    pixelRectangle(0, 0, 5, 5, none, ink);
    pixelEllipse(0, 0, 5, 5, none, ink);
    clearRectangle(0, 0, 5, 5, none);
    scaleAlpha(0, 0, 5, 5, none, 10);
    EXPECT_FALSE(floodFill(none, 0, 0, ink));
    EXPECT_TRUE(none.isNull());
}
