// SPDX-License-Identifier: GPL-3.0-or-later
// Which operations mark a document as changed since it was made, opened or saved, and which
// leave it clean: what a file of the document holds decides.
#include "commands/Autosave.h"
#include "commands/DocumentFiles.h"
#include "commands/ImageCommands.h"
#include "commands/SizeCommands.h"
#include "gfx/ImageCodec.h"
#include "panels/LayerPanelScenario.h"
#include "panels/PalettePanel.h"
#include "support/TempDir.h"
#include "ui/Keys.h"

#include <gtest/gtest.h>

#include <functional>
#include <utility>
#include <vector>

namespace vork {
namespace {

using test::blue;
using test::green;
using test::red;

struct ChangeMarks : test::LayerPanelScenario {
    bool modified() { return e.mode(mode).changes.modified; }
    // What a save does to the marks: the document matches its file again.
    void saved() { documentMatchesFile(e, mode); }
    // Runs `operation` on a clean document and tells whether it marked it.
    bool marks(const std::function<void()>& operation) {
        saved();
        operation();
        return modified();
    }
};

INSTANTIATE_TEST_SUITE_P(BothModes, ChangeMarks, ::testing::Values(Mode::Painter, Mode::Animator),
                         test::modeTestName);

TEST_P(ChangeMarks, ANewDocumentStartsCleanAndEveryToolChangeMarksIt) {
    make();
    EXPECT_FALSE(modified());
    const uint64_t before = e.mode(mode).changes.revision;
    drag(Tool::Pencil, 2, 2, 10, 10);
    EXPECT_TRUE(modified());
    EXPECT_GT(e.mode(mode).changes.revision, before);
    EXPECT_TRUE(marks([&] { drag(Tool::FilledRectangle, 12, 12, 20, 20); }));
    EXPECT_TRUE(marks([&] { drag(Tool::FloodFill, 30, 30, 30, 30); }));
    // A new document is clean again, whatever the old one held.
    newDocument(mode, 40, 40);
    EXPECT_FALSE(modified());
}

TEST_P(ChangeMarks, UndoAndRedoMarkTheDocument) {
    make();
    drag(Tool::Pencil, 2, 2, 10, 10);
    EXPECT_TRUE(marks([&] { type(','); }));
    EXPECT_EQ(layer().pixel(2, 2), colors::transparent);
    EXPECT_TRUE(marks([&] { type('.'); }));
    EXPECT_EQ(layer().pixel(2, 2), red);
}

TEST_P(ChangeMarks, EveryOperationOfTheLayerListMarksTheDocument) {
    makeLayers({red, green, blue});
    const std::vector<std::pair<const char*, std::function<void()>>> operations = {
        {"new", [&] { clickButton(test::LayerButtonAt::New); }},
        {"duplicate", [&] { clickButton(test::LayerButtonAt::Duplicate); }},
        {"clear", [&] { clickButton(test::LayerButtonAt::Clear); }},
        {"merge down", [&] { clickButton(test::LayerButtonAt::MergeDown); }},
        {"delete", [&] { clickButton(test::LayerButtonAt::Delete); }},
        {"visibility switch", [&] { clickVisibility(0); }},
        {"visibility key", [&] { type('r'); }},
        {"moved layer", [&] { dragRow(0, 1); }},
        {"opacity",
         [&] {
             const ColumnLayout c = column();
             click(c.rect.x + 65 + 30, c.opacityBoxY + 8);
         }},
    };
    for (const auto& [name, operation] : operations)
        EXPECT_TRUE(marks(operation)) << name;
}

TEST_P(ChangeMarks, WhatNoFileHoldsLeavesTheDocumentClean) {
    makeLayers({red, green, blue});
    const std::vector<std::pair<const char*, std::function<void()>>> operations = {
        {"another layer chosen", [&] { clickScreen(pickPoint(0)); }},
        {"a layer shown alone", [&] { clickAlone(1); }},
        {"the transparency lock", [&] { clickButton(test::LayerButtonAt::Lock); }},
        {"zoom", [&] { type('+'); }},
    };
    for (const auto& [name, operation] : operations)
        EXPECT_FALSE(marks(operation)) << name;
}

TEST_P(ChangeMarks, TheColourReplacementMarksTheDocument) {
    make();
    layer().fill(red);
    e.colour.palettes.replacement[0].color = red;
    e.colour.palettes.replacement[1].color = blue;
    EXPECT_TRUE(marks([&] { replacePair(e, mode, 0); }));
    EXPECT_EQ(layer().pixel(0, 0), blue);
}

TEST_P(ChangeMarks, TheSizeAndCanvasDialogsMarkTheDocumentOnlyWhenDone) {
    make();
    EXPECT_FALSE(marks([&] { runPictureSize(e, mode); })); // cancelled
    platform.pictureSizeAnswers.push_back({true, 20, 30, Interpolation::NearestNeighbor});
    EXPECT_TRUE(marks([&] { runPictureSize(e, mode); }));
    platform.canvasSizeAnswers.push_back({true, 50, 30, Anchor::Centre});
    EXPECT_TRUE(marks([&] { runCanvasSize(e, mode); }));
    EXPECT_EQ(doc().width, 50);
}

TEST_P(ChangeMarks, ASavedDocumentIsCleanAndAFailedSaveKeepsTheMark) {
    test::TempDir dir;
    make();
    drag(Tool::Pencil, 2, 2, 10, 10);
    platform.saveAnswers.push_back(dir.file("missing-folder/work"));
    EXPECT_FALSE(saveDocumentFile(e, mode));
    EXPECT_TRUE(modified());
    platform.saveAnswers.push_back(dir.file("work"));
    EXPECT_TRUE(saveDocumentFile(e, mode));
    EXPECT_FALSE(modified());

    // Opened again over a changed document: clean.
    drag(Tool::Pencil, 12, 2, 20, 10);
    platform.openAnswers.push_back(dir.file(mode == Mode::Painter ? "work.trnl" : "work.gelm"));
    ASSERT_TRUE(openDocumentFile(e, mode));
    EXPECT_FALSE(modified());
}

struct ChangeMarksOfImports : test::EditorScenario<> {};

TEST_F(ChangeMarksOfImports, AnImageOpenedAsAPictureIsInNoFileOfItsOwnYet) {
    test::TempDir dir;
    Bitmap image(5, 4);
    image.fill(red);
    ASSERT_TRUE(writePngFile(image, dir.file("red.png")));
    platform.openAnswers.push_back(dir.file("red.png"));
    ASSERT_TRUE(openImageAsNewPicture(e));
    EXPECT_TRUE(e.mode(Mode::Painter).changes.modified);
}

} // namespace
} // namespace vork
