#include "qt/ClientArea.h"

#include "app/FrameCycle.h"
#include "app/WindowProcedure.h"
#include "qt/MainWindow.h"
#include "ui/Commands.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

namespace vork {

namespace {
std::optional<HeldKey> heldKeyOf(int key) {
    switch (key) {
    case Qt::Key_Left:
        return HeldKey::Left;
    case Qt::Key_Right:
        return HeldKey::Right;
    case Qt::Key_Up:
        return HeldKey::Up;
    case Qt::Key_Down:
        return HeldKey::Down;
    case Qt::Key_Delete:
        return HeldKey::Delete;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return HeldKey::Enter;
    case Qt::Key_Escape:
        return HeldKey::Escape;
    case Qt::Key_Shift:
        return HeldKey::Shift;
    case Qt::Key_Control:
        return HeldKey::Control;
    default:
        return std::nullopt;
    }
}
} // namespace

// A press and its release may both arrive before the next paint; every frame must see the
// button state of each of them, or a quick click would never be noticed by the widgets.
void ClientArea::paintNowForButton() {
    if (window_.editor().input.inputEnabled)
        repaint();
}

ClientArea::ClientArea(MainWindow& window) : QWidget(&window), window_(window) {
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    // The program paints every pixel of the client area itself.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
}

void ClientArea::paintEvent(QPaintEvent*) {
    paintWindow(window_.editor(), backBuffer_);
    QPainter p(this);
    p.drawImage(0, 0, backBuffer_.qimage());
}

void ClientArea::resizeEvent(QResizeEvent*) {
    onResize(window_.editor(), width(), height());
}

void ClientArea::mouseMoveEvent(QMouseEvent* e) {
    QPoint pos = e->position().toPoint();
    onPointerMove(window_.editor(), pos.x(), pos.y());
}

void ClientArea::mousePressEvent(QMouseEvent* e) {
    QPoint pos = e->position().toPoint();
    window_.editor().input.mouseX = pos.x();
    window_.editor().input.mouseY = pos.y();
    if (e->button() == Qt::LeftButton) {
        window_.setHeld(HeldKey::LeftButton, true);
        onLeftButtonDown(window_.editor());
        paintNowForButton();
    } else if (e->button() == Qt::RightButton) {
        window_.setHeld(HeldKey::RightButton, true);
        onRightButtonDown(window_.editor());
    }
}

void ClientArea::mouseReleaseEvent(QMouseEvent* e) {
    if (e->button() == Qt::LeftButton) {
        window_.setHeld(HeldKey::LeftButton, false);
        onLeftButtonUp(window_.editor());
        paintNowForButton();
    } else if (e->button() == Qt::RightButton) {
        window_.setHeld(HeldKey::RightButton, false);
        window_.editor().requestRepaint();
    }
}

void ClientArea::keyPressEvent(QKeyEvent* e) {
    Editor& ed = window_.editor();
    // Alt + "?" and Alt + "/" open the About box.
    if ((e->modifiers() & Qt::AltModifier) &&
        (e->key() == Qt::Key_Slash || e->key() == Qt::Key_Question)) {
        onCommand(ed, command::about);
        return;
    }
    if (!e->isAutoRepeat())
        if (auto k = heldKeyOf(e->key()))
            window_.setHeld(*k, true);
    onKey(ed);
    const QString text = e->text();
    if (!text.isEmpty() && !(e->modifiers() & Qt::AltModifier)) {
        char32_t c = text.toUcs4().value(0);
        uint8_t byte = 0;
        if (characterByte(c, byte))
            onCharacter(ed, byte);
    }
}

void ClientArea::keyReleaseEvent(QKeyEvent* e) {
    if (!e->isAutoRepeat())
        if (auto k = heldKeyOf(e->key()))
            window_.setHeld(*k, false);
    onKey(window_.editor());
}

void ClientArea::focusOutEvent(QFocusEvent*) {
    // No key may stay held once the window no longer hears its release.
    window_.clearHeld();
}

} // namespace vork
