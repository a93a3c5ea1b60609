// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/ForeignPalettes.h"

#include "files/TextFile.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstdio>

namespace vork {

namespace {

// The file's lines without their line ends (CR, LF or CR LF); a UTF-8 byte order mark before
// the first is dropped.
std::vector<std::string_view> linesOf(std::string_view text) {
    if (text.substr(0, 3) == "\xEF\xBB\xBF")
        text.remove_prefix(3);
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        const size_t end = text.find_first_of("\r\n");
        lines.push_back(text.substr(0, end));
        if (end == std::string_view::npos)
            break;
        size_t next = end + 1;
        if (text[end] == '\r' && next < text.size() && text[next] == '\n')
            ++next;
        text.remove_prefix(next);
    }
    return lines;
}

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string_view trimmed(std::string_view s) {
    while (!s.empty() && isBlank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && isBlank(s.back()))
        s.remove_suffix(1);
    return s;
}

// The next run of non-blank characters of `s`, taken off its front.
std::string_view nextWord(std::string_view& s) {
    s = trimmed(s);
    size_t end = 0;
    while (end < s.size() && !isBlank(s[end]))
        ++end;
    const std::string_view word = s.substr(0, end);
    s.remove_prefix(end);
    return word;
}

// A whole word as a channel value 0..255.
std::optional<int> channel(std::string_view word) {
    int v = 0;
    const auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), v);
    if (word.empty() || error != std::errc() || end != word.data() + word.size() || v < 0 ||
        v > 255)
        return std::nullopt;
    return v;
}

// Exactly `digits` hexadecimal digits as a number.
std::optional<uint32_t> hexNumber(std::string_view s, size_t digits) {
    if (s.size() != digits)
        return std::nullopt;
    uint32_t v = 0;
    for (char c : s) {
        if (!std::isxdigit(static_cast<unsigned char>(c)))
            return std::nullopt;
        v = v * 16 + uint32_t(std::isdigit(static_cast<unsigned char>(c))
                                  ? c - '0'
                                  : std::tolower(static_cast<unsigned char>(c)) - 'a' + 10);
    }
    return v;
}

ForeignPaletteRead failure(size_t line, const std::string& what) {
    ForeignPaletteRead r;
    r.reason = line == 0 ? what : "строка " + std::to_string(line) + ": " + what;
    return r;
}

// "R G B" with nothing after it, or, where `nameMayFollow`, any name after the three numbers.
std::optional<Color> rgbLine(std::string_view line, bool nameMayFollow) {
    const auto r = channel(nextWord(line));
    const auto g = channel(nextWord(line));
    const auto b = channel(nextWord(line));
    if (!r || !g || !b)
        return std::nullopt;
    if (!nameMayFollow && !trimmed(line).empty())
        return std::nullopt;
    if (nameMayFollow && !line.empty() && !isBlank(line.front()))
        return std::nullopt;
    return Color::rgb(*r, *g, *b);
}

ForeignPaletteRead finished(ForeignPaletteRead r) {
    if (r.colours.empty())
        return failure(0, "в файле нет цветов");
    return r;
}

ForeignPaletteRead parseGimp(const std::vector<std::string_view>& lines) {
    if (lines.empty() || trimmed(lines[0]) != "GIMP Palette")
        return failure(1, "нет заголовка \"GIMP Palette\"");
    ForeignPaletteRead r;
    for (size_t i = 1; i < lines.size(); ++i) {
        const std::string_view line = trimmed(lines[i]);
        if (line.empty() || line.front() == '#')
            continue;
        // The header's name and column count come before the colours.
        if (r.colours.empty() && (line.starts_with("Name:") || line.starts_with("Columns:")))
            continue;
        const auto c = rgbLine(line, true);
        if (!c)
            return failure(i + 1, "не цвет \"R G B\"");
        r.colours.push_back(*c);
    }
    return finished(std::move(r));
}

ForeignPaletteRead parseJasc(const std::vector<std::string_view>& lines) {
    if (lines.size() < 3 || trimmed(lines[0]) != "JASC-PAL")
        return failure(1, "нет заголовка \"JASC-PAL\"");
    if (trimmed(lines[1]) != "0100")
        return failure(2, "неизвестная версия");
    int count = 0;
    const std::string_view countText = trimmed(lines[2]);
    const auto [end, error] =
        std::from_chars(countText.data(), countText.data() + countText.size(), count);
    if (countText.empty() || error != std::errc() || end != countText.data() + countText.size() ||
        count < 1)
        return failure(3, "нет числа цветов");
    if (size_t(count) > lines.size() - 3)
        return failure(0, "цветов меньше, чем указано (" + std::to_string(count) + ")");
    ForeignPaletteRead r;
    for (size_t i = 3; i < 3 + size_t(count); ++i) {
        const auto c = rgbLine(lines[i], false);
        if (!c)
            return failure(i + 1, "не цвет \"R G B\"");
        r.colours.push_back(*c);
    }
    for (size_t i = 3 + size_t(count); i < lines.size(); ++i)
        if (!trimmed(lines[i]).empty())
            return failure(i + 1, "цветов больше, чем указано (" + std::to_string(count) + ")");
    return finished(std::move(r));
}

ForeignPaletteRead parseHex(const std::vector<std::string_view>& lines) {
    ForeignPaletteRead r;
    for (size_t i = 0; i < lines.size(); ++i) {
        std::string_view line = trimmed(lines[i]);
        if (line.empty())
            continue;
        if (line.front() == '#')
            line.remove_prefix(1);
        const auto v = hexNumber(line, 6);
        if (!v)
            return failure(i + 1, "не цвет \"rrggbb\"");
        r.colours.push_back(Color{0xFF000000u | *v});
    }
    return finished(std::move(r));
}

ForeignPaletteRead parsePaintNet(const std::vector<std::string_view>& lines) {
    ForeignPaletteRead r;
    for (size_t i = 0; i < lines.size(); ++i) {
        const std::string_view line = trimmed(lines[i]);
        if (line.empty() || line.front() == ';')
            continue;
        const auto v = hexNumber(line, 8);
        if (!v)
            return failure(i + 1, "не цвет \"aarrggbb\"");
        r.colours.push_back(Color{*v});
    }
    return finished(std::move(r));
}

std::string lowered(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(),
                   [](unsigned char c) { return char(std::tolower(c)); });
    return s;
}

} // namespace

std::optional<ForeignPalette> foreignPaletteOf(const std::string& path) {
    const size_t slash = path.find_last_of('/');
    const size_t dot = path.find_last_of('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
        return std::nullopt;
    const std::string ext = lowered(path.substr(dot));
    if (ext == ".gpl")
        return ForeignPalette::Gimp;
    if (ext == ".pal")
        return ForeignPalette::Jasc;
    if (ext == ".hex")
        return ForeignPalette::Hex;
    if (ext == ".txt")
        return ForeignPalette::PaintNet;
    return std::nullopt;
}

std::vector<ForeignPalette> foreignPaletteForms() {
    return {ForeignPalette::Gimp, ForeignPalette::Jasc, ForeignPalette::Hex,
            ForeignPalette::PaintNet};
}

std::string foreignPaletteExtension(ForeignPalette form) {
    switch (form) {
    case ForeignPalette::Gimp:
        return ".gpl";
    case ForeignPalette::Jasc:
        return ".pal";
    case ForeignPalette::Hex:
        return ".hex";
    case ForeignPalette::PaintNet:
        return ".txt";
    }
    return "";
}

std::vector<std::pair<std::string, std::string>> foreignPaletteFilters() {
    const char* names[] = {"GIMP palettes", "JASC palettes", "Hex palettes", "Paint.NET palettes"};
    std::vector<std::pair<std::string, std::string>> filters;
    for (ForeignPalette form : foreignPaletteForms())
        filters.emplace_back(names[filters.size()], "*" + foreignPaletteExtension(form));
    return filters;
}

ForeignPaletteRead parseForeignPalette(ForeignPalette form, std::string_view text) {
    const std::vector<std::string_view> lines = linesOf(text);
    switch (form) {
    case ForeignPalette::Gimp:
        return parseGimp(lines);
    case ForeignPalette::Jasc:
        return parseJasc(lines);
    case ForeignPalette::Hex:
        return parseHex(lines);
    case ForeignPalette::PaintNet:
        return parsePaintNet(lines);
    }
    return failure(0, "неизвестный формат");
}

ForeignPaletteRead readForeignPalette(const std::string& path, ForeignPalette form) {
    const ReadResult file = textfile::readTextFile(path);
    if (!file)
        return failure(0, file.reason.empty() ? "файл не прочитан" : file.reason);
    return parseForeignPalette(
        form,
        std::string_view(reinterpret_cast<const char*>(file.bytes.data()), file.bytes.size()));
}

std::string formatForeignPalette(ForeignPalette form, const std::vector<Color>& colours) {
    std::string out;
    char row[64];
    switch (form) {
    case ForeignPalette::Gimp:
        out = "GIMP Palette\nName: vork\nColumns: 16\n#\n";
        for (const Color c : colours) {
            std::snprintf(row, sizeof row, "%3d %3d %3d\t#%02x%02x%02x\n", c.r(), c.g(), c.b(),
                          c.r(), c.g(), c.b());
            out += row;
        }
        break;
    case ForeignPalette::Jasc:
        out = "JASC-PAL\r\n0100\r\n" + std::to_string(colours.size()) + "\r\n";
        for (const Color c : colours) {
            std::snprintf(row, sizeof row, "%d %d %d\r\n", c.r(), c.g(), c.b());
            out += row;
        }
        break;
    case ForeignPalette::Hex:
        for (const Color c : colours) {
            std::snprintf(row, sizeof row, "%02x%02x%02x\n", c.r(), c.g(), c.b());
            out += row;
        }
        break;
    case ForeignPalette::PaintNet:
        out = ";paint.net Palette File\n;Palette Name: vork\n;Colors: " +
              std::to_string(colours.size()) + "\n";
        for (const Color c : colours) {
            std::snprintf(row, sizeof row, "%08X\n", unsigned(c.argb));
            out += row;
        }
        break;
    }
    return out;
}

SaveResult writeForeignPalette(const std::string& path, ForeignPalette form,
                               const std::vector<Color>& colours) {
    return saveFileAtomically(path, bytesOf(formatForeignPalette(form, colours)));
}

} // namespace vork
