// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/FrameCycle.h"
#include "app/Layout.h"
#include "support/CanvasScenario.h"

#include <gtest/gtest.h>

using namespace vork;

namespace {
struct FrameCycleTest : test::EditorScenario<> {
    void SetUp() override { resize(1000, 700); }
};
} // namespace

TEST_F(FrameCycleTest, TitleShowsThePaintsOfTheLastInterval) {
    platform.tick = 500;
    paint();
    EXPECT_EQ(platform.title, "") << "not yet a second since the start";
    for (int i = 0; i < 4; ++i)
        paint();
    platform.tick = 1001;
    paint();
    EXPECT_EQ(platform.title, "  Animator   Fps - 6    Width: 300 Height: 264");
    platform.tick = 1500;
    paint();
    paint();
    EXPECT_EQ(platform.title, "  Animator   Fps - 6    Width: 300 Height: 264")
        << "at most once a second";
    platform.tick = 2100;
    e.shownMode = Mode::Painter;
    e.mode(Mode::Painter).width = 32;
    paint();
    EXPECT_EQ(platform.title, "  Painter   Fps - 3    Width: 32 Height: 300  Слоёв: 0");
    e.picture() = std::make_unique<Document>(32, 300, 0.0);
    e.picture()->current().appendLayer();
    platform.tick = 3200;
    paint();
    EXPECT_EQ(platform.title, "  Painter   Fps - 1    Width: 32 Height: 300  Слоёв: 2");
}

TEST_F(FrameCycleTest, TypedCharacterLivesForOnePaint) {
    e.input.lastChar = 'g';
    paint();
    EXPECT_EQ(e.input.lastChar, 0);
}

TEST_F(FrameCycleTest, LatchClearsOnlyWhenTheButtonIsUp) {
    e.input.clickLatch = true;
    e.input.mouseDown = true;
    e.input.mouseX = 10;
    e.input.mouseY = 10;
    paint();
    EXPECT_TRUE(e.input.clickLatch);
    e.input.mouseDown = false;
    paint();
    EXPECT_FALSE(e.input.clickLatch);
}

TEST_F(FrameCycleTest, PointerOutsideTheClientReleasesTheButton) {
    e.input.mouseDown = true;
    e.input.mouseX = 1000; // one past the right edge
    e.input.mouseY = 10;
    paint();
    EXPECT_FALSE(e.input.mouseDown);
    e.input.mouseDown = true;
    e.input.mouseX = 999;
    paint();
    EXPECT_TRUE(e.input.mouseDown);
}

TEST_F(FrameCycleTest, RedrawRequestAsksForOneMorePaintOnlyWhileInputIsEnabled) {
    e.mode(Mode::Animator).redrawRequest = true;
    e.input.inputEnabled = false;
    paint();
    EXPECT_EQ(platform.invalidations, 0);
    EXPECT_TRUE(e.mode(Mode::Animator).redrawRequest);
    e.input.inputEnabled = true;
    paint();
    EXPECT_EQ(platform.invalidations, 1);
    EXPECT_FALSE(e.mode(Mode::Animator).redrawRequest);
}

TEST_F(FrameCycleTest, AnimatorFrameShowsThePanelBackgroundsWhereTheLayoutPutsThem) {
    paint();
    ASSERT_EQ(back.width(), 1000);
    ASSERT_EQ(back.height(), 700);
    EXPECT_EQ(back.pixel(300, 300), Color::rgb(128, 128, 128)) << "canvas";
    EXPECT_EQ(back.pixel(300, 0), colors::black) << "canvas top line";
    EXPECT_EQ(back.pixel(300, 533), colors::black) << "palette top line";
    EXPECT_EQ(back.pixel(300, 600), Color::rgb(212, 208, 200)) << "palette, under its swatches";
    EXPECT_EQ(back.pixel(500, 605), colors::black) << "frame strip top line";
    EXPECT_EQ(back.pixel(880, 100), Color::rgb(212, 208, 200)) << "preview box";
    EXPECT_EQ(back.pixel(0, 100), colors::black) << "command bar outline";
}

TEST_F(FrameCycleTest, AnimatorCanvasShowsTheCheckerboardUnderAnAnimation) {
    e.animation() = std::make_unique<Document>(300, 264, 100.0);
    layoutCanvas(e, Mode::Animator);
    paint();
    // The 688 x 533 canvas holds the 299 x 263 checkerboard centred at (344, 266) inside it.
    const int cx = 92 + 344, cy = 266;
    Color c = back.pixel(cx, cy);
    EXPECT_TRUE(c == Color::rgb(200, 200, 200) || c == colors::white);
    EXPECT_EQ(back.pixel(92 + 10, 10), Color::rgb(128, 128, 128));
}

TEST_F(FrameCycleTest, PainterFrameDrawsTheStatusStripAndColumns) {
    e.shownMode = Mode::Painter;
    paint();
    const int H = 700 - 25;
    EXPECT_EQ(back.pixel(500, H), colors::black);
    EXPECT_EQ(back.pixel(500, H + 10), Color::rgb(212, 208, 200));
    EXPECT_EQ(back.pixel(0, 100), colors::black) << "command bar outline";
    EXPECT_EQ(back.pixel(1000 - 220 + 100, 100), Color::rgb(212, 208, 200)) << "preview box";
    EXPECT_EQ(back.pixel(300, 0), colors::black) << "canvas top line";
    EXPECT_EQ(back.pixel(300, 300), Color::rgb(128, 128, 128)) << "canvas";
    EXPECT_EQ(back.pixel(300, 700 - 97), colors::black) << "palette top line";
}
