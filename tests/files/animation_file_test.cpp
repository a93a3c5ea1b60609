// SPDX-License-Identifier: GPL-3.0-or-later
// The animation file: round trips, the exact bytes of small animations, what a read gives.
#include "DocumentFileTestSupport.h"
#include "files/AnimationFile.h"
#include "files/PictureFile.h"
#include "support/PixelChecks.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

namespace vork {
namespace {

using test::FileBuilder;

const auto animation = DocumentFileFormat::Animation;

TEST(AnimationRoundTrip, SeededRandomAnimationsKeepEveryFieldPixelAndColour) {
    std::mt19937 rng(1999);
    for (int i = 0; i < 12; ++i) {
        SCOPED_TRACE("animation " + std::to_string(i));
        const auto saved = test::randomAnimation(rng, i < 3 ? 2 : 200, 6, 4);
        const auto palette = test::randomPalette(rng);
        const auto bytes = encodeAnimation(*saved, palette);
        const auto read = decodeAnimation(bytes);
        ASSERT_TRUE(read) << read.reason;
        test::expectReadBack(*saved, *read.document, animation);
        test::expectSameColours(read.smallPalette, palette);
        EXPECT_EQ(encodeAnimation(*read.document, read.smallPalette), bytes);
    }
}

TEST(AnimationRoundTrip, ThroughAFileOnDisk) {
    test::TempDir dir;
    std::mt19937 rng(11);
    const auto saved = test::randomAnimation(rng, 60, 4, 3);
    const auto palette = test::randomPalette(rng);
    ASSERT_TRUE(writeAnimationFile(dir.file("a.gelm"), *saved, palette));
    const auto read = readAnimationFile(dir.file("a.gelm"));
    ASSERT_TRUE(read) << read.reason;
    test::expectReadBack(*saved, *read.document, animation);
}

TEST(AnimationBytes, OnePixelOneFrameIs492BytesAndEachFurtherFrameAdds28) {
    Document doc(1, 1, 100.0);
    doc.defaultDelay = 250.5;
    doc.current().delay = 40.9;
    doc.current().enabled = false;
    doc.currentLayer().opacity = 9;
    doc.currentLayer().image.setPixel(0, 0, Color::fromArgb(1, 2, 3, 4));
    auto palette = makePalette(smallPaletteSize);
    for (int i = 0; i < smallPaletteSize; ++i)
        palette[size_t(i)].color = Color::fromArgb(i, i + 1, i + 2, i + 3);

    FileBuilder expected;
    expected.header("gelm", 250, 1, 1).int32(1);           // frame count
    expected.int32(40).int32(0).int32(1);                  // delay, enabled, N
    expected.int32(1).int32(9).int32(1).byte4(4, 3, 2, 1); // visible, opacity, run
    auto bytes = encodeAnimation(doc, palette);
    ASSERT_EQ(bytes.size(), 492u);
    EXPECT_EQ(bytes, expected.bytes);

    doc.insertFrameAfter(0);
    doc.insertFrameAfter(1);
    EXPECT_EQ(encodeAnimation(doc, palette).size(), 492u + 2 * 28u);
}

TEST(AnimationRead, DelaysAndSwitchedOffFramesComeBack) {
    Document doc(2, 2, 100.0);
    doc.insertFrameAfter(0);
    doc.insertFrameAfter(1);
    doc.frame(0).delay = 100;
    doc.frame(1).delay = 200;
    doc.frame(2).delay = 40;
    doc.frame(1).enabled = false;
    doc.frame(1).appendLayer(); // appending switches a frame on ...
    doc.frame(1).enabled = false;
    const auto read = decodeAnimation(encodeAnimation(doc, makePalette(smallPaletteSize)));
    ASSERT_TRUE(read) << read.reason;
    ASSERT_EQ(read.document->frameCount(), 3);
    EXPECT_EQ(read.document->frame(0).delay, 100);
    EXPECT_EQ(read.document->frame(1).delay, 200);
    EXPECT_EQ(read.document->frame(2).delay, 40);
    EXPECT_TRUE(read.document->frame(0).enabled);
    // ... but the read keeps the flag of a frame with several layers off.
    EXPECT_FALSE(read.document->frame(1).enabled);
    EXPECT_EQ(read.document->frame(1).layerCount(), 2);
    EXPECT_TRUE(read.document->frame(2).enabled);
    EXPECT_EQ(read.document->currentFrameIndex(), 2);
    EXPECT_EQ(read.document->frame(2).number, 3);
}

TEST(AnimationRead, LayerIdsReadBackAsOneToNWithTheCounterAtN) {
    Document doc(3, 3, 100.0);
    Frame& frame = doc.current();
    frame.insertLayerAfter(0); // id 2
    frame.insertLayerAfter(1); // id 3
    frame.deleteLayer(1);      // ids 1, 3
    frame.insertLayerAfter(1); // ids 1, 3, 4
    ASSERT_EQ(frame.layer(2).id, 4);
    frame.setCurrentLayer(0);
    const auto read = decodeAnimation(encodeAnimation(doc, makePalette(smallPaletteSize)));
    ASSERT_TRUE(read) << read.reason;
    const Frame& back = read.document->current();
    ASSERT_EQ(back.layerCount(), 3);
    EXPECT_EQ(back.layer(0).id, 1);
    EXPECT_EQ(back.layer(1).id, 2);
    EXPECT_EQ(back.layer(2).id, 3);
    EXPECT_EQ(back.layerCounter, 3);
    EXPECT_EQ(back.currentLayerIndex(), 2);
}

TEST(AnimationRead, DefaultDelayIsTheStoredOneAndNewFramesTakeIt) {
    FileBuilder file;
    file.header("gelm", 70, 1, 1).int32(1).int32(-5).int32(1).int32(1);
    file.int32(0).int32(255).run(1, test::red);
    const auto read = decodeAnimation(file.span());
    ASSERT_TRUE(read) << read.reason;
    EXPECT_EQ(read.document->defaultDelay, 70);
    EXPECT_EQ(read.document->current().delay, -5);
    EXPECT_FALSE(read.document->currentLayer().visible);
    read.document->insertFrameAfter(0);
    EXPECT_EQ(read.document->current().delay, 70);
}

TEST(AnimationRead, APictureFileIsRefusedAsAnotherFormat) {
    Document picture(4, 4, 0.0);
    const auto read = decodeAnimation(encodePicture(picture, makePalette(smallPaletteSize)));
    EXPECT_FALSE(read);
    EXPECT_EQ(read.failure, ReadFailure::WrongFormat);
    EXPECT_EQ(read.reason, "Это не файл формата gelum.");
}

TEST(AnimationThumbnails, RebuiltAfterReadShowEveryLayerAndFrame) {
    Document doc(20, 20, 100.0);
    doc.insertFrameAfter(0);
    doc.frame(0).layer(0).image.fill(test::green);
    doc.frame(1).appendLayer();
    doc.frame(1).layer(0).image.fill(test::blue);
    const auto read = decodeAnimation(encodeAnimation(doc, makePalette(smallPaletteSize)));
    ASSERT_TRUE(read);
    rebuildThumbnailsAfterRead(*read.document, animation);
    EXPECT_EQ(read.document->frame(0).layer(0).thumbnail.pixel(15, 15), test::green);
    // Not only the current layer of a frame gets its thumbnail.
    EXPECT_EQ(read.document->frame(1).layer(0).thumbnail.pixel(15, 15), test::blue);
    const Bitmap& strip = read.document->frame(0).thumbnail;
    EXPECT_EQ(strip.width(), 55);
    EXPECT_EQ(strip.height(), 50);
    EXPECT_EQ(strip.pixel(27, 25), test::green);
}

} // namespace
} // namespace vork
