// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The file choosers that load and save palette files for the palette panel and the colour
// picker, and the saving of the settings and default palettes when the window closes.
#include "ui/Editor.h"

#include <iostream>

namespace vork {

// Each shows its chooser in the data folder with input disabled for its duration and returns
// the result of the read or write it started; false when the user cancels. The two small-palette
// choosers share editor.chooserNames.smallPalette, the big ones editor.chooserNames.bigPalette.
// A save forces the chooser's extension onto the chosen name and reports a failed write in a
// message box.
bool openSmallPalette(Editor& editor);
bool saveSmallPalette(Editor& editor);
bool openBigPalette(Editor& editor);
bool saveBigPalette(Editor& editor);

// Fills the colour picker's grid with colours sampled from an image the user chooses (no
// initial folder; its own remembered file name). A cancel returns false; an image that cannot
// be loaded is reported in a message box and leaves the grid as it was.
bool makeBigPaletteFromImage(Editor& editor);

// Replaces the extension of the file name at the end of `path` (from its last dot, when the
// name has one that does not start it) with `extension`.
std::string withExtension(const std::string& path, const std::string& extension);

// How the close reports a file it could not write: in a message box, as for the window's close
// button, or only on standard error, when a termination signal ends the program and nobody may
// be there to answer a box.
enum class FailureReport { MessageBox, StandardErrorOnly };

// Writes the settings, the big palette and the small palette to their files in the data
// folder, in that order. Each file that fails is named with the reason on `err` and, with
// MessageBox, also shown in a message box. A data file that could not be read and could not be
// kept aside at start is not written over (and counts as failed). Input stays disabled: the
// window is closing. Returns true when all three were written.
bool saveSettingsAndPalettes(Editor& editor, FailureReport how = FailureReport::MessageBox,
                             std::ostream& err = std::cerr);

} // namespace vork
