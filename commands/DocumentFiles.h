// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Opening and saving the mode's document in the program's own formats: the picture as a
// ".trnl" file, the animation as a ".gelm" file. The open and the save chooser of a format share
// one remembered name (editor.chooserNames.picture or .animation).
#include "files/DocumentRead.h"
#include "ui/Editor.h"

#include <string>

namespace vork {

// Shows the format's open chooser and reads the whole file into a new document. Only a file
// read completely replaces the mode's document and the small palette's colours, followed by the
// document aftermath; anything else leaves document, palette, view and history as they were
// and, unless the user stopped the read, says in a message box what was wrong. True when a
// document was opened.
bool openDocumentFile(Editor& e, Mode mode);

// The same read without the chooser, for a file named on the command line: the picture format
// for the Painter, the animation format for the Animator.
bool openDocumentAt(Editor& e, Mode mode, const std::string& path);

// A document read whole from a file becomes the mode's document: the small palette takes the
// file's colours and the document aftermath follows. Does nothing for a failed read.
void takeOpenedDocument(Editor& e, Mode mode, DocumentReadResult read);

// Shows the format's save chooser and writes the mode's document under the chosen name with
// the format's extension in place of the typed one. An existing file is replaced only by a
// complete new one; a failed write is shown with the file and the reason. Does nothing without
// a document. True when the file was written.
// A document with a file of its own (ModeState::filePath) starts the chooser in that file's
// folder with its name.
bool saveDocumentFile(Editor& e, Mode mode);

// Writes the mode's document over the file it was opened from or last saved to, without a
// chooser, through the same safe write; a document in no file of its own asks, as
// saveDocumentFile does. A failed write keeps the old file and says so. True when written.
bool saveDocumentInPlace(Editor& e, Mode mode);

} // namespace vork
