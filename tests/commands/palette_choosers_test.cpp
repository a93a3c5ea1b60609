// SPDX-License-Identifier: GPL-3.0-or-later
// The palette file choosers and the saving of settings and palettes when the window closes.
#include "commands/PaletteChoosers.h"
#include "files/ForeignPalettes.h"
#include "files/PaletteFiles.h"
#include "files/SettingsFile.h"
#include "support/FakePlatform.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace vork {
namespace {

using test::FakePlatform;
using test::TempDir;

// Runs the test inside a fresh working folder and returns to the old one afterwards.
class PaletteChoosers : public ::testing::Test {
  protected:
    PaletteChoosers() : oldCwd(std::filesystem::current_path()) {
        std::filesystem::current_path(dir.path);
    }
    ~PaletteChoosers() override { std::filesystem::current_path(oldCwd); }

    void makeDataFolder() { std::filesystem::create_directory(dir.path / "data"); }

    TempDir dir;
    std::filesystem::path oldCwd;
    FakePlatform platform;
    Editor editor{platform};
};

TEST_F(PaletteChoosers, ShowTheirTitlesFiltersFolderAndExtensions) {
    openSmallPalette(editor);
    saveSmallPalette(editor);
    openBigPalette(editor);
    saveBigPalette(editor);
    ASSERT_EQ(platform.choosersShown.size(), 4u);
    const struct {
        const char* title;
        const char* pattern;
        const char* extension;
    } expected[] = {{"Открыть малую палитру", "*.lpal", ""},
                    {"Сохранить малую палитру", "*.lpal", ".lpal"},
                    {"Открыть большую палитру", "*.bpal", ""},
                    {"Сохранить большую палитру", "*.bpal", ".bpal"}};
    for (size_t i = 0; i < 4; ++i) {
        const FileChooser& c = platform.choosersShown[i];
        EXPECT_EQ(c.title, expected[i].title);
        // The palette's own filter first, then those of the other tools' palettes.
        ASSERT_EQ(c.filters.size(), 5u);
        EXPECT_EQ(c.filters[0].first, "Pal files");
        EXPECT_EQ(c.filters[0].second, expected[i].pattern);
        EXPECT_EQ(c.filters[1].second, "*.gpl");
        EXPECT_EQ(c.filters[4].second, "*.txt");
        EXPECT_EQ(c.initialFolder, "data");
        EXPECT_EQ(c.defaultExtension, expected[i].extension);
    }
}

TEST_F(PaletteChoosers, CancelReturnsFalseChangesNothingAndEnablesInputAgain) {
    editor.colour.palettes.small[5].color = Color::rgb(1, 2, 3);
    bool inputSeen = true;
    platform.onDialog = [&] { inputSeen = editor.input.inputEnabled; };
    EXPECT_FALSE(openSmallPalette(editor));
    EXPECT_FALSE(inputSeen);
    EXPECT_TRUE(editor.input.inputEnabled);
    EXPECT_FALSE(saveBigPalette(editor));
    EXPECT_TRUE(editor.input.inputEnabled);
    EXPECT_EQ(editor.colour.palettes.small[5].color, Color::rgb(1, 2, 3));
    EXPECT_TRUE(platform.messages.empty());
    EXPECT_TRUE(std::filesystem::is_empty(dir.path));
}

TEST_F(PaletteChoosers, SaveReplacesTheTypedExtensionAndOpenReadsItBack) {
    makeDataFolder();
    editor.colour.palettes.small[40].color = Color::fromArgb(100, 1, 2, 3);
    editor.colour.palettes.replacement[9].color = Color::fromArgb(200, 4, 5, 6);
    platform.saveAnswers.push_back("data/mine.txt");
    ASSERT_TRUE(saveSmallPalette(editor));
    EXPECT_TRUE(std::filesystem::exists("data/mine.lpal"));
    EXPECT_FALSE(std::filesystem::exists("data/mine.txt"));
    EXPECT_EQ(editor.chooserNames.smallPalette, "data/mine.lpal");

    editor.colour.palettes = Palettes{};
    editor.colour.currentColor = Color::rgb(9, 9, 9);
    editor.colour.currentSwatch = 40;
    platform.openAnswers.push_back("data/mine.lpal");
    ASSERT_TRUE(openSmallPalette(editor));
    EXPECT_EQ(editor.colour.palettes.small[40].color, Color::fromArgb(100, 1, 2, 3));
    EXPECT_EQ(editor.colour.palettes.replacement[9].color, Color::fromArgb(200, 4, 5, 6));
    // Loading a palette leaves the drawing colour and the selection alone.
    EXPECT_EQ(editor.colour.currentColor, Color::rgb(9, 9, 9));
    EXPECT_EQ(editor.colour.currentSwatch, 40);
}

TEST_F(PaletteChoosers, BigPaletteSaveAddsTheExtensionAndKeepsItsOwnName) {
    makeDataFolder();
    editor.colour.palettes.big[1].color = Color::rgb(255, 0, 0);
    editor.chooserNames.smallPalette = "data/small.lpal";
    platform.saveAnswers.push_back("data/grid");
    ASSERT_TRUE(saveBigPalette(editor));
    EXPECT_EQ(editor.chooserNames.bigPalette, "data/grid.bpal");
    EXPECT_EQ(editor.chooserNames.smallPalette, "data/small.lpal");

    editor.colour.palettes = Palettes{};
    platform.openAnswers.push_back("data/grid.bpal");
    ASSERT_TRUE(openBigPalette(editor));
    EXPECT_EQ(editor.colour.palettes.big[1].color, Color::rgb(255, 0, 0));
}

TEST_F(PaletteChoosers, FailedSaveShowsAMessageAndReturnsFalse) {
    platform.saveAnswers.push_back("nowhere/p.lpal");
    bool inputSeen = true;
    EXPECT_FALSE(saveSmallPalette(editor));
    platform.saveAnswers.push_back("nowhere/p.bpal");
    platform.onDialog = [&] { inputSeen = editor.input.inputEnabled; };
    EXPECT_FALSE(saveBigPalette(editor));
    EXPECT_FALSE(inputSeen);
    EXPECT_TRUE(editor.input.inputEnabled);
    ASSERT_EQ(platform.messages.size(), 2u);
    EXPECT_EQ(platform.messages[0].first, "Ошибка сохранения");
    EXPECT_EQ(platform.messages[0].second, "Файл малой палитры не сохранен");
    EXPECT_EQ(platform.messages[1].first, "Ошибка сохранения");
    EXPECT_EQ(platform.messages[1].second, "Файл Большой палитры не сохранен");
}

TEST_F(PaletteChoosers, OpeningAMissingFileReturnsFalse) {
    platform.openAnswers.push_back("data/none.bpal");
    EXPECT_FALSE(openBigPalette(editor));
    EXPECT_TRUE(platform.messages.empty());
}

TEST(PaletteFileNames, ExtensionIsCutAtTheDotOfTheFileName) {
    EXPECT_EQ(withExtension("a/b/name.txt", ".lpal"), "a/b/name.lpal");
    EXPECT_EQ(withExtension("name", ".bpal"), "name.bpal");
    EXPECT_EQ(withExtension("name.tar.gz", ".bpal"), "name.tar.bpal");
    EXPECT_EQ(withExtension("my.folder/name", ".lpal"), "my.folder/name.lpal");
    EXPECT_EQ(withExtension("dir/.hidden", ".lpal"), "dir/.hidden.lpal");
    EXPECT_EQ(withExtension("name.", ".lpal"), "name.lpal");
}

TEST_F(PaletteChoosers, ClosingWritesSettingsAndBothDefaultPalettes) {
    makeDataFolder();
    editor.mode(Mode::Animator).width = 640;
    editor.mode(Mode::Animator).height = 480;
    editor.colour.palettes.small[3].color = Color::rgb(1, 2, 3);
    editor.colour.palettes.big[2].color = Color::rgb(4, 5, 6);
    EXPECT_TRUE(saveSettingsAndPalettes(editor));
    EXPECT_TRUE(platform.messages.empty());

    DocumentSizes sizes;
    Palettes palettes;
    ASSERT_TRUE(readSettings("data/property.txt", sizes));
    ASSERT_TRUE(readBigPalette("data/defbpal.bpal", palettes));
    ASSERT_TRUE(readSmallPalette("data/deflpal.lpal", palettes));
    EXPECT_EQ(sizes.animationWidth, 640);
    EXPECT_EQ(sizes.animationHeight, 480);
    EXPECT_EQ(palettes.small[3].color, Color::rgb(1, 2, 3));
    EXPECT_EQ(palettes.big[2].color, Color::rgb(4, 5, 6));
}

TEST_F(PaletteChoosers, ClosingWithoutDataFolderReportsEachFileInOrder) {
    EXPECT_FALSE(saveSettingsAndPalettes(editor));
    ASSERT_EQ(platform.messages.size(), 3u);
    EXPECT_EQ(platform.messages[0].second, "Файл свойств не сохранен");
    EXPECT_EQ(platform.messages[1].second, "Файл Большой палитры не сохранен");
    EXPECT_EQ(platform.messages[2].second, "Файл малой палитры не сохранен");
    for (const auto& m : platform.messages)
        EXPECT_EQ(m.first, "Ошибка сохранения");
    EXPECT_FALSE(std::filesystem::exists("data"));
}

// A palette of another tool fills the free entries and says what did not fit; a shorter one
// leaves the rest alone; a damaged one changes nothing and says why; a save in such a form
// writes the free entries in it.
TEST_F(PaletteChoosers, PalettesOfOtherToolsLoadAndSave) {
    Palettes& p = editor.colour.palettes;
    for (auto& entry : p.small)
        entry.color = Color::rgb(9, 9, 9);
    p.fixSmallPaletteEntries();
    const Palettes before = p;

    std::string many = "GIMP Palette\n";
    for (int i = 0; i < 120; ++i)
        many += std::to_string(i) + " 0 0\n";
    test::writeBytes("many.gpl", many);
    platform.openAnswers.push_back("many.gpl");
    EXPECT_TRUE(openSmallPalette(editor));
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_NE(platform.messages[0].second.find("120"), std::string::npos);
    EXPECT_NE(platform.messages[0].second.find("12 не загружено"), std::string::npos);
    EXPECT_EQ(p.small[3].color, Color::rgb(0, 0, 0));
    EXPECT_EQ(p.small[110].color, Color::rgb(107, 0, 0));
    EXPECT_EQ(p.small[1].color, colors::white) << "the fixed entries stay";

    test::writeBytes("two.hex", "ff0000\n00ff00\n");
    platform.openAnswers.push_back("two.hex");
    EXPECT_TRUE(openBigPalette(editor));
    EXPECT_EQ(p.big[1].color, Color::rgb(255, 0, 0));
    EXPECT_EQ(p.big[2].color, Color::rgb(0, 255, 0));
    EXPECT_EQ(p.big[3].color, before.big[3].color) << "past a shorter palette nothing changes";
    EXPECT_EQ(p.big[0].color, before.big[0].color);

    const Palettes loaded = p;
    test::writeBytes("bad.pal", "JASC-PAL\r\n0100\r\n3\r\n1 2 3\r\n4 5\r\n7 8 9\r\n");
    platform.openAnswers.push_back("bad.pal");
    EXPECT_FALSE(openSmallPalette(editor));
    ASSERT_EQ(platform.messages.size(), 2u);
    EXPECT_NE(platform.messages[1].second.find("строка 5"), std::string::npos)
        << platform.messages[1].second;
    for (size_t i = 0; i < p.small.size(); ++i)
        ASSERT_EQ(p.small[i].color, loaded.small[i].color);

    // The chooser's filter picks the form, and its extension goes on the name.
    platform.saveAnswers.push_back("out.lpal");
    platform.saveFilterAnswers.push_back(4); // Paint.NET
    EXPECT_TRUE(saveSmallPalette(editor));
    const ForeignPaletteRead back = readForeignPalette("out.txt", ForeignPalette::PaintNet);
    ASSERT_TRUE(back) << back.reason;
    ASSERT_EQ(back.colours.size(), size_t(smallPaletteSize - 3));
    EXPECT_EQ(back.colours[0], p.small[3].color);
    EXPECT_FALSE(std::filesystem::exists("out.lpal"));
}

} // namespace
} // namespace vork
