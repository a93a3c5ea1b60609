// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The layout steps in their order: every region placed from its mode's layout and its
// background rendered.
#include "ui/Editor.h"

namespace vork {

// The six Animator steps in their order (start-up), and all of them with the Painter's canvas
// and backgrounds (every size change of the window).
void layoutAnimatorPanels(Editor& e);
void layoutAll(Editor& e);

} // namespace vork
