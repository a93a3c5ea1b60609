// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Whether a mode's document holds changes that are in no file, and the copy the program keeps
// of such a document in the recovery folder (commands/Autosave.h writes and removes it).
//
// markDocumentChanged is the one call every operation that changes what the document's file
// would hold makes, once, after the change: a tool's commit and every undo state recorded, an
// undo or redo, the layer list's operations (new, duplicate, delete, clear, merge down, moving
// a layer, its visibility and opacity), the palette's colour replacement (through commit), the
// size, canvas and merge dialogs, an imported image or GIF; and the frame strip's operations
// (new, copied, moved or deleted frames, a frame switched on or off) and its delays. Choosing a
// frame or a layer, zooming or showing a layer alone change no file and are not marked.
#include "files/RecoveryFolder.h"
#include "files/SaveFile.h"
#include "ui/Mode.h"

#include <cstdint>
#include <future>
#include <optional>
#include <string>

namespace vork {

class Editor;

// The changes of one mode's document and its recovery copy.
struct DocumentChanges {
    bool modified = false;     // changed since it was made, opened or saved
    uint64_t revision = 0;     // counts the changes, so a copy can tell which one it holds
    uint64_t revisionKept = 0; // the revision the recovery copy holds; 0 while there is none
    // The tick of the first change the copy lacks; the copy is written 30 s after it.
    std::optional<uint32_t> unkeptSince;
    // The copy being written in the background, and the revision it holds.
    std::future<SaveResult> writing;
    uint64_t revisionWriting = 0;
};

// The recovery folder of this run. Copies are kept only while it is open.
struct RecoveryState {
    std::string folder; // empty: no copies are kept (the tests' editors, or no folder to use)
    std::string session;
    SessionLock lock;
    // The file system calls the copies are written through; tests make them fail.
    FileSystemOps* fileOps = nullptr; // null: the system's
    // The reason the last copy could not be written, until the user has been told.
    std::string failure;
    bool failureTold = false; // told already: not again until a copy is written
};

// The mode's document has changed: it is marked modified, and its recovery copy falls due
// 30 s after the first change it lacks.
void markDocumentChanged(Editor& e, Mode mode);

} // namespace vork
