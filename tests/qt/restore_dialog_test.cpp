// SPDX-License-Identifier: GPL-3.0-or-later
// The restore question as the real Qt dialog on the offscreen platform.
#include "qt/RestoreDialog.h"
#include "ui/RestoreText.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>

#include <gtest/gtest.h>

namespace vork {
namespace {

QPushButton* buttonWithText(QWidget* dialog, const char* text) {
    for (QPushButton* b : dialog->findChildren<QPushButton*>())
        if (b->text() == QString::fromUtf8(text))
            return b;
    return nullptr;
}

void typeKey(QWidget* target, int key) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QApplication::sendEvent(target, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier);
    QApplication::sendEvent(target, &release);
}

const RestoreQuestion question{
    {{Mode::Painter, 2048, 2048, 1, 8, 1796743920}, {Mode::Animator, 300, 264, 3, 5, 1796743000}},
    "/home/u/.local/state/vork/<recovery>"};

TEST(RestoreDialog, ListsEveryDocumentUnderTheQuestion) {
    auto dialog = makeRestoreDialog(nullptr, question);
    dialog->show();
    EXPECT_EQ(dialog->windowTitle(), QString::fromUtf8(restoreTitle));
    int previousBottom = -1;
    for (const char* name : {"question", "document1", "document2", "note"}) {
        auto* label = dialog->findChild<QLabel*>(QString::fromLatin1(name));
        ASSERT_NE(label, nullptr) << name;
        EXPECT_TRUE(label->isVisible()) << name;
        EXPECT_EQ(label->textFormat(), Qt::PlainText) << name;
        EXPECT_GT(label->geometry().top(), previousBottom) << name;
        previousBottom = label->geometry().bottom();
    }
    // Size, counts, and the time in the local time zone.
    const QString second = dialog->findChild<QLabel*>(QStringLiteral("document2"))->text();
    EXPECT_TRUE(second.startsWith(QString::fromUtf8("Анимация 300 x 264: кадров 3, слоёв 5; "
                                                    "сохранена ")))
        << second.toStdString();
    EXPECT_EQ(second.toStdString(), describeRecoveredDocument(question.documents[1]));
    EXPECT_TRUE(dialog->findChild<QLabel*>(QStringLiteral("note"))
                    ->text()
                    .contains(QString::fromStdString(question.folder)));
}

TEST(RestoreDialog, YesIsTheDefaultAndNoEscapeOrCloseDecline) {
    auto enter = makeRestoreDialog(nullptr, question);
    enter->show();
    QPushButton* yes = buttonWithText(enter.get(), restoreYes);
    ASSERT_NE(yes, nullptr);
    EXPECT_TRUE(yes->isDefault());
    typeKey(enter.get(), Qt::Key_Return);
    EXPECT_EQ(enter->result(), QDialog::Accepted);

    auto no = makeRestoreDialog(nullptr, question);
    no->show();
    buttonWithText(no.get(), restoreNo)->click();
    EXPECT_EQ(no->result(), QDialog::Rejected);

    auto escape = makeRestoreDialog(nullptr, question);
    escape->show();
    typeKey(escape.get(), Qt::Key_Escape);
    EXPECT_FALSE(escape->isVisible());
    EXPECT_EQ(escape->result(), QDialog::Rejected);
}

} // namespace
} // namespace vork
