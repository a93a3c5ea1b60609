// SPDX-License-Identifier: GPL-3.0-or-later
// The picture file: round trips, the exact bytes of small pictures, what a read gives.
#include "DocumentFileTestSupport.h"
#include "files/AnimationFile.h"
#include "files/PictureFile.h"
#include "support/PixelChecks.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

namespace vork {
namespace {

using test::FileBuilder;

const auto picture = DocumentFileFormat::Picture;

TEST(PictureRoundTrip, SeededRandomPicturesKeepEveryFieldPixelAndColour) {
    std::mt19937 rng(20240611);
    for (int i = 0; i < 25; ++i) {
        SCOPED_TRACE("picture " + std::to_string(i));
        const auto saved = test::randomPicture(rng, i < 5 ? 3 : 260, 5);
        const auto palette = test::randomPalette(rng);
        const auto bytes = encodePicture(*saved, palette);
        const auto read = decodePicture(bytes);
        ASSERT_TRUE(read) << read.reason;
        EXPECT_EQ(read.failure, ReadFailure::None);
        test::expectReadBack(*saved, *read.document, picture);
        test::expectSameColours(read.smallPalette, palette);
        // The same document is written to the same bytes again.
        EXPECT_EQ(encodePicture(*read.document, read.smallPalette), bytes);
    }
}

TEST(PictureRoundTrip, ThroughAFileOnDisk) {
    test::TempDir dir;
    std::mt19937 rng(7);
    const auto saved = test::randomPicture(rng, 90, 3);
    const auto palette = test::randomPalette(rng);
    ASSERT_TRUE(writePictureFile(dir.file("a.trnl"), *saved, palette));
    const auto read = readPictureFile(dir.file("a.trnl"));
    ASSERT_TRUE(read) << read.reason;
    test::expectReadBack(*saved, *read.document, picture);
}

TEST(PictureBytes, OnePixelOneLayerIs492BytesInTheDocumentedOrder) {
    Document doc(1, 1, 0.0);
    doc.defaultDelay = -7.9;
    doc.current().layerCounter = 6;
    Layer& layer = doc.currentLayer();
    layer.id = 6;
    layer.visible = false;
    layer.opacity = 200;
    layer.image.setPixel(0, 0, Color::fromArgb(0x40, 0x11, 0x22, 0x33));
    auto palette = makePalette(smallPaletteSize);
    for (int i = 0; i < smallPaletteSize; ++i)
        palette[size_t(i)].color = Color::fromArgb(i, i + 1, i + 2, i + 3);

    FileBuilder expected;
    expected.header("trnl", -7, 1, 1).int32(1).int32(6).int32(1); // frame count, counter, N
    expected.int32(6).int32(0).int32(200);                        // id, visible, opacity
    expected.int32(1).byte4(0x33, 0x22, 0x11, 0x40);              // run: end, B, G, R, A
    const auto bytes = encodePicture(doc, palette);
    ASSERT_EQ(bytes.size(), 492u);
    EXPECT_EQ(bytes, expected.bytes);
}

TEST(PictureBytes, RunsAreMaximalAndComparedOnAllFourBytes) {
    Document doc(3, 1, 0.0);
    Bitmap& image = doc.currentLayer().image;
    image.setPixel(0, 0, test::red);
    image.setPixel(1, 0, test::red);
    image.setPixel(2, 0, test::blue);
    const auto palette = makePalette(smallPaletteSize);
    auto bytes = encodePicture(doc, palette);
    FileBuilder runs;
    runs.run(2, test::red).run(3, test::blue);
    ASSERT_EQ(bytes.size(), 472u + 12u + 16u);
    EXPECT_TRUE(std::equal(runs.bytes.begin(), runs.bytes.end(), bytes.end() - 16));

    // Two fully transparent pixels with different colour bytes are two runs, then a layer of
    // one colour is a single run however large.
    Document clear(2, 1, 0.0);
    clear.currentLayer().image.setPixel(0, 0, Color(0x00FF0000u));
    bytes = encodePicture(clear, palette);
    runs = {};
    runs.run(1, Color(0x00FF0000u)).run(2, Color(0u));
    ASSERT_EQ(bytes.size(), 472u + 12u + 16u);
    EXPECT_TRUE(std::equal(runs.bytes.begin(), runs.bytes.end(), bytes.end() - 16));

    Document flat(300, 200, 0.0);
    flat.currentLayer().image.fill(test::green);
    EXPECT_EQ(encodePicture(flat, palette).size(), 472u + 12u + 8u);
}

TEST(PictureRead, LastLayerIsCurrentAndTheCounterNeverFallsBelowAnId) {
    // Two layers with ids 5 and 2 under a stored counter of 3: the counter is raised to 5, so a
    // new layer cannot take id 5 a second time.
    FileBuilder file;
    file.header("trnl", 30, 2, 1).int32(1).int32(3).int32(2);
    file.int32(5).int32(1).int32(255).run(2, test::red);
    file.int32(2).int32(7).int32(0).run(1, test::green).run(2, test::blue);
    const auto read = decodePicture(file.span());
    ASSERT_TRUE(read) << read.reason;
    const Frame& frame = read.document->current();
    ASSERT_EQ(frame.layerCount(), 2);
    EXPECT_EQ(frame.currentLayerIndex(), 1);
    EXPECT_EQ(frame.layerCounter, 5);
    EXPECT_EQ(frame.layer(0).id, 5);
    EXPECT_EQ(frame.layer(1).id, 2);
    EXPECT_TRUE(frame.layer(1).visible); // any non-zero value is visible
    EXPECT_EQ(frame.layer(1).opacity, 0);
    EXPECT_EQ(frame.layer(1).image.pixel(1, 0), test::blue);
    EXPECT_EQ(read.document->defaultDelay, 30);
    EXPECT_EQ(frame.delay, 0); // the picture's frame keeps the delay of a new picture
    EXPECT_EQ(read.smallPalette[110].color, Color::fromArgb(110, 111, 112, 113));
}

TEST(PictureRead, TheFrameCountIsNotTrusted) {
    // Whatever count it holds, a picture file has exactly one frame record.
    FileBuilder file;
    file.header("trnl", 0, 1, 1).int32(9).int32(1).int32(1);
    file.int32(1).int32(1).int32(255).run(1, test::red);
    const auto read = decodePicture(file.span());
    ASSERT_TRUE(read) << read.reason;
    EXPECT_EQ(read.document->frameCount(), 1);
}

TEST(PictureRead, AnAnimationFileIsRefusedAsAnotherFormat) {
    Document animation(4, 4, 100.0);
    const auto bytes = encodeAnimation(animation, makePalette(smallPaletteSize));
    const auto read = decodePicture(bytes);
    EXPECT_FALSE(read);
    EXPECT_EQ(read.failure, ReadFailure::WrongFormat);
    EXPECT_EQ(read.reason, "Это не файл формата tarnel.");
    EXPECT_TRUE(read.smallPalette.empty());
}

TEST(PictureWrite, ADelayBeyondTheIntegerRangeIsSaturatedNotUndefined) {
    Document doc(1, 1, 0.0);
    const auto palette = makePalette(smallPaletteSize);
    doc.defaultDelay = 1e12;
    auto read = decodePicture(encodePicture(doc, palette));
    ASSERT_TRUE(read);
    EXPECT_EQ(read.document->defaultDelay, 2147483647.0);
    doc.defaultDelay = std::nan("");
    read = decodePicture(encodePicture(doc, palette));
    ASSERT_TRUE(read);
    EXPECT_EQ(read.document->defaultDelay, 0.0);
}

TEST(PictureWrite, ADocumentNoFileCouldHoldIsNotWritten) {
    // No run list can describe such a layer; the save fails instead of writing a broken file.
    test::TempDir dir;
    Document doc(4, 4, 0.0);
    doc.currentLayer().image = Bitmap(3, 4);
    EXPECT_TRUE(encodePicture(doc, makePalette(smallPaletteSize)).empty());
    const auto saved = writePictureFile(dir.file("p.trnl"), doc, makePalette(smallPaletteSize));
    EXPECT_FALSE(saved);
    EXPECT_FALSE(saved.reason.empty());
    EXPECT_FALSE(std::filesystem::exists(dir.file("p.trnl")));

    // Nor is a side the readers would refuse.
    Document wide(5001, 1, 0.0);
    EXPECT_TRUE(encodePicture(wide, makePalette(smallPaletteSize)).empty());
    EXPECT_TRUE(encodeAnimation(wide, makePalette(smallPaletteSize)).empty());
}

TEST(PictureThumbnails, RebuiltAfterReadShowTheLayers) {
    Document doc(30, 30, 0.0);
    doc.currentLayer().image.fill(test::red);
    const auto read = decodePicture(encodePicture(doc, makePalette(smallPaletteSize)));
    ASSERT_TRUE(read);
    Layer& layer = read.document->currentLayer();
    EXPECT_NE(layer.thumbnail.pixel(15, 15), test::red); // a read draws nothing
    rebuildThumbnailsAfterRead(*read.document, picture);
    EXPECT_EQ(layer.thumbnail.width(), 30);
    EXPECT_EQ(layer.thumbnail.pixel(15, 15), test::red);
}

} // namespace
} // namespace vork
