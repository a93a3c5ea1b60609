// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The colour picker: the 768 colours of the big palette in a grid of 16 rows by 48 columns,
// laid over the canvas. The small form changes the chosen drawing-colour swatch and the drawing
// colour; the replacement form changes the chosen colour of a replacement pair. A click on a
// colour selects it, a second click applies it and closes the picker; a press outside the
// picker or the right button closes it without a change. Its buttons load and save big
// palettes and sample one from an image.
#include "gfx/Graphics.h"
#include "ui/Editor.h"

namespace vork {

enum class PickerForm { Small, Replacement };

// One frame of the picker of that form, whether open or not (the caller checks the flag).
void drawColourPicker(Editor& e, Graphics& g, Mode mode, PickerForm form);

// The pickers that are open, small first, as the frame functions call them after the panels.
void drawOpenColourPickers(Editor& e, Graphics& g, Mode mode);

} // namespace vork
