// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/Layout.h"

#include "canvas/CanvasView.h"
#include "panels/PanelLayout.h"

namespace vork {

void layoutAnimatorPanels(Editor& e) {
    layoutCommandBar(e);
    layoutRightPanel(e);
    layoutCanvas(e, Mode::Animator);
    layoutPalettePanel(e);
    layoutPickerPanel(e);
    layoutFramePanel(e);
}

// The Painter's backgrounds are rendered by its first frame at a size (painterFrame): the
// program starts in the Animator, whose first frame does not need them.
void layoutAll(Editor& e) {
    layoutAnimatorPanels(e);
    layoutCanvas(e, Mode::Painter);
}

} // namespace vork
