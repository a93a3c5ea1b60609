// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The folders the program reads its resources from and keeps its files in. They are given at
// start: with a "data" folder in the working folder all three are that folder, as the program
// has always worked; an installed program takes its resources from the installed share folder
// and keeps the user's settings and palettes in the user's own folders.
#include <string>

namespace vork {

struct DataFolder {
    std::string resources = "data"; // the tool sheet and the shipped defaults
    std::string user = "data";      // the settings and both default palettes, read and written
    std::string state = "data";     // what the program keeps for itself between runs

    std::string toolSheet() const { return resources + "/instrument.png"; }
    std::string settings() const { return user + "/property.txt"; }
    // The program's own settings (the pixel grid switch), beside property.txt.
    std::string viewSettings() const { return user + "/vork.ini"; }
    std::string bigPalette() const { return user + "/defbpal.bpal"; }
    std::string smallPalette() const { return user + "/deflpal.lpal"; }
};

} // namespace vork
