// SPDX-License-Identifier: GPL-3.0-or-later
// Palettes in the forms of other tools: each written and read back, files as those tools and
// sites hand them out, and damaged files refused with the line that is wrong.
#include "files/ForeignPalettes.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

using namespace vork;

namespace {

const ForeignPalette allForms[] = {ForeignPalette::Gimp, ForeignPalette::Jasc, ForeignPalette::Hex,
                                   ForeignPalette::PaintNet};

TEST(ForeignPalettes, EachFormRoundTripsThroughAFile) {
    test::TempDir dir;
    std::vector<Color> colours;
    for (int i = 0; i < 300; ++i)
        colours.push_back(Color::rgb(i % 256, (i * 7) % 256, 255 - i % 256));
    struct Row {
        ForeignPalette form;
        const char* name;
        bool keepsAlpha;
    };
    const Row rows[] = {{ForeignPalette::Gimp, "p.gpl", false},
                        {ForeignPalette::Jasc, "p.PAL", false},
                        {ForeignPalette::Hex, "p.hex", false},
                        {ForeignPalette::PaintNet, "p.txt", true}};
    colours.push_back(Color::fromArgb(128, 1, 2, 3));
    for (const Row& row : rows) {
        const std::string path = dir.file(row.name);
        ASSERT_EQ(foreignPaletteOf(path), row.form) << row.name;
        ASSERT_TRUE(writeForeignPalette(path, row.form, colours)) << row.name;
        const ForeignPaletteRead read = readForeignPalette(path, row.form);
        ASSERT_TRUE(read) << row.name << ": " << read.reason;
        ASSERT_EQ(read.colours.size(), colours.size()) << row.name;
        for (size_t i = 0; i + 1 < colours.size(); ++i)
            ASSERT_EQ(read.colours[i], colours[i]) << row.name << " " << i;
        EXPECT_EQ(read.colours.back(),
                  row.keepsAlpha ? colours.back() : colours.back().withAlpha(255))
            << row.name;
    }
    EXPECT_FALSE(foreignPaletteOf(dir.file("p.lpal")));
    EXPECT_FALSE(foreignPaletteOf("folder.gpl/palette"));
}

TEST(ForeignPalettes, FilesAsOtherToolsWriteThem) {
    struct Row {
        ForeignPalette form;
        const char* text;
        std::vector<Color> colours;
    };
    const Row rows[] = {
        {ForeignPalette::Gimp,
         "\xEF\xBB\xBFGIMP Palette\r\nName: Sunset\r\nColumns: 4\r\n# a comment\r\n"
         "255   0   0\tRed\r\n  0 128 255 Sky blue\r\n\r\n",
         {Color::rgb(255, 0, 0), Color::rgb(0, 128, 255)}},
        {ForeignPalette::Jasc,
         "JASC-PAL\r\n0100\r\n2\r\n10 20 30\r\n40 50 60\r\n",
         {Color::rgb(10, 20, 30), Color::rgb(40, 50, 60)}},
        {ForeignPalette::Hex,
         "1a1c2c\n5D275D\n#b13e53", // no line end after the last
         {Color::rgb(0x1a, 0x1c, 0x2c), Color::rgb(0x5d, 0x27, 0x5d),
          Color::rgb(0xb1, 0x3e, 0x53)}},
        {ForeignPalette::PaintNet,
         ";paint.net Palette File\n;Colors: 2\nFFFF0000\n80112233\n",
         {Color::rgb(255, 0, 0), Color::fromArgb(0x80, 0x11, 0x22, 0x33)}},
    };
    for (const Row& row : rows) {
        const ForeignPaletteRead read = parseForeignPalette(row.form, row.text);
        ASSERT_TRUE(read) << row.text << ": " << read.reason;
        EXPECT_EQ(read.colours, row.colours) << row.text;
    }
}

// A damaged file gives no colours and names what is wrong.
TEST(ForeignPalettes, DamagedFilesAreRefusedWithTheReason) {
    struct Row {
        ForeignPalette form;
        const char* text;
        const char* reason;
    };
    const Row rows[] = {
        {ForeignPalette::Gimp, "", "нет заголовка"},
        {ForeignPalette::Gimp, "GIMP Palette\n", "нет цветов"},
        {ForeignPalette::Gimp, "Gimp palette\n1 2 3\n", "нет заголовка"},
        {ForeignPalette::Gimp, "GIMP Palette\n1 2 3\n4 5\n", "строка 3"},
        {ForeignPalette::Gimp, "GIMP Palette\n1 2 256\n", "строка 2"},
        {ForeignPalette::Gimp, "GIMP Palette\n1 2 3x\n", "строка 2"},
        {ForeignPalette::Gimp, "GIMP Palette\n1 2 3\nName: late\n", "строка 3"},
        {ForeignPalette::Jasc, "JASC-PAL\r\n0100\r\n", "нет заголовка"},
        {ForeignPalette::Jasc, "JASC-PAL\r\n0200\r\n1\r\n1 2 3\r\n", "строка 2"},
        {ForeignPalette::Jasc, "JASC-PAL\r\n0100\r\nmany\r\n1 2 3\r\n", "строка 3"},
        {ForeignPalette::Jasc, "JASC-PAL\r\n0100\r\n0\r\n", "строка 3"},
        {ForeignPalette::Jasc, "JASC-PAL\r\n0100\r\n3\r\n1 2 3\r\n", "меньше"},
        {ForeignPalette::Jasc, "JASC-PAL\r\n0100\r\n1\r\n1 2 3\r\n4 5 6\r\n", "больше"},
        {ForeignPalette::Jasc, "JASC-PAL\r\n0100\r\n1\r\n1 2 3 4\r\n", "строка 4"},
        {ForeignPalette::Jasc, "JASC-PAL\r\n0100\r\n99999999999999\r\n1 2 3\r\n", "строка 3"},
        {ForeignPalette::Hex, "\n\n", "нет цветов"},
        {ForeignPalette::Hex, "ff0000\nff00\n", "строка 2"},
        {ForeignPalette::Hex, "ff0000\nfg0000\n", "строка 2"},
        {ForeignPalette::Hex, "ff0000ff\n", "строка 1"},
        {ForeignPalette::PaintNet, ";only comments\n", "нет цветов"},
        {ForeignPalette::PaintNet, "FFFF0000\nFF0000\n", "строка 2"},
        {ForeignPalette::PaintNet, "FF FF 00 00\n", "строка 1"},
    };
    for (const Row& row : rows) {
        const ForeignPaletteRead read = parseForeignPalette(row.form, row.text);
        EXPECT_FALSE(read) << row.text;
        EXPECT_TRUE(read.colours.empty()) << row.text;
        EXPECT_NE(read.reason.find(row.reason), std::string::npos)
            << row.text << " gave " << read.reason;
    }
    test::TempDir dir;
    for (ForeignPalette form : allForms)
        EXPECT_FALSE(readForeignPalette(dir.file("missing"), form));
}

} // namespace
