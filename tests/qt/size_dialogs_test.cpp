// SPDX-License-Identifier: GPL-3.0-or-later
// The size, canvas and merge dialogs on the offscreen platform: their texts, defaults, the
// limits their edits keep while typed, and what OK and Cancel answer.
#include "qt/SizeDialogs.h"

#include <QApplication>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <gtest/gtest.h>

using namespace vork;

namespace {

template <class T> T* child(QWidget* w, const char* name) {
    return w->findChild<T*>(QString::fromLatin1(name));
}

QPushButton* button(QWidget* dialog, const char* text) {
    for (QPushButton* b : dialog->findChildren<QPushButton*>())
        if (b->text() == QString::fromLatin1(text))
            return b;
    return nullptr;
}

QStringList labels(QWidget* dialog) {
    QStringList out;
    for (QLabel* l : dialog->findChildren<QLabel*>())
        out << l->text();
    return out;
}

// Selects all of the edit's text and types over it, key by key, as a user would.
void typeOver(QLineEdit* edit, const QString& text) {
    edit->setFocus();
    edit->selectAll();
    QTest::keyClicks(edit, text);
}

TEST(PictureSizeDialog, ShowsTheSizeAndDefaultsToBicubic) {
    PictureSizeDialog picture(Mode::Painter, 300, 264);
    PictureSizeDialog frame(Mode::Animator, 300, 264);
    EXPECT_EQ(picture.windowTitle(), QString::fromUtf8("  Изменение размера растра"));
    EXPECT_EQ(frame.windowTitle(), QString::fromUtf8("  Изменение размера кадра"));
    const QStringList texts = labels(&picture);
    for (const char* t : {"Текущий размер:", "Width :", "Height :", "Интерполяция:"})
        EXPECT_TRUE(texts.contains(QString::fromUtf8(t))) << t;
    EXPECT_EQ(child<QLabel>(&picture, "currentSize")->text(), QStringLiteral("300 x 264"));
    EXPECT_EQ(child<QLineEdit>(&picture, "width")->text(), QStringLiteral("300"));
    EXPECT_TRUE(child<QRadioButton>(&picture, "bicubic")->isChecked());
    EXPECT_EQ(child<QRadioButton>(&picture, "nearest")->text(),
              QString::fromUtf8("  Попиксельная."));
    EXPECT_TRUE(button(&picture, "OK")->isDefault());
}

TEST(PictureSizeDialog, TypedSizesAreKeptWithinOneTo5000) {
    PictureSizeDialog d(Mode::Painter, 300, 300);
    d.show();
    QLineEdit* width = child<QLineEdit>(&d, "width");
    QLineEdit* height = child<QLineEdit>(&d, "height");
    typeOver(width, QStringLiteral("0"));
    EXPECT_EQ(width->text(), QStringLiteral("1"));
    typeOver(height, QStringLiteral("6000"));
    EXPECT_EQ(height->text(), QStringLiteral("5000"));
    typeOver(width, QStringLiteral("12a"));
    EXPECT_EQ(width->text(), QStringLiteral("12")) << "digits only";

    child<QRadioButton>(&d, "bilinear")->setChecked(true);
    button(&d, "OK")->click();
    const PictureSizeAnswer a = d.answer();
    EXPECT_TRUE(a.accepted);
    EXPECT_EQ(a.width, 12);
    EXPECT_EQ(a.height, 5000);
    EXPECT_EQ(a.interpolation, Interpolation::Bilinear);
}

TEST(PictureSizeDialog, CancelAnswersNothingAccepted) {
    PictureSizeDialog d(Mode::Painter, 30, 30);
    d.show();
    typeOver(child<QLineEdit>(&d, "width"), QStringLiteral("99"));
    button(&d, "Cancel")->click();
    EXPECT_FALSE(d.answer().accepted);
}

TEST(CanvasSizeDialog, NineAnchorsWithTheCentreChosenAndTheSameLimits) {
    CanvasSizeDialog d(Mode::Animator, 300, 264);
    d.show();
    EXPECT_EQ(d.windowTitle(), QString::fromUtf8("  Изменение размера холста кадра"));
    EXPECT_EQ(CanvasSizeDialog(Mode::Painter, 1, 1).windowTitle(),
              QString::fromUtf8("  Изменение размера холста"));
    EXPECT_TRUE(labels(&d).contains(QString::fromUtf8("Расположение:")));
    EXPECT_EQ(child<QLabel>(&d, "currentSize")->text(), QStringLiteral("300 x 264"));
    for (int k = 1; k <= 9; ++k) {
        const QByteArray name = "anchor" + QByteArray::number(k);
        QRadioButton* r = child<QRadioButton>(&d, name.constData());
        ASSERT_NE(r, nullptr) << k;
        EXPECT_TRUE(r->text().isEmpty());
        EXPECT_EQ(r->isChecked(), k == 5) << k;
    }
    // The anchors stand in columns: 1..3 left, 7..9 right.
    EXPECT_LT(child<QRadioButton>(&d, "anchor3")->x(), child<QRadioButton>(&d, "anchor7")->x());
    EXPECT_GT(child<QRadioButton>(&d, "anchor3")->y(), child<QRadioButton>(&d, "anchor1")->y());

    typeOver(child<QLineEdit>(&d, "width"), QStringLiteral("0"));
    typeOver(child<QLineEdit>(&d, "height"), QStringLiteral("70000"));
    child<QRadioButton>(&d, "anchor9")->setChecked(true);
    button(&d, "OK")->click();
    const CanvasSizeAnswer a = d.answer();
    EXPECT_TRUE(a.accepted);
    EXPECT_EQ(a.width, 1);
    EXPECT_EQ(a.height, 5000);
    EXPECT_EQ(a.anchor, Anchor::BottomRight);
}

TEST(MergeDialog, DefaultsToTheEndAndCapsTheFrameAtTheFrameCount) {
    MergeDialog d(10);
    d.show();
    EXPECT_EQ(d.windowTitle(), QString::fromUtf8("  Присоединение анимации"));
    EXPECT_TRUE(child<QRadioButton>(&d, "end")->isChecked());
    EXPECT_EQ(child<QRadioButton>(&d, "afterFrame")->text(),
              QString::fromUtf8(": После заданного кадра."));
    EXPECT_TRUE(labels(&d).contains(QString::fromUtf8("Колличество кадров:")));
    EXPECT_EQ(child<QLabel>(&d, "frameCount")->text(), QStringLiteral("10"));
    QLineEdit* frame = child<QLineEdit>(&d, "frame");
    EXPECT_EQ(frame->text(), QStringLiteral("10"));
    typeOver(frame, QStringLiteral("25"));
    EXPECT_EQ(frame->text(), QStringLiteral("10"));
    typeOver(frame, QStringLiteral("4"));
    EXPECT_EQ(frame->text(), QStringLiteral("4"));

    child<QRadioButton>(&d, "afterFrame")->setChecked(true);
    button(&d, "OK")->click();
    const MergeAnswer a = d.answer();
    EXPECT_TRUE(a.accepted);
    EXPECT_EQ(a.place, MergePlace::AfterFrame);
    EXPECT_EQ(a.frameNumber, 4);

    MergeDialog cancelled(3);
    cancelled.show();
    button(&cancelled, "Cancel")->click();
    EXPECT_FALSE(cancelled.answer().accepted);
}

TEST(ExportScaleDialog, ShowsTheScaledSizeKeepsItsLimitsAndAsksPaddingForASheet) {
    ExportScaleDialog d(32, 24, 2, std::nullopt);
    d.show();
    EXPECT_EQ(d.windowTitle(), QString::fromUtf8("  Масштаб экспорта"));
    EXPECT_EQ(child<QLabel>(&d, "currentSize")->text(), QStringLiteral("32 x 24"));
    EXPECT_EQ(child<QLabel>(&d, "scaledSize")->text(), QStringLiteral("64 x 48"));
    EXPECT_FALSE(child<QLineEdit>(&d, "padding")) << "only a sheet has padding";
    QLineEdit* scale = child<QLineEdit>(&d, "scale");
    typeOver(scale, QStringLiteral("40"));
    EXPECT_EQ(scale->text(), QStringLiteral("16"));
    EXPECT_EQ(child<QLabel>(&d, "scaledSize")->text(), QStringLiteral("512 x 384"));
    typeOver(scale, QStringLiteral("0"));
    EXPECT_EQ(scale->text(), QStringLiteral("1"));
    typeOver(scale, QStringLiteral("5"));
    button(&d, "OK")->click();
    EXPECT_EQ(d.answer().accepted, true);
    EXPECT_EQ(d.answer().scale, 5);

    ExportScaleDialog sheet(8, 8, 1, 4);
    sheet.show();
    QLineEdit* padding = child<QLineEdit>(&sheet, "padding");
    ASSERT_TRUE(padding);
    EXPECT_EQ(padding->text(), QStringLiteral("4"));
    typeOver(padding, QStringLiteral("300"));
    EXPECT_EQ(padding->text(), QStringLiteral("256"));
    button(&sheet, "Cancel")->click();
    EXPECT_FALSE(sheet.answer().accepted);
    EXPECT_EQ(sheet.answer().padding, 256);
}

} // namespace
