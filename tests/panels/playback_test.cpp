#include "panels/Playback.h"

#include "support/AnimatorScenario.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace vork;
using namespace vork::test;

namespace {

constexpr int stopX = 325, backwardX = 347, forwardX = 369, loopX = 391;

// Frames of 40 x 30 with the delays 100 + i; the clock starts at 1000 ms.
struct PlaybackTest : AnimatorScenario {
    void SetUp() override {
        AnimatorScenario::SetUp();
        platform.tick = 1000;
    }
    int current() { return animation().currentFrame; }
    // One paint at the tick `t`.
    void paintAt(uint32_t t) {
        platform.tick = t;
        paint();
    }
};

} // namespace

// --- The clock ----------------------------------------------------------------------------

TEST_F(PlaybackTest, EachFrameIsShownForItsOwnDelay) {
    makeAnimation(3);
    animation().frame(0).delay = 100;
    animation().frame(1).delay = 200;
    animation().frame(2).delay = 50;
    typeChar(' ');
    EXPECT_EQ(e.playState, PlayState::Forward);
    EXPECT_EQ(current(), 1) << "the old due time has passed: the first step comes at once";
    paintAt(1199);
    EXPECT_EQ(current(), 1);
    paintAt(1200);
    EXPECT_EQ(current(), 2) << "200 ms after it was reached";
    paintAt(1249);
    EXPECT_EQ(current(), 2);
    paintAt(1250);
    EXPECT_EQ(current(), 0);
    paintAt(1349);
    EXPECT_EQ(current(), 0);
    paintAt(1350);
    EXPECT_EQ(current(), 1);
}

TEST_F(PlaybackTest, NoDelayAdvancesOnEveryPaintEvenWithinOneTick) {
    makeAnimation(4);
    for (auto& f : animation().frames)
        f->delay = 0;
    typeChar(' ');
    EXPECT_EQ(current(), 1);
    for (int expected : {2, 3, 0, 1, 2}) {
        paint();
        EXPECT_EQ(current(), expected);
    }
}

TEST_F(PlaybackTest, EveryPlayingPaintAsksForTheNextAndAStoppedOneDoesNot) {
    makeAnimation(3);
    typeChar(' ');
    for (int i = 0; i < 5; ++i) {
        const int before = platform.invalidations;
        paint();
        EXPECT_GT(platform.invalidations, before) << i;
    }
    typeChar(' ');
    const int before = platform.invalidations;
    paint();
    paint();
    EXPECT_EQ(platform.invalidations, before);
}

TEST_F(PlaybackTest, TheClockMayWrapRound) {
    makeAnimation(2);
    // The due time is still the 0 of the start, which this reading of the clock puts far
    // ahead, further than any delay could have put it: the start plays at once.
    platform.tick = 0x90000000u;
    typeChar(' ');
    EXPECT_EQ(current(), 1);
    typeChar(' ');

    platform.tick = 0xFFFFFFF0u;
    e.strip.nextFrameTime = 0xFFFFFFE0u; // passed
    typeChar(' ');
    EXPECT_EQ(current(), 0);
    EXPECT_EQ(e.strip.nextFrameTime, 0xFFFFFFF0u + 100) << "past the wrap: 0x54";
    paintAt(0xFFFFFFFFu);
    EXPECT_EQ(current(), 0);
    paintAt(0x53);
    EXPECT_EQ(current(), 0);
    paintAt(0x54);
    EXPECT_EQ(current(), 1);
}

TEST(PlaybackDelays, OddDelaysBecomeTicksSafely) {
    EXPECT_EQ(delayTicks(100.9), 100u);
    EXPECT_EQ(delayTicks(0), 0u);
    EXPECT_EQ(delayTicks(-250), 0u);
    EXPECT_EQ(delayTicks(std::nan("")), 0u);
    EXPECT_EQ(delayTicks(1e300), 24u * 24 * 60 * 60 * 1000);
    EXPECT_EQ(delayTicks(std::numeric_limits<double>::infinity()), 24u * 24 * 60 * 60 * 1000);
    EXPECT_TRUE(tickReached(100, 100));
    EXPECT_FALSE(tickReached(99, 100));
    EXPECT_TRUE(tickReached(5, 0xFFFFFFF0u));
    EXPECT_FALSE(tickReached(0xFFFFFFF0u, 5));
}

TEST_F(PlaybackTest, AHugeDelayFromAFileHoldsTheFrameWithoutBreakingTheClock) {
    makeAnimation(2);
    animation().frame(1).delay = 1e12;
    typeChar(' ');
    EXPECT_EQ(current(), 1);
    paintAt(1000 + 20u * 24 * 60 * 60 * 1000);
    EXPECT_EQ(current(), 1);
}

// --- Direction, loop and the ends ----------------------------------------------------------

TEST_F(PlaybackTest, BackwardsWrapsFromTheFirstToTheLastWhileLooping) {
    makeAnimation(3);
    clickToolbar(backwardX, 20);
    EXPECT_EQ(e.playState, PlayState::Backward);
    EXPECT_EQ(current(), 2);
    paintAt(2000);
    EXPECT_EQ(current(), 1);
}

TEST_F(PlaybackTest, WithoutTheLoopPlaybackStaysOnTheEndFrameAndGoesOnPlaying) {
    makeAnimation(3);
    clickToolbar(loopX, 23);
    EXPECT_FALSE(e.strip.loopPlayback);
    clickToolbar(forwardX, 20);
    for (uint32_t t = 2000; t < 3000; t += 300)
        paintAt(t);
    EXPECT_EQ(current(), 2);
    EXPECT_EQ(e.playState, PlayState::Forward);

    clickToolbar(backwardX, 20);
    for (uint32_t t = 3000; t < 4000; t += 300)
        paintAt(t);
    EXPECT_EQ(current(), 0);
    EXPECT_EQ(e.playState, PlayState::Backward);
    clickToolbar(loopX, 23);
    EXPECT_TRUE(e.strip.loopPlayback);
    paintAt(5000);
    EXPECT_EQ(current(), 2) << "looping again: from the first back to the last";
}

TEST_F(PlaybackTest, SwitchedOffFramesArePassedOver) {
    makeAnimation(4);
    animation().frame(1).enabled = false;
    animation().frame(2).enabled = false;
    typeChar(' ');
    EXPECT_EQ(current(), 3);
    paintAt(2000);
    EXPECT_EQ(current(), 0);
}

TEST_F(PlaybackTest, WithEveryFrameOffPlaybackStopsAfterOneSearchWhereItWas) {
    makeAnimation(3);
    typeChar(' ');
    EXPECT_EQ(current(), 1);
    for (auto& f : animation().frames)
        f->enabled = false;
    paintAt(2000);
    EXPECT_EQ(e.playState, PlayState::Stopped);
    EXPECT_EQ(current(), 1);
}

TEST_F(PlaybackTest, AOneFrameAnimationCannotPlay) {
    makeAnimation(1);
    typeChar(' ');
    EXPECT_EQ(e.playState, PlayState::Stopped);
    makeAnimation(2);
    typeChar(' ');
    EXPECT_EQ(e.playState, PlayState::Forward);
    clickAt(131 + 14, toolbarY() + 7); // delete the current frame while playing
    paint();
    EXPECT_EQ(animation().frameCount(), 1);
    EXPECT_EQ(e.playState, PlayState::Stopped);
}

// --- Start and stop -----------------------------------------------------------------------

TEST_F(PlaybackTest, SpaceStartsThenStopsAndTheStopRebuildsTheOnionSkin) {
    makeAnimation(3);
    ModeState& m = e.mode(Mode::Animator);
    m.onion.grey = false;
    typeChar('w');
    ASSERT_TRUE(m.onion.on);
    EXPECT_EQ(m.onion.frameNumber, 3);
    typeChar(' ');
    EXPECT_EQ(e.playState, PlayState::Forward);
    paintAt(2000);
    ASSERT_EQ(current(), 2);
    EXPECT_EQ(m.onion.frameNumber, 3) << "playback leaves the onion skin alone";
    typeChar(' ');
    EXPECT_EQ(e.playState, PlayState::Stopped);
    EXPECT_EQ(m.onion.frameNumber, 2);
    EXPECT_EQ(m.onion.image->pixel(1, 0), frameColour(1));
}

TEST_F(PlaybackTest, TheButtonsShowAndSetThePlaybackState) {
    makeAnimation(3);
    clickToolbar(forwardX, 20);
    EXPECT_EQ(e.playState, PlayState::Forward);
    const uint32_t due = e.strip.nextFrameTime;
    clickToolbar(stopX, 20);
    EXPECT_EQ(e.playState, PlayState::Stopped);
    EXPECT_EQ(e.strip.nextFrameTime, due) << "kept for the next start";
    // The pressed look of the stop button alone: the hatch behind it (the faces are blank).
    auto hatched = [&](int x) {
        const Color a = back.pixel(x, toolbarY() + 5), b = back.pixel(x + 1, toolbarY() + 5);
        return a != b && (a == colors::white || a == Color::rgb(220, 220, 220)) &&
               (b == colors::white || b == Color::rgb(220, 220, 220));
    };
    EXPECT_TRUE(hatched(stopX + 5));
    EXPECT_FALSE(hatched(forwardX + 5));
    clickToolbar(forwardX, 20);
    paint(); // the stop button was drawn before the click; the repaint asked for shows it
    EXPECT_TRUE(hatched(forwardX + 5));
    EXPECT_FALSE(hatched(stopX + 5));
}

TEST_F(PlaybackTest, StepsWorkDuringPlayback) {
    makeAnimation(5);
    typeChar(' ');
    EXPECT_EQ(current(), 1);
    typeChar('x');
    EXPECT_EQ(current(), 2);
    typeChar('z');
    typeChar('z');
    EXPECT_EQ(current(), 0);
    EXPECT_EQ(e.playState, PlayState::Forward);
    paintAt(1101);
    EXPECT_EQ(current(), 1) << "playback goes on from where the steps left it";
}

TEST_F(PlaybackTest, ThePlayingCellScrollsIntoView) {
    makeAnimation(40);
    for (auto& f : animation().frames)
        f->delay = 0;
    typeChar(' ');
    for (int i = 0; i < 30; ++i)
        paint();
    const Rect c = frameCellRect(strip(), current(), e.strip.stripScroll);
    EXPECT_GE(c.x, 0);
    EXPECT_LE(c.x + c.w, 1000);
    EXPECT_GT(e.strip.stripScroll, 0);
}

// --- Gating -------------------------------------------------------------------------------

TEST_F(PlaybackTest, WhilePlayingTheUndoKeysAndTheSelectionRestButThePencilDraws) {
    makeAnimation(2);
    e.currentTool = Tool::Pencil;
    const CanvasPlacement p = canvasPlacement(e, Mode::Animator);
    press(int(p.imageLeft) + 20, int(p.imageTop) + 20);
    release();
    ASSERT_EQ(countPixels(animation().frame(0).layer(0).image, colors::black), 1);
    typeChar(' ');
    e.strip.nextFrameTime = 0x7FFFFFF0u; // nothing more is due for a long while
    animation().currentFrame = 0;
    typeChar(',');
    EXPECT_EQ(countPixels(animation().frame(0).layer(0).image, colors::black), 1) << "no undo";
    typeChar('a');
    EXPECT_FALSE(e.selection.active) << "no select-all";
    press(int(p.imageLeft) + 25, int(p.imageTop) + 20);
    release();
    EXPECT_EQ(countPixels(animation().frame(0).layer(0).image, colors::black), 2);
    EXPECT_EQ(e.playState, PlayState::Forward);
}
