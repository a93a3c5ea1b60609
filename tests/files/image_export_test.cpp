// SPDX-License-Identifier: GPL-3.0-or-later
// Exporting the picture and the animation frames as PNG files, read back pixel for pixel.
#include "files/ImageExport.h"
#include "support/PixelChecks.h"
#include "support/QtImages.h"
#include "support/TempDir.h"

#include <QImageReader>
#include <gtest/gtest.h>

#include <filesystem>

using namespace vork;
using test::TempDir;

namespace {

// The file as Qt reads it, with the format told from the content.
Bitmap readBack(const std::string& path, QByteArray* format = nullptr) {
    QImageReader reader(QString::fromStdString(path));
    reader.setDecideFormatFromContent(true);
    if (format)
        *format = reader.format();
    const QImage image = reader.read();
    return test::bitmapOf(image);
}

// Random pixels, translucent ones among them; a pixel of alpha 0 is transparent black, as a
// composite makes it.
Bitmap randomVisible(int w, int h, unsigned seed) {
    Bitmap b = test::randomBitmap(w, h, seed);
    b.setPixel(1, 1, colors::transparent); // at least one
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            if (b.pixel(x, y).a() == 0)
                b.setPixel(x, y, colors::transparent);
    return b;
}

// Four frames of 6 x 4, each a random image of its own; the second frame is switched off.
Document walkCycle() {
    Document d(6, 4, 100);
    d.currentLayer().image = randomVisible(6, 4, 1);
    for (unsigned i = 2; i <= 4; ++i) {
        d.insertFrameAfter(d.currentFrameIndex());
        d.currentLayer().image = randomVisible(6, 4, i);
    }
    d.frame(1).enabled = false;
    return d;
}

bool exists(const std::string& path) {
    return std::filesystem::exists(path);
}

} // namespace

TEST(ExportNames, TheBaseNameLosesOnlyTheExtensionOfTheFileName) {
    EXPECT_EQ(exportBaseName("/tmp/walk"), "/tmp/walk");
    EXPECT_EQ(exportBaseName("/tmp/walk.png"), "/tmp/walk");
    EXPECT_EQ(exportBaseName("/tmp/walk.cycle.png"), "/tmp/walk.cycle");
    EXPECT_EQ(exportBaseName("/tmp/my.frames/walk"), "/tmp/my.frames/walk");
    EXPECT_EQ(pictureExportName("/tmp/pic.bmp"), "/tmp/pic.png");
    EXPECT_EQ(pictureExportName("pic"), "pic.png");
    EXPECT_EQ(frameExportName("/tmp/walk", 1), "/tmp/walk001.png");
    EXPECT_EQ(frameExportName("/tmp/walk", 42), "/tmp/walk042.png");
    EXPECT_EQ(frameExportName("/tmp/walk", 1000), "/tmp/walk1000.png");
}

TEST(FramesExport, EnabledFramesAreNumberedWithoutGapsAndReadBackExactly) {
    TempDir dir;
    const Document d = walkCycle();
    for (const char* chosen : {"walk", "walk.png"}) {
        std::filesystem::remove_all(dir.path);
        std::filesystem::create_directories(dir.path);
        ExportResult result = exportFramesPng(d, dir.file(chosen), SingleLayerView::Off);
        ASSERT_TRUE(result) << chosen << ": " << result.outcome.reason << " "
                            << result.outcome.detail;
        const std::vector<std::string> expected = {dir.file("walk001.png"), dir.file("walk002.png"),
                                                   dir.file("walk003.png")};
        EXPECT_EQ(result.written, expected) << chosen;
        EXPECT_FALSE(exists(dir.file("walk004.png")));
        const int frameOf[] = {0, 2, 3};
        for (size_t i = 0; i < 3; ++i) {
            QByteArray format;
            const Bitmap back = readBack(expected[i], &format);
            EXPECT_EQ(format, "png");
            EXPECT_TRUE(test::samePixels(back, d.frame(frameOf[i]).layer(0).image))
                << chosen << ": file " << i + 1;
        }
    }
}

TEST(FramesExport, ComposesWithOpacityAndHonoursTheSingleLayerView) {
    TempDir dir;
    Document d(2, 1, 100);
    Frame& frame = d.current();
    frame.layer(0).image.fill(test::red);
    frame.appendLayer();
    frame.layer(1).image.fill(test::blue);
    frame.layer(1).opacity = 128;
    frame.appendLayer();
    frame.layer(2).image.fill(test::green);
    frame.layer(2).visible = false;
    frame.setCurrentLayer(2);

    ASSERT_TRUE(exportFramesPng(d, dir.file("all"), SingleLayerView::Off));
    // Blue at alpha 128 over red: red 255 x 127 / 255 and blue 255 x 128 / 255, rounded.
    EXPECT_EQ(readBack(dir.file("all001.png")).pixel(1, 0), Color::rgb(127, 0, 128));

    ASSERT_TRUE(exportFramesPng(d, dir.file("alone"), SingleLayerView::On));
    EXPECT_EQ(readBack(dir.file("alone001.png")).pixel(0, 0), test::green)
        << "the current layer alone, hidden or not";
}

TEST(PictureExport, AnyExtensionIsWrittenAsPng) {
    TempDir dir;
    Document picture(5, 3, 0);
    picture.currentLayer().image = randomVisible(5, 3, 9);
    picture.current().appendLayer();
    picture.currentLayer().visible = false;
    picture.currentLayer().image.fill(test::red);
    const Bitmap composite = composePicture(picture, SingleLayerView::Off, 0);
    ExportResult result = exportPicturePng(composite, dir.file("pic.bmp"));
    ASSERT_TRUE(result);
    EXPECT_EQ(result.written, std::vector<std::string>{dir.file("pic.png")});
    EXPECT_FALSE(exists(dir.file("pic.bmp")));
    QByteArray format;
    EXPECT_TRUE(
        test::samePixels(readBack(dir.file("pic.png"), &format), picture.frame(0).layer(0).image));
    EXPECT_EQ(format, "png");
}

TEST(ExportFailures, AFolderThatCannotBeWrittenIsReportedWithTheFile) {
    TempDir dir;
    test::writeBytes(dir.file("plain"), "a file, not a folder");
    const std::string blocked = dir.file("plain") + "/walk";
    ExportResult frames = exportFramesPng(walkCycle(), blocked, SingleLayerView::Off);
    EXPECT_FALSE(frames);
    EXPECT_EQ(frames.outcome.failure, ImageFailure::CannotWrite);
    EXPECT_EQ(frames.outcome.file, blocked + "001.png");
    EXPECT_EQ(frames.outcome.reason, "не удалось записать файл");
    EXPECT_FALSE(frames.outcome.detail.empty());
    EXPECT_TRUE(frames.written.empty());

    ExportResult picture = exportPicturePng(Bitmap(2, 2), dir.file("missing/pic"));
    EXPECT_FALSE(picture);
    EXPECT_EQ(picture.outcome.failure, ImageFailure::CannotWrite);
    EXPECT_EQ(picture.outcome.file, dir.file("missing/pic.png"));
}

TEST(ExportFailures, NoEnabledFrameWritesNothingAndACancelKeepsWhatWasWritten) {
    TempDir dir;
    Document d = walkCycle();
    for (Frame& frame : d.frames())
        frame.enabled = false;
    ExportResult none = exportFramesPng(d, dir.file("walk"), SingleLayerView::Off);
    EXPECT_EQ(none.outcome.failure, ImageFailure::NoEnabledFrames);
    EXPECT_FALSE(exists(dir.file("walk001.png")));

    // Twelve enabled frames: the stop asked for at the first file leaves most of them unwritten.
    Document many(4, 4, 100);
    for (int i = 1; i < 12; ++i)
        many.insertFrameAfter(many.currentFrameIndex());
    int calls = 0;
    ExportResult cancelled =
        exportFramesPng(many, dir.file("many"), SingleLayerView::Off, [&](int done, int total) {
            EXPECT_EQ(done, ++calls);
            EXPECT_EQ(total, 12);
            return false;
        });
    EXPECT_EQ(cancelled.outcome.failure, ImageFailure::Cancelled);
    EXPECT_EQ(calls, 1);
    ASSERT_GE(cancelled.written.size(), 1u);
    ASSERT_LT(cancelled.written.size(), 12u);
    for (size_t i = 0; i < cancelled.written.size(); ++i) {
        EXPECT_EQ(cancelled.written[i], frameExportName(dir.file("many"), int(i) + 1));
        EXPECT_TRUE(exists(cancelled.written[i]));
    }
    EXPECT_FALSE(exists(frameExportName(dir.file("many"), int(cancelled.written.size()) + 1)));
}
