#include "app/WindowProcedure.h"

#include "app/Commands.h"
#include "app/Layout.h"
#include "files/ui/NewDocument.h"
#include "files/ui/PaletteChoosers.h"
#include "model/CodePage1251.h"

namespace vork {

void onPointerMove(Editor& e, int x, int y) {
    e.input.mouseX = x;
    e.input.mouseY = y;
    e.requestRepaint();
}

void onLeftButtonDown(Editor& e) {
    // While a frame drag or a delay pop-up holds the pointer, a press counts as released.
    e.input.mouseDown = !e.input.delayPopupActive;
    e.requestRepaint();
}

void onLeftButtonUp(Editor& e) {
    e.input.mouseDown = false;
    e.requestRepaint();
}

void onRightButtonDown(Editor& e) { e.requestRepaint(); }

void onCharacter(Editor& e, uint8_t byte) {
    e.input.lastChar = byte;
    e.requestRepaint();
}

void onKey(Editor& e) { e.requestRepaint(); }

bool characterByte(char32_t c, uint8_t& byte) {
    auto b = toCodePage1251(c);
    if (!b || *b == 0)
        return false;
    byte = *b;
    return true;
}

void onResize(Editor& e, int w, int h) {
    e.clientWidth = w;
    e.clientHeight = h;
    layoutAll(e);
    e.requestRepaint();
}

namespace {

// The working bitmap of the mode's drawing tools, transparent, at the mode's size.
void remakeScratch(Editor& e, Mode mode) {
    const bool painter = mode == Mode::Painter;
    e.mode(mode).scratch = Bitmap(int(painter ? e.sizes.pictureWidth : e.sizes.animationWidth),
                                  int(painter ? e.sizes.pictureHeight : e.sizes.animationHeight));
}

// Input stays disabled for as long as a modal dialog or chooser may be open.
class ModalScope {
public:
    explicit ModalScope(Editor& e) : e_(e) { e_.input.inputEnabled = false; }
    // The dialog may have changed what the window shows, so it is painted again afterwards.
    ~ModalScope() {
        e_.input.inputEnabled = true;
        e_.requestRepaint();
    }
    ModalScope(const ModalScope&) = delete;
    ModalScope& operator=(const ModalScope&) = delete;

private:
    Editor& e_;
};

} // namespace

void onCommand(Editor& e, int id) {
    if (id == command::exit) {
        e.platform.destroyWindow();
        return;
    }
    ModalScope modal(e);
    switch (id) {
    case command::about:
        e.platform.aboutBox();
        break;
    case command::keyReference:
        e.platform.keyReference();
        break;
    case command::newAnimation:
        runNewDocument(e, DocumentKind::Animation);
        if (e.animation()) {
            remakeScratch(e, Mode::Animator);
            e.selection.drop();
            e.mode(Mode::Animator).previewUpToDate = false;
            e.onion.on = false;
        }
        break;
    case command::newPicture:
        runNewDocument(e, DocumentKind::Picture);
        // The aftermath runs whether the dialog ended with OK or with Cancel.
        remakeScratch(e, Mode::Painter);
        e.selection.drop();
        resizeLayerCaches(e.belowCache, e.aboveCache, e.sizes.pictureWidth, e.sizes.pictureHeight);
        e.mode(Mode::Painter).previewUpToDate = false;
        e.frame.painterRedrawRequest = true;
        break;
    default:
        // The file, size and merge commands arrive with their dialogs.
        break;
    }
}

void onDestroy(Editor& e) {
    e.input.inputEnabled = false;
    saveSettingsAndPalettes(e);
    e.animation().reset();
}

} // namespace vork
