// SPDX-License-Identifier: GPL-3.0-or-later
// Decoding and encoding through the image codec.
#include "gfx/ImageCodec.h"
#include "support/PixelChecks.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <string>

using namespace vork;

namespace {

std::span<const uint8_t> spanOf(const std::string& s) {
    return {reinterpret_cast<const uint8_t*>(s.data()), s.size()};
}

} // namespace

TEST(ImageCodec, PngKeepsEveryPixelOnTheWayOutAndIn) {
    const Bitmap image = test::randomBitmap(7, 5, 11);
    const auto png = encodePng(image);
    ASSERT_TRUE(png);
    ImageFrames frames(*png);
    ASSERT_TRUE(frames.readable());
    EXPECT_EQ(frames.announcedCount(), 1);
    ASSERT_TRUE(frames.announcedSize());
    EXPECT_EQ(frames.announcedSize()->width, 7);
    EXPECT_EQ(frames.announcedSize()->height, 5);
    const Bitmap back = frames.next();
    EXPECT_EQ(back.format(), PixelFormat::Argb);
    EXPECT_TRUE(test::samePixels(back, image));
    EXPECT_TRUE(frames.next().isNull()) << "past the last image";
    EXPECT_TRUE(test::samePixels(decodeImage(*png), image));

    test::TempDir dir;
    ASSERT_TRUE(writePngFile(image, dir.file("a.png")));
    EXPECT_TRUE(test::samePixels(decodeImage(spanOf(test::readBytes(dir.file("a.png")))), image));
}

TEST(ImageCodec, InvisiblePixelsKeepTheirColourBytesOrBecomeTransparentBlack) {
    Bitmap image(2, 1);
    image.setPixel(0, 0, Color::fromArgb(0, 10, 20, 30));
    image.setPixel(1, 0, Color::fromArgb(1, 10, 20, 30));
    const auto png = encodePng(image);
    ASSERT_TRUE(png);
    EXPECT_TRUE(test::samePixels(ImageFrames(*png).next(), image));
    const Bitmap cleared = ImageFrames(*png, 0, InvisiblePixels::TransparentBlack).next();
    EXPECT_EQ(cleared.pixel(0, 0), colors::transparent);
    EXPECT_EQ(cleared.pixel(1, 0), Color::fromArgb(1, 10, 20, 30)) << "alpha 1 is not invisible";
}

TEST(ImageCodec, AnOpaqueImageReadsWithFullAlpha) {
    Bitmap rgb(3, 2, PixelFormat::Rgb);
    rgb.setPixel(1, 1, Color::rgb(10, 20, 30));
    const auto png = encodePng(rgb);
    ASSERT_TRUE(png);
    const Bitmap back = decodeImage(*png);
    EXPECT_EQ(back.pixel(1, 1), Color::rgb(10, 20, 30));
    EXPECT_EQ(back.pixel(0, 0), colors::black);
}

TEST(ImageCodec, NothingComesOfBytesNoDecoderTakesOrOfAnImageOverTheLimit) {
    const std::string text = "not an image at all";
    EXPECT_FALSE(ImageFrames(spanOf(text)).readable());
    EXPECT_TRUE(ImageFrames(spanOf(text)).next().isNull());
    EXPECT_TRUE(decodeImage(spanOf(text)).isNull());
    EXPECT_TRUE(decodeImage({}).isNull());
    EXPECT_FALSE(encodePng(Bitmap()));
    test::TempDir dir;
    EXPECT_FALSE(writePngFile(Bitmap(), dir.file("none.png")));
    EXPECT_FALSE(writePngFile(Bitmap(2, 2), dir.file("missing/none.png")));

    // 2000 x 1100 pixels take 8.4 MiB.
    const auto big = encodePng(Bitmap(2000, 1100));
    ASSERT_TRUE(big);
    EXPECT_TRUE(ImageFrames(*big, int64_t(8) << 20).next().isNull());
    EXPECT_FALSE(ImageFrames(*big, int64_t(9) << 20).next().isNull());
    EXPECT_FALSE(ImageFrames(*big).next().isNull());
}

TEST(ImageCodec, APngReadByNameIsTheImageAndNothingElseIsOne) {
    const Bitmap image = test::randomBitmap(9, 4, 5);
    const auto png = encodePng(image);
    ASSERT_TRUE(png);
    EXPECT_TRUE(test::samePixels(decodePng(*png), image));
    const std::span<const uint8_t> whole(*png);
    const std::string gif = "GIF89a...";
    for (const auto& bytes :
         {whole.first(whole.size() / 2), whole.first(8), spanOf(gif), std::span<const uint8_t>()})
        EXPECT_TRUE(decodePng(bytes).isNull()) << bytes.size() << " bytes";
}
