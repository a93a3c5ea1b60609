// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The program's own small settings file, beside the document-size settings: how the canvas is
// shown, and the scale and sheet padding the image exports were last given. One "name=value" a
// line; lines the reader does not know, and values out of range, leave the setting as it was, so an
// older or newer program's file never stops a start.
#include "files/SaveFile.h"

#include <string>

namespace vork {

struct ViewSettings {
    bool pixelGrid = false; // a one-pixel grid between picture pixels at 400 % and above
    int exportScale = 1;    // each exported pixel an N x N square, 1..16
    int sheetPadding = 0;   // transparent pixels between a sprite sheet's cells, 0..256
};

// Reads the settings the file gives; true when the file was read.
bool readViewSettings(const std::string& path, ViewSettings& settings);

// Writes the settings through saveFileAtomically; the old file stays when this fails.
SaveResult writeViewSettings(const std::string& path, const ViewSettings& settings);

} // namespace vork
