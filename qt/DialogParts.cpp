// SPDX-License-Identifier: GPL-3.0-or-later
#include "qt/DialogParts.h"

#include <QRegularExpression>
#include <QRegularExpressionValidator>

namespace vork {

namespace {
// A dialog unit is a quarter of the average character width across and an eighth of the
// character height down.
constexpr double unitX = 1.5, unitY = 1.625;
constexpr int maxNumberDigits = 9;
} // namespace

QRect dialogUnits(int x, int y, int w, int h) {
    const int left = qRound(x * unitX), top = qRound(y * unitY);
    const int right = qRound((x + w) * unitX), bottom = qRound((y + h) * unitY);
    return QRect(left, top, right - left, bottom - top);
}

QLineEdit* makeNumberEdit(QWidget* parent, const char* name, int value, QRect rect) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QString::fromLatin1(name));
    edit->setMaxLength(maxNumberDigits);
    edit->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), edit));
    if (value >= 0)
        edit->setText(QString::number(value));
    edit->setGeometry(rect);
    return edit;
}

QLabel* makeLabel(QWidget* parent, const char* text, QRect rect) {
    auto* label = new QLabel(QString::fromUtf8(text), parent);
    label->setGeometry(rect);
    fitToText(label);
    return label;
}

void fitToText(QWidget* widget) {
    const int needed = widget->sizeHint().width();
    if (needed > widget->width())
        widget->resize(needed, widget->height());
}

std::optional<int> readNumber(const QLineEdit* edit) {
    bool ok = false;
    const int value = edit->text().toInt(&ok);
    return ok ? std::optional<int>(value) : std::nullopt;
}

} // namespace vork
