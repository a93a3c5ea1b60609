// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Copies of the documents that have unsaved changes, kept in the recovery folder so that
// nothing is lost when the program ends before the user saves: a crash, a kill, a power cut,
// or simply a close, since the program never asks about unsaved work. The next start offers
// them back (commands/Restore.h).
//
// A document's copy is written 30 s after the first change it lacks, and at once when the
// window closes or a termination signal ends the program. It is in the document's own format
// and saved atomically, so a crash during a write leaves the previous copy whole. Writing never
// holds up drawing: the copy taken shares the layers' pixels (copy-on-write) and is encoded and
// written on a worker thread. It is taken only between gestures, never while the button is
// held, and never while a dialog or a long operation has the document.
#include "commands/PaletteChoosers.h"
#include "ui/Editor.h"

#include <cstdint>
#include <iostream>
#include <string>

namespace vork {

// How long after the first change a copy lacks it is written.
inline constexpr uint32_t autosaveDelayMs = 30000;

// Opens this run's session in the recovery folder (made when missing) and removes what ended
// sessions left half done. Without it no copies are kept. False, with the reason, when the
// folder cannot be used.
bool openRecoveryFolder(Editor& e, const std::string& folder, std::string& reason);

// Called after every paint and from a timer: takes in the copies written since the last call
// and starts the copies that have fallen due. Does nothing while input is disabled.
void autosaveTick(Editor& e);

// The mode's document is now what a file holds, or new: it has no unsaved changes and its copy
// goes. Called after a save, an open and a new document.
void documentMatchesFile(Editor& e, Mode mode);

// A restored document: changed since its last save, and its copy is the file at `adopted`,
// which becomes this session's copy (it already holds the document as it is).
void documentRestored(Editor& e, Mode mode, const std::string& adopted);

// The close: waits for the copies under way, then writes at once every copy that lacks changes.
// A copy that could not be written is named on `err` and, with MessageBox, in a message box.
// True when every document with unsaved changes has its copy.
bool keepCopiesOnClose(Editor& e, FailureReport how, std::ostream& err = std::cerr);

// Tells the user that a copy could not be written. The tick posts it as a command, so that the
// message box never opens inside a paint, once for a run of failures.
void reportAutosaveFailure(Editor& e);

// The message texts, for tests.
inline constexpr const char* autosaveFailureCaption = "Копия несохранённого документа";
std::string autosaveFailureText(const std::string& file, const std::string& reason);
std::string closeCopyFailureText(const std::string& file, const std::string& reason);

} // namespace vork
