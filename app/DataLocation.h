// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Where the program finds its data at start. A "data" folder in the working folder wins, so a
// checkout or an unpacked folder works as it always has. Otherwise the program is installed:
// the tool sheet and the shipped defaults come from <prefix>/share/vork beside the binary's
// <prefix>/bin, and the settings and palettes are the user's own, in $XDG_CONFIG_HOME/vork
// (~/.config/vork), first copied there from the shipped defaults.
#include "files/DataFolder.h"

#include <filesystem>
#include <functional>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace vork {

// What the choice reads of the outside world, so that tests can set it.
struct StartEnvironment {
    std::filesystem::path workingFolder;
    std::filesystem::path executable;                                // the running binary
    std::function<std::optional<std::string>(const char*)> variable; // an environment variable
};

// The environment of this process.
StartEnvironment processEnvironment(const char* argv0);

DataFolder chooseDataFolder(const StartEnvironment& env);

// On the first run of an installed program, copies the shipped settings and palettes into the
// user's folder (never over a file that is there). Returns a line for each file that could not
// be copied; the program then starts with its built-in defaults for it.
std::vector<std::string> prepareUserFolder(const DataFolder& data);

// Both, for this process: the folders chosen and the user's folder prepared, with what went
// wrong written to `err`.
DataFolder startDataFolder(const char* argv0, std::ostream& err);

} // namespace vork
