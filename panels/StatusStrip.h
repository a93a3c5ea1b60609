// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The Painter's status strip along the bottom of the window: the picture's file name with a
// mark while it has unsaved changes, the zoom, the picture pixel under the pointer and the
// colour shown there.
#include "gfx/Graphics.h"
#include "ui/Editor.h"

#include <string>

namespace vork {

// The texts of the strip's fields, from left to right; a field with nothing to say is empty.
struct StatusTexts {
    std::string file;  // "walk.trnl", "walk.trnl *" with unsaved changes, "без имени *"
    std::string zoom;  // "400%"
    std::string pixel; // "12, 7" while the pointer is on the picture
    std::string colour;
    bool hasColour = false;
    Color shown; // the colour of the pixel as the canvas shows it (all visible layers)
};

StatusTexts statusTexts(const Editor& e, Mode mode);

void drawStatusStrip(Editor& e, Graphics& g);

} // namespace vork
