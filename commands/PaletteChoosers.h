#pragma once
// The file choosers that load and save palette files for the palette panel and the colour
// picker, and the saving of the settings and default palettes when the window closes.
#include "ui/Editor.h"

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

// Replaces the extension of the file name at the end of `path` (from its last dot, when the
// name has one that does not start it) with `extension`.
std::string withExtension(const std::string& path, const std::string& extension);

// Writes the settings, the big palette and the small palette to their files in the data folder, in
// that order, with a message box for each that fails. Input stays disabled: the window is closing.
// Returns true when all three were written.
bool saveSettingsAndPalettes(Editor& editor);

} // namespace vork
