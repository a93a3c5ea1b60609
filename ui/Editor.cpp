// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/Editor.h"

#include "files/SettingsFile.h"

namespace vork {

void requestModeRepaint(Editor& e, Mode mode) {
    if (mode == Mode::Animator)
        e.requestRepaint();
    else
        e.mode(mode).redrawRequest = true;
}

DocumentSizes documentSizes(const Editor& e) {
    const ModeState& p = e.mode(Mode::Painter);
    const ModeState& a = e.mode(Mode::Animator);
    return {p.width, p.height, a.width, a.height};
}

void setDocumentSizes(Editor& e, const DocumentSizes& sizes) {
    ModeState& p = e.mode(Mode::Painter);
    ModeState& a = e.mode(Mode::Animator);
    p.width = sizes.pictureWidth;
    p.height = sizes.pictureHeight;
    a.width = sizes.animationWidth;
    a.height = sizes.animationHeight;
}

} // namespace vork
