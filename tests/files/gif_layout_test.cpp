// SPDX-License-Identifier: GPL-3.0-or-later
// Following the blocks of a GIF: screen, image count, and truncation anywhere.
#include "files/GifLayout.h"
#include "files/ImageImport.h"
#include "support/GifWriter.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

using namespace vork;

namespace {

std::span<const uint8_t> bytesOf(const std::string& s, size_t n) {
    return {reinterpret_cast<const uint8_t*>(s.data()), n};
}

// Three frames on a 20 x 10 screen, the second one smaller, placed and with a local palette
// of its own in the file: every kind of block the walk steps over.
std::string threeFrameGif(const test::TempDir& dir) {
    std::vector<test::GifFrame> frames;
    frames.push_back(test::fullFrame(20, 10, [](int x, int) { return x % 2; }));
    test::GifFrame small = test::fullFrame(3, 2, [](int, int) { return 2; });
    small.left = 4;
    small.top = 5;
    small.transparentIndex = 2;
    small.localPalette = {Color::rgb(1, 2, 3), Color::rgb(4, 5, 6), Color::rgb(7, 8, 9)};
    frames.push_back(small);
    frames.push_back(test::fullFrame(20, 10, [](int, int y) { return y % 3; }));
    const std::string path = dir.file("three.gif");
    EXPECT_TRUE(test::writeGif(
        path, 20, 10, {Color::rgb(255, 0, 0), Color::rgb(0, 255, 0), Color::rgb(0, 0, 255)},
        frames));
    return test::readBytes(path);
}

} // namespace

TEST(GifLayout, GivesTheScreenAndTheImageCountOfAWholeFile) {
    test::TempDir dir;
    const std::string gif = threeFrameGif(dir);
    const auto layout = readGifLayout(bytesOf(gif, gif.size()));
    ASSERT_TRUE(layout);
    EXPECT_EQ(layout->screenWidth, 20);
    EXPECT_EQ(layout->screenHeight, 10);
    EXPECT_EQ(layout->imageCount, 3);
    EXPECT_TRUE(layout->complete);
    const std::string trailing = gif + "junk after the trailer";
    EXPECT_TRUE(readGifLayout(bytesOf(trailing, trailing.size()))->complete);
}

TEST(GifLayout, EveryCutShortOfTheTrailerIsIncompleteAndImportsNothing) {
    test::TempDir dir;
    const std::string gif = threeFrameGif(dir);
    for (size_t n = 0; n < gif.size(); ++n) {
        const auto layout = readGifLayout(bytesOf(gif, n));
        EXPECT_EQ(layout.has_value(), n >= 6) << n;
        if (layout) {
            EXPECT_FALSE(layout->complete) << n;
        }
        ImportedDocument imported = importGifBytes(bytesOf(gif, n));
        EXPECT_FALSE(imported) << n;
        EXPECT_EQ(imported.outcome.failure, ImageFailure::CannotRead) << n;
    }
    EXPECT_TRUE(importGifBytes(bytesOf(gif, gif.size())));
}

TEST(GifLayout, AnUnknownBlockMeansDamage) {
    test::TempDir dir;
    std::string gif = threeFrameGif(dir);
    gif[gif.size() - 1] = '!'; // the trailer replaced by a byte that starts no block
    EXPECT_FALSE(readGifLayout(bytesOf(gif, gif.size()))->complete);
    EXPECT_FALSE(readGifLayout(bytesOf("PNG89a", 6)));
}

// Each image's delay comes from the control block before it; the import keeps it, making the 0
// and 1 hundredth that browsers play as a tenth of a second 100 ms.
TEST(GifLayout, EachImageKeepsItsOwnDelay) {
    test::TempDir dir;
    std::vector<test::GifFrame> frames;
    for (int delay : {10, 20, 5, 0, 1})
        frames.push_back(test::fullFrame(4, 3, [delay](int x, int) { return (x + delay) % 2; }));
    const int delays[] = {10, 20, 5, 0, 1};
    for (size_t k = 0; k < frames.size(); ++k)
        frames[k].delayCentiseconds = delays[k];
    const std::string path = dir.file("delays.gif");
    ASSERT_TRUE(
        test::writeGif(path, 4, 3, {Color::rgb(0, 0, 0), Color::rgb(255, 255, 255)}, frames));
    const std::string bytes = test::readBytes(path);
    const auto layout = readGifLayout(bytesOf(bytes, bytes.size()));
    ASSERT_TRUE(layout);
    EXPECT_EQ(layout->delays, (std::vector<int>{10, 20, 5, 0, 1}));

    const ImportedDocument imported = importGif(path);
    ASSERT_TRUE(imported);
    const double expected[] = {100, 200, 50, 100, 100};
    ASSERT_EQ(imported.document->frameCount(), 5);
    for (int k = 0; k < 5; ++k)
        EXPECT_EQ(imported.document->frame(k).delay, expected[k]) << "frame " << k + 1;
    const ImageSummary summary = summariseImageFile(path);
    ASSERT_TRUE(summary);
    EXPECT_EQ(summary.delaysMs, std::vector<double>(std::begin(expected), std::end(expected)));
}

// A file that cannot be imported says why: missing, no image at all, or where it is cut short.
TEST(GifLayout, AnUnreadableImageSaysWhy) {
    test::TempDir dir;
    const std::string whole = threeFrameGif(dir);
    test::writeBytes(dir.file("text.gif"), "GIF? no, just text\n");
    test::writeBytes(dir.file("cut.gif"), whole.substr(0, whole.size() - 20));
    const std::pair<std::string, std::string> cases[] = {
        {"missing.gif", "файл не найден"},
        {"text.gif", "это не изображение известного вида"},
        {"cut.gif", "файл обрезан после кадра 2"},
    };
    for (const auto& [name, detail] : cases) {
        const ImportedDocument imported = importGif(dir.file(name));
        EXPECT_FALSE(imported) << name;
        EXPECT_EQ(imported.outcome.failure, ImageFailure::CannotRead) << name;
        EXPECT_EQ(imported.outcome.detail, detail) << name;
        EXPECT_EQ(summariseImageFile(dir.file(name)).outcome.detail, detail) << name;
    }
}

// Read from the file through a buffer, every cut of a GIF gives the layout the bytes give.
TEST(GifLayout, TheFileWalkMatchesTheWalkInMemory) {
    test::TempDir dir;
    const std::string gif = threeFrameGif(dir);
    const std::string cut = dir.file("cut.gif");
    for (size_t n = 0; n <= gif.size(); n += 7) {
        test::writeBytes(cut, gif.substr(0, n));
        const auto inMemory = readGifLayout(bytesOf(gif, n));
        const GifFileLayout file = readGifFileLayout(cut);
        EXPECT_TRUE(file.unreadable.empty()) << n;
        ASSERT_EQ(file.layout.has_value(), inMemory.has_value()) << n;
        if (inMemory) {
            EXPECT_EQ(file.layout->complete, inMemory->complete) << n;
            EXPECT_EQ(file.layout->imageCount, inMemory->imageCount) << n;
            EXPECT_EQ(file.layout->delays, inMemory->delays) << n;
            EXPECT_EQ(file.layout->screenWidth, inMemory->screenWidth) << n;
        }
    }
    EXPECT_TRUE(readGifFileLayout(dir.file("three.gif")).layout->complete);
    EXPECT_EQ(readGifFileLayout(dir.file("none.gif")).unreadable, "файл не найден");
    EXPECT_EQ(readGifFileLayout(dir.path.string()).unreadable, "это папка");
}
