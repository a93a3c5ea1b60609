#include "app/WindowProcedure.h"

#include "app/Layout.h"
#include "commands/Autosave.h"
#include "commands/DocumentAftermath.h"
#include "commands/DocumentFiles.h"
#include "commands/ImageCommands.h"
#include "commands/NewDocument.h"
#include "commands/PaletteChoosers.h"
#include "commands/SizeCommands.h"
#include "files/CodePage1251.h"
#include "ui/Commands.h"

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

void onRightButtonDown(Editor& e) {
    e.requestRepaint();
}

void onCharacter(Editor& e, uint8_t byte) {
    e.input.lastChar = byte;
    e.requestRepaint();
}

void onKey(Editor& e) {
    e.requestRepaint();
}

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
    case command::newPicture: {
        const Mode mode = id == command::newPicture ? Mode::Painter : Mode::Animator;
        // OK ends in the whole document aftermath. A cancelled dialog may still have changed
        // the size through a preset: the part that follows the size runs then too, for the
        // Animator only while an animation exists.
        if (runNewDocument(e, mode) != 1 && (mode == Mode::Painter || e.animation()))
            sizeAftermath(e, mode);
        break;
    }
    case command::openPicture:
    case command::openAnimation:
        openDocumentFile(e, id == command::openPicture ? Mode::Painter : Mode::Animator);
        break;
    case command::savePicture:
    case command::saveAnimation:
        saveDocumentFile(e, id == command::savePicture ? Mode::Painter : Mode::Animator);
        break;
    case command::insertImagePainter:
    case command::insertImageAnimator:
        insertImage(e, id == command::insertImagePainter ? Mode::Painter : Mode::Animator);
        break;
    case command::insertFromFile:
        loadImageForPaste(e);
        break;
    case command::openImageAsPicture:
        openImageAsNewPicture(e);
        break;
    case command::importGif:
        importGifAnimation(e);
        break;
    case command::exportPicture:
        exportPictureFile(e);
        break;
    case command::exportPng:
        exportFrameFiles(e);
        break;
    case command::exportGif:
        exportGifFile(e);
        break;
    case command::exportSpriteSheet:
        exportSpriteSheetFile(e);
        break;
    // The Animator menu's size items act on the animation and the Painter menu's on the
    // picture, whichever mode is shown.
    case command::animationPictureSize:
    case command::picturePictureSize:
        runPictureSize(e, id == command::picturePictureSize ? Mode::Painter : Mode::Animator);
        break;
    case command::animationCanvasSize:
    case command::pictureCanvasSize:
        runCanvasSize(e, id == command::pictureCanvasSize ? Mode::Painter : Mode::Animator);
        break;
    case command::merge:
        runMerge(e);
        break;
    case command::autosaveFailed:
        reportAutosaveFailure(e);
        break;
    default:
        break;
    }
}

bool openFileAtStart(Editor& e, Mode mode, const std::string& path) {
    e.painterMode = mode == Mode::Painter;
    // A document just restored from its recovery copy holds work that is in no file: the named
    // file does not replace it.
    if (e.mode(mode).document && e.mode(mode).changes.modified) {
        ModalScope modal(e);
        e.platform.messageBox("Файл не открыт",
                              "Файл " + path +
                                  " не открыт: восстановлен несохранённый документ. Сохраните его "
                                  "и откройте файл снова.");
        return false;
    }
    const bool opened = openDocumentAt(e, mode, path);
    e.requestRepaint();
    return opened;
}

bool onDestroy(Editor& e, CloseCause cause, std::ostream& err) {
    e.input.inputEnabled = false;
    const FailureReport how =
        cause == CloseCause::Signal ? FailureReport::StandardErrorOnly : FailureReport::MessageBox;
    const bool written = saveSettingsAndPalettes(e, how, err);
    const bool kept = keepCopiesOnClose(e, how, err);
    e.animation().reset();
    return written && kept;
}

} // namespace vork
