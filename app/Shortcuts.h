// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The everyday shortcuts, read at the start of each frame before the panels see this frame's
// input: Control+S saves in place, Control+Shift+S saves under a chosen name, Control+O opens,
// Control+N makes a new document, Control+Z undoes, Control+Y and Control+Shift+Z redo; the
// mouse wheel over the canvas zooms at the pointer, F fits the picture to the canvas and Q
// switches the pixel grid. Letters are matched by key position on both layouts, as the other
// character keys are.
#include "ui/Editor.h"

namespace vork {

void runShortcuts(Editor& e, Mode mode);

} // namespace vork
