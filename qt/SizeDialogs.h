// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The modal dialogs that change a whole document: the picture size dialog (rescale), the canvas
// size dialog (resize around an anchor) and the merge dialog (where the frames of another
// animation go); and, drawn like them, the export scale dialog before an image export.
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

// The scale of an export, with the size it gives shown as it is typed, and for a sprite sheet
// the padding between cells. The edits keep their values within 1..16 and 0..256.
class ExportScaleDialog : public QDialog {
  public:
    ExportScaleDialog(int width, int height, int scale, std::optional<int> padding,
                      QWidget* parent = nullptr);
    ExportScaleAnswer answer() const;

  private:
    QLineEdit* scale_ = nullptr;
    QLineEdit* padding_ = nullptr; // none unless the padding is asked
};

// Each runs its dialog modally; `accepted` only when OK was pressed.
PictureSizeAnswer runPictureSizeDialog(QWidget* parent, Mode mode, int width, int height);
CanvasSizeAnswer runCanvasSizeDialog(QWidget* parent, Mode mode, int width, int height);
MergeAnswer runMergeDialog(QWidget* parent, int frameCount);
ExportScaleAnswer runExportScaleDialog(QWidget* parent, int width, int height, int scale,
                                       std::optional<int> padding);

} // namespace vork
