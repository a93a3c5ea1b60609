// SPDX-License-Identifier: GPL-3.0-or-later
#include "panels/CommandBar.h"

#include "app/FrameCycle.h"
#include "app/Layout.h"
#include "app/Startup.h"
#include "support/CanvasScenario.h"
#include "ui/Commands.h"
#include "ui/Layout.h"
#include "ui/Widgets.h"

#include <gtest/gtest.h>

using namespace vork;

namespace {

// A 1000 x 700 window: the Animator bar is 605 high (lower part from Y0 = 490), the Painter
// bar 675 (Y0 = 560).
struct CommandBarTest : test::EditorScenario<> {
    void SetUp() override {
        makeToolButtons();
        resize(1000, 700);
    }
    int lowerPartTop() const { return (e.shownMode == Mode::Painter ? 675 : 605) - 115; }
    void makeAnimation(int frames) {
        e.animation() = std::make_unique<Document>(40, 30, 100.0);
        for (int i = 1; i < frames; ++i)
            e.animation()->insertFrameAfter(e.animation()->currentFrameIndex());
    }
};

constexpr Color grey240 = Color::rgb(240, 240, 240);

} // namespace

// --- Mode switch -------------------------------------------------------------------------

TEST_F(CommandBarTest, ModeSwitchButtonFlipsTheModeBothWays) {
    click(40, 33);
    EXPECT_EQ(e.shownMode, Mode::Painter);
    click(40, 33);
    EXPECT_EQ(e.shownMode, Mode::Animator);
}

TEST_F(CommandBarTest, GKeyInBothLayoutsSwitchesOncePerKeyPress) {
    type('g');
    EXPECT_EQ(e.shownMode, Mode::Painter);
    paint(); // the character is gone: no second switch
    EXPECT_EQ(e.shownMode, Mode::Painter);
    type(0xEF); // Cyrillic small pe, the G key on a Russian layout
    EXPECT_EQ(e.shownMode, Mode::Animator);
    type(0xCF);
    EXPECT_EQ(e.shownMode, Mode::Painter);
    type('G');
    EXPECT_EQ(e.shownMode, Mode::Animator);
    type('h');
    EXPECT_EQ(e.shownMode, Mode::Animator);
}

TEST_F(CommandBarTest, SwitchDropsTheSelectionAndOnlyTheLeftModesLock) {
    for (Mode left : {Mode::Animator, Mode::Painter}) {
        const Mode other = left == Mode::Animator ? Mode::Painter : Mode::Animator;
        e.selection.active = true;
        e.selection.lifted = true;
        e.mode(left).layers.transparencyLock.active = true;
        e.mode(other).layers.transparencyLock.active = true;
        type('g');
        EXPECT_NE(e.shownMode, left);
        EXPECT_FALSE(e.selection.active);
        EXPECT_FALSE(e.selection.lifted);
        EXPECT_FALSE(e.mode(left).layers.transparencyLock.active);
        EXPECT_TRUE(e.mode(other).layers.transparencyLock.active);
    }
}

TEST_F(CommandBarTest, SwitchAsksForTheNextPaint) {
    type('g'); // from the Animator: at once
    EXPECT_EQ(platform.invalidations, 1);
    type('g'); // from the Painter: through its redraw flag
    EXPECT_TRUE(e.mode(Mode::Painter).redrawRequest);
}

// --- File commands ----------------------------------------------------------------------

TEST_F(CommandBarTest, NewButtonPostsTheCommandOfTheMode) {
    click(22, 83);
    e.shownMode = Mode::Painter;
    click(22, 83);
    EXPECT_EQ(platform.posted, (std::vector<Command>{Command::NewAnimation, Command::NewPicture}));
}

// --- Tools ------------------------------------------------------------------------------

TEST_F(CommandBarTest, EveryToolButtonSelectsItsToolInBothModes) {
    // (x, distance above Y0) of tools 1 to 15.
    const int places[15][2] = {{60, 26},  {36, 26}, {12, 26}, {59, 144}, {35, 144},
                               {11, 144}, {60, 48}, {36, 48}, {12, 48},  {60, 76},
                               {36, 76},  {12, 76}, {60, 98}, {36, 98},  {12, 98}};
    for (bool painter : {false, true}) {
        e.shownMode = painter ? Mode::Painter : Mode::Animator;
        for (int tool = 15; tool >= 1; --tool) {
            const auto& p = places[tool - 1];
            click(p[0] + 10, lowerPartTop() - p[1] + 9);
            EXPECT_EQ(e.currentTool, Tool(tool)) << (painter ? "Painter" : "Animator");
        }
    }
}

TEST_F(CommandBarTest, LowPainterWindowKeepsTheBarAt400) {
    e.clientHeight = 300;
    layoutAll(e);
    e.shownMode = Mode::Painter;
    EXPECT_EQ(commandBarHeight(e, Mode::Painter), 400);
    // Tool 3 stays at y = 400 - 115 - 26.
    click(22, 259 + 9);
    EXPECT_EQ(e.currentTool, Tool::ColourPick);
}

// --- Alpha ------------------------------------------------------------------------------

TEST_F(CommandBarTest, AlphaSliderSetsDrawAlphaAndAlphaColor) {
    e.colour.currentColor = Color::rgb(10, 20, 30);
    pointAt(45, lowerPartTop() - 110);
    e.input.mouseDown = true;
    paint();
    EXPECT_EQ(e.colour.drawAlpha, 127);
    EXPECT_EQ(e.colour.alphaColor, Color::fromArgb(127, 10, 20, 30));
    pointAt(79, lowerPartTop() - 110); // within two pixels of the end
    paint();
    EXPECT_EQ(e.colour.drawAlpha, 255);
    e.input.mouseDown = false;
    pointAt(500, 500);
    paint();
    // The colour follows the current colour on every frame, the alpha stays.
    pointAt(45, lowerPartTop() - 110);
    e.input.mouseDown = true;
    paint();
    e.input.mouseDown = false;
    e.colour.currentColor = Color::rgb(200, 100, 50);
    paint();
    EXPECT_EQ(e.colour.alphaColor, Color::fromArgb(127, 200, 100, 50));
}

TEST_F(CommandBarTest, AlphaBoxShowsTheColourTheCurrentToolPaintsWith) {
    e.colour.currentColor = Color::rgb(10, 20, 30);
    e.colour.drawAlpha = 40;
    e.currentTool = Tool::Pencil;
    paint();
    EXPECT_EQ(alphaBoxColor(e), Color::rgb(10, 20, 30));
    EXPECT_EQ(alphaBoxLabel(e), "a: 255");
    for (Tool tool : {Tool::SmoothPencil, Tool::FilledEllipse}) {
        e.currentTool = tool;
        paint();
        EXPECT_EQ(alphaBoxColor(e), Color::fromArgb(40, 10, 20, 30));
        EXPECT_EQ(alphaBoxLabel(e), "a: 40");
    }
    e.currentTool = Tool::Ellipse;
    EXPECT_EQ(alphaBoxLabel(e), "a: 255");
}

// --- Selection transforms ------------------------------------------------------------------

TEST_F(CommandBarTest, TransformsWithoutASelectionChangeNothing) {
    makeAnimation(1);
    paint(); // the canvas starts the layer's history
    const ModeState& m = e.mode(Mode::Animator);
    const int states = m.history ? m.history->stateCount() : 0;
    const int y = lowerPartTop() - 166 + 9;
    for (int x : {21, 45, 69})
        click(x, y);
    pointAt(50, lowerPartTop() - 176); // the angle slider
    e.input.mouseDown = true;
    paint();
    e.input.mouseDown = false;
    paint();
    EXPECT_FALSE(e.selection.active);
    EXPECT_FALSE(e.selection.lifted);
    EXPECT_EQ(e.selection.angle, 0);
    EXPECT_EQ(e.rotationPresetIndex, 0);
    EXPECT_EQ(m.history ? m.history->stateCount() : 0, states);
}

// --- Onion skin -------------------------------------------------------------------------

// In a 605-high Animator bar the onion box starts at S = 600.
TEST_F(CommandBarTest, OnionToggleWithOneFrameStaysOff) {
    makeAnimation(1);
    type('w');
    EXPECT_FALSE(e.animator.onion.on);
    click(40, 600 - 75 + 7);
    EXPECT_FALSE(e.animator.onion.on);
}

TEST_F(CommandBarTest, OnionToggleByKeyAndClickBuildsTheSkinFromThePreviousFrame) {
    makeAnimation(3); // frames 1..3, the third current
    e.animation()->frame(1).current().image.setPixel(2, 3, Color::rgb(255, 0, 0));
    type(0xF6); // the W key on a Russian layout
    ASSERT_TRUE(e.animator.onion.on);
    ASSERT_TRUE(e.animator.onion.image.has_value());
    EXPECT_EQ(e.animator.onion.frameNumber, 2);
    EXPECT_EQ(e.animator.onion.image->pixel(2, 3), Color::rgb(85, 85, 85)) << "grey by default";
    click(40, 600 - 75 + 7);
    EXPECT_FALSE(e.animator.onion.on);
    type('W');
    EXPECT_TRUE(e.animator.onion.on);
}

TEST_F(CommandBarTest, GreyToggleRebuildsTheSkinOnlyWhileItIsShown) {
    makeAnimation(2);
    e.animation()->frame(0).current().image.setPixel(1, 1, Color::rgb(255, 0, 0));
    type('w');
    ASSERT_TRUE(e.animator.onion.on);
    type('e');
    EXPECT_FALSE(e.animator.onion.grey);
    EXPECT_EQ(e.animator.onion.image->pixel(1, 1), Color::rgb(255, 0, 0));
    click(66, 600 - 75 + 7);
    EXPECT_TRUE(e.animator.onion.grey);
    EXPECT_EQ(e.animator.onion.image->pixel(1, 1), Color::rgb(85, 85, 85));
    type('w'); // off
    type(0xD3);
    EXPECT_FALSE(e.animator.onion.grey);
    EXPECT_EQ(e.animator.onion.image->pixel(1, 1), Color::rgb(85, 85, 85))
        << "not rebuilt while hidden";
}

TEST_F(CommandBarTest, OnionKeysNeedTheAnimatorAndAnAnimation) {
    type('w');
    EXPECT_FALSE(e.animator.onion.on) << "no animation";
    makeAnimation(2);
    e.shownMode = Mode::Painter;
    type('w');
    type('e');
    EXPECT_FALSE(e.animator.onion.on);
    EXPECT_TRUE(e.animator.onion.grey);
}

TEST_F(CommandBarTest, OnionOpacitySliderRunsFromTopToBottom) {
    makeAnimation(2);
    pointAt(17, 600 - 74 + 34); // the middle of the 68-pixel slider
    e.input.mouseDown = true;
    paint();
    EXPECT_FLOAT_EQ(e.animator.onionSkinOpacity, 50);
}

TEST_F(CommandBarTest, OnionFrameNumberBoxOnlyWhileStopped) {
    makeAnimation(2);
    type('w');
    EXPECT_EQ(back.pixel(55, 600 - 19), grey240);
    e.animator.playState = PlayState::Forward;
    paint();
    EXPECT_NE(back.pixel(55, 600 - 19), grey240);
}
