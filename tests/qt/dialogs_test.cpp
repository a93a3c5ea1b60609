// SPDX-License-Identifier: GPL-3.0-or-later
// The real Qt dialogs on the offscreen platform: new-document dialog, About box, key reference.
#include "qt/InfoDialogs.h"
#include "qt/NewDocumentDialog.h"
#include "ui/KeyReference.h"

#include <QApplication>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>

#include <gtest/gtest.h>

#include <optional>
#include <utility>
#include <vector>

namespace vork {
namespace {

QPushButton* buttonWithText(QWidget* dialog, const QString& text) {
    for (QPushButton* b : dialog->findChildren<QPushButton*>())
        if (b->text() == text)
            return b;
    return nullptr;
}

void sendMouse(QWidget* target, QEvent::Type type, QPoint at) {
    const Qt::MouseButtons held =
        type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent event(type, QPointF(at), QPointF(target->mapToGlobal(at)), Qt::LeftButton, held,
                      Qt::NoModifier);
    QApplication::sendEvent(target, &event);
}

QPoint itemCentre(QListWidget* list, int row) {
    QListWidgetItem* item = list->item(row);
    list->scrollToItem(item);
    return list->visualItemRect(item).center();
}

// What the window system delivers for a double-click: press, release, double-click, release.
void doubleClickRow(QListWidget* list, int row) {
    const QPoint at = itemCentre(list, row);
    QWidget* viewport = list->viewport();
    sendMouse(viewport, QEvent::MouseButtonPress, at);
    sendMouse(viewport, QEvent::MouseButtonRelease, at);
    sendMouse(viewport, QEvent::MouseButtonDblClick, at);
    sendMouse(viewport, QEvent::MouseButtonRelease, at);
}

void clickRow(QListWidget* list, int row) {
    const QPoint at = itemCentre(list, row);
    sendMouse(list->viewport(), QEvent::MouseButtonPress, at);
    sendMouse(list->viewport(), QEvent::MouseButtonRelease, at);
}

void typeKey(QWidget* target, int key, const QString& text = QString()) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QApplication::sendEvent(target, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
    QApplication::sendEvent(target, &release);
}

void typeText(QLineEdit* edit, const QString& text) {
    for (QChar c : text)
        typeKey(edit, c.isDigit() ? Qt::Key_0 + c.digitValue() : Qt::Key_unknown, QString(c));
}

// A shown new-document dialog whose presets are recorded and whose warnings are caught.
struct NewDocFixture {
    std::vector<std::pair<int, int>> presetCalls;
    std::vector<QString> warnings;
    NewDocumentDialog dialog;

    NewDocFixture(Mode kind, int width, int height)
        : dialog(kind, width, height, [this](int w, int h) { presetCalls.emplace_back(w, h); }) {
        dialog.warn = [this](const QString& text) { warnings.push_back(text); };
        dialog.show();
    }
    QListWidget* presets() { return dialog.findChild<QListWidget*>(QStringLiteral("presets")); }
    QLineEdit* width() { return dialog.findChild<QLineEdit*>(QStringLiteral("width")); }
    QLineEdit* height() { return dialog.findChild<QLineEdit*>(QStringLiteral("height")); }
    void pressOk() { buttonWithText(&dialog, QStringLiteral("OK"))->click(); }
    void setSize(const QString& w, const QString& h) {
        width()->setText(w);
        height()->setText(h);
    }
};

// ---- New-document dialog: look ----

TEST(NewDocumentDialogLook, TitleNamesTheKindOfDocument) {
    NewDocFixture picture(Mode::Painter, 300, 300);
    NewDocFixture animation(Mode::Animator, 300, 264);
    EXPECT_EQ(picture.dialog.windowTitle(), QStringLiteral("New Rastr"));
    EXPECT_EQ(animation.dialog.windowTitle(), QStringLiteral("New Animation"));
}

TEST(NewDocumentDialogLook, OpensWithTheGivenSizeAndAllControls) {
    NewDocFixture f(Mode::Animator, 300, 264);
    ASSERT_NE(f.presets(), nullptr);
    ASSERT_NE(f.width(), nullptr);
    ASSERT_NE(f.height(), nullptr);
    EXPECT_EQ(f.width()->text(), QStringLiteral("300"));
    EXPECT_EQ(f.height()->text(), QStringLiteral("264"));
    EXPECT_NE(buttonWithText(&f.dialog, QStringLiteral("Cancel")), nullptr);
    QPushButton* ok = buttonWithText(&f.dialog, QStringLiteral("OK"));
    ASSERT_NE(ok, nullptr);
    EXPECT_TRUE(ok->isDefault());

    QStringList labels;
    for (QLabel* l : f.dialog.findChildren<QLabel*>())
        labels << l->text();
    EXPECT_TRUE(labels.contains(QStringLiteral("Presets :")));
    EXPECT_TRUE(labels.contains(QStringLiteral("Width :")));
    EXPECT_TRUE(labels.contains(QStringLiteral("Height :")));
}

TEST(NewDocumentDialogLook, PresetsAreListedInTheirOwnOrder) {
    NewDocFixture f(Mode::Painter, 300, 300);
    const QStringList expected{"128 x 128", "224 x 224", "256 x 256", "320 x 320",
                               "512 x 512", "640 x 480", "1024 x 768"};
    QStringList shown;
    for (int i = 0; i < f.presets()->count(); ++i)
        shown << f.presets()->item(i)->text();
    EXPECT_EQ(shown, expected);
    EXPECT_FALSE(f.presets()->isSortingEnabled());
}

TEST(NewDocumentDialogLook, BoxHasItsFixedSizeAndControlsStayInside) {
    NewDocFixture f(Mode::Painter, 300, 300);
    EXPECT_EQ(f.dialog.size(), QSize(300, 237));
    EXPECT_EQ(f.dialog.minimumSize(), f.dialog.maximumSize());
    for (QWidget* w : f.dialog.findChildren<QWidget*>()) {
        if (w->parentWidget() == &f.dialog) {
            EXPECT_TRUE(f.dialog.rect().contains(w->geometry())) << w->metaObject()->className();
        }
    }
    // The width edit sits at (58, 81, 44, 12) units.
    EXPECT_EQ(f.width()->geometry(), QRect(87, 132, 66, 19));
}

TEST(NewDocumentDialogLook, NegativeRememberedSizeLeavesTheEditEmpty) {
    NewDocFixture f(Mode::Painter, -4, 20);
    EXPECT_EQ(f.width()->text(), QString());
    EXPECT_EQ(f.height()->text(), QStringLiteral("20"));
}

// ---- New-document dialog: presets ----

TEST(NewDocumentDialogPresets, DoubleClickReportsThePresetAtOnceAndFillsTheEdits) {
    NewDocFixture f(Mode::Animator, 300, 264);
    doubleClickRow(f.presets(), 5);
    ASSERT_EQ(f.presetCalls.size(), 1u);
    EXPECT_EQ(f.presetCalls[0], std::make_pair(640, 480));
    EXPECT_EQ(f.width()->text(), QStringLiteral("640"));
    EXPECT_EQ(f.height()->text(), QStringLiteral("480"));
    EXPECT_TRUE(f.dialog.isVisible()); // choosing a preset does not close the dialog
}

TEST(NewDocumentDialogPresets, PresetSizeStaysWithTheCallerWhenCancelled) {
    int animationWidth = 300, animationHeight = 264;
    std::optional<NewDocumentDialog> dialog;
    dialog.emplace(Mode::Animator, animationWidth, animationHeight, [&](int w, int h) {
        animationWidth = w;
        animationHeight = h;
    });
    dialog->show();
    doubleClickRow(dialog->findChild<QListWidget*>(QStringLiteral("presets")), 5);
    buttonWithText(&*dialog, QStringLiteral("Cancel"))->click();
    EXPECT_EQ(dialog->result(), QDialog::Rejected);
    EXPECT_FALSE(dialog->isVisible());
    dialog.reset();
    EXPECT_EQ(animationWidth, 640);
    EXPECT_EQ(animationHeight, 480);
}

TEST(NewDocumentDialogPresets, SingleClickChangesNothing) {
    NewDocFixture f(Mode::Painter, 300, 300);
    clickRow(f.presets(), 6);
    EXPECT_TRUE(f.presetCalls.empty());
    EXPECT_EQ(f.width()->text(), QStringLiteral("300"));
    EXPECT_EQ(f.height()->text(), QStringLiteral("300"));
}

TEST(NewDocumentDialogPresets, EveryPresetGivesItsOwnSize) {
    NewDocFixture f(Mode::Painter, 300, 300);
    for (int row = 0; row < f.presets()->count(); ++row)
        doubleClickRow(f.presets(), row);
    const std::vector<std::pair<int, int>> expected{{128, 128}, {224, 224}, {256, 256}, {320, 320},
                                                    {512, 512}, {640, 480}, {1024, 768}};
    EXPECT_EQ(f.presetCalls, expected);
    EXPECT_EQ(f.width()->text(), QStringLiteral("1024"));
    EXPECT_EQ(f.height()->text(), QStringLiteral("768"));
}

TEST(NewDocumentDialogPresets, WorksWithoutAPresetCallback) {
    NewDocumentDialog dialog(Mode::Painter, 300, 300, {});
    dialog.show();
    doubleClickRow(dialog.findChild<QListWidget*>(QStringLiteral("presets")), 0);
    EXPECT_EQ(dialog.findChild<QLineEdit*>(QStringLiteral("width"))->text(), QStringLiteral("128"));
}

// ---- New-document dialog: typing ----

TEST(NewDocumentDialogTyping, EditsTakeDigitsOnly) {
    NewDocFixture f(Mode::Painter, 300, 300);
    f.width()->clear();
    typeText(f.width(), QStringLiteral("1a-2 b3"));
    EXPECT_EQ(f.width()->text(), QStringLiteral("123"));
    f.height()->clear();
    typeKey(f.height(), Qt::Key_Minus, QStringLiteral("-"));
    typeText(f.height(), QStringLiteral("7"));
    EXPECT_EQ(f.height()->text(), QStringLiteral("7"));
}

TEST(NewDocumentDialogTyping, EditsTakeAtMostNineDigits) {
    NewDocFixture f(Mode::Painter, 300, 300);
    f.width()->clear();
    typeText(f.width(), QStringLiteral("123456789012"));
    EXPECT_EQ(f.width()->text(), QStringLiteral("123456789"));
}

// ---- New-document dialog: OK and Cancel ----

TEST(NewDocumentDialogOk, AcceptsAValidSize) {
    NewDocFixture f(Mode::Painter, 300, 300);
    f.setSize(QStringLiteral("32"), QStringLiteral("16"));
    f.pressOk();
    EXPECT_TRUE(f.warnings.empty());
    EXPECT_EQ(f.dialog.result(), QDialog::Accepted);
    EXPECT_FALSE(f.dialog.isVisible());
    EXPECT_EQ(f.dialog.resultWidth(), 32);
    EXPECT_EQ(f.dialog.resultHeight(), 16);
}

TEST(NewDocumentDialogOk, AcceptsBothEndsOfTheRange) {
    NewDocFixture smallest(Mode::Painter, 1, 1);
    smallest.pressOk();
    EXPECT_EQ(smallest.dialog.result(), QDialog::Accepted);
    NewDocFixture largest(Mode::Animator, 5000, 5000);
    largest.pressOk();
    EXPECT_EQ(largest.dialog.result(), QDialog::Accepted);
    EXPECT_EQ(largest.dialog.resultWidth(), 5000);
    EXPECT_EQ(largest.dialog.resultHeight(), 5000);
}

TEST(NewDocumentDialogOk, EnterInAnEditPressesOk) {
    NewDocFixture f(Mode::Painter, 64, 48);
    typeKey(f.height(), Qt::Key_Return);
    EXPECT_EQ(f.dialog.result(), QDialog::Accepted);
    EXPECT_EQ(f.dialog.resultWidth(), 64);
    EXPECT_EQ(f.dialog.resultHeight(), 48);
}

TEST(NewDocumentDialogOk, RefusesSizesOutsideTheRangeAndStaysOpen) {
    const std::vector<std::pair<QString, QString>> bad{{"0", "16"},
                                                       {"32", "0"},
                                                       {"5001", "16"},
                                                       {"32", "5001"},
                                                       {"", "16"},
                                                       {"32", ""},
                                                       {"999999999", "999999999"}};
    for (const auto& [w, h] : bad) {
        SCOPED_TRACE((w + " x " + h).toStdString());
        NewDocFixture f(Mode::Animator, 300, 264);
        f.setSize(w, h);
        f.pressOk();
        ASSERT_EQ(f.warnings.size(), 1u);
        EXPECT_TRUE(f.warnings[0].contains(QStringLiteral("1")));
        EXPECT_TRUE(f.warnings[0].contains(QStringLiteral("5000")));
        EXPECT_TRUE(f.dialog.isVisible());
        EXPECT_NE(f.dialog.result(), QDialog::Accepted);
    }
}

TEST(NewDocumentDialogOk, CorrectedSizeIsAcceptedAfterARefusal) {
    NewDocFixture f(Mode::Painter, 300, 300);
    f.setSize(QStringLiteral("0"), QStringLiteral("10"));
    f.pressOk();
    EXPECT_TRUE(f.dialog.isVisible());
    f.setSize(QStringLiteral("10"), QStringLiteral("10"));
    f.pressOk();
    EXPECT_EQ(f.warnings.size(), 1u);
    EXPECT_EQ(f.dialog.result(), QDialog::Accepted);
    EXPECT_EQ(f.dialog.resultWidth(), 10);
}

TEST(NewDocumentDialogOk, RangeMessageNamesTheLimits) {
    const QString text = documentSizeRangeMessage();
    EXPECT_TRUE(text.contains(QStringLiteral("от 1 до 5000")));
}

TEST(NewDocumentDialogCancel, CancelAndEscapeReject) {
    NewDocFixture byButton(Mode::Painter, 300, 300);
    buttonWithText(&byButton.dialog, QStringLiteral("Cancel"))->click();
    EXPECT_EQ(byButton.dialog.result(), QDialog::Rejected);
    EXPECT_FALSE(byButton.dialog.isVisible());

    NewDocFixture byKey(Mode::Painter, 300, 300);
    typeKey(&byKey.dialog, Qt::Key_Escape);
    EXPECT_EQ(byKey.dialog.result(), QDialog::Rejected);
    EXPECT_FALSE(byKey.dialog.isVisible());
    EXPECT_TRUE(byKey.warnings.empty());
}

// ---- Key reference ----

TEST(KeyReferenceDialog, ShowsTheFifteenLinesInOrder) {
    const std::vector<const char*> expected{
        "W - видимость предидущего кадра",
        "E - серость предидущего кадра",
        "K - видимость текущего слоя",
        "Z - переход к предидущему кадру",
        "X - переход к следующему кадру",
        "SPACE - остановка, проигрывание анимации",
        "<  , >   -   UNDO, REDO   для текущего слоя",
        "G - смена    аниматор - пэйнтер",
        "\" + ,  -  ,  / \"     -   масштаб: увеличение, уменьшение, норма.",
        "A - выделение всей области",
        "Курсорные клавиши - перемещение выделенного",
        "C  ,  V  -  копирование выделенного, вставка  копированного",
        "ENTER - печать выделенного",
        "DELETE - удаление выделенного",
        "CONTROL -  режим заливки",
    };
    auto dialog = makeKeyReference(nullptr);
    dialog->show();
    EXPECT_EQ(dialog->windowTitle(), QString::fromUtf8("     Используемые клавиши"));
    int previousBottom = -1;
    for (std::size_t i = 0; i < expected.size(); ++i) {
        SCOPED_TRACE(i + 1);
        auto* label = dialog->findChild<QLabel*>(QStringLiteral("line%1").arg(i + 1));
        ASSERT_NE(label, nullptr);
        EXPECT_EQ(label->text(), QString::fromUtf8(expected[i]));
        EXPECT_EQ(label->textFormat(), Qt::PlainText);      // "<  , >" must show as typed
        EXPECT_GT(label->geometry().top(), previousBottom); // top to bottom
        previousBottom = label->geometry().bottom();
    }
    EXPECT_EQ(dialog->findChild<QLabel*>(QStringLiteral("line16")), nullptr);
}

TEST(KeyReferenceDialog, OkAndEscapeClose) {
    auto byButton = makeKeyReference(nullptr);
    byButton->show();
    QPushButton* ok = buttonWithText(byButton.get(), QStringLiteral("OK"));
    ASSERT_NE(ok, nullptr);
    ok->click();
    EXPECT_FALSE(byButton->isVisible());

    auto byKey = makeKeyReference(nullptr);
    byKey->show();
    typeKey(byKey.get(), Qt::Key_Escape);
    EXPECT_FALSE(byKey->isVisible());
}

// ---- About box ----

TEST(AboutBoxDialog, ShowsTitleAndVersion) {
    auto dialog = makeAboutBox(nullptr);
    dialog->show();
    EXPECT_EQ(dialog->windowTitle(), QString::fromUtf8("   О программе"));
    auto* version = dialog->findChild<QLabel*>(QStringLiteral("version"));
    ASSERT_NE(version, nullptr);
    EXPECT_EQ(version->text(), QStringLiteral("vork version 2.0"));
    EXPECT_TRUE(version->isVisible());
}

TEST(AboutBoxDialog, IconIsAtTheLeftOfTheTextWhenPresent) {
    auto dialog = makeAboutBox(nullptr);
    dialog->show();
    auto* icon = dialog->findChild<QLabel*>(QStringLiteral("icon"));
    if (!QFile::exists(QStringLiteral(":/icons/vork32.png"))) {
        EXPECT_EQ(icon, nullptr);
        return;
    }
    ASSERT_NE(icon, nullptr);
    auto* version = dialog->findChild<QLabel*>(QStringLiteral("version"));
    EXPECT_LT(icon->geometry().right(), version->geometry().left());
}

TEST(AboutBoxDialog, OkAndEscapeClose) {
    auto byButton = makeAboutBox(nullptr);
    byButton->show();
    QPushButton* ok = buttonWithText(byButton.get(), QStringLiteral("OK"));
    ASSERT_NE(ok, nullptr);
    EXPECT_TRUE(ok->isDefault());
    ok->click();
    EXPECT_FALSE(byButton->isVisible());
    EXPECT_EQ(byButton->result(), QDialog::Accepted);

    auto byKey = makeAboutBox(nullptr);
    byKey->show();
    typeKey(byKey.get(), Qt::Key_Escape);
    EXPECT_FALSE(byKey->isVisible());
}

} // namespace
} // namespace vork
