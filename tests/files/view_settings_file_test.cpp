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
        ASSERT_TRUE(writeViewSettings(path, ViewSettings{grid, grid ? 16 : 3, grid ? 256 : 0}));
        ViewSettings read{!grid, 7, 9};
        ASSERT_TRUE(readViewSettings(path, read));
        EXPECT_EQ(read.pixelGrid, grid);
        EXPECT_EQ(read.exportScale, grid ? 16 : 3);
        EXPECT_EQ(read.sheetPadding, grid ? 256 : 0);
    }
}

// Each text gives the grid switch read over `before`, and the export scale and sheet padding
// read over 1 and 0 (a file from before the scale keeps them).
TEST(ViewSettingsFile, LinesItCannotUseLeaveTheirSettingAlone) {
    test::TempDir dir;
    const std::string path = dir.file("vork.ini");
    struct Row {
        const char* text;
        bool before, after;
        int scale = 1, padding = 0;
    };
    const Row rows[] = {
        {"pixelGrid=1\n", false, true},
        {"pixelGrid=0\n", true, false},
        {"pixelGrid = 1\r\nexportScale\t=  5", false, true, 5}, // spaces, other lines and ends
        {"exportScale=16\nsheetPadding=256", true, true, 16, 256},
        {"exportScale=0\nsheetPadding=-1", false, false},
        {"exportScale=17\nsheetPadding=257", false, false},
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
        EXPECT_EQ(s.exportScale, row.scale) << row.text;
        EXPECT_EQ(s.sheetPadding, row.padding) << row.text;
    }
    ViewSettings s{true};
    EXPECT_FALSE(readViewSettings(dir.file("missing.ini"), s));
    EXPECT_TRUE(s.pixelGrid);
}

} // namespace
