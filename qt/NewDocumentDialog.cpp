// SPDX-License-Identifier: GPL-3.0-or-later
#include "qt/NewDocumentDialog.h"

#include "qt/DialogParts.h"

#include <QFont>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>

#include <array>
#include <optional>
#include <utility>

namespace vork {
namespace {

struct Preset {
    int width, height;
};
constexpr std::array<Preset, 7> presetSizes{{
    {128, 128},
    {224, 224},
    {256, 256},
    {320, 320},
    {512, 512},
    {640, 480},
    {1024, 768},
}};

} // namespace

QString documentSizeRangeMessage() {
    return QString::fromUtf8("Ширина и высота должны быть целыми числами от %1 до %2 пикселей.")
        .arg(minDocumentSide)
        .arg(maxDocumentSide);
}

NewDocumentDialog::NewDocumentDialog(Mode mode, int width, int height,
                                     std::function<void(int, int)> onPreset, QWidget* parent)
    : QDialog(parent), onPreset_(std::move(onPreset)) {
    setWindowTitle(mode == Mode::Painter ? QStringLiteral("New Rastr")
                                         : QStringLiteral("New Animation"));
    QFont dialogFont = font();
    dialogFont.setPointSize(8);
    setFont(dialogFont);
    setFixedSize(dialogUnits(0, 0, 200, 146).size());

    // The frames come first so that the controls drawn over them stay on top.
    auto* frame = new QFrame(this);
    frame->setFrameStyle(QFrame::Box | QFrame::Sunken);
    frame->setGeometry(dialogUnits(6, 7, 185, 58));
    auto* dimensions = new QGroupBox(QStringLiteral("Image Dimensions"), this);
    dimensions->setGeometry(dialogUnits(6, 67, 185, 54));

    makeLabel(this, "Presets :", dialogUnits(9, 12, 42, 13));
    presets_ = new QListWidget(this);
    presets_->setObjectName(QStringLiteral("presets"));
    presets_->setSortingEnabled(false);
    for (const Preset& p : presetSizes)
        presets_->addItem(QStringLiteral("%1 x %2").arg(p.width).arg(p.height));
    presets_->setGeometry(dialogUnits(52, 11, 130, 48));

    makeLabel(this, "Width :", dialogUnits(20, 84, 42, 8));
    widthEdit_ = makeNumberEdit(this, "width", width, dialogUnits(58, 81, 44, 12));
    makeLabel(this, "Height :", dialogUnits(19, 104, 42, 8));
    heightEdit_ = makeNumberEdit(this, "height", height, dialogUnits(58, 101, 44, 12));

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setGeometry(dialogUnits(90, 124, 44, 14));
    ok->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
    cancel->setGeometry(dialogUnits(146, 124, 46, 14));

    setTabOrder(presets_, widthEdit_);
    setTabOrder(widthEdit_, heightEdit_);
    setTabOrder(heightEdit_, ok);
    setTabOrder(ok, cancel);
    widthEdit_->setFocus();
    widthEdit_->selectAll();

    // Only a double-click chooses a preset; a single click merely selects the line.
    QObject::connect(presets_, &QListWidget::itemDoubleClicked, this,
                     [this](QListWidgetItem* item) { choosePreset(item); });
    QObject::connect(ok, &QPushButton::clicked, this, [this] { accept(); });
    QObject::connect(cancel, &QPushButton::clicked, this, [this] { reject(); });

    warn = [this](const QString& text) { QMessageBox::warning(this, windowTitle(), text); };
}

void NewDocumentDialog::choosePreset(QListWidgetItem* item) {
    const int row = presets_->row(item);
    if (row < 0 || row >= static_cast<int>(presetSizes.size()))
        return;
    const Preset& p = presetSizes[static_cast<std::size_t>(row)];
    if (onPreset_)
        onPreset_(p.width, p.height);
    widthEdit_->setText(QString::number(p.width));
    heightEdit_->setText(QString::number(p.height));
}

void NewDocumentDialog::accept() {
    const std::optional<int> width = readNumber(widthEdit_);
    const std::optional<int> height = readNumber(heightEdit_);
    if (!width || !height || !validDocumentSize(*width, *height)) {
        if (warn)
            warn(documentSizeRangeMessage());
        const bool widthBad = !width || *width < minDocumentSide || *width > maxDocumentSide;
        QLineEdit* bad = widthBad ? widthEdit_ : heightEdit_;
        bad->setFocus();
        bad->selectAll();
        return;
    }
    resultWidth_ = *width;
    resultHeight_ = *height;
    QDialog::accept();
}

NewDocumentAnswer runNewDocumentDialog(QWidget* parent, Mode mode, int width, int height,
                                       const std::function<void(int, int)>& onPreset) {
    NewDocumentDialog dialog(mode, width, height, onPreset, parent);
    NewDocumentAnswer answer;
    if (dialog.exec() == QDialog::Accepted) {
        answer.accepted = true;
        answer.width = dialog.resultWidth();
        answer.height = dialog.resultHeight();
    }
    return answer;
}

} // namespace vork
