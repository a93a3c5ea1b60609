// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The client area of the main window: turns Qt's events into the program's input and copies
// each paint's back buffer to the screen.
//
// The program's look is drawn pixel by pixel, so on a high-density screen the whole frame is
// shown at a whole-number scale: it is composed at the logical size (the client size divided by
// the scale) exactly as on any screen and shown enlarged by nearest neighbour, each logical pixel
// a sharp square of scale x scale device pixels; pointer positions are divided by the scale.
#include "ui/Editor.h"

#include <QWidget>

namespace vork {

class MainWindow;

class ClientArea : public QWidget {
  public:
    explicit ClientArea(MainWindow& window);

    // The last composed frame at the logical size, for tests and screenshots.
    const Bitmap& backBuffer() const { return backBuffer_; }
    // Device pixels per logical pixel: 1, 2 or 3.
    int scale() const { return scale_; }
    // The size in device-independent pixels that shows a logical size at this scale.
    QSize sizeFor(int logicalWidth, int logicalHeight) const;

  protected:
    void paintEvent(QPaintEvent*) override;
    void resizeEvent(QResizeEvent*) override;
    void mouseMoveEvent(QMouseEvent*) override;
    void mousePressEvent(QMouseEvent*) override;
    void mouseReleaseEvent(QMouseEvent*) override;
    void keyPressEvent(QKeyEvent*) override;
    void keyReleaseEvent(QKeyEvent*) override;
    void focusOutEvent(QFocusEvent*) override;
    void wheelEvent(QWheelEvent*) override;
    bool focusNextPrevChild(bool) override { return false; } // Tab is a key like any other

  private:
    void paintNowForButton();
    // A position in device-independent pixels as a logical pixel of the program.
    QPoint logical(QPointF position) const;

    MainWindow& window_;
    Bitmap backBuffer_;
    int wheelEighths_ = 0; // wheel turn not yet a whole step (touchpads send small parts)
    int scale_ = 1;
};

} // namespace vork
