#pragma once
// The client area of the main window: turns Qt's events into the program's input and copies
// each paint's back buffer to the screen.
#include "ui/Editor.h"

#include <QWidget>

namespace vork {

class MainWindow;

class ClientArea : public QWidget {
  public:
    explicit ClientArea(MainWindow& window);

    // The last composed frame, for tests and screenshots.
    const Bitmap& backBuffer() const { return backBuffer_; }

  protected:
    void paintEvent(QPaintEvent*) override;
    void resizeEvent(QResizeEvent*) override;
    void mouseMoveEvent(QMouseEvent*) override;
    void mousePressEvent(QMouseEvent*) override;
    void mouseReleaseEvent(QMouseEvent*) override;
    void keyPressEvent(QKeyEvent*) override;
    void keyReleaseEvent(QKeyEvent*) override;
    void focusOutEvent(QFocusEvent*) override;
    bool focusNextPrevChild(bool) override { return false; } // Tab is a key like any other

  private:
    void paintNowForButton();

    MainWindow& window_;
    Bitmap backBuffer_;
};

} // namespace vork
