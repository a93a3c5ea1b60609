// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/CommandLine.h"

#include "app/Batch.h"
#include "pixels/ExportScale.h"

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

// An argument named in a refusal: in double quotes, with a line break shown as \n.
std::string quoted(const std::string& argument) {
    const std::string shown = printableName(argument);
    return shown.starts_with('"') ? shown : "\"" + shown + "\"";
}

CommandLine parseConvert(const std::vector<std::string>& a) {
    CommandLine c;
    c.action = CommandLine::Action::Convert;
    std::vector<std::string> files;
    bool onlyFiles = false; // after "--" every argument is a file, even one that starts with -
    for (size_t i = 1; i < a.size(); ++i) {
        if (onlyFiles) {
            files.push_back(a[i]);
        } else if (a[i] == "--") {
            onlyFiles = true;
        } else if (a[i] == "--frame") {
            if (i + 1 >= a.size())
                return refuse("--frame needs a frame number");
            c.frame = parseNumber(a[++i]);
            if (!c.frame)
                return refuse("--frame needs a frame number, not " + quoted(a[i]));
        } else if (a[i] == "--sheet") {
            if (i + 1 >= a.size())
                return refuse("--sheet needs a number of columns");
            c.sheet = parseNumber(a[++i]);
            if (!c.sheet || *c.sheet < 0)
                return refuse("--sheet needs a number of columns (0: as square as possible), not " +
                              quoted(a[i]));
        } else if (a[i] == "--scale") {
            const std::string range = "a whole number from " + std::to_string(minExportScale) +
                                      " to " + std::to_string(maxExportScale);
            if (i + 1 >= a.size())
                return refuse("--scale needs " + range);
            const std::optional<int> scale = parseNumber(a[++i]);
            if (!scale || !validExportScale(*scale))
                return refuse("--scale needs " + range + ", not " + quoted(a[i]));
            c.scale = *scale;
        } else if (a[i] == "--padding") {
            const std::string range =
                "a number of pixels from 0 to " + std::to_string(maxSheetPadding);
            if (i + 1 >= a.size())
                return refuse("--padding needs " + range);
            c.padding = parseNumber(a[++i]);
            if (!c.padding || !validSheetPadding(*c.padding))
                return refuse("--padding needs " + range + ", not " + quoted(a[i]));
        } else if (a[i].size() > 1 && a[i][0] == '-') {
            return refuse("unknown argument " + quoted(a[i]) +
                          " (a file whose name starts with - goes after --)");
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
        return refuse(quoted(file) +
                      ": the editor opens .trnl pictures and .gelm animations; other files "
                      "are converted with --convert");
    CommandLine c;
    c.openFile = file;
    c.openMode = ext == ".trnl" ? Mode::Painter : Mode::Animator;
    return c;
}

// Progress as one line on `err` for each pass, rewritten in place: what it counts, then how
// many of how many.
ProgressFor progressLine(std::ostream& err, ProgressLine how) {
    if (how == ProgressLine::Off)
        return {};
    return [&err](const std::string& counted) -> Progress {
        return [&err, counted](int done, int total) {
            err << "\r" << counted << " " << done << " / " << total << (done >= total ? "\n" : "")
                << std::flush;
            return true;
        };
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
            return refuse("unexpected argument " + quoted(arguments[1]) + " after " + first);
        c.action = first == "--version" ? CommandLine::Action::Version : CommandLine::Action::Help;
        return c;
    }
    if (first == "--info") {
        // "--info -- FILE" names a file that starts with -.
        const bool dashes = extra == 2 && arguments[1] == "--";
        if (extra != 1 && !dashes)
            return refuse("--info needs exactly one file");
        if (!dashes && arguments[1].size() > 1 && arguments[1][0] == '-')
            return refuse("unknown argument " + quoted(arguments[1]) +
                          " (a file whose name starts with - goes after --)");
        c.action = CommandLine::Action::Info;
        c.input = arguments.back();
        return c;
    }
    if (first == "--convert")
        return parseConvert(arguments);
    if (arguments.size() == 1 && !first.starts_with("-"))
        return parseFileToOpen(first);
    if (arguments.size() == 2 && first == "--")
        return parseFileToOpen(arguments[1]);
    return refuse("unknown argument " + quoted(first));
}

std::string usageText() {
    return "usage: vork                          start the editor\n"
           "       vork FILE                     start the editor with a .trnl picture (Painter)\n"
           "                                     or a .gelm animation (Animator) open\n"
           "       vork --info FILE              show what a .trnl, .gelm or image file holds\n"
           "       vork --convert IN OUT [--frame N] [--sheet COLUMNS [--padding N]] [--scale N]\n"
           "                                     convert by the extensions:\n"
           "         image or GIF -> .trnl (a picture of the first frame) or .gelm (an\n"
           "                         animation of every frame, each with its GIF delay)\n"
           "         image or GIF -> .png (one frame as OUT.png; more as OUT001.png, ...)\n"
           "         GIF -> .gif (the frames as a new looping animated GIF)\n"
           "         .trnl -> .png (the composite) or .gelm (a one-frame animation)\n"
           "         .gelm -> .png (the enabled frames as OUT001.png, OUT002.png, ...)\n"
           "         .gelm -> .gif (the enabled frames as one animated GIF, looping)\n"
           "         .gelm, image or GIF -> .webp (the frames as one animated WebP, looping,\n"
           "                         lossless, with full alpha)\n"
           "         .gelm or image --frame N -> .trnl or .png (frame N as a picture)\n"
           "         .gelm or image --sheet COLUMNS -> .png (a sprite sheet and a .json\n"
           "                         beside it; 0 columns: as square as possible;\n"
           "                         --padding N: N transparent pixels between cells, 0..256)\n"
           "         --scale N (1..16): every pixel of a .png, .gif or .webp as an N x N square\n"
           "         a file whose name starts with - goes after --: --convert -- -a.gif b.png\n"
           "       vork --help                   show this text\n"
           "       vork --version                show the version\n";
}

int runCommandLine(const CommandLine& command, std::ostream& out, std::ostream& err,
                   ProgressLine progress, const DataFolder& data) {
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
        return convertFile(command.input, command.output,
                           {command.frame, command.sheet, data, command.scale, command.padding},
                           out, err, progressLine(err, progress));
    case CommandLine::Action::Refused:
        err << "vork: " << command.refusal << " (see vork --help)\n";
        return refusedStatus;
    }
    return refusedStatus;
}

} // namespace vork
