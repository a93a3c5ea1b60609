// SPDX-License-Identifier: GPL-3.0-or-later
// The default settings and palettes shipped in data/ read back as the program expects them.
#include "files/PaletteFiles.h"
#include "files/SettingsFile.h"
#include "files/ShippedPalette.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <set>

namespace vork {
namespace {

const std::string dataFolder = std::string(VORK_SOURCE_DIR) + "/data/";

Palettes markedPalettes() {
    Palettes p;
    for (auto* list : {&p.small, &p.replacement, &p.big})
        for (auto& e : *list)
            e.color = Color::fromArgb(1, 2, 3, 4);
    return p;
}

TEST(DefaultData, SettingsGiveTheBuiltInSizes) {
    DocumentSizes s{1, 1, 1, 1};
    ASSERT_TRUE(readSettings(dataFolder + "property.txt", s));
    EXPECT_EQ(s.animationWidth, 300);
    EXPECT_EQ(s.animationHeight, 264);
    EXPECT_EQ(s.pictureWidth, 300);
    EXPECT_EQ(s.pictureHeight, 300);
}

TEST(DefaultData, SmallPaletteFillsEveryEntryWithFixedFirstThree) {
    Palettes p = markedPalettes();
    ASSERT_TRUE(readSmallPalette(dataFolder + "deflpal.lpal", p));
    EXPECT_EQ(p.small[0].color, colors::transparent);
    EXPECT_EQ(p.small[1].color, colors::white);
    EXPECT_EQ(p.small[2].color, colors::black);
    std::set<uint32_t> distinct;
    for (const auto& e : p.small) {
        ASSERT_NE(e.color, Color::fromArgb(1, 2, 3, 4)) << "entry " << e.id << " not in the file";
        distinct.insert(e.color.argb);
    }
    EXPECT_EQ(distinct.size(), p.small.size()) << "every swatch should be a colour of its own";
    for (const auto& e : p.replacement)
        ASSERT_NE(e.color, Color::fromArgb(1, 2, 3, 4)) << "replacement " << e.id;
    for (size_t k = 0; k < 32; ++k)
        EXPECT_NE(p.replacement[2 * k].color, p.replacement[2 * k + 1].color) << "pair " << k;
}

// The built-in colours a document gets when no palette file is found are those of the file.
TEST(DefaultData, BuiltInSmallPaletteIsTheShippedFile) {
    Palettes fromFile = markedPalettes(), builtIn = markedPalettes();
    ASSERT_TRUE(readSmallPalette(dataFolder + "deflpal.lpal", fromFile));
    fillShippedSmallPalette(builtIn);
    for (size_t i = 0; i < fromFile.small.size(); ++i)
        ASSERT_EQ(builtIn.small[i].color, fromFile.small[i].color) << "entry " << i;
    for (size_t i = 0; i < fromFile.replacement.size(); ++i)
        ASSERT_EQ(builtIn.replacement[i].color, fromFile.replacement[i].color)
            << "pair entry " << i;
}

TEST(DefaultData, BigPaletteFillsTheGridWithEntryZeroTransparent) {
    Palettes p = markedPalettes();
    ASSERT_TRUE(readBigPalette(dataFolder + "defbpal.bpal", p));
    EXPECT_EQ(p.big[0].color, colors::transparent);
    for (size_t i = 1; i < p.big.size(); ++i)
        ASSERT_EQ(p.big[i].color.a(), 255) << "entry " << i;
    // The bottom row is a grey ramp from black to white.
    EXPECT_EQ(p.big[15 * 48].color, colors::black);
    EXPECT_EQ(p.big[15 * 48 + 47].color, colors::white);
}

TEST(DefaultData, FilesAreInTheWrittenFormByteForByte) {
    // Reading and writing again gives the same bytes: the files are what the program writes.
    test::TempDir dir;
    Palettes p;
    DocumentSizes s;
    ASSERT_TRUE(readSmallPalette(dataFolder + "deflpal.lpal", p));
    ASSERT_TRUE(readBigPalette(dataFolder + "defbpal.bpal", p));
    ASSERT_TRUE(readSettings(dataFolder + "property.txt", s));
    ASSERT_TRUE(writeSmallPalette(dir.file("l"), p));
    ASSERT_TRUE(writeBigPalette(dir.file("b"), p));
    ASSERT_TRUE(writeSettings(dir.file("s"), s));
    EXPECT_EQ(test::readBytes(dir.file("l")), test::readBytes(dataFolder + "deflpal.lpal"));
    EXPECT_EQ(test::readBytes(dir.file("b")), test::readBytes(dataFolder + "defbpal.bpal"));
    EXPECT_EQ(test::readBytes(dir.file("s")), test::readBytes(dataFolder + "property.txt"));
}

} // namespace
} // namespace vork
