// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The settings file keeps the default document sizes between runs: a heading line, then
// "animationWidth animationHeight" and "pictureWidth pictureHeight", each size as an integer.
// It is written in the same text form as the palette files (1251 heading, "\r\n" between lines,
// no line break after the last one) and read the same word- and line-based way, with any line
// ends and spaces, tabs or commas between the numbers.
#include "files/SaveFile.h"

#include <string>

namespace vork {

// Sizes outside 1..maxSettingsSide are not taken from the file; the largest is the largest
// side a new document may have.
inline constexpr int maxSettingsSide = 5000;

// The document sizes kept between runs.
struct DocumentSizes {
    int pictureWidth = 300, pictureHeight = 300;
    int animationWidth = 300, animationHeight = 264;
};

// Reads the four sizes. A size that is missing, not a number or out of range keeps the value
// it had. Returns true when the file was read and gave at least one size.
bool readSettings(const std::string& path, DocumentSizes& sizes);

// Writes the sizes through saveFileAtomically. Fails, with the
// reason, when the file could not be written completely; the old file then stays as it was.
SaveResult writeSettings(const std::string& path, const DocumentSizes& sizes);

} // namespace vork
