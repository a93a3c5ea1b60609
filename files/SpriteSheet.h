// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The enabled frames of an animation on one sprite sheet: a PNG file holding the frames in a
// grid, left to right and top to bottom, and beside it a JSON file with the same base name
// giving each frame's rectangle and delay (see spriteSheetJson).
//
// Frames are composed as the PNG frames export composes them, alpha and all, and enlarged by
// the export scale; cells may be kept apart by a transparent padding. A sheet with a
// side past the document limit (maxDocumentSide) or past the memory budget is refused before
// anything is composed. Both files are written through saveFileAtomically: an old file is
// replaced only by a complete new one.
#include "files/ImageExport.h"
#include "gfx/Geometry.h"
#include "model/Document.h"
#include "model/LayerComposite.h"
#include "pixels/ExportScale.h"
#include "pixels/Progress.h"

#include <cstdint>
#include <string>

namespace vork {

struct SheetGrid {
    int columns = 0, rows = 0;
    int cellWidth = 0, cellHeight = 0;
    int padding = 0;

    int64_t width() const { return spanOf(columns, cellWidth); }
    int64_t height() const { return spanOf(rows, cellHeight); }
    // The rectangle of the i-th frame (0-based): row i / columns, column i % columns.
    Rect cell(int i) const {
        return {i % columns * (cellWidth + padding), i / columns * (cellHeight + padding),
                cellWidth, cellHeight};
    }

  private:
    int64_t spanOf(int cells, int side) const {
        return cells < 1 ? 0 : int64_t(cells) * side + int64_t(cells - 1) * padding;
    }
};

// The grid of `frames` cells (at least one) in the given number of columns, at most one a frame
// (more make one row), `padding` pixels apart. With no column count (0 or less) the sheet is
// made as square as possible: the count that gives the shortest longer side, then the fewest
// empty cells, then the most columns.
SheetGrid sheetGrid(int frames, int cellWidth, int cellHeight, int columns = 0, int padding = 0);

// Whether a sheet of the grid's size may be made: both sides within 1..maxDocumentSide and its
// pixels within the memory budget.
bool sheetFits(const SheetGrid& grid);

// The two files of a chosen name: its base name (exportBaseName) with ".png" and with ".json".
std::string sheetImageName(const std::string& chosenName);
std::string sheetJsonName(const std::string& chosenName);

// Writes the sheet of the enabled frames, each composed with composeLayers (single-layer view
// shows each frame's current layer) and enlarged by `scale`, in `columns` columns (0: as square
// as possible) with `padding` transparent pixels between cells (clamped to 0..maxSheetPadding),
// then its JSON file, whose rectangles are those of the enlarged cells. In the JSON each frame is
// named as the frames export would name its file
// ("walk001.png" for a sheet "walk.png"), and its duration is its delay in milliseconds.
// Progress counts composed frames; a cancel writes nothing. Failures: no enabled frame, a sheet
// too large (the detail gives its size), no PNG writer, a file that could not be written (the
// outcome names it; when the JSON fails, the sheet already written is listed).
ExportResult exportSpriteSheet(const Document& animation, const std::string& chosenName,
                               SingleLayerView view, int columns = 0, const Progress& progress = {},
                               int scale = 1, int padding = 0);

} // namespace vork
