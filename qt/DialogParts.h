// SPDX-License-Identifier: GPL-3.0-or-later
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

// A label at the rectangle's place, widened when its text needs more room than the rectangle
// gives (the dialog font may be wider than the one the layout was drawn for).
QLabel* makeLabel(QWidget* parent, const char* text, QRect rect);

// Widens the widget to what its text needs, keeping its place and height.
void fitToText(QWidget* widget);

// The edit's number; nothing for empty text.
std::optional<int> readNumber(const QLineEdit* edit);

} // namespace vork
