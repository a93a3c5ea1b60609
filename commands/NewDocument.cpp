// SPDX-License-Identifier: GPL-3.0-or-later
#include "commands/NewDocument.h"

#include "commands/Autosave.h"
#include "commands/DocumentAftermath.h"

namespace vork {

void makeNewDocument(Editor& e, Mode mode) {
    const int w = e.mode(mode).width, h = e.mode(mode).height;
    // A new picture has no delay; a new animation's frames last 100 ms.
    const double defaultDelay = mode == Mode::Painter ? 0.0 : 100.0;
    replaceDocument(e, mode, std::make_unique<Document>(w, h, defaultDelay));
    documentMatchesFile(e, mode);
}

int runNewDocument(Editor& e, Mode mode) {
    auto onPreset = [&e, mode](int w, int h) {
        e.mode(mode).width = w;
        e.mode(mode).height = h;
    };
    NewDocumentAnswer a =
        e.platform.newDocumentDialog(mode, e.mode(mode).width, e.mode(mode).height, onPreset);
    // The dialog refuses sizes the program cannot draw; check again, the seam is ours to trust.
    if (!a.accepted || !validDocumentSize(a.width, a.height))
        return 2;
    e.mode(mode).width = a.width;
    e.mode(mode).height = a.height;
    makeNewDocument(e, mode);
    return 1;
}

} // namespace vork
