#pragma once
// The one-time creation of the program's resources, before the window is first shown.
#include "app/Editor.h"

#include <string>

namespace vork {

inline constexpr const char* toolSheetPath = "data/instrument.png";

// The sheet cells and ids of the 21 tool buttons, in their order of creation.
struct ToolButtonCell {
    Rect cell;
    int id;
};
extern const std::array<ToolButtonCell, toolButtonCount> toolButtonCells;

// Reads the settings, the tool sheet and the default palettes from the working folder and
// creates every resource. The tool sheet is required: without a readable one this returns
// false with a message naming the file, and nothing should be shown.
bool initEditor(Editor& e, std::string& error);

} // namespace vork
