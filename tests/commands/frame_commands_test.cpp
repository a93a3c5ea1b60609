// SPDX-License-Identifier: GPL-3.0-or-later
#include "commands/Autosave.h"
#include "commands/FrameCommands.h"

#include "support/AnimatorScenario.h"

#include <gtest/gtest.h>

#include <functional>

using namespace vork;
using namespace vork::test;

namespace {

using FrameCommands = AnimatorScenario;

} // namespace

// --- What a file would hold ---------------------------------------------------------------

TEST_F(FrameCommands, EveryFrameOperationMarksTheAnimationChangedButChoosingAFrameDoesNot) {
    makeAnimation(4);
    auto marks = [&](const std::function<void()>& operation) {
        documentMatchesFile(e, Mode::Animator);
        operation();
        return e.mode(Mode::Animator).changes.modified;
    };
    EXPECT_FALSE(marks([&] { goToFrame(e, 2); })) << "choosing a frame";
    EXPECT_FALSE(marks([&] { stepFrame(e, Direction::Forward); })) << "stepping";
    EXPECT_TRUE(marks([&] { newFrame(e); })) << "new";
    EXPECT_TRUE(marks([&] { duplicateFrame(e); })) << "duplicate";
    EXPECT_TRUE(marks([&] { deleteFrame(e); })) << "delete";
    EXPECT_TRUE(marks([&] { toggleFrameEnabled(e, 1); })) << "switched off";
    EXPECT_TRUE(marks([&] { enableAllFrames(e); })) << "all switched on";
    const uint64_t first = e.animation()->frame(0).serial;
    EXPECT_FALSE(marks([&] { moveFrameToGap(e, first, 0); })) << "dropped on its own place";
    EXPECT_TRUE(marks([&] { moveFrameToGap(e, first, 3); })) << "moved";
}
