#include "app/CommandLine.h"

namespace vork {

namespace {
constexpr int refusedStatus = 2;
} // namespace

CommandLine parseCommandLine(const std::vector<std::string>& arguments) {
    CommandLine c;
    if (arguments.empty())
        return c;
    const std::string& first = arguments.front();
    if (arguments.size() == 1 && (first == "--help" || first == "-h")) {
        c.action = CommandLine::Action::Help;
        return c;
    }
    if (arguments.size() == 1 && first == "--version") {
        c.action = CommandLine::Action::Version;
        return c;
    }
    c.action = CommandLine::Action::Refused;
    c.refusal = "unknown argument \"" + first + "\"";
    return c;
}

std::string usageText() {
    return "usage: vork            start the editor\n"
           "       vork --help     show this text\n"
           "       vork --version  show the version\n";
}

int runCommandLine(const CommandLine& command, std::ostream& out, std::ostream& err) {
    switch (command.action) {
    case CommandLine::Action::RunEditor:
        break;
    case CommandLine::Action::Help:
        out << usageText();
        return 0;
    case CommandLine::Action::Version:
        out << "vork 2.0\n";
        return 0;
    case CommandLine::Action::Refused:
        err << "vork: " << command.refusal << "\n" << usageText();
        return refusedStatus;
    }
    return refusedStatus;
}

} // namespace vork
