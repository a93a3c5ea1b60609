// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/Document.h"

#include <gtest/gtest.h>

using namespace vork;

namespace {

// Four frames told apart by their delays 1..4, the first current.
Document fourFrames() {
    Document d(6, 4, 100);
    d.current().delay = 1;
    for (int i = 2; i <= 4; ++i)
        d.frame(d.insertFrameAfter(d.currentFrameIndex())).delay = i;
    d.setCurrentFrame(0);
    return d;
}

std::vector<double> delays(const Document& d) {
    std::vector<double> out;
    for (const Frame& f : d.frames())
        out.push_back(f.delay);
    return out;
}

} // namespace

TEST(MoveFrame, EndsAtTheAskedPositionOfTheReorderedListAndBecomesCurrent) {
    Document d = fourFrames();
    EXPECT_EQ(d.moveFrame(0, 3), 3);
    EXPECT_EQ(delays(d), (std::vector<double>{2, 3, 4, 1}));
    EXPECT_EQ(d.currentFrameIndex(), 3);

    EXPECT_EQ(d.moveFrame(3, 0), 0);
    EXPECT_EQ(delays(d), (std::vector<double>{1, 2, 3, 4}));

    d.moveFrame(2, 1);
    EXPECT_EQ(delays(d), (std::vector<double>{1, 3, 2, 4}));
    d.moveFrame(1, 1);
    EXPECT_EQ(delays(d), (std::vector<double>{1, 3, 2, 4})) << "onto its own place: no change";
    EXPECT_EQ(d.currentFrameIndex(), 1);
}

TEST(MoveFrame, TargetsOutsideTheListAreClampedAndSourcesOutsideItChangeNothing) {
    Document d = fourFrames();
    d.moveFrame(1, 99);
    EXPECT_EQ(delays(d), (std::vector<double>{1, 3, 4, 2}));
    d.moveFrame(3, -5);
    EXPECT_EQ(delays(d), (std::vector<double>{2, 1, 3, 4}));

    d.setCurrentFrame(2);
    EXPECT_EQ(d.moveFrame(4, 0), 2);
    EXPECT_EQ(d.moveFrame(-1, 0), 2);
    EXPECT_EQ(delays(d), (std::vector<double>{2, 1, 3, 4}));
}

TEST(MoveFrame, TheFrameItselfMovesWithEverythingItHolds) {
    Document d = fourFrames();
    Frame& f = d.frame(0);
    f.delay = 370;
    f.insertLayerAfter(0);
    f.insertLayerAfter(1);
    f.deleteLayer(1);  // ids 1 and 3 remain
    f.enabled = false; // after the insertions, which switch a frame on
    f.layer(0).opacity = 90;
    f.layer(1).visible = false;
    f.layer(1).image.setPixel(2, 3, Color::rgb(1, 2, 3));
    f.setCurrentLayer(0);
    const Frame* address = &f;
    const uint64_t serial = f.serial, topSerial = f.layer(1).serial;

    d.moveFrame(0, 2);
    const Frame& moved = d.frame(2);
    EXPECT_EQ(&moved, address);
    EXPECT_EQ(moved.serial, serial);
    EXPECT_FALSE(moved.enabled);
    EXPECT_EQ(moved.delay, 370);
    ASSERT_EQ(moved.layerCount(), 2);
    EXPECT_EQ(moved.layer(0).id, 1);
    EXPECT_EQ(moved.layer(1).id, 3);
    EXPECT_EQ(moved.layerCounter, 3);
    EXPECT_EQ(moved.layer(0).opacity, 90);
    EXPECT_FALSE(moved.layer(1).visible);
    EXPECT_EQ(moved.layer(1).serial, topSerial);
    EXPECT_EQ(moved.layer(1).image.pixel(2, 3), Color::rgb(1, 2, 3));
    EXPECT_EQ(moved.currentLayerIndex(), 0);
    EXPECT_EQ(d.frameWithSerial(serial), 2);
}
