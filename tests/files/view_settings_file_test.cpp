// SPDX-License-Identifier: GPL-3.0-or-later
// The program's own settings file: what it keeps, and what it does with lines it cannot use.
#include "files/ViewSettingsFile.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

using namespace vork;

namespace {

TEST(ViewSettingsFile, WritesAndReadsBack) {
    test::TempDir dir;
    const std::string path = dir.file("vork.ini");
    for (const bool grid : {true, false}) {
        ASSERT_TRUE(writeViewSettings(path, ViewSettings{grid}));
        ViewSettings read{!grid};
        ASSERT_TRUE(readViewSettings(path, read));
        EXPECT_EQ(read.pixelGrid, grid);
    }
}

// Each text gives the grid switch read over `before`.
TEST(ViewSettingsFile, LinesItCannotUseLeaveTheirSettingAlone) {
    test::TempDir dir;
    const std::string path = dir.file("vork.ini");
    struct Row {
        const char* text;
        bool before, after;
    };
    const Row rows[] = {
        {"pixelGrid=1\n", false, true},
        {"pixelGrid=0\n", true, false},
        {"pixelGrid = 1\r\nexportScale\t=  5", false, true}, // spaces, other lines and ends
        {"colour=blue\nnonsense\n\n=\npixelGrid=1", false, true},
        {"pixelGrid=2", false, false}, // out of range
        {"pixelGrid=-1", true, true},
        {"pixelGrid=", true, true}, // not numbers
        {"pixelGrid=1x", false, false},
        {"pixelGrid=99999999999999999999", false, false},
        {"", true, true},
        {"\xff\xfe", false, false},
    };
    for (const Row& row : rows) {
        test::writeBytes(path, row.text);
        ViewSettings s{row.before};
        EXPECT_TRUE(readViewSettings(path, s)) << row.text;
        EXPECT_EQ(s.pixelGrid, row.after) << row.text;
    }
    ViewSettings s{true};
    EXPECT_FALSE(readViewSettings(dir.file("missing.ini"), s));
    EXPECT_TRUE(s.pixelGrid);
}

} // namespace
