// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/UndoHistory.h"
#include "support/PixelChecks.h"

#include <gtest/gtest.h>
#include <random>

using namespace vork;

using vork::test::randomBitmap;
using vork::test::samePixels;

TEST(UndoHistory, ThreeStrokesTwoUndosOneRedoThenANewStrokeDropsRedo) {
    Bitmap layer(100, 70); // not a multiple of the tile size
    UndoHistory h(layer);
    std::vector<Bitmap> after;
    for (int stroke = 0; stroke < 3; ++stroke) {
        layer.setPixel(10 + stroke * 30, 65, Color::rgb(stroke, 1, 1));
        h.record(layer);
        after.push_back(layer.clone());
    }
    EXPECT_TRUE(h.undo());
    EXPECT_TRUE(h.undo());
    h.restoreInto(layer);
    EXPECT_TRUE(samePixels(layer, after[0]));
    EXPECT_TRUE(h.redo());
    h.restoreInto(layer);
    EXPECT_TRUE(samePixels(layer, after[1]));
    layer.setPixel(99, 69, colors::white);
    h.record(layer);
    EXPECT_FALSE(h.redo()) << "the third stroke's state is gone";
    EXPECT_EQ(h.stateCount(), 4);
}

TEST(UndoHistory, KeepsTwentyOneStatesSoTwentyUndos) {
    Bitmap layer(8, 8);
    UndoHistory h(layer);
    for (int change = 1; change <= 25; ++change) {
        layer.setPixel(0, 0, Color::rgb(change, 0, 0));
        h.record(layer);
    }
    EXPECT_EQ(h.stateCount(), 21);
    int undos = 0;
    while (h.undo())
        ++undos;
    EXPECT_EQ(undos, 20);
    h.restoreInto(layer);
    EXPECT_EQ(layer.pixel(0, 0), Color::rgb(5, 0, 0))
        << "the oldest state is after the fifth change";
}

TEST(UndoHistory, UndoOnTheFirstStateRestoresItUnchanged) {
    Bitmap layer = randomBitmap(130, 65, 7);
    Bitmap original = layer.clone();
    UndoHistory h(layer);
    EXPECT_FALSE(h.undo());
    h.restoreInto(layer);
    EXPECT_TRUE(samePixels(layer, original));
}

TEST(UndoHistory, RestoresExactPixelsOfRandomStates) {
    Bitmap layer = randomBitmap(200, 150, 1);
    UndoHistory h(layer);
    std::vector<Bitmap> states{layer.clone()};
    std::mt19937 rng(3);
    for (int i = 0; i < 6; ++i) {
        // Change a random block, leaving most tiles as they were.
        int x0 = int(rng() % 180), y0 = int(rng() % 130);
        for (int y = y0; y < y0 + 20; ++y)
            for (int x = x0; x < x0 + 20; ++x)
                layer.setPixel(x, y, Color(rng()));
        h.record(layer);
        states.push_back(layer.clone());
    }
    for (int i = int(states.size()) - 1; i >= 0; --i) {
        h.restoreInto(layer);
        EXPECT_TRUE(samePixels(layer, states[size_t(i)])) << "state " << i;
        h.undo();
    }
}

TEST(UndoHistory, MemoryGrowsWithWhatChanged) {
    Bitmap layer(512, 512);
    UndoHistory h(layer);
    const size_t oneLayer = 512u * 512u * 4u;
    EXPECT_EQ(h.memoryBytes(), oneLayer);
    for (int i = 0; i < 25; ++i) {
        layer.setPixel(i * 3, 100, colors::black);
        h.record(layer);
    }
    EXPECT_LT(h.memoryBytes(), oneLayer * 2);
}

TEST(UndoHistory, ASnapshotOfAnotherSizeIsNeitherRecordedNorRestored) {
    Bitmap layer(10, 10);
    layer.setPixel(1, 1, colors::white);
    UndoHistory h(layer);
    Bitmap other(11, 10);
    h.record(other);
    EXPECT_EQ(h.stateCount(), 1);
    h.restoreInto(other);
    EXPECT_EQ(other.pixel(1, 1).argb, 0u);
}
