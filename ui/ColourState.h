// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The drawing colours, the palettes and the state of the palette panel and colour picker.
#include "gfx/Color.h"
#include "model/Palette.h"
#include "ui/Tools.h"

namespace vork {

struct ColourState {
    Palettes palettes;
    Color currentColor = colors::black;
    int currentSwatch = 2;
    int currentReplacementSwatch = 0;
    Color alphaColor = colors::black;
    int drawAlpha = 255;
    bool replacementViewOpen = false; // the palette panel shows colour pairs
    bool smallPickerOpen = false, replacementPickerOpen = false;
    // The tool to give back when the replacement view or the small picker closes, and when the
    // replacement picker closes.
    Tool savedTool = Tool::None;
    Tool savedToolForReplacement = Tool::None;
    int currentBigSwatch = 0; // the colour picker's selected entry, shared by both forms
};

} // namespace vork
