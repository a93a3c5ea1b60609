// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/CommandLine.h"

#include "app/Batch.h"

#include <cctype>
#include <charconv>

namespace vork {

namespace {

constexpr int refusedStatus = 2;

CommandLine refuse(std::string why) {
    CommandLine c;
    c.action = CommandLine::Action::Refused;
    c.refusal = std::move(why);
    return c;
}

std::optional<int> parseNumber(const std::string& text) {
    int value = 0;
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (ec != std::errc() || ptr != end)
        return std::nullopt;
    return value;
}

CommandLine parseConvert(const std::vector<std::string>& a) {
    CommandLine c;
    c.action = CommandLine::Action::Convert;
    std::vector<std::string> files;
    for (size_t i = 1; i < a.size(); ++i) {
        if (a[i] == "--frame") {
            if (i + 1 >= a.size())
                return refuse("--frame needs a frame number");
            c.frame = parseNumber(a[++i]);
            if (!c.frame)
                return refuse("--frame needs a frame number, not \"" + a[i] + "\"");
        } else if (a[i] == "--sheet") {
            if (i + 1 >= a.size())
                return refuse("--sheet needs a number of columns");
            c.sheet = parseNumber(a[++i]);
            if (!c.sheet || *c.sheet < 0)
                return refuse(
                    "--sheet needs a number of columns (0: as square as possible), not \"" + a[i] +
                    "\"");
        } else if (a[i].size() > 1 && a[i][0] == '-') {
            return refuse("unknown argument \"" + a[i] + "\"");
        } else {
            files.push_back(a[i]);
        }
    }
    if (files.size() != 2)
        return refuse("--convert needs an input and an output file");
    c.input = files[0];
    c.output = files[1];
    return c;
}

// `vork FILE`: the program's own documents open in the editor, in their mode.
CommandLine parseFileToOpen(const std::string& file) {
    const size_t dot = file.find_last_of('.'), slash = file.find_last_of('/');
    std::string ext = dot == std::string::npos || (slash != std::string::npos && dot < slash)
                          ? std::string()
                          : file.substr(dot);
    for (char& c : ext)
        c = char(std::tolower(static_cast<unsigned char>(c)));
    if (ext != ".trnl" && ext != ".gelm")
        return refuse("\"" + file +
                      "\": the editor opens .trnl pictures and .gelm animations; other files "
                      "are converted with --convert");
    CommandLine c;
    c.openFile = file;
    c.openMode = ext == ".trnl" ? Mode::Painter : Mode::Animator;
    return c;
}

// Progress as one line on `err`, rewritten in place.
Progress progressLine(std::ostream& err, ProgressLine how) {
    if (how == ProgressLine::Off)
        return {};
    return [&err](int done, int total) {
        err << "\r" << done << " / " << total << (done >= total ? "\n" : "") << std::flush;
        return true;
    };
}

} // namespace

CommandLine parseCommandLine(const std::vector<std::string>& arguments) {
    CommandLine c;
    if (arguments.empty())
        return c;
    const std::string& first = arguments.front();
    const size_t extra = arguments.size() - 1;
    if (first == "--help" || first == "-h" || first == "--version") {
        if (extra > 0)
            return refuse("unexpected argument \"" + arguments[1] + "\" after " + first);
        c.action = first == "--version" ? CommandLine::Action::Version : CommandLine::Action::Help;
        return c;
    }
    if (first == "--info") {
        if (extra != 1)
            return refuse("--info needs exactly one file");
        c.action = CommandLine::Action::Info;
        c.input = arguments[1];
        return c;
    }
    if (first == "--convert")
        return parseConvert(arguments);
    if (arguments.size() == 1 && !first.starts_with("-"))
        return parseFileToOpen(first);
    return refuse("unknown argument \"" + first + "\"");
}

std::string usageText() {
    return "usage: vork                          start the editor\n"
           "       vork FILE                     start the editor with a .trnl picture (Painter)\n"
           "                                     or a .gelm animation (Animator) open\n"
           "       vork --info FILE              show what a .trnl, .gelm or image file holds\n"
           "       vork --convert IN OUT [--frame N]\n"
           "                                     convert by the extensions:\n"
           "         image or GIF -> .trnl (a picture) or .gelm (an animation, GIF frames)\n"
           "         .trnl -> .png (the composite) or .gelm (a one-frame animation)\n"
           "         .gelm -> .png (the enabled frames as OUT001.png, OUT002.png, ...)\n"
           "         .gelm --frame N -> .trnl or .png (frame N as a picture)\n"
           "         .gelm -> .gif (the enabled frames as one animated GIF, looping)\n"
           "         .gelm --sheet COLUMNS -> .png (a sprite sheet and a .json beside it;\n"
           "                                   0 columns: as square as possible)\n"
           "       vork --help                   show this text\n"
           "       vork --version                show the version\n";
}

int runCommandLine(const CommandLine& command, std::ostream& out, std::ostream& err,
                   ProgressLine progress) {
    switch (command.action) {
    case CommandLine::Action::RunEditor:
        break;
    case CommandLine::Action::Help:
        out << usageText();
        return 0;
    case CommandLine::Action::Version:
        out << "vork 2.0\n";
        return 0;
    case CommandLine::Action::Info:
        return printFileInfo(command.input, out, err);
    case CommandLine::Action::Convert:
        return convertFile(command.input, command.output, {command.frame, command.sheet}, out, err,
                           progressLine(err, progress));
    case CommandLine::Action::Refused:
        err << "vork: " << command.refusal << "\n" << usageText();
        return refusedStatus;
    }
    return refusedStatus;
}

} // namespace vork
