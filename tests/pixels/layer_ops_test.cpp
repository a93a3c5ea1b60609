// SPDX-License-Identifier: GPL-3.0-or-later
// Merging a layer into the one below with both opacities, the exact-colour replace, and the
// sampling of an image into the colour picker's grid.
#include "pixels/LayerOps.h"
#include "support/PixelChecks.h"

#include <gtest/gtest.h>

namespace vork {
namespace {

using test::blue;
using test::red;

TEST(MergeLayerPixels, UpperAtHalfOpacityOverTransparentKeepsItsBytesWithScaledAlpha) {
    Bitmap lower(4, 1), upper(4, 1);
    upper.setPixel(0, 0, Color::fromArgb(255, 10, 20, 30));
    upper.setPixel(1, 0, Color::fromArgb(200, 40, 50, 60));
    ASSERT_TRUE(mergeLayerPixels(lower, 255, upper, 128));
    EXPECT_EQ(lower.pixel(0, 0), Color::fromArgb(255 * 128 / 255, 10, 20, 30));
    EXPECT_EQ(lower.pixel(1, 0), Color::fromArgb(200 * 128 / 255, 40, 50, 60));
    EXPECT_EQ(lower.pixel(2, 0), colors::transparent);
}

TEST(MergeLayerPixels, BlendsSourceOverAndScalesTheLowerLayerToo) {
    Bitmap lower(3, 1), upper(3, 1);
    lower.fill(blue);
    upper.setPixel(0, 0, red);                             // opaque: covers
    upper.setPixel(1, 0, Color::fromArgb(128, 255, 0, 0)); // half: mixes
    ASSERT_TRUE(mergeLayerPixels(lower, 100, upper, 255));
    EXPECT_EQ(lower.pixel(0, 0), red);
    EXPECT_EQ(lower.pixel(2, 0), Color::fromArgb(100, 0, 0, 255)); // only the lower opacity
    const Color mixed = lower.pixel(1, 0);
    // 128 + 100 * 127 / 255 = 177.8; red weighs 128 * 255 against 100 * 127 of blue.
    EXPECT_EQ(mixed.a(), 178);
    EXPECT_EQ(mixed.r(), 184);
    EXPECT_EQ(mixed.b(), 71);
    EXPECT_EQ(mixed.g(), 0);
}

TEST(MergeLayerPixels, RefusesDifferentSizes) {
    Bitmap lower(3, 3), upper(2, 3);
    upper.fill(red);
    EXPECT_FALSE(mergeLayerPixels(lower, 255, upper, 255));
    EXPECT_EQ(test::countPixels(lower, colors::transparent), 9);
}

TEST(ReplaceColour, ChangesExactlyTheMatchingPixelsAlphaIncluded) {
    Bitmap b(4, 1);
    b.setPixel(0, 0, red);
    b.setPixel(1, 0, Color::fromArgb(254, 255, 0, 0)); // red but not opaque
    b.setPixel(2, 0, blue);
    EXPECT_EQ(replaceColour(b, red, blue), 1);
    EXPECT_EQ(b.pixel(0, 0), blue);
    EXPECT_EQ(b.pixel(1, 0), Color::fromArgb(254, 255, 0, 0));
    // Twice with the pair swapped turns every pixel of either colour back to red.
    EXPECT_EQ(replaceColour(b, blue, red), 2);
    EXPECT_EQ(b.pixel(2, 0), red);
}

TEST(ReplaceColour, TransparentFromChangesOnlyZeroPixels) {
    Bitmap b(3, 1);                                      // all (0, 0, 0, 0)
    b.setPixel(1, 0, Color::fromArgb(0, 255, 255, 255)); // transparent, other colour bytes
    EXPECT_EQ(replaceColour(b, colors::transparent, red), 2);
    EXPECT_EQ(b.pixel(1, 0), Color::fromArgb(0, 255, 255, 255));
}

TEST(SampleBigPalette, TakesOnePixelPerCellAllFourChannels) {
    Bitmap image(480, 160);
    image.setPixel(10, 10, Color::fromArgb(7, 1, 2, 3));
    image.setPixel(470, 150, test::green);
    std::vector<PaletteEntry> big = makePalette(bigPaletteSize);
    ASSERT_TRUE(sampleBigPalette(image, big));
    EXPECT_EQ(big[49].color, Color::fromArgb(7, 1, 2, 3)); // row 1, column 1
    EXPECT_EQ(big[767].color, test::green);                // row 15, column 47
    EXPECT_EQ(big[0].color, colors::transparent);
}

TEST(SampleBigPalette, NarrowImageGivesEveryColumnTheFirstPixel) {
    Bitmap image(20, 32);
    for (int y = 0; y < 32; ++y)
        image.setPixel(0, y, Color::fromArgb(255, uint8_t(y), 0, 0));
    image.setPixel(1, 2, blue);
    std::vector<PaletteEntry> big = makePalette(bigPaletteSize);
    ASSERT_TRUE(sampleBigPalette(image, big));
    for (int c = 0; c < 48; ++c) {
        EXPECT_EQ(big[size_t(48 + c)].color, Color::fromArgb(255, 2, 0, 0)); // row 1 at y = 2
    }
    EXPECT_FALSE(sampleBigPalette(Bitmap(), big));
}

} // namespace
} // namespace vork
