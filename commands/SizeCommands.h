// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The size, canvas and merge commands of the menu: each opens its dialog with input disabled
// and, on OK, does the whole operation and the document aftermath. Cancel, a refused size or a
// file that cannot be merged changes nothing.
#include "ui/Editor.h"

namespace vork {

// While the mode has a document: every layer rescaled to the size chosen in the size dialog,
// with the chosen interpolation. True when the document was resized.
bool runPictureSize(Editor& e, Mode mode);

// While the mode has a document: the canvas resized around the anchor chosen in the canvas
// dialog, the content unscaled. True when the document was resized.
bool runCanvasSize(Editor& e, Mode mode);

// While an animation exists: an animation file is chosen and read whole; only when it was read
// completely does the merge dialog ask where its frames go, and OK inserts them there. True when
// frames were merged.
bool runMerge(Editor& e);

} // namespace vork
