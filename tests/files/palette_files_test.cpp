// SPDX-License-Identifier: GPL-3.0-or-later
// Reading and writing the small (.lpal) and big (.bpal) palette files.
#include "files/PaletteFiles.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <random>

namespace vork {
namespace {

using test::readBytes;
using test::TempDir;
using test::writeBytes;
using namespace std::string_literals;

// The headings as code-page-1251 bytes, spelled out independently of the program's converter.
const std::string smallHeading = "\xCC\xE0\xEB\xE0\xFF"
                                 " "
                                 "\xEF\xE0\xEB\xE8\xF2\xF0\xE0"
                                 " "
                                 "\xF6\xE2\xE5\xF2\xEE\xE2"
                                 ":"; // "Малая палитра цветов:"
const std::string replacementHeading = "\xC7\xE0\xEC\xE5\xED\xE0"
                                       " "
                                       "\xF6\xE2\xE5\xF2\xEE\xE2"
                                       ":"; // "Замена цветов:"
const std::string bigHeading = "\xC1\xEE\xEB\xFC\xF8\xE0\xFF"
                               " "
                               "\xEF\xE0\xEB\xE8\xF2\xF0\xE0"
                               " "
                               "\xF6\xE2\xE5\xF2\xEE\xE2"
                               ":"; // "Большая палитра цветов:"

void fillRandom(std::vector<PaletteEntry>& entries, std::mt19937& rng) {
    for (auto& e : entries)
        e.color = Color(uint32_t(rng()));
}

// A file of `rows` rows under `heading`; row i is "i i+1 i+2 i+3".
std::string bigFileWithRows(int rows, const std::string& heading = "Heading:") {
    std::string s = heading;
    for (int i = 0; i < rows; ++i)
        s += "\n" + std::to_string(i) + " " + std::to_string(i + 1) + " " + std::to_string(i + 2) +
             " " + std::to_string(i + 3);
    return s;
}

Palettes paletteOf(Color c) {
    Palettes p;
    for (auto* list : {&p.small, &p.replacement, &p.big})
        for (auto& e : *list)
            e.color = c;
    return p;
}

const Color marker = Color::fromArgb(7, 8, 9, 10);

TEST(PaletteRoundTrip, SmallPaletteKeepsAll175ColoursIncludingAlpha) {
    TempDir dir;
    std::mt19937 rng(1234);
    Palettes written;
    fillRandom(written.small, rng);
    fillRandom(written.replacement, rng);
    ASSERT_TRUE(writeSmallPalette(dir.file("p.lpal"), written));

    Palettes read = paletteOf(marker);
    ASSERT_TRUE(readSmallPalette(dir.file("p.lpal"), read));
    for (size_t i = 0; i < written.small.size(); ++i) {
        EXPECT_EQ(read.small[i].color, written.small[i].color) << "small " << i;
        EXPECT_EQ(read.small[i].id, int(i));
    }
    for (size_t i = 0; i < written.replacement.size(); ++i)
        EXPECT_EQ(read.replacement[i].color, written.replacement[i].color) << "replacement " << i;
    EXPECT_EQ(read.big[5].color, marker) << "the big palette is not part of the file";
}

TEST(PaletteRoundTrip, BigPaletteKeeps768ColoursWithEntryZeroTransparent) {
    TempDir dir;
    std::mt19937 rng(99);
    Palettes written;
    fillRandom(written.big, rng);
    written.big[0].color = Color::rgb(1, 2, 3);
    ASSERT_TRUE(writeBigPalette(dir.file("p.bpal"), written));

    Palettes read = paletteOf(marker);
    ASSERT_TRUE(readBigPalette(dir.file("p.bpal"), read));
    EXPECT_EQ(read.big[0].color, colors::transparent);
    for (size_t i = 1; i < written.big.size(); ++i)
        EXPECT_EQ(read.big[i].color, written.big[i].color) << "big " << i;
    EXPECT_EQ(read.small[5].color, marker);
}

TEST(PaletteWriting, SmallPaletteFileHasExactBytes) {
    TempDir dir;
    Palettes p;
    p.small[0].color = Color::fromArgb(0, 0, 0, 0);
    p.small[1].color = Color::fromArgb(255, 255, 255, 255);
    p.small[2].color = Color::fromArgb(255, 0, 0, 0);
    p.small[110].color = Color::fromArgb(128, 10, 200, 7);
    p.replacement[0].color = Color::fromArgb(255, 1, 22, 133);
    p.replacement[63].color = Color::fromArgb(9, 0, 90, 255);
    ASSERT_TRUE(writeSmallPalette(dir.file("k.lpal"), p));

    std::string expected = smallHeading + "\r\n0 0 0 0\r\n255 255 255 255\r\n255 0 0 0";
    for (int i = 3; i < 110; ++i)
        expected += "\r\n0 0 0 0";
    expected += "\r\n128 10 200 7\r\n" + replacementHeading + "\r\n255 1 22 133";
    for (int i = 1; i < 63; ++i)
        expected += "\r\n0 0 0 0";
    expected += "\r\n9 0 90 255";
    EXPECT_EQ(readBytes(dir.file("k.lpal")), expected);
}

TEST(PaletteWriting, BigPaletteFileHasExactBytes) {
    TempDir dir;
    Palettes p;
    p.big[1].color = Color::fromArgb(255, 255, 0, 0);
    p.big[767].color = Color::fromArgb(1, 2, 3, 4);
    ASSERT_TRUE(writeBigPalette(dir.file("k.bpal"), p));

    std::string expected = bigHeading + "\r\n0 0 0 0\r\n255 255 0 0";
    for (int i = 2; i < 767; ++i)
        expected += "\r\n0 0 0 0";
    expected += "\r\n1 2 3 4";
    EXPECT_EQ(readBytes(dir.file("k.bpal")), expected);
}

TEST(PaletteWriting, ReplacesALongerOldFileCompletely) {
    TempDir dir;
    const std::string path = dir.file("old.bpal");
    writeBytes(path, std::string(100000, 'x'));
    ASSERT_TRUE(writeBigPalette(path, Palettes{}));
    const std::string bytes = readBytes(path);
    EXPECT_EQ(bytes.substr(0, bigHeading.size()), bigHeading);
    EXPECT_EQ(bytes.find('x'), std::string::npos);
}

TEST(PaletteWriting, FailsIntoAMissingFolderOrOntoAFolder) {
    TempDir dir;
    EXPECT_FALSE(writeSmallPalette(dir.file("missing/p.lpal"), Palettes{}));
    EXPECT_FALSE(writeBigPalette(dir.file("missing/p.bpal"), Palettes{}));
    std::filesystem::create_directory(dir.path / "folder.lpal");
    EXPECT_FALSE(writeSmallPalette(dir.file("folder.lpal"), Palettes{}));
    EXPECT_TRUE(std::filesystem::is_directory(dir.path / "folder.lpal"));
}

TEST(PaletteReading, AnyHeadingIsAcceptedAndCrLfLineBreaksToo) {
    TempDir dir;
    writeBytes(dir.file("a.bpal"), "Something else entirely\r\n0 1 2 3\r\n255 10 20 30\r\n1 2 3 4");
    Palettes p = paletteOf(marker);
    ASSERT_TRUE(readBigPalette(dir.file("a.bpal"), p));
    EXPECT_EQ(p.big[1].color, Color::fromArgb(255, 10, 20, 30));
    EXPECT_EQ(p.big[2].color, Color::fromArgb(1, 2, 3, 4));
    EXPECT_EQ(p.big[3].color, marker);
}

TEST(PaletteReading, BigPaletteEntryZeroIsTransparentWhateverTheFileSays) {
    TempDir dir;
    writeBytes(dir.file("red.bpal"), bigHeading + "\r\n255 255 0 0\r\n255 255 0 0");
    Palettes p;
    ASSERT_TRUE(readBigPalette(dir.file("red.bpal"), p));
    EXPECT_EQ(p.big[0].color, colors::transparent);
    EXPECT_EQ(p.big[1].color, Color::rgb(255, 0, 0));
}

TEST(PaletteReading, NumbersAreTakenModulo256) {
    TempDir dir;
    writeBytes(dir.file("m.lpal"),
               "H\n256 300 -1 0\n99999999999999999999 -99999999999999999999 4294967297 +5");
    Palettes p;
    ASSERT_TRUE(readSmallPalette(dir.file("m.lpal"), p));
    EXPECT_EQ(p.small[0].color, Color::fromArgb(0, 44, 255, 0));
    EXPECT_EQ(p.small[1].color, Color::fromArgb(255, 1, 1, 5));
}

TEST(PaletteReading, SecondHeadingStartsTheReplacementRows) {
    TempDir dir;
    std::string file = "Small:";
    for (int i = 0; i < 111; ++i)
        file += "\n255 " + std::to_string(i) + " 0 0";
    file += "\nAny words here:\n1 2 3 4\n5 6 7 8";
    writeBytes(dir.file("s.lpal"), file);
    Palettes p = paletteOf(marker);
    ASSERT_TRUE(readSmallPalette(dir.file("s.lpal"), p));
    EXPECT_EQ(p.small[110].color, Color::fromArgb(255, 110, 0, 0));
    EXPECT_EQ(p.replacement[0].color, Color::fromArgb(1, 2, 3, 4));
    EXPECT_EQ(p.replacement[1].color, Color::fromArgb(5, 6, 7, 8));
    EXPECT_EQ(p.replacement[2].color, marker);
}

TEST(DamagedPaletteFiles, ShortFileKeepsTheEntriesItDoesNotReach) {
    TempDir dir;
    writeBytes(dir.file("short.bpal"), bigFileWithRows(10));
    Palettes p = paletteOf(marker);
    ASSERT_TRUE(readBigPalette(dir.file("short.bpal"), p));
    EXPECT_EQ(p.big[9].color, Color::fromArgb(9, 10, 11, 12));
    for (size_t i = 10; i < p.big.size(); ++i)
        ASSERT_EQ(p.big[i].color, marker) << i;
}

TEST(DamagedPaletteFiles, TextOrMissingNumbersSpoilOnlyTheirOwnRow) {
    TempDir dir;
    writeBytes(dir.file("bad.bpal"), "H\n"
                                     "0 0 0 0\n"
                                     "1 2 3\n" // one number short
                                     "255 20 30 40\n"
                                     "red green blue\n" // no numbers at all
                                     "255 50 60 70\n"
                                     "12 13x 14 15\n" // text inside a number
                                     "\n"             // blank lines are passed over
                                     "255 80 90 100\n"
                                     "7 7 7 7 7 7\n" // extra numbers are ignored
                                     "-\n"
                                     "255 1 1 1");
    Palettes p = paletteOf(marker);
    ASSERT_TRUE(readBigPalette(dir.file("bad.bpal"), p));
    EXPECT_EQ(p.big[1].color, marker);
    EXPECT_EQ(p.big[2].color, Color::fromArgb(255, 20, 30, 40));
    EXPECT_EQ(p.big[3].color, marker);
    EXPECT_EQ(p.big[4].color, Color::fromArgb(255, 50, 60, 70));
    EXPECT_EQ(p.big[5].color, marker);
    EXPECT_EQ(p.big[6].color, Color::fromArgb(255, 80, 90, 100));
    EXPECT_EQ(p.big[7].color, Color::fromArgb(7, 7, 7, 7));
    EXPECT_EQ(p.big[8].color, marker);
    EXPECT_EQ(p.big[9].color, Color::fromArgb(255, 1, 1, 1));
    EXPECT_EQ(p.big[10].color, marker);
}

TEST(DamagedPaletteFiles, EmptyOrNumberlessFilesChangeNothingAndReportFailure) {
    TempDir dir;
    writeBytes(dir.file("empty"), "");
    writeBytes(dir.file("heading"), smallHeading);
    writeBytes(dir.file("words"), "a b c\nd e f\ng h i\n");
    for (const char* name : {"empty", "heading", "words"}) {
        Palettes p = paletteOf(marker);
        EXPECT_FALSE(readSmallPalette(dir.file(name), p)) << name;
        EXPECT_FALSE(readBigPalette(dir.file(name), p)) << name;
        EXPECT_EQ(p.big[0].color, marker) << name;
        EXPECT_EQ(p.small[0].color, marker) << name;
        EXPECT_EQ(p.replacement[63].color, marker) << name;
    }
}

TEST(DamagedPaletteFiles, MissingFileReportsFailure) {
    TempDir dir;
    Palettes p = paletteOf(marker);
    EXPECT_FALSE(readSmallPalette(dir.file("none.lpal"), p));
    EXPECT_FALSE(readBigPalette(dir.file("none.bpal"), p));
    EXPECT_EQ(p.small[3].color, marker);
}

TEST(DamagedPaletteFiles, BinaryGarbageIsReadWithoutHarm) {
    TempDir dir;
    std::mt19937 rng(7);
    for (int round = 0; round < 20; ++round) {
        std::string bytes(size_t(rng() % 5000), '\0');
        for (auto& b : bytes)
            b = char(rng());
        writeBytes(dir.file("garbage"), bytes);
        Palettes p = paletteOf(marker);
        readSmallPalette(dir.file("garbage"), p);
        if (readBigPalette(dir.file("garbage"), p)) {
            EXPECT_EQ(p.big[0].color, colors::transparent);
        }
        EXPECT_EQ(p.small.size(), size_t(smallPaletteSize));
        EXPECT_EQ(p.big[767].id, 767);
    }
}

TEST(DamagedPaletteFiles, ZeroBytesInsideARowEndIt) {
    TempDir dir;
    writeBytes(dir.file("nul.bpal"), "H\n0 0 0 0\n1 2\0 3 4\n5 6 7 8"s);
    Palettes p = paletteOf(marker);
    ASSERT_TRUE(readBigPalette(dir.file("nul.bpal"), p));
    EXPECT_EQ(p.big[1].color, marker);
    EXPECT_EQ(p.big[2].color, Color::fromArgb(5, 6, 7, 8));
}

TEST(DamagedPaletteFiles, DeviceFilesAreNotRead) {
    if (!std::filesystem::exists("/dev/zero"))
        GTEST_SKIP() << "no /dev/zero here";
    Palettes p;
    p.big[3].color = Color::rgb(1, 2, 3);
    EXPECT_FALSE(readBigPalette("/dev/zero", p));
    EXPECT_FALSE(readSmallPalette("/dev/zero", p));
    EXPECT_EQ(p.big[3].color, Color::rgb(1, 2, 3));
}

} // namespace
} // namespace vork
