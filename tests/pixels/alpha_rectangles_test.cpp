// SPDX-License-Identifier: GPL-3.0-or-later
#include "pixels/Pixels.h"
#include "support/PixelChecks.h"

#include <gtest/gtest.h>

using namespace vork;
using vork::test::countPixels;

namespace {
constexpr Color paint = Color::fromArgb(255, 10, 20, 30);

} // namespace

TEST(ClearRectangle, ClearsExactlyTheRectangle) {
    Bitmap b(6, 5);
    b.fill(paint);
    clearRectangle(1, 2, 3, 2, b);
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 6; ++x) {
            const bool inside = x >= 1 && x < 4 && y >= 2 && y < 4;
            EXPECT_EQ(b.pixel(x, y), inside ? colors::transparent : paint) << x << "," << y;
        }
}

TEST(ClearRectangle, RectangleIsClampedToTheBitmap) {
    Bitmap b(4, 4);
    b.fill(paint);
    clearRectangle(-2, -3, 4, 5, b); // columns 0..1, rows 0..1
    EXPECT_EQ(countPixels(b, colors::transparent), 4);
    EXPECT_EQ(b.pixel(1, 1), colors::transparent);
    EXPECT_EQ(b.pixel(2, 1), paint);
    clearRectangle(3, 3, 1 << 30, 1 << 30, b);
    EXPECT_EQ(countPixels(b, colors::transparent), 5);
    clearRectangle(2, 2, -3, 1, b);
    clearRectangle(5, 0, 2, 2, b);
    EXPECT_EQ(countPixels(b, colors::transparent), 5);
}

TEST(ScaleAlpha, HalvesAlphaTruncatingAndKeepsColourBytes) {
    Bitmap b(3, 1);
    b.setPixel(0, 0, paint);
    b.setPixel(1, 0, paint.withAlpha(1));
    b.setPixel(2, 0, Color(0x00ABCDEFu));
    scaleAlpha(0, 0, 3, 1, b, 128);
    EXPECT_EQ(b.pixel(0, 0), paint.withAlpha(128));
    EXPECT_EQ(b.pixel(1, 0), paint.withAlpha(0));
    EXPECT_EQ(b.pixel(2, 0), Color(0x00ABCDEFu));
}

TEST(ScaleAlpha, ValuesOutsideZeroTo255DoNothing) {
    Bitmap b(2, 2);
    b.fill(paint.withAlpha(100));
    scaleAlpha(0, 0, 2, 2, b, 256);
    scaleAlpha(0, 0, 1, 1, b, -1);
    EXPECT_EQ(countPixels(b, paint.withAlpha(100)), 4);
}

TEST(ScaleAlpha, OnlyTheClampedRectangleChanges) {
    Bitmap b(5, 4);
    b.fill(paint.withAlpha(200));
    scaleAlpha(3, -1, 10, 3, b, 51); // columns 3..4, rows 0..1
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 5; ++x) {
            const bool inside = x >= 3 && y <= 1;
            EXPECT_EQ(b.pixel(x, y).a(), inside ? 200 * 51 / 255 : 200) << x << "," << y;
            EXPECT_EQ(b.pixel(x, y).withAlpha(255), paint) << x << "," << y;
        }
}
