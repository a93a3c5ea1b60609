// SPDX-License-Identifier: GPL-3.0-or-later
// The palette and settings readers take the same content whatever line ends and separators the
// file was made with.
#include "files/PaletteFiles.h"
#include "files/SettingsFile.h"
#include "files/TextFile.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <random>

namespace vork {
namespace {

using test::TempDir;
using test::writeBytes;

// Rewrites a file of "\n"-separated lines of space-separated numbers in another form.
std::string reshaped(const std::string& lines, const std::string& lineEnd,
                     const std::string& separator) {
    std::string out;
    for (char c : lines) {
        if (c == '\n')
            out += lineEnd;
        else if (c == ' ')
            out += separator;
        else
            out += c;
    }
    return out;
}

struct Form {
    const char* name;
    std::string lineEnd;
    std::string separator;
};

const Form forms[] = {
    {"LF", "\n", " "},
    {"CR LF", "\r\n", " "},
    {"CR only", "\r", " "},
    {"tabs", "\r\n", "\t"},
    {"commas", "\n", ","},
    {"comma and space", "\r", ", "},
    {"mixed runs", "\r\n", " \t,, "},
};

TEST(TextForms, PalettesReadTheSameInEveryForm) {
    std::mt19937 rng(42);
    Palettes expected;
    for (auto* list : {&expected.small, &expected.replacement, &expected.big})
        for (auto& e : *list)
            e.color = Color(uint32_t(rng()));
    auto rows = [](const std::vector<PaletteEntry>& entries) {
        std::string s;
        for (const auto& e : entries)
            s += "\n" + std::to_string(e.color.a()) + " " + std::to_string(e.color.r()) + " " +
                 std::to_string(e.color.g()) + " " + std::to_string(e.color.b());
        return s;
    };
    const std::string small =
        "Small palette:" + rows(expected.small) + "\nReplacement:" + rows(expected.replacement);
    const std::string big = "Big palette:" + rows(expected.big);

    TempDir dir;
    for (const Form& form : forms) {
        SCOPED_TRACE(form.name);
        writeBytes(dir.file("p.lpal"), reshaped(small, form.lineEnd, form.separator));
        writeBytes(dir.file("p.bpal"), reshaped(big, form.lineEnd, form.separator));
        Palettes read;
        ASSERT_TRUE(readSmallPalette(dir.file("p.lpal"), read));
        ASSERT_TRUE(readBigPalette(dir.file("p.bpal"), read));
        for (size_t i = 0; i < read.small.size(); ++i)
            ASSERT_EQ(read.small[i].color, expected.small[i].color) << "small " << i;
        for (size_t i = 0; i < read.replacement.size(); ++i)
            ASSERT_EQ(read.replacement[i].color, expected.replacement[i].color) << "repl " << i;
        for (size_t i = 1; i < read.big.size(); ++i)
            ASSERT_EQ(read.big[i].color, expected.big[i].color) << "big " << i;
    }
}

TEST(TextForms, SettingsReadTheSameInEveryForm) {
    TempDir dir;
    for (const Form& form : forms) {
        SCOPED_TRACE(form.name);
        writeBytes(dir.file("s.txt"),
                   reshaped("Sizes:\n640 480\n32 48", form.lineEnd, form.separator));
        DocumentSizes s{1, 1, 1, 1};
        ASSERT_TRUE(readSettings(dir.file("s.txt"), s));
        EXPECT_EQ(s.animationWidth, 640);
        EXPECT_EQ(s.animationHeight, 480);
        EXPECT_EQ(s.pictureWidth, 32);
        EXPECT_EQ(s.pictureHeight, 48);
    }
}

TEST(TextForms, ACarriageReturnEndsARowLikeALineFeed) {
    // With carriage returns as line ends, a row split over two lines is incomplete, as it is
    // with line feeds, and the numbers on the next line belong to the next entry.
    TempDir dir;
    writeBytes(dir.file("p.bpal"), "H\r0 0 0 0\r1 2\r3 4 5 6\r\r\r7 8 9 10");
    Palettes p;
    p.big[1].color = Color::rgb(9, 9, 9);
    ASSERT_TRUE(readBigPalette(dir.file("p.bpal"), p));
    EXPECT_EQ(p.big[1].color, Color::rgb(9, 9, 9));
    EXPECT_EQ(p.big[2].color, Color::fromArgb(3, 4, 5, 6));
    EXPECT_EQ(p.big[3].color, Color::fromArgb(7, 8, 9, 10));
}

TEST(TextScanner, NeverReadsPastTheEndOfItsBytes) {
    textfile::Scanner all("H\n1 2 3 4\n5 6 7 8");
    all.readWord();
    all.skipLine();
    EXPECT_EQ(all.readColorRow(), Color::fromArgb(1, 2, 3, 4));

    const std::string text = "H\n1 2 3 4\n5 6 7 8";
    textfile::Scanner cut(std::string_view(text).substr(0, 13)); // ends inside the second row
    cut.readWord();
    cut.skipLine();
    EXPECT_EQ(cut.readColorRow(), Color::fromArgb(1, 2, 3, 4));
    cut.skipLine();
    EXPECT_EQ(cut.readColorRow(), std::nullopt);
    EXPECT_FALSE(cut.readWord());
}

} // namespace
} // namespace vork
