// SPDX-License-Identifier: GPL-3.0-or-later
#include "panels/FrameStrip.h"

#include "support/AnimatorScenario.h"
#include "ui/Keys.h"

#include <gtest/gtest.h>

using namespace vork;
using namespace vork::test;

namespace {

// Toolbar items by their left edge.
constexpr int enableAllX = 41, defaultDelayX = 71, deleteX = 131, newX = 161, duplicateX = 191,
              firstX = 221, lastX = 251, previousX = 281, nextX = 303;
const Color tabGrey = Color::rgb(230, 230, 230);

struct FrameStripTest : AnimatorScenario {
    ModeState& m() { return e.mode(Mode::Animator); }
    // A drag from the lower part of one cell to another, released there.
    void dragCell(int from, int to, int dx = 40) {
        pressCell(from);
        moveToCell(to, dx);
        release();
    }
};

} // namespace

// --- What the strip shows --------------------------------------------------------------------

TEST_F(FrameStripTest, WithoutAnAnimationOnlyTheCountZeroAndInertButtonsShow) {
    paint();
    EXPECT_TRUE(showsText({0, toolbarY(), 40, 14}, "0", panelGrey, colors::black, Align::Center));
    EXPECT_EQ(back.pixel(62, strip().cellsY + 60), panelGrey) << "no cell";
    for (int x : {enableAllX, defaultDelayX, deleteX, newX, duplicateX, firstX, lastX})
        clickToolbar(x);
    for (int x : {previousX, nextX, 325, 347, 369, 391})
        clickToolbar(x, 20);
    for (uint8_t c : {'z', 'x', ' '})
        typeChar(c);
    EXPECT_FALSE(e.animation());
    EXPECT_EQ(e.animator.playState, PlayState::Stopped);
    EXPECT_TRUE(e.animator.strip.loopPlayback);
    EXPECT_FALSE(e.input.delayPopupActive);
}

TEST_F(FrameStripTest, CountCellsDelaysAndNumbers) {
    makeAnimation(3);
    EXPECT_TRUE(showsText({0, toolbarY(), 40, 14}, "3", panelGrey, colors::black, Align::Center));
    EXPECT_TRUE(showsText({defaultDelayX, toolbarY(), 58, 14}, "0.1 сек", panelGrey, colors::black,
                          Align::Center));
    const Point p = inCell(0, 62, 60), q = inCell(1, 62, 60);
    EXPECT_EQ(back.pixel(p.x, p.y), darkBlue) << "the current frame's cell is filled";
    EXPECT_EQ(back.pixel(q.x, q.y), panelGrey);
    EXPECT_EQ(back.pixel(65, strip().cellsY + 40), Color::rgb(128, 128, 128)) << "outline";
    const Rect c0 = frameCellRect(strip(), 0, 0), c1 = frameCellRect(strip(), 1, 0);
    EXPECT_TRUE(
        showsText({c0.x + 30, c0.y + 3, 30, 14}, "0.1", darkBlue, colors::white, Align::Far));
    EXPECT_TRUE(
        showsText({c1.x + 30, c1.y + 3, 30, 14}, "0.101", panelGrey, colors::black, Align::Far));
    EXPECT_TRUE(showsText({c1.x + 5, c1.y + 22, 30, 14}, "2", tabGrey, colors::black, Align::Far));
}

// --- Toolbar commands ------------------------------------------------------------------------

TEST_F(FrameStripTest, NewAndDuplicateFollowTheCurrentFrameWithTheDefaultDelay) {
    makeAnimation(2);
    animation().defaultDelay = 250;
    clickToolbar(newX);
    ASSERT_EQ(animation().frameCount(), 3);
    EXPECT_EQ(animation().currentFrameIndex(), 1);
    EXPECT_EQ(animation().current().delay, 250);
    EXPECT_EQ(animation().current().thumbnail.width(), 55) << "rebuilt from the empty 50 x 50";
    EXPECT_EQ(animation().frame(2).delay, 101) << "the old second frame follows it";

    Frame& source = animation().current();
    source.insertLayerAfter(0);
    source.insertLayerAfter(1);
    source.layer(1).opacity = 77;
    source.layer(1).visible = false;
    source.layer(2).image.setPixel(5, 6, Color::rgb(9, 8, 7));
    source.delay = 900;
    clickToolbar(duplicateX);
    ASSERT_EQ(animation().currentFrameIndex(), 2);
    const Frame& copy = animation().current();
    ASSERT_EQ(copy.layerCount(), 3);
    EXPECT_EQ(copy.delay, 250) << "the default delay, not the source's";
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(copy.layer(i).opacity, source.layer(i).opacity) << i;
        EXPECT_EQ(copy.layer(i).visible, source.layer(i).visible) << i;
        EXPECT_TRUE(samePixels(copy.layer(i).image, source.layer(i).image)) << i;
    }
}

TEST_F(FrameStripTest, DeleteRefusesTheLastFrameAndASwitchedOffOne) {
    makeAnimation(3);
    const auto before = serials();
    animation().frame(0).enabled = false;
    clickToolbar(deleteX);
    EXPECT_EQ(serials(), before);
    animation().frame(0).enabled = true;
    clickToolbar(deleteX);
    EXPECT_EQ(serials(), (std::vector<uint64_t>{before[1], before[2]}));
    EXPECT_EQ(animation().currentFrameIndex(), 0) << "the following frame takes its place";
    clickToolbar(lastX);
    clickToolbar(deleteX);
    clickToolbar(deleteX);
    EXPECT_EQ(serials(), (std::vector<uint64_t>{before[1]})) << "one frame always stays";
}

TEST_F(FrameStripTest, FirstLastEnableAllAndTheCellsTheyShow) {
    makeAnimation(100);
    clickToolbar(lastX);
    EXPECT_EQ(animation().currentFrameIndex(), 99);
    const Point p = inCell(99, 62, 60);
    ASSERT_LT(p.x, 1000) << "scrolled into view";
    EXPECT_EQ(back.pixel(p.x, p.y), darkBlue);
    clickToolbar(firstX);
    EXPECT_EQ(animation().currentFrameIndex(), 0);
    EXPECT_EQ(e.animator.strip.stripScroll, 0);
    for (int i : {1, 3})
        animation().frame(i).enabled = false;
    clickToolbar(enableAllX);
    for (const Frame& f : animation().frames())
        EXPECT_TRUE(f.enabled);
}

// --- Stepping --------------------------------------------------------------------------------

TEST_F(FrameStripTest, StepsSkipSwitchedOffFramesAndWrapRoundBothEnds) {
    makeAnimation(3);
    animation().frame(1).enabled = false;
    const std::vector<std::pair<uint8_t, int>> steps{{'x', 2},  {'x', 0}, {'z', 2},  {0xFF, 0},
                                                     {0xD7, 2}, {'Z', 0}, {0xF7, 2}, {0xDF, 0}};
    for (auto [key, expected] : steps) {
        typeChar(key);
        EXPECT_EQ(animation().currentFrameIndex(), expected) << int(key);
    }
    clickToolbar(nextX, 20);
    EXPECT_EQ(animation().currentFrameIndex(), 2);
    clickToolbar(previousX, 20);
    EXPECT_EQ(animation().currentFrameIndex(), 0);
    animation().frame(2).enabled = false;
    typeChar('x');
    EXPECT_EQ(animation().currentFrameIndex(), 0) << "no other frame on: it stays";
}

TEST_F(FrameStripTest, AStepRebuildsTheOnionSkinFromTheFrameBeforeTheNewOne) {
    makeAnimation(3);
    e.animator.onion.on = true;
    e.animator.onion.grey = false;
    typeChar('x');
    typeChar('x');
    EXPECT_EQ(e.animator.onion.frameNumber, 2);
    EXPECT_EQ(e.animator.onion.image->pixel(1, 0), frameColour(1));
}

TEST_F(FrameStripTest, TheSingleLayerViewFollowsEveryChangeOfTheCurrentFrame) {
    makeAnimation(3);
    for (int i = 0; i < 3; ++i)
        animation().frame(i).insertLayerAfter(0);
    m().layers.singleLayerView = true;
    auto follows = [&] { return m().layers.viewedLayer == animation().currentLayer().serial; };
    typeChar('x');
    EXPECT_TRUE(follows()) << "step";
    for (int x : {lastX, firstX, newX, duplicateX, deleteX}) {
        clickToolbar(x);
        EXPECT_TRUE(follows()) << x;
    }
    const Point p = inCell(3, 62, 10);
    clickAt(p.x, p.y);
    EXPECT_EQ(animation().currentFrameIndex(), 3);
    EXPECT_TRUE(follows()) << "cell press";
}

// --- Cells -----------------------------------------------------------------------------------

TEST_F(FrameStripTest, APressSelectsACellAndItsSwitchTurnsTheFrameOffAndOn) {
    makeAnimation(3);
    const Point top = inCell(2, 62, 10);
    press(top.x, top.y);
    EXPECT_EQ(animation().currentFrameIndex(), 2);
    EXPECT_FALSE(e.animator.strip.frameDrag.active) << "the top of a cell starts no drag";
    release();
    const Point onOff = inCell(1, 16, 10);
    clickAt(onOff.x, onOff.y);
    EXPECT_FALSE(animation().frame(1).enabled);
    clickAt(onOff.x, onOff.y);
    EXPECT_TRUE(animation().frame(1).enabled);
}

TEST_F(FrameStripTest, TheHoldButtonsAndTheScrollBarMoveTheCells) {
    makeAnimation(40); // 2600 pixels of cells in a strip 1000 wide
    const int on = 449, back = 433, y = toolbarY() + 7;
    press(on, y);
    paint();
    paint();
    release();
    EXPECT_EQ(e.animator.strip.stripScroll, 30) << "+10 on every held frame";
    for (int i = 0; i < 5; ++i)
        press(back, y);
    release();
    EXPECT_EQ(e.animator.strip.stripScroll, 0) << "never before the first cell";
    e.animator.strip.stripScroll = 65 * 20 + 10;
    paint();
    const Point p = inCell(25, 62, 10);
    clickAt(p.x, p.y);
    EXPECT_EQ(animation().currentFrameIndex(), 25) << "the cell under the pointer, scrolled";
    e.animator.strip.stripScroll = 100000;
    paint();
    EXPECT_NEAR(e.animator.strip.stripScroll, 2600 - 1000, 1)
        << "the bar keeps it inside the cells";
}

// --- Frame drag ------------------------------------------------------------------------------

TEST_F(FrameStripTest, TheFirstOfThreeDraggedOntoTheThirdBecomesTheLastAndKeepsItsDelay) {
    makeAnimation(3);
    const auto before = serials();
    pressCell(0);
    EXPECT_TRUE(e.input.delayPopupActive);
    moveToCell(1);
    moveToCell(2);
    release();
    paint(); // the one the drop asked for
    EXPECT_EQ(serials(), (std::vector<uint64_t>{before[1], before[2], before[0]}));
    EXPECT_EQ(animation().currentFrameIndex(), 2);
    EXPECT_EQ(animation().frame(2).delay, 100) << "its own delay";
    EXPECT_FALSE(e.input.delayPopupActive);
    for (int i = 0; i < 3; ++i) {
        const Rect c = frameCellRect(strip(), i, 0);
        EXPECT_TRUE(showsText({c.x + 5, c.y + 22, 30, 14}, std::to_string(i + 1), tabGrey,
                              colors::black, Align::Far));
    }
    const Rect c2 = frameCellRect(strip(), 2, 0);
    EXPECT_TRUE(
        showsText({c2.x + 30, c2.y + 3, 30, 14}, "0.1", darkBlue, colors::white, Align::Far));
}

TEST_F(FrameStripTest, DroppedRightOfItsStartAFrameGoesAfterTheCellLeftOfItBefore) {
    makeAnimation(4);
    const auto s = serials();
    dragCell(0, 2);
    EXPECT_EQ(serials(), (std::vector<uint64_t>{s[1], s[2], s[0], s[3]}));
    dragCell(3, 1, 20);
    EXPECT_EQ(serials(), (std::vector<uint64_t>{s[1], s[3], s[2], s[0]}));
    EXPECT_EQ(animation().currentFrameIndex(), 1);
}

TEST_F(FrameStripTest, AMovedFrameKeepsEverythingItHad) {
    makeAnimation(3);
    Frame& f = animation().frame(2);
    f.delay = 640;
    f.insertLayerAfter(0);
    f.insertLayerAfter(1);
    f.deleteLayer(1);
    f.layer(0).opacity = 33;
    f.layer(1).visible = false;
    f.layer(1).image.setPixel(3, 3, Color::rgb(4, 5, 6));
    f.setCurrentLayer(0);
    f.enabled = false;
    const Frame* address = &f;
    const Bitmap thumbnail = f.thumbnail.clone();
    dragCell(2, 0, 20); // left of the start: before the first frame
    ASSERT_EQ(&animation().frame(0), address);
    const Frame& moved = animation().frame(0);
    EXPECT_EQ(moved.delay, 640);
    EXPECT_FALSE(moved.enabled);
    ASSERT_EQ(moved.layerCount(), 2);
    EXPECT_EQ(moved.layer(1).id, 3);
    EXPECT_EQ(moved.layer(0).opacity, 33);
    EXPECT_FALSE(moved.layer(1).visible);
    EXPECT_EQ(moved.layer(1).image.pixel(3, 3), Color::rgb(4, 5, 6));
    EXPECT_EQ(moved.currentLayerIndex(), 0);
    EXPECT_TRUE(samePixels(moved.thumbnail, thumbnail)) << "nothing to rebuild";
}

TEST_F(FrameStripTest, TheDropMarkShowsWhereTheFrameWouldGo) {
    makeAnimation(4);
    const Color red = Color::rgb(255, 0, 0);
    pressCell(1);
    moveToCell(3);
    const Point right = inCell(3, 66, 40);
    EXPECT_EQ(back.pixel(right.x, right.y), red) << "right edge of cell 4";
    moveToCell(0);
    const Point left = inCell(0, 1, 40);
    EXPECT_EQ(back.pixel(left.x, left.y), red) << "left edge of cell 1";
    EXPECT_NE(back.pixel(right.x, right.y), red);
    hold(HeldKey::Escape);
}

TEST_F(FrameStripTest, EscapeTheRightButtonOrAReleaseOffTheCellsCancelsTheDrag) {
    makeAnimation(3);
    const auto before = serials();
    for (int way = 0; way < 4; ++way) {
        pressCell(0);
        moveToCell(2);
        if (way == 0)
            hold(HeldKey::Escape);
        else if (way == 1)
            hold(HeldKey::RightButton);
        else if (way == 2)
            releaseAt(500, 300); // over the canvas
        else
            moveToCell(0, 20); // back onto itself
        EXPECT_EQ(e.animator.strip.frameDrag.active, way == 3) << way;
        release();
        moveToCell(2); // hovering a cell afterwards drops nothing
        EXPECT_FALSE(e.input.delayPopupActive) << way;
        EXPECT_EQ(serials(), before) << way;
    }
    clickToolbar(newX);
    EXPECT_EQ(animation().frameCount(), 4) << "clicks reach the panels again";
    e.animator.playState = PlayState::Forward;
    e.animator.strip.nextFrameTime = 0x7FFFFFF0u; // playing, but nothing due
    pressCell(1);
    EXPECT_FALSE(e.animator.strip.frameDrag.active) << "no drag during playback";
}

TEST_F(FrameStripTest, DraggingAFrameOverTheCanvasDrawsNothing) {
    makeAnimation(2);
    e.currentTool = Tool::Pencil;
    pressCell(0);
    const Rect canvas = layoutOf(e, Mode::Animator).canvas;
    moveTo(canvas.x + canvas.w / 2, canvas.y + canvas.h / 2);
    moveTo(canvas.x + canvas.w / 2 + 10, canvas.y + canvas.h / 2 + 5);
    release();
    for (const Frame& f : animation().frames())
        EXPECT_EQ(countPixels(f.layer(0).image, colors::black), 0);
}

TEST_F(FrameStripTest, TheHoldButtonsScrollDuringADragSoFarCellsCanBeReached) {
    makeAnimation(60);
    const uint64_t dragged = animation().frame(0).serial;
    pressCell(0);
    moveTo(449, toolbarY() + 7);
    for (int i = 0; i < 300; ++i)
        paint();
    EXPECT_EQ(e.animator.strip.stripScroll, 60 * 65 - 1000);
    moveToCell(55);
    release();
    EXPECT_EQ(animation().frameWithSerial(dragged), 55) << "after frame 56, which moved up one";
}

// --- Nothing points at a deleted or moved frame ----------------------------------------------

TEST_F(FrameStripTest, AfterADeleteTheOnionSkinViewAndHistoryNameOnlyWhatExists) {
    makeAnimation(3);
    e.animator.onion.on = true;
    m().layers.singleLayerView = true;
    clickToolbar(lastX);
    typeChar('z'); // onto frame 2, the last one's onion source
    clickToolbar(deleteX);
    EXPECT_EQ(animation().frameCount(), 2);
    EXPECT_EQ(e.animator.onion.frameNumber, 1) << "built from the frame now before the current one";
    const Color c = frameColour(0);
    const int grey = (c.r() + c.g() + c.b()) / 3;
    EXPECT_EQ(e.animator.onion.image->pixel(0, 0), Color::rgb(grey, grey, grey));
    EXPECT_EQ(m().layers.viewedLayer, animation().currentLayer().serial);
    EXPECT_EQ(m().historyLayer, animation().currentLayer().serial);
}

TEST_F(FrameStripTest, AfterAMoveTheOnionSkinShowsTheNewPreviousFrame) {
    makeAnimation(3);
    e.animator.onion.on = true;
    e.animator.onion.grey = false;
    clickToolbar(lastX);
    dragCell(2, 0, 20); // frame 3 to the front: the frame before it is now the old frame 2
    EXPECT_EQ(e.animator.onion.frameNumber, 3);
    EXPECT_EQ(e.animator.onion.image->pixel(1, 0), frameColour(1));
    EXPECT_EQ(e.animator.onion.image->pixel(2, 0), colors::transparent);
}

TEST_F(FrameStripTest, AMoveKeepsTheUndoHistoryOfTheMovedFramesLayer) {
    makeAnimation(3);
    e.currentTool = Tool::Pencil;
    const CanvasPlacement p = canvasPlacement(e, Mode::Animator);
    for (int i = 0; i < 2; ++i) {
        press(int(p.imageLeft) + 10 + 5 * i, int(p.imageTop) + 10);
        release();
    }
    ASSERT_EQ(m().history->stateCount(), 3);
    dragCell(0, 2);
    EXPECT_EQ(m().history->stateCount(), 3);
    typeChar(',');
    EXPECT_EQ(countPixels(animation().current().layer(0).image, colors::black), 1);
}

TEST_F(FrameStripTest, ADragWhoseFrameWentAwayEndsWithoutAMove) {
    makeAnimation(3);
    pressCell(0);
    newDocument(Mode::Animator, 20, 20); // from the menu, while the drag is held
    animation().insertFrameAfter(0);
    animation().insertFrameAfter(1);
    const auto fresh = serials();
    moveToCell(2);
    release();
    EXPECT_EQ(serials(), fresh);
    EXPECT_FALSE(e.input.delayPopupActive);
}

// --- Scale -----------------------------------------------------------------------------------

TEST_F(FrameStripTest, PaintsAndPlaybackRebuildNoThumbnailOfAFrameThatDidNotChange) {
    makeAnimation(5);
    Bitmap marker(55, 50);
    marker.fill(Color::rgb(1, 2, 3));
    for (int i = 1; i < 5; ++i)
        animation().frame(i).thumbnail = marker.clone();
    typeChar(' ');
    for (int i = 0; i < 6; ++i) {
        platform.tick += 200;
        paint();
    }
    typeChar(' ');
    for (int i = 1; i < 5; ++i)
        EXPECT_TRUE(samePixels(animation().frame(i).thumbnail, marker)) << i;
}
