// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The scale an image export is made at, asked before the export in one small dialog that
// starts at the scale given last (and, for a sprite sheet, the padding between its cells).
// OK keeps the answer in the view settings, which the program's own settings file holds
// across runs; Cancel cancels the export.
#include "ui/Editor.h"

#include <optional>

namespace vork {

struct ExportScaling {
    int scale = 1;
    int padding = 0; // between a sprite sheet's cells
};

// Asks for the scale of images of width x height (for a sprite sheet, `sheet`, also the
// padding). Nothing when the dialog was cancelled.
std::optional<ExportScaling> askExportScale(Editor& e, int width, int height, bool sheet = false);

} // namespace vork
