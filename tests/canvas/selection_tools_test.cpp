// SPDX-License-Identifier: GPL-3.0-or-later
// The Selection driven through whole frames in both modes: taking it with the three selection
// tools and the A key, moving it with the pointer and the arrows, the keys that stamp, delete,
// copy, paste and cancel it, the command bar's transforms, what the canvas shows of it, and the
// transparency lock built on the same take and cut-out.
#include "app/FrameCycle.h"
#include "app/Layout.h"
#include "canvas/Canvas.h"
#include "canvas/History.h"
#include "canvas/ToolEngine.h"
#include "commands/NewDocument.h"
#include "model/Composite.h"
#include "panels/CommandBar.h"
#include "pixels/SelectionOps.h"
#include "support/CanvasScenario.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace vork;

namespace {

using test::blue;
using test::red;
const Color clear = Color::fromArgb(0, 0, 0, 0);

// 40 x 40 documents at zoom 5, drawn in red: the whole picture (200 x 200 screen pixels) is
// visible.
struct SelectionTest : test::CanvasScenario {
    void SetUp() override {
        CanvasScenario::SetUp();
        platform.tick = 10000; // well past the arrow keys' first step
    }
    // Here the zoom is set once the document is made, after makeNewDocument has laid out the
    // canvas at the default zoom.
    Document& make() {
        newDocument(mode, start.width, start.height);
        e.mode(mode).zoomIndex = start.zoomIndex;
        e.colour.currentColor = start.colour;
        paint();
        return doc();
    }

    // Paints a rectangle of the layer and makes that the first undo state.
    void fill(Rect r, Color c) {
        test::paintRect(layer(), r, c);
        ASSERT_TRUE(startHistory(e, mode));
    }
    // A colour that tells where in the layer a pixel came from.
    static Color marked(int x, int y) { return Color::rgb(10 + x, 100 + y, 50); }
    void fillMarked(Rect r) {
        for (int y = r.y; y < r.y + r.h; ++y)
            for (int x = r.x; x < r.x + r.w; ++x)
                layer().setPixel(x, y, marked(x, y));
        ASSERT_TRUE(startHistory(e, mode));
    }

    // The back buffer's pixel showing the centre of picture pixel (i, j).
    Color shown(int i, int j) {
        auto [x, y] = screenOf(float(i) + 0.5f, float(j) + 0.5f);
        return back.pixel(x, y);
    }
    // Held for one frame.
    void tap(HeldKey key) {
        platform.held.insert(key);
        paint();
        platform.held.erase(key);
        paint();
    }
    void undo() { type(','); }

    // The command bar's selection controls, from the bar's own height.
    int lowerPartTop() { return commandBarHeight(e, mode) - 115; }
    void mirrorLeftRight() { click(21, lowerPartTop() - 166 + 9); }
    void nextRotation() { click(69, lowerPartTop() - 166 + 9); }
    // Drags the angle slider's knob to `fraction` of its 71-pixel track and lets go.
    void slideAngle(float fraction) { click(10 + int(fraction * 71), lowerPartTop() - 176); }
};

// --- Taking a selection --------------------------------------------------------------------

TEST_P(SelectionTest, RectangleTakeNeedsMoreThanOnePixelInBothDirections) {
    make();
    fillMarked({0, 0, 40, 40});
    drag(Tool::RectangleSelection, 10.5f, 10.5f, 10.8f, 30.5f);
    EXPECT_FALSE(e.selection.active) << "|10 - 10.8| is not above 1";
    EXPECT_FALSE(e.mode(mode).drag.shapeDrag);

    drag(Tool::RectangleSelection, 10.5f, 10.5f, 11.2f, 30.5f);
    const Selection& s = e.selection;
    ASSERT_TRUE(s.active);
    EXPECT_FALSE(s.lifted);
    EXPECT_EQ(s.x, 10);
    EXPECT_EQ(s.y, 10);
    EXPECT_EQ(s.width, 1);
    EXPECT_EQ(s.height, 20);
    EXPECT_EQ(s.image.pixel(0, 0), marked(10, 10));
    EXPECT_EQ(s.image.pixel(0, 19), marked(10, 29));
    EXPECT_EQ(states(), 1) << "a take changes no pixel";
}

TEST_P(SelectionTest, EllipseTakesOnlyTheInscribedEllipse) {
    make();
    fillMarked({0, 0, 40, 40});
    drag(Tool::EllipseSelection, 10.5f, 10.5f, 20.5f, 20.5f);
    const Selection& s = e.selection;
    ASSERT_TRUE(s.active);
    EXPECT_EQ(s.width, 10);
    EXPECT_EQ(s.image.pixel(0, 0), clear) << "the box's corner lies outside the ellipse";
    EXPECT_EQ(s.image.pixel(9, 9), clear);
    EXPECT_EQ(s.image.pixel(5, 5), marked(15, 15));
    EXPECT_EQ(s.image.pixel(5, 0), marked(15, 10));
}

TEST_P(SelectionTest, LassoTakesThePenWidenedBoxTransparentOutsideTheOutline) {
    make();
    fillMarked({0, 0, 40, 40});
    e.currentTool = Tool::Lasso;
    press(10.5f, 10.5f);
    moveTo(30.5f, 10.5f);
    moveTo(30.5f, 30.5f);
    release(); // the outline closes back to the start: a triangle
    const Selection& s = e.selection;
    ASSERT_TRUE(s.active);
    EXPECT_EQ(s.x, 9);
    EXPECT_EQ(s.y, 9);
    EXPECT_EQ(s.width, 22);
    EXPECT_EQ(s.height, 22);
    EXPECT_EQ(s.image.pixel(28 - 9, 14 - 9), marked(28, 14)) << "inside the triangle";
    EXPECT_EQ(s.image.pixel(14 - 9, 28 - 9), clear) << "in the box, outside the triangle";
    EXPECT_EQ(e.rotationPresetIndex, 0);
}

TEST_P(SelectionTest, ShortLassoIsRefused) {
    make();
    e.currentTool = Tool::Lasso;
    press(10.5f, 10.5f);
    moveTo(10.8f, 30.5f);
    release();
    EXPECT_FALSE(e.selection.active);
    EXPECT_FALSE(e.mode(mode).drag.shapeDrag);
}

// --- Moving ---------------------------------------------------------------------------------

TEST_P(SelectionTest, PointerMoveLiftsOnceAndEnterStampsAtTheNewPlace) {
    make();
    fill({10, 10, 5, 5}, blue);
    drag(Tool::RectangleSelection, 10.5f, 10.5f, 15.5f, 15.5f);
    press(12.5f, 12.5f); // anywhere on the image starts a move; it lifts at once
    EXPECT_TRUE(e.selection.lifted);
    EXPECT_EQ(states(), 2);
    moveTo(17.5f, 14.5f);
    moveTo(19.5f, 15.5f);
    release();
    EXPECT_EQ(e.selection.x, 17);
    EXPECT_EQ(e.selection.y, 13);
    EXPECT_EQ(states(), 2) << "a lifted selection moves without further undo states";
    tap(HeldKey::Enter);
    EXPECT_FALSE(e.selection.active);
    EXPECT_EQ(layer().pixel(17, 13), blue);
    EXPECT_EQ(layer().pixel(21, 17), blue);
    EXPECT_EQ(layer().pixel(10, 10), clear);
    EXPECT_EQ(layer().pixel(14, 14), clear);
    EXPECT_EQ(states(), 3);
}

TEST_P(SelectionTest, ThreeArrowStepsRightThenEnterTakeTwoUndoStates) {
    make();
    fillMarked({5, 5, 10, 10});
    drag(Tool::RectangleSelection, 5.5f, 5.5f, 15.5f, 15.5f);
    platform.held.insert(HeldKey::Right);
    for (int step = 0; step < 3; ++step) {
        platform.tick += 101;
        paint();
    }
    platform.held.clear();
    tap(HeldKey::Enter);
    for (int y = 5; y < 15; ++y) {
        for (int x = 5; x < 8; ++x)
            EXPECT_EQ(layer().pixel(x, y), clear) << x << "," << y;
        for (int x = 5; x < 15; ++x)
            EXPECT_EQ(layer().pixel(x + 3, y), marked(x, y)) << x << "," << y;
    }
    EXPECT_EQ(states(), 3) << "the lift and the stamp";
    undo();
    EXPECT_EQ(layer().pixel(16, 10), clear) << "the stamp is undone";
    EXPECT_EQ(layer().pixel(6, 10), clear) << "the lift stays";
    undo();
    EXPECT_EQ(layer().pixel(6, 10), marked(6, 10));
}

TEST_P(SelectionTest, TwoArrowsHeldMoveOnlyTheFirstOnePixelPer100ms) {
    make();
    drag(Tool::RectangleSelection, 10.5f, 10.5f, 15.5f, 15.5f);
    platform.held = {HeldKey::Left, HeldKey::Up};
    paint();
    EXPECT_EQ(e.selection.x, 9);
    EXPECT_EQ(e.selection.y, 10) << "Up never gets the step Left takes";
    platform.tick += 50;
    paint();
    EXPECT_EQ(e.selection.x, 9);
    platform.tick += 50;
    paint();
    EXPECT_EQ(e.selection.x, 9) << "100 ms are not more than 100 ms";
    platform.tick += 1;
    paint();
    EXPECT_EQ(e.selection.x, 8);
    EXPECT_EQ(e.selection.y, 10);
    platform.held = {HeldKey::Up};
    platform.tick += 101;
    paint();
    EXPECT_EQ(e.selection.y, 9);
}

TEST_P(SelectionTest, AfterCopyAMoveCutsAgainAtTheNewPlace) {
    make();
    fill({0, 0, 40, 40}, blue);
    drag(Tool::RectangleSelection, 10.5f, 10.5f, 15.5f, 15.5f);
    platform.held = {HeldKey::Right};
    for (int step = 0; step < 3; ++step) {
        platform.tick += 101;
        paint();
    }
    platform.held.clear();
    EXPECT_EQ(layer().pixel(16, 12), blue) << "lifted: the layer under the image stays";
    type('c');
    EXPECT_FALSE(e.selection.lifted);
    EXPECT_TRUE(e.selection.hasCopy);
    EXPECT_EQ(states(), 2);
    platform.held = {HeldKey::Right};
    platform.tick += 101;
    paint();
    platform.held.clear();
    EXPECT_EQ(layer().pixel(16, 12), clear) << "cut out under the image at its new place";
    EXPECT_EQ(layer().pixel(18, 12), blue) << "the image had not reached column 18";
    EXPECT_EQ(states(), 3);
}

// --- Keys -----------------------------------------------------------------------------------

TEST_P(SelectionTest, DeleteClearsTheSelectedPixelsWithOneUndoState) {
    make();
    fill({0, 0, 40, 40}, blue);
    drag(Tool::EllipseSelection, 10.5f, 10.5f, 20.5f, 20.5f);
    tap(HeldKey::Delete);
    EXPECT_FALSE(e.selection.active);
    EXPECT_EQ(layer().pixel(15, 15), clear);
    EXPECT_EQ(layer().pixel(10, 10), blue) << "outside the ellipse";
    EXPECT_EQ(states(), 2);
    undo();
    EXPECT_EQ(layer().pixel(15, 15), blue);
}

TEST_P(SelectionTest, EnterRightAfterATakeDrawsOverTheSamePixels) {
    make();
    fill({5, 5, 10, 10}, blue);
    layer().setPixel(7, 7, Color::fromArgb(128, 255, 0, 0));
    startHistory(e, mode);
    drag(Tool::RectangleSelection, 5.5f, 5.5f, 15.5f, 15.5f);
    tap(HeldKey::Enter);
    EXPECT_FALSE(e.selection.active);
    EXPECT_EQ(layer().pixel(8, 8), blue);
    EXPECT_GT(layer().pixel(7, 7).a(), 180) << "half-transparent pixels get more opaque";
    EXPECT_EQ(states(), 2);
}

TEST_P(SelectionTest, CopyPasteLandsCentredInTheVisiblePart) {
    make();
    fillMarked({2, 3, 5, 3});
    drag(Tool::RectangleSelection, 2.5f, 3.5f, 7.5f, 6.5f);
    ASSERT_EQ(e.selection.width, 5);
    ASSERT_EQ(e.selection.height, 3);
    type('c');
    e.currentTool = Tool::Pencil;
    type('v');
    // The whole 40 x 40 picture is visible, so its centre (20, 20) receives the copy.
    const Selection& s = e.selection;
    EXPECT_EQ(e.currentTool, Tool::RectangleSelection);
    ASSERT_TRUE(s.active);
    EXPECT_TRUE(s.lifted);
    EXPECT_EQ(s.x, 17.5f);
    EXPECT_EQ(s.y, 18.5f);
    tap(HeldKey::Enter);
    for (int j = 0; j < 3; ++j)
        for (int i = 0; i < 5; ++i)
            EXPECT_EQ(layer().pixel(17 + i, 18 + j), marked(2 + i, 3 + j)) << i << "," << j;
    EXPECT_EQ(layer().pixel(2, 3), marked(2, 3)) << "the original stays";
}

TEST_P(SelectionTest, PasteWithNothingCopiedOnlyClearsTheSelection) {
    make();
    fill({0, 0, 40, 40}, blue);
    type('a');
    ASSERT_TRUE(e.selection.active);
    e.currentTool = Tool::Pencil;
    type(0xEC); // the V key on a Russian layout
    EXPECT_FALSE(e.selection.active);
    EXPECT_EQ(e.currentTool, Tool::RectangleSelection);
    tap(HeldKey::Enter);
    EXPECT_EQ(states(), 1);
}

TEST_P(SelectionTest, SelectAllOverALiftedSelectionKeepsItLiftedSoEnterDoublesThePixels) {
    make();
    fill({20, 20, 4, 4}, Color::fromArgb(128, 0, 0, 255));
    drag(Tool::RectangleSelection, 2.5f, 2.5f, 6.5f, 6.5f);
    tap(HeldKey::Down);
    ASSERT_TRUE(e.selection.lifted);
    type('a');
    EXPECT_TRUE(e.selection.lifted);
    EXPECT_EQ(e.selection.width, 40);
    platform.tick += 101;
    tap(HeldKey::Right); // lifted already: nothing is cut
    EXPECT_EQ(e.selection.x, 1);
    EXPECT_EQ(layer().pixel(20, 20).a(), 128);
    e.selection.x = 0; // back over its own pixels
    tap(HeldKey::Enter);
    EXPECT_GT(layer().pixel(20, 20).a(), 180);
    EXPECT_EQ(states(), 3) << "the first lift and the stamp";
}

TEST_P(SelectionTest, EscapeAndTheRightButtonDropALiftedSelectionWithoutStamping) {
    for (HeldKey key : {HeldKey::Escape, HeldKey::RightButton}) {
        make();
        fill({10, 10, 5, 5}, blue);
        drag(Tool::RectangleSelection, 10.5f, 10.5f, 15.5f, 15.5f);
        platform.tick += 101;
        tap(HeldKey::Right);
        e.rotationPresetIndex = 3;
        tap(key);
        EXPECT_FALSE(e.selection.active);
        EXPECT_FALSE(e.selection.lifted);
        EXPECT_EQ(e.rotationPresetIndex, 0);
        tap(HeldKey::Enter);
        EXPECT_EQ(layer().pixel(12, 12), clear) << "the pixels stay cut out";
        EXPECT_EQ(layer().pixel(15, 12), clear) << "and nothing was stamped";
        EXPECT_EQ(states(), 2);
        undo();
        EXPECT_EQ(layer().pixel(12, 12), blue);
    }
}

TEST_P(SelectionTest, EscapeDuringALineCancelsItAndDropsTheFloatingSelection) {
    make();
    type('a');
    tap(HeldKey::Right);
    ASSERT_TRUE(e.selection.lifted);
    e.currentTool = Tool::PixelLine;
    press(5.5f, 5.5f);
    moveTo(25.5f, 5.5f);
    platform.held = {HeldKey::Escape};
    paint();
    platform.held.clear();
    EXPECT_FALSE(e.input.mouseDown);
    release();
    EXPECT_FALSE(e.selection.active);
    EXPECT_EQ(layer().pixel(15, 5), clear) << "no line";
    EXPECT_EQ(states(), 2) << "only the lift";
}

TEST_P(SelectionTest, DragLeavingTheCanvasCancelsTheMove) {
    make();
    fill({10, 10, 5, 5}, blue);
    drag(Tool::RectangleSelection, 10.5f, 10.5f, 15.5f, 15.5f);
    press(12.5f, 12.5f);
    e.input.mouseX = int(canvasPlacement(e, mode).imageLeft) - 3;
    paint();
    EXPECT_FALSE(e.selection.active);
    EXPECT_FALSE(e.mode(mode).drag.shapeDrag);
}

TEST_P(SelectionTest, LassoCancelledByLeavingTheCanvasIsForgotten) {
    make();
    e.currentTool = Tool::Lasso;
    press(5.5f, 5.5f);
    moveTo(30.5f, 5.5f);
    e.input.mouseX = int(canvasPlacement(e, mode).imageLeft) - 3;
    paint();
    ASSERT_FALSE(e.mode(mode).drag.shapeDrag);
    // The next press lands inside at once, with no frame of the button up in between.
    press(20.5f, 25.5f);
    moveTo(30.5f, 35.5f);
    moveTo(22.5f, 35.5f);
    release();
    ASSERT_TRUE(e.selection.active);
    EXPECT_EQ(e.selection.x, 19) << "the new outline does not continue the cancelled one";
    EXPECT_EQ(e.selection.y, 24);
}

// --- Gates ----------------------------------------------------------------------------------

TEST_P(SelectionTest, HiddenLayerTakesNoSelectionKey) {
    make();
    fill({0, 0, 40, 40}, blue);
    doc().currentLayer().visible = false;
    type('a');
    EXPECT_FALSE(e.selection.active);
    doc().currentLayer().visible = true;
    type('a');
    ASSERT_TRUE(e.selection.active);
    doc().currentLayer().visible = false;
    for (HeldKey key : {HeldKey::Right, HeldKey::Delete, HeldKey::Enter, HeldKey::Escape})
        tap(key);
    type('c');
    type('v');
    EXPECT_TRUE(e.selection.active);
    EXPECT_FALSE(e.selection.lifted);
    EXPECT_FALSE(e.selection.hasCopy);
    EXPECT_EQ(e.selection.x, 0);
    EXPECT_EQ(layer().pixel(5, 5), blue);
    EXPECT_EQ(states(), 1);
}

TEST_P(SelectionTest, AnimatorPlaybackPausesTheSelectionButNotThePencil) {
    make();
    fill({0, 0, 40, 40}, blue);
    type('a');
    holdPlayback(PlayState::Backward);
    const bool paused = mode == Mode::Animator;
    type('c');
    EXPECT_EQ(e.selection.hasCopy, !paused);
    tap(HeldKey::Delete);
    EXPECT_EQ(e.selection.active, paused);
    EXPECT_EQ(layer().pixel(5, 5) == blue, paused);

    e.selection.drop();
    drag(Tool::RectangleSelection, 10.5f, 10.5f, 20.5f, 20.5f);
    EXPECT_EQ(e.selection.active, !paused);
    e.selection.drop();
    drag(Tool::Lasso, 10.5f, 10.5f, 20.5f, 20.5f);
    EXPECT_EQ(e.selection.active, !paused);
    e.selection.drop();
    e.currentTool = Tool::Pencil;
    type('a');
    EXPECT_EQ(e.selection.active, !paused);
    EXPECT_EQ(e.currentTool, paused ? Tool::Pencil : Tool::RectangleSelection);
    takeRectangle(e.selection, {0, 0, 5, 5}, layer());
    tap(HeldKey::Enter);
    EXPECT_EQ(e.selection.active, paused);
    e.selection.hasCopy = true;
    e.selection.copyImage = Bitmap(2, 2);
    e.selection.drop();
    type('v');
    EXPECT_EQ(e.selection.active, !paused);

    e.selection.drop();
    e.currentTool = Tool::Pencil;
    press(30.5f, 30.5f);
    release();
    EXPECT_EQ(layer().pixel(30, 30), red);
}

// --- Command bar transforms -----------------------------------------------------------------

TEST_P(SelectionTest, RotationButtonStepsThroughThePresetsAndRecordsOnce) {
    make();
    fill({10, 10, 5, 5}, blue);
    drag(Tool::RectangleSelection, 10.5f, 10.5f, 15.5f, 15.5f);
    for (int press = 1; press <= 8; ++press) {
        nextRotation();
        EXPECT_EQ(e.selection.angle, float(45 * (press % 8))) << press;
        EXPECT_EQ(e.rotationPresetIndex, press % 8);
        EXPECT_TRUE(e.selection.lifted);
        EXPECT_EQ(states(), 2) << "only the first transform records";
    }
    EXPECT_EQ(layer().pixel(12, 12), clear);
    mirrorLeftRight();
    EXPECT_EQ(states(), 2);
}

TEST_P(SelectionTest, MirrorLiftsAndStampsTheImageMirroredInPlace) {
    make();
    fillMarked({10, 10, 3, 2});
    drag(Tool::RectangleSelection, 10.5f, 10.5f, 13.5f, 12.5f);
    mirrorLeftRight();
    EXPECT_EQ(states(), 2);
    tap(HeldKey::Enter);
    for (int j = 0; j < 2; ++j)
        for (int i = 0; i < 3; ++i)
            EXPECT_EQ(layer().pixel(10 + i, 10 + j), marked(12 - i, 10 + j)) << i << "," << j;
}

TEST_P(SelectionTest, WithoutASelectionTheTransformsChangeNothing) {
    make();
    fill({0, 0, 40, 40}, blue);
    mirrorLeftRight();
    click(45, lowerPartTop() - 166 + 9);
    nextRotation();
    slideAngle(0.5f);
    EXPECT_FALSE(e.selection.active);
    EXPECT_FALSE(e.selection.lifted);
    EXPECT_EQ(e.selection.angle, 0);
    EXPECT_EQ(e.rotationPresetIndex, 0);
    EXPECT_EQ(states(), 1);
    EXPECT_EQ(layer().pixel(20, 20), blue);
}

TEST_P(SelectionTest, AngleSliderLiftsOnceAndSetsTheAngle) {
    make();
    fill({10, 10, 5, 5}, blue);
    drag(Tool::RectangleSelection, 10.5f, 10.5f, 15.5f, 15.5f);
    paint();
    EXPECT_EQ(states(), 1) << "an untouched slider leaves the Selection alone";
    slideAngle(0.5f);
    const float first = e.selection.angle;
    EXPECT_GT(first, 150);
    EXPECT_LT(first, 210);
    EXPECT_EQ(first, std::floor(first));
    EXPECT_TRUE(e.selection.lifted);
    EXPECT_EQ(states(), 2);
    slideAngle(0.25f);
    EXPECT_LT(e.selection.angle, first);
    EXPECT_EQ(states(), 2);
}

TEST_P(SelectionTest, TurnedStampLandsAboutThePivotAndUndoesStepByStep) {
    make();
    fill({10, 20, 11, 1}, blue); // a row from (10, 20) to (20, 20), its pivot at (15, 20)
    drag(Tool::RectangleSelection, 10.5f, 20.5f, 21.5f, 21.5f);
    ASSERT_EQ(e.selection.width, 11);
    nextRotation();
    ASSERT_EQ(e.selection.angle, 45);
    tap(HeldKey::Enter);
    EXPECT_GT(layer().pixel(15, 20).a(), 0) << "the pivot stays";
    EXPECT_GT(layer().pixel(18, 23).a(), 0) << "the right end turned down";
    EXPECT_GT(layer().pixel(12, 17).a(), 0) << "the left end turned up";
    EXPECT_EQ(layer().pixel(18, 17).a(), 0) << "clockwise, not the other way";
    EXPECT_EQ(layer().pixel(10, 20).a(), 0);
    EXPECT_EQ(layer().pixel(20, 20).a(), 0);
    bool soft = false;
    for (int y = 14; y < 27; ++y)
        for (int x = 9; x < 22; ++x)
            soft = soft || (layer().pixel(x, y).a() > 0 && layer().pixel(x, y).a() < 255);
    EXPECT_TRUE(soft) << "a turned image is smoothed";
    EXPECT_EQ(states(), 3);
    undo();
    EXPECT_EQ(layer().pixel(18, 23).a(), 0);
    EXPECT_EQ(layer().pixel(15, 20), clear);
    undo();
    EXPECT_EQ(layer().pixel(15, 20), blue);
}

// --- What the canvas shows ------------------------------------------------------------------

TEST_P(SelectionTest, MarqueeShowsWhileDraggingARectangle) {
    make();
    e.currentTool = Tool::RectangleSelection;
    paint();
    const Color before = shown(15, 15);
    const Color outsideBefore = shown(25, 25);
    press(10.5f, 10.5f);
    moveTo(20.5f, 20.5f);
    const Color during = shown(15, 15);
    // The fill (alpha 100, red 200) blended over what was there.
    auto blend = [](int under, int over) { return (over * 100 + under * 155) / 255; };
    EXPECT_NEAR(during.r(), blend(before.r(), 200), 2);
    EXPECT_NEAR(during.g(), blend(before.g(), 0), 2);
    EXPECT_NEAR(during.b(), blend(before.b(), 0), 2);
    EXPECT_EQ(shown(25, 25), outsideBefore);
    release();
}

TEST_P(SelectionTest, FloatingSelectionShowsOnlyWithASelectionTool) {
    make();
    fill({10, 10, 5, 5}, blue);
    drag(Tool::RectangleSelection, 10.5f, 10.5f, 15.5f, 15.5f);
    platform.held = {HeldKey::Right};
    for (int step = 0; step < 3; ++step) {
        platform.tick += 101;
        paint();
    }
    platform.held.clear();
    paint();
    // (14, 12) is in the hole the lift left and under the moved image, off its outline.
    const Color tinted = shown(14, 12);
    EXPECT_EQ(tinted.b(), 127) << "blue with green and blue halved";
    EXPECT_EQ(tinted.r(), 0);
    e.currentTool = Tool::Pencil;
    paint();
    const Color hidden = shown(14, 12);
    EXPECT_TRUE(hidden.r() == hidden.g() && hidden.g() == hidden.b()) << "the grey backdrop";
    tap(HeldKey::Enter);
    EXPECT_FALSE(e.selection.active);
    EXPECT_EQ(layer().pixel(14, 12), blue) << "Enter stamps with any tool";
}

TEST_P(SelectionTest, FloatingImageLiesUnderTheLayersAboveOnlyInThePainter) {
    make();
    fill({10, 10, 5, 5}, blue);
    const Color green = Color::rgb(0, 255, 0);
    Frame& frame = doc().current();
    frame.appendLayer();
    for (int y = 10; y < 15; ++y)
        for (int x = 10; x < 15; ++x)
            frame.layer(1).image.setPixel(x, y, green);
    frame.setCurrentLayer(0);
    if (mode == Mode::Painter)
        rebuildLayerCaches(doc(), e.painter.caches.below, e.painter.caches.above);
    drag(Tool::RectangleSelection, 10.5f, 10.5f, 15.5f, 15.5f);
    paint();
    const Color c = shown(12, 12);
    if (mode == Mode::Painter) {
        EXPECT_EQ(c, green);
    } else {
        EXPECT_EQ(c, Color::rgb(0, 0, 127));
    }
}

// --- Transparency lock ----------------------------------------------------------------------

TEST(TransparencyLockMask, IsWhiteExactlyWhereTheLayerIsFullyTransparent) {
    Bitmap layer(4, 2);
    layer.setPixel(1, 0, Color::fromArgb(1, 0, 0, 0));
    layer.setPixel(2, 1, Color::rgb(5, 6, 7));
    Selection lock;
    ASSERT_TRUE(makeTransparencyLock(lock, layer));
    EXPECT_TRUE(lock.active);
    EXPECT_EQ(lock.width, 4);
    EXPECT_EQ(lock.height, 2);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 4; ++x) {
            const bool empty = layer.pixel(x, y).a() == 0;
            EXPECT_EQ(lock.image.pixel(x, y), empty ? colors::white : clear) << x << "," << y;
        }
    Selection none;
    EXPECT_FALSE(makeTransparencyLock(none, Bitmap()));
    EXPECT_FALSE(none.active);
}

TEST_P(SelectionTest, TransparencyLockKeepsAStrokeToTheDrawnPart) {
    make();
    fill({0, 0, 20, 40}, blue);
    ASSERT_TRUE(makeTransparencyLock(e.mode(mode).layers.transparencyLock, layer()));
    e.currentTool = Tool::Pencil;
    press(5.5f, 10.5f);
    moveTo(30.5f, 10.5f);
    // The Animator clips while the stroke is drawn, the Painter only when it ends.
    EXPECT_EQ(layer().pixel(25, 10) == clear, mode == Mode::Animator);
    release();
    EXPECT_EQ(layer().pixel(10, 10), red);
    EXPECT_EQ(layer().pixel(25, 10), clear);
    EXPECT_EQ(layer().pixel(25, 11), clear);
    EXPECT_EQ(states(), 2);

    // A stamp is clipped the same way.
    type('a');
    e.selection.x = 10;
    e.selection.lifted = true;
    tap(HeldKey::Enter);
    EXPECT_EQ(layer().pixel(15, 5), blue);
    EXPECT_EQ(layer().pixel(25, 5), clear) << "stamped where the layer was empty";
}

INSTANTIATE_TEST_SUITE_P(BothModes, SelectionTest, ::testing::Values(Mode::Animator, Mode::Painter),
                         test::modeTestName);

} // namespace
