// SPDX-License-Identifier: GPL-3.0-or-later
// Input that arrives faster than the paints: the window procedure and the frame cycle together
// keep every move of a stroke and every typed key, driven in the order the window hands them on.
#include "app/FrameCycle.h"
#include "app/WindowProcedure.h"
#include "canvas/History.h"
#include "support/CanvasScenario.h"
#include "support/ModeName.h"

#include <gtest/gtest.h>

using namespace vork;
using test::red;

namespace {

struct LostInputTest : test::CanvasScenario {
    void SetUp() override {
        CanvasScenario::SetUp();
        make();
        e.currentTool = Tool::Pencil;
    }
    // What the window does with an event sequence: a press paints at once, and a release paints
    // first when the procedure says a move is still undrawn, then once more with the button up.
    void windowPress(float x, float y) {
        const auto [sx, sy] = screenOf(x, y);
        onPointerMove(e, sx, sy);
        onLeftButtonDown(e);
        paint();
    }
    void windowMove(float x, float y) {
        const auto [sx, sy] = screenOf(x, y);
        onPointerMove(e, sx, sy);
    }
    void windowRelease() {
        if (paintBeforeRelease(e))
            paint();
        onLeftButtonUp(e);
        paint();
    }
    // Paints for as long as the frames ask for more, as the window's event loop would.
    void paintWhileAsked() {
        for (int i = 0; i < 100 && platform.invalidations > 0; ++i) {
            platform.invalidations = 0;
            paint();
        }
    }
};

TEST_P(LostInputTest, PressMoveAndReleaseBeforeOnePaintDrawTheWholeSegment) {
    windowPress(5.5f, 5.5f);
    windowMove(25.5f, 5.5f);
    windowRelease();
    for (int x = 5; x <= 25; ++x)
        EXPECT_EQ(layer().pixel(x, 5), red) << "x " << x;
    EXPECT_EQ(states(), 2) << "one stroke, one state";

    // A click without a move needs no extra paint and stays one dot.
    windowPress(5.5f, 20.5f);
    EXPECT_FALSE(paintBeforeRelease(e));
    windowRelease();
    EXPECT_EQ(layer().pixel(5, 20), red);
    EXPECT_EQ(layer().pixel(6, 20), Color{});
    EXPECT_EQ(states(), 3);
}

TEST_P(LostInputTest, KeysTypedBeforeOnePaintEachTakeEffectInOrder) {
    for (int i = 0; i < 20; ++i) {
        windowPress(float(i) + 0.5f, 30.5f);
        windowRelease();
    }
    ASSERT_EQ(states(), 21);
    // 12 undos, 3 redos, 5 undos: 14 strokes undone only when each key gets its own paint in
    // the order typed (redos first would find nothing to redo, one key a paint would lose 19).
    std::string keys = std::string(12, ',') + std::string(3, '.') + std::string(5, ',');
    platform.invalidations = 0;
    for (char c : keys)
        onCharacter(e, uint8_t(c));
    EXPECT_EQ(e.input.lastChar, ',');
    EXPECT_EQ(e.input.typedAhead.size(), keys.size() - 1);
    paintWhileAsked();
    EXPECT_TRUE(e.input.typedAhead.empty());
    EXPECT_EQ(e.input.lastChar, 0);
    for (int i = 0; i < 20; ++i)
        EXPECT_EQ(layer().pixel(i, 30) == red, i < 6) << "stroke " << i;
}

INSTANTIATE_TEST_SUITE_P(BothModes, LostInputTest, ::testing::Values(Mode::Animator, Mode::Painter),
                         test::modeTestName);

} // namespace
