// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The progress window of a long operation: a QProgressDialog that appears only when the work
// lasts longer than about half a second, with a button that asks the work to stop.
#include "ui/Platform.h"

#include <QProgressDialog>

namespace vork {

class QtProgressWindow : public ProgressWindow {
  public:
    QtProgressWindow(QWidget* parent, const QString& label);
    bool step(int done, int total) override;
    QProgressDialog& dialog() { return dialog_; }

  private:
    QProgressDialog dialog_;
};

// How long the work must run before the window shows itself.
inline constexpr int progressDelayMilliseconds = 500;

} // namespace vork
