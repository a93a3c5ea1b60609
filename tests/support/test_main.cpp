// SPDX-License-Identifier: GPL-3.0-or-later
// Test entry: painting text needs a GUI application; the offscreen platform needs no display.
#include <QApplication>
#include <gtest/gtest.h>

#include <cstdlib>

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv); // Widgets tests need QApplication; the others are content with it
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
