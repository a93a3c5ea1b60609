// SPDX-License-Identifier: GPL-3.0-or-later
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

#include <array>

namespace vork {

void onPointerMove(Editor& e, int x, int y) {
    e.input.mouseX = x;
    e.input.mouseY = y;
    e.input.movedSincePaint = true;
    e.requestRepaint();
}

bool paintBeforeRelease(const Editor& e) {
    return e.input.mouseDown && e.input.movedSincePaint;
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
    if (byte == 0)
        return;
    if (e.input.lastChar == 0 && e.input.typedAhead.empty())
        e.input.lastChar = byte;
    else
        e.input.typedAhead.push_back(byte);
    e.requestRepaint();
}

void onKey(Editor& e) {
    e.requestRepaint();
}

void onWheel(Editor& e, int steps) {
    if (!e.input.inputEnabled)
        return;
    e.input.wheelSteps += steps;
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

namespace {

// Most commands open a dialog, a chooser or a message box, and input stays disabled while they
// run; the exit only closes the window.
enum class Runs { Modal, Directly };

struct CommandRow {
    Command id;
    Runs runs;
    void (*run)(Editor& e);
};

// OK ends in the whole document aftermath. A cancelled dialog may still have changed the size
// through a preset: the part that follows the size runs then too, for the Animator only while
// an animation exists.
void newDocument(Editor& e, Mode mode) {
    if (runNewDocument(e, mode) != 1 && (mode == Mode::Painter || e.animation()))
        sizeAftermath(e, mode);
}

// A row per command, in the order of the Command enumeration. The Animator menu's size items
// act on the animation and the Painter menu's on the picture, whichever mode is shown.
constexpr std::array<CommandRow, commandCount> commandTable{{
    {Command::About, Runs::Modal, [](Editor& e) { e.platform.aboutBox(); }},
    {Command::KeyReference, Runs::Modal, [](Editor& e) { e.platform.keyReference(); }},
    {Command::ImportGif, Runs::Modal, [](Editor& e) { importGifAnimation(e); }},
    {Command::InsertFromFile, Runs::Modal, [](Editor& e) { loadImageForPaste(e); }},
    {Command::ExportPng, Runs::Modal, [](Editor& e) { exportFrameFiles(e); }},
    {Command::ExportGif, Runs::Modal, [](Editor& e) { exportGifFile(e); }},
    {Command::ExportWebp, Runs::Modal, [](Editor& e) { exportWebpFile(e); }},
    {Command::ExportSpriteSheet, Runs::Modal, [](Editor& e) { exportSpriteSheetFile(e); }},
    {Command::AnimationPictureSize, Runs::Modal,
     [](Editor& e) { runPictureSize(e, Mode::Animator); }},
    {Command::AnimationCanvasSize, Runs::Modal,
     [](Editor& e) { runCanvasSize(e, Mode::Animator); }},
    {Command::Merge, Runs::Modal, [](Editor& e) { runMerge(e); }},
    {Command::Exit, Runs::Directly, [](Editor& e) { e.platform.destroyWindow(); }},
    {Command::PicturePictureSize, Runs::Modal, [](Editor& e) { runPictureSize(e, Mode::Painter); }},
    {Command::PictureCanvasSize, Runs::Modal, [](Editor& e) { runCanvasSize(e, Mode::Painter); }},
    {Command::NewPicture, Runs::Modal, [](Editor& e) { newDocument(e, Mode::Painter); }},
    {Command::NewAnimation, Runs::Modal, [](Editor& e) { newDocument(e, Mode::Animator); }},
    {Command::OpenPicture, Runs::Modal, [](Editor& e) { openDocumentFile(e, Mode::Painter); }},
    {Command::OpenAnimation, Runs::Modal, [](Editor& e) { openDocumentFile(e, Mode::Animator); }},
    {Command::SavePicture, Runs::Modal, [](Editor& e) { saveDocumentFile(e, Mode::Painter); }},
    {Command::SaveAnimation, Runs::Modal, [](Editor& e) { saveDocumentFile(e, Mode::Animator); }},
    {Command::InsertImagePainter, Runs::Modal, [](Editor& e) { insertImage(e, Mode::Painter); }},
    {Command::InsertImageAnimator, Runs::Modal, [](Editor& e) { insertImage(e, Mode::Animator); }},
    {Command::OpenImageAsPicture, Runs::Modal, [](Editor& e) { openImageAsNewPicture(e); }},
    {Command::ExportPicture, Runs::Modal, [](Editor& e) { exportPictureFile(e); }},
    {Command::AutosaveFailed, Runs::Modal, [](Editor& e) { reportAutosaveFailure(e); }},
    {Command::SavePictureInPlace, Runs::Modal,
     [](Editor& e) { saveDocumentInPlace(e, Mode::Painter); }},
    {Command::SaveAnimationInPlace, Runs::Modal,
     [](Editor& e) { saveDocumentInPlace(e, Mode::Animator); }},
}};

constexpr bool everyCommandHasItsRow() {
    for (size_t i = 0; i < commandTable.size(); ++i)
        if (commandTable[i].id != Command(i))
            return false;
    return true;
}
static_assert(everyCommandHasItsRow(), "one row per command, in the order of Command");

} // namespace

void onCommand(Editor& e, Command id) {
    if (size_t(id) >= commandTable.size())
        return;
    const CommandRow& row = commandTable[size_t(id)];
    if (row.runs == Runs::Directly) {
        row.run(e);
        return;
    }
    ModalScope modal(e);
    row.run(e);
}

bool openFileAtStart(Editor& e, Mode mode, const std::string& path) {
    e.shownMode = mode;
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
