// SPDX-License-Identifier: GPL-3.0-or-later
#include "qt/ClientArea.h"

#include "app/FrameCycle.h"
#include "app/WindowProcedure.h"
#include "qt/MainWindow.h"
#include "ui/Commands.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <string>

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

// The scale: VORK_SCALE when it is 1, 2 or 3, otherwise the screen's device pixel ratio rounded
// to the nearest whole number, within 1..3.
int chosenScale(double devicePixelRatio) {
    if (const char* v = std::getenv("VORK_SCALE")) {
        const std::string s = v;
        if (s == "1" || s == "2" || s == "3")
            return s[0] - '0';
    }
    return std::clamp(int(std::lround(devicePixelRatio)), 1, 3);
}

namespace {
// The bitmap's pixels as a read-only QImage, without a copy; it must not outlive the bitmap.
QImage viewOf(const Bitmap& b) {
    return QImage(b.bytes(), b.width(), b.height(), b.stride(),
                  b.format() == PixelFormat::Rgb ? QImage::Format_RGB32 : QImage::Format_ARGB32);
}
} // namespace

// Each pixel of `image` as a factor x factor square.
QImage enlarged(const QImage& image, int factor) {
    QImage out(image.width() * factor, image.height() * factor, image.format());
    for (int y = 0; y < image.height(); ++y) {
        const auto* in = reinterpret_cast<const uint32_t*>(image.constScanLine(y));
        auto* first = reinterpret_cast<uint32_t*>(out.scanLine(y * factor));
        for (int x = 0; x < image.width(); ++x)
            std::fill_n(first + x * factor, factor, in[x]);
        for (int k = 1; k < factor; ++k)
            std::memcpy(out.scanLine(y * factor + k), first, size_t(out.bytesPerLine()));
    }
    return out;
}

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
    scale_ = chosenScale(devicePixelRatioF());
}

QSize ClientArea::sizeFor(int logicalWidth, int logicalHeight) const {
    const double dpr = devicePixelRatioF();
    return {int(std::ceil(logicalWidth * scale_ / dpr)),
            int(std::ceil(logicalHeight * scale_ / dpr))};
}

QPoint ClientArea::logical(QPointF position) const {
    const double dpr = devicePixelRatioF();
    return {int(std::floor(position.x() * dpr / scale_)),
            int(std::floor(position.y() * dpr / scale_))};
}

void ClientArea::paintEvent(QPaintEvent*) {
    paintWindow(window_.editor(), backBuffer_);
    QPainter p(this);
    const double dpr = devicePixelRatioF();
    if (scale_ == 1 && dpr == 1) {
        p.drawImage(0, 0, viewOf(backBuffer_));
        return;
    }
    QImage shown = enlarged(viewOf(backBuffer_), scale_);
    shown.setDevicePixelRatio(dpr);
    p.drawImage(0, 0, shown);
}

void ClientArea::resizeEvent(QResizeEvent*) {
    const double dpr = devicePixelRatioF();
    onResize(window_.editor(), int(width() * dpr) / scale_, int(height() * dpr) / scale_);
}

void ClientArea::mouseMoveEvent(QMouseEvent* e) {
    QPoint pos = logical(e->position());
    onPointerMove(window_.editor(), pos.x(), pos.y());
}

void ClientArea::mousePressEvent(QMouseEvent* e) {
    QPoint pos = logical(e->position());
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
        // The release is where the stroke ends: a move to it that no paint has drawn yet is
        // drawn first, with the button still down.
        const QPoint pos = logical(e->position());
        Editor& ed = window_.editor();
        if (pos.x() != ed.input.mouseX || pos.y() != ed.input.mouseY)
            onPointerMove(ed, pos.x(), pos.y());
        if (paintBeforeRelease(ed))
            paintNowForButton();
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
        onCommand(ed, Command::About);
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

// Whole wheel steps (120 eighths of a degree each) go to the window procedure; the pointer is
// taken from the event, since the wheel may turn before any move was seen.
void ClientArea::wheelEvent(QWheelEvent* e) {
    wheelEighths_ += e->angleDelta().y();
    const int steps = wheelEighths_ / 120;
    wheelEighths_ -= steps * 120;
    if (steps == 0)
        return;
    const QPoint pos = logical(e->position());
    window_.editor().input.mouseX = pos.x();
    window_.editor().input.mouseY = pos.y();
    onWheel(window_.editor(), steps);
}

void ClientArea::focusOutEvent(QFocusEvent*) {
    // No key may stay held once the window no longer hears its release.
    window_.clearHeld();
}

} // namespace vork
