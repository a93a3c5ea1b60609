// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/Document.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <limits>
#include <memory>
#include <string>
#include <vector>

using namespace vork;

namespace {
std::vector<int> idsOf(const Frame& f) {
    std::vector<int> ids;
    for (const Layer& l : f.layers())
        ids.push_back(l.id);
    return ids;
}

// A document of n frames whose frames are told apart by their delay 1, 2, ... n.
Document numberedFrames(int n) {
    Document d(8, 8, 100);
    d.current().delay = 1;
    for (int i = 2; i <= n; ++i)
        d.frame(d.insertFrameAfter(d.currentFrameIndex())).delay = i;
    return d;
}
} // namespace

TEST(DocumentConstruction, OneFrameWithOneLayerOfTheDocumentSize) {
    Document d(40, 30, 100);
    ASSERT_EQ(d.frameCount(), 1);
    const Frame& f = d.current();
    EXPECT_EQ(f.delay, 100);
    EXPECT_TRUE(f.enabled);
    EXPECT_EQ(f.thumbnail.width(), 50) << "an empty 50 x 50 thumbnail until rebuilt";
    ASSERT_EQ(f.layerCount(), 1);
    const Layer& l = f.current();
    EXPECT_EQ(l.id, 1);
    EXPECT_TRUE(l.visible);
    EXPECT_EQ(l.opacity, 255);
    EXPECT_EQ(l.image.width(), 40);
    EXPECT_EQ(l.image.height(), 30);
    EXPECT_EQ(l.image.pixel(39, 29), colors::transparent);
    EXPECT_EQ(l.thumbnail.width(), 30);
}

TEST(DocumentConstruction, FractionalSizesTruncateAndEmptySizesGiveNullImages) {
    Layer fractional(1, 10.9f, 3.99f);
    EXPECT_EQ(fractional.image.width(), 10);
    EXPECT_EQ(fractional.image.height(), 3);

    for (float bad : {0.0f, 0.5f, -20.0f, std::numeric_limits<float>::quiet_NaN()}) {
        Layer l(1, bad, 10);
        EXPECT_TRUE(l.image.isNull()) << bad;
        l.rebuildThumbnail(30, 30);
        EXPECT_EQ(l.thumbnail.width(), 30);
        EXPECT_EQ(l.thumbnail.pixel(15, 15), colors::transparent) << "no band without pixels";
    }
    Document empty(0, -5, 100);
    empty.insertFrameAfter(0);
    empty.current().insertLayerAfter(0);
    empty.current().rebuildThumbnail();
    EXPECT_TRUE(empty.currentLayer().image.isNull());
    EXPECT_EQ(empty.current().thumbnail.width(), 55);
}

TEST(BitmapExtent, TruncatesTowardZeroAndRejectsWhatIsNotASize) {
    EXPECT_EQ(bitmapExtent(300.7f), 300);
    EXPECT_EQ(bitmapExtent(1.0f), 1);
    EXPECT_EQ(bitmapExtent(0.99f), 0);
    EXPECT_EQ(bitmapExtent(-3.0f), 0);
    EXPECT_EQ(bitmapExtent(std::numeric_limits<float>::quiet_NaN()), 0);
    EXPECT_EQ(bitmapExtent(1e20f), std::numeric_limits<int>::max());
}

TEST(FrameLayers, IdsAreIssuedInOrderAndNeverReused) {
    Document d(4, 4, 0);
    Frame& f = d.current();
    f.insertLayerAfter(f.currentLayerIndex()); // id 2
    f.insertLayerAfter(f.currentLayerIndex()); // id 3
    EXPECT_EQ(idsOf(f), (std::vector<int>{1, 2, 3}));
    f.deleteLayer(1);
    f.insertLayerAfter(f.currentLayerIndex());
    EXPECT_EQ(idsOf(f), (std::vector<int>{1, 3, 4}));
    EXPECT_EQ(f.layerCounter, 4);

    // Frames number their layers independently.
    d.insertFrameAfter(0);
    EXPECT_EQ(d.current().appendLayer(), 1);
    EXPECT_EQ(idsOf(d.current()), (std::vector<int>{1, 2}));
}

TEST(FrameLayers, InsertionMakesTheNewLayerCurrentAndReenablesTheFrame) {
    Document d(4, 4, 0);
    Frame& f = d.current();
    f.enabled = false;
    EXPECT_EQ(f.insertLayerBefore(0), 0);
    EXPECT_TRUE(f.enabled);
    EXPECT_EQ(idsOf(f), (std::vector<int>{2, 1}));
    EXPECT_EQ(f.current().id, 2);

    EXPECT_EQ(f.insertLayerAfter(0), 1);
    EXPECT_EQ(idsOf(f), (std::vector<int>{2, 3, 1}));
    EXPECT_EQ(f.current().id, 3);

    f.enabled = false;
    EXPECT_EQ(f.appendLayer(), 3);
    EXPECT_TRUE(f.enabled) << "the file readers rely on appendLayer switching the frame on";
    EXPECT_EQ(idsOf(f), (std::vector<int>{2, 3, 1, 4}));
    EXPECT_EQ(f.current().image.width(), 4) << "new layers have the frame's size";
}

TEST(FrameLayers, PositionsOutsideTheListAreClampedOnInsertion) {
    Document d(4, 4, 0);
    Frame& f = d.current();
    EXPECT_EQ(f.insertLayerAfter(99), 1);
    EXPECT_EQ(f.insertLayerBefore(-7), 0);
    EXPECT_EQ(idsOf(f), (std::vector<int>{3, 1, 2}));
}

TEST(FrameLayers, DeletionMovesToTheFollowingLayerOrTheNewTop) {
    Document d(4, 4, 0);
    Frame& f = d.current();
    f.appendLayer();
    f.appendLayer(); // ids 1 2 3, current 2
    EXPECT_EQ(f.deleteCurrentLayer(), 1) << "the top layer removed: the new top is current";
    EXPECT_EQ(idsOf(f), (std::vector<int>{1, 2}));

    f.setCurrentLayer(0);
    EXPECT_EQ(f.deleteCurrentLayer(), 0);
    EXPECT_EQ(idsOf(f), (std::vector<int>{2}));
    EXPECT_EQ(f.current().id, 2) << "the layer that followed takes the place";

    EXPECT_EQ(f.deleteCurrentLayer(), 0) << "the only layer is kept";
    EXPECT_EQ(f.layerCount(), 1);
    EXPECT_EQ(f.deleteLayer(5), 0);
    EXPECT_EQ(f.deleteLayer(-1), 0);
    EXPECT_EQ(f.layerCount(), 1);

    f.appendLayer();
    EXPECT_EQ(f.deleteLayer(7), 1) << "a position outside the list deletes nothing";
    EXPECT_EQ(f.layerCount(), 2);
}

TEST(DocumentFrames, InsertionMakesTheNewFrameCurrentWithTheDefaultDelay) {
    Document d(6, 5, 100);
    d.current().delay = 40;
    EXPECT_EQ(d.insertFrameAfter(0), 1);
    EXPECT_EQ(d.current().delay, 100);
    EXPECT_EQ(d.current().width, 6.0f);
    EXPECT_EQ(d.currentLayer().image.height(), 5);
    EXPECT_EQ(d.insertFrameBefore(0), 0);
    EXPECT_EQ(d.frameCount(), 3);
    EXPECT_EQ(d.frame(1).delay, 40) << "the original frame moved to the middle";
    EXPECT_EQ(d.insertFrameAfter(50), 3) << "clamped to the last frame";
}

TEST(DocumentFrames, NextAndPreviousWrapOnlyWhenAsked) {
    Document d = numberedFrames(3);
    EXPECT_EQ(d.goToLastFrame(), 2);
    EXPECT_EQ(d.nextFrame(Wrap::Stop), 2);
    EXPECT_EQ(d.nextFrame(Wrap::Around), 0);
    EXPECT_EQ(d.previousFrame(Wrap::Stop), 0);
    EXPECT_EQ(d.previousFrame(Wrap::Around), 2);
    EXPECT_EQ(d.previousFrame(Wrap::Around), 1);
    EXPECT_EQ(d.nextFrame(Wrap::Stop), 2);
    EXPECT_EQ(d.goToFirstFrame(), 0);
    EXPECT_EQ(d.nextFrame(Wrap::Stop), 1);

    Document single(2, 2, 100);
    EXPECT_EQ(single.nextFrame(Wrap::Around), 0);
    EXPECT_EQ(single.previousFrame(Wrap::Around), 0);
}

TEST(DocumentFrames, DeletingTheLastOrFirstOfThree) {
    Document last = numberedFrames(3);
    last.goToLastFrame();
    EXPECT_EQ(last.deleteCurrentFrame(), 1);
    EXPECT_EQ(last.current().delay, 2) << "the new last frame is current";
    EXPECT_EQ(last.frameCount(), 2);

    Document first = numberedFrames(3);
    first.goToFirstFrame();
    EXPECT_EQ(first.deleteCurrentFrame(), 0);
    EXPECT_EQ(first.current().delay, 2) << "the former second frame is current";

    first.deleteCurrentFrame();
    EXPECT_EQ(first.deleteCurrentFrame(), 0) << "the only frame is kept";
    EXPECT_EQ(first.frameCount(), 1);
    EXPECT_EQ(first.current().delay, 3);
}

TEST(DocumentFrames, RenumberFollowsTheListOrder) {
    Document d = numberedFrames(3);
    d.insertFrameBefore(0);
    d.renumberFrames();
    for (int i = 0; i < d.frameCount(); ++i)
        EXPECT_EQ(d.frame(i).number, i + 1);
    EXPECT_EQ(d.frame(1).delay, 1);
}

TEST(CopyPixels, CopiesAllFourChannelsBetweenEqualSizes) {
    Bitmap source(3, 2), target(3, 2);
    source.setPixel(0, 0, Color(0x00123456u)); // transparent but with colour bytes
    source.setPixel(2, 1, Color::fromArgb(7, 1, 2, 3));
    target.fill(Color::rgb(9, 9, 9));
    copyPixels(source, target);
    EXPECT_EQ(target.pixel(0, 0), Color(0x00123456u)) << "no blending: alpha 0 is copied";
    EXPECT_EQ(target.pixel(2, 1), Color::fromArgb(7, 1, 2, 3));
    EXPECT_EQ(target.pixel(1, 0), colors::transparent);
}

TEST(CopyPixels, DifferentSizesOrNullBitmapsChangeNothing) {
    Bitmap source(3, 2), wider(4, 2), none;
    source.fill(colors::white);
    copyPixels(source, wider);
    EXPECT_EQ(wider.pixel(0, 0), colors::transparent);
    copyPixels(none, wider);
    copyPixels(source, none);
    EXPECT_TRUE(none.isNull());
}

TEST(CopyPixels, TheTargetsSharedCopiesKeepTheirPixels) {
    Bitmap source(2, 2), target(2, 2);
    source.fill(colors::white);
    Bitmap earlier = target; // shares the pixels until one of them is written
    copyPixels(source, target);
    EXPECT_EQ(target.pixel(1, 1), colors::white);
    EXPECT_EQ(earlier.pixel(1, 1), colors::transparent);
}

TEST(CopyPixels, AnOpaqueTargetStaysOpaque) {
    Bitmap source(2, 1), target(2, 1, PixelFormat::Rgb);
    source.setPixel(0, 0, Color::fromArgb(0, 10, 20, 30));
    copyPixels(source, target);
    EXPECT_EQ(target.pixel(0, 0), Color::rgb(10, 20, 30));
}

TEST(Serials, EveryLayerAndFrameHasItsOwnAndIsFoundByIt) {
    Document d(4, 4, 100);
    d.insertFrameAfter(0);
    d.insertFrameAfter(1);
    Frame& f = d.frame(1);
    f.appendLayer();
    f.appendLayer();
    const uint64_t middleFrame = f.serial, topLayer = f.layer(2).serial;
    EXPECT_NE(d.frame(0).serial, middleFrame);
    EXPECT_NE(d.frame(2).serial, middleFrame);
    EXPECT_NE(topLayer, middleFrame) << "layers and frames share one counter";
    EXPECT_EQ(d.frameWithSerial(middleFrame), 1);
    EXPECT_EQ(f.layerWithSerial(topLayer), 2);

    // A reorder or a deletion moves the position; the serial still finds the same thing.
    d.insertFrameBefore(0);
    EXPECT_EQ(d.frameWithSerial(middleFrame), 2);
    f.insertLayerAt(0);
    EXPECT_EQ(f.layerWithSerial(topLayer), 3);
    f.deleteLayer(3);
    EXPECT_EQ(f.layerWithSerial(topLayer), -1) << "a deleted layer is found nowhere";
    d.setCurrentFrame(2);
    d.deleteCurrentFrame();
    EXPECT_EQ(d.frameWithSerial(middleFrame), -1);
}

TEST(FrameLayers, InsertAtPutsTheLayerAtThatIndexAndClampsToTheList) {
    Document d(4, 4, 0);
    Frame& f = d.current();
    EXPECT_EQ(f.insertLayerAt(1), 1) << "on top of the single layer";
    EXPECT_EQ(f.insertLayerAt(0), 0);
    EXPECT_EQ(f.insertLayerAt(99), 3);
    EXPECT_EQ(f.insertLayerAt(-5), 0);
    EXPECT_EQ(idsOf(f), (std::vector<int>{5, 3, 1, 2, 4}));
}

TEST(DocumentFrames, InsertAtPutsTheFrameAtThatIndexAndClampsToTheList) {
    Document d = numberedFrames(2);
    EXPECT_EQ(d.insertFrameAt(2), 2) << "after the last";
    EXPECT_EQ(d.insertFrameAt(-3), 0);
    EXPECT_EQ(d.insertFrameAt(1), 1);
    EXPECT_EQ(d.frameCount(), 5);
    EXPECT_EQ(d.frame(2).delay, 1);
    EXPECT_EQ(d.frame(3).delay, 2);
}

TEST(CurrentPositions, SettingThemClampsToTheList) {
    struct Case {
        int asked, expected;
    };
    Document d = numberedFrames(3);
    Frame& f = d.current();
    f.appendLayer();
    f.appendLayer();
    for (const Case c : {Case{-5, 0}, {0, 0}, {1, 1}, {2, 2}, {3, 2}, {99, 2}}) {
        EXPECT_EQ(d.setCurrentFrame(c.asked), c.expected) << c.asked;
        EXPECT_EQ(d.currentFrameIndex(), c.expected) << c.asked;
        EXPECT_EQ(f.setCurrentLayer(c.asked), c.expected) << c.asked;
        EXPECT_EQ(f.currentLayerIndex(), c.expected) << c.asked;
    }
}

TEST(DocumentFrames, StepsToTheNextSwitchedOnFrameBothWaysWithAndWithoutWrap) {
    struct Case {
        const char* switched; // one character a frame: 'x' on, '.' off
        int from;
        Direction direction;
        Wrap wrap;
        bool reached;
        int expected;
    };
    using enum Direction;
    // Without wrap a step at an end stays on the end frame, which counts as reached when it is
    // on (playback holds it); the start is restored only when no frame on was found.
    const Case cases[] = {
        {"x..xx", 0, Forward, Wrap::Stop, true, 3},   {"x..xx", 3, Backward, Wrap::Stop, true, 0},
        {"x..xx", 4, Forward, Wrap::Stop, true, 4},   {"x..xx", 4, Forward, Wrap::Around, true, 0},
        {"x..xx", 0, Backward, Wrap::Stop, true, 0},  {"x..xx", 0, Backward, Wrap::Around, true, 4},
        {"....x", 4, Backward, Wrap::Stop, false, 4}, {"..x..", 2, Forward, Wrap::Around, false, 2},
        {"x.x..", 2, Forward, Wrap::Around, true, 0}, {"x", 0, Forward, Wrap::Around, false, 0},
    };
    for (const Case& c : cases) {
        const int n = int(std::strlen(c.switched));
        Document d = numberedFrames(n);
        for (int i = 0; i < n; ++i)
            d.frame(i).enabled = c.switched[i] == 'x';
        d.setCurrentFrame(c.from);
        const std::string label = std::string(c.switched) + " from " + std::to_string(c.from) +
                                  (c.direction == Forward ? " forward" : " backward") +
                                  (c.wrap == Wrap::Around ? " round" : " stopping");
        EXPECT_EQ(d.stepToEnabledFrame(c.direction, c.wrap), c.reached) << label;
        EXPECT_EQ(d.currentFrameIndex(), c.expected) << label;
    }
}

TEST(DocumentFrames, KeepOnlyFrameLeavesThatFrameItselfAsTheOnlyOne) {
    struct Case {
        int position;
        double delay; // of the frame kept
    };
    for (const Case c : {Case{2, 3}, {0, 1}, {3, 4}, {-1, 1}, {9, 4}}) {
        Document d = numberedFrames(4);
        d.setCurrentFrame(1);
        const int clamped = std::clamp(c.position, 0, 3);
        const Frame* kept = &d.frame(clamped);
        EXPECT_EQ(d.keepOnlyFrame(c.position), 0) << c.position;
        ASSERT_EQ(d.frameCount(), 1) << c.position;
        EXPECT_EQ(&d.current(), kept) << c.position;
        EXPECT_EQ(d.current().delay, c.delay) << c.position;
    }
}

TEST(DocumentFrames, ListsMadeElsewhereWithNothingOrAGapAreRefused) {
    auto frames = [](bool gap) {
        std::vector<std::unique_ptr<Frame>> list;
        list.push_back(std::make_unique<Frame>(8.0f, 8.0f, 7.0));
        list.push_back(gap ? nullptr : std::make_unique<Frame>(8.0f, 8.0f, 7.0));
        return list;
    };
    Document d = numberedFrames(2);
    EXPECT_EQ(d.insertFrames(0, {}), 1);
    EXPECT_EQ(d.insertFrames(0, frames(true)), 1);
    EXPECT_FALSE(d.replaceFrames({}, 0));
    EXPECT_FALSE(d.replaceFrames(frames(true), 0));
    EXPECT_EQ(d.frameCount(), 2) << "nothing taken in";
    EXPECT_EQ(d.insertFrames(1, frames(false)), 2) << "the last one taken in is current";
    EXPECT_EQ(d.frameCount(), 4);
    EXPECT_EQ(d.frame(1).delay, 7);
    EXPECT_EQ(d.frame(3).delay, 2);

    std::vector<std::unique_ptr<Layer>> layers;
    layers.push_back(nullptr);
    EXPECT_FALSE(d.current().replaceLayers(std::move(layers), 0));
    EXPECT_FALSE(d.current().replaceLayers({}, 0));
    EXPECT_EQ(d.current().layerCount(), 1);
    EXPECT_EQ(d.current().current().id, 1);
}
