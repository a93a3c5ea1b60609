// SPDX-License-Identifier: GPL-3.0-or-later
// A bitmap's own pixel memory: what a new one holds, copies that share their pixels until one
// of them is written, and drawing contexts on shared pixels.
#include "gfx/Graphics.h"
#include "support/PixelChecks.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <utility>

using namespace vork;

namespace {

const uint8_t* pixelsOf(const Bitmap& b) {
    return b.bytes();
}

} // namespace

TEST(BitmapMemory, NewBitmapsOfEachFormatAndSizesThatGiveNone) {
    EXPECT_EQ(Bitmap(2, 2, PixelFormat::Rgb).pixel(1, 1), colors::black);
    EXPECT_EQ(Bitmap(2, 2, PixelFormat::PremultipliedArgb).pixel(1, 1), colors::transparent);
    EXPECT_EQ(Bitmap(2, 2, PixelFormat::PremultipliedArgb).format(),
              PixelFormat::PremultipliedArgb);
    for (const auto& [w, h] : {std::pair{0, 4}, {4, 0}, {-3, 4}, {70'000'000, 1}}) {
        const Bitmap none(w, h, PixelFormat::Rgb);
        EXPECT_TRUE(none.isNull()) << w << " x " << h;
        EXPECT_EQ(none.width(), 0);
        EXPECT_EQ(none.format(), PixelFormat::Argb);
        EXPECT_EQ(none.contentKey(), 0u);
        EXPECT_EQ(pixelsOf(none), nullptr);
    }
}

TEST(BitmapMemory, CopiesShareThePixelsUntilOneOfThemIsWritten) {
    Bitmap a = test::randomBitmap(6, 4, 3);
    const Bitmap b = a;
    EXPECT_EQ(pixelsOf(b), pixelsOf(a)) << "no pixels copied";
    EXPECT_EQ(b.contentKey(), a.contentKey());

    a.setPixel(2, 2, test::blue);
    EXPECT_NE(pixelsOf(b), pixelsOf(a));
    EXPECT_NE(b.contentKey(), a.contentKey());
    EXPECT_EQ(a.pixel(2, 2), test::blue);
    EXPECT_NE(b.pixel(2, 2), test::blue);
    EXPECT_TRUE(test::samePixels(b.copy({0, 0, 2, 4}), a.copy({0, 0, 2, 4})))
        << "the rest of the copy came along";

    Bitmap moved = std::move(a);
    EXPECT_TRUE(a.isNull()); // NOLINT: a moved-from bitmap is null
    EXPECT_EQ(moved.pixel(2, 2), test::blue);
}

TEST(BitmapMemory, ACopyTakenWhileDrawingKeepsWhatThePixelsHeldThen) {
    Bitmap target(4, 4);
    const Bitmap before = target;
    Bitmap during;
    {
        Graphics g(target);
        g.fillRect(Brush::solid(test::red), Rect{0, 0, 4, 4});
        during = target;
        g.fillRect(Brush::solid(test::blue), Rect{0, 0, 2, 2});
    }
    EXPECT_EQ(before.pixel(0, 0), colors::transparent) << "the drawing wrote pixels of its own";
    EXPECT_EQ(during.pixel(0, 0), test::red);
    EXPECT_EQ(during.pixel(3, 3), test::red);
    EXPECT_EQ(target.pixel(0, 0), test::blue);
    const Bitmap after = target;
    EXPECT_EQ(pixelsOf(after), pixelsOf(target)) << "once the drawing ends, copies share again";
}

TEST(BitmapMemory, ANewBitmapIsAllZeroWhateverItsMemoryHeldBefore) {
    // Each size is made, written all over and let go, then made again in what may be the same
    // memory: small ones come from the heap, the largest straight from the system.
    for (const int side : {3, 300, 3000}) {
        {
            Bitmap used(side, side);
            used.fill(Color::fromArgb(255, 1, 2, 3));
        }
        const Bitmap fresh(side, side);
        ASSERT_FALSE(fresh.isNull());
        const auto* p = reinterpret_cast<const uint32_t*>(fresh.bytes());
        EXPECT_TRUE(
            std::all_of(p, p + size_t(side) * size_t(side), [](uint32_t v) { return v == 0; }))
            << side << " x " << side;
    }
}
