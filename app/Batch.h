// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The command line's file work, without a window: what a file holds, and conversions between
// the program's own formats and image files. It uses the readers, writers, import and export
// of the editor itself, with the same limits and the same failures, and says what went wrong
// in the command line's own language, English.
//
// It pays for what is asked: --info reads a file's blocks and headers without decoding its
// pixels, one frame of an animation file is read without the others' pixels, and an image's
// frames going to PNG files are decoded and written one at a time.
#include "files/DataFolder.h"
#include "model/Palette.h"
#include "pixels/Progress.h"

#include <functional>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace vork {

// The progress of one pass of the work, labelled with what it counts ("reading frames",
// "writing layers"); an empty function shows none.
using ProgressFor = std::function<Progress(const std::string& counted)>;

// Prints what a ".trnl", ".gelm" or image file holds: its kind, size, frames with their delays
// and enabled flags, and layers with visibility and opacity. Returns the exit status: 0, or 1
// with one line on `err` when the file cannot be read.
int printFileInfo(const std::string& file, std::ostream& out, std::ostream& err);

// What --convert may add to its two files, and where the default palette is looked for.
struct ConvertOptions {
    std::optional<int> frame;        // --frame N (1-based): one frame of an animation or image
    std::optional<int> sheetColumns; // --sheet N: a sprite sheet of N columns, 0 as square
    DataFolder data;                 // the folders the editor would use
    int scale = 1;                   // --scale N: every exported pixel an N x N square
    std::optional<int> padding;      // --padding N: transparent pixels between sheet cells
};

// Converts `input` into `output` by their extensions (see usageText). Prints each file written
// on `out`. Returns 0, 1 when a file could not be read or written, 2 when the request makes no
// sense.
int convertFile(const std::string& input, const std::string& output, const ConvertOptions& options,
                std::ostream& out, std::ostream& err, const ProgressFor& progress = {});

// The small palette a document made from an image takes, found where the editor finds its own:
// the user's default palette file, else the shipped one; with neither, a line on `err` and the
// built-in shipped colours. Never an empty palette.
std::vector<PaletteEntry> defaultSmallPalette(const DataFolder& data, std::ostream& err);

// A file name as the command line prints it: as it is, or in double quotes with C escapes when
// it holds a line break or another control character, so that one name stays one line.
std::string printableName(const std::string& name);

// A reason a reader or writer of the program gives (in the editor's Russian) in English.
// A text it does not know comes back as it is.
std::string englishReason(const std::string& reason);

} // namespace vork
