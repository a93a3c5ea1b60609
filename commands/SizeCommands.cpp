// SPDX-License-Identifier: GPL-3.0-or-later
#include "commands/SizeCommands.h"

#include "commands/DocumentAftermath.h"
#include "commands/FileMessages.h"
#include "files/AnimationFile.h"
#include "pixels/DocumentResize.h"
#include "pixels/MergeAnimation.h"

namespace vork {

namespace {

constexpr const char* editFailureCaption = "Изменение документа";

std::string editFailureText(EditResult result) {
    switch (result) {
    case EditResult::SizeOutOfRange:
        return "Ширина и высота должны быть от 1 до 5000 точек.";
    case EditResult::TooLarge:
        return "Документ такого размера не поместится в памяти.";
    case EditResult::Done:
    case EditResult::Cancelled:
        break;
    }
    return {};
}

// Ends an operation on the mode's whole document: the aftermath when it was done, a message
// when it was refused, nothing when the user stopped it.
bool finishEdit(Editor& e, Mode mode, EditResult result) {
    if (result == EditResult::Done) {
        documentResized(e, mode);
        markDocumentChanged(e, mode);
        return true;
    }
    if (result != EditResult::Cancelled) {
        ModalScope modal(e);
        e.platform.messageBox(editFailureCaption, editFailureText(result));
    }
    return false;
}

// Runs a whole-document operation under a progress window.
template <class Operation>
EditResult withProgress(Editor& e, const std::string& label, Operation operation) {
    const auto progress = e.platform.beginProgress(label);
    return operation(progressOf(*progress));
}

} // namespace

bool runPictureSize(Editor& e, Mode mode) {
    ModalScope modal(e);
    Document* d = e.mode(mode).document.get();
    if (!d)
        return false;
    const PictureSizeAnswer a = e.platform.pictureSizeDialog(mode, d->width, d->height);
    if (!a.accepted)
        return false;
    const EditResult r = withProgress(e, "Изменение размера", [&](const Progress& p) {
        return rescaleDocument(*d, a.width, a.height, a.interpolation, p);
    });
    return finishEdit(e, mode, r);
}

bool runCanvasSize(Editor& e, Mode mode) {
    ModalScope modal(e);
    Document* d = e.mode(mode).document.get();
    if (!d)
        return false;
    const CanvasSizeAnswer a = e.platform.canvasSizeDialog(mode, d->width, d->height);
    if (!a.accepted)
        return false;
    const EditResult r = withProgress(e, "Изменение размера холста", [&](const Progress& p) {
        return resizeCanvas(*d, a.width, a.height, a.anchor, p);
    });
    return finishEdit(e, mode, r);
}

bool runMerge(Editor& e) {
    ModalScope modal(e);
    Document* animation = e.animation().get();
    if (!animation)
        return false;
    const auto path = e.platform.openFile(
        FileChooser{"Присоединить анимацию", {{"gelum files", "*.gelm"}}, "gelum", ""},
        e.chooserNames.merge);
    if (!path)
        return false;
    DocumentReadResult merged;
    {
        const auto progress = e.platform.beginProgress("Чтение " + *path);
        merged = readAnimationFile(*path, progressOf(*progress));
    }
    if (!merged) {
        if (merged.failure != ReadFailure::Cancelled)
            reportOpenFailure(e, *path, merged.reason);
        return false;
    }
    const MergeAnswer a = e.platform.mergeDialog(animation->frameCount());
    if (!a.accepted)
        return false;
    const int position = mergePosition(a.place, a.frameNumber, animation->frameCount());
    return finishEdit(e, Mode::Animator, mergeAnimation(*animation, *merged.document, position));
}

} // namespace vork
