// SPDX-License-Identifier: GPL-3.0-or-later
// The shape tools driven through whole frames in both modes: the preview while the button is
// held, the shape committed on release, and what the two families leave in the layer.
#include "app/FrameCycle.h"
#include "app/Layout.h"
#include "canvas/Canvas.h"
#include "canvas/ShapeTools.h"
#include "canvas/ToolEngine.h"
#include "commands/NewDocument.h"
#include "support/CanvasScenario.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace vork;

namespace {

using test::blue;
using test::Bounds;
using test::boundsOfChange;
using test::countPixels;
using test::green;
using test::red;
using test::samePixels;
const Color previewGrey = Color::rgb(128, 128, 128);

// 40 x 40 documents at zoom 5, drawn in opaque red.
struct ShapeTest : test::CanvasScenario {
    void chooseColour(Color c) override { setColour(c, 255); }
    // The drawing colour and the alpha slider; the command bar derives alphaColor from them
    // on every frame, which the Painter draws only after its canvas.
    void setColour(Color c, int drawAlpha) {
        e.colour.currentColor = c;
        e.colour.drawAlpha = drawAlpha;
        e.colour.alphaColor = c.withAlpha(drawAlpha);
    }
    // The back buffer's pixel at the centre of picture pixel (px, py) as the canvas shows it.
    Color shownAt(int px, int py) {
        const CanvasPlacement p = canvasPlacement(e, mode);
        const int x = int(p.imageLeft + (float(px) - p.source.x) * p.zoom);
        const int y = int(p.imageTop + (float(py) - p.source.y) * p.zoom);
        return back.pixel(x, y);
    }
};

TEST_P(ShapeTest, PixelRectangleOutlinesFromTheStartPixelToThePointerPixel) {
    make();
    drag(Tool::PixelRectangle, 2.5f, 2.5f, 6.7f, 4.2f);
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 40; ++x) {
            const bool column = x >= 2 && x <= 6, row = y >= 2 && y <= 4;
            const bool onOutline = (column && (y == 2 || y == 4)) || (row && (x == 2 || x == 6));
            EXPECT_EQ(layer().pixel(x, y), onOutline ? red : colors::transparent) << x << "," << y;
        }
}

TEST_P(ShapeTest, FilledRectangleFillsTheTruncatedRectangle) {
    make();
    setColour(blue, 255);
    drag(Tool::FilledRectangle, 2.5f, 2.5f, 6.7f, 4.2f); // Ri = (2, 2, 4, 2)
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 40; ++x) {
            const bool inside = x >= 2 && x <= 5 && y >= 2 && y <= 3;
            EXPECT_EQ(layer().pixel(x, y), inside ? blue : colors::transparent) << x << "," << y;
        }
}

TEST_P(ShapeTest, PixelLinePutsTheBresenhamPixelsBetweenStartAndPointer) {
    make();
    drag(Tool::PixelLine, 2.5f, 3.5f, 7.5f, 5.5f);
    const std::vector<Point> expected = {{2, 3}, {3, 3}, {4, 4}, {5, 4}, {6, 5}, {7, 5}};
    for (Point at : expected)
        EXPECT_EQ(layer().pixel(at.x, at.y), red) << at.x << "," << at.y;
    EXPECT_EQ(countPixels(layer(), [](Color c) { return c == red; }), int(expected.size()));
}

TEST_P(ShapeTest, ShiftMakesTheEllipseBoxSquareFromItsTopLeft) {
    make();
    platform.held.insert(HeldKey::Shift);
    drag(Tool::Ellipse, 10.5f, 10.5f, 30.5f, 15.5f); // a box of 5.5 x 5.5 at (10, 10)
    const Bounds b = boundsOfChange(layer());
    ASSERT_FALSE(b.empty());
    EXPECT_EQ(b.left, 10);
    EXPECT_EQ(b.top, 10);
    EXPECT_EQ(b.width(), b.height());
    EXPECT_LE(b.right, 16);
    EXPECT_GE(b.right, 15);
    EXPECT_EQ(countPixels(layer(), [](Color c) { return c != red && c != colors::transparent; }), 0)
        << "the pixel family draws without anti-aliasing";
}

TEST_P(ShapeTest, SmoothEllipseFollowsTheDragWithoutShiftAndIsSquareWithIt) {
    make();
    drag(Tool::SmoothEllipse, 10.5f, 10.5f, 30.5f, 15.5f);
    const Bounds free = boundsOfChange(layer());
    ASSERT_FALSE(free.empty());
    EXPECT_GE(free.right, 29);
    EXPECT_LE(free.bottom, 17);

    make();
    platform.held.insert(HeldKey::Shift);
    drag(Tool::SmoothEllipse, 10.5f, 10.5f, 30.5f, 15.5f);
    const Bounds square = boundsOfChange(layer());
    ASSERT_FALSE(square.empty());
    EXPECT_EQ(square.width(), square.height());
    EXPECT_LE(square.right, 17);
    EXPECT_EQ(square.left, free.left) << "the square keeps the box's left";
}

TEST_P(ShapeTest, EllipseInTransparentBlackErasesItsRing) {
    make();
    Graphics(layer()).clear(green);
    setColour(colors::transparent, 255);
    drag(Tool::Ellipse, 10.5f, 10.5f, 30.5f, 25.5f);
    const int erased = countPixels(layer(), [](Color c) { return c == colors::transparent; });
    EXPECT_GT(erased, 20);
    EXPECT_EQ(erased + countPixels(layer(), [](Color c) { return c == green; }), 40 * 40);
    const Bounds ring = boundsOfChange(layer(), green);
    EXPECT_GE(ring.left, 10);
    EXPECT_GE(ring.top, 10);
    EXPECT_LE(ring.right, 31);
    EXPECT_LE(ring.bottom, 26);
    EXPECT_EQ(layer().pixel(20, 17), green) << "only the ring, not the inside";
}

TEST_P(ShapeTest, EllipseInAnotherColourOfAlphaZeroChangesNothing) {
    make();
    Graphics(layer()).clear(green);
    const Bitmap before = layer().clone();
    e.colour.currentColor = Color::fromArgb(0, 255, 0, 0);
    drag(Tool::Ellipse, 10.5f, 10.5f, 30.5f, 25.5f);
    EXPECT_TRUE(samePixels(layer(), before));
}

TEST_P(ShapeTest, SmoothLineAtHalfAlphaIsHalfTransparentAndAntiAliased) {
    make();
    setColour(blue, 128);
    paint();
    drag(Tool::SmoothLine, 5.5f, 5.5f, 30.5f, 14.5f);
    int partial = 0, maxAlpha = 0;
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 40; ++x) {
            const Color c = layer().pixel(x, y);
            if (c.a() == 0)
                continue;
            EXPECT_EQ(c.b(), 255) << x << "," << y;
            maxAlpha = std::max(maxAlpha, int(c.a()));
            partial += c.a() < 128;
        }
    EXPECT_GT(partial, 0) << "anti-aliased edges";
    EXPECT_GT(maxAlpha, 64);
    EXPECT_LE(maxAlpha, 128) << "no pixel more opaque than the alpha slider";
    EXPECT_GT(layer().pixel(18, 10).a(), 0) << "the line passes between its end points";
}

TEST_P(ShapeTest, EveryShapeCommitsOneUndoStateAndRefreshesTheThumbnail) {
    for (Tool t :
         {Tool::PixelLine, Tool::PixelRectangle, Tool::Ellipse, Tool::SmoothLine,
          Tool::SmoothEllipse, Tool::FilledFreehand, Tool::FilledRectangle, Tool::FilledEllipse}) {
        SCOPED_TRACE(int(t));
        make();
        ASSERT_EQ(states(), 1);
        const Bitmap thumbnail = doc().currentLayer().thumbnail.clone();
        e.currentTool = t;
        press(5.5f, 5.5f);
        moveTo(30.5f, 8.5f);
        moveTo(20.5f, 30.5f);
        EXPECT_EQ(states(), 1) << "nothing is recorded while the button is held";
        release();
        EXPECT_EQ(states(), 2);
        EXPECT_FALSE(e.mode(mode).drag.shapeDrag);
        EXPECT_FALSE(samePixels(doc().currentLayer().thumbnail, thumbnail));
        paint();
        EXPECT_EQ(states(), 2) << "a release commits once";
    }
}

TEST_P(ShapeTest, PreviewShowsWhileDraggingAndTheLayerWaitsForTheRelease) {
    make();
    e.currentTool = Tool::PixelLine;
    press(2.5f, 3.5f);
    moveTo(20.5f, 3.5f);
    EXPECT_EQ(boundsOfChange(layer()).empty(), true) << "the layer is unchanged until release";
    // The platform's line is only close to the committed pixels: its flat cap may leave out
    // the end pixels.
    int grey = 0, colour = 0;
    for (int x = 3; x <= 19; ++x) {
        const Color c = shownAt(x, 3);
        grey += c == previewGrey;
        colour += c == red;
        EXPECT_TRUE(c == previewGrey || c == red) << x;
    }
    EXPECT_GT(grey, 0) << "the dashed preview pen";
    EXPECT_GT(colour, 0) << "the drawing colour between the dashes";
    release();
    for (int x = 2; x <= 20; ++x) {
        EXPECT_EQ(layer().pixel(x, 3), red) << x;
        EXPECT_EQ(shownAt(x, 3), red) << x << ": the preview goes with the release";
    }

    // The smooth family shows its colour, here a filled rectangle.
    setColour(blue, 255);
    e.currentTool = Tool::FilledRectangle;
    press(22.5f, 22.5f);
    moveTo(30.5f, 30.5f);
    EXPECT_EQ(shownAt(26, 26), blue);
    EXPECT_NE(layer().pixel(26, 26), blue);
    release();
    EXPECT_EQ(layer().pixel(26, 26), blue);
}

TEST_P(ShapeTest, PreviewOfTheFreehandShapeShowsItsFillAndOutline) {
    make();
    setColour(blue, 255);
    e.currentTool = Tool::FilledFreehand;
    press(5.5f, 5.5f);
    moveTo(30.5f, 5.5f);
    moveTo(30.5f, 30.5f);
    EXPECT_EQ(shownAt(24, 12), blue) << "the path filled";
    const Color edge = shownAt(18, 5);
    EXPECT_TRUE(edge == colors::white || edge == previewGrey) << "the outline";
    EXPECT_TRUE(boundsOfChange(layer()).empty());
    release();
}

TEST_P(ShapeTest, ReleaseOutsideTheCanvasDrawsNothing) {
    make();
    const Bitmap before = layer().clone();
    e.currentTool = Tool::FilledRectangle;
    press(5.5f, 5.5f);
    moveTo(20.5f, 20.5f);
    e.input.mouseX = int(canvasPlacement(e, mode).imageLeft) - 3;
    paint();
    release();
    EXPECT_TRUE(samePixels(layer(), before));
    EXPECT_EQ(states(), 1);
}

TEST_P(ShapeTest, FilledFreehandShapeFillsThePolygonWithoutSmoothing) {
    make();
    const Color halfBlue = blue.withAlpha(128);
    setColour(blue, 128);
    paint();
    e.currentTool = Tool::FilledFreehand;
    press(5.5f, 5.5f);
    moveTo(30.5f, 5.5f);
    moveTo(30.5f, 30.5f);
    moveTo(12.5f, 24.5f);
    EXPECT_TRUE(boundsOfChange(layer()).empty()) << "the layer waits for the release";
    release();
    EXPECT_EQ(layer().pixel(25, 12), halfBlue) << "inside the polygon";
    EXPECT_EQ(layer().pixel(10, 30), colors::transparent) << "outside it";
    const int filled = countPixels(layer(), [&](Color c) { return c == halfBlue; });
    EXPECT_GT(filled, 100);
    EXPECT_EQ(filled + countPixels(layer(), [](Color c) { return c == colors::transparent; }),
              40 * 40)
        << "no anti-aliased edge";
    EXPECT_EQ(states(), 2);
}

TEST_P(ShapeTest, PlaybackShowsNoPreviewButTheShapeStillCommits) {
    make();
    setColour(blue, 255);
    holdPlayback(PlayState::Backward);
    e.currentTool = Tool::FilledRectangle;
    press(5.5f, 5.5f);
    moveTo(20.5f, 20.5f);
    EXPECT_NE(shownAt(12, 12), blue);
    release();
    EXPECT_EQ(layer().pixel(12, 12), blue);
    EXPECT_EQ(states(), 2);
}

TEST(ShapeBoxTest, ShiftSquaresOnlyTheEllipseTools) {
    test::FakePlatform platform;
    Editor e{platform};
    CanvasPlacement p;
    p.pixelX = 30.5f;
    p.pixelY = 15.5f;
    e.mode(Mode::Animator).drag.dragStartX = 10;
    e.mode(Mode::Animator).drag.dragStartY = 10;
    platform.held.insert(HeldKey::Shift);
    e.currentTool = Tool::SmoothEllipse;
    ShapeBox box = shapeBox(e, Mode::Animator, p);
    EXPECT_EQ(box.rf, (RectF{10, 10, 5.5f, 5.5f}));
    EXPECT_EQ(box.ri, (Rect{10, 10, 5, 5}));
    e.currentTool = Tool::FilledRectangle;
    box = shapeBox(e, Mode::Animator, p);
    EXPECT_EQ(box.rf, (RectF{10, 10, 20.5f, 5.5f}));

    // Dragged up and to the left, R starts at the pointer; the square keeps that corner.
    p.pixelX = 2.5f;
    p.pixelY = 7.25f;
    e.currentTool = Tool::Ellipse;
    box = shapeBox(e, Mode::Animator, p);
    EXPECT_EQ(box.rf, (RectF{2.5f, 7.25f, 2.75f, 2.75f}));
    EXPECT_EQ(box.ri, (Rect{2, 7, 2, 2}));
}

INSTANTIATE_TEST_SUITE_P(BothModes, ShapeTest, ::testing::Values(Mode::Animator, Mode::Painter),
                         test::modeTestName);

} // namespace
