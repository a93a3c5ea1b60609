#include "files/PaletteFiles.h"

#include "model/CodePage1251.h"

#include <QByteArray>
#include <QSaveFile>
#include <QString>

#include <cstdio>
#include <fstream>
#include <limits>
#include <vector>

namespace vork {

namespace textfile {

bool replaceFile(const std::string& path, const std::string& bytes) {
    QSaveFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::WriteOnly))
        return false;
    const auto size = qint64(bytes.size());
    if (file.write(bytes.data(), size) != size) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

namespace {
bool isBlank(int c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f';
}
bool isDigit(int c) {
    return c >= '0' && c <= '9';
}
} // namespace

int Scanner::peek() {
    // A failed stream reads as the end of the file.
    if (!in.good() || consumed >= byteLimit)
        return EOF;
    return in.peek();
}

void Scanner::advance() {
    in.get();
    ++consumed;
}

void Scanner::skipBlanks(bool acrossLines) {
    for (int c = peek(); isBlank(c) || (acrossLines && c == '\n'); c = peek())
        advance();
}

bool Scanner::readWord() {
    skipBlanks(true);
    bool any = false;
    for (int c = peek(); c != EOF && c != '\n' && !isBlank(c); c = peek()) {
        advance();
        any = true;
    }
    return any;
}

void Scanner::skipLine() {
    for (int c = peek(); c != EOF; c = peek()) {
        advance();
        if (c == '\n')
            return;
    }
}

std::optional<Number> Scanner::readNumber(bool acrossLines) {
    skipBlanks(acrossLines);
    bool negative = false;
    if (int c = peek(); c == '-' || c == '+') {
        negative = c == '-';
        advance();
    }
    if (!isDigit(peek()))
        return std::nullopt;

    // The low 8 bits follow from the digits alone, so no run of digits can overflow them.
    uint8_t low8 = 0;
    int64_t magnitude = 0;
    bool fits = true;
    constexpr int64_t limit = int64_t(std::numeric_limits<int>::max()) + 1;
    for (int c = peek(); isDigit(c); c = peek()) {
        advance();
        const int digit = c - '0';
        low8 = uint8_t(low8 * 10 + digit);
        if (fits) {
            magnitude = magnitude * 10 + digit;
            fits = magnitude <= limit;
        }
    }
    Number n;
    n.low8 = negative ? uint8_t(-low8) : low8;
    if (fits) {
        const int64_t v = negative ? -magnitude : magnitude;
        if (v >= std::numeric_limits<int>::min() && v <= std::numeric_limits<int>::max())
            n.value = int(v);
    }
    return n;
}

std::optional<Color> Scanner::readColorRow() {
    uint8_t channel[4];
    for (int k = 0; k < 4; ++k) {
        const auto n = readNumber(k == 0);
        if (!n)
            return std::nullopt;
        channel[k] = n->low8;
    }
    return Color::fromArgb(channel[0], channel[1], channel[2], channel[3]);
}

} // namespace textfile

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
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    textfile::Scanner scanner(in);
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
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    textfile::Scanner scanner(in);
    auto big = palettes.big;

    scanner.readWord();
    if (readRows(scanner, big) == 0)
        return false;
    if (!big.empty())
        big[0].color = colors::transparent; // the picker's first cell is always "no colour"
    palettes.big = std::move(big);
    return true;
}

bool writeSmallPalette(const std::string& path, const Palettes& palettes) {
    std::string out = smallHeading();
    appendRows(out, palettes.small);
    out += textfile::lineBreak;
    out += replacementHeading();
    appendRows(out, palettes.replacement);
    return textfile::replaceFile(path, out);
}

bool writeBigPalette(const std::string& path, const Palettes& palettes) {
    std::string out = bigHeading();
    appendRows(out, palettes.big);
    return textfile::replaceFile(path, out);
}

} // namespace vork
