// SPDX-License-Identifier: GPL-3.0-or-later
// The size, canvas and merge commands of the menu: what OK does to the document, and that
// Cancel and a damaged merge file change nothing.
#include "commands/FileMessages.h"
#include "files/AnimationFile.h"
#include "support/CommandScenario.h"
#include "support/TempDir.h"
#include "ui/Commands.h"

#include <gtest/gtest.h>

using namespace vork;
using vork::test::blue;
using vork::test::red;

namespace {

struct SizeCommands : test::CommandScenario<> {
    test::TempDir dir;
    void SetUp() override { resize(1000, 700); }

    // Frames whose delays are 1..count, to tell them apart after a merge.
    Document& numberedFrames(int count, int w, int h) {
        Document& a = newDocument(Mode::Animator, w, h);
        for (int k = 1; k < count; ++k)
            a.insertFrameAfter(k - 1);
        for (int k = 0; k < count; ++k)
            a.frame(k).delay = k + 1;
        paint();
        return a;
    }
    // An animation file of `count` frames of w x h with delays 1001.., a red top-left pixel.
    std::string mergeFile(int count, int w, int h) {
        Document d(w, h, 100);
        for (int k = 1; k < count; ++k)
            d.insertFrameAfter(k - 1);
        for (int k = 0; k < count; ++k) {
            d.frame(k).delay = 1001 + k;
            d.frame(k).layer(0).image.setPixel(0, 0, red);
        }
        std::vector<PaletteEntry> palette = makePalette(smallPaletteSize);
        palette[50].color = blue;
        const std::string path = dir.file("other.gelm");
        EXPECT_TRUE(writeAnimationFile(path, d, palette));
        return path;
    }
};

TEST_F(SizeCommands, ThePainterMenuRescalesThePictureWhicheverModeIsShown) {
    Document& picture = newDocument(Mode::Painter, 4, 2);
    picture.currentLayer().image.setPixel(3, 1, red);
    newDocument(Mode::Animator, 30, 30); // the Animator is shown
    paint();
    bool enabledInDialog = true;
    platform.onDialog = [&] { enabledInDialog = e.input.inputEnabled; };
    platform.pictureSizeAnswers.push_back({true, 8, 4, Interpolation::NearestNeighbor});
    onCommand(e, Command::PicturePictureSize);

    ASSERT_EQ(platform.pictureSizeOpened.size(), 1u);
    EXPECT_EQ(platform.pictureSizeOpened[0].mode, Mode::Painter);
    EXPECT_EQ(platform.pictureSizeOpened[0].width, 4);
    EXPECT_FALSE(enabledInDialog);
    EXPECT_TRUE(e.input.inputEnabled);
    Document& p = *e.picture();
    EXPECT_EQ(p.width, 8);
    EXPECT_EQ(p.height, 4);
    EXPECT_EQ(e.mode(Mode::Painter).width, 8);
    EXPECT_EQ(e.mode(Mode::Painter).scratch.width(), 8);
    for (int y = 2; y < 4; ++y)
        for (int x = 6; x < 8; ++x)
            EXPECT_EQ(p.currentLayer().image.pixel(x, y), red) << x << "," << y;
    EXPECT_EQ(p.currentLayer().image.pixel(5, 3).a(), 0);
    EXPECT_EQ(e.animation()->width, 30) << "the animation is left alone";
}

TEST_F(SizeCommands, CancelAndNoDocumentChangeNothing) {
    onCommand(e, Command::AnimationPictureSize);
    EXPECT_TRUE(platform.pictureSizeOpened.empty()) << "no animation: no dialog";

    Document& a = newDocument(Mode::Animator, 12, 10);
    paint();
    e.selection.active = true;
    onCommand(e, Command::AnimationPictureSize); // no answer: Cancel
    onCommand(e, Command::AnimationCanvasSize);
    EXPECT_EQ(platform.pictureSizeOpened.size(), 1u);
    EXPECT_EQ(platform.canvasSizeOpened.size(), 1u);
    EXPECT_EQ(e.animation().get(), &a);
    EXPECT_EQ(a.width, 12);
    EXPECT_TRUE(e.selection.active) << "a cancelled dialog leaves the Selection alone";
}

TEST_F(SizeCommands, TheCanvasGrowsAroundTheChosenAnchor) {
    Document& a = newDocument(Mode::Animator, 5, 5);
    a.currentLayer().image.setPixel(0, 0, red);
    a.currentLayer().image.setPixel(4, 4, blue);
    paint();
    platform.canvasSizeAnswers.push_back({true, 10, 10, Anchor::Centre});
    onCommand(e, Command::AnimationCanvasSize);
    EXPECT_EQ(platform.canvasSizeOpened.at(0).mode, Mode::Animator);
    Document& grown = *e.animation();
    EXPECT_EQ(grown.width, 10);
    EXPECT_EQ(grown.currentLayer().image.pixel(2, 2), red);
    EXPECT_EQ(grown.currentLayer().image.pixel(6, 6), blue);
    EXPECT_EQ(e.mode(Mode::Animator).width, 10);

    platform.canvasSizeAnswers.push_back({true, 12, 11, Anchor::BottomRight});
    onCommand(e, Command::AnimationCanvasSize);
    EXPECT_EQ(e.animation()->currentLayer().image.pixel(8, 7), blue)
        << "the bottom-right corner stays in place";
}

TEST_F(SizeCommands, AMergeAfterFrameFourPutsTheThreeFramesBetweenFourAndFive) {
    numberedFrames(10, 30, 20);
    const Palettes palettes = e.colour.palettes;
    platform.openAnswers.push_back(mergeFile(3, 30, 20));
    platform.mergeAnswers.push_back({true, MergePlace::AfterFrame, 4});
    onCommand(e, Command::Merge);

    EXPECT_EQ(platform.choosersShown.at(0).title, "Присоединить анимацию");
    EXPECT_EQ(platform.choosersShown.at(0).initialFolder, "gelum");
    EXPECT_FALSE(e.chooserNames.merge.empty());
    EXPECT_EQ(platform.mergeOpenedWith, std::vector<int>{10});
    Document& a = *e.animation();
    ASSERT_EQ(a.frameCount(), 13);
    const int expected[] = {1, 2, 3, 4, 1001, 1002, 1003, 5, 6, 7, 8, 9, 10};
    for (int k = 0; k < 13; ++k)
        EXPECT_EQ(a.frame(k).delay, expected[k]) << k;
    EXPECT_EQ(a.currentFrameIndex(), 6) << "the last merged frame is current";
    EXPECT_EQ(e.colour.palettes.small[50].color, palettes.small[50].color)
        << "the palette is untouched";
}

TEST_F(SizeCommands, ASmallerAnimationIsMergedCentred) {
    numberedFrames(2, 300, 264);
    platform.openAnswers.push_back(mergeFile(1, 50, 40));
    platform.mergeAnswers.push_back({true, MergePlace::AtBeginning, 0});
    onCommand(e, Command::Merge);
    Document& a = *e.animation();
    ASSERT_EQ(a.frameCount(), 3);
    EXPECT_EQ(a.frame(0).delay, 1001);
    EXPECT_EQ(a.frame(0).layer(0).image.width(), 300);
    EXPECT_EQ(a.frame(0).layer(0).image.pixel(125, 112), red);
    EXPECT_EQ(test::countPixels(a.frame(0).layer(0).image, red), 1);
}

TEST_F(SizeCommands, ADamagedMergeFileIsShownAndMergesNothing) {
    Document& a = numberedFrames(4, 10, 10);
    const std::string file = mergeFile(3, 10, 10);
    const std::string bytes = test::readBytes(file);
    test::writeBytes(file, bytes.substr(0, bytes.size() - 9));
    platform.openAnswers.push_back(file);
    platform.mergeAnswers.push_back({true, MergePlace::AtEnd, 0});
    onCommand(e, Command::Merge);
    EXPECT_TRUE(platform.mergeOpenedWith.empty()) << "no dialog for a file that cannot be merged";
    EXPECT_EQ(e.animation().get(), &a);
    EXPECT_EQ(a.frameCount(), 4);
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].first, openFailureCaption);
    EXPECT_NE(platform.messages[0].second.find(file), std::string::npos);

    // A cancelled merge dialog merges nothing either.
    platform.mergeAnswers.clear();
    platform.openAnswers.push_back(mergeFile(3, 10, 10));
    onCommand(e, Command::Merge);
    EXPECT_EQ(platform.mergeOpenedWith.size(), 1u);
    EXPECT_EQ(a.frameCount(), 4);
}

} // namespace
