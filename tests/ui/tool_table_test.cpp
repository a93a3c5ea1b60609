// SPDX-License-Identifier: GPL-3.0-or-later
// The table of tools: one row for every tool, and buttons made from it (and from the table of
// the other buttons) that the command bar and the frame strip can find by name.
#include "app/Startup.h"
#include "support/FakePlatform.h"
#include "ui/Tools.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

using namespace vork;

TEST(ToolTable, EveryToolHasExactlyOneRow) {
    std::set<Tool> tools;
    for (int n = int(Tool::Pencil); n <= int(lastTool); ++n) {
        const Tool t = Tool(n);
        tools.insert(t);
        EXPECT_EQ(std::count_if(toolTable.begin(), toolTable.end(),
                                [&](const ToolRow& row) { return row.tool == t; }),
                  1)
            << "tool " << n;
        EXPECT_EQ(toolRow(t).tool, t);
    }
    EXPECT_EQ(toolTable.size(), tools.size()) << "no row for Tool::None, none twice";
    // No tool: nothing happens on the canvas and the alpha box shows the drawing colour.
    EXPECT_EQ(toolRow(Tool::None).gesture, Gesture::None);
    EXPECT_EQ(toolRow(Tool::None).ink, Ink::Current);
}

TEST(ToolTable, ButtonsAreMadeFromTheTablesEachInAPlaceOfItsOwn) {
    std::set<size_t> places;
    for (const ToolRow& row : toolTable)
        places.insert(buttonIndex(row.tool));
    for (const SwitchButtonRow& row : switchButtonTable)
        places.insert(buttonIndex(row.button));
    EXPECT_EQ(places.size(), toolButtonCount);
    EXPECT_LT(*places.rbegin(), toolButtonCount);

    test::FakePlatform platform;
    Editor e(platform);
    makeToolButtons(e);
    for (const ToolRow& row : toolTable) {
        const ToolButton& b = buttonOf(e, row.tool);
        EXPECT_EQ(b.id, int(row.tool)) << "drawn pressed while its tool is current";
        EXPECT_EQ(b.faceWidth, row.face.w);
        EXPECT_EQ(b.faceHeight, row.face.h);
        EXPECT_LE(row.face.x + row.face.w, e.toolSheet.width()) << int(row.tool);
        EXPECT_LE(row.face.y + row.face.h, e.toolSheet.height()) << int(row.tool);
    }
    // The playback buttons are pressed at the play state they stand for; the switches when on.
    EXPECT_EQ(buttonOf(e, SwitchButton::Stop).id, int(PlayState::Stopped));
    EXPECT_EQ(buttonOf(e, SwitchButton::Backward).id, int(PlayState::Backward));
    EXPECT_EQ(buttonOf(e, SwitchButton::Forward).id, int(PlayState::Forward));
    for (SwitchButton s : {SwitchButton::Loop, SwitchButton::OnOff, SwitchButton::OnionGrey})
        EXPECT_EQ(buttonOf(e, s).id, 1);
}
