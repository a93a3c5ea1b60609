// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The modal dialogs that change a whole document: the picture size dialog (rescale), the canvas
// size dialog (resize around an anchor) and the merge dialog (where the frames of another
// animation go).
#include "ui/Platform.h"

#include <QDialog>

class QLineEdit;
class QRadioButton;

namespace vork {

// The width and height edits of the size and canvas dialogs with the current size shown beside
// "Текущий размер:". A value typed outside 1..5000 is written back as 1 or 5000 at once.
struct SizeEdits {
    QLineEdit* width = nullptr;
    QLineEdit* height = nullptr;
    int widthValue() const;
    int heightValue() const;
};

class PictureSizeDialog : public QDialog {
  public:
    PictureSizeDialog(Mode mode, int width, int height, QWidget* parent = nullptr);
    // What OK gives: the edits' size and the chosen interpolation.
    PictureSizeAnswer answer() const;

  private:
    SizeEdits edits_;
    QRadioButton* nearest_ = nullptr;
    QRadioButton* bilinear_ = nullptr;
};

class CanvasSizeDialog : public QDialog {
  public:
    CanvasSizeDialog(Mode mode, int width, int height, QWidget* parent = nullptr);
    CanvasSizeAnswer answer() const;

  private:
    SizeEdits edits_;
    QRadioButton* anchors_[9] = {};
};

class MergeDialog : public QDialog {
  public:
    explicit MergeDialog(int frameCount, QWidget* parent = nullptr);
    MergeAnswer answer() const;

  private:
    QLineEdit* frame_ = nullptr;
    QRadioButton* beginning_ = nullptr;
    QRadioButton* afterFrame_ = nullptr;
};

// Each runs its dialog modally; `accepted` only when OK was pressed.
PictureSizeAnswer runPictureSizeDialog(QWidget* parent, Mode mode, int width, int height);
CanvasSizeAnswer runCanvasSizeDialog(QWidget* parent, Mode mode, int width, int height);
MergeAnswer runMergeDialog(QWidget* parent, int frameCount);

} // namespace vork
