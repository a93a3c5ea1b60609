// SPDX-License-Identifier: GPL-3.0-or-later
#include "qt/SizeDialogs.h"

#include "pixels/ExportScale.h"
#include "qt/DialogParts.h"

#include <QFont>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include <algorithm>

namespace vork {

namespace {

// The dialogs are laid out in dialog units of an 8-point font.
void setUpDialog(QDialog* dialog, const QString& title, int heightUnits) {
    dialog->setWindowTitle(title);
    QFont dialogFont = dialog->font();
    dialogFont.setPointSize(8);
    dialog->setFont(dialogFont);
    dialog->setFixedSize(dialogUnits(0, 0, 279, heightUnits).size());
}

void addOkCancel(QDialog* dialog) {
    auto* ok = new QPushButton(QStringLiteral("OK"), dialog);
    ok->setGeometry(dialogUnits(222, 7, 50, 14));
    ok->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), dialog);
    cancel->setGeometry(dialogUnits(222, 24, 50, 14));
    QObject::connect(ok, &QPushButton::clicked, dialog, &QDialog::accept);
    QObject::connect(cancel, &QPushButton::clicked, dialog, &QDialog::reject);
}

void addGroupBox(QDialog* dialog, QRect rect) {
    auto* box = new QGroupBox(dialog);
    box->setGeometry(rect);
    box->lower(); // the controls drawn over it stay on top
}

// A value painted beside its label, in Arial 8 pt, left-aligned and vertically centred in a
// rectangle of client pixels, moved right when the label's text reaches into it.
void addShownValue(QDialog* dialog, const QLabel* label, const char* name, const QString& text,
                   QRect pixels) {
    pixels.moveLeft(std::max(pixels.left(), label->geometry().right() + 8));
    auto* value = new QLabel(text, dialog);
    value->setObjectName(QString::fromLatin1(name));
    value->setFont(QFont(QStringLiteral("Arial"), 8));
    value->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    value->setGeometry(pixels);
}

QRadioButton* addRadio(QDialog* dialog, const char* name, const char* text, QRect rect) {
    auto* radio = new QRadioButton(QString::fromUtf8(text), dialog);
    radio->setObjectName(QString::fromLatin1(name));
    radio->setGeometry(rect);
    if (text[0] != '\0')
        fitToText(radio);
    return radio;
}

int clampedSide(int value) {
    return std::clamp(value, minDocumentSide, maxDocumentSide);
}

// While typed, an edit's value stays within the document side limits: a value outside them is
// written back as the nearest limit. An empty edit is left for the user to type into.
void keepWithinSideLimits(QLineEdit* edit) {
    QObject::connect(edit, &QLineEdit::textChanged, edit, [edit] {
        const std::optional<int> value = readNumber(edit);
        if (value && *value != clampedSide(*value))
            edit->setText(QString::number(clampedSide(*value)));
    });
}

// While typed, the edit's value stays within [low, high], as keepWithinSideLimits does.
void keepWithin(QLineEdit* edit, int low, int high) {
    QObject::connect(edit, &QLineEdit::textChanged, edit, [edit, low, high] {
        const std::optional<int> value = readNumber(edit);
        if (value && *value != std::clamp(*value, low, high))
            edit->setText(QString::number(std::clamp(*value, low, high)));
    });
}

// The current size and the two edits, placed as the two size dialogs place them.
SizeEdits addSizeEdits(QDialog* dialog, int width, int height, int editX, int widthLabelX) {
    const QLabel* label = makeLabel(dialog, "Текущий размер:", dialogUnits(14, 10, 60, 13));
    addShownValue(dialog, label, "currentSize", QStringLiteral("%1 x %2").arg(width).arg(height),
                  QRect(120, 14, 100, 20));
    makeLabel(dialog, "Width :", dialogUnits(widthLabelX, 34, 42, 8));
    makeLabel(dialog, "Height :", dialogUnits(33, 52, 42, 8));
    SizeEdits edits;
    edits.width = makeNumberEdit(dialog, "width", width, dialogUnits(editX, 31, 44, 12));
    edits.height = makeNumberEdit(dialog, "height", height, dialogUnits(editX, 50, 44, 12));
    keepWithinSideLimits(edits.width);
    keepWithinSideLimits(edits.height);
    return edits;
}

} // namespace

int SizeEdits::widthValue() const {
    return clampedSide(readNumber(width).value_or(minDocumentSide));
}
int SizeEdits::heightValue() const {
    return clampedSide(readNumber(height).value_or(minDocumentSide));
}

PictureSizeDialog::PictureSizeDialog(Mode mode, int width, int height, QWidget* parent)
    : QDialog(parent) {
    setUpDialog(this,
                QString::fromUtf8(mode == Mode::Painter ? "  Изменение размера растра"
                                                        : "  Изменение размера кадра"),
                142);
    addGroupBox(this, dialogUnits(7, 1, 208, 69));
    addGroupBox(this, dialogUnits(7, 73, 208, 64));
    edits_ = addSizeEdits(this, width, height, 72, 33);
    makeLabel(this, "Интерполяция:", dialogUnits(15, 82, 60, 13));
    nearest_ = addRadio(this, "nearest", "  Попиксельная.", dialogUnits(24, 94, 75, 11));
    auto* bicubic = addRadio(this, "bicubic", "  Бикубическая.", dialogUnits(24, 107, 66, 11));
    bilinear_ = addRadio(this, "bilinear", "  Билинейная.", dialogUnits(24, 119, 72, 11));
    bicubic->setChecked(true);
    addOkCancel(this);
}

PictureSizeAnswer PictureSizeDialog::answer() const {
    PictureSizeAnswer a;
    a.accepted = result() == QDialog::Accepted;
    a.width = edits_.widthValue();
    a.height = edits_.heightValue();
    a.interpolation = nearest_->isChecked()    ? Interpolation::NearestNeighbor
                      : bilinear_->isChecked() ? Interpolation::Bilinear
                                               : Interpolation::Bicubic;
    return a;
}

CanvasSizeDialog::CanvasSizeDialog(Mode mode, int width, int height, QWidget* parent)
    : QDialog(parent) {
    setUpDialog(this,
                QString::fromUtf8(mode == Mode::Painter ? "  Изменение размера холста"
                                                        : "  Изменение размера холста кадра"),
                143);
    addGroupBox(this, dialogUnits(7, 0, 208, 76));
    addGroupBox(this, dialogUnits(7, 79, 208, 60));
    edits_ = addSizeEdits(this, width, height, 73, 34);
    makeLabel(this, "Расположение:", dialogUnits(15, 88, 54, 13));
    // Anchors 1..9 by columns: left (top, middle, bottom), centre, right.
    constexpr int positions[9][2] = {{77, 102}, {77, 112},  {77, 123},  {90, 101}, {90, 112},
                                     {90, 123}, {102, 101}, {102, 112}, {102, 123}};
    for (int k = 0; k < 9; ++k) {
        const QByteArray name = "anchor" + QByteArray::number(k + 1);
        anchors_[k] = addRadio(this, name.constData(), "",
                               dialogUnits(positions[k][0], positions[k][1], 10, 10));
    }
    anchors_[int(Anchor::Centre) - 1]->setChecked(true);
    addOkCancel(this);
    if (mode == Mode::Animator)
        edits_.width->setFocus();
}

CanvasSizeAnswer CanvasSizeDialog::answer() const {
    CanvasSizeAnswer a;
    a.accepted = result() == QDialog::Accepted;
    a.width = edits_.widthValue();
    a.height = edits_.heightValue();
    for (int k = 0; k < 9; ++k)
        if (anchors_[k]->isChecked())
            a.anchor = Anchor(k + 1);
    return a;
}

MergeDialog::MergeDialog(int frameCount, QWidget* parent) : QDialog(parent) {
    setUpDialog(this, QString::fromUtf8("  Присоединение анимации"), 97);
    addGroupBox(this, dialogUnits(7, 0, 208, 92));
    beginning_ =
        addRadio(this, "beginning", ": Присоединить в начало.", dialogUnits(21, 7, 105, 15));
    auto* end = addRadio(this, "end", ": Присоединить в конец.", dialogUnits(21, 21, 97, 15));
    afterFrame_ =
        addRadio(this, "afterFrame", ": После заданного кадра.", dialogUnits(21, 35, 104, 15));
    end->setChecked(true);
    const QLabel* label = makeLabel(this, "Колличество кадров:", dialogUnits(24, 52, 75, 13));
    addShownValue(this, label, "frameCount", QString::number(frameCount), QRect(160, 83, 120, 20));
    makeLabel(this, "Задать кадр:", dialogUnits(51, 70, 49, 11));
    frame_ = makeNumberEdit(this, "frame", frameCount, dialogUnits(105, 69, 44, 12));
    // No frame past the last can be chosen; there is no lower limit.
    QObject::connect(frame_, &QLineEdit::textChanged, frame_, [this, frameCount] {
        const std::optional<int> value = readNumber(frame_);
        if (value && *value > frameCount)
            frame_->setText(QString::number(frameCount));
    });
    addOkCancel(this);
}

MergeAnswer MergeDialog::answer() const {
    MergeAnswer a;
    a.accepted = result() == QDialog::Accepted;
    a.place = beginning_->isChecked()    ? MergePlace::AtBeginning
              : afterFrame_->isChecked() ? MergePlace::AfterFrame
                                         : MergePlace::AtEnd;
    a.frameNumber = readNumber(frame_).value_or(0);
    return a;
}

ExportScaleDialog::ExportScaleDialog(int width, int height, int scale, std::optional<int> padding,
                                     QWidget* parent)
    : QDialog(parent) {
    setUpDialog(this, QString::fromUtf8("  Масштаб экспорта"), padding ? 92 : 74);
    addGroupBox(this, dialogUnits(7, 1, 208, padding ? 86 : 68));
    const QLabel* label = makeLabel(this, "Размер:", dialogUnits(14, 10, 60, 13));
    addShownValue(this, label, "currentSize", QStringLiteral("%1 x %2").arg(width).arg(height),
                  QRect(120, 14, 100, 20));
    makeLabel(this, "Увеличение (1-16):", dialogUnits(14, 32, 70, 8));
    scale_ = makeNumberEdit(this, "scale", scale, dialogUnits(90, 30, 30, 12));
    keepWithin(scale_, minExportScale, maxExportScale);
    const QLabel* result = makeLabel(this, "После увеличения:", dialogUnits(14, 52, 70, 13));
    addShownValue(this, result, "scaledSize", QString(), QRect(120, 84, 120, 20));
    auto* shown = findChild<QLabel*>(QStringLiteral("scaledSize"));
    const auto showScaled = [this, shown, width, height] {
        const int n = answer().scale;
        shown->setText(QStringLiteral("%1 x %2").arg(width * n).arg(height * n));
    };
    QObject::connect(scale_, &QLineEdit::textChanged, this, showScaled);
    if (padding) {
        makeLabel(this, "Отступ (0-256):", dialogUnits(14, 72, 70, 8));
        padding_ = makeNumberEdit(this, "padding", *padding, dialogUnits(90, 70, 30, 12));
        keepWithin(padding_, 0, maxSheetPadding);
    }
    addOkCancel(this);
    showScaled();
    scale_->setFocus();
    scale_->selectAll();
}

ExportScaleAnswer ExportScaleDialog::answer() const {
    ExportScaleAnswer a;
    a.accepted = result() == QDialog::Accepted;
    a.scale =
        std::clamp(readNumber(scale_).value_or(minExportScale), minExportScale, maxExportScale);
    a.padding = padding_ ? std::clamp(readNumber(padding_).value_or(0), 0, maxSheetPadding) : 0;
    return a;
}

PictureSizeAnswer runPictureSizeDialog(QWidget* parent, Mode mode, int width, int height) {
    PictureSizeDialog dialog(mode, width, height, parent);
    dialog.exec();
    return dialog.answer();
}

CanvasSizeAnswer runCanvasSizeDialog(QWidget* parent, Mode mode, int width, int height) {
    CanvasSizeDialog dialog(mode, width, height, parent);
    dialog.exec();
    return dialog.answer();
}

MergeAnswer runMergeDialog(QWidget* parent, int frameCount) {
    MergeDialog dialog(frameCount, parent);
    dialog.exec();
    return dialog.answer();
}

ExportScaleAnswer runExportScaleDialog(QWidget* parent, int width, int height, int scale,
                                       std::optional<int> padding) {
    ExportScaleDialog dialog(width, height, scale, padding, parent);
    dialog.exec();
    return dialog.answer();
}

} // namespace vork
