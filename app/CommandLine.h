// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The program's arguments. Without any, vork starts the editor; with them it runs without a
// window (and without an Editor) and ends with an exit status and, on failure, one line on
// standard error. A file whose name starts with - is named after "--".
#include "files/DataFolder.h"
#include "ui/Mode.h"

#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace vork {

struct CommandLine {
    enum class Action { RunEditor, Help, Version, Info, Convert, Refused };
    Action action = Action::RunEditor;
    std::string refusal;        // why the arguments were refused
    std::string input, output;  // --info FILE; --convert IN OUT
    std::optional<int> frame;   // --frame N of --convert
    std::optional<int> sheet;   // --sheet COLUMNS of --convert
    int scale = 1;              // --scale N of --convert: each pixel an N x N square
    std::optional<int> padding; // --padding N of --convert: pixels between a sheet's cells
    // `vork FILE`: the editor starts with a ".trnl" picture open in the Painter or a ".gelm"
    // animation open in the Animator.
    std::string openFile;
    Mode openMode = Mode::Animator;
};

CommandLine parseCommandLine(const std::vector<std::string>& arguments);

// The text of --help.
std::string usageText();

// Whether the action reads or writes files: those need the image library's codecs.
inline bool needsImageLibrary(const CommandLine& c) {
    return c.action == CommandLine::Action::Info || c.action == CommandLine::Action::Convert;
}

// How long work shows its progress: not at all, or as a line on `err` rewritten in place
// (when standard error is a terminal).
enum class ProgressLine { Off, OnErr };

// Runs an action other than RunEditor; returns the exit status. `data` holds the folders the
// editor would use (a new document takes the default palette from there). A refusal is one
// line on `err` that points to --help.
int runCommandLine(const CommandLine& command, std::ostream& out, std::ostream& err,
                   ProgressLine progress = ProgressLine::Off, const DataFolder& data = {});

} // namespace vork
