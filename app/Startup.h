// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The one-time creation of the program's resources, before the window is first shown.
#include "ui/Editor.h"

#include <iostream>
#include <string>

namespace vork {

// Cuts the faces of the tool buttons out of e.toolSheet, each where the tool table or the table
// of the other buttons (ui/Tools.h) says, and gives each the value it is drawn pressed at.
void makeToolButtons(Editor& e);

// Reads the settings, the tool sheet and the default palettes from the editor's data folder
// and creates every resource. The tool sheet is required: without a readable one this returns
// false with a message naming the file, and nothing should be shown. What was done with data
// files that could not be read goes to `notices`, a line each.
bool initEditor(Editor& e, std::string& error, std::ostream& notices = std::cerr);

} // namespace vork
