// SPDX-License-Identifier: GPL-3.0-or-later
// The Painter's status strip: the file and its unsaved mark, the zoom, the pixel under the
// pointer and the colour the canvas shows there.
#include "commands/DocumentFiles.h"
#include "panels/StatusStrip.h"
#include "support/CommandScenario.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

using namespace vork;
using vork::test::blue;
using vork::test::red;

namespace {

struct StatusStripTest : test::CommandScenario<> {
    void SetUp() override {
        resize(1000, 700);
        makeToolButtons();
    }
};

TEST_F(StatusStripTest, ShowsTheFileTheZoomThePixelAndItsColour) {
    test::TempDir dir;
    Document& doc = newDocument(Mode::Painter, 20, 10);
    ModeState& m = e.mode(Mode::Painter);
    EXPECT_EQ(statusTexts(e, Mode::Painter).file, "без имени");
    markDocumentChanged(e, Mode::Painter);
    EXPECT_EQ(statusTexts(e, Mode::Painter).file, "без имени *");
    platform.saveAnswers.push_back(dir.file("hero.trnl"));
    ASSERT_TRUE(saveDocumentFile(e, Mode::Painter));
    EXPECT_EQ(statusTexts(e, Mode::Painter).file, "hero.trnl");
    markDocumentChanged(e, Mode::Painter);
    EXPECT_EQ(statusTexts(e, Mode::Painter).file, "hero.trnl *");

    // Two layers: a half-transparent blue over opaque red, and a hidden layer that shows nothing.
    doc.currentLayer().image.setPixel(7, 4, red);
    doc.current().appendLayer();
    doc.currentLayer().image.setPixel(7, 4, blue.withAlpha(128));
    doc.current().appendLayer();
    doc.currentLayer().image.setPixel(7, 4, colors::white);
    doc.currentLayer().visible = false;
    m.zoomIndex = 13; // 500 %
    zoomChanged(e, Mode::Painter);
    paint();
    const CanvasPlacement p = canvasPlacement(e, Mode::Painter);
    pointAt(int(p.imageLeft + 7 * 5), int(p.imageTop + 4 * 5));
    paint();
    const StatusTexts t = statusTexts(e, Mode::Painter);
    EXPECT_EQ(t.zoom, "500%");
    EXPECT_EQ(t.pixel, "7, 4");
    ASSERT_TRUE(t.hasColour);
    EXPECT_EQ(t.shown.a(), 255);
    EXPECT_NEAR(t.shown.r(), 127, 1);
    EXPECT_NEAR(t.shown.b(), 128, 1);
    EXPECT_EQ(t.colour, "R " + std::to_string(t.shown.r()) + " G 0 B " +
                            std::to_string(t.shown.b()) + " A 255");

    // Off the picture there is no pixel and no colour.
    pointAt(2, 2);
    EXPECT_TRUE(statusTexts(e, Mode::Painter).pixel.empty());
    EXPECT_FALSE(statusTexts(e, Mode::Painter).hasColour);
}

} // namespace
