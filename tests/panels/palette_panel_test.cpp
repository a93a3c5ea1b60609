// SPDX-License-Identifier: GPL-3.0-or-later
// The palette panel through whole frames in both modes: choosing colours, opening the picker
// from a chosen swatch, the grid's right limit, the replacement view and its replace buttons.
#include "LayerPanelScenario.h"

namespace vork::test {
namespace {

struct PalettePanel : LayerPanelScenario {
    void SetUp() override {
        LayerPanelScenario::SetUp();
        makeToolButtons();
        auto& small = e.colour.palettes.small;
        for (int id = 3; id < smallPaletteSize; ++id)
            small[size_t(id)].color = Color::rgb(id, 255 - id, 40);
        e.colour.palettes.fixSmallPaletteEntries();
    }
    Rect panel() { return layoutOf(e, mode).palette; }
    // The centre of the grid swatch of a small-palette entry (3..110).
    std::pair<int, int> gridSwatch(int id) {
        const int column = (id - 3) / 3, row = (id - 3) % 3;
        return {panel().x + 54 + 18 * column + 9, panel().y + 9 + 18 * row + 9};
    }
    std::pair<int, int> fixedSwatch(int id) { return {panel().x + 42, panel().y + 18 + 18 * id}; }
    void clickToggle() { click(panel().x + 15, panel().y + 16); }
    int pairTop() { return panel().y + (mode == Mode::Animator ? 8 : 9); }
    std::pair<int, int> pairSwatch(int k, bool second) {
        return {panel().x + 30 + 25 * k + 10, pairTop() + (second ? 40 : 0) + 7};
    }
    std::pair<int, int> replaceButton(int k) {
        return {panel().x + 30 + 25 * k + 10, pairTop() + 27};
    }
    void setPair(int k, Color from, Color to) {
        e.colour.palettes.replacement[size_t(2 * k)].color = from;
        e.colour.palettes.replacement[size_t(2 * k + 1)].color = to;
    }
    Color pairColour(int k, bool second) {
        return e.colour.palettes.replacement[size_t(2 * k + (second ? 1 : 0))].color;
    }
};

INSTANTIATE_TEST_SUITE_P(BothModes, PalettePanel, ::testing::Values(Mode::Painter, Mode::Animator),
                         test::modeTestName);

TEST_P(PalettePanel, ASecondClickOnTheChosenSwatchOpensThePicker) {
    make();
    clickScreen(gridSwatch(7));
    EXPECT_EQ(e.colour.currentSwatch, 7);
    EXPECT_EQ(e.colour.currentColor, Color::rgb(7, 248, 40));
    EXPECT_FALSE(e.colour.smallPickerOpen);
    clickScreen(gridSwatch(7));
    EXPECT_TRUE(e.colour.smallPickerOpen);
    EXPECT_EQ(e.currentTool, Tool::None);
    EXPECT_EQ(e.colour.savedTool, Tool::Pencil);
    // A press on the palette lies outside the picker: it closes the picker, gives the tool
    // back, and the click then chooses its swatch as usual.
    clickScreen(gridSwatch(10));
    EXPECT_FALSE(e.colour.smallPickerOpen);
    EXPECT_EQ(e.currentTool, Tool::Pencil);
    EXPECT_EQ(e.colour.currentSwatch, 10);
}

TEST_P(PalettePanel, TheFixedSwatchesChooseButNeverOpenThePicker) {
    make();
    clickScreen(fixedSwatch(1));
    clickScreen(fixedSwatch(1));
    EXPECT_EQ(e.colour.currentSwatch, 1);
    EXPECT_EQ(e.colour.currentColor, colors::white);
    EXPECT_FALSE(e.colour.smallPickerOpen);
    clickScreen(fixedSwatch(0));
    EXPECT_EQ(e.colour.currentColor, colors::transparent);
}

TEST_P(PalettePanel, TheGridStopsAtTheRightHandColumn) {
    // The narrowest Painter window puts the column at 492: 19 columns, entries 3 to 59.
    resize(700, 494);
    make();
    if (mode == Mode::Painter) {
        ASSERT_EQ(layoutOf(e, mode).column.rect.x, 492);
    }
    // In both modes the column lies 400 or 401 pixels right of the panel: x + 18 < limit
    // leaves the columns 0 to 18.
    const int lastId = 3 + 3 * 18 + 2;
    clickScreen(gridSwatch(lastId));
    EXPECT_EQ(e.colour.currentSwatch, lastId);
    clickScreen(gridSwatch(lastId + 1)); // would lie under the column
    EXPECT_EQ(e.colour.currentSwatch, lastId);
    auto [x, y] = gridSwatch(lastId);
    EXPECT_EQ(screenPixel(x, y), Color::rgb(lastId, 255 - lastId, 40));
}

TEST_P(PalettePanel, TheReplacementPairsStopAtTheRightHandColumn) {
    // x + 20 < limit leaves the pairs 0 to 14 in both modes.
    resize(700, 494);
    make();
    clickToggle();
    clickScreen(pairSwatch(14, false));
    EXPECT_EQ(e.colour.currentReplacementSwatch, 28);
    clickScreen(pairSwatch(15, false));
    EXPECT_EQ(e.colour.currentReplacementSwatch, 28);
    setPair(15, colors::transparent, red);
    clickScreen(replaceButton(15));
    EXPECT_EQ(pairColour(15, true), red);
    EXPECT_EQ(countPixels(layer(), red), 0);
}

TEST_P(PalettePanel, TheReplacementViewChoosesTheColourPickAndClosesOnAnotherTool) {
    make();
    clickToggle();
    EXPECT_TRUE(e.colour.replacementViewOpen);
    EXPECT_EQ(e.currentTool, Tool::ColourPick);
    e.currentTool = Tool::FloodFill; // as a tool button of the command bar does
    paint();
    EXPECT_FALSE(e.colour.replacementViewOpen);
    // The toggle gives back the tool it took.
    clickToggle();
    clickToggle();
    EXPECT_FALSE(e.colour.replacementViewOpen);
    EXPECT_EQ(e.currentTool, Tool::FloodFill);
}

TEST_P(PalettePanel, ReplaceTurnsThePairsColourAndSwapsThePairSoASecondReplaceTurnsBack) {
    make();
    paintRect(layer(), {0, 0, 20, 40}, red);
    paintRect(layer(), {20, 0, 20, 40}, blue);
    e.mode(mode).history.reset();
    paint();
    setPair(2, red, blue);
    clickToggle();
    const int before = states();
    clickScreen(replaceButton(2));
    EXPECT_EQ(countPixels(layer(), blue), 40 * 40);
    EXPECT_EQ(pairColour(2, false), blue);
    EXPECT_EQ(pairColour(2, true), red);
    EXPECT_EQ(states(), before + 1);
    paint();
    EXPECT_EQ(canvasPixel(3, 3), blue);
    clickScreen(replaceButton(2));
    EXPECT_EQ(countPixels(layer(), red), 40 * 40);
    // The thumbnail follows the layer.
    Layer expected(0, 40, 40);
    copyPixels(layer(), expected.image);
    expected.rebuildThumbnail();
    EXPECT_TRUE(samePixels(doc().currentLayer().thumbnail, expected.thumbnail));
    // Undo goes back one replace.
    type(',');
    EXPECT_EQ(countPixels(layer(), blue), 40 * 40);
}

TEST_P(PalettePanel, ATransparentPairChangesOnlyFullyTransparentPixels) {
    make();
    layer().setPixel(0, 0, Color::fromArgb(0, 9, 9, 9));
    layer().setPixel(1, 0, red);
    setPair(0, colors::transparent, blue);
    clickToggle();
    clickScreen(replaceButton(0));
    EXPECT_EQ(layer().pixel(0, 0), Color::fromArgb(0, 9, 9, 9));
    EXPECT_EQ(layer().pixel(1, 0), red);
    EXPECT_EQ(countPixels(layer(), blue), 40 * 40 - 2);
}

TEST_P(PalettePanel, ReplaceKeepsTheTransparencyLock) {
    makeLayers({colors::transparent});
    layer().setPixel(5, 5, red);
    clickButton(LayerButtonAt::Lock);
    setPair(0, colors::transparent, blue);
    clickToggle();
    clickScreen(replaceButton(0));
    EXPECT_EQ(countPixels(layer(), blue), 0);
    EXPECT_EQ(layer().pixel(5, 5), red);
}

TEST_P(PalettePanel, TheSecondSwatchOfAPairOpensTheReplacementPickerOnASecondClick) {
    make();
    clickToggle();
    clickScreen(pairSwatch(3, false));
    EXPECT_EQ(e.colour.currentReplacementSwatch, 6);
    clickScreen(pairSwatch(3, true));
    EXPECT_EQ(e.colour.currentReplacementSwatch, 7);
    EXPECT_FALSE(e.colour.replacementPickerOpen);
    clickScreen(pairSwatch(3, true));
    EXPECT_TRUE(e.colour.replacementPickerOpen);
    EXPECT_EQ(e.currentTool, Tool::None);
    // The view stays open while its picker is.
    paint();
    EXPECT_TRUE(e.colour.replacementViewOpen);
}

TEST_P(PalettePanel, TheColourPickWritesIntoTheChosenPairSwatchWhileTheViewIsOpen) {
    make();
    layer().setPixel(6, 6, green);
    const Color drawing = e.colour.currentColor;
    clickToggle();
    clickScreen(pairSwatch(1, true));
    press(6.5f, 6.5f);
    release();
    EXPECT_EQ(pairColour(1, true), green);
    EXPECT_EQ(e.colour.currentColor, drawing);
}

TEST_P(PalettePanel, WithoutADocumentThereIsNoReplaceButton) {
    paint();
    setPair(0, red, blue);
    clickToggle();
    clickScreen(replaceButton(0));
    EXPECT_EQ(pairColour(0, false), red);
}

} // namespace
} // namespace vork::test
