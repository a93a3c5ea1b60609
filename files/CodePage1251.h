// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The 8-bit Cyrillic code page of the program's texts: typed characters and file headings.
#include <cstdint>
#include <optional>
#include <string>

namespace vork {

// The byte of a Unicode character, or nothing when the code page has no such character.
std::optional<uint8_t> toCodePage1251(char32_t c);
// The Unicode character of a byte.
char32_t fromCodePage1251(uint8_t byte);

// Whole strings, UTF-8 on the program's side; characters the code page lacks become '?'.
std::string utf8ToCodePage1251(const std::string& utf8);
std::string codePage1251ToUtf8(const std::string& bytes);

} // namespace vork
