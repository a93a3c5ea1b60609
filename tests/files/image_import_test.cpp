// SPDX-License-Identifier: GPL-3.0-or-later
// Importing GIF frames as an animation and loading images, from files the tests write.
#include "files/ImageImport.h"
#include "model/Limits.h"
#include "support/GifWriter.h"
#include "support/PixelChecks.h"
#include "support/QtImages.h"
#include "support/TempDir.h"

#include <QImage>
#include <QImageWriter>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include <sys/stat.h>

using namespace vork;
using test::GifFrame;
using test::TempDir;

namespace {

const std::vector<Color> palette = {test::red, test::green, test::blue, Color::rgb(9, 9, 9)};
constexpr int transparentIndex = 3;

// Frame i of the test GIFs: diagonal stripes of the first three palette colours, shifted by i.
int stripe(int x, int y, int i) {
    return (x + y + i) % 3;
}

std::string writeStripedGif(const TempDir& dir, int frames, int w, int h) {
    std::vector<GifFrame> list;
    for (int i = 0; i < frames; ++i) {
        list.push_back(test::fullFrame(w, h, [i](int x, int y) { return stripe(x, y, i); }));
        list.back().delayCentiseconds = 3 + i; // delays the import keeps
    }
    const std::string path = dir.file("striped.gif");
    EXPECT_TRUE(test::writeGif(path, w, h, palette, list));
    return path;
}

// An image as Qt writes it in a format; the pixels as they went in.
std::string writeWithQt(const TempDir& dir, const Bitmap& image, const char* format) {
    const std::string path = dir.file(std::string("image.") + format);
    QImageWriter writer(QString::fromStdString(path), format);
    EXPECT_TRUE(writer.write(test::qtImageOf(image))) << format;
    return path;
}

Bitmap opaqueRandom(int w, int h, unsigned seed) {
    Bitmap b = test::randomBitmap(w, h, seed);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            b.setPixel(x, y, b.pixel(x, y).withAlpha(255));
    return b;
}

} // namespace

TEST(GifImport, FiveFramesOf64x48GiveFiveFramesWithTheirOwnDelays) {
    TempDir dir;
    ImportedDocument imported = importGif(writeStripedGif(dir, 5, 64, 48));
    ASSERT_TRUE(imported) << imported.outcome.reason;
    const Document& d = *imported.document;
    EXPECT_EQ(d.width, 64);
    EXPECT_EQ(d.height, 48);
    EXPECT_EQ(d.defaultDelay, 100);
    ASSERT_EQ(d.frameCount(), 5);
    EXPECT_EQ(d.currentFrameIndex(), 4) << "frames are added after the current one";
    for (int i = 0; i < 5; ++i) {
        const Frame& f = d.frame(i);
        EXPECT_EQ(f.delay, 30 + 10 * i) << "the file's delay of 3 + i hundredths";
        EXPECT_TRUE(f.enabled);
        ASSERT_EQ(f.layerCount(), 1);
        EXPECT_TRUE(f.layer(0).visible);
        EXPECT_EQ(f.width, 64.0f);
        const Bitmap& image = f.layer(0).image;
        ASSERT_EQ(image.width(), 64);
        ASSERT_EQ(image.height(), 48);
        for (int y = 0; y < 48; ++y)
            for (int x = 0; x < 64; ++x)
                ASSERT_EQ(image.pixel(x, y), palette[size_t(stripe(x, y, i))])
                    << "frame " << i << " at " << x << ", " << y;
    }
    EXPECT_TRUE(imported.outcome.ok());
    EXPECT_EQ(imported.outcome.file, dir.file("striped.gif"));
}

TEST(GifImport, TransparentPixelsKeepAlphaZeroInEveryFrame) {
    TempDir dir;
    std::vector<GifFrame> frames;
    for (int i = 0; i < 2; ++i) {
        // Every fourth pixel transparent, shifted per frame.
        frames.push_back(test::fullFrame(
            8, 4, [i](int x, int y) { return (x + y + i) % 4 == 0 ? transparentIndex : 1; }));
        frames.back().transparentIndex = transparentIndex;
    }
    const std::string path = dir.file("holes.gif");
    ASSERT_TRUE(test::writeGif(path, 8, 4, palette, frames));
    ImportedDocument imported = importGif(path);
    ASSERT_TRUE(imported);
    for (int i = 0; i < 2; ++i)
        for (int y = 0; y < 4; ++y)
            for (int x = 0; x < 8; ++x) {
                const Color want = (x + y + i) % 4 == 0 ? colors::transparent : test::green;
                EXPECT_EQ(imported.document->frame(i).layer(0).image.pixel(x, y), want)
                    << "frame " << i << " at " << x << ", " << y;
            }
}

TEST(GifImport, HugeScreensAreRefusedBeforeAnyFrameIsDecoded) {
    TempDir dir;
    GifFrame dot;
    dot.width = dot.height = 1;
    dot.indices = {0};
    // A few hundred bytes: 100 frames on a 5000 x 5000 screen would decode to 10 GB.
    const std::string many = dir.file("many.gif");
    ASSERT_TRUE(test::writeGif(many, maxDocumentSide, maxDocumentSide, palette,
                               std::vector<GifFrame>(100, dot)));
    const std::string wide = dir.file("wide.gif");
    ASSERT_TRUE(test::writeGif(wide, maxDocumentSide + 1, 10, palette, {dot}));
    for (const std::string& path : {many, wide}) {
        int decoded = 0;
        ImportedDocument imported = importGif(path, [&](int, int) { return ++decoded, true; });
        EXPECT_FALSE(imported);
        EXPECT_EQ(imported.outcome.failure, ImageFailure::TooLarge);
        EXPECT_EQ(imported.outcome.reason, "изображение слишком большое");
        EXPECT_EQ(decoded, 0) << path;
    }
    EXPECT_EQ(loadImageFile(wide).outcome.failure, ImageFailure::TooLarge);
}

TEST(GifImport, ADamagedFileGivesNoDocument) {
    TempDir dir;
    const std::string whole = test::readBytes(writeStripedGif(dir, 5, 64, 48));
    const std::string cut = dir.file("cut.gif");
    test::writeBytes(cut, whole.substr(0, whole.size() * 2 / 3));
    const std::string garbage = dir.file("garbage.gif");
    test::writeBytes(garbage, "GIF89a\x40\x00\x30\x00 this is not a picture");
    for (const std::string& path : {cut, garbage, dir.file("missing.gif")}) {
        ImportedDocument imported = importGif(path);
        EXPECT_FALSE(imported) << path;
        EXPECT_EQ(imported.document, nullptr);
        EXPECT_EQ(imported.outcome.failure, ImageFailure::CannotRead) << path;
        EXPECT_EQ(imported.outcome.reason, "не удалось прочитать изображение");
        EXPECT_EQ(imported.outcome.file, path);
    }
}

TEST(GifImport, ReportsProgressPerFrameAndCanBeCancelled) {
    TempDir dir;
    const std::string path = writeStripedGif(dir, 5, 16, 8);
    std::vector<std::pair<int, int>> calls;
    ImportedDocument cancelled = importGif(path, [&](int done, int total) {
        calls.push_back({done, total});
        return done < 2;
    });
    EXPECT_FALSE(cancelled);
    EXPECT_EQ(cancelled.outcome.failure, ImageFailure::Cancelled);
    EXPECT_EQ(calls, (std::vector<std::pair<int, int>>{{1, 5}, {2, 5}}));
}

TEST(GifImport, AStillImageGivesOneFrame) {
    TempDir dir;
    const Bitmap image = test::randomBitmap(7, 5, 3);
    ImportedDocument imported = importGif(writeWithQt(dir, image, "png"));
    ASSERT_TRUE(imported);
    ASSERT_EQ(imported.document->frameCount(), 1);
    EXPECT_TRUE(test::samePixels(imported.document->currentLayer().image, image));
}

TEST(ImageLoad, LosslessFormatsLoadWithTheirSizeAndEveryPixel) {
    TempDir dir;
    // PNG keeps alpha and the colour of transparent pixels; BMP and TIFF are tried opaque.
    const Bitmap translucent = test::randomBitmap(37, 23, 11);
    LoadedImage png = loadImageFile(writeWithQt(dir, translucent, "png"));
    ASSERT_TRUE(png) << png.outcome.reason;
    EXPECT_TRUE(test::samePixels(png.image, translucent));
    for (const char* format : {"bmp", "tiff"}) {
        const Bitmap opaque = opaqueRandom(29, 17, 5);
        LoadedImage loaded = loadImageFile(writeWithQt(dir, opaque, format));
        ASSERT_TRUE(loaded) << format << ": " << loaded.outcome.reason;
        EXPECT_TRUE(test::samePixels(loaded.image, opaque)) << format;
    }
}

TEST(ImageLoad, JpegLoadsWithItsSizeAndNearlyItsPixels) {
    TempDir dir;
    Bitmap blocks(40, 24);
    test::paintRect(blocks, {0, 0, 24, 24}, Color::rgb(200, 40, 40));
    test::paintRect(blocks, {24, 0, 16, 24}, Color::rgb(40, 40, 200));
    LoadedImage loaded = loadImageFile(writeWithQt(dir, blocks, "jpg"));
    ASSERT_TRUE(loaded);
    ASSERT_EQ(loaded.image.width(), 40);
    ASSERT_EQ(loaded.image.height(), 24);
    // Away from the border between the blocks, where the lossy coding rings.
    for (auto [x, want] : {std::pair{4, Color::rgb(200, 40, 40)}, {36, Color::rgb(40, 40, 200)}})
        for (int y = 0; y < 24; ++y) {
            const Color c = loaded.image.pixel(x, y);
            EXPECT_EQ(c.a(), 255);
            EXPECT_LE(std::abs(c.r() - want.r()) + std::abs(c.g() - want.g()) +
                          std::abs(c.b() - want.b()),
                      24)
                << x << ", " << y;
        }
}

TEST(ImageLoad, AnImageBeyondTheSideLimitOrNotAnImageIsRefused) {
    TempDir dir;
    LoadedImage big = loadImageFile(writeWithQt(dir, Bitmap(maxDocumentSide + 1, 1), "png"));
    EXPECT_FALSE(big);
    EXPECT_EQ(big.outcome.failure, ImageFailure::TooLarge);
    const std::string text = dir.file("notes.png");
    test::writeBytes(text, "just some words");
    LoadedImage none = loadImageFile(text);
    EXPECT_FALSE(none);
    EXPECT_EQ(none.outcome.failure, ImageFailure::CannotRead);
    const std::string bytes = "\x89PNG\r\n\x1a\n truncated";
    EXPECT_FALSE(loadImageBytes({reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()}));
}

// Images are read like documents: only regular files. Opened like one, a FIFO would wait for a
// writer that never comes, and a device would be read without end.
TEST(ImageLoad, OnlyRegularFilesAreReadAndTheReasonSaysWhatTheFileIs) {
    TempDir dir;
    ASSERT_EQ(::mkfifo(dir.file("fifo.gif").c_str(), 0644), 0);
    std::filesystem::create_symlink("/dev/zero", dir.file("zero.png"));
    std::filesystem::create_symlink("/dev/urandom", dir.file("random.gif"));
    std::filesystem::create_directory(dir.file("folder.png"));
    const struct {
        const char* name;
        const char* reason;
    } cases[] = {{"fifo.gif", "это не обычный файл"},
                 {"zero.png", "это не обычный файл"},
                 {"random.gif", "это не обычный файл"},
                 {"folder.png", "это папка"}};
    for (const auto& c : cases) {
        const std::string expected = std::string("не удалось прочитать изображение: ") + c.reason;
        const LoadedImage loaded = loadImageFile(dir.file(c.name));
        EXPECT_FALSE(loaded) << c.name;
        EXPECT_EQ(loaded.outcome.failure, ImageFailure::CannotRead) << c.name;
        EXPECT_EQ(loaded.outcome.shown(), expected) << c.name;
        EXPECT_EQ(importGif(dir.file(c.name)).outcome.shown(), expected) << c.name;
    }
}

// Some decoders fill what a cut-off file lacks with black or grey; the import refuses them all.
TEST(ImageLoad, ATruncatedImageIsRefusedInEveryFormat) {
    TempDir dir;
    const Bitmap image = opaqueRandom(40, 30, 5);
    for (const char* format : {"bmp", "jpeg", "png", "tiff"}) {
        const std::string whole = test::readBytes(writeWithQt(dir, image, format));
        ASSERT_GT(whole.size(), 100u) << format;
        EXPECT_TRUE(loadImageFile(dir.file(std::string("image.") + format))) << format;
        for (int percent : {10, 50, 90}) {
            const std::string cut = dir.file(std::string("cut.") + format);
            test::writeBytes(cut, whole.substr(0, whole.size() * size_t(percent) / 100));
            const LoadedImage loaded = loadImageFile(cut);
            EXPECT_FALSE(loaded) << format << " " << percent << "%";
            EXPECT_EQ(loaded.outcome.failure, ImageFailure::CannotRead) << format;
            EXPECT_FALSE(importGif(cut)) << format << " " << percent << "%";
        }
    }
}

// A tiny file must not become a huge number of frames: the count is checked before any frame
// is made, and the reason names it and the limit.
TEST(GifImport, MoreFramesThanTheLimitAreRefusedByName) {
    TempDir dir;
    const std::vector<GifFrame> frames(size_t(maxFrames) + 1,
                                       test::fullFrame(1, 1, [](int, int) { return 0; }));
    ASSERT_TRUE(test::writeGif(dir.file("many.gif"), 1, 1, palette, frames));
    // An icon file whose header claims 65,535 images, and holds one.
    std::string icon("\0\0\1\0\xff\xff", 6);
    const std::string entry("\1\1\0\0\1\0\x20\0\x30\0\0\0\x16\0\0\0", 16);
    const std::string dib("\x28\0\0\0\1\0\0\0\2\0\0\0\1\0\x20\0", 16);
    test::writeBytes(dir.file("many.ico"), icon + entry + dib + std::string(32, '\0'));
    for (const char* name : {"many.gif", "many.ico"}) {
        const ImportedDocument imported = importGif(dir.file(name));
        EXPECT_FALSE(imported) << name;
        EXPECT_EQ(imported.outcome.failure, ImageFailure::TooLarge) << name;
        EXPECT_NE(imported.outcome.reason.find("кадров"), std::string::npos)
            << name << ": " << imported.outcome.reason;
        EXPECT_NE(imported.outcome.reason.find(std::to_string(maxFrames)), std::string::npos);
    }
    EXPECT_NE(importGif(dir.file("many.gif")).outcome.reason.find(std::to_string(maxFrames + 1)),
              std::string::npos);
}

TEST(ImageLoad, AnImageOpensAsANewPictureOfItsSize) {
    TempDir dir;
    const Bitmap image = test::randomBitmap(12, 9, 8);
    ImportedDocument picture = openImageAsPicture(writeWithQt(dir, image, "png"));
    ASSERT_TRUE(picture);
    const Document& d = *picture.document;
    EXPECT_EQ(d.width, 12);
    EXPECT_EQ(d.height, 9);
    EXPECT_EQ(d.defaultDelay, 0);
    ASSERT_EQ(d.frameCount(), 1);
    ASSERT_EQ(d.frame(0).layerCount(), 1);
    EXPECT_TRUE(test::samePixels(d.currentLayer().image, image));
    EXPECT_FALSE(openImageAsPicture(dir.file("missing.png")));
}
