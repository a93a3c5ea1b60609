// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/Shortcuts.h"

#include "canvas/CanvasView.h"
#include "canvas/PixelGrid.h"
#include "ui/Keys.h"
#include "ui/Layout.h"

namespace vork {

namespace {

// The letter key typed this frame with Control held: a Latin layout types its control code,
// another layout may type the letter itself.
bool typedWithControl(Editor& e, const KeyCodes& k) {
    const uint8_t c = e.input.lastChar;
    if (c != 0 && c == key::controlCode(k))
        return true;
    return typed(e.input, k) && e.platform.isHeld(HeldKey::Control);
}

// The Control shortcuts. The file commands are posted, as the file buttons post theirs, so
// their choosers open after this paint. Undo and redo become the undo and redo keys for this
// frame, so that they act exactly where and when those keys do. Each shortcut uses the typed
// character up, so no panel takes the letter for its own key as well.
void controlShortcuts(Editor& e, Mode mode) {
    const bool painter = mode == Mode::Painter;
    const bool shift = e.platform.isHeld(HeldKey::Shift);
    uint8_t& c = e.input.lastChar;
    if (typedWithControl(e, key::s)) {
        if (shift)
            e.platform.postCommand(painter ? Command::SavePicture : Command::SaveAnimation);
        else
            e.platform.postCommand(painter ? Command::SavePictureInPlace
                                           : Command::SaveAnimationInPlace);
        c = 0;
    } else if (typedWithControl(e, key::o)) {
        e.platform.postCommand(painter ? Command::OpenPicture : Command::OpenAnimation);
        c = 0;
    } else if (typedWithControl(e, key::n)) {
        e.platform.postCommand(painter ? Command::NewPicture : Command::NewAnimation);
        c = 0;
    } else if (typedWithControl(e, key::z)) {
        c = shift ? key::redo[1] : key::undo[1];
    } else if (typedWithControl(e, key::y)) {
        c = key::redo[1];
    }
}

bool pointerOverCanvas(const Editor& e, Mode mode) {
    const Rect c = layoutOf(e, mode).canvas;
    const int x = e.input.mouseX, y = e.input.mouseY;
    return x >= c.x && x < c.x + c.w && y >= c.y && y < c.y + c.h;
}

} // namespace

void runShortcuts(Editor& e, Mode mode) {
    if (!e.input.inputEnabled)
        return;
    controlShortcuts(e, mode);
    if (e.input.wheelSteps != 0 && pointerOverCanvas(e, mode))
        zoomAtPointer(e, mode, e.input.wheelSteps);
    e.input.wheelSteps = 0;
    if (e.platform.isHeld(HeldKey::Control))
        return;
    if (typed(e.input, key::f)) {
        zoomToFit(e, mode);
    } else if (typed(e.input, key::q) && pixelGridAvailable(e, mode)) {
        e.view.pixelGrid = !e.view.pixelGrid;
        requestModeRepaint(e, mode);
    }
}

} // namespace vork
