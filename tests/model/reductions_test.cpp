// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/Reduce.h"
#include "model/Reductions.h"
#include "support/PixelChecks.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace vork;

namespace {

// The exact box average, computed independently: each pixel premultiplied (rounded), the
// block's channels summed and divided in double, rounded half up.
uint32_t exactBlockAverage(const Bitmap& image, int x0, int y0, int block) {
    double sums[4] = {};
    int n = 0;
    for (int y = y0; y < std::min(y0 + block, image.height()); ++y)
        for (int x = x0; x < std::min(x0 + block, image.width()); ++x) {
            const Color c = image.pixel(x, y);
            auto pm = [&](int v) { return std::floor(v * c.a() / 255.0 + 0.5); };
            sums[0] += pm(c.b());
            sums[1] += pm(c.g());
            sums[2] += pm(c.r());
            sums[3] += c.a();
            ++n;
        }
    uint32_t out = 0;
    for (int ch = 3; ch >= 0; --ch)
        out = (out << 8) | uint32_t(std::floor(sums[ch] / n + 0.5));
    return out;
}

void expectExactLevel(const Bitmap& image, const Bitmap& level, int k) {
    ASSERT_EQ(level.format(), PixelFormat::PremultipliedArgb);
    ASSERT_EQ(level.width(), Reductions::levelExtent(image.width(), k));
    ASSERT_EQ(level.height(), Reductions::levelExtent(image.height(), k));
    for (int y = 0; y < level.height(); ++y)
        for (int x = 0; x < level.width(); ++x)
            ASSERT_EQ(level.row(y)[x], exactBlockAverage(image, x << k, y << k, 1 << k))
                << "level " << k << " pixel " << x << ", " << y;
}

// Random pixels, a quarter of them transparent and a quarter opaque, so that the premultiplied
// sums see every kind.
Bitmap mixedPixels(int w, int h, unsigned seed) {
    Bitmap b = test::randomBitmap(w, h, seed);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const uint32_t p = b.row(y)[x];
            if ((x + 3 * y) % 4 == 0)
                b.row(y)[x] = 0;
            else if ((x + 3 * y) % 4 == 1)
                b.row(y)[x] = p | 0xFF000000u;
        }
    return b;
}

} // namespace

TEST(Reductions, EveryLevelIsTheExactBoxAverageAlsoAtCutEdges) {
    // Odd sizes: the last blocks of each level are cut by the right and bottom edges.
    const Bitmap image = mixedPixels(203, 77, 1);
    ChangeTracker changes;
    Reductions r;
    for (int k = 1; k <= Reductions::maxLevel; ++k)
        expectExactLevel(image, r.level(image, changes, k), k);
}

TEST(Reductions, KeptLevelsFollowReportedAndUnreportedChanges) {
    Bitmap image = mixedPixels(150, 130, 2);
    ChangeTracker changes;
    Reductions r;
    (void)r.level(image, changes, 1);
    (void)r.level(image, changes, 3);
    (void)r.level(image, changes, 5);
    // A reported change in a small rectangle.
    {
        ImageEdit edit(image, changes);
        test::paintRect(image, {40, 33, 9, 5}, Color::fromArgb(77, 200, 10, 30));
        edit.touched({40, 33, 9, 5});
    }
    for (int k : {1, 3, 5})
        expectExactLevel(image, r.level(image, changes, k), k);
    // Pixels written without a report are found all the same.
    test::paintRect(image, {120, 100, 30, 30}, Color::fromArgb(255, 1, 2, 3));
    for (int k : {1, 3, 5})
        expectExactLevel(image, r.level(image, changes, k), k);
    // A level first asked for after the changes.
    expectExactLevel(image, r.level(image, changes, 2), 2);
    // A new image of another size.
    image = mixedPixels(33, 70, 3);
    expectExactLevel(image, r.level(image, changes, 3), 3);
}

TEST(Reductions, LevelForARatioIsTheCoarsestNotWiderThanIt) {
    EXPECT_EQ(Reductions::levelFor(1.0), 0);
    EXPECT_EQ(Reductions::levelFor(1.99), 0);
    EXPECT_EQ(Reductions::levelFor(2.0), 1);
    EXPECT_EQ(Reductions::levelFor(10.0), 3);
    EXPECT_EQ(Reductions::levelFor(1e9), Reductions::maxLevel);
    EXPECT_EQ(Reductions::levelExtent(4096, 3), 512);
    EXPECT_EQ(Reductions::levelExtent(203, 3), 26);
}

namespace {

// The exact area average of the image over [x0, x1) x [y0, y1) (fractional), premultiplied,
// in double.
std::array<double, 4> areaAverage(const Bitmap& image, double x0, double x1, double y0, double y1) {
    std::array<double, 4> sums{};
    double total = 0;
    for (int y = int(std::floor(y0)); y < int(std::ceil(y1)); ++y)
        for (int x = int(std::floor(x0)); x < int(std::ceil(x1)); ++x) {
            const double w = (std::min(x1, x + 1.0) - std::max(x0, double(x))) *
                             (std::min(y1, y + 1.0) - std::max(y0, double(y)));
            const Color c = image.pixel(x, y);
            sums[0] += w * c.b() * c.a() / 255.0;
            sums[1] += w * c.g() * c.a() / 255.0;
            sums[2] += w * c.r() * c.a() / 255.0;
            sums[3] += w * c.a();
            total += w;
        }
    for (double& s : sums)
        s /= total;
    return sums;
}

int channel(uint32_t p, int c) {
    return int((p >> (8 * c)) & 255);
}

} // namespace

TEST(ReduceInto, APowerOfTwoOnTheGridGivesTheLevelExactly) {
    Bitmap image = mixedPixels(64, 48, 4);
    ChangeTracker changes;
    Reductions r;
    Bitmap out;
    // Half size from (0, 0): every drawn pixel is one pixel of level 1.
    reduceInto({image, changes, r}, RectF{0, 0, 32, 24}, RectF{0, 0, 64, 48}, out);
    const Bitmap& level = r.level(image, changes, 1);
    ASSERT_EQ(out.width(), 32);
    ASSERT_EQ(out.height(), 24);
    for (int y = 0; y < 24; ++y)
        for (int x = 0; x < 32; ++x)
            ASSERT_EQ(out.row(y)[x], level.row(y)[x]) << x << ", " << y;
    // A quarter of the part from (16, 8), drawn at grid position (5, 7).
    reduceInto({image, changes, r}, RectF{5, 7, 8, 6}, RectF{16, 8, 32, 24}, out);
    const Bitmap& level2 = r.level(image, changes, 2);
    ASSERT_EQ(out.width(), 8);
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 8; ++x)
            ASSERT_EQ(out.row(y)[x], level2.row(y + 2)[x + 4]) << x << ", " << y;
}

TEST(ReduceInto, AnyScaleIsCloseToTheAreaAverageOfSmoothPixels) {
    // A smooth picture (a ramp) keeps the blocks of a level nearly uniform, so the small last
    // step from the level is within a few steps of the exact area average.
    Bitmap image(300, 200);
    for (int y = 0; y < 200; ++y)
        for (int x = 0; x < 300; ++x)
            image.setPixel(x, y, Color::fromArgb(128 + y / 2, x * 255 / 299, y, 90));
    ChangeTracker changes;
    Reductions r;
    Bitmap out;
    const RectF target{0.25f, 0, 41.5f, 31};
    const RectF source{3, 1, 290, 190};
    reduceInto({image, changes, r}, target, source, out);
    const Rect covered = coveredPixels(target);
    ASSERT_EQ(covered, (Rect{0, 0, 42, 31}));
    const double sx = source.w / target.w, sy = source.h / target.h;
    for (int j = 0; j < out.height(); ++j)
        for (int i = 0; i < out.width(); ++i) {
            const double x0 = std::max<double>(source.x, source.x + (i - target.x) * sx);
            const double x1 =
                std::min<double>(source.x + source.w, source.x + (i + 1 - target.x) * sx);
            const double y0 = source.y + (j - target.y) * sy, y1 = y0 + sy;
            const auto expected = areaAverage(image, x0, x1, y0, y1);
            for (int c = 0; c < 4; ++c)
                ASSERT_NEAR(channel(out.row(j)[i], c), expected[size_t(c)], 3.0)
                    << "pixel " << i << ", " << j << " channel " << c;
        }
}

TEST(ReduceInto, APixelThatShowsNothingOfTheSourceIsTransparent) {
    Bitmap image(40, 40);
    image.fill(Color::rgb(9, 9, 9));
    ChangeTracker changes;
    Reductions r;
    Bitmap out;
    // The source reaches past the image's right edge: the pixels there show nothing.
    reduceInto({image, changes, r}, RectF{0, 0, 20, 10}, RectF{20, 0, 40, 20}, out);
    ASSERT_EQ(out.width(), 20);
    EXPECT_EQ(out.row(5)[3], Color::rgb(9, 9, 9).argb);
    EXPECT_EQ(out.row(5)[15], 0u);
}
