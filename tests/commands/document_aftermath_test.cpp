// SPDX-License-Identifier: GPL-3.0-or-later
#include "commands/DocumentAftermath.h"
#include "support/CanvasScenario.h"
#include "ui/Keys.h"

#include <gtest/gtest.h>

using namespace vork;
using vork::test::red;

namespace {

// The aftermath in both modes (the parameter).
struct AftermathTest : test::EditorScenario<::testing::TestWithParam<Mode>> {
    Mode mode = Mode::Animator;
    void SetUp() override {
        resize(1000, 700);
        mode = GetParam();
    }
    ModeState& m() { return e.mode(mode); }
    Document& doc() { return *m().document; }

    // A document of w x h with three layers, the middle one current, a red pixel in each.
    std::unique_ptr<Document> threeLayers(int w, int h) {
        auto d = std::make_unique<Document>(w, h, mode == Mode::Painter ? 0.0 : 100.0);
        Frame& f = d->current();
        f.appendLayer();
        f.appendLayer();
        for (Layer& layer : f.layers())
            layer.image.setPixel(1, 1, red);
        f.setCurrentLayer(1);
        return d;
    }
    // Whether the thumbnail differs from that of an empty layer of the same size.
    static bool thumbnailShowsPixels(const Layer& layer) {
        const Layer empty(0, float(layer.image.width()), float(layer.image.height()));
        return !test::samePixels(layer.thumbnail, empty.thumbnail);
    }
};

TEST_P(AftermathTest, AReplacedDocumentGetsItsSizeThumbnailsViewAndAFreshHistory) {
    newDocument(mode, 40, 30);
    paint();
    // Work on the old document: a stroke to undo, a Selection, a stale preview.
    e.currentTool = Tool::Pencil;
    doc().currentLayer().image.setPixel(2, 2, red);
    e.selection.active = true;
    m().previewUpToDate = true;

    replaceDocument(e, mode, threeLayers(64, 48));
    Document& d = *m().document;
    EXPECT_EQ(e.mode(mode).width, 64);
    EXPECT_EQ(e.mode(mode).height, 48);
    EXPECT_EQ(m().scratch.width(), 64);
    EXPECT_EQ(m().scratch.height(), 48);
    EXPECT_FALSE(e.selection.active);
    EXPECT_FALSE(m().previewUpToDate);
    for (const Layer& layer : d.current().layers())
        EXPECT_TRUE(thumbnailShowsPixels(layer)) << "every layer's thumbnail shows its pixels";
    EXPECT_FALSE(m().history) << "the old document's history is gone";

    // The next frame starts the history on the new current layer; undo restores nothing of
    // the old document.
    paint();
    ASSERT_TRUE(m().history);
    EXPECT_EQ(m().historyLayer, d.currentLayer().serial);
    type(',');
    EXPECT_EQ(d.currentLayer().image.pixel(1, 1), red);
    EXPECT_EQ(d.currentLayer().image.width(), 64);
}

TEST_P(AftermathTest, TheCanvasShowsTheNewDocumentOverABackdropOfItsSize) {
    m().zoomIndex = 12; // 4
    newDocument(mode, 10, 10);
    paint();
    replaceDocument(e, mode, threeLayers(100, 60));
    paint();
    const CanvasPlacement p = canvasPlacement(e, mode);
    EXPECT_FLOAT_EQ(p.visibleWidth, 400);
    EXPECT_FLOAT_EQ(p.visibleHeight, 240);
    EXPECT_FLOAT_EQ(m().canvas.pictureWidth, 400);
    // The pixel (1, 1) of the layers shows red where the view puts it, (3, 3) does not.
    EXPECT_EQ(back.pixel(int(p.imageLeft + 4 + 1), int(p.imageTop + 4 + 1)), red);
    EXPECT_NE(back.pixel(int(p.imageLeft + 12 + 1), int(p.imageTop + 12 + 1)), red);
    if (mode == Mode::Painter) {
        EXPECT_EQ(e.painter.caches.below.image.width(), 100) << "the layer caches follow the size";
    }
}

TEST_P(AftermathTest, AResizedDocumentIsTakenUpAsANewOne) {
    newDocument(mode, 20, 20);
    paint();
    e.selection.active = true;
    // A size dialog replaces the pixels of every layer with ones of the new size.
    Document& d = doc();
    d.width = 50;
    d.height = 10;
    d.current().width = 50;
    d.current().height = 10;
    d.currentLayer().image = Bitmap(50, 10);
    documentResized(e, mode);
    EXPECT_EQ(e.mode(mode).width, 50);
    EXPECT_EQ(e.mode(mode).height, 10);
    EXPECT_EQ(m().scratch.width(), 50);
    EXPECT_FALSE(e.selection.active);
    paint();
    EXPECT_EQ(m().history->stateCount(), 1) << "a fresh history of the resized layer";
}

TEST_P(AftermathTest, NoDocumentReplacesNothing) {
    Document& d = newDocument(mode, 20, 20);
    replaceDocument(e, mode, nullptr);
    EXPECT_EQ(m().document.get(), &d);
}

INSTANTIATE_TEST_SUITE_P(BothModes, AftermathTest, ::testing::Values(Mode::Animator, Mode::Painter),
                         test::modeTestName);

} // namespace
