// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What follows every change of a mode's whole document: a new document, an opened file, an
// imported GIF or image, a merge, the size and canvas dialogs. Each of them ends here, so the
// derived state (the tools' scratch bitmap, the Painter's layer caches, the thumbnails, the
// canvas backdrop and view, the undo history, the Selection) is rebuilt in one place.
#include "ui/Editor.h"

#include <memory>

namespace vork {

// Makes `document` the mode's document, its size the mode's size, and rebuilds everything
// derived from it. The undo history starts afresh on the new document's current layer.
void replaceDocument(Editor& e, Mode mode, std::unique_ptr<Document> document);

// The mode's document was resized or rescaled in place: the size follows it and everything
// derived from it is rebuilt, as for a new document.
void documentResized(Editor& e, Mode mode);

// The part of the aftermath that follows the mode's size globals, which the new-document
// dialog runs even when it was cancelled (a preset may have changed the size): the scratch
// bitmap remade, the Selection dropped, the Painter's layer caches resized, the preview marked
// stale, the Animator's onion skin switched off, and a repaint asked for.
void sizeAftermath(Editor& e, Mode mode);

} // namespace vork
