// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/SettingsFile.h"

#include "files/CodePage1251.h"
#include "files/TextFile.h"

namespace vork {

namespace {

const std::string& settingsHeading() {
    static const std::string h = utf8ToCodePage1251("Размеры растра:");
    return h;
}

// Takes the next number of the current line as a size when it is one the program can use.
// Returns whether a number was there at all, so a bad size does not hide the one after it.
bool readSize(textfile::Scanner& scanner, int& size, int& taken) {
    const auto n = scanner.readNumber(textfile::Reach::AcrossLines);
    if (!n)
        return false;
    if (n->value && *n->value >= 1 && *n->value <= maxSettingsSide) {
        size = *n->value;
        ++taken;
    }
    return true;
}

// Reads two sizes from one line; the second is looked for only after a first number.
void readSizePair(textfile::Scanner& scanner, int& width, int& height, int& taken) {
    if (readSize(scanner, width, taken)) {
        const auto n = scanner.readNumber(textfile::Reach::ThisLine);
        if (n && n->value && *n->value >= 1 && *n->value <= maxSettingsSide) {
            height = *n->value;
            ++taken;
        }
    }
}

} // namespace

bool readSettings(const std::string& path, DocumentSizes& sizes) {
    const ReadResult file = textfile::readTextFile(path);
    if (!file)
        return false;
    textfile::Scanner scanner(file);
    DocumentSizes read = sizes;
    int taken = 0;

    scanner.readWord();
    scanner.skipLine();
    readSizePair(scanner, read.animationWidth, read.animationHeight, taken);
    scanner.skipLine();
    readSizePair(scanner, read.pictureWidth, read.pictureHeight, taken);
    if (taken == 0)
        return false;
    sizes = read;
    return true;
}

SaveResult writeSettings(const std::string& path, const DocumentSizes& sizes) {
    std::string out = settingsHeading();
    out += textfile::lineBreak;
    out += std::to_string(sizes.animationWidth) + " " + std::to_string(sizes.animationHeight);
    out += textfile::lineBreak;
    out += std::to_string(sizes.pictureWidth) + " " + std::to_string(sizes.pictureHeight);
    return saveFileAtomically(path, bytesOf(out));
}

} // namespace vork
