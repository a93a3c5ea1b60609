// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/PaletteFiles.h"

#include "files/CodePage1251.h"
#include "files/TextFile.h"

#include <cstdio>
#include <vector>

namespace vork {

namespace {

const std::string& smallHeading() {
    static const std::string h = utf8ToCodePage1251("Малая палитра цветов:");
    return h;
}
const std::string& replacementHeading() {
    static const std::string h = utf8ToCodePage1251("Замена цветов:");
    return h;
}
const std::string& bigHeading() {
    static const std::string h = utf8ToCodePage1251("Большая палитра цветов:");
    return h;
}

// Reads one row per entry, each preceded by skipping the rest of the line before it. Returns
// how many entries took a colour from the file.
int readRows(textfile::Scanner& scanner, std::vector<PaletteEntry>& entries) {
    int read = 0;
    for (auto& entry : entries) {
        scanner.skipLine();
        if (const auto color = scanner.readColorRow()) {
            entry.color = *color;
            ++read;
        }
    }
    return read;
}

void appendRows(std::string& out, const std::vector<PaletteEntry>& entries) {
    char row[32];
    for (const auto& entry : entries) {
        const Color c = entry.color;
        std::snprintf(row, sizeof row, "%d %d %d %d", c.a(), c.r(), c.g(), c.b());
        out += textfile::lineBreak;
        out += row;
    }
}

} // namespace

bool readSmallPalette(const std::string& path, Palettes& palettes) {
    const ReadResult file = textfile::readTextFile(path);
    if (!file)
        return false;
    textfile::Scanner scanner(file);
    auto small = palettes.small;
    auto replacement = palettes.replacement;

    scanner.readWord();
    int read = readRows(scanner, small);
    scanner.readWord();
    read += readRows(scanner, replacement);
    if (read == 0)
        return false;
    palettes.small = std::move(small);
    palettes.replacement = std::move(replacement);
    return true;
}

bool readBigPalette(const std::string& path, Palettes& palettes) {
    const ReadResult file = textfile::readTextFile(path);
    if (!file)
        return false;
    textfile::Scanner scanner(file);
    auto big = palettes.big;

    scanner.readWord();
    if (readRows(scanner, big) == 0)
        return false;
    if (!big.empty())
        big[0].color = colors::transparent; // the picker's first cell is always "no colour"
    palettes.big = std::move(big);
    return true;
}

SaveResult writeSmallPalette(const std::string& path, const Palettes& palettes) {
    std::string out = smallHeading();
    appendRows(out, palettes.small);
    out += textfile::lineBreak;
    out += replacementHeading();
    appendRows(out, palettes.replacement);
    return saveFileAtomically(path, bytesOf(out));
}

SaveResult writeBigPalette(const std::string& path, const Palettes& palettes) {
    std::string out = bigHeading();
    appendRows(out, palettes.big);
    return saveFileAtomically(path, bytesOf(out));
}

} // namespace vork
