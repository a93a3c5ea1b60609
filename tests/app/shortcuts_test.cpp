// SPDX-License-Identifier: GPL-3.0-or-later
// The everyday shortcuts: saving in place and the Control keys on both keyboard layouts, next
// to the character keys they must leave as they were.
#include "app/Shortcuts.h"
#include "canvas/History.h"
#include "commands/FileMessages.h"
#include "files/AnimationFile.h"
#include "files/PictureFile.h"
#include "support/CommandScenario.h"
#include "support/TempDir.h"
#include "support/WriteProtection.h"
#include "ui/Keys.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace vork;
using vork::test::blue;
using vork::test::red;

namespace {

struct ShortcutsTest : test::BothModesCommandScenario {
    std::string file(const char* stem) const {
        return dir.file(std::string(stem) + (painter() ? ".trnl" : ".gelm"));
    }
    Bitmap& layer() { return m().document->currentLayer().image; }

    // One frame with the key typed while the keys in `held` are down; the commands it posted
    // then run, as the window runs them after the paint.
    void press(uint8_t c, std::set<HeldKey> held = {HeldKey::Control}) {
        platform.held = held;
        type(c);
        platform.held.clear();
        paint(); // Control released: the fill switch gives the tool back
        runPosted();
    }
    DocumentReadResult readBack(const std::string& path) {
        return painter() ? readPictureFile(path, {}) : readAnimationFile(path, {});
    }
};

TEST_P(ShortcutsTest, ControlSSavesOverTheOpenedFileWithoutAChooser) {
    newDocument(mode, 6, 5);
    layer().setPixel(1, 1, red);
    // A document never saved asks for a name, as the save button does.
    platform.saveAnswers.push_back(file("first"));
    press(key::controlCode(key::s));
    ASSERT_EQ(platform.choosersShown.size(), 1u);
    ASSERT_TRUE(std::filesystem::exists(file("first")));

    // Opened from another folder, it is saved there, under its own name, without a chooser.
    std::filesystem::create_directory(dir.path / "elsewhere");
    const std::string other =
        dir.file(std::string("elsewhere/") + (painter() ? "other.trnl" : "other.gelm"));
    std::filesystem::copy_file(file("first"), other);
    platform.openAnswers.push_back(other);
    press(key::controlCode(key::o));
    EXPECT_EQ(platform.choosersShown.size(), 2u);
    EXPECT_EQ(m().filePath, std::filesystem::absolute(other).lexically_normal().string());

    layer().setPixel(2, 3, blue);
    markDocumentChanged(e, mode);
    press(key::controlCode(key::s));
    EXPECT_EQ(platform.choosersShown.size(), 2u) << "no chooser for a save in place";
    EXPECT_TRUE(platform.messages.empty());
    EXPECT_FALSE(m().changes.modified);
    DocumentReadResult read = readBack(other);
    ASSERT_TRUE(read);
    EXPECT_EQ(read.document->currentLayer().image.pixel(2, 3), blue);
    read = readBack(file("first"));
    ASSERT_TRUE(read);
    EXPECT_EQ(read.document->currentLayer().image.pixel(2, 3), colors::transparent)
        << "the first file is not touched";

    // Control+Shift+S asks, starting in the file's folder with its name.
    platform.saveAnswers.push_back(file("third"));
    press(key::controlCode(key::s), {HeldKey::Control, HeldKey::Shift});
    ASSERT_EQ(platform.choosersShown.size(), 3u);
    EXPECT_EQ(platform.choosersShown.back().initialFolder,
              std::filesystem::absolute(dir.path / "elsewhere").lexically_normal().string());
    EXPECT_EQ(m().filePath, std::filesystem::absolute(file("third")).lexically_normal().string());

    // A new document has no file again.
    platform.newDocScripts.push_back({std::nullopt, true, 4, 4});
    press(key::controlCode(key::n));
    EXPECT_TRUE(m().filePath.empty());
}

TEST_P(ShortcutsTest, AFailedSaveInPlaceKeepsTheOldFileAndSaysSo) {
    newDocument(mode, 6, 5);
    platform.saveAnswers.push_back(file("kept"));
    press(key::controlCode(key::s), {HeldKey::Control, HeldKey::Shift});
    const std::string old = test::readBytes(file("kept"));
    layer().setPixel(0, 0, blue);
    markDocumentChanged(e, mode);

    test::WriteProtection protect(dir.path.string());
    if (!protect.holds())
        GTEST_SKIP() << "the folder cannot be write-protected here";
    press(key::controlCode(key::s));
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].first, saveFailureCaption);
    EXPECT_NE(platform.messages[0].second.find(file("kept")), std::string::npos);
    EXPECT_EQ(test::readBytes(file("kept")), old);
    EXPECT_TRUE(m().changes.modified) << "the work is still unsaved";
}

// Each Control shortcut on both layouts: the control code a Latin layout types, and the letter
// the same key gives on a Russian layout while Control is held.
TEST_P(ShortcutsTest, ControlKeysPostTheirCommandsOnBothLayouts) {
    newDocument(mode, 6, 5);
    struct Row {
        uint8_t typed;
        bool shift;
        Command painterCommand, animatorCommand;
    };
    const Row rows[] = {
        {0x13, false, Command::SavePictureInPlace, Command::SaveAnimationInPlace},
        {0xFB, false, Command::SavePictureInPlace, Command::SaveAnimationInPlace}, // ы
        {0x13, true, Command::SavePicture, Command::SaveAnimation},
        {0xDB, true, Command::SavePicture, Command::SaveAnimation}, // Ы
        {0x0F, false, Command::OpenPicture, Command::OpenAnimation},
        {0xF9, false, Command::OpenPicture, Command::OpenAnimation}, // щ
        {0x0E, false, Command::NewPicture, Command::NewAnimation},
        {0xF2, false, Command::NewPicture, Command::NewAnimation}, // т
    };
    for (const Row& row : rows) {
        platform.posted.clear();
        platform.held = {HeldKey::Control};
        if (row.shift)
            platform.held.insert(HeldKey::Shift);
        type(row.typed);
        EXPECT_EQ(platform.posted,
                  std::vector<Command>{painter() ? row.painterCommand : row.animatorCommand})
            << int(row.typed);
    }
    // Without Control the letters are plain characters: nothing is posted.
    platform.posted.clear();
    platform.held.clear();
    for (uint8_t c : {uint8_t('s'), uint8_t(0xFB), uint8_t('o'), uint8_t('n')})
        type(c);
    EXPECT_TRUE(platform.posted.empty());
}

TEST_P(ShortcutsTest, ControlZUndoesAndControlYOrShiftZRedoOnBothLayouts) {
    newDocument(mode, 6, 5);
    if (!painter()) {
        // A second frame: the Z key steps frames, which Control+Z must not do.
        m().document->insertFrameAfter(0);
        m().document->setCurrentFrame(0);
    }
    paint();
    auto stroke = [&] {
        layer().setPixel(1, 1, red);
        recordState(e, mode);
    };
    stroke();
    ASSERT_EQ(layer().pixel(1, 1), red);
    struct Row {
        uint8_t typed;
        std::set<HeldKey> held;
        Color expected;
    };
    const Row rows[] = {
        {0x1A, {HeldKey::Control}, colors::transparent}, // Control+Z
        {0x19, {HeldKey::Control}, red},                 // Control+Y
        {0xFF, {HeldKey::Control}, colors::transparent}, // Control+я
        {0xED, {HeldKey::Control}, red},                 // Control+н
        {0x1A, {HeldKey::Control}, colors::transparent}, //
        {0x1A, {HeldKey::Control, HeldKey::Shift}, red}, // Control+Shift+Z
        {0xFF, {HeldKey::Control}, colors::transparent}, //
        {0xDF, {HeldKey::Control, HeldKey::Shift}, red}, // Control+Shift+Я
    };
    for (const Row& row : rows) {
        press(row.typed, row.held);
        EXPECT_EQ(layer().pixel(1, 1), row.expected) << int(row.typed);
        EXPECT_EQ(m().document->currentFrameIndex(), 0) << "no frame step";
    }
}

TEST_P(ShortcutsTest, ThePartKeysAndTheControlFillWorkAsBefore) {
    newDocument(mode, 6, 5);
    paint();
    // The comma and full-stop keys still undo and redo.
    layer().setPixel(1, 1, red);
    recordState(e, mode);
    type(',');
    EXPECT_EQ(layer().pixel(1, 1), colors::transparent);
    type('.');
    EXPECT_EQ(layer().pixel(1, 1), red);
    // Holding Control alone still makes the fill the tool, and its release gives the tool back.
    e.currentTool = Tool::Pencil;
    platform.held = {HeldKey::Control};
    paint();
    EXPECT_EQ(e.currentTool, Tool::FloodFill);
    platform.held.clear();
    paint();
    EXPECT_EQ(e.currentTool, Tool::Pencil);
    // The G key still switches modes, on both layouts.
    const Mode other = painter() ? Mode::Animator : Mode::Painter;
    type(0xEF);
    EXPECT_EQ(e.shownMode, other);
}

INSTANTIATE_TEST_SUITE_P(BothModes, ShortcutsTest, ::testing::Values(Mode::Painter, Mode::Animator),
                         test::modeTestName);

} // namespace
