// SPDX-License-Identifier: GPL-3.0-or-later
#include "pixels/Pixels.h"
#include "support/PixelChecks.h"

#include <gtest/gtest.h>

#include <array>
#include <random>
#include <vector>

using namespace vork;
using vork::test::countPixels;
using vork::test::paintedPixels;
using vork::test::samePixels;

namespace {

using test::blue;
using test::red;

// The region grown one ring at a time between two point lists, written as plainly as
// possible: the behaviour the row-wise fill must reproduce pixel for pixel.
bool referenceFill(Bitmap& b, int x, int y, Color c) {
    const Color target = b.contains(x, y) ? b.pixel(x, y) : colors::transparent;
    b.setPixel(x, y, c);
    if (target == c)
        return false;
    std::vector<Point> from{{x, y}}, to;
    auto expand = [&](const std::vector<Point>& in, std::vector<Point>& out) {
        out.clear();
        for (Point p : in) {
            for (Point n : {Point{p.x + 1, p.y}, Point{p.x - 1, p.y}, Point{p.x, p.y + 1},
                            Point{p.x, p.y - 1}}) {
                if (!b.contains(n.x, n.y) || b.pixel(n.x, n.y) != target)
                    continue;
                b.setPixel(n.x, n.y, c);
                out.push_back(n);
            }
        }
    };
    for (;;) {
        expand(from, to);
        if (to.empty())
            break;
        expand(to, from);
        if (from.empty())
            break;
    }
    return true;
}

} // namespace

TEST(FloodFill, TransparentLayerIsPaintedWholeAndASecondFillReportsNoChange) {
    Bitmap b(37, 23);
    EXPECT_TRUE(floodFill(b, 30, 4, red));
    EXPECT_EQ(countPixels(b, red), 37 * 23);
    EXPECT_FALSE(floodFill(b, 3, 20, red));
    EXPECT_EQ(countPixels(b, red), 37 * 23);
}

TEST(FloodFill, LargeRegionsAreFilledCompletely) {
    // Far more frontier points at once than a fixed list of 10000 could hold.
    Bitmap b(2500, 2500);
    EXPECT_TRUE(floodFill(b, 1250, 1250, red));
    EXPECT_EQ(countPixels(b, red), 2500 * 2500);
}

TEST(FloodFill, DiagonalGapsAreNotCrossed) {
    // Two transparent regions that touch only at the corner (2, 2)-(3, 3).
    Bitmap b(6, 6);
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 6; ++x)
            if ((x <= 2) != (y <= 2))
                b.setPixel(x, y, blue);
    EXPECT_TRUE(floodFill(b, 0, 0, red));
    EXPECT_EQ(countPixels(b, red), 9);
    EXPECT_EQ(b.pixel(3, 3), colors::transparent);
    EXPECT_EQ(b.pixel(5, 5), colors::transparent);
}

TEST(FloodFill, SemiTransparentColourIsWrittenUnchanged) {
    Bitmap b(5, 5);
    b.fill(Color::rgb(10, 200, 10));
    const Color glass = Color::fromArgb(77, 1, 2, 250);
    EXPECT_TRUE(floodFill(b, 2, 2, glass));
    EXPECT_EQ(countPixels(b, glass), 25);
}

TEST(FloodFill, SeedOnePastTheEdgeSpreadsFromTheNeighbourInside) {
    Bitmap b(4, 3);
    for (int y = 0; y < 3; ++y)
        b.setPixel(1, y, blue); // a wall between column 0 and columns 2..3
    EXPECT_TRUE(floodFill(b, 4, 1, red));
    EXPECT_EQ(countPixels(b, red), 6);
    EXPECT_EQ(b.pixel(0, 0), colors::transparent);
}

TEST(FloodFill, SeedsWithNothingToFillNextToThemChangeNothingAndSaySo) {
    Bitmap opaque(3, 3);
    opaque.fill(blue);
    EXPECT_FALSE(floodFill(opaque, -1, 1, red)) << "no transparent neighbour inside";
    EXPECT_EQ(countPixels(opaque, blue), 9);
    Bitmap b(3, 3);
    for (auto [x, y] : {std::pair{-1, -1},
                        {3, 3},
                        {-1, 3},
                        {3, -1},
                        {10, 1},
                        {1, -7},
                        {1 << 30, 1 << 30},
                        {-(1 << 30), 0}})
        EXPECT_FALSE(floodFill(b, x, y, red)) << x << "," << y;
    EXPECT_TRUE(paintedPixels(b).empty());
}

TEST(FloodFill, MatchesThePointListFillOnRandomBitmaps) {
    const std::array<Color, 5> palette{colors::transparent, Color(0x00FF0000u), red,
                                       Color::fromArgb(128, 255, 0, 0), blue};
    std::mt19937 rng(20240611);
    auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    for (int round = 0; round < 4000; ++round) {
        const int w = pick(1, 12), h = pick(1, 12);
        // Few colours on some bitmaps, so large regions with holes and bays are common.
        const int colours = pick(2, int(palette.size()));
        Bitmap original(w, h);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                original.setPixel(x, y, palette[size_t(pick(0, colours - 1))]);
        const int sx = pick(-1, w), sy = pick(-1, h);
        const Color fill = palette[size_t(pick(0, int(palette.size()) - 1))];

        Bitmap expected = original.clone(), actual = original.clone();
        referenceFill(expected, sx, sy, fill);
        const bool changed = floodFill(actual, sx, sy, fill);
        ASSERT_TRUE(samePixels(actual, expected))
            << "round " << round << ": " << w << " x " << h << " seed " << sx << "," << sy;
        EXPECT_EQ(changed, !samePixels(original, actual)) << "round " << round;
    }
}

TEST(FloodFill, MatchesThePointListFillOnMazes) {
    // Winding one-pixel corridors make many short runs, which exercises the row bookkeeping;
    // the larger mazes have regions of more runs than the fill from the seed takes on, so they
    // are filled by labelling the rows instead. The changed rectangle is checked too.
    struct Case {
        int width, height, wallPercent, rounds;
    };
    for (const Case c : {Case{64, 48, 42, 40}, Case{300, 200, 30, 6}, Case{130, 400, 38, 6}}) {
        std::mt19937 rng(7);
        for (int round = 0; round < c.rounds; ++round) {
            Bitmap original(c.width, c.height);
            for (int y = 0; y < c.height; ++y)
                for (int x = 0; x < c.width; ++x)
                    if (std::uniform_int_distribution<int>(0, 99)(rng) < c.wallPercent)
                        original.setPixel(x, y, blue);
            // Every third round from just outside a corner, as a click beside the picture.
            const bool outside = round % 3 == 2;
            const int sx = outside ? -1 : int(rng() % unsigned(c.width));
            const int sy = outside ? 0 : int(rng() % unsigned(c.height));
            Bitmap expected = original.clone(), actual = original.clone();
            referenceFill(expected, sx, sy, red);
            const Rect changed = floodFillRegion(actual, sx, sy, red);
            ASSERT_TRUE(samePixels(actual, expected))
                << c.width << " x " << c.height << " round " << round;
            Rect bounds;
            for (int y = 0; y < c.height; ++y)
                for (int x = 0; x < c.width; ++x)
                    if (actual.pixel(x, y) != original.pixel(x, y))
                        bounds = unite(bounds, Rect{x, y, 1, 1});
            EXPECT_EQ(changed, bounds) << c.width << " x " << c.height << " round " << round;
        }
    }
}

TEST(FloodFill, RgbBitmapIsFilledOpaque) {
    Bitmap b(3, 3, PixelFormat::Rgb);
    EXPECT_TRUE(floodFill(b, 1, 1, Color::fromArgb(90, 0, 255, 0)));
    EXPECT_EQ(countPixels(b, Color::rgb(0, 255, 0)), 9);
    EXPECT_FALSE(floodFill(b, 0, 0, Color::fromArgb(90, 0, 255, 0))) << "already that colour";
}
