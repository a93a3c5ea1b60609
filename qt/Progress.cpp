// SPDX-License-Identifier: GPL-3.0-or-later
#include "qt/Progress.h"

namespace vork {

QtProgressWindow::QtProgressWindow(QWidget* parent, const QString& label)
    : dialog_(label, QStringLiteral("Отмена"), 0, 0, parent) {
    dialog_.setWindowTitle(QStringLiteral("vork"));
    dialog_.setWindowModality(Qt::WindowModal);
    dialog_.setMinimumDuration(progressDelayMilliseconds);
    dialog_.setAutoClose(false);
    dialog_.setAutoReset(false);
    // The dialog counts from its first value: zero now, so the delay runs from the start.
    dialog_.setValue(0);
}

bool QtProgressWindow::step(int done, int total) {
    if (dialog_.maximum() != total)
        dialog_.setMaximum(total);
    // A window-modal dialog runs the event loop on every value, so it can show and be answered.
    dialog_.setValue(done);
    return !dialog_.wasCanceled();
}

} // namespace vork
