// SPDX-License-Identifier: GPL-3.0-or-later
// The drawing tools driven through whole frames: press, drag and release over the canvas of
// each mode, and what they leave in the layer, the thumbnails and the undo history.
#include "app/FrameCycle.h"
#include "app/Layout.h"
#include "canvas/Canvas.h"
#include "canvas/ToolEngine.h"
#include "commands/NewDocument.h"
#include "support/CanvasScenario.h"

#include <gtest/gtest.h>

using namespace vork;

namespace {

using test::blue;
using test::countPixels;
using test::red;
using test::samePixels;

// Documents of 40 x 40 unless a test asks for another size, at zoom 5, drawn in red.
struct ToolTest : test::CanvasScenario {
    void pointOutside() {
        e.input.mouseX = e.mode(mode).document ? int(canvasPlacement(e, mode).imageLeft) - 3 : 0;
    }
};

TEST_P(ToolTest, ClickWithoutMotionPutsOnePixelAndRecordsOneState) {
    make();
    ASSERT_EQ(states(), 1);
    press(10.2f, 10.2f);
    EXPECT_EQ(layer().pixel(10, 10), red);
    EXPECT_EQ(states(), 1) << "nothing is recorded while the button is held";
    release();
    EXPECT_EQ(countPixels(layer(), red), 1);
    EXPECT_EQ(states(), 2);
    paint();
    EXPECT_EQ(states(), 2) << "a release commits once";
}

TEST_P(ToolTest, PencilJoinsPointsOnlyOnceTheyAreTwoPixelsApart) {
    make();
    press(10.2f, 10.2f);
    moveTo(11.2f, 10.2f);
    EXPECT_EQ(countPixels(layer(), red), 1) << "a distance of 1.4 draws nothing";
    moveTo(12.2f, 10.2f);
    EXPECT_EQ(countPixels(layer(), red), 3);
    EXPECT_EQ(layer().pixel(11, 10), red);
    EXPECT_EQ(layer().pixel(12, 10), red);
    release();
}

TEST_P(ToolTest, StrokeChangesTheLayerItsThumbnailsAndOneUndoState) {
    make();
    const Bitmap layerThumbnail = doc().currentLayer().thumbnail.clone();
    const Bitmap frameThumbnail = doc().current().thumbnail.clone();
    press(5.5f, 5.5f);
    moveTo(25.5f, 5.5f);
    moveTo(25.5f, 30.5f);
    release();
    for (int x = 5; x <= 25; ++x)
        EXPECT_EQ(layer().pixel(x, 5), red) << x;
    for (int y = 5; y <= 30; ++y)
        EXPECT_EQ(layer().pixel(25, y), red) << y;
    EXPECT_EQ(countPixels(layer(), red), 21 + 25);
    EXPECT_EQ(states(), 2);
    EXPECT_FALSE(samePixels(doc().currentLayer().thumbnail, layerThumbnail));
    if (mode == Mode::Animator) {
        EXPECT_FALSE(samePixels(doc().current().thumbnail, frameThumbnail));
    }
}

TEST_P(ToolTest, StrokeLeavingTheCanvasIsItsOwnUndoStepAndReentryStartsAfresh) {
    make();
    press(5.5f, 5.5f);
    moveTo(15.5f, 5.5f);
    pointOutside();
    paint();
    EXPECT_FALSE(e.stroke.strokeActive);
    EXPECT_EQ(states(), 2) << "the part drawn so far is recorded when the pointer leaves";
    moveTo(15.5f, 20.5f); // button still held
    EXPECT_EQ(layer().pixel(15, 20), red);
    EXPECT_NE(layer().pixel(15, 12), red) << "no line joins the re-entry to the exit";
    release();
    EXPECT_EQ(states(), 3);
    // The first undo takes back only the part after the re-entry.
    e.input.lastChar = ',';
    paint();
    EXPECT_NE(layer().pixel(15, 20), red);
    EXPECT_EQ(layer().pixel(10, 5), red);
}

TEST_P(ToolTest, FloodFillCommitsOnlyWhenItChangedPixels) {
    make(30, 20);
    e.currentTool = Tool::FloodFill;
    press(3.5f, 3.5f);
    EXPECT_EQ(countPixels(layer(), red), 30 * 20);
    EXPECT_EQ(states(), 2);
    paint(); // still held over a region already red
    moveTo(20.5f, 10.5f);
    EXPECT_EQ(states(), 2);
    release();
    EXPECT_EQ(states(), 2);
}

TEST_P(ToolTest, ColourPickTakesTheLayerPixelIntoTheColourAndItsSwatch) {
    make();
    layer().setPixel(7, 8, blue);
    e.currentTool = Tool::ColourPick;
    e.colour.currentSwatch = 10;
    press(7.5f, 8.5f);
    EXPECT_EQ(e.colour.currentColor, blue);
    EXPECT_EQ(e.colour.palettes.small[10].color, blue);
    release();

    // The fixed swatches keep their colour.
    e.colour.palettes.fixSmallPaletteEntries();
    e.colour.currentSwatch = 2;
    press(1.5f, 1.5f); // transparent
    EXPECT_EQ(e.colour.currentColor, Color::fromArgb(0, 0, 0, 0));
    EXPECT_EQ(e.colour.palettes.small[2].color, colors::black);
    release();
    EXPECT_EQ(states(), 1) << "picking changes no pixel";
}

TEST_P(ToolTest, ColourPickWithTheReplacementViewOpenSetsOnlyThePair) {
    make();
    layer().setPixel(7, 8, blue);
    e.currentTool = Tool::ColourPick;
    e.colour.replacementViewOpen = true;
    e.colour.currentReplacementSwatch = 5;
    e.colour.currentColor = red;
    press(7.5f, 8.5f);
    EXPECT_EQ(e.colour.palettes.replacement[5].color, blue);
    EXPECT_EQ(e.colour.currentColor, red);
    release();
}

TEST_P(ToolTest, ControlTurnsTheToolIntoTheFillUntilReleased) {
    make(20, 20);
    e.currentTool = Tool::Ellipse;
    platform.held.insert(HeldKey::Control);
    paint();
    EXPECT_EQ(e.currentTool, Tool::FloodFill);
    press(3.5f, 3.5f);
    EXPECT_EQ(countPixels(layer(), red), 20 * 20) << "clicks fill while Control is held";
    release();
    platform.held.erase(HeldKey::Control);
    paint();
    EXPECT_EQ(e.currentTool, Tool::Ellipse);

    // While the palette panel shows its replacement pairs, Control does nothing.
    e.currentTool = Tool::ColourPick;
    e.colour.replacementViewOpen = true;
    platform.held.insert(HeldKey::Control);
    paint();
    EXPECT_EQ(e.currentTool, Tool::ColourPick);
}

TEST_P(ToolTest, HiddenLayerTakesNoToolButControlStillSwitches) {
    make();
    doc().currentLayer().visible = false;
    press(5.5f, 5.5f);
    moveTo(15.5f, 5.5f);
    release();
    EXPECT_EQ(countPixels(layer(), red), 0);
    EXPECT_EQ(states(), 1);
    platform.held.insert(HeldKey::Control);
    paint();
    EXPECT_EQ(e.currentTool, Tool::FloodFill);
    press(5.5f, 5.5f);
    release();
    EXPECT_EQ(countPixels(layer(), red), 0);
}

TEST_P(ToolTest, SmoothPencilDrawsWithTheAlphaColourAndCommitsOnRelease) {
    make();
    e.currentTool = Tool::SmoothPencil;
    e.colour.currentColor = blue;
    e.colour.drawAlpha = 255;
    e.colour.alphaColor = blue;
    press(10.5f, 10.5f);
    moveTo(20.5f, 10.5f);
    release();
    EXPECT_EQ(layer().pixel(15, 10).b(), 255);
    EXPECT_GT(layer().pixel(15, 10).a(), 0);
    EXPECT_EQ(countPixels(layer(), red), 0);
    EXPECT_EQ(states(), 2);
}

// The modes differ in what the gate admits.
TEST_P(ToolTest, OnlyTheAnimatorKeepsToolsOffADisabledFrame) {
    make();
    doc().current().enabled = false;
    press(5.5f, 5.5f);
    release();
    EXPECT_EQ(layer().pixel(5, 5) == red, mode == Mode::Painter);
}

TEST_P(ToolTest, OnlyThePainterDrawsOnAHiddenLayerShownAlone) {
    make();
    doc().currentLayer().visible = false;
    e.mode(mode).layers.singleLayerView = true;
    e.mode(mode).layers.viewedLayer = doc().current().layer(0).serial;
    press(5.5f, 5.5f);
    release();
    EXPECT_EQ(layer().pixel(5, 5) == red, mode == Mode::Painter);
    EXPECT_EQ(states(), mode == Mode::Painter ? 2 : 1);
}

TEST_P(ToolTest, PlaybackPausesOnlyTheAnimatorSelectionToolsNotThePencil) {
    make();
    holdPlayback(PlayState::Backward);
    press(5.5f, 5.5f);
    release();
    EXPECT_EQ(layer().pixel(5, 5), red);
    EXPECT_EQ(selectionToolsPaused(e, mode), mode == Mode::Animator);
}

// Every tool that paints does so in the colour of its row, with whole pixels or anti-aliased
// edges as its row says. Hard tools put the ink's alpha exactly; smooth ones blend, so where
// their pieces overlap a pixel may grow more opaque, but an alpha ink of 100 never reaches
// opaque.
TEST_P(ToolTest, EveryPaintingToolPaintsInTheInkAndEdgeOfItsRow) {
    for (const ToolRow& row : toolTable) {
        if (row.gesture == Gesture::Pick || row.gesture == Gesture::Select)
            continue;
        SCOPED_TRACE(int(row.tool));
        make();
        e.colour.currentColor = red;
        e.colour.drawAlpha = 100;
        e.colour.alphaColor = red.withAlpha(100);
        e.currentTool = row.tool;
        press(5.5f, 5.5f);
        moveTo(30.5f, 8.5f);
        moveTo(20.5f, 30.5f);
        release();
        const int inkAlpha = row.ink == Ink::Alpha ? 100 : 255;
        int painted = 0, partial = 0;
        for (int y = 0; y < 40; ++y)
            for (int x = 0; x < 40; ++x) {
                const Color c = layer().pixel(x, y);
                if (c.a() == 0)
                    continue;
                ++painted;
                partial += c.a() < inkAlpha;
                EXPECT_EQ(c.withAlpha(255), red) << x << "," << y;
                if (row.edge == Edge::Hard) {
                    EXPECT_EQ(int(c.a()), inkAlpha) << x << "," << y;
                } else if (row.ink == Ink::Alpha) {
                    EXPECT_LT(int(c.a()), 255) << x << "," << y;
                }
            }
        EXPECT_GT(painted, 0);
        if (row.edge == Edge::Smooth) {
            EXPECT_GT(partial, 0) << "anti-aliased";
        }
    }
}

INSTANTIATE_TEST_SUITE_P(BothModes, ToolTest, ::testing::Values(Mode::Animator, Mode::Painter),
                         test::modeTestName);

} // namespace
