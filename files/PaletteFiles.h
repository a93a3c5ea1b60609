// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The two palette text files: ".lpal" holds the small palette and the replacement pairs,
// ".bpal" the colour picker's grid. Both are lines of code-page-1251 text: a heading, then one
// row "alpha red green blue" per entry.
//
// Reading is word- and line-based, so any heading text is accepted: the first word of a heading
// is read, the rest of its line skipped, and each entry takes the four numbers that follow on the
// next line holding a number. Lines may end in CR, LF or CR LF, and numbers may be separated by
// spaces, tabs or commas. Every number is taken modulo 256 as a channel. An entry whose row
// cannot be read completely (text, too few numbers, end of file) keeps the colour it had. Only
// regular files are read (see ReadFile.h).
//
// Writing produces the headings as their 1251 bytes, rows "%d %d %d %d", lines separated by
// "\r\n" and no line break after the last line, saved through saveFileAtomically: a failure
// leaves the old file as it was.
#include "files/SaveFile.h"
#include "model/Palette.h"

#include <string>

namespace vork {

// Each returns true when the file was read and at least one entry came from it; on false no
// entry is changed. readBigPalette makes entry 0 transparent whatever the file says.
bool readSmallPalette(const std::string& path, Palettes& palettes);
bool readBigPalette(const std::string& path, Palettes& palettes);

// Each fails, with the reason, when the file could not be written completely; the old file then
// stays.
SaveResult writeSmallPalette(const std::string& path, const Palettes& palettes);
SaveResult writeBigPalette(const std::string& path, const Palettes& palettes);

} // namespace vork
