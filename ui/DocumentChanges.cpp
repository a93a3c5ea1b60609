// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/DocumentChanges.h"

#include "ui/Editor.h"

namespace vork {

void markDocumentChanged(Editor& e, Mode mode) {
    ModeState& m = e.mode(mode);
    if (!m.document)
        return;
    DocumentChanges& c = m.changes;
    c.modified = true;
    ++c.revision;
    if (!c.unkeptSince)
        c.unkeptSince = e.platform.tickCount();
}

} // namespace vork
