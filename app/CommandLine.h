#pragma once
// The program's arguments. Without any, vork starts the editor; with them it runs without a
// window (and without an Editor) and ends with an exit status and, on failure, one line on
// standard error.
#include <ostream>
#include <string>
#include <vector>

namespace vork {

struct CommandLine {
    enum class Action { RunEditor, Help, Version, Refused };
    Action action = Action::RunEditor;
    std::string refusal; // why the arguments were refused
};

CommandLine parseCommandLine(const std::vector<std::string>& arguments);

// The text of --help.
std::string usageText();

// Runs an action other than RunEditor; returns the exit status.
int runCommandLine(const CommandLine& command, std::ostream& out, std::ostream& err);

} // namespace vork
