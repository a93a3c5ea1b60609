// SPDX-License-Identifier: GPL-3.0-or-later
#include "commands/Restore.h"

#include "commands/Autosave.h"
#include "commands/DocumentFiles.h"
#include "files/AnimationFile.h"
#include "files/KeepAside.h"
#include "files/PictureFile.h"
#include "ui/RestoreText.h"

#include <algorithm>
#include <iterator>

namespace vork {

namespace {

Mode modeOf(DocumentFileFormat format) {
    return format == DocumentFileFormat::Picture ? Mode::Painter : Mode::Animator;
}

// A copy claimed for this run is at `file.path`, this run's own name for it; `left` is the
// name it was left under, which is what the user is told and what it is kept aside under.
struct Restorable {
    RecoveryFile file;
    DocumentReadResult read;
    std::string left;
};

struct Unreadable {
    RecoveryFile file;
    std::string reason;
    std::string left;
};

// The copies of the folder sorted out: the most recent readable one of each mode, the older
// ones of a mode that has one, and those that could not be read. A read the user stopped
// leaves its copy where it is, to be offered again.
struct Leftovers {
    std::vector<Restorable> restorable;
    std::vector<RecoveryFile> older;
    std::vector<Unreadable> unreadable;

    bool hasMode(Mode mode) const {
        return std::any_of(restorable.begin(), restorable.end(),
                           [mode](const Restorable& r) { return modeOf(r.file.format) == mode; });
    }
};

DocumentReadResult readCopy(Editor& e, const RecoveryFile& file) {
    const auto progress = e.platform.beginProgress("Чтение " + file.path);
    return file.format == DocumentFileFormat::Picture
               ? readPictureFile(file.path, progressOf(*progress))
               : readAnimationFile(file.path, progressOf(*progress));
}

// The copy read for a mode is first claimed: renamed to this run's own copy of the mode, so
// that another run starting at the same time cannot offer it too.
Leftovers readLeftovers(Editor& e) {
    Leftovers found;
    for (RecoveryFile file : leftoverRecoveryFiles(e.recovery.folder)) {
        if (!file.refusal.empty()) {
            found.unreadable.push_back({file, file.refusal, file.path});
            continue;
        }
        if (found.hasMode(modeOf(file.format))) {
            found.older.push_back(file);
            continue;
        }
        const std::string left = file.path;
        file.path = recoveryFilePath(e.recovery.folder, e.recovery.session, file.format);
        if (!claimRecoveryFile(left, file.path))
            continue; // another run has it
        DocumentReadResult read = readCopy(e, file);
        if (read)
            found.restorable.push_back({file, std::move(read), left});
        else if (read.failure != ReadFailure::Cancelled)
            found.unreadable.push_back({file, read.reason, left});
        else // offered again at the next start, as it was
            claimRecoveryFile(file.path, left);
    }
    return found;
}

// Keeps a copy aside under the dated form of the name it was left under and says so on `err`;
// the text for the user. Whatever the entry is, it is renamed, never followed.
std::string keepCopyAside(const std::string& path, const char* label, std::ostream& err,
                          const std::string& left = {}) {
    const std::string& shown = left.empty() ? path : left;
    const KeptAside kept = keepEntryAside(path, label, shown);
    if (kept.outcome == KeptAside::Outcome::KeptAside) {
        err << "vork: копия " << shown << " отложена под именем " << kept.keptAs << "\n";
        return "Она отложена под именем\n" + kept.keptAs;
    }
    if (kept.outcome == KeptAside::Outcome::Failed) {
        err << "vork: копию " << shown << " отложить не удалось: " << kept.reason << "\n";
        return "Отложить её не удалось: " + kept.reason;
    }
    return {};
}

void reportUnreadable(Editor& e, const std::vector<Unreadable>& unreadable, std::ostream& err) {
    if (unreadable.empty())
        return;
    std::string text;
    for (const Unreadable& u : unreadable) {
        err << "vork: копия " << u.left << " не прочитана: " << u.reason << "\n";
        if (!text.empty())
            text += "\n\n";
        text += "Не удалось прочитать копию документа\n" + u.left + "\n" + u.reason + "\n" +
                keepCopyAside(u.file.path, unreadableCopyLabel, err, u.left);
    }
    e.platform.messageBox(restoreTitle, text);
}

RecoveredDocument describe(const Restorable& r) {
    const Document& d = *r.read.document;
    int layers = 0;
    for (const Frame& frame : d.frames())
        layers += frame.layerCount();
    return {modeOf(r.file.format), d.width, d.height, d.frameCount(), layers, r.file.keptAt};
}

// The most recent copy is restored last, so the small palette ends with its colours. The
// Painter is shown when the picture is all that came back.
void restore(Editor& e, Leftovers& found, std::ostream& err) {
    for (auto it = found.restorable.rbegin(); it != found.restorable.rend(); ++it) {
        const Mode mode = modeOf(it->file.format);
        takeOpenedDocument(e, mode, std::move(it->read));
        documentRestored(e, mode, it->file.path);
    }
    for (const RecoveryFile& file : found.older)
        keepCopyAside(file.path, olderLabel, err);
    if (!found.hasMode(Mode::Animator))
        e.shownMode = Mode::Painter;
}

void decline(const Leftovers& found, std::ostream& err) {
    for (const Restorable& r : found.restorable)
        keepCopyAside(r.file.path, declinedLabel, err, r.left);
    for (const RecoveryFile& file : found.older)
        keepCopyAside(file.path, declinedLabel, err);
}

} // namespace

void offerRestore(Editor& e, std::ostream& err) {
    if (e.recovery.folder.empty())
        return;
    ModalScope modal(e);
    Leftovers found = readLeftovers(e);
    reportUnreadable(e, found.unreadable, err);
    if (found.restorable.empty())
        return;
    RestoreQuestion question{{}, e.recovery.folder};
    std::transform(found.restorable.begin(), found.restorable.end(),
                   std::back_inserter(question.documents), describe);
    if (e.platform.restoreDialog(question))
        restore(e, found, err);
    else
        decline(found, err);
}

} // namespace vork
