// SPDX-License-Identifier: GPL-3.0-or-later
// The layer list through whole frames in both modes: its buttons, rows, drags, switches,
// scrolling and opacity, checked on the document, the thumbnails, the undo history and the
// back buffer at the real places of the mode's layout.
#include "LayerPanelScenario.h"

namespace vork::test {
namespace {

const Color yellow = Color::rgb(255, 255, 0);
const Color currentRowBlue = Color::rgb(0, 0, 139);

struct LayerPanel : LayerPanelScenario {
    void SetUp() override {
        LayerPanelScenario::SetUp();
        makeToolButtons();
    }
};

INSTANTIATE_TEST_SUITE_P(BothModes, LayerPanel, ::testing::Values(Mode::Painter, Mode::Animator),
                         test::modeTestName);

TEST_P(LayerPanel, DeleteKeepsTheLastLayerAndOtherwiseMakesTheOneAboveCurrent) {
    makeLayers({red});
    clickButton(LayerButtonAt::Delete);
    EXPECT_EQ(frame().layerCount(), 1);

    makeLayers({red, green, blue});
    frame().setCurrentLayer(1);
    clickButton(LayerButtonAt::Delete);
    ASSERT_EQ(frame().layerCount(), 2);
    EXPECT_EQ(frame().current().image.pixel(0, 0), blue);
    // The canvas shows what is left: blue over red.
    paint();
    EXPECT_EQ(canvasPixel(3, 3), blue);
    // A hidden current layer is not deleted.
    clickVisibility(frame().currentLayerIndex());
    clickButton(LayerButtonAt::Delete);
    EXPECT_EQ(frame().layerCount(), 2);
}

TEST_P(LayerPanel, NewAndDuplicateGoDirectlyAboveTheCurrentLayer) {
    makeLayers({red, green});
    frame().setCurrentLayer(0);
    frame().current().opacity = 90;
    paint();
    const int counter = frame().layerCounter;
    clickButton(LayerButtonAt::Duplicate);
    ASSERT_EQ(frame().layerCount(), 3);
    EXPECT_EQ(frame().currentLayerIndex(), 1);
    EXPECT_EQ(frame().current().id, counter + 1);
    EXPECT_EQ(frame().current().image.pixel(5, 5), red);
    EXPECT_EQ(frame().current().opacity, 255); // opacity is not copied
    EXPECT_TRUE(samePixels(frame().current().thumbnail, frame().layer(0).thumbnail));
    clickButton(LayerButtonAt::New);
    EXPECT_EQ(frame().currentLayerIndex(), 2);
    EXPECT_EQ(frame().current().id, counter + 2);
    EXPECT_EQ(countPixels(frame().current().image, colors::transparent), 40 * 40);
    EXPECT_EQ(ids().back(), 2); // green stays on top
    // The history follows the new current layer.
    paint();
    EXPECT_EQ(e.mode(mode).historyLayer, frame().current().serial);
}

TEST_P(LayerPanel, ClearEmptiesTheLayerAndIsOneUndoStep) {
    makeLayers({red, green});
    const int before = states();
    clickButton(LayerButtonAt::Clear);
    EXPECT_EQ(countPixels(frame().current().image, colors::transparent), 40 * 40);
    EXPECT_EQ(states(), before + 1);
    paint();
    EXPECT_EQ(canvasPixel(1, 1), red);
    // Undo brings the pixels back.
    type(',');
    EXPECT_EQ(frame().current().image.pixel(1, 1), green);
}

TEST_P(LayerPanel, MergeDownAppliesBothOpacitiesAndLeavesTheLowerLayerOpaque) {
    makeLayers({colors::transparent, red});
    frame().layer(0).image.setPixel(0, 0, blue);
    frame().current().image.setPixel(1, 1, colors::transparent);
    frame().current().opacity = 128;
    clickButton(LayerButtonAt::MergeDown);
    ASSERT_EQ(frame().layerCount(), 1);
    const Layer& merged = frame().current();
    EXPECT_EQ(merged.opacity, 255);
    EXPECT_EQ(merged.image.pixel(5, 5), Color::fromArgb(128, 255, 0, 0)); // 255 * 128 / 255
    EXPECT_EQ(merged.image.pixel(1, 1), colors::transparent);
    EXPECT_NE(merged.image.pixel(0, 0).b(), 0); // blue shows through the half-covered red
    // Its thumbnail was rebuilt from the merged pixels.
    Layer expected(0, 40, 40);
    copyPixels(merged.image, expected.image);
    expected.rebuildThumbnail();
    EXPECT_TRUE(samePixels(merged.thumbnail, expected.thumbnail));
}

TEST_P(LayerPanel, MergeDownRefusesTheBottomLayerAndAHiddenLowerLayer) {
    makeLayers({red, green});
    clickVisibility(0);
    clickButton(LayerButtonAt::MergeDown);
    EXPECT_EQ(frame().layerCount(), 2);
    frame().setCurrentLayer(0);
    clickVisibility(0);
    clickButton(LayerButtonAt::MergeDown);
    EXPECT_EQ(frame().layerCount(), 2);
}

TEST_P(LayerPanel, APressOnARowMakesItsLayerCurrentAndTheRowBlue) {
    makeLayers({red, green, blue});
    clickScreen(pickPoint(0));
    EXPECT_EQ(frame().currentLayerIndex(), 0);
    const Rect r = row(0);
    EXPECT_EQ(screenPixel(r.x + 60, r.y + 3), currentRowBlue);
    EXPECT_NE(screenPixel(row(1).x + 60, row(1).y + 3), currentRowBlue);
    paint();
    EXPECT_EQ(e.mode(mode).historyLayer, frame().current().serial);
}

TEST_P(LayerPanel, DraggingARowOntoItselfChangesNothing) {
    makeLayers({red, green, blue});
    const auto before = ids();
    pressScreen(pickPoint(1));
    auto [x, y] = pickPoint(1);
    moveScreen({x, y + 8});
    releaseScreen();
    EXPECT_EQ(ids(), before);
    EXPECT_FALSE(e.mode(mode).layers.layerDrag.active);
}

TEST_P(LayerPanel, TheTopLayerDraggedOntoTheBottomRowGoesBelowItKeepingItsNumber) {
    makeLayers({red, green, blue});
    const int counter = frame().layerCounter;
    dragRow(2, 0);
    EXPECT_EQ(ids(), (std::vector<int>{3, 1, 2}));
    EXPECT_EQ(frame().layerCounter, counter);
    EXPECT_EQ(frame().currentLayerIndex(), 0);
    EXPECT_EQ(frame().current().image.pixel(0, 0), blue);
    // Blue is now at the bottom: the canvas shows green on top.
    paint();
    EXPECT_EQ(canvasPixel(2, 2), green);
    // And up again: dragged above the top row.
    dragRow(0, 2);
    EXPECT_EQ(ids(), (std::vector<int>{1, 2, 3}));
}

TEST_P(LayerPanel, TheDropMarkIsDrawnUnderTheRowWhenMovingDown) {
    makeLayers({red, green, blue});
    pressScreen(pickPoint(2));
    moveScreen(pickPoint(1));
    const Rect r = row(1);
    EXPECT_EQ(screenPixel(r.x + 100, r.y + 40), red);
    releaseScreen();
}

TEST_P(LayerPanel, AReleaseOutsideEveryRowEndsTheDragWithoutMovingAnything) {
    makeLayers({red, green, blue});
    const auto before = ids();
    pressScreen(pickPoint(2));
    moveScreen({pickPoint(2).first, 100}); // over the preview
    releaseScreen();
    EXPECT_FALSE(e.mode(mode).layers.layerDrag.active);
    // A later press and release on another row picks it and moves nothing.
    clickScreen(pickPoint(0));
    EXPECT_EQ(ids(), before);
    EXPECT_EQ(frame().currentLayerIndex(), 0);
}

TEST_P(LayerPanel, ADragNeverMovesALayerRemovedMeanwhile) {
    makeLayers({red, green, blue, yellow});
    pressScreen(pickPoint(3));
    // Something else removes the dragged layer while the button is held.
    frame().deleteLayer(3);
    const auto before = ids();
    moveScreen(pickPoint(0));
    releaseScreen();
    EXPECT_EQ(ids(), before);
    EXPECT_FALSE(e.mode(mode).layers.layerDrag.active);
}

TEST_P(LayerPanel, HidingALayerShowsAtOnceOnCanvasPreviewAndSwitch) {
    makeLayers({red, green, blue});
    frame().setCurrentLayer(0);
    paint();
    EXPECT_EQ(canvasPixel(4, 4), blue);
    clickVisibility(2);
    EXPECT_FALSE(frame().layer(2).visible);
    EXPECT_FALSE(e.mode(mode).previewUpToDate);
    paint();
    EXPECT_EQ(canvasPixel(4, 4), green);
    // The covering box over the switch.
    const Rect r = row(2);
    EXPECT_EQ(screenPixel(r.x + 18, r.y + 20), Color::rgb(230, 230, 230));
    // The preview shows green where blue was.
    const PreviewState& p = e.mode(mode).preview;
    EXPECT_EQ(screenPixel(int(p.previewX) + 50, int(p.previewY) + 50), green);
}

TEST_P(LayerPanel, TheRKeyTogglesTheCurrentLayerOnEitherKeyboardLayout) {
    makeLayers({red, green});
    type('r');
    EXPECT_FALSE(frame().current().visible);
    type(0xCA); // the same key on a Russian layout
    EXPECT_TRUE(frame().current().visible);
}

TEST_P(LayerPanel, TheAloneSwitchShowsOneLayerOnTheCanvasButNotInThePreview) {
    makeLayers({red, green, blue});
    clickScreen(pickPoint(0));
    clickAlone(0);
    EXPECT_TRUE(e.mode(mode).layers.singleLayerView);
    paint();
    EXPECT_EQ(canvasPixel(4, 4), red);
    const PreviewState& p = e.mode(mode).preview;
    EXPECT_EQ(screenPixel(int(p.previewX) + 50, int(p.previewY) + 50), blue);
    // The visibility switch does nothing while one layer is shown alone.
    clickVisibility(2);
    EXPECT_TRUE(frame().layer(2).visible);
    clickAlone(0);
    EXPECT_FALSE(e.mode(mode).layers.singleLayerView);
}

TEST_P(LayerPanel, ThePainterIgnoresTheRKeyWhileOneLayerIsShownAlone) {
    makeLayers({red, green});
    clickAlone(1);
    type('r');
    // The Animator's key works always; the Painter's only while all layers are shown.
    EXPECT_EQ(frame().current().visible, mode == Mode::Painter);
}

TEST_P(LayerPanel, TheScrollBarAppearsOnlyWhenTheRowsDoNotFit) {
    // A window whose list area is 200 pixels high in the mode.
    resize(900, mode == Mode::Painter ? 554 : 581);
    ASSERT_EQ(column().listArea.h, 200);
    makeLayers({red, green, blue, yellow});
    const ColumnLayout c = column();
    const int barX = c.rect.x + 200;
    auto holdUp = [&](int frames) {
        atScreen(c.rect.x + 200, 245);
        e.input.mouseDown = true;
        for (int i = 0; i < frames; ++i)
            paint();
        e.input.mouseDown = false;
        paint();
    };
    holdUp(5);
    EXPECT_EQ(e.mode(mode).layers.layerScroll, 0);
    auto thumbPixels = [&] {
        int n = 0;
        for (int y = 255; y < 254 + 183; ++y)
            n += screenPixel(barX, y) == colors::panelGrey;
        return n;
    };
    EXPECT_EQ(thumbPixels(), 0);
    for (int i = 0; i < 4; ++i)
        clickButton(LayerButtonAt::New);
    ASSERT_EQ(frame().layerCount(), 8);
    holdUp(30);
    // Held long enough, the offset stops where the top row reaches the top: 320 - 200.
    EXPECT_EQ(e.mode(mode).layers.layerScroll, 120);
    EXPECT_GT(thumbPixels(), 50);
    EXPECT_EQ(row(7).y, c.listArea.y - 1);
}

TEST_P(LayerPanel, ARowScrolledUnderTheButtonsDoesNotTakeTheirClicks) {
    resize(900, mode == Mode::Painter ? 554 : 581);
    makeLayers({red, green, blue, yellow, red, green});
    // Scroll the bottom row down until its visibility switch lies over the delete button.
    e.mode(mode).layers.layerScroll = 30;
    paint();
    frame().setCurrentLayer(5);
    clickButton(LayerButtonAt::Delete);
    EXPECT_EQ(frame().layerCount(), 5);
    EXPECT_TRUE(frame().layer(0).visible);
}

TEST_P(LayerPanel, TheOpacitySliderAndResetSetTheCurrentLayersOpacity) {
    makeLayers({red, green});
    const ColumnLayout c = column();
    const int y = c.opacityBoxY;
    auto pressAt = [&](int x) {
        atScreen(x, y + 8);
        e.input.mouseDown = true;
        paint();
        e.input.mouseDown = false;
        paint();
    };
    pressAt(c.rect.x + 66);
    EXPECT_EQ(frame().current().opacity, 0);
    paint();
    EXPECT_EQ(canvasPixel(3, 3), red);
    const PreviewState& p = e.mode(mode).preview;
    EXPECT_EQ(screenPixel(int(p.previewX) + 50, int(p.previewY) + 50), red);
    pressAt(c.rect.x + 65 + 50);
    EXPECT_EQ(frame().current().opacity, 127); // 50 / (100 / 255) = 127.5, cut
    click(c.rect.x + 189, y + 9);
    EXPECT_EQ(frame().current().opacity, 255);
    paint();
    EXPECT_EQ(canvasPixel(3, 3), green);
}

TEST_P(LayerPanel, TheTransparencyLockKeepsTransparentPixelsTransparent) {
    make();
    Bitmap& image = layer();
    image.setPixel(10, 10, blue);
    clickButton(LayerButtonAt::Lock);
    EXPECT_TRUE(e.mode(mode).layers.transparencyLock.active);
    paint();
    const Rect mark{column().rect.x + 161, column().buttonRowY, 29, 14};
    EXPECT_EQ(screenPixel(mark.x + 2, mark.y + 2), red);
    drag(Tool::Pencil, 5, 10, 15, 10);
    EXPECT_EQ(image.pixel(10, 10), red);
    EXPECT_EQ(image.pixel(5, 10), colors::transparent);
    EXPECT_EQ(image.pixel(14, 10), colors::transparent);
    clickButton(LayerButtonAt::Lock);
    EXPECT_FALSE(e.mode(mode).layers.transparencyLock.active);
    drag(Tool::Pencil, 5, 12, 15, 12);
    EXPECT_EQ(image.pixel(5, 12), red);
}

TEST_P(LayerPanel, ButtonsDoNothingWithoutADocument) {
    paint();
    clickButton(LayerButtonAt::New);
    clickButton(LayerButtonAt::Lock);
    type('r');
    EXPECT_FALSE(e.mode(mode).document);
    EXPECT_FALSE(e.mode(mode).layers.transparencyLock.active);
}

} // namespace
} // namespace vork::test
