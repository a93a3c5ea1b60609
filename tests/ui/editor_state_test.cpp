// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/FakePlatform.h"
#include "ui/Editor.h"

#include <gtest/gtest.h>

using namespace vork;

namespace {

struct EditorState : ::testing::Test {
    test::FakePlatform platform;
    Editor e{platform};
};

TEST_F(EditorState, ModalScopesNestAndOnlyTheOutermostEnablesInputAgain) {
    {
        ModalScope dialog(e);
        EXPECT_FALSE(e.input.inputEnabled);
        {
            ModalScope messageBox(e);
            EXPECT_FALSE(e.input.inputEnabled);
        }
        EXPECT_FALSE(e.input.inputEnabled) << "the dialog is still open";
        EXPECT_EQ(platform.invalidations, 0) << "no paint while the dialog is open";
    }
    EXPECT_TRUE(e.input.inputEnabled);
    EXPECT_EQ(platform.invalidations, 1) << "one paint once every dialog has closed";
}

TEST_F(EditorState, EachModeAsksForItsRepaintInItsOwnWay) {
    requestModeRepaint(e, Mode::Animator);
    EXPECT_EQ(platform.invalidations, 1) << "the Animator invalidates at once";
    EXPECT_FALSE(e.mode(Mode::Animator).redrawRequest);

    requestModeRepaint(e, Mode::Painter);
    EXPECT_EQ(platform.invalidations, 1);
    EXPECT_TRUE(e.mode(Mode::Painter).redrawRequest) << "the Painter through its next frame";

    e.input.inputEnabled = false;
    requestModeRepaint(e, Mode::Animator);
    EXPECT_EQ(platform.invalidations, 1) << "nothing while a dialog is open";
}

} // namespace
