// SPDX-License-Identifier: GPL-3.0-or-later
// The colour picker through whole frames in both modes and both forms: select then apply,
// cancel by a press outside or the right button, each form's column limit, and the big palette
// sampled from an image.
#include "LayerPanelScenario.h"
#include "support/TempDir.h"

#include <QImage>

namespace vork::test {
namespace {

struct ColourPicker : LayerPanelScenario {
    void SetUp() override {
        LayerPanelScenario::SetUp();
        makeToolButtons();
        auto& big = e.colour.palettes.big;
        for (int id = 0; id < bigPaletteSize; ++id)
            big[size_t(id)].color = Color::fromArgb(255 - id % 7, id % 256, id / 3, 77);
        make();
    }
    Rect P() { return layoutOf(e, mode).picker; }
    std::pair<int, int> cellOf(int id) {
        const int r = id / 48, c = id % 48;
        return {P().x + 11 + 12 * c + 6, P().y + 35 + 12 * r + 6};
    }
    // Opens the small picker for small-palette entry `id` through the palette panel.
    void openSmallPicker(int id) {
        const Rect pal = layoutOf(e, mode).palette;
        const int column = (id - 3) / 3, row = (id - 3) % 3;
        const std::pair<int, int> at{pal.x + 54 + 18 * column + 9, pal.y + 9 + 18 * row + 9};
        clickScreen(at);
        clickScreen(at);
        ASSERT_TRUE(e.colour.smallPickerOpen);
    }
    void openReplacementPicker(int k) {
        const Rect pal = layoutOf(e, mode).palette;
        click(pal.x + 15, pal.y + 16);
        const int top = pal.y + (mode == Mode::Animator ? 8 : 9);
        const std::pair<int, int> at{pal.x + 30 + 25 * k + 10, top + 47};
        clickScreen(at);
        clickScreen(at);
        ASSERT_TRUE(e.colour.replacementPickerOpen);
    }
    Color big(int id) { return e.colour.palettes.big[size_t(id)].color; }
    // One frame with the right button held.
    void rightButtonFrame() {
        platform.held.insert(HeldKey::RightButton);
        paint();
        platform.held.clear();
    }
};

INSTANTIATE_TEST_SUITE_P(BothModes, ColourPicker, ::testing::Values(Mode::Painter, Mode::Animator),
                         test::modeTestName);

TEST_P(ColourPicker, AClickSelectsASecondAppliesToTheSwatchAndTheDrawingColour) {
    e.colour.palettes.big[100].color = Color::rgb(10, 200, 30);
    openSmallPicker(20);
    clickScreen(cellOf(100));
    EXPECT_EQ(e.colour.currentBigSwatch, 100);
    EXPECT_TRUE(e.colour.smallPickerOpen);
    // The selected colour's box shows it from the next frame on.
    paint();
    EXPECT_EQ(screenPixel(P().x + 120, P().y + 18), big(100));
    clickScreen(cellOf(100));
    EXPECT_FALSE(e.colour.smallPickerOpen);
    EXPECT_EQ(e.colour.palettes.small[20].color, big(100));
    EXPECT_EQ(e.colour.currentColor, big(100));
    EXPECT_EQ(e.currentTool, Tool::Pencil);
}

TEST_P(ColourPicker, TheReplacementFormNeverChangesTheDrawingColour) {
    const Color drawing = e.colour.currentColor;
    openReplacementPicker(4);
    clickScreen(cellOf(300));
    clickScreen(cellOf(300));
    EXPECT_FALSE(e.colour.replacementPickerOpen);
    EXPECT_EQ(e.colour.palettes.replacement[9].color, big(300));
    EXPECT_EQ(e.colour.currentColor, drawing);
    EXPECT_EQ(e.currentTool, Tool::ColourPick); // the replacement view's tool is back
    paint();
    EXPECT_TRUE(e.colour.replacementViewOpen);
}

TEST_P(ColourPicker, TheRightButtonCancelsAndGivesBackTheTool) {
    e.currentTool = Tool::SmoothLine;
    openSmallPicker(8);
    clickScreen(cellOf(5));
    const Color before = e.colour.palettes.small[8].color;
    rightButtonFrame();
    EXPECT_FALSE(e.colour.smallPickerOpen);
    EXPECT_EQ(e.currentTool, Tool::SmoothLine);
    EXPECT_EQ(e.colour.palettes.small[8].color, before);
}

TEST_P(ColourPicker, APressOutsideCancels) {
    openSmallPicker(8);
    atScreen(P().x - 3, P().y + 10);
    e.input.mouseDown = true;
    paint();
    e.input.mouseDown = false;
    paint();
    EXPECT_FALSE(e.colour.smallPickerOpen);
    EXPECT_EQ(e.currentTool, Tool::Pencil);
}

TEST_P(ColourPicker, ANarrowPickerShowsColumns0To29InBothForms) {
    ASSERT_EQ(P().w, 381);
    openSmallPicker(8);
    clickScreen(cellOf(29));
    EXPECT_EQ(e.colour.currentBigSwatch, 29);
    clickScreen(cellOf(30));
    EXPECT_EQ(e.colour.currentBigSwatch, 29);
    rightButtonFrame();
    openReplacementPicker(0);
    clickScreen(cellOf(48 + 29));
    EXPECT_EQ(e.colour.currentBigSwatch, 48 + 29);
    clickScreen(cellOf(48 + 30));
    EXPECT_EQ(e.colour.currentBigSwatch, 48 + 29);
}

TEST_P(ColourPicker, TheWidestPickerShowsAll48ColumnsInBothForms) {
    resize(1100, 700);
    ASSERT_EQ(P().w, 600);
    openSmallPicker(8);
    clickScreen(cellOf(767));
    EXPECT_EQ(e.colour.currentBigSwatch, 767);
    rightButtonFrame();
    openReplacementPicker(0);
    clickScreen(cellOf(47));
    EXPECT_EQ(e.colour.currentBigSwatch, 47);
}

TEST_P(ColourPicker, AnImageFillsTheGridOnePixelPerCell) {
    TempDir dir;
    QImage image(480, 160, QImage::Format_ARGB32);
    image.fill(qRgba(1, 2, 3, 255));
    image.setPixel(10, 10, qRgba(200, 100, 50, 255));
    const std::string path = dir.file("sample.png");
    ASSERT_TRUE(image.save(QString::fromStdString(path)));
    openSmallPicker(8);
    platform.openAnswers.push_back(path);
    click(P().x + 78, P().y + 18);
    EXPECT_EQ(big(49), Color::rgb(200, 100, 50));
    EXPECT_EQ(big(0), Color::rgb(1, 2, 3));
    ASSERT_FALSE(platform.choosersShown.empty());
    EXPECT_EQ(platform.choosersShown.back().title, "Открыть растр для создания палитры");
    EXPECT_TRUE(platform.messages.empty());
}

TEST_P(ColourPicker, AFileThatIsNoImageIsReportedAndLeavesTheGrid) {
    TempDir dir;
    const std::string path = dir.file("not-an-image.png");
    writeBytes(path, "plain text");
    const Color before = big(49);
    openSmallPicker(8);
    platform.openAnswers.push_back(path);
    click(P().x + 78, P().y + 18);
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].first, "Ошибка загрузки");
    EXPECT_EQ(platform.messages[0].second, "Файл растра не загружен");
    EXPECT_EQ(big(49), before);
    // A cancelled chooser shows nothing.
    click(P().x + 78, P().y + 18);
    EXPECT_EQ(platform.messages.size(), 1u);
}

} // namespace
} // namespace vork::test
