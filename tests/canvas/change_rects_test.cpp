// SPDX-License-Identifier: GPL-3.0-or-later
// Every change a tool makes to the current layer is reported with a rectangle that holds all of
// its pixels, and only a rectangle, so that the thumbnails, reductions, caches and undo history
// update just there.
#include "canvas/History.h"
#include "pixels/SelectionOps.h"
#include "support/CanvasScenario.h"

using namespace vork;

namespace {

constexpr int side = 60;

struct ChangeRectTest : test::CanvasScenario {
    ChangeRectTest() : CanvasScenario({side, side, 13, test::red}) {}

    Layer& current() { return doc().currentLayer(); }

    // Runs the action: every pixel it changed lies in the rectangle the layer reports changed
    // since, and that rectangle is smaller than the layer.
    template <typename Action> void expectReported(const char* what, Action action) {
        const Bitmap before = current().image.clone();
        const uint64_t since = current().changes.revision(current().image);
        action();
        const Rect reported = current().changes.changedSince(current().image, since);
        int changed = 0;
        for (int y = 0; y < side; ++y)
            for (int x = 0; x < side; ++x)
                if (current().image.pixel(x, y) != before.pixel(x, y)) {
                    ++changed;
                    ASSERT_EQ(intersect(reported, {x, y, 1, 1}), (Rect{x, y, 1, 1}))
                        << what << ": pixel " << x << ", " << y << " outside the report";
                }
        EXPECT_GT(changed, 0) << what << " changed nothing";
        EXPECT_LT(reported.w * reported.h, side * side / 2) << what << " reported too much";
    }
    void hold(HeldKey key) {
        platform.held.insert(key);
        paint();
        platform.held.erase(key);
        paint();
    }
};

} // namespace

TEST_P(ChangeRectTest, StrokesFillsAndShapes) {
    make();
    expectReported("the pencil", [&] {
        e.currentTool = Tool::Pencil;
        press(5.5f, 5.5f);
        moveTo(12.5f, 9.5f);
        moveTo(20.5f, 6.5f);
        release();
    });
    expectReported("the smooth pencil",
                   [&] { drag(Tool::SmoothPencil, 30.5f, 5.5f, 40.5f, 12.5f); });
    // A closed outline, then a fill inside it.
    drag(Tool::PixelRectangle, 10.5f, 30.5f, 20.5f, 40.5f);
    e.colour.currentColor = test::blue;
    expectReported("the fill", [&] { drag(Tool::FloodFill, 15.5f, 35.5f, 15.5f, 35.5f); });
    const Tool shapes[] = {Tool::PixelLine,    Tool::PixelRectangle, Tool::Ellipse,
                           Tool::SmoothLine,   Tool::SmoothEllipse,  Tool::FilledRectangle,
                           Tool::FilledEllipse};
    float y = 44.5f;
    for (Tool t : shapes) {
        e.colour.currentColor = Color::rgb(int(t) * 10, 20, 200);
        e.colour.alphaColor = Color::fromArgb(200, int(t) * 10, 200, 20);
        expectReported("a shape", [&] { drag(t, 28.2f, y - 10, 44.8f, y); });
        y += 1;
    }
    expectReported("the filled freehand shape", [&] {
        e.currentTool = Tool::FilledFreehand;
        press(48.5f, 40.5f);
        moveTo(55.5f, 44.5f);
        moveTo(50.5f, 52.5f);
        release();
    });
}

TEST_P(ChangeRectTest, SelectionCutStampAndDelete) {
    make();
    test::paintRect(layer(), {5, 5, 20, 20}, test::green);
    startHistory(e, mode);
    drag(Tool::RectangleSelection, 6.5f, 6.5f, 14.5f, 14.5f);
    ASSERT_TRUE(e.selection.active);
    expectReported("lifting the selection",
                   [&] { drag(Tool::RectangleSelection, 8.5f, 8.5f, 30.5f, 30.5f); });
    expectReported("stamping it", [&] { hold(HeldKey::Enter); });
    drag(Tool::RectangleSelection, 30.5f, 30.5f, 36.5f, 36.5f);
    expectReported("deleting it", [&] { hold(HeldKey::Delete); });
}

TEST_P(ChangeRectTest, TheTransparencyLockClearsWithinTheStroke) {
    make();
    test::paintRect(layer(), {0, 0, side, side / 2}, test::green);
    ASSERT_TRUE(makeTransparencyLock(e.mode(mode).layers.transparencyLock, layer()));
    // The first commit with a new lock passes over the whole layer once.
    drag(Tool::Pencil, 3.5f, 3.5f, 3.5f, 3.5f);
    // The stroke crosses from the drawn half into the empty one, where the lock clears it.
    expectReported("a locked stroke", [&] { drag(Tool::Pencil, 10.5f, 20.5f, 12.5f, 40.5f); });
    for (int y = side / 2; y < side; ++y)
        for (int x = 0; x < side; ++x)
            ASSERT_EQ(layer().pixel(x, y), colors::transparent) << x << ", " << y;
    EXPECT_EQ(layer().pixel(10, 20), test::red) << "the drawn part took the stroke";
}

INSTANTIATE_TEST_SUITE_P(BothModes, ChangeRectTest,
                         ::testing::Values(Mode::Animator, Mode::Painter));
