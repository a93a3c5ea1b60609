// SPDX-License-Identifier: GPL-3.0-or-later
#include "panels/Playback.h"

#include "support/AnimatorScenario.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace vork;
using namespace vork::test;

namespace {

constexpr int stopX = 325, backwardX = 347, forwardX = 369, loopX = 391;

// Frames with the delays 100 + i, on a clock that starts at 1000 ms.
struct PlaybackTest : AnimatorScenario {
    void SetUp() override {
        AnimatorScenario::SetUp();
        platform.tick = 1000;
    }
    int current() { return animation().currentFrameIndex(); }
    void paintAt(uint32_t t) {
        platform.tick = t;
        paint();
    }
};

} // namespace

// --- The clock ----------------------------------------------------------------------------

TEST_F(PlaybackTest, EachFrameIsShownForItsOwnDelay) {
    makeAnimation(3);
    animation().frame(1).delay = 200;
    animation().frame(2).delay = 50;
    typeChar(' ');
    EXPECT_EQ(current(), 1) << "the old due time has passed: the first step comes at once";
    for (auto [t, expected] : std::vector<std::pair<uint32_t, int>>{
             {1199, 1}, {1200, 2}, {1249, 2}, {1250, 0}, {1349, 0}, {1350, 1}}) {
        paintAt(t);
        EXPECT_EQ(current(), expected) << t;
    }
}

TEST_F(PlaybackTest, NoDelayAdvancesOnEveryPaintAndEveryPlayingPaintAsksForTheNext) {
    makeAnimation(4);
    for (Frame& f : animation().frames())
        f.delay = 0;
    typeChar(' ');
    for (int expected : {2, 3, 0, 1}) {
        const int asked = platform.invalidations;
        paint(); // the clock stands still
        EXPECT_EQ(current(), expected);
        EXPECT_GT(platform.invalidations, asked);
    }
    typeChar(' ');
    const int asked = platform.invalidations;
    paint();
    EXPECT_EQ(platform.invalidations, asked) << "stopped: no paint asked for";
}

TEST_F(PlaybackTest, TheClockMayWrapRound) {
    makeAnimation(2);
    // The due time is still the 0 of the start, which this reading of the clock puts further
    // ahead than any delay could have: the start plays at once.
    platform.tick = 0x90000000u;
    typeChar(' ');
    EXPECT_EQ(current(), 1);
    typeChar(' ');

    platform.tick = 0xFFFFFFF0u;
    e.animator.strip.nextFrameTime = 0xFFFFFFE0u;
    typeChar(' ');
    EXPECT_EQ(current(), 0);
    EXPECT_EQ(e.animator.strip.nextFrameTime, 0x54u) << "100 ms later, past the wrap";
    for (auto [t, expected] :
         std::vector<std::pair<uint32_t, int>>{{0xFFFFFFFFu, 0}, {0x53, 0}, {0x54, 1}}) {
        paintAt(t);
        EXPECT_EQ(current(), expected) << t;
    }
}

TEST(PlaybackDelays, OddDelaysBecomeTicksSafely) {
    constexpr uint32_t longest = 24u * 24 * 60 * 60 * 1000;
    EXPECT_EQ(delayTicks(100.9), 100u);
    EXPECT_EQ(delayTicks(-250), 0u);
    EXPECT_EQ(delayTicks(std::nan("")), 0u);
    EXPECT_EQ(delayTicks(1e300), longest);
    EXPECT_EQ(delayTicks(std::numeric_limits<double>::infinity()), longest);
    EXPECT_TRUE(tickReached(100, 100));
    EXPECT_FALSE(tickReached(99, 100));
    EXPECT_TRUE(tickReached(5, 0xFFFFFFF0u));
    EXPECT_FALSE(tickReached(0xFFFFFFF0u, 5));
}

// --- Direction, loop and the ends ----------------------------------------------------------

TEST_F(PlaybackTest, LoopingWrapsBothWaysAndWithoutItPlaybackHoldsTheEndFrame) {
    makeAnimation(3);
    clickToolbar(backwardX, 20);
    EXPECT_EQ(current(), 2) << "backwards from the first, round to the last";
    clickToolbar(loopX, 23);
    EXPECT_FALSE(e.animator.strip.loopPlayback);
    for (uint32_t t = 2000; t < 3000; t += 300)
        paintAt(t);
    EXPECT_EQ(current(), 0);
    EXPECT_EQ(e.animator.playState, PlayState::Backward);
    clickToolbar(forwardX, 20);
    for (uint32_t t = 3000; t < 4000; t += 300)
        paintAt(t);
    EXPECT_EQ(current(), 2);
    EXPECT_EQ(e.animator.playState, PlayState::Forward);
    clickToolbar(loopX, 23);
    paintAt(5000);
    EXPECT_EQ(current(), 0) << "looping again: from the last to the first";
}

TEST_F(PlaybackTest, SwitchedOffFramesArePassedOverAndWithAllOffPlaybackStops) {
    makeAnimation(4);
    animation().frame(1).enabled = false;
    animation().frame(2).enabled = false;
    typeChar(' ');
    EXPECT_EQ(current(), 3);
    paintAt(2000);
    EXPECT_EQ(current(), 0);
    for (Frame& f : animation().frames())
        f.enabled = false;
    paintAt(3000);
    EXPECT_EQ(e.animator.playState, PlayState::Stopped);
    EXPECT_EQ(current(), 0) << "where it was";
}

TEST_F(PlaybackTest, AOneFrameAnimationCannotPlay) {
    makeAnimation(1);
    typeChar(' ');
    EXPECT_EQ(e.animator.playState, PlayState::Stopped);
    makeAnimation(2);
    typeChar(' ');
    EXPECT_EQ(e.animator.playState, PlayState::Forward);
    clickToolbar(131); // delete the current frame while playing
    EXPECT_EQ(animation().frameCount(), 1);
    EXPECT_EQ(e.animator.playState, PlayState::Stopped);
}

// --- Start, stop and steps ------------------------------------------------------------------

TEST_F(PlaybackTest, SpaceStartsThenStopsAndTheStopRebuildsTheOnionSkin) {
    makeAnimation(3);
    e.animator.onion.grey = false;
    typeChar('w');
    EXPECT_EQ(e.animator.onion.frameNumber, 3);
    typeChar(' ');
    EXPECT_EQ(e.animator.playState, PlayState::Forward);
    paintAt(2000);
    ASSERT_EQ(current(), 2);
    EXPECT_EQ(e.animator.onion.frameNumber, 3) << "playback leaves the onion skin alone";
    typeChar(' ');
    EXPECT_EQ(e.animator.playState, PlayState::Stopped);
    EXPECT_EQ(e.animator.onion.frameNumber, 2);
    EXPECT_EQ(e.animator.onion.image->pixel(1, 0), frameColour(1));
}

TEST_F(PlaybackTest, TheButtonsShowAndSetThePlaybackState) {
    makeAnimation(3);
    // The pressed look: the hatch behind the button (the faces are blank here).
    auto hatched = [&](int x) {
        const Color a = back.pixel(x, toolbarY() + 5), b = back.pixel(x + 1, toolbarY() + 5);
        const Color grey = Color::rgb(220, 220, 220);
        return a != b && (a == colors::white || a == grey) && (b == colors::white || b == grey);
    };
    EXPECT_TRUE(hatched(stopX + 5));
    clickToolbar(forwardX, 20);
    paint(); // the stop button was drawn before the click; the paint asked for shows it
    EXPECT_EQ(e.animator.playState, PlayState::Forward);
    EXPECT_TRUE(hatched(forwardX + 5));
    EXPECT_FALSE(hatched(stopX + 5));
    const uint32_t due = e.animator.strip.nextFrameTime;
    clickToolbar(stopX, 20);
    EXPECT_EQ(e.animator.playState, PlayState::Stopped);
    EXPECT_EQ(e.animator.strip.nextFrameTime, due) << "kept for the next start";
}

TEST_F(PlaybackTest, StepsWorkDuringPlaybackAndThePlayingCellStaysInView) {
    makeAnimation(40);
    for (Frame& f : animation().frames())
        f.delay = 50;
    typeChar(' ');
    EXPECT_EQ(current(), 1);
    typeChar('x');
    typeChar('x');
    typeChar('z');
    EXPECT_EQ(current(), 2);
    EXPECT_EQ(e.animator.playState, PlayState::Forward);
    for (uint32_t t = 1200; t < 4000; t += 110)
        paintAt(t);
    EXPECT_GT(current(), 20);
    const Rect c = frameCellRect(strip(), current(), e.animator.strip.stripScroll);
    EXPECT_GE(c.x, 0);
    EXPECT_LE(c.x + c.w, 1000);
}

// --- Gating -------------------------------------------------------------------------------

TEST_F(PlaybackTest, WhilePlayingTheUndoKeysAndTheSelectionRestButThePencilDraws) {
    makeAnimation(2);
    e.currentTool = Tool::Pencil;
    const CanvasPlacement p = canvasPlacement(e, Mode::Animator);
    press(int(p.imageLeft) + 20, int(p.imageTop) + 20);
    release();
    typeChar(' ');
    e.animator.strip.nextFrameTime = 0x7FFFFFF0u; // nothing more is due for a long while
    animation().setCurrentFrame(0);
    typeChar(',');
    EXPECT_EQ(countPixels(animation().frame(0).layer(0).image, colors::black), 1) << "no undo";
    typeChar('a');
    EXPECT_FALSE(e.selection.active) << "no select-all";
    press(int(p.imageLeft) + 25, int(p.imageTop) + 20);
    release();
    EXPECT_EQ(countPixels(animation().frame(0).layer(0).image, colors::black), 2);
}
