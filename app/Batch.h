// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The command line's file work, without a window: what a file holds, and conversions between
// the program's own formats and image files. It uses the readers, writers, import and export
// of the editor itself, with the same limits and the same reasons for a failure.
#include "pixels/Progress.h"

#include <optional>
#include <ostream>
#include <string>

namespace vork {

// Prints what a ".trnl", ".gelm" or image file holds: its kind, size, frames with their delays
// and enabled flags, and layers with visibility and opacity. Returns the exit status: 0, or 1
// with one line on `err` when the file cannot be read.
int printFileInfo(const std::string& file, std::ostream& out, std::ostream& err);

// What --convert may add to its two files.
struct ConvertOptions {
    std::optional<int> frame; // --frame N (1-based): one frame of an animation
    std::optional<int>
        sheetColumns; // --sheet N: a sprite sheet of N columns, 0 as square as it gets
};

// Converts `input` into `output` by their extensions (see usageText). Prints each file written
// on `out`. Returns 0, 1 when a file could not be read or written, 2 when the request makes no
// sense.
int convertFile(const std::string& input, const std::string& output, const ConvertOptions& options,
                std::ostream& out, std::ostream& err, const Progress& progress = {});

} // namespace vork
