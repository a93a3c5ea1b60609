// SPDX-License-Identifier: GPL-3.0-or-later
// Progress of the picture and animation files: reads and writes count layers, and a stop asked
// for on the way leaves no document and no file.
#include "files/AnimationFile.h"
#include "files/PictureFile.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace vork;

namespace {

// Three frames of two layers each.
Document sixLayers() {
    Document d(4, 3, 100);
    d.frame(0).appendLayer();
    d.insertFrameAfter(0);
    d.current().appendLayer();
    d.insertFrameAfter(1);
    d.current().appendLayer();
    return d;
}

struct Recorder {
    std::vector<std::pair<int, int>> steps;
    int stopAt = 0;
    Progress progress() {
        return [this](int done, int total) {
            steps.emplace_back(done, total);
            return stopAt == 0 || done < stopAt;
        };
    }
};

TEST(DocumentFileProgress, ReadsAndWritesCountEveryLayerOnce) {
    const Document d = sixLayers();
    const std::vector<PaletteEntry> palette = makePalette(smallPaletteSize);
    Recorder write;
    const auto bytes = encodeAnimation(d, palette, write.progress());
    ASSERT_FALSE(bytes.empty());
    Recorder read;
    ASSERT_TRUE(decodeAnimation(bytes, read.progress()));
    const std::vector<std::pair<int, int>> expected{{1, 6}, {2, 6}, {3, 6}, {4, 6}, {5, 6}, {6, 6}};
    EXPECT_EQ(write.steps, expected);
    EXPECT_EQ(read.steps, expected);
}

TEST(DocumentFileProgress, AStoppedReadGivesNoDocumentAndAStoppedWriteNoFile) {
    const Document d = sixLayers();
    const std::vector<PaletteEntry> palette = makePalette(smallPaletteSize);
    test::TempDir dir;
    const std::string file = dir.file("a.gelm");
    ASSERT_TRUE(writeAnimationFile(file, d, palette));
    const std::string old = test::readBytes(file);

    Recorder read;
    read.stopAt = 3;
    const DocumentReadResult r = readAnimationFile(file, read.progress());
    EXPECT_FALSE(r);
    EXPECT_EQ(r.failure, ReadFailure::Cancelled);
    EXPECT_EQ(read.steps.size(), 3u) << "the build stops at the step that asked";

    Document changed = sixLayers();
    changed.frame(0).layer(0).image.setPixel(0, 0, Color::rgb(1, 2, 3));
    Recorder write;
    write.stopAt = 2;
    const SaveResult saved = writeAnimationFile(file, changed, palette, write.progress());
    EXPECT_FALSE(saved);
    EXPECT_TRUE(saved.cancelled);
    EXPECT_EQ(test::readBytes(file), old);

    Document picture(2, 2, 0);
    picture.current().appendLayer();
    Recorder pictureWrite;
    pictureWrite.stopAt = 1;
    const SaveResult pictureSaved =
        writePictureFile(dir.file("p.trnl"), picture, palette, pictureWrite.progress());
    EXPECT_TRUE(pictureSaved.cancelled);
    EXPECT_FALSE(std::filesystem::exists(dir.file("p.trnl")));
}

} // namespace
