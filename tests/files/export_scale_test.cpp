// SPDX-License-Identifier: GPL-3.0-or-later
// The whole-number export scale: every export at scale N gives what it gives at scale 1 with
// each pixel an N x N square, and a scale that would pass the size limit is refused.
#include "files/GifExport.h"
#include "files/GifReadBack.h"
#include "files/SpriteSheet.h"
#include "files/WebpExport.h"
#include "pixels/ExportScale.h"
#include "support/PixelChecks.h"
#include "support/QtImages.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

using namespace vork;
using test::TempDir;

namespace {

struct Exported {
    ImageFailure failure = ImageFailure::None;
    std::vector<Bitmap> images; // as read back from the written files
};

Exported fromResult(const ExportResult& result) {
    Exported out{result.outcome.failure, {}};
    for (const std::string& file : result.written)
        if (file.ends_with(".png"))
            out.images.push_back(test::loadImage(file));
    return out;
}

using ExportAt = std::function<Exported(const Document&, int scale, const std::string& name)>;

struct Row {
    const char* name;
    ExportAt run;
};

const Row exports[] = {
    {"GIF",
     [](const Document& d, int scale, const std::string&) {
         const GifEncoding gif = encodeAnimationGif(d, SingleLayerView::Off, {}, scale);
         Exported out{gif.failure, {}};
         if (gif)
             for (const test::GiflibFrame& frame : test::readWithGiflib(gif.bytes).frames)
                 out.images.push_back(frame.shown);
         return out;
     }},
    {"WebP",
     [](const Document& d, int scale, const std::string&) {
         const WebpEncoding webp = encodeAnimationWebp(d, SingleLayerView::Off, {}, scale);
         return Exported{webp.failure,
                         webp ? test::readWithQt(webp.bytes).frames : std::vector<Bitmap>{}};
     }},
    {"sprite sheet",
     [](const Document& d, int scale, const std::string& name) {
         return fromResult(exportSpriteSheet(d, name, SingleLayerView::Off, 0, {}, scale));
     }},
    {"PNG frames",
     [](const Document& d, int scale, const std::string& name) {
         return fromResult(exportFramesPng(d, name, SingleLayerView::Off, {}, scale));
     }},
    {"PNG picture",
     [](const Document& d, int scale, const std::string& name) {
         return fromResult(
             exportPicturePng(composePicture(d, SingleLayerView::Off, 0), name, scale));
     }},
};

// Three frames of 6 x 4 with every alpha, the middle one off.
Document threeFrames(int w = 6, int h = 4) {
    Document d(w, h, 100);
    for (int i = 0; i < 3; ++i) {
        if (i > 0)
            d.insertFrameAfter(d.currentFrameIndex());
        d.currentLayer().image = test::randomBitmap(w, h, unsigned(i + 3));
        d.current().delay = 50.0 * (i + 1);
    }
    d.frame(1).enabled = false;
    return d;
}

} // namespace

TEST(ExportScale, EnlargingMakesEachPixelASquare) {
    const Bitmap image = test::randomBitmap(5, 3, 1);
    for (const int scale : {1, 2, 7, 16}) {
        const Bitmap big = enlarged(image, scale);
        ASSERT_EQ(big.width(), 5 * scale);
        ASSERT_EQ(big.height(), 3 * scale);
        for (int y = 0; y < big.height(); ++y)
            for (int x = 0; x < big.width(); ++x)
                ASSERT_EQ(big.pixel(x, y), image.pixel(x / scale, y / scale)) << scale;
    }
    EXPECT_TRUE(enlarged(image, 0).isNull());
    EXPECT_TRUE(enlarged(image, 17).isNull());
    EXPECT_TRUE(scaledSizeFits(312, 5, 16));
    EXPECT_FALSE(scaledSizeFits(313, 5, 16)) << "5008 pixels: past the side limit";
}

TEST(ExportScale, EveryExportAtAScaleIsTheUnscaledOneEnlarged) {
    TempDir dir;
    const Document d = threeFrames();
    for (const Row& row : exports) {
        const Exported plain = row.run(d, 1, dir.file(std::string(row.name) + "-1.png"));
        const Exported scaled = row.run(d, 3, dir.file(std::string(row.name) + "-3.png"));
        ASSERT_EQ(plain.failure, ImageFailure::None) << row.name;
        ASSERT_EQ(scaled.failure, ImageFailure::None) << row.name;
        ASSERT_FALSE(plain.images.empty()) << row.name;
        ASSERT_EQ(scaled.images.size(), plain.images.size()) << row.name;
        for (size_t i = 0; i < plain.images.size(); ++i)
            EXPECT_TRUE(test::samePixels(scaled.images[i], enlarged(plain.images[i], 3)))
                << row.name << ", image " << i;
    }
}

TEST(ExportScale, AScaleThatWouldPassTheSizeLimitIsRefusedAndWritesNothing) {
    const Document d = threeFrames(400, 3); // 13 x 400 = 5200 pixels across
    for (const Row& row : exports) {
        TempDir dir;
        EXPECT_EQ(row.run(d, 13, dir.file("big.png")).failure, ImageFailure::TooLarge) << row.name;
        EXPECT_TRUE(std::filesystem::is_empty(dir.path)) << row.name;
        EXPECT_EQ(row.run(d, 12, dir.file("fits.png")).failure, ImageFailure::None) << row.name;
    }
}
