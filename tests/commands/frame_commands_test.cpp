// SPDX-License-Identifier: GPL-3.0-or-later
#include "commands/Autosave.h"
#include "commands/FrameCommands.h"
#include "commands/LayerCommands.h"
#include "model/Limits.h"

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

// The editor makes no document its own readers would refuse: no frame past the most an
// animation file may hold, no layer past the most a frame may hold.
TEST_F(FrameCommands, NoFrameOrLayerIsAddedPastTheLimitsOfTheFiles) {
    makeAnimation(1, 2, 2);
    Document& animation = *e.animation();
    Frame& frame = animation.current();
    while (frame.layerCount() < maxLayersPerFrame)
        frame.appendLayer();
    for (LayerButton button : {LayerButton::New, LayerButton::Duplicate}) {
        runLayerButton(e, Mode::Animator, button);
        EXPECT_EQ(animation.current().layerCount(), maxLayersPerFrame);
    }
    runLayerButton(e, Mode::Animator, LayerButton::Delete);
    runLayerButton(e, Mode::Animator, LayerButton::New);
    EXPECT_EQ(animation.current().layerCount(), maxLayersPerFrame) << "one below: one more";

    while (animation.frameCount() < maxFrames)
        animation.insertFrameAfter(animation.currentFrameIndex());
    newFrame(e);
    duplicateFrame(e);
    EXPECT_EQ(animation.frameCount(), maxFrames);
}
