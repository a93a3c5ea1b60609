// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/CodePage1251.h"

#include <array>

namespace vork {

namespace {

// Bytes 0x80..0xBF; 0xC0..0xFF are the 64 letters from U+0410 in order, below 0x80 ASCII.
constexpr std::array<char16_t, 64> upperHalf = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021, 0x20AC, 0x2030, 0x0409,
    0x2039, 0x040A, 0x040C, 0x040B, 0x040F, 0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0xFFFD, 0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F, 0x00A0,
    0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6, 0x00A7, 0x0401, 0x00A9, 0x0404, 0x00AB,
    0x00AC, 0x00AD, 0x00AE, 0x0407, 0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6,
    0x00B7, 0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457};

void appendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += char(c);
    } else if (c < 0x800) {
        out += char(0xC0 | (c >> 6));
        out += char(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += char(0xE0 | (c >> 12));
        out += char(0x80 | ((c >> 6) & 0x3F));
        out += char(0x80 | (c & 0x3F));
    } else {
        out += char(0xF0 | (c >> 18));
        out += char(0x80 | ((c >> 12) & 0x3F));
        out += char(0x80 | ((c >> 6) & 0x3F));
        out += char(0x80 | (c & 0x3F));
    }
}

// Decodes one UTF-8 sequence at i; a malformed byte decodes as U+FFFD and is skipped.
char32_t nextUtf8(const std::string& s, size_t& i) {
    const uint8_t b0 = uint8_t(s[i]);
    const int extra = b0 < 0x80         ? 0
                      : (b0 >> 5) == 6  ? 1
                      : (b0 >> 4) == 14 ? 2
                      : (b0 >> 3) == 30 ? 3
                                        : -1;
    if (extra < 0) {
        ++i;
        return 0xFFFD;
    }
    char32_t c = extra == 0 ? b0 : char32_t(b0 & (0x3F >> extra));
    for (int k = 1; k <= extra; ++k) {
        const size_t j = i + size_t(k);
        if (j >= s.size() || (uint8_t(s[j]) >> 6) != 2) {
            ++i;
            return 0xFFFD;
        }
        c = (c << 6) | (uint8_t(s[j]) & 0x3F);
    }
    i += size_t(extra) + 1;
    return c;
}

} // namespace

std::optional<uint8_t> toCodePage1251(char32_t c) {
    if (c < 0x80)
        return uint8_t(c);
    if (c >= 0x0410 && c <= 0x044F)
        return uint8_t(0xC0 + (c - 0x0410));
    for (size_t i = 0; i < upperHalf.size(); ++i)
        if (upperHalf[i] == c && c != 0xFFFD)
            return uint8_t(0x80 + i);
    return std::nullopt;
}

char32_t fromCodePage1251(uint8_t b) {
    if (b < 0x80)
        return b;
    if (b >= 0xC0)
        return char32_t(0x0410 + (b - 0xC0));
    return upperHalf[size_t(b - 0x80)];
}

std::string utf8ToCodePage1251(const std::string& utf8) {
    std::string out;
    for (size_t i = 0; i < utf8.size();) {
        auto b = toCodePage1251(nextUtf8(utf8, i));
        out += b ? char(*b) : '?';
    }
    return out;
}

std::string codePage1251ToUtf8(const std::string& bytes) {
    std::string out;
    for (char ch : bytes)
        appendUtf8(out, fromCodePage1251(uint8_t(ch)));
    return out;
}

} // namespace vork
