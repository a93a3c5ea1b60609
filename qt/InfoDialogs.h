// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The About box and the key reference: modal, closed by "OK" or Escape, returning nothing.
#include <QDialog>

#include <memory>

namespace vork {

// The dialogs, built but not shown. A parent, if given, must outlive the returned pointer.
std::unique_ptr<QDialog> makeAboutBox(QWidget* parent);
std::unique_ptr<QDialog> makeKeyReference(QWidget* parent);

// Build and run modally.
void runAboutBox(QWidget* parent);
void runKeyReference(QWidget* parent);

} // namespace vork
