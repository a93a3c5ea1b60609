#pragma once
// The new-picture and new-animation dialogs and what their OK does.
#include "app/Editor.h"

namespace vork {

// Shows the dialog of the kind; on OK replaces the mode's document by a new empty one of the
// chosen size. Returns 1 for OK and 2 for Cancel. A preset double-clicked in the dialog sets
// the mode's size at once, even when the dialog is then cancelled.
int runNewDocument(Editor& e, DocumentKind kind);

// Replaces the mode's document by a new one of the mode's size and lays it out.
void makeNewDocument(Editor& e, DocumentKind kind);

} // namespace vork
