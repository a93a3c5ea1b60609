// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/TextFile.h"

#include <cstdio>
#include <limits>

namespace vork::textfile {

namespace {

bool isSeparator(int c) {
    return c == ' ' || c == '\t' || c == ',' || c == '\v' || c == '\f';
}
bool isLineEnd(int c) {
    return c == '\n' || c == '\r';
}
bool isDigit(int c) {
    return c >= '0' && c <= '9';
}

} // namespace

ReadResult readTextFile(const std::string& path) {
    return readWholeFile(path, maxTextFileBytes);
}

int Scanner::peek() const {
    return pos < text.size() ? static_cast<unsigned char>(text[pos]) : EOF;
}

bool Scanner::atLineEnd() const {
    return isLineEnd(peek());
}

void Scanner::skipLineEnd() {
    // "\r\n" is one line end, so a file with carriage returns reads like one without.
    if (peek() == '\r' && pos + 1 < text.size() && text[pos + 1] == '\n')
        ++pos;
    ++pos;
}

void Scanner::skipSeparators(Reach reach) {
    for (;;) {
        if (isSeparator(peek()))
            ++pos;
        else if (reach == Reach::AcrossLines && atLineEnd())
            skipLineEnd();
        else
            return;
    }
}

bool Scanner::readWord() {
    skipSeparators(Reach::AcrossLines);
    const size_t start = pos;
    for (int c = peek(); c != EOF && !isLineEnd(c) && !isSeparator(c); c = peek())
        ++pos;
    return pos > start;
}

void Scanner::skipLine() {
    while (peek() != EOF && !atLineEnd())
        ++pos;
    if (atLineEnd())
        skipLineEnd();
}

std::optional<Number> Scanner::readNumber(Reach reach) {
    skipSeparators(reach);
    bool negative = false;
    if (int c = peek(); c == '-' || c == '+') {
        negative = c == '-';
        ++pos;
    }
    if (!isDigit(peek()))
        return std::nullopt;

    // The low 8 bits follow from the digits alone, so no run of digits can overflow them.
    uint8_t low8 = 0;
    int64_t magnitude = 0;
    bool fits = true;
    constexpr int64_t limit = int64_t(std::numeric_limits<int>::max()) + 1;
    for (int c = peek(); isDigit(c); c = peek()) {
        ++pos;
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
        const auto n = readNumber(k == 0 ? Reach::AcrossLines : Reach::ThisLine);
        if (!n)
            return std::nullopt;
        channel[k] = n->low8;
    }
    return Color::fromArgb(channel[0], channel[1], channel[2], channel[3]);
}

} // namespace vork::textfile
