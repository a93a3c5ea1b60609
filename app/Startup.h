#pragma once
// The one-time creation of the program's resources, before the window is first shown.
#include "ui/Editor.h"

#include <iostream>
#include <string>

namespace vork {

// The sheet cells and ids of the 21 tool buttons, in their order of creation.
struct ToolButtonCell {
    Rect cell;
    int id;
};
extern const std::array<ToolButtonCell, toolButtonCount> toolButtonCells;

// Reads the settings, the tool sheet and the default palettes from the editor's data folder
// and creates every resource. The tool sheet is required: without a readable one this returns
// false with a message naming the file, and nothing should be shown. What was done with data
// files that could not be read goes to `notices`, a line each.
bool initEditor(Editor& e, std::string& error, std::ostream& notices = std::cerr);

} // namespace vork
