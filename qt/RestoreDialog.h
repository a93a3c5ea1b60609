// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The question asked at start when documents an earlier run left unsaved can be restored: a
// small modal dialog that lists them, with "Да" and "Нет". Escape and the close button answer
// "Нет", which keeps the copies aside, so nothing is lost either way.
#include "ui/Platform.h"

#include <QDialog>

#include <memory>

namespace vork {

// The dialog, built but not shown; accepted means Yes. A parent, if given, must outlive it.
std::unique_ptr<QDialog> makeRestoreDialog(QWidget* parent, const RestoreQuestion& question);

// Builds and runs it modally; true for Yes.
bool runRestoreDialog(QWidget* parent, const RestoreQuestion& question);

} // namespace vork
