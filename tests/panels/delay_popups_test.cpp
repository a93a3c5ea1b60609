// SPDX-License-Identifier: GPL-3.0-or-later
#include "commands/Autosave.h"
#include "panels/DelayPopups.h"

#include "support/AnimatorScenario.h"

#include <gtest/gtest.h>

using namespace vork;
using namespace vork::test;

namespace {

constexpr int defaultDelayX = 71, newX = 161;

struct Item {
    const char* label;
    double value;
    int column; // 0 left, 1 right, 2 the row across both
    int row;
};

// Every item of the list where it lies.
const Item items[] = {
    {"0.09", 90, 0, 0},        {"0.08", 80, 0, 1},     {"0.07", 70, 0, 2},
    {"0.06", 60, 0, 3},        {"0.05", 50, 0, 4},     {"0.04", 40, 0, 5},
    {"0.03", 30, 0, 6},        {"0.02", 20, 0, 7},     {"0.01", 10, 0, 8},
    {"5 сек", 5000, 1, 0},     {"2 сек", 2000, 1, 1},  {"1 сек", 1000, 1, 2},
    {"0.8 сек", 800, 1, 3},    {"0.5 сек", 500, 1, 4}, {"0.4 сек", 400, 1, 5},
    {"0.3 сек", 300, 1, 6},    {"0.2 сек", 200, 1, 7}, {"0.1 сек", 100, 1, 8},
    {"Без задержки", 0, 2, 0},
};

const Item& item(const std::string& label) {
    for (const Item& i : items)
        if (label == i.label)
            return i;
    ADD_FAILURE() << "no item " << label;
    return items[0];
}

struct DelayPopupsTest : AnimatorScenario {
    Point origin{50, 605 - 218}; // of the pop-up last opened

    Rect itemRect(const Item& i) const {
        if (i.column == 2)
            return {origin.x + 1, origin.y + 176, 110, 18};
        return i.column == 0 ? Rect{origin.x + 1, origin.y + 5 + 18 * i.row, 49, 18}
                             : Rect{origin.x + 51, origin.y + 5 + 18 * i.row, 59, 18};
    }
    Point centreOf(const std::string& label) const {
        const Rect r = itemRect(item(label));
        return {r.x + 20, r.y + 9};
    }
    void openDefault() {
        clickToolbar(defaultDelayX, 58);
        origin = {50, 605 - 218};
    }
    // A press on the delay text of cell `index`, held.
    void pressDelayText(int index) {
        const Point p = inCell(index, 45, 10);
        press(p.x, p.y);
        origin = {frameCellRect(strip(), index, e.animator.strip.stripScroll).x, 622 - 218};
    }
    void choose(const std::string& label) {
        const Point p = centreOf(label);
        clickAt(p.x, p.y);
    }
    bool anyOpen() const {
        return e.animator.delayPopups.defaultDelayPopupOpen ||
               e.animator.delayPopups.frameDelayPopupOpen;
    }
};

} // namespace

// --- The default-delay pop-up --------------------------------------------------------------

TEST_F(DelayPopupsTest, EveryItemOfTheDefaultDelayPopupSetsItsValueForEveryFrame) {
    makeAnimation(3);
    for (const Item& i : items) {
        openDefault();
        ASSERT_TRUE(e.animator.delayPopups.defaultDelayPopupOpen) << i.label;
        EXPECT_TRUE(e.input.delayPopupActive);
        choose(i.label);
        EXPECT_FALSE(anyOpen()) << i.label;
        EXPECT_FALSE(e.input.delayPopupActive) << i.label;
        EXPECT_EQ(animation().defaultDelay, i.value) << i.label;
        for (const Frame& f : animation().frames())
            EXPECT_EQ(f.delay, i.value) << i.label;
    }
}

TEST_F(DelayPopupsTest, ChoosingPoint05ShowsInEveryCellAndOnTheToolbar) {
    makeAnimation(3);
    openDefault();
    choose("0.05");
    paint();
    EXPECT_TRUE(showsText({defaultDelayX, toolbarY(), 58, 14}, "0.05 сек", panelGrey, colors::black,
                          Align::Center));
    for (int i = 0; i < 3; ++i) {
        const Rect c = frameCellRect(strip(), i, 0);
        EXPECT_TRUE(showsText({c.x + 30, c.y + 3, 30, 14}, "0.05", i == 0 ? darkBlue : panelGrey,
                              i == 0 ? colors::white : colors::black, Align::Far))
            << i;
    }
    clickToolbar(newX);
    EXPECT_EQ(animation().current().delay, 50) << "new frames take the default";
}

TEST_F(DelayPopupsTest, ThePopupShowsItsLabelsAndHighlightsTheItemUnderThePointer) {
    makeAnimation(2);
    openDefault();
    const Rect r = itemRect(item("2 сек"));
    moveTo(r.x + 5, r.y + 9);
    EXPECT_EQ(back.pixel(r.x + 2, r.y + 2), darkBlue);
    // The labels start 10 pixels in; only the part inside the pop-up is compared.
    EXPECT_TRUE(showsText({r.x + 10, r.y, 45, r.h}, "2 сек", darkBlue, colors::white, Align::Near));
    const Rect other = itemRect(item("Без задержки"));
    EXPECT_TRUE(showsText({other.x + 10, other.y, 90, other.h}, "Без задержки", panelGrey,
                          colors::black, Align::Near));
    EXPECT_EQ(back.pixel(origin.x, origin.y + 50), colors::black) << "the outline";
}

// --- The press latch ------------------------------------------------------------------------

TEST_F(DelayPopupsTest, APressOnOneItemOrOutsideChoosesTheItemItIsReleasedOn) {
    makeAnimation(2);
    openDefault();
    const Point from = centreOf("0.09"), to = centreOf("0.01");
    press(from.x, from.y);
    EXPECT_FALSE(e.input.mouseDown) << "the pop-up holds the pointer";
    moveTo(to.x, to.y);
    EXPECT_TRUE(anyOpen());
    release();
    EXPECT_EQ(animation().defaultDelay, 10);

    openDefault();
    press(300, 200);
    const Point on = centreOf("0.3 сек");
    moveTo(on.x, on.y);
    release();
    EXPECT_EQ(animation().defaultDelay, 300);
}

TEST_F(DelayPopupsTest, LeavingThePanelWithTheButtonHeldForgetsThePress) {
    makeAnimation(2);
    openDefault();
    const Point on = centreOf("0.5 сек");
    press(on.x, on.y);
    moveTo(400, 200);
    release();
    moveTo(on.x, on.y);
    EXPECT_TRUE(anyOpen()) << "released outside, then hovered: nothing chosen";
    EXPECT_EQ(animation().defaultDelay, 100);
}

// --- Closing ---------------------------------------------------------------------------------

TEST_F(DelayPopupsTest, EscapeOrTheRightButtonCloseEitherPopupAndGiveClicksBack) {
    makeAnimation(2);
    for (HeldKey key : {HeldKey::Escape, HeldKey::RightButton}) {
        for (bool frameDelay : {false, true}) {
            if (frameDelay) {
                pressDelayText(1);
                release();
            } else {
                openDefault();
            }
            clickToolbar(newX);
            EXPECT_EQ(animation().frameCount(), 2) << "no press reaches the strip";
            const Point on = centreOf("5 сек");
            moveTo(on.x, on.y);
            hold(key);
            EXPECT_FALSE(anyOpen());
            EXPECT_FALSE(e.input.delayPopupActive);
            clickAt(on.x, on.y);
            EXPECT_EQ(animation().frame(1).delay, 101) << "unchanged";
        }
    }
    clickToolbar(newX);
    EXPECT_EQ(animation().frameCount(), 3) << "clicks reach the panels again";
}

TEST_F(DelayPopupsTest, TheModeSwitchClosesAPopupOrEndsAFrameDragAndFreesThePointer) {
    makeAnimation(2);
    openDefault();
    typeChar('g');
    EXPECT_EQ(e.shownMode, Mode::Painter);
    EXPECT_FALSE(anyOpen());
    EXPECT_FALSE(e.input.delayPopupActive);
    press(400, 300);
    EXPECT_TRUE(e.input.mouseDown) << "presses count again in the Painter";
    release();
    typeChar('g');
    EXPECT_FALSE(anyOpen()) << "nor does it come back with the Animator";

    pressCell(0); // a frame drag
    typeChar('g');
    EXPECT_FALSE(e.animator.strip.frameDrag.active);
    EXPECT_FALSE(e.input.delayPopupActive);
    release();
}

// --- The frame-delay pop-up ------------------------------------------------------------------

TEST_F(DelayPopupsTest, OneSecondForTheFrameWhoseDelayTextWasPressed) {
    makeAnimation(3);
    pressDelayText(1);
    EXPECT_EQ(animation().currentFrameIndex(), 1) << "the press makes its frame current";
    EXPECT_TRUE(e.animator.delayPopups.frameDelayPopupOpen);
    release();
    EXPECT_EQ(back.pixel(origin.x + 20, origin.y), colors::black) << "above the cell";
    choose("1 сек");
    EXPECT_FALSE(anyOpen());
    EXPECT_EQ(animation().frame(1).delay, 1000);
    EXPECT_EQ(animation().frame(0).delay, 100);
    EXPECT_EQ(animation().frame(2).delay, 102);
    EXPECT_EQ(animation().defaultDelay, 100);
}

TEST_F(DelayPopupsTest, ThePressThatOpensItCanBeDraggedOntoAnItemWithoutDrawing) {
    makeAnimation(5, 600, 500); // tall enough to lie under the pop-up of the fifth cell
    e.currentTool = Tool::Pencil;
    pressDelayText(4);
    const Point on = centreOf("0.07");
    ASSERT_TRUE(pointerInside(canvasPlacement(e, Mode::Animator), on.x, on.y + 30));
    moveTo(on.x, on.y + 30);
    moveTo(on.x, on.y);
    release();
    EXPECT_EQ(animation().frame(4).delay, 70);
    for (const Frame& f : animation().frames())
        EXPECT_EQ(countPixels(f.layer(0).image, colors::black), 0);
}

TEST_F(DelayPopupsTest, ItSetsTheFrameItWasOpenedForAndNoFrameThatWentAway) {
    makeAnimation(3);
    pressDelayText(1);
    release();
    typeChar('x');
    ASSERT_EQ(animation().currentFrameIndex(), 2);
    choose("0.2 сек");
    EXPECT_EQ(animation().frame(1).delay, 200);
    EXPECT_EQ(animation().frame(2).delay, 102);

    pressDelayText(1);
    release();
    newDocument(Mode::Animator, 20, 20); // from the menu, while the pop-up is open
    choose("2 сек");
    EXPECT_FALSE(anyOpen());
    EXPECT_EQ(animation().current().delay, 100);
}

// --- What a file would hold ---------------------------------------------------------------

TEST_F(DelayPopupsTest, AChosenDelayMarksTheAnimationChangedAndAnEscapeDoesNot) {
    makeAnimation(3);
    documentMatchesFile(e, Mode::Animator);
    openDefault();
    hold(HeldKey::Escape);
    EXPECT_FALSE(anyOpen());
    EXPECT_FALSE(e.mode(Mode::Animator).changes.modified) << "nothing was chosen";
    openDefault();
    choose("0.05");
    EXPECT_TRUE(e.mode(Mode::Animator).changes.modified);
}
