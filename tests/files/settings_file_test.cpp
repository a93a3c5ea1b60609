// SPDX-License-Identifier: GPL-3.0-or-later
// Reading and writing the settings file with the default document sizes.
#include "files/SettingsFile.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

namespace vork {
namespace {

using test::readBytes;
using test::TempDir;
using test::writeBytes;

// "Размеры растра:" in code page 1251.
const std::string heading = "\xD0\xE0\xE7\xEC\xE5\xF0\xFB"
                            " "
                            "\xF0\xE0\xF1\xF2\xF0\xE0"
                            ":";

DocumentSizes sizesOf(int aw, int ah, int pw, int ph) {
    DocumentSizes s;
    s.animationWidth = aw;
    s.animationHeight = ah;
    s.pictureWidth = pw;
    s.pictureHeight = ph;
    return s;
}

void expectSizes(const DocumentSizes& s, int aw, int ah, int pw, int ph) {
    EXPECT_EQ(s.animationWidth, aw);
    EXPECT_EQ(s.animationHeight, ah);
    EXPECT_EQ(s.pictureWidth, pw);
    EXPECT_EQ(s.pictureHeight, ph);
}

TEST(SettingsFile, ReadsAnimationSizeThenPictureSize) {
    TempDir dir;
    writeBytes(dir.file("property.txt"), heading + "\r\n640 480\r\n32 32");
    DocumentSizes s;
    ASSERT_TRUE(readSettings(dir.file("property.txt"), s));
    expectSizes(s, 640, 480, 32, 32);
}

TEST(SettingsFile, AcceptsAnyHeadingAndBareLineFeeds) {
    TempDir dir;
    writeBytes(dir.file("p.txt"), "Sizes of the raster:\n17 18\n19 20\n");
    DocumentSizes s;
    ASSERT_TRUE(readSettings(dir.file("p.txt"), s));
    expectSizes(s, 17, 18, 19, 20);
}

TEST(SettingsFile, WritesExactBytes) {
    TempDir dir;
    ASSERT_TRUE(writeSettings(dir.file("p.txt"), sizesOf(300, 264, 300, 300)));
    EXPECT_EQ(readBytes(dir.file("p.txt")), heading + "\r\n300 264\r\n300 300");

    ASSERT_TRUE(writeSettings(dir.file("p.txt"), sizesOf(64, 1, -2, 5000)));
    EXPECT_EQ(readBytes(dir.file("p.txt")), heading + "\r\n64 1\r\n-2 5000");
}

TEST(SettingsFile, RoundTrip) {
    TempDir dir;
    ASSERT_TRUE(writeSettings(dir.file("p.txt"), sizesOf(1, 5000, 123, 77)));
    DocumentSizes s;
    ASSERT_TRUE(readSettings(dir.file("p.txt"), s));
    expectSizes(s, 1, 5000, 123, 77);
}

TEST(SettingsFile, UnusableSizesKeepTheirOldValues) {
    TempDir dir;
    struct Case {
        const char* body;
        int aw, ah, pw, ph;
    } cases[] = {
        {"\nabc def\n32 33", 300, 264, 32, 33},                   // text instead of the first line
        {"\n640\n32 33", 640, 264, 32, 33},                       // one number short
        {"\n99999999999999999999 480\n0 -5", 300, 480, 300, 300}, // huge, zero, negative
        {"\n5001 480\n12 x", 300, 480, 12, 300},                  // too large; text after a number
        {"\n640 480", 640, 480, 300, 300},                        // the file ends early
    };
    for (const auto& c : cases) {
        writeBytes(dir.file("p.txt"), heading + c.body);
        DocumentSizes s;
        EXPECT_TRUE(readSettings(dir.file("p.txt"), s)) << c.body;
        expectSizes(s, c.aw, c.ah, c.pw, c.ph);
    }
}

TEST(SettingsFile, FilesWithoutAnySizeChangeNothingAndReportFailure) {
    TempDir dir;
    const DocumentSizes old = sizesOf(10, 20, 30, 40);
    for (const std::string& body :
         {std::string(), heading, heading + "\nno\nnumbers", std::string("\0\0\xff\n\x01", 5)}) {
        writeBytes(dir.file("p.txt"), body);
        DocumentSizes s = old;
        EXPECT_FALSE(readSettings(dir.file("p.txt"), s));
        expectSizes(s, 10, 20, 30, 40);
    }
    DocumentSizes s = old;
    EXPECT_FALSE(readSettings(dir.file("missing.txt"), s));
    expectSizes(s, 10, 20, 30, 40);
}

TEST(SettingsFile, WriteIntoAMissingFolderFails) {
    TempDir dir;
    EXPECT_FALSE(writeSettings(dir.file("data/property.txt"), DocumentSizes{}));
    EXPECT_FALSE(std::filesystem::exists(dir.path / "data"));
}

} // namespace
} // namespace vork
