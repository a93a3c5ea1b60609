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

struct FrameStripTest : AnimatorScenario {
    std::vector<int> numbersShown() {
        animation().renumberFrames();
        std::vector<int> out;
        for (const auto& f : animation().frames)
            out.push_back(f->number);
        return out;
    }
    ModeState& m() { return e.mode(Mode::Animator); }
};

} // namespace

// --- Without an animation -----------------------------------------------------------------

TEST_F(FrameStripTest, WithoutAnAnimationOnlyTheCountZeroAndInertButtonsShow) {
    paint();
    EXPECT_TRUE(showsText({0, toolbarY(), 40, 14}, "0", panelGrey, colors::black, Align::Center));
    // No cell: the strip's plain background where the first cell would be.
    EXPECT_EQ(back.pixel(62, strip().cellsY + 60), panelGrey);
    EXPECT_EQ(back.pixel(0, strip().cellsY + 60), panelGrey);
    // Every button and key does nothing, and nothing breaks.
    for (int x : {enableAllX, defaultDelayX, deleteX, newX, duplicateX, firstX, lastX})
        clickToolbar(x);
    for (int x : {previousX, nextX, 325, 347, 369})
        clickToolbar(x, 20);
    clickToolbar(391, 23);
    for (uint8_t c : {uint8_t('z'), uint8_t('x'), uint8_t(' ')})
        typeChar(c);
    EXPECT_FALSE(e.animation());
    EXPECT_EQ(e.playState, PlayState::Stopped);
    EXPECT_TRUE(e.strip.loopPlayback);
    EXPECT_FALSE(e.delayPopups.defaultDelayPopupOpen);
    EXPECT_FALSE(e.input.delayPopupActive);
}

TEST_F(FrameStripTest, CountAndCellsShowOnceThereIsAnAnimation) {
    makeAnimation(3);
    EXPECT_TRUE(showsText({0, toolbarY(), 40, 14}, "3", panelGrey, colors::black, Align::Center));
    const Point p = inCell(0, 62, 60);
    EXPECT_EQ(back.pixel(p.x, p.y), darkBlue) << "the current frame's cell is filled";
    const Point q = inCell(1, 62, 60);
    EXPECT_EQ(back.pixel(q.x, q.y), panelGrey);
    EXPECT_EQ(back.pixel(65, strip().cellsY + 40), Color::rgb(128, 128, 128)) << "outline";
    // The delay text, white on the current cell, black on the others; the number tab.
    const Rect c0 = frameCellRect(strip(), 0, 0), c1 = frameCellRect(strip(), 1, 0);
    EXPECT_TRUE(
        showsText({c0.x + 30, c0.y + 3, 30, 14}, "0.1", darkBlue, colors::white, Align::Far));
    EXPECT_TRUE(
        showsText({c1.x + 30, c1.y + 3, 30, 14}, "0.101", panelGrey, colors::black, Align::Far));
    EXPECT_TRUE(showsText({c1.x + 5, c1.y + 22, 30, 14}, "2", Color::rgb(230, 230, 230),
                          colors::black, Align::Far));
    EXPECT_TRUE(showsText({defaultDelayX, toolbarY(), 58, 14}, "0.1 сек", panelGrey, colors::black,
                          Align::Center));
}

// --- Toolbar commands ------------------------------------------------------------------------

TEST_F(FrameStripTest, NewFrameFollowsTheCurrentOneWithTheDefaultDelayAndItsThumbnails) {
    makeAnimation(2);
    animation().defaultDelay = 250;
    clickToolbar(newX);
    ASSERT_EQ(animation().frameCount(), 3);
    EXPECT_EQ(animation().currentFrame, 1);
    const Frame& f = animation().current();
    EXPECT_EQ(f.delay, 250);
    EXPECT_TRUE(f.enabled);
    EXPECT_EQ(f.layerCount(), 1);
    EXPECT_EQ(f.thumbnail.width(), 55) << "rebuilt from the empty 50 x 50 one";
    EXPECT_EQ(animation().frame(2).delay, 101) << "the old second frame follows it";
}

TEST_F(FrameStripTest, DuplicateCopiesEveryLayerButNotTheDelay) {
    makeAnimation(2);
    Frame& source = animation().frame(0);
    source.insertLayerAfter(0);
    source.insertLayerAfter(1);
    source.layer(1).opacity = 77;
    source.layer(1).visible = false;
    source.layer(2).image.setPixel(5, 6, Color::rgb(9, 8, 7));
    source.delay = 900;
    clickToolbar(duplicateX);
    ASSERT_EQ(animation().frameCount(), 3);
    EXPECT_EQ(animation().currentFrame, 1);
    const Frame& copy = animation().current();
    ASSERT_EQ(copy.layerCount(), 3);
    EXPECT_EQ(copy.delay, 100) << "the default delay, not the source's";
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(copy.layer(i).opacity, source.layer(i).opacity) << i;
        EXPECT_EQ(copy.layer(i).visible, source.layer(i).visible) << i;
        EXPECT_TRUE(samePixels(copy.layer(i).image, source.layer(i).image)) << i;
        EXPECT_NE(copy.layer(i).serial, source.layer(i).serial);
    }
    EXPECT_EQ(copy.thumbnail.width(), 55);
}

TEST_F(FrameStripTest, DeleteRefusesTheLastFrameAndASwitchedOffOne) {
    makeAnimation(3);
    const auto before = serials();
    animation().frame(0).enabled = false;
    clickToolbar(deleteX);
    EXPECT_EQ(serials(), before) << "the current frame is switched off";

    animation().frame(0).enabled = true;
    clickToolbar(deleteX);
    EXPECT_EQ(serials(), (std::vector<uint64_t>{before[1], before[2]}));
    EXPECT_EQ(animation().currentFrame, 0) << "the following frame takes its place";
    clickToolbar(lastX);
    clickToolbar(deleteX);
    EXPECT_EQ(serials(), (std::vector<uint64_t>{before[1]}));
    clickToolbar(deleteX);
    EXPECT_EQ(serials(), (std::vector<uint64_t>{before[1]})) << "one frame always stays";
}

TEST_F(FrameStripTest, FirstLastAndEnableAll) {
    makeAnimation(4);
    clickToolbar(lastX);
    EXPECT_EQ(animation().currentFrame, 3);
    clickToolbar(firstX);
    EXPECT_EQ(animation().currentFrame, 0);
    for (int i : {1, 3})
        animation().frame(i).enabled = false;
    clickToolbar(enableAllX);
    for (const auto& f : animation().frames)
        EXPECT_TRUE(f->enabled);
}

// --- Stepping --------------------------------------------------------------------------------

TEST_F(FrameStripTest, StepsSkipSwitchedOffFramesAndWrapRoundBothEnds) {
    makeAnimation(3);
    animation().frame(1).enabled = false;
    typeChar('x');
    EXPECT_EQ(animation().currentFrame, 2);
    typeChar('x');
    EXPECT_EQ(animation().currentFrame, 0) << "wraps to the first";
    typeChar('z');
    EXPECT_EQ(animation().currentFrame, 2) << "wraps to the last";
    typeChar('z');
    EXPECT_EQ(animation().currentFrame, 0);
    clickToolbar(nextX, 20);
    EXPECT_EQ(animation().currentFrame, 2);
    clickToolbar(previousX, 20);
    EXPECT_EQ(animation().currentFrame, 0);
}

TEST_F(FrameStripTest, BothLayoutsOfTheStepKeys) {
    makeAnimation(5);
    for (uint8_t c : key::x)
        typeChar(c);
    EXPECT_EQ(animation().currentFrame, 4);
    for (uint8_t c : key::z)
        typeChar(c);
    EXPECT_EQ(animation().currentFrame, 0);
}

TEST_F(FrameStripTest, WithEveryOtherFrameOffAStepKeepsTheCurrentFrame) {
    makeAnimation(3);
    animation().frame(1).enabled = false;
    animation().frame(2).enabled = false;
    typeChar('x');
    EXPECT_EQ(animation().currentFrame, 0);
    animation().frame(0).enabled = false;
    typeChar('z');
    EXPECT_EQ(animation().currentFrame, 0);
}

TEST_F(FrameStripTest, AStepRebuildsTheOnionSkinFromTheFrameBeforeTheNewOne) {
    makeAnimation(3);
    m().onion.on = true;
    m().onion.grey = false;
    typeChar('x');
    ASSERT_TRUE(m().onion.image);
    EXPECT_EQ(m().onion.frameNumber, 1);
    EXPECT_EQ(m().onion.image->pixel(0, 0), frameColour(0));
    typeChar('x');
    EXPECT_EQ(m().onion.frameNumber, 2);
    EXPECT_EQ(m().onion.image->pixel(1, 0), frameColour(1));
}

// --- The single-layer view follows the current frame ---------------------------------------

TEST_F(FrameStripTest, TheSingleLayerViewFollowsEveryChangeOfTheCurrentFrame) {
    makeAnimation(3);
    for (int i = 0; i < 3; ++i)
        animation().frame(i).insertLayerAfter(0);
    m().layers.singleLayerView = true;
    auto viewedIsCurrent = [&] {
        return m().layers.viewedLayer == animation().currentLayer().serial;
    };
    typeChar('x');
    EXPECT_TRUE(viewedIsCurrent()) << "step";
    clickToolbar(lastX);
    EXPECT_TRUE(viewedIsCurrent()) << "last";
    clickToolbar(firstX);
    EXPECT_TRUE(viewedIsCurrent()) << "first";
    clickToolbar(newX);
    EXPECT_TRUE(viewedIsCurrent()) << "new";
    clickToolbar(duplicateX);
    EXPECT_TRUE(viewedIsCurrent()) << "duplicate";
    clickToolbar(deleteX);
    EXPECT_TRUE(viewedIsCurrent()) << "delete";
    const Point p = inCell(3, 62, 10);
    clickAt(p.x, p.y);
    EXPECT_EQ(animation().currentFrame, 3);
    EXPECT_TRUE(viewedIsCurrent()) << "cell press";
}

// --- Cells ----------------------------------------------------------------------------------

TEST_F(FrameStripTest, APressOnACellMakesItsFrameCurrent) {
    makeAnimation(3);
    const Point p = inCell(2, 62, 10);
    press(p.x, p.y);
    EXPECT_EQ(animation().currentFrame, 2);
    EXPECT_FALSE(e.strip.frameDrag.active) << "the top of the cell starts no drag";
    release();
    EXPECT_EQ(animation().frame(2).thumbnail.width(), 55);
}

TEST_F(FrameStripTest, TheCellSwitchTurnsItsFrameOffAndOn) {
    makeAnimation(2);
    const Point p = inCell(1, 16, 10);
    clickAt(p.x, p.y);
    EXPECT_FALSE(animation().frame(1).enabled);
    EXPECT_FALSE(m().previewUpToDate) << "the canvas shows nothing of a switched-off frame";
    clickAt(p.x, p.y);
    EXPECT_TRUE(animation().frame(1).enabled);
}

TEST_F(FrameStripTest, TheHoldButtonsAndTheScrollBarMoveTheCells) {
    makeAnimation(40); // 2600 pixels of cells in a strip 1000 wide
    const int on = 449, back = 433, y = toolbarY() + 7;
    press(on, y);
    paint();
    paint();
    release();
    EXPECT_EQ(e.strip.stripScroll, 30) << "+10 on every held frame";
    press(back, y);
    release();
    EXPECT_EQ(e.strip.stripScroll, 20);
    for (int i = 0; i < 5; ++i)
        paint();
    EXPECT_EQ(e.strip.stripScroll, 20) << "no button held: no change";
    for (int i = 0; i < 5; ++i)
        press(back, y);
    release();
    EXPECT_EQ(e.strip.stripScroll, 0) << "never before the first cell";
    // A press on a scrolled cell picks the frame under the pointer.
    e.strip.stripScroll = 65 * 20 + 10;
    paint();
    const Point p = inCell(25, 62, 10);
    clickAt(p.x, p.y);
    EXPECT_EQ(animation().currentFrame, 25);
    // The bar keeps the scroll inside the content.
    e.strip.stripScroll = 100000;
    paint();
    EXPECT_NEAR(e.strip.stripScroll, 2600 - 1000, 1) << "truncated from the bar's float value";
}

TEST_F(FrameStripTest, TheLastAndFirstButtonsScrollTheirCellIntoView) {
    makeAnimation(100);
    clickToolbar(lastX);
    const Rect c = frameCellRect(strip(), 99, e.strip.stripScroll);
    EXPECT_GE(c.x, 0);
    EXPECT_LE(c.x + c.w, 1000);
    const Point p = inCell(99, 62, 60);
    EXPECT_EQ(back.pixel(p.x, p.y), darkBlue);
    clickToolbar(firstX);
    EXPECT_EQ(e.strip.stripScroll, 0);
}

// --- Frame drag ------------------------------------------------------------------------------

TEST_F(FrameStripTest, TheFirstOfThreeDraggedOntoTheThirdBecomesTheLastAndKeepsItsDelay) {
    makeAnimation(3);
    const auto before = serials();
    pressCell(0);
    EXPECT_TRUE(e.strip.frameDrag.active);
    EXPECT_TRUE(e.input.delayPopupActive);
    moveToCell(1);
    moveToCell(2);
    releaseAt(inCell(2, 40, 50).x, inCell(2, 40, 50).y);
    paint(); // the one the drop asked for
    EXPECT_EQ(serials(), (std::vector<uint64_t>{before[1], before[2], before[0]}));
    EXPECT_EQ(animation().currentFrame, 2);
    EXPECT_EQ(numbersShown(), (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(animation().frame(2).delay, 100) << "its own delay";
    EXPECT_FALSE(e.strip.frameDrag.active);
    EXPECT_FALSE(e.input.delayPopupActive);
    const Rect c2 = frameCellRect(strip(), 2, 0);
    EXPECT_TRUE(showsText({c2.x + 5, c2.y + 22, 30, 14}, "3", Color::rgb(230, 230, 230),
                          colors::black, Align::Far));
    EXPECT_TRUE(
        showsText({c2.x + 30, c2.y + 3, 30, 14}, "0.1", darkBlue, colors::white, Align::Far));
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
    f.currentLayer = 0;
    const Frame* address = &f;
    const Bitmap thumbnail = f.thumbnail.clone();
    f.enabled = false; // drags start from any cell, switched on or not
    pressCell(2);
    moveToCell(0);
    releaseAt(inCell(0, 20, 50).x, inCell(0, 20, 50).y);
    ASSERT_EQ(&animation().frame(0), address) << "dropped left of the start: before frame 1";
    const Frame& moved = animation().frame(0);
    EXPECT_EQ(moved.delay, 640);
    EXPECT_FALSE(moved.enabled);
    ASSERT_EQ(moved.layerCount(), 2);
    EXPECT_EQ(moved.layer(0).id, 1);
    EXPECT_EQ(moved.layer(1).id, 3);
    EXPECT_EQ(moved.layer(0).opacity, 33);
    EXPECT_FALSE(moved.layer(1).visible);
    EXPECT_EQ(moved.layer(1).image.pixel(3, 3), Color::rgb(4, 5, 6));
    EXPECT_EQ(moved.currentLayer, 0);
    EXPECT_TRUE(samePixels(moved.thumbnail, thumbnail)) << "nothing to rebuild";
}

TEST_F(FrameStripTest, TheDropMarkShowsWhereTheFrameWouldGo) {
    makeAnimation(4);
    pressCell(1);
    moveToCell(3);
    const Point right = inCell(3, 66, 40);
    EXPECT_EQ(back.pixel(right.x, right.y), Color::rgb(255, 0, 0)) << "right edge of cell 4";
    moveToCell(0);
    const Point left = inCell(0, 1, 40);
    EXPECT_EQ(back.pixel(left.x, left.y), Color::rgb(255, 0, 0)) << "left edge of cell 1";
    const Point old = inCell(3, 66, 40);
    EXPECT_NE(back.pixel(old.x, old.y), Color::rgb(255, 0, 0));
    hold(HeldKey::Escape);
}

TEST_F(FrameStripTest, EscapeTheRightButtonOrAReleaseOffTheCellsCancelsTheDrag) {
    makeAnimation(3);
    const auto before = serials();
    for (int way = 0; way < 3; ++way) {
        pressCell(0);
        moveToCell(2);
        if (way == 0)
            hold(HeldKey::Escape);
        else if (way == 1)
            hold(HeldKey::RightButton);
        else
            releaseAt(500, 300); // over the canvas
        EXPECT_FALSE(e.strip.frameDrag.active) << way;
        EXPECT_FALSE(e.input.delayPopupActive) << way;
        EXPECT_FALSE(e.input.mouseDown) << way;
        release();
        moveToCell(2); // hovering a cell afterwards drops nothing
        EXPECT_EQ(serials(), before) << way;
    }
    // Clicks reach the panels again.
    clickToolbar(newX);
    EXPECT_EQ(animation().frameCount(), 4);
}

TEST_F(FrameStripTest, AFrameDroppedOnItselfStaysAndDragsNeedPlaybackStopped) {
    makeAnimation(3);
    const auto before = serials();
    pressCell(1);
    moveToCell(1, 20, 40);
    release();
    EXPECT_EQ(serials(), before);
    EXPECT_FALSE(e.input.delayPopupActive);

    e.playState = PlayState::Forward;
    e.strip.nextFrameTime = 0xFFFFFFFFu / 2; // far off: playback holds still
    platform.tick = 0;
    pressCell(1);
    EXPECT_FALSE(e.strip.frameDrag.active);
    release();
}

TEST_F(FrameStripTest, DraggingAFrameOverTheCanvasDrawsNothing) {
    makeAnimation(2);
    e.currentTool = Tool::Pencil;
    pressCell(0);
    const Rect canvas = layoutOf(e, Mode::Animator).canvas;
    moveTo(canvas.x + canvas.w / 2, canvas.y + canvas.h / 2);
    moveTo(canvas.x + canvas.w / 2 + 10, canvas.y + canvas.h / 2 + 5);
    release();
    for (const auto& f : animation().frames)
        EXPECT_EQ(countPixels(f->layer(0).image, colors::black), 0);
}

TEST_F(FrameStripTest, TheHoldButtonsScrollDuringADragSoFarCellsCanBeReached) {
    makeAnimation(60);
    const uint64_t dragged = animation().frame(0).serial;
    pressCell(0);
    moveTo(449, toolbarY() + 7);
    for (int i = 0; i < 300; ++i)
        paint();
    EXPECT_EQ(e.strip.stripScroll, 60 * 65 - 1000);
    moveToCell(55);
    release();
    EXPECT_EQ(animation().frameWithSerial(dragged), 55) << "after frame 56, which moved up one";
}

// --- Nothing points at a deleted or moved frame ----------------------------------------------

TEST_F(FrameStripTest, AfterADeleteTheOnionSkinAndTheViewNameOnlyFramesThatExist) {
    makeAnimation(3);
    m().onion.on = true;
    m().layers.singleLayerView = true;
    clickToolbar(lastX);
    EXPECT_EQ(m().onion.frameNumber, 2);
    typeChar('z'); // onto frame 2, the onion's source
    clickToolbar(deleteX);
    EXPECT_EQ(animation().frameCount(), 2);
    EXPECT_EQ(animation().currentFrame, 1);
    EXPECT_EQ(m().onion.frameNumber, 1) << "built from the frame now before the current one";
    const Color c = frameColour(0);
    const int grey = (c.r() + c.g() + c.b()) / 3;
    EXPECT_EQ(m().onion.image->pixel(0, 0), Color::rgb(grey, grey, grey)) << "frame 1, grey";
    EXPECT_EQ(m().layers.viewedLayer, animation().currentLayer().serial);
    EXPECT_EQ(m().historyLayer, animation().currentLayer().serial)
        << "the undo history starts afresh on a layer that exists";
}

TEST_F(FrameStripTest, AfterAMoveTheOnionSkinShowsTheNewPreviousFrame) {
    makeAnimation(3);
    m().onion.on = true;
    m().onion.grey = false;
    clickToolbar(lastX);
    ASSERT_EQ(m().onion.image->pixel(1, 0), frameColour(1));
    pressCell(2);
    moveToCell(0, 20, 50);
    release(); // frame 3 moves to the front; the frame before it is now the last one
    EXPECT_EQ(animation().currentFrame, 0);
    EXPECT_EQ(m().onion.frameNumber, 3);
    EXPECT_EQ(m().onion.image->pixel(1, 0), frameColour(1)) << "the old frame 2, now last";
    EXPECT_EQ(m().onion.image->pixel(2, 0), colors::transparent);
}

TEST_F(FrameStripTest, AMoveKeepsTheUndoHistoryOfTheMovedFramesLayer) {
    makeAnimation(3);
    e.currentTool = Tool::Pencil;
    const CanvasPlacement p = canvasPlacement(e, Mode::Animator);
    for (int i = 0; i < 2; ++i) {
        press(int(p.imageLeft) + 10 + 5 * i, int(p.imageTop) + 10);
        release();
    }
    const int states = m().history->stateCount();
    ASSERT_EQ(states, 3);
    pressCell(0);
    moveToCell(2);
    release();
    EXPECT_EQ(m().history->stateCount(), states);
    typeChar(',');
    EXPECT_EQ(countPixels(animation().current().layer(0).image, colors::black), 1);
}

TEST_F(FrameStripTest, ADragWhoseFrameWentAwayEndsWithoutAMove) {
    makeAnimation(3);
    pressCell(0);
    moveToCell(2);
    // A new animation made from the menu while the drag is held.
    newDocument(Mode::Animator, 20, 20);
    animation().insertFrameAfter(0);
    animation().insertFrameAfter(1);
    animation().currentFrame = 0;
    const auto fresh = serials();
    moveToCell(2);
    release();
    EXPECT_EQ(serials(), fresh);
    EXPECT_FALSE(e.strip.frameDrag.active);
    EXPECT_FALSE(e.input.delayPopupActive);
}

TEST_F(FrameStripTest, TheModeSwitchEndsAFrameDragAndGivesThePointerBack) {
    makeAnimation(3);
    pressCell(0);
    typeChar('g');
    EXPECT_TRUE(e.painterMode);
    EXPECT_FALSE(e.strip.frameDrag.active);
    EXPECT_FALSE(e.input.delayPopupActive);
    release();
    onLeftButtonDown(e);
    EXPECT_TRUE(e.input.mouseDown) << "a press in the Painter is seen again";
}

// --- Scale -----------------------------------------------------------------------------------

TEST_F(FrameStripTest, AStripScrolledDeepIntoAThousandFramesShowsTheCellsOfItsPlace) {
    makeAnimation(1000, 30, 30);
    e.strip.stripScroll = 65 * 500;
    paint();
    const Rect c = frameCellRect(strip(), 500, e.strip.stripScroll);
    EXPECT_EQ(c.x, 0);
    EXPECT_TRUE(showsText({c.x + 5, c.y + 22, 30, 14}, "501", Color::rgb(230, 230, 230),
                          colors::black, Align::Far));
    const FrameRange shown = shownFrameCells(strip(), 1000, e.strip.stripScroll);
    EXPECT_EQ(shown.first, 500);
    EXPECT_EQ(shown.last, 516);
}

TEST_F(FrameStripTest, PaintsRebuildNoThumbnailOfAFrameThatDidNotChange) {
    makeAnimation(5);
    Bitmap marker(55, 50);
    marker.fill(Color::rgb(1, 2, 3));
    for (int i = 1; i < 5; ++i)
        animation().frame(i).thumbnail = marker.clone();
    for (int i = 0; i < 5; ++i)
        paint();
    // Playback through every frame and back to the first.
    typeChar(' ');
    for (int i = 0; i < 6; ++i) {
        platform.tick += 200;
        paint();
    }
    typeChar(' ');
    for (int i = 1; i < 5; ++i)
        EXPECT_TRUE(samePixels(animation().frame(i).thumbnail, marker)) << i;
}
