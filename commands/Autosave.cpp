// SPDX-License-Identifier: GPL-3.0-or-later
#include "commands/Autosave.h"

#include "files/AnimationFile.h"
#include "files/PictureFile.h"
#include "model/SharedCopy.h"
#include "ui/Commands.h"

#include <chrono>
#include <cstdio>
#include <ctime>
#include <exception>
#include <future>
#include <new>

#include <unistd.h>

namespace vork {

namespace {

constexpr Mode bothModes[] = {Mode::Painter, Mode::Animator};
constexpr const char* outOfMemory = "не хватило памяти";

DocumentFileFormat formatOf(Mode mode) {
    return mode == Mode::Painter ? DocumentFileFormat::Picture : DocumentFileFormat::Animation;
}

std::string copyPath(const Editor& e, Mode mode) {
    return recoveryFilePath(e.recovery.folder, e.recovery.session, formatOf(mode));
}

bool keepingCopies(const Editor& e) {
    return !e.recovery.folder.empty();
}

FileSystemOps& fileOpsOf(const Editor& e) {
    return e.recovery.fileOps ? *e.recovery.fileOps : systemFileOps();
}

// Encodes the document in its format and saves it atomically: on the worker for a copy taken
// while the program runs, on the main thread at the close.
SaveResult writeCopy(const std::string& path, const Document& document, Mode mode,
                     const std::vector<PaletteEntry>& palette, FileSystemOps& ops) {
    const std::vector<uint8_t> bytes = mode == Mode::Painter ? encodePicture(document, palette)
                                                             : encodeAnimation(document, palette);
    if (bytes.empty())
        return SaveResult{false, outOfMemory};
    return saveFileAtomically(path, bytes, ops);
}

// The copy is taken between gestures: a stroke half drawn is not what the user means to keep.
bool betweenGestures(const Editor& e) {
    return !e.input.mouseDown;
}

bool copyDue(const Editor& e, Mode mode, uint32_t now) {
    const ModeState& m = e.mode(mode);
    const DocumentChanges& c = m.changes;
    return m.document && c.modified && !c.writing.valid() && c.revision != c.revisionKept &&
           c.unkeptSince && now - *c.unkeptSince >= autosaveDelayMs;
}

// The worker's part: the copy shares its pixels with the document, which goes on changing.
SaveResult writeSharedCopy(Document& copy, Mode mode, const std::vector<PaletteEntry>& palette,
                           const std::string& path, FileSystemOps& ops) {
    try {
        // The layer drawn on is the one the program most likely changes next: with pixels of
        // its own here, the program need not copy them when it does.
        Layer& drawnOn = copy.currentLayer();
        drawnOn.image = drawnOn.image.clone();
        return writeCopy(path, copy, mode, palette, ops);
    } catch (const std::bad_alloc&) {
        return SaveResult{false, outOfMemory};
    }
}

void startCopy(Editor& e, Mode mode) {
    ModeState& m = e.mode(mode);
    DocumentChanges& c = m.changes;
    try {
        c.writing = std::async(std::launch::async, [copy = sharedPixelCopy(*m.document), mode,
                                                    palette = e.colour.palettes.small,
                                                    path = copyPath(e, mode), ops = &fileOpsOf(e)] {
            return writeSharedCopy(*copy, mode, palette, path, *ops);
        });
    } catch (const std::exception&) {
        // No thread to write it on, or no memory for the copy's records: the copy stays due
        // and is tried again at the next tick.
        return;
    }
    c.revisionWriting = c.revision;
    c.unkeptSince.reset();
}

// Takes in a finished write: the revision the copy now holds, or the failure, after which the
// copy is tried again once the delay has passed. False on a failure.
bool finishCopy(Editor& e, Mode mode, const SaveResult& result, uint32_t now) {
    DocumentChanges& c = e.mode(mode).changes;
    RecoveryState& r = e.recovery;
    if (result) {
        c.revisionKept = c.revisionWriting;
        r.failure.clear();
        r.failureTold = false;
        return true;
    }
    if (!c.unkeptSince)
        c.unkeptSince = now;
    r.failure = autosaveFailureText(copyPath(e, mode), result.reason);
    return false;
}

// A failure is told once for a run of failures, until a copy is written again.
void takeFinishedCopy(Editor& e, Mode mode, uint32_t now) {
    std::future<SaveResult>& writing = e.mode(mode).changes.writing;
    if (!writing.valid() || writing.wait_for(std::chrono::seconds(0)) != std::future_status::ready)
        return;
    if (finishCopy(e, mode, writing.get(), now) || e.recovery.failureTold)
        return;
    e.recovery.failureTold = true;
    e.platform.postCommand(Command::AutosaveFailed);
}

// Waits for the copy under way, if any, and forgets its result.
void waitForCopy(DocumentChanges& c) {
    if (c.writing.valid())
        c.writing.get();
}

} // namespace

std::string autosaveFailureText(const std::string& file, const std::string& reason) {
    return "Не удалось записать копию несохранённого документа\n" + file + "\n" + reason +
           "\nПрежняя копия не тронута. Сохраните документ, чтобы не потерять изменения.";
}

std::string closeCopyFailureText(const std::string& file, const std::string& reason) {
    return "Не удалось записать копию несохранённого документа\n" + file + "\n" + reason +
           "\nИзменения, которых нет в прежней копии, будут потеряны.";
}

bool openRecoveryFolder(Editor& e, const std::string& folder, std::string& reason) {
    RecoveryState& r = e.recovery;
    const std::string session = newSessionName(std::time(nullptr), ::getpid());
    if (!r.lock.take(folder, session, reason))
        return false;
    r.folder = folder;
    r.session = session;
    removeEndedSessionFiles(folder);
    return true;
}

void autosaveTick(Editor& e) {
    // While a dialog or a long operation is under way the document may be half changed, and a
    // message box must not open over the dialog: everything waits until it is done.
    if (!keepingCopies(e) || !e.input.inputEnabled)
        return;
    const uint32_t now = e.platform.tickCount();
    for (Mode mode : bothModes) {
        takeFinishedCopy(e, mode, now);
        if (copyDue(e, mode, now) && betweenGestures(e))
            startCopy(e, mode);
    }
}

void documentMatchesFile(Editor& e, Mode mode) {
    DocumentChanges& c = e.mode(mode).changes;
    // A write under way would put the copy back after it was removed.
    waitForCopy(c);
    c.modified = false;
    c.revisionKept = 0;
    c.unkeptSince.reset();
    if (keepingCopies(e))
        std::remove(copyPath(e, mode).c_str());
}

void documentRestored(Editor& e, Mode mode, const std::string& adopted) {
    DocumentChanges& c = e.mode(mode).changes;
    waitForCopy(c);
    c.modified = true;
    ++c.revision;
    c.unkeptSince.reset();
    c.revisionKept = 0;
    if (keepingCopies(e) && std::rename(adopted.c_str(), copyPath(e, mode).c_str()) == 0)
        c.revisionKept = c.revision;
    else // the copy is written afresh once the delay has passed
        c.unkeptSince = e.platform.tickCount();
}

bool keepCopiesOnClose(Editor& e, FailureReport how, std::ostream& err) {
    if (!keepingCopies(e))
        return true;
    bool allKept = true;
    for (Mode mode : bothModes) {
        ModeState& m = e.mode(mode);
        DocumentChanges& c = m.changes;
        if (c.writing.valid())
            finishCopy(e, mode, c.writing.get(), e.platform.tickCount());
        if (!m.document || !c.modified || c.revision == c.revisionKept)
            continue;
        const std::string path = copyPath(e, mode);
        const SaveResult saved =
            writeCopy(path, *m.document, mode, e.colour.palettes.small, fileOpsOf(e));
        if (saved) {
            c.revisionKept = c.revision;
            continue;
        }
        allKept = false;
        err << "vork: копия несохранённого документа не записана в " << path << ": " << saved.reason
            << "\n";
        if (how == FailureReport::MessageBox) {
            ModalScope modal(e);
            e.platform.messageBox(autosaveFailureCaption, closeCopyFailureText(path, saved.reason));
        }
    }
    return allKept;
}

void reportAutosaveFailure(Editor& e) {
    if (e.recovery.failure.empty())
        return; // a copy has been written since
    ModalScope modal(e);
    e.platform.messageBox(autosaveFailureCaption, e.recovery.failure);
}

} // namespace vork
