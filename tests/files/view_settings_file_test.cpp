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
    for (const ViewSettings written :
         {ViewSettings{true, 16}, ViewSettings{false, 1}, ViewSettings{true, 3}}) {
        ASSERT_TRUE(writeViewSettings(path, written));
        ViewSettings read{!written.pixelGrid, 7};
        ASSERT_TRUE(readViewSettings(path, read));
        EXPECT_EQ(read.pixelGrid, written.pixelGrid);
        EXPECT_EQ(read.exportScale, written.exportScale);
    }
}

// Each text gives the settings read over {pixelGrid false, exportScale 2}.
TEST(ViewSettingsFile, LinesItCannotUseLeaveTheirSettingAlone) {
    test::TempDir dir;
    const std::string path = dir.file("vork.ini");
    struct Row {
        const char* text;
        bool grid;
        int scale;
    };
    const Row rows[] = {
        {"pixelGrid=1\nexportScale=4\n", true, 4},
        {"pixelGrid = 1\r\nexportScale\t=  5", true, 5}, // spaces and other line ends
        {"exportScale=17\npixelGrid=2", false, 2},       // out of range
        {"exportScale=0\npixelGrid=-1", false, 2},
        {"exportScale=4x\npixelGrid=", false, 2}, // not numbers
        {"exportScale=99999999999999999999", false, 2},
        {"colour=blue\nnonsense\n\n=\npixelGrid=1", true, 2}, // unknown lines
        {"", false, 2},
        {"\xff\xfe\x00p\x00i", false, 2},
    };
    for (const Row& row : rows) {
        test::writeBytes(path, row.text);
        ViewSettings s{false, 2};
        EXPECT_TRUE(readViewSettings(path, s)) << row.text;
        EXPECT_EQ(s.pixelGrid, row.grid) << row.text;
        EXPECT_EQ(s.exportScale, row.scale) << row.text;
    }
    ViewSettings s{true, 9};
    EXPECT_FALSE(readViewSettings(dir.file("missing.ini"), s));
    EXPECT_TRUE(s.pixelGrid);
    EXPECT_EQ(s.exportScale, 9);
}

} // namespace
