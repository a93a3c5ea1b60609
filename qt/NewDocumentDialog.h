// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The modal dialog that asks for the size of a new picture or animation.
#include "ui/Platform.h"

#include <QDialog>
#include <QString>

#include <functional>

class QLineEdit;
class QListWidget;
class QListWidgetItem;

namespace vork {

class NewDocumentDialog : public QDialog {
  public:
    // `width` and `height` are shown in the edits when the dialog opens. `onPreset` is
    // called as soon as a preset is double-clicked (it may be empty).
    NewDocumentDialog(Mode mode, int width, int height, std::function<void(int, int)> onPreset,
                      QWidget* parent = nullptr);

    // Valid once the dialog was accepted: the size typed or chosen, inside the allowed range.
    int resultWidth() const { return resultWidth_; }
    int resultHeight() const { return resultHeight_; }

    // Shows why OK was refused. Replaceable so that a caller (or a test) can catch the
    // message instead of a blocking message box.
    std::function<void(const QString&)> warn;

    // Accepts only a size inside the allowed range; otherwise warns and stays open.
    void accept() override;

  private:
    void choosePreset(QListWidgetItem* item);

    std::function<void(int, int)> onPreset_;
    QListWidget* presets_ = nullptr;
    QLineEdit* widthEdit_ = nullptr;
    QLineEdit* heightEdit_ = nullptr;
    int resultWidth_ = 0, resultHeight_ = 0;
};

// Runs the dialog modally; `accepted` only when OK was pressed with a valid size.
NewDocumentAnswer runNewDocumentDialog(QWidget* parent, Mode mode, int width, int height,
                                       const std::function<void(int, int)>& onPreset);

// The text shown when OK is pressed with a size outside the allowed range.
QString documentSizeRangeMessage();

} // namespace vork
