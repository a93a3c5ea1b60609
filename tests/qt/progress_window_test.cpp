// SPDX-License-Identifier: GPL-3.0-or-later
// The progress window: hidden for short work, shown once work has lasted half a second, and
// its Cancel button asks the work to stop.
#include "qt/Progress.h"

#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

using namespace vork;

TEST(ProgressWindow, StaysHiddenForShortWorkAndShowsForLongWork) {
    QtProgressWindow quick(nullptr, QStringLiteral("quick"));
    for (int i = 1; i <= 10; ++i)
        EXPECT_TRUE(quick.step(i, 10));
    EXPECT_FALSE(quick.dialog().isVisible());

    QtProgressWindow slow(nullptr, QStringLiteral("slow"));
    EXPECT_TRUE(slow.step(1, 10));
    EXPECT_FALSE(slow.dialog().isVisible());
    QTest::qWait(progressDelayMilliseconds + 100);
    EXPECT_TRUE(slow.step(2, 10));
    EXPECT_TRUE(slow.dialog().isVisible());
    EXPECT_EQ(slow.dialog().labelText(), QStringLiteral("slow"));

    QPushButton* cancel = slow.dialog().findChild<QPushButton*>();
    ASSERT_NE(cancel, nullptr);
    cancel->click();
    EXPECT_FALSE(slow.step(3, 10)) << "the work is asked to stop";
}
