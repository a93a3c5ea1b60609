// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/FrameCycle.h"
#include "app/Layout.h"
#include "app/WindowProcedure.h"
#include "commands/NewDocument.h"
#include "commands/PaletteChoosers.h"
#include "files/AnimationFile.h"
#include "support/FakePlatform.h"
#include "support/TempFolder.h"
#include "ui/Commands.h"
#include "ui/Layout.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <sstream>

using namespace vork;

namespace {
struct WindowTest : ::testing::Test {
    test::FakePlatform platform;
    Editor e{platform};
    void SetUp() override { onResize(e, 1000, 700); }
};
} // namespace

TEST_F(WindowTest, InputMessagesRecordStateAndAskForAPaint) {
    int before = platform.invalidations;
    onPointerMove(e, 120, 45);
    EXPECT_EQ(e.input.mouseX, 120);
    EXPECT_EQ(e.input.mouseY, 45);
    onLeftButtonDown(e);
    EXPECT_TRUE(e.input.mouseDown);
    onLeftButtonUp(e);
    EXPECT_FALSE(e.input.mouseDown);
    onCharacter(e, 'x');
    EXPECT_EQ(e.input.lastChar, 'x');
    onKey(e);
    onRightButtonDown(e);
    EXPECT_EQ(platform.invalidations - before, 6);
}

TEST_F(WindowTest, PressWhileADelayPopupHoldsThePointerCountsAsReleased) {
    e.input.delayPopupActive = true;
    onLeftButtonDown(e);
    EXPECT_FALSE(e.input.mouseDown);
}

TEST_F(WindowTest, NoRepaintIsRequestedWhileInputIsDisabled) {
    e.input.inputEnabled = false;
    int before = platform.invalidations;
    onPointerMove(e, 1, 1);
    onCharacter(e, 'a');
    EXPECT_EQ(platform.invalidations, before);
}

TEST(CharacterBytes, CyrillicLettersGiveTheirCodePageBytes) {
    uint8_t b = 0;
    ASSERT_TRUE(characterByte(U'п', b));
    EXPECT_EQ(b, 0xEF);
    ASSERT_TRUE(characterByte(U'П', b));
    EXPECT_EQ(b, 0xCF);
    ASSERT_TRUE(characterByte(U'ё', b));
    EXPECT_EQ(b, 0xB8);
    ASSERT_TRUE(characterByte(U',', b));
    EXPECT_EQ(b, ',');
    EXPECT_FALSE(characterByte(U'漢', b)) << "characters the code page lacks are not typed";
}

TEST_F(WindowTest, ResizeLaysOutEveryPanel) {
    onResize(e, 1200, 800);
    EXPECT_EQ(e.panels.frame.rect(), (Rect{0, 705, 1200, 95}));
    EXPECT_EQ(e.panels.picker.width, 600);
    EXPECT_EQ(layoutOf(e, Mode::Painter).canvas.w, 889);
}

TEST_F(WindowTest, AboutAndKeyReferenceRunWithInputDisabled) {
    bool enabledDuringDialog = true;
    platform.onDialog = [&] { enabledDuringDialog = e.input.inputEnabled; };
    onCommand(e, Command::About);
    EXPECT_EQ(platform.aboutBoxes, 1);
    EXPECT_FALSE(enabledDuringDialog);
    EXPECT_TRUE(e.input.inputEnabled);
    enabledDuringDialog = true;
    onCommand(e, Command::KeyReference);
    EXPECT_EQ(platform.keyReferences, 1);
    EXPECT_FALSE(enabledDuringDialog);
    EXPECT_TRUE(e.input.inputEnabled);
}

TEST_F(WindowTest, ExitDestroysTheWindow) {
    onCommand(e, Command::Exit);
    EXPECT_TRUE(platform.destroyed);
}

TEST_F(WindowTest, NewAnimationWithOkMakesTheDocument) {
    e.animator.onion.on = true;
    e.selection.active = e.selection.lifted = true;
    platform.newDocScripts.push_back({std::nullopt, true, 32, 16});
    onCommand(e, Command::NewAnimation);
    ASSERT_TRUE(e.animation());
    EXPECT_EQ(platform.newDocOpenedWith.back(), (std::pair{300, 264}));
    const Document& a = *e.animation();
    EXPECT_EQ(a.width, 32);
    EXPECT_EQ(a.height, 16);
    EXPECT_EQ(a.frameCount(), 1);
    EXPECT_EQ(a.current().layerCount(), 1);
    EXPECT_EQ(a.current().current().id, 1);
    EXPECT_EQ(a.defaultDelay, 100);
    EXPECT_EQ(e.mode(Mode::Animator).width, 32);
    EXPECT_EQ(e.mode(Mode::Animator).scratch.width(), 32);
    EXPECT_FALSE(e.animator.onion.on);
    EXPECT_FALSE(e.selection.active);
    EXPECT_FALSE(e.selection.lifted);
    EXPECT_EQ(e.mode(Mode::Animator).canvasBackdrop.width(), e.panels.canvas.width);
    EXPECT_TRUE(e.input.inputEnabled);
}

TEST_F(WindowTest, PresetSurvivesCancelButMakesNoDocument) {
    platform.newDocScripts.push_back({std::pair{640, 480}, false, 0, 0});
    onCommand(e, Command::NewAnimation);
    EXPECT_FALSE(e.animation());
    EXPECT_EQ(e.mode(Mode::Animator).width, 640);
    EXPECT_EQ(e.mode(Mode::Animator).height, 480);
    platform.newDocScripts.push_back({std::nullopt, false, 0, 0});
    onCommand(e, Command::NewAnimation);
    EXPECT_EQ(platform.newDocOpenedWith.back(), (std::pair{640, 480}))
        << "the next dialog proposes it";
}

TEST_F(WindowTest, CancelledNewAnimationKeepsTheOldOne) {
    platform.newDocScripts.push_back({std::nullopt, true, 40, 30});
    onCommand(e, Command::NewAnimation);
    Document* old = e.animation().get();
    old->current().appendLayer();
    platform.newDocScripts.push_back({std::nullopt, false, 0, 0});
    onCommand(e, Command::NewAnimation);
    EXPECT_EQ(e.animation().get(), old);
    EXPECT_EQ(e.animation()->current().layerCount(), 2);
}

TEST_F(WindowTest, RefusedSizesMakeNoDocument) {
    for (auto [w, h] : {std::pair{0, 10}, {10, 0}, {5001, 10}, {-3, 10}}) {
        platform.newDocScripts.push_back({std::nullopt, true, w, h});
        onCommand(e, Command::NewPicture);
        EXPECT_FALSE(e.picture()) << w << " x " << h;
    }
    EXPECT_EQ(e.mode(Mode::Painter).width, 300);
}

TEST_F(WindowTest, NewPictureReplacesTheOldOneAndRunsTheAftermathEitherWay) {
    platform.newDocScripts.push_back({std::nullopt, true, 64, 48});
    onCommand(e, Command::NewPicture);
    ASSERT_TRUE(e.picture());
    e.picture()->current().appendLayer();
    EXPECT_EQ(e.painter.caches.below.image.width(), 64);
    EXPECT_TRUE(e.mode(Mode::Painter).redrawRequest);
    EXPECT_EQ(e.picture()->defaultDelay, 0);

    platform.newDocScripts.push_back({std::nullopt, true, 20, 10});
    onCommand(e, Command::NewPicture);
    EXPECT_EQ(e.picture()->current().layerCount(), 1) << "the old layers are gone";
    EXPECT_EQ(e.picture()->width, 20);
    EXPECT_EQ(e.mode(Mode::Painter).scratch.width(), 20);

    e.mode(Mode::Painter).redrawRequest = false;
    e.selection.active = true;
    platform.newDocScripts.push_back({std::pair{128, 128}, false, 0, 0});
    onCommand(e, Command::NewPicture);
    EXPECT_EQ(e.picture()->width, 20) << "cancel keeps the picture";
    EXPECT_EQ(e.mode(Mode::Painter).scratch.width(), 128) << "but the scratch follows the size";
    EXPECT_EQ(e.painter.caches.above.image.width(), 128);
    EXPECT_FALSE(e.selection.active);
    EXPECT_TRUE(e.mode(Mode::Painter).redrawRequest);
}

TEST_F(WindowTest, UnbuiltCommandsDoNothingButRestoreInput) {
    for (Command id : {Command::ImportGif, Command::ExportPng, Command::InsertFromFile,
                       Command::AnimationPictureSize, Command::AnimationCanvasSize,
                       Command::PicturePictureSize, Command::PictureCanvasSize, Command::Merge}) {
        onCommand(e, id);
        EXPECT_TRUE(e.input.inputEnabled);
        EXPECT_FALSE(e.animation());
        EXPECT_FALSE(e.picture());
    }
}

TEST_F(WindowTest, DestroyWritesTheSettingsAndBothPalettes) {
    test::TempWorkingFolder folder;
    std::filesystem::create_directory("data");
    e.mode(Mode::Animator).width = 640;
    e.mode(Mode::Animator).height = 480;
    e.colour.palettes.small[5].color = Color::fromArgb(200, 1, 2, 3);
    platform.newDocScripts.push_back({std::nullopt, true, 8, 8});
    onCommand(e, Command::NewAnimation);
    onDestroy(e);
    EXPECT_FALSE(e.input.inputEnabled);
    EXPECT_FALSE(e.animation()) << "the animation is released";
    EXPECT_TRUE(platform.messages.empty());
    std::ifstream settings("data/property.txt", std::ios::binary);
    std::string text((std::istreambuf_iterator<char>(settings)), {});
    EXPECT_NE(text.find("8 8"), std::string::npos) << text;
    EXPECT_TRUE(std::filesystem::exists("data/defbpal.bpal"));
    std::ifstream small("data/deflpal.lpal", std::ios::binary);
    std::string pal((std::istreambuf_iterator<char>(small)), {});
    EXPECT_NE(pal.find("200 1 2 3"), std::string::npos);
}

TEST_F(WindowTest, DestroyWithoutADataFolderReportsEachFileInOrder) {
    test::TempWorkingFolder folder;
    onDestroy(e);
    ASSERT_EQ(platform.messages.size(), 3u);
    EXPECT_EQ(platform.messages[0].first, "Ошибка сохранения");
    EXPECT_EQ(platform.messages[0].second, "Файл свойств не сохранен");
    EXPECT_EQ(platform.messages[1].second, "Файл Большой палитры не сохранен");
    EXPECT_EQ(platform.messages[2].second, "Файл малой палитры не сохранен");
}

TEST_F(WindowTest, ASignalDrivenCloseReportsOnStandardErrorWithoutABox) {
    test::TempWorkingFolder folder;
    std::ostringstream err;
    EXPECT_FALSE(onDestroy(e, CloseCause::Signal, err));
    EXPECT_TRUE(platform.messages.empty()) << "nobody may be there to answer a box";
    const std::string text = err.str();
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 3) << text;
    for (const char* name : {"data/property.txt", "data/defbpal.bpal", "data/deflpal.lpal"})
        EXPECT_NE(text.find(name), std::string::npos) << name << " in " << text;
}

TEST_F(WindowTest, ASignalDrivenCloseThatWritesEverythingSucceeds) {
    test::TempWorkingFolder folder;
    std::filesystem::create_directory("data");
    std::ostringstream err;
    EXPECT_TRUE(onDestroy(e, CloseCause::Signal, err));
    EXPECT_TRUE(err.str().empty()) << err.str();
}

TEST_F(WindowTest, AFileNamedAtStartOpensInItsModeOrSaysWhyNot) {
    test::TempWorkingFolder folder;
    Document walk(7, 5, 100);
    walk.insertFrameAfter(0);
    walk.frame(1).layer(0).image.setPixel(3, 2, Color::rgb(255, 0, 0));
    ASSERT_TRUE(writeAnimationFile("walk.gelm", walk, makePalette(smallPaletteSize)));
    e.shownMode = Mode::Painter;
    EXPECT_TRUE(openFileAtStart(e, Mode::Animator, "walk.gelm"));
    EXPECT_EQ(e.shownMode, Mode::Animator) << "the Animator is shown";
    ASSERT_TRUE(e.animation());
    EXPECT_EQ(e.animation()->frameCount(), 2);
    EXPECT_EQ(e.animation()->frame(1).layer(0).image.pixel(3, 2), Color::rgb(255, 0, 0));

    std::ofstream("broken.trnl") << "trnl and nothing more";
    EXPECT_FALSE(openFileAtStart(e, Mode::Painter, "broken.trnl"));
    EXPECT_EQ(e.shownMode, Mode::Painter);
    EXPECT_FALSE(e.picture());
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_NE(platform.messages[0].second.find("broken.trnl"), std::string::npos);
}

TEST_F(WindowTest, AFileNamedAtStartNeverReplacesARestoredUnsavedDocument) {
    test::TempWorkingFolder folder;
    Document walk(7, 5, 100);
    ASSERT_TRUE(writeAnimationFile("walk.gelm", walk, makePalette(smallPaletteSize)));
    platform.newDocScripts.push_back({std::nullopt, true, 12, 9});
    onCommand(e, Command::NewAnimation);
    Document* restored = e.animation().get();
    markDocumentChanged(e, Mode::Animator);
    EXPECT_FALSE(openFileAtStart(e, Mode::Animator, "walk.gelm"));
    EXPECT_EQ(e.animation().get(), restored);
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_NE(platform.messages[0].second.find("walk.gelm"), std::string::npos);
}

// A save chooser asks before it replaces a file, as a desktop chooser does; only the palette
// choosers, whose files are the user's working set, replace in silence.
TEST_F(WindowTest, EverySaveChooserButThePalettesOnesConfirmsOverwriting) {
    e.mode(Mode::Painter).width = e.mode(Mode::Animator).width = 4;
    e.mode(Mode::Painter).height = e.mode(Mode::Animator).height = 3;
    makeNewDocument(e, Mode::Painter);
    makeNewDocument(e, Mode::Animator);
    const std::pair<const char*, std::function<void()>> choosers[] = {
        {"picture", [&] { onCommand(e, Command::SavePicture); }},
        {"animation", [&] { onCommand(e, Command::SaveAnimation); }},
        {"picture PNG", [&] { onCommand(e, Command::ExportPicture); }},
        {"frames PNG", [&] { onCommand(e, Command::ExportPng); }},
        {"GIF", [&] { onCommand(e, Command::ExportGif); }},
        {"sprite sheet", [&] { onCommand(e, Command::ExportSpriteSheet); }},
        {"small palette", [&] { saveSmallPalette(e); }},
        {"big palette", [&] { saveBigPalette(e); }},
    };
    for (const auto& [name, run] : choosers) {
        const size_t shown = platform.choosersShown.size();
        run(); // cancelled: nothing answered
        ASSERT_EQ(platform.choosersShown.size(), shown + 1) << name;
        const bool palette = std::string(name).find("palette") != std::string::npos;
        EXPECT_EQ(platform.choosersShown.back().confirmOverwrite, !palette) << name;
    }
}
