// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// An Editor driven through its command bar and menu: the buttons post commands, which the
// window runs after the paint, as the real window does.
#include "app/WindowProcedure.h"
#include "support/CanvasScenario.h"
#include "support/TempDir.h"

#include <vector>

namespace vork::test {

template <class Base = ::testing::Test> struct CommandScenario : EditorScenario<Base> {
    // Runs the commands posted since the last call, in order.
    void runPosted() {
        std::vector<Command> posted;
        posted.swap(this->platform.posted);
        for (Command id : posted)
            onCommand(this->e, id);
    }
    // A click on the command bar's button at (x, y) and whatever command it posted.
    void clickButton(int x, int y) {
        this->click(x, y);
        runPosted();
    }
};

// A command scenario run once in each mode, in a 1000 x 700 window with its tool buttons and a
// folder of its own.
struct BothModesCommandScenario : CommandScenario<::testing::TestWithParam<Mode>> {
    Mode mode = Mode::Animator;
    TempDir dir;
    void SetUp() override {
        resize(1000, 700);
        makeToolButtons();
        mode = GetParam();
    }
    bool painter() const { return mode == Mode::Painter; }
    ModeState& m() { return e.mode(mode); }
};

// The command bar's file buttons: rows at y = 49 and 74, columns at x = 12, 36 and 60.
inline constexpr int rowImport = 58, rowFile = 83;
inline constexpr int columnFirst = 22, columnSecond = 46, columnThird = 70;

} // namespace vork::test
