// SPDX-License-Identifier: GPL-3.0-or-later
// The wheel zoom at the pointer, the fit key and the pixel grid, through the canvas mapping.
#include "app/WindowProcedure.h"
#include "canvas/PixelGrid.h"
#include "commands/ImageCommands.h"
#include "files/SaveFile.h"
#include "gfx/ImageCodec.h"
#include "support/CommandScenario.h"
#include "support/TempDir.h"
#include "ui/Keys.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace vork;
using vork::test::red;

namespace {

struct ViewControlsTest : test::BothModesCommandScenario {
    void zoomTo(int index) {
        m().zoomIndex = index;
        zoomChanged(e, mode);
        paint();
        paint(); // the preview measures the new zoom's visible area
    }
};

// Over a wheel step in and one out, at zooms where the picture is larger than the canvas, the
// picture pixel under the pointer stays under it (the point within half a screen pixel).
TEST_P(ViewControlsTest, TheWheelKeepsThePixelUnderThePointer) {
    newDocument(mode, 300, 260);
    const Rect canvas = layoutOf(e, mode).canvas;
    const std::pair<int, int> pointers[] = {
        {canvas.x + canvas.w / 2, canvas.y + canvas.h / 2},
        {canvas.x + canvas.w / 3, canvas.y + 2 * canvas.h / 3},
        {canvas.x + 3 * canvas.w / 4, canvas.y + canvas.h / 4},
    };
    for (int index : {12, 14, 17, 22, 27}) {
        for (int steps : {1, -1}) {
            for (auto [x, y] : pointers) {
                zoomTo(index);
                pointAt(x, y);
                // Scrolled to the middle first, so that neither step meets an end of the scroll
                // range.
                PreviewState& v = m().preview;
                v.viewportX = (v.previewImageWidth - v.viewportWidth) / 2;
                v.viewportY = (v.previewImageHeight - v.viewportHeight) / 2;
                paint();
                const CanvasPlacement before = canvasPlacement(e, mode);
                onWheel(e, steps);
                paint();
                paint();
                const CanvasPlacement after = canvasPlacement(e, mode);
                ASSERT_EQ(m().zoomIndex, index + steps);
                // Enlarged, the view scrolls by whole screen pixels, so the point may move by
                // up to half a screen pixel; its picture pixel stays.
                const float near = after.zoom >= 1 ? 0.5f / after.zoom + 1e-3f : 1e-3f;
                EXPECT_NEAR(after.pixelX, before.pixelX, near) << index << " " << x;
                EXPECT_NEAR(after.pixelY, before.pixelY, near) << index << " " << y;
                EXPECT_EQ(int(after.pixelX), int(before.pixelX));
                EXPECT_EQ(int(after.pixelY), int(before.pixelY));
            }
        }
    }
    // The wheel outside the canvas zooms nothing.
    zoomTo(12);
    pointAt(canvas.x + canvas.w + 20, 100);
    onWheel(e, 1);
    paint();
    EXPECT_EQ(m().zoomIndex, 12);
}

TEST_P(ViewControlsTest, FFitsThePictureOnBothLayouts) {
    const RectF panel = canvasPanel(e, mode);
    struct Row {
        int width, height;
        uint8_t key;
    };
    for (const Row& row : {Row{32, 32, 'f'}, Row{40, 20, 0xE0}, Row{900, 200, 'F'},
                           Row{20, 300, 0xC0}, Row{1200, 900, 'f'}}) {
        newDocument(mode, row.width, row.height);
        zoomTo(9);
        type(row.key);
        const float z = zoomLevels[size_t(m().zoomIndex)];
        EXPECT_LE(float(row.width) * z, panel.w) << row.width;
        EXPECT_LE(float(row.height) * z, panel.h) << row.width;
        if (m().zoomIndex + 1 < int(zoomLevels.size()) && m().zoomIndex > 0) {
            const float next = zoomLevels[size_t(m().zoomIndex + 1)];
            EXPECT_TRUE(float(row.width) * next > panel.w || float(row.height) * next > panel.h)
                << "the largest step that fits: " << row.width;
        }
    }
}

// The grid's lines lie where the pointer mapping moves from one pixel to the next, show in the
// window and never reach the picture or its export.
TEST_P(ViewControlsTest, TheGridFollowsTheMappingAndStaysOutOfThePicture) {
    Document& doc = newDocument(mode, 30, 20);
    doc.currentLayer().image.fill(red);
    zoomTo(11); // 300 %: Q does nothing
    type('q');
    EXPECT_FALSE(e.view.pixelGrid);
    zoomTo(13); // 500 %
    type(0xE9); // й
    ASSERT_TRUE(e.view.pixelGrid);

    const CanvasPlacement p = canvasPlacement(e, mode);
    const std::vector<int> columns = pixelGridLines(p, true);
    const std::vector<int> rows = pixelGridLines(p, false);
    ASSERT_EQ(columns.size(), 29u);
    ASSERT_EQ(rows.size(), 19u);
    const int midY = int(p.imageTop + p.visibleHeight / 2) + 2;
    for (size_t k = 0; k < columns.size(); ++k) {
        pointAt(columns[k], midY);
        EXPECT_EQ(int(canvasPlacement(e, mode).pixelX), int(k) + 1);
        pointAt(columns[k] - 1, midY);
        EXPECT_EQ(int(canvasPlacement(e, mode).pixelX), int(k));
    }
    pointAt(0, 0);
    paint();
    const Color lineRed = back.pixel(columns[3], midY);
    const Color plainRed = back.pixel(columns[3] + 2, midY);
    EXPECT_EQ(plainRed, red);
    EXPECT_NE(lineRed, red) << "the line shows";
    for (int x = 0; x < 30; ++x)
        for (int y = 0; y < 20; ++y)
            ASSERT_EQ(doc.currentLayer().image.pixel(x, y), red) << "the picture is untouched";

    type('Q');
    EXPECT_FALSE(e.view.pixelGrid);
    paint();
    EXPECT_EQ(back.pixel(columns[3], midY), red);
}

struct GridExportTest : test::CommandScenario<> {};

TEST_F(GridExportTest, TheExportedPictureHasNoGrid) {
    auto& s = *this;
    test::TempDir dir;
    s.resize(1000, 700);
    Document& doc = s.newDocument(Mode::Painter, 8, 8);
    doc.currentLayer().image.fill(red);
    s.e.mode(Mode::Painter).zoomIndex = 20;
    s.e.view.pixelGrid = true;
    s.paint();
    s.platform.saveAnswers.push_back(dir.file("out.png"));
    ASSERT_TRUE(exportPictureFile(s.e));
    const std::string bytes = test::readBytes(dir.file("out.png"));
    const Bitmap exported = decodeImage(bytesOf(bytes));
    ASSERT_EQ(exported.width(), 8);
    for (int x = 0; x < 8; ++x)
        for (int y = 0; y < 8; ++y)
            EXPECT_EQ(exported.pixel(x, y), red);
}

INSTANTIATE_TEST_SUITE_P(BothModes, ViewControlsTest,
                         ::testing::Values(Mode::Painter, Mode::Animator), test::modeTestName);

} // namespace
