// SPDX-License-Identifier: GPL-3.0-or-later
// Merging the frames of an animation that was read in full into the current one.
#include "model/Limits.h"
#include "pixels/MergeAnimation.h"
#include "support/PixelChecks.h"

#include <gtest/gtest.h>

#include <vector>

using namespace vork;
using test::blue;
using test::red;

namespace {

// An animation of n frames told apart by their delays 1, 2, ..., n.
Document framesWithDelays(int n, int w = 8, int h = 6) {
    Document d(w, h, 100);
    d.frame(0).delay = 1;
    for (int i = 1; i < n; ++i) {
        d.insertFrameAfter(d.currentFrameIndex());
        d.current().delay = i + 1;
    }
    return d;
}

std::vector<double> delaysOf(const Document& d) {
    std::vector<double> out;
    for (const Frame& f : d.frames())
        out.push_back(f.delay);
    return out;
}

} // namespace

TEST(MergeAnimation, PositionsOfTheThreePlaces) {
    EXPECT_EQ(mergePosition(MergePlace::AtBeginning, 7, 10), 0);
    EXPECT_EQ(mergePosition(MergePlace::AtEnd, 7, 10), 10);
    EXPECT_EQ(mergePosition(MergePlace::AfterFrame, 4, 10), 4);
    EXPECT_EQ(mergePosition(MergePlace::AfterFrame, 0, 10), 0) << "same as the beginning";
    EXPECT_EQ(mergePosition(MergePlace::AfterFrame, -3, 10), 0) << "the edit has no lower limit";
    EXPECT_EQ(mergePosition(MergePlace::AfterFrame, 12, 10), 10);
}

TEST(MergeAnimation, ThreeFramesAfterFrameFourOfTen) {
    Document animation = framesWithDelays(10);
    Document merged = framesWithDelays(3);
    for (Frame& f : merged.frames())
        f.delay += 100; // 101, 102, 103
    merged.frame(1).enabled = false;

    ASSERT_EQ(mergeAnimation(animation, merged,
                             mergePosition(MergePlace::AfterFrame, 4, animation.frameCount())),
              EditResult::Done);
    EXPECT_EQ(delaysOf(animation),
              (std::vector<double>{1, 2, 3, 4, 101, 102, 103, 5, 6, 7, 8, 9, 10}));
    EXPECT_EQ(animation.currentFrameIndex(), 6) << "the last merged frame is current";
    EXPECT_FALSE(animation.frame(5).enabled) << "each merged frame keeps its enabled flag";
    EXPECT_TRUE(animation.frame(4).enabled);
    for (int i = 0; i < animation.frameCount(); ++i)
        EXPECT_EQ(animation.frame(i).number, i + 1);
    EXPECT_EQ(animation.defaultDelay, 100);
}

TEST(MergeAnimation, AtTheBeginningAndAtTheEnd) {
    Document animation = framesWithDelays(2);
    Document merged = framesWithDelays(1);
    merged.frame(0).delay = 50;
    ASSERT_EQ(mergeAnimation(animation, merged, 0), EditResult::Done);
    ASSERT_EQ(mergeAnimation(animation, merged, animation.frameCount()), EditResult::Done);
    EXPECT_EQ(delaysOf(animation), (std::vector<double>{50, 1, 2, 50}));
    EXPECT_EQ(animation.currentFrameIndex(), 3);
}

TEST(MergeAnimation, ASmallerAnimationLandsCentredWithItsLayers) {
    Document animation(300, 264, 100);
    Document merged(50, 40, 100);
    Frame& source = merged.current();
    source.layer(0).image.setPixel(0, 0, red);
    source.appendLayer();
    source.appendLayer();
    source.deleteLayer(1); // ids 1 and 3: the merged frame renumbers them
    source.layer(1).image.setPixel(49, 39, blue);
    source.layer(1).image.setPixel(10, 5, Color::fromArgb(0, 1, 2, 3)); // invisible colour
    source.layer(1).visible = false;
    source.layer(1).opacity = 77;
    source.setCurrentLayer(0);

    ASSERT_EQ(mergeAnimation(animation, merged, 1), EditResult::Done);
    EXPECT_EQ(mergeOffset(300, 264, 50, 40), (Point{125, 112}));
    const Frame& frame = animation.frame(1);
    EXPECT_EQ(frame.width, 300.0f);
    EXPECT_EQ(frame.height, 264.0f);
    ASSERT_EQ(frame.layerCount(), 2);
    EXPECT_EQ(frame.layer(0).id, 1);
    EXPECT_EQ(frame.layer(1).id, 2);
    EXPECT_EQ(frame.layerCounter, 2);
    EXPECT_EQ(frame.currentLayerIndex(), 1) << "the top layer is current";
    EXPECT_TRUE(frame.layer(0).visible);
    EXPECT_FALSE(frame.layer(1).visible);
    EXPECT_EQ(frame.layer(1).opacity, 77);
    EXPECT_EQ(test::paintedPixels(frame.layer(0).image), (test::PixelSet{{125, 112}}));
    EXPECT_EQ(frame.layer(0).image.pixel(125, 112), red);
    EXPECT_EQ(test::paintedPixels(frame.layer(1).image), (test::PixelSet{{174, 151}, {135, 117}}));
    EXPECT_EQ(frame.layer(1).image.pixel(174, 151), blue);
    EXPECT_EQ(frame.layer(1).image.pixel(135, 117), Color::fromArgb(0, 1, 2, 3))
        << "pixels are copied, not blended";
    EXPECT_EQ(frame.thumbnail.width(), 55) << "the merged frame's thumbnail is built";
}

TEST(MergeAnimation, ALargerAnimationIsCroppedRoundItsCentre) {
    Document animation(4, 4, 100);
    Document merged(10, 9, 100);
    for (int y = 0; y < 9; ++y)
        for (int x = 0; x < 10; ++x)
            merged.currentLayer().image.setPixel(x, y, Color::rgb(x, y, 0));
    ASSERT_EQ(mergeAnimation(animation, merged, 1), EditResult::Done);
    // 4 / 2 - 10 div 2 = -3 and 4 / 2 - 9 div 2 = -2.
    const Bitmap& image = animation.frame(1).layer(0).image;
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x)
            EXPECT_EQ(image.pixel(x, y), Color::rgb(x + 3, y + 2, 0));
}

TEST(MergeAnimation, RefusesFramesBeyondTheMemoryBudgetAndChangesNothing) {
    const int side = 2000;
    const int64_t layerBytes = int64_t(side) * side * 4;
    Document animation(side, side, 100);
    Document merged = framesWithDelays(int(maxDecodedBytes / layerBytes), 1, 1);
    EXPECT_EQ(mergeAnimation(animation, merged, 1), EditResult::TooLarge);
    EXPECT_EQ(animation.frameCount(), 1);
    EXPECT_EQ(animation.currentFrameIndex(), 0);
}
