#pragma once
// What the program's small modal dialogs are built from: rectangles given in dialog units,
// digit-only edits and plain labels.
#include <QLabel>
#include <QLineEdit>
#include <QRect>

#include <optional>

namespace vork {

// A rectangle in dialog units of an 8-point dialog font, in pixels. Corners are converted, not
// sizes, so controls that touch in units still touch in pixels.
QRect dialogUnits(int x, int y, int w, int h);

// An edit that takes digits only (at most nine, so its value always fits an int), showing
// `value` unless it is negative.
QLineEdit* makeNumberEdit(QWidget* parent, const char* name, int value, QRect rect);

QLabel* makeLabel(QWidget* parent, const char* text, QRect rect);

// The edit's number; nothing for empty text.
std::optional<int> readNumber(const QLineEdit* edit);

} // namespace vork
