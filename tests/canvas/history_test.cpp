// SPDX-License-Identifier: GPL-3.0-or-later
// Undo and redo of the current layer through whole frames: the keys of both keyboard
// layouts, the 21-state limit, and the history following the layer being worked on.
#include "app/FrameCycle.h"
#include "app/Layout.h"
#include "canvas/Canvas.h"
#include "canvas/History.h"
#include "commands/NewDocument.h"
#include "support/CanvasScenario.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace vork;

namespace {

const Color ink = Color::rgb(20, 40, 60);

// 32 x 32 documents at zoom 4, drawn in ink, made before each test.
struct HistoryTest : test::CanvasScenario {
    HistoryTest() : CanvasScenario({32, 32, 12, ink}) {}

    void SetUp() override {
        CanvasScenario::SetUp();
        make();
    }
    // A click of the pencil on picture pixel (x, y): one stroke, one state.
    void dot(int x, int y) {
        const CanvasPlacement p = canvasPlacement(e, mode);
        click(int(std::ceil(p.imageLeft + (float(x) + 0.25f) * p.zoom)),
              int(std::ceil(p.imageTop + (float(y) + 0.25f) * p.zoom)));
        ASSERT_EQ(layer().pixel(x, y), ink);
    }
    bool drawn(int x, int y) { return layer().pixel(x, y) == ink; }
};

TEST_P(HistoryTest, ThreeStrokesTwoUndosOneRedoThenANewStrokeEndsTheRedo) {
    dot(1, 1);
    dot(2, 2);
    dot(3, 3);
    type(',');
    type(',');
    EXPECT_TRUE(drawn(1, 1));
    EXPECT_FALSE(drawn(2, 2));
    EXPECT_FALSE(drawn(3, 3));
    type('.');
    EXPECT_TRUE(drawn(2, 2));
    EXPECT_FALSE(drawn(3, 3));
    dot(4, 4);
    type('>');
    EXPECT_FALSE(drawn(3, 3)) << "the third stroke's state is gone";
    EXPECT_TRUE(drawn(4, 4));
}

TEST_P(HistoryTest, TwentyFiveChangesLeaveTwentyUndoSteps) {
    for (int i = 0; i < 25; ++i)
        dot(i, 0);
    EXPECT_EQ(e.mode(mode).history->stateCount(), 21);
    for (int i = 0; i < 30; ++i)
        type('<');
    // The oldest state left is the one after the fifth change.
    for (int i = 0; i < 25; ++i)
        EXPECT_EQ(drawn(i, 0), i < 5) << i;
}

TEST_P(HistoryTest, UndoRightAfterTheStartChangesNothing) {
    layer().setPixel(5, 5, ink); // drawn before the history began
    e.mode(mode).history.reset();
    paint();
    type(',');
    EXPECT_TRUE(drawn(5, 5));
    type('.');
    EXPECT_TRUE(drawn(5, 5));
}

TEST_P(HistoryTest, RussianLayoutKeysUndoAndRedoLikeCommaAndFullStop) {
    dot(1, 1);
    type(0xE1);
    EXPECT_FALSE(drawn(1, 1));
    type(0xFE);
    EXPECT_TRUE(drawn(1, 1));
    type(0xC1);
    EXPECT_FALSE(drawn(1, 1));
    type(0xDE);
    EXPECT_TRUE(drawn(1, 1));
}

TEST_P(HistoryTest, SwitchingLayersRestartsTheHistoryAndDropsTheSelection) {
    dot(1, 1);
    type(',');
    Frame& frame = doc().current();
    frame.appendLayer();
    e.selection.active = true;
    e.selection.lifted = true;
    paint();
    EXPECT_FALSE(e.selection.active);
    EXPECT_FALSE(e.selection.lifted);
    frame.setCurrentLayer(0);
    paint();
    type('.');
    EXPECT_FALSE(drawn(1, 1)) << "the undone stroke cannot come back";
    EXPECT_EQ(e.mode(mode).history->stateCount(), 1);
}

TEST_P(HistoryTest, RestoreRebuildsTheThumbnailAndAsksForAPaint) {
    dot(10, 10);
    const Bitmap withDot = doc().currentLayer().thumbnail.clone();
    e.mode(mode).previewUpToDate = true;
    e.mode(Mode::Painter).redrawRequest = false;
    platform.invalidations = 0;
    e.input.lastChar = ',';
    {
        // Run the frame's canvas alone, so that the request is seen before it is served.
        Bitmap target(e.clientWidth, e.clientHeight, PixelFormat::Rgb);
        Graphics g(target);
        drawCanvas(e, g, mode);
    }
    e.input.lastChar = 0;
    EXPECT_FALSE(e.mode(mode).previewUpToDate);
    if (mode == Mode::Painter) {
        EXPECT_TRUE(e.mode(Mode::Painter).redrawRequest);
    } else {
        EXPECT_GT(platform.invalidations, 0);
    }
    const Bitmap& now = doc().currentLayer().thumbnail;
    bool differs = false;
    for (int y = 0; y < now.height(); ++y)
        for (int x = 0; x < now.width(); ++x)
            differs |= now.pixel(x, y) != withDot.pixel(x, y);
    EXPECT_TRUE(differs);
}

INSTANTIATE_TEST_SUITE_P(BothModes, HistoryTest, ::testing::Values(Mode::Animator, Mode::Painter),
                         test::modeTestName);

// Animator playback: the history is left alone while frames are shown in turn.
struct PlaybackHistoryTest : HistoryTest {};

TEST_P(PlaybackHistoryTest, DuringPlaybackTheKeysDoNothingButThePencilDraws) {
    dot(1, 1);
    holdPlayback(PlayState::Backward);
    type(',');
    EXPECT_TRUE(drawn(1, 1));
    dot(2, 2);
    e.animator.playState = PlayState::Stopped;
    type(',');
    EXPECT_FALSE(drawn(2, 2));
    EXPECT_TRUE(drawn(1, 1));
}

TEST_P(PlaybackHistoryTest, AStrokeOnAnotherFrameDuringPlaybackNeverReachesThisLayer) {
    Document& d = doc();
    d.insertFrameAfter(0); // frame 2, current
    d.setCurrentFrame(0);
    paint(); // the history follows frame 1's layer, which is blank
    holdPlayback(PlayState::Backward);
    d.setCurrentFrame(1);
    dot(3, 3); // drawn on frame 2 while playing
    d.setCurrentFrame(0);
    e.animator.playState = PlayState::Stopped;
    type('.');
    EXPECT_EQ(d.frame(0).layer(0).image.pixel(3, 3), Color::fromArgb(0, 0, 0, 0));
    type(',');
    EXPECT_EQ(d.frame(0).layer(0).image.pixel(3, 3), Color::fromArgb(0, 0, 0, 0));
    EXPECT_EQ(d.frame(1).layer(0).image.pixel(3, 3), ink);
}

INSTANTIATE_TEST_SUITE_P(Animator, PlaybackHistoryTest, ::testing::Values(Mode::Animator),
                         [](const auto&) { return "Animator"; });

} // namespace
