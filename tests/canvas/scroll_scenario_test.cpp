// SPDX-License-Identifier: GPL-3.0-or-later
// Scrolling a picture larger than the canvas by dragging the preview's rectangle, then drawing:
// the canvas follows the rectangle and the pencil still changes the pixel under the pointer.
#include "canvas/ToolEngine.h"
#include "support/CanvasScenario.h"

using namespace vork;
using namespace vork::test;

namespace {
struct ScrollScenario : CanvasScenario {
    ScrollScenario() : CanvasScenario(CanvasStart{400, 400, 12, red}) {} // zoom 4
};
} // namespace

TEST_P(ScrollScenario, DraggingThePreviewScrollsTheCanvasAndThePencilHitsThePointer) {
    resize(1000, 700);
    make();
    const float startOffsetX = canvasPlacement(e, mode).offsetX;
    const float startOffsetY = canvasPlacement(e, mode).offsetY;

    // Drag the red rectangle from the preview's centre 30 pixels right and down.
    const int X = 780; // the right-hand column at this width, both modes
    EditorScenario::pointAt(X + 109, 109);
    e.input.mouseDown = true;
    paint();
    EditorScenario::pointAt(X + 139, 139);
    paint();
    e.input.mouseDown = false;
    paint();

    const CanvasPlacement scrolled = canvasPlacement(e, mode);
    EXPECT_GT(scrolled.offsetX, startOffsetX + 20) << "the canvas scrolled right";
    EXPECT_GT(scrolled.offsetY, startOffsetY + 20) << "and down";

    // A click with the pencil in the middle of the canvas.
    const Bitmap before = layer().clone();
    e.currentTool = Tool::Pencil;
    const RectF panel = scrolled.panel;
    EditorScenario::pointAt(int(panel.x + panel.w / 2) + 1, int(panel.y + panel.h / 2) + 2);
    const CanvasPlacement at = canvasPlacement(e, mode);
    ASSERT_TRUE(at.inside);
    e.input.mouseDown = true;
    paint();
    e.input.mouseDown = false;
    paint();

    const int px = int(at.pixelX), py = int(at.pixelY);
    EXPECT_EQ(layer().pixel(px, py), red);
    EXPECT_EQ(countPixels(layer(), red) - countPixels(before, red), 1) << "exactly one pixel";
    EXPECT_EQ(back.pixel(e.input.mouseX, e.input.mouseY), red) << "shown under the pointer";
    EXPECT_EQ(states(), 2) << "one undo state for the click";
}

INSTANTIATE_TEST_SUITE_P(BothModes, ScrollScenario,
                         ::testing::Values(Mode::Painter, Mode::Animator), test::modeTestName);
