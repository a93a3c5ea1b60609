// SPDX-License-Identifier: GPL-3.0-or-later
// Opening and saving the picture and the animation through the command bar's buttons.
#include "canvas/CanvasView.h"
#include "commands/FileMessages.h"
#include "files/AnimationFile.h"
#include "files/PictureFile.h"
#include "support/CommandScenario.h"
#include "support/TempDir.h"
#include "support/WriteProtection.h"
#include "ui/Commands.h"
#include "ui/Layout.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace vork;
using vork::test::blue;
using vork::test::red;

namespace {

struct DocumentFilesTest : test::BothModesCommandScenario {
    const char* extension() const { return painter() ? ".trnl" : ".gelm"; }
    Document& doc() { return *m().document; }

    void clickOpen() { clickButton(test::columnSecond, test::rowFile); }
    void clickSave() { clickButton(test::columnThird, test::rowFile); }

    // A document with two layers and, for the animation, two frames, a few pixels and one
    // changed palette colour.
    void makeWork() {
        newDocument(mode, 12, 9);
        Frame& f = doc().current();
        f.appendLayer();
        f.current().image.setPixel(3, 4, red);
        f.current().opacity = 77;
        if (!painter()) {
            doc().insertFrameAfter(0);
            doc().current().current().image.setPixel(5, 5, blue);
            doc().current().delay = 250;
        }
        e.colour.palettes.small[40].color = Color::fromArgb(200, 1, 2, 3);
        paint();
    }
    std::string savedFile() {
        platform.saveAnswers.push_back(dir.file("work.png"));
        clickSave();
        return dir.file(std::string("work") + extension());
    }
};

TEST_P(DocumentFilesTest, SaveAndOpenRoundTripThroughTheButtons) {
    makeWork();
    const std::string file = savedFile();
    ASSERT_TRUE(std::filesystem::exists(file)) << "the typed extension is replaced";
    EXPECT_FALSE(std::filesystem::exists(dir.file("work.png")));
    ASSERT_EQ(platform.choosersShown.size(), 1u);
    const FileChooser& save = platform.choosersShown[0];
    EXPECT_EQ(save.title,
              painter() ? "Сохранить файл формата tarnel" : "Сохранить анимацию в формате gelum");
    EXPECT_EQ(save.initialFolder, painter() ? "tarnel" : "gelum");
    EXPECT_EQ(save.defaultExtension, extension());
    ASSERT_EQ(save.filters.size(), 1u);
    EXPECT_EQ(save.filters[0].second, std::string("*") + extension());
    EXPECT_TRUE(platform.messages.empty());

    // Change everything the file holds, then open it again.
    const int frames = doc().frameCount();
    newDocument(mode, 30, 30);
    e.colour.palettes.small[40].color = colors::white;
    e.mode(mode).zoomIndex = 12;
    paint();
    platform.openAnswers.push_back(file);
    clickOpen();

    const FileChooser& open = platform.choosersShown.back();
    EXPECT_EQ(open.title,
              painter() ? "Открыть файл формата tarnel" : "Открыть анимацию формата gelum");
    EXPECT_EQ(open.defaultExtension, "");
    EXPECT_EQ(e.chooserNames.*(painter() ? &ChooserNames::picture : &ChooserNames::animation), file)
        << "open and save share the format's remembered name";
    ASSERT_TRUE(platform.messages.empty());
    EXPECT_EQ(doc().width, 12);
    EXPECT_EQ(doc().height, 9);
    EXPECT_EQ(e.mode(mode).width, 12) << "the size follows the opened document";
    EXPECT_EQ(doc().frameCount(), frames);
    const Frame& first = doc().frame(0);
    ASSERT_EQ(first.layerCount(), 2);
    EXPECT_EQ(first.layer(1).image.pixel(3, 4), red);
    EXPECT_EQ(first.layer(1).opacity, 77);
    if (!painter()) {
        EXPECT_EQ(doc().frame(1).layer(0).image.pixel(5, 5), blue);
        EXPECT_EQ(doc().frame(1).delay, 250);
    }
    EXPECT_EQ(e.colour.palettes.small[40].color, Color::fromArgb(200, 1, 2, 3));
    EXPECT_EQ(m().scratch.width(), 12) << "the aftermath ran";

    // The next frame paints the opened document and starts its history.
    paint();
    ASSERT_TRUE(m().history);
    EXPECT_EQ(m().historyLayer, doc().currentLayer().serial);
}

// A file whose first three palette entries are not the panel's fixed colours is saved again
// byte for byte; the panel still shows and chooses transparent, white and black.
TEST_P(DocumentFilesTest, AnOpenedPaletteComesWholeAndThePanelKeepsItsFixedSwatches) {
    makeWork();
    const Color odd[3] = {Color::fromArgb(255, 10, 20, 30), Color::fromArgb(128, 1, 2, 3),
                          Color::fromArgb(0, 9, 9, 9)};
    for (int i = 0; i < 3; ++i)
        e.colour.palettes.small[size_t(i)].color = odd[i];
    const std::string file = savedFile();
    const std::string bytes = test::readBytes(file);

    e.colour.palettes.fixSmallPaletteEntries();
    newDocument(mode, 5, 5);
    platform.openAnswers.push_back(file);
    clickOpen();
    ASSERT_TRUE(platform.messages.empty());
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(e.colour.palettes.small[size_t(i)].color, odd[i]) << "entry " << i;
    platform.saveAnswers.push_back(dir.file("again"));
    clickSave();
    EXPECT_EQ(test::readBytes(dir.file(std::string("again") + extension())), bytes);

    // The fixed swatches: white and black in the middle of the second and third, and a click
    // on the second chooses white, whatever the entries hold.
    paint();
    const Rect panel = layoutOf(e, mode).palette;
    const int x = panel.x + 33 + 9;
    EXPECT_EQ(back.pixel(x, panel.y + 27 + 9), colors::white);
    EXPECT_EQ(back.pixel(x, panel.y + 45 + 9), colors::black);
    click(x, panel.y + 27 + 9);
    EXPECT_EQ(e.colour.currentSwatch, 1);
    EXPECT_EQ(e.colour.currentColor, colors::white);
    EXPECT_EQ(e.colour.palettes.small[1].color, odd[1]) << "the document's palette is kept";
}

TEST_P(DocumentFilesTest, TheTwoFormatsRememberTheirNamesApart) {
    makeWork();
    savedFile();
    const std::string& other =
        e.chooserNames.*(painter() ? &ChooserNames::animation : &ChooserNames::picture);
    EXPECT_TRUE(other.empty());
    EXPECT_TRUE(e.chooserNames.smallPalette.empty());
}

TEST_P(DocumentFilesTest, CancelledChoosersChangeNothingAndSaveNeedsADocument) {
    // Without a document the save button opens no chooser.
    m().document.reset();
    clickSave();
    EXPECT_TRUE(platform.choosersShown.empty());

    makeWork();
    Document* before = &doc();
    clickOpen(); // no answer: cancelled
    clickSave();
    EXPECT_EQ(platform.choosersShown.size(), 2u);
    EXPECT_EQ(&doc(), before);
    EXPECT_TRUE(platform.messages.empty());
    EXPECT_TRUE(std::filesystem::is_empty(dir.path));
    EXPECT_TRUE(e.input.inputEnabled);
}

TEST_P(DocumentFilesTest, InputIsDisabledWhileTheChooserIsOpen) {
    makeWork();
    bool enabledInChooser = true;
    platform.onDialog = [&] { enabledInChooser = e.input.inputEnabled; };
    clickOpen();
    EXPECT_FALSE(enabledInChooser);
    EXPECT_TRUE(e.input.inputEnabled);
}

TEST_P(DocumentFilesTest, ADamagedFileLeavesDocumentPaletteViewAndHistoryAlone) {
    makeWork();
    const std::string file = savedFile();
    // A stroke on the open document, so its history holds something to undo.
    e.currentTool = Tool::Pencil;
    doc().currentLayer().image.setPixel(1, 1, red);
    paint();
    UndoHistory* history = m().history.get();
    ASSERT_NE(history, nullptr);
    const int states = history->stateCount();
    Document* before = &doc();
    const Palettes palettes = e.colour.palettes;
    const int zoom = m().zoomIndex;
    const CanvasGeometry view = m().canvas;

    // The file is cut off in the middle of its pixel runs.
    const std::string bytes = test::readBytes(file);
    test::writeBytes(file, bytes.substr(0, bytes.size() - 5));
    e.colour.palettes.small[40].color = colors::white; // what the file would overwrite
    platform.openAnswers.push_back(file);
    clickOpen();

    EXPECT_EQ(&doc(), before);
    EXPECT_EQ(doc().currentLayer().image.pixel(1, 1), red);
    EXPECT_EQ(e.colour.palettes.small[40].color, colors::white);
    EXPECT_EQ(e.colour.palettes.small[41].color, palettes.small[41].color);
    EXPECT_EQ(m().history.get(), history);
    EXPECT_EQ(history->stateCount(), states);
    EXPECT_EQ(m().zoomIndex, zoom);
    EXPECT_EQ(m().canvas.pictureX, view.pictureX);
    EXPECT_EQ(m().canvas.pictureWidth, view.pictureWidth);
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].first, openFailureCaption);
    EXPECT_NE(platform.messages[0].second.find(file), std::string::npos) << "names the file";
    EXPECT_NE(platform.messages[0].second.find("обрезан"), std::string::npos)
        << platform.messages[0].second;

    // A file of the other format is refused by name.
    const std::string wrong = dir.file("wrong");
    test::writeBytes(wrong, painter() ? "gelm-and-more-bytes" : "trnl-and-more-bytes");
    platform.openAnswers.push_back(wrong);
    clickOpen();
    EXPECT_EQ(&doc(), before);
    ASSERT_EQ(platform.messages.size(), 2u);
    EXPECT_NE(platform.messages[1].second.find(painter() ? "tarnel" : "gelum"), std::string::npos);

    // A missing file says so too.
    platform.openAnswers.push_back(dir.file("missing") + extension());
    clickOpen();
    EXPECT_EQ(platform.messages.size(), 3u);
}

TEST_P(DocumentFilesTest, AFailedSaveIsShownAndLeavesTheOldFileByteForByte) {
    makeWork();
    const std::string file = savedFile();
    const std::string old = test::readBytes(file);
    doc().currentLayer().image.setPixel(0, 0, blue); // the next save would differ

    test::WriteProtection protect(dir.path.string());
    if (!protect.holds())
        GTEST_SKIP() << "the folder cannot be write-protected here";
    platform.saveAnswers.push_back(file);
    clickSave();
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].first, saveFailureCaption);
    EXPECT_NE(platform.messages[0].second.find(file), std::string::npos);
    EXPECT_EQ(test::readBytes(file), old);
}

TEST_P(DocumentFilesTest, ANameThatIsAFolderIsRefusedWithAMessage) {
    makeWork();
    std::filesystem::create_directory(dir.file(std::string("folder") + extension()));
    platform.saveAnswers.push_back(dir.file("folder"));
    clickSave();
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_TRUE(std::filesystem::is_directory(dir.file(std::string("folder") + extension())));
}

TEST_P(DocumentFilesTest, ProgressIsReportedAndAStoppedOpenChangesNothing) {
    makeWork();
    const std::string file = savedFile();
    ASSERT_FALSE(platform.progressSteps.empty()) << "the save reports its layers";
    const auto [done, total] = platform.progressSteps.back();
    EXPECT_EQ(done, total);

    Document* before = &doc();
    platform.cancelProgressAtStep = 1;
    platform.openAnswers.push_back(file);
    clickOpen();
    EXPECT_EQ(&doc(), before);
    EXPECT_TRUE(platform.messages.empty()) << "the user stopped it: nothing to report";
}

INSTANTIATE_TEST_SUITE_P(BothModes, DocumentFilesTest,
                         ::testing::Values(Mode::Painter, Mode::Animator));

} // namespace
