// SPDX-License-Identifier: GPL-3.0-or-later
// The whole window at a whole-number scale: composed at the logical size, every logical pixel
// shown as a square of scale x scale pixels, and the pointer divided by the scale.
#include "app/Startup.h"
#include "qt/ClientArea.h"
#include "qt/MainWindow.h"
#include "support/TempFolder.h"

#include <QApplication>
#include <QImage>
#include <QMenuBar>
#include <QPixmap>
#include <QTest>
#include <cstdlib>
#include <gtest/gtest.h>

using namespace vork;

namespace {

// VORK_SCALE for the life of a test.
struct ScaleVariable {
    explicit ScaleVariable(const char* value) { setenv("VORK_SCALE", value, 1); }
    ~ScaleVariable() { unsetenv("VORK_SCALE"); }
};

TEST(DisplayScale, AtScaleTwoEveryLogicalPixelIsATwoByTwoSquareAndClicksFindTheirWidgets) {
    test::TempWorkingFolder folder;
    folder.copyDefaultData();
    ScaleVariable two("2");
    MainWindow w;
    std::string error;
    ASSERT_TRUE(initEditor(w.editor(), error)) << error;
    w.show();
    QApplication::processEvents();
    ClientArea* client = w.clientArea();
    ASSERT_EQ(client->scale(), 2);
    EXPECT_EQ(w.editor().clientWidth, 713) << "the program still sees its start-up size";
    EXPECT_EQ(w.editor().clientHeight, 494);
    ASSERT_EQ(client->width(), 2 * 713);

    const QImage shown = client->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const Bitmap& frame = client->backBuffer();
    ASSERT_EQ(shown.width(), 2 * frame.width());
    for (int y = 0; y < frame.height(); y += 7)
        for (int x = 0; x < frame.width(); x += 5)
            for (int d = 0; d < 4; ++d)
                ASSERT_EQ(shown.pixel(2 * x + d % 2, 2 * y + d / 2) | 0xFF000000u,
                          frame.pixel(x, y).argb | 0xFF000000u)
                    << "logical pixel (" << x << ", " << y << ")";

    // The fill tool's button lies at logical (36, 258), 20 x 18, in the Animator's bar of a
    // 713 x 494 window: a click on its middle, in device pixels, chooses the fill.
    const QPoint middle(2 * (36 + 10), 2 * (258 + 9));
    QTest::mousePress(client, Qt::LeftButton, Qt::NoModifier, middle);
    EXPECT_EQ(w.editor().input.mouseX, 46);
    EXPECT_EQ(w.editor().input.mouseY, 267);
    QTest::mouseRelease(client, Qt::LeftButton, Qt::NoModifier, middle);
    QApplication::processEvents();
    client->repaint();
    EXPECT_EQ(w.editor().currentTool, Tool::FloodFill);
}

TEST(DisplayScale, AnUnusableVariableFallsBackToTheScreensOwnRatio) {
    for (const char* value : {"0", "4", "1.5", "two", ""}) {
        ScaleVariable v(value);
        MainWindow w;
        EXPECT_EQ(w.clientArea()->scale(), 1) << value; // the offscreen screen has ratio 1
    }
}

} // namespace
