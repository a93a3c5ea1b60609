// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The new-picture and new-animation dialogs and what their OK does.
#include "ui/Editor.h"

namespace vork {

// Shows the mode's dialog; on OK replaces the mode's document by a new empty one of the
// chosen size. Returns 1 for OK and 2 for Cancel. A preset double-clicked in the dialog sets
// the mode's size at once, even when the dialog is then cancelled.
int runNewDocument(Editor& e, Mode mode);

// Replaces the mode's document by a new empty one of the mode's size.
void makeNewDocument(Editor& e, Mode mode);

} // namespace vork
