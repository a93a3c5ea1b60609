// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/ViewSettingsFile.h"

#include "files/TextFile.h"
#include "pixels/ExportScale.h"

#include <charconv>
#include <string_view>

namespace vork {

namespace {

std::string_view trimmed(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r'))
        s.remove_suffix(1);
    return s;
}

// The whole of `text` as a number within [low, high].
bool numberIn(std::string_view text, int low, int high, int& out) {
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value < low || value > high)
        return false;
    out = value;
    return true;
}

void takeLine(std::string_view line, ViewSettings& s) {
    const size_t equals = line.find('=');
    if (equals == std::string_view::npos)
        return;
    const std::string_view name = trimmed(line.substr(0, equals));
    const std::string_view value = trimmed(line.substr(equals + 1));
    int n = 0;
    if (name == "pixelGrid" && numberIn(value, 0, 1, n))
        s.pixelGrid = n == 1;
    else if (name == "exportScale" && numberIn(value, minExportScale, maxExportScale, n))
        s.exportScale = n;
    else if (name == "sheetPadding" && numberIn(value, 0, maxSheetPadding, n))
        s.sheetPadding = n;
}

} // namespace

bool readViewSettings(const std::string& path, ViewSettings& settings) {
    const ReadResult file = textfile::readTextFile(path);
    if (!file)
        return false;
    std::string_view text(reinterpret_cast<const char*>(file.bytes.data()), file.bytes.size());
    while (!text.empty()) {
        const size_t end = text.find_first_of("\r\n");
        takeLine(text.substr(0, end), settings);
        if (end == std::string_view::npos)
            break;
        text.remove_prefix(end + 1);
    }
    return true;
}

SaveResult writeViewSettings(const std::string& path, const ViewSettings& settings) {
    const auto line = [](const char* name, int value) {
        return std::string(name) + "=" + std::to_string(value) + std::string(textfile::lineBreak);
    };
    const std::string out = line("pixelGrid", settings.pixelGrid ? 1 : 0) +
                            line("exportScale", settings.exportScale) +
                            line("sheetPadding", settings.sheetPadding);
    return saveFileAtomically(path, bytesOf(out));
}

} // namespace vork
