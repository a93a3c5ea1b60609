// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/SpriteSheet.h"

#include "files/SaveFile.h"
#include "files/SpriteSheetJson.h"
#include "gfx/ImageCodec.h"
#include "model/Limits.h"
#include "pixels/ExportScale.h"

#include <algorithm>
#include <cstring>
#include <optional>
#include <vector>

namespace vork {

namespace {

int rowsFor(int frames, int columns) {
    return (frames + columns - 1) / columns;
}

// The grid that makes the sheet as square as possible (see sheetGrid).
int squarestColumns(int frames, int cellWidth, int cellHeight, int padding) {
    int best = 1;
    int64_t bestSide = INT64_MAX, bestEmpty = INT64_MAX;
    for (int columns = 1; columns <= frames; ++columns) {
        const int rows = rowsFor(frames, columns);
        const SheetGrid grid{columns, rows, cellWidth, cellHeight, padding};
        const int64_t side = std::max(grid.width(), grid.height());
        const int64_t empty = int64_t(columns) * rows - frames;
        if (side < bestSide || (side == bestSide && empty <= bestEmpty)) {
            best = columns;
            bestSide = side;
            bestEmpty = empty;
        }
    }
    return best;
}

std::string fileNameOf(const std::string& path) {
    return path.substr(path.find_last_of('/') + 1); // npos + 1 is 0
}

void copyInto(Bitmap& sheet, const Bitmap& image, Rect cell) {
    for (int y = 0; y < cell.h; ++y)
        std::memcpy(sheet.row(cell.y + y) + cell.x, image.row(y), size_t(cell.w) * 4);
}

// The sheet, or nothing when the progress asked to stop.
std::optional<Bitmap> composeSheet(const ExportedFrames& exported, const SheetGrid& grid,
                                   const Progress& progress) {
    Bitmap sheet(int(grid.width()), int(grid.height()));
    if (sheet.isNull())
        return sheet;
    const int total = int(exported.delaysMs.size());
    int i = 0;
    bool cancelled = false, noMemory = false;
    exported.frames([&](const Bitmap& frame) {
        if (frame.isNull() || i >= total) {
            noMemory = true;
            return false;
        }
        copyInto(sheet, frame, grid.cell(i++));
        cancelled = !reportProgress(progress, i, total);
        return !cancelled;
    });
    if (cancelled)
        return std::nullopt;
    if (noMemory)
        return Bitmap();
    return sheet;
}

std::string sheetSizeText(const SheetGrid& grid) {
    return "лист " + std::to_string(grid.width()) + " x " + std::to_string(grid.height()) +
           " пикселей, наибольшая сторона " + std::to_string(maxDocumentSide);
}

ExportResult failed(ImageFailure failure, const std::string& file, const std::string& detail = {}) {
    return {FileOutcome::failed(failure, file, detail), {}};
}

} // namespace

SheetGrid sheetGrid(int frames, int cellWidth, int cellHeight, int columns, int padding) {
    frames = std::max(frames, 1);
    if (columns < 1)
        columns = squarestColumns(frames, cellWidth, cellHeight, padding);
    columns = std::min(columns, frames); // more columns than frames: one row, no empty cells
    return {columns, rowsFor(frames, columns), cellWidth, cellHeight, padding};
}

bool sheetFits(const SheetGrid& grid) {
    const int64_t w = grid.width(), h = grid.height();
    return w >= minDocumentSide && h >= minDocumentSide && w <= maxDocumentSide &&
           h <= maxDocumentSide && uint64_t(w) * uint64_t(h) * 4 <= maxDecodedBytes;
}

std::string sheetImageName(const std::string& chosenName) {
    return exportBaseName(chosenName) + ".png";
}

std::string sheetJsonName(const std::string& chosenName) {
    return exportBaseName(chosenName) + ".json";
}

ExportResult exportSpriteSheet(const Document& animation, const std::string& chosenName,
                               SingleLayerView view, int columns, const Progress& progress,
                               int scale, int padding) {
    const std::string imageFile = sheetImageName(chosenName), jsonFile = sheetJsonName(chosenName);
    const std::vector<const Frame*> frames = animation.enabledFrames();
    if (frames.empty())
        return failed(ImageFailure::NoEnabledFrames, imageFile);
    if (!validExportScale(scale))
        return failed(ImageFailure::TooLarge, imageFile,
                      scaledTooLargeText(animation.width, animation.height, scale));
    const SheetGrid grid =
        sheetGrid(int(frames.size()), animation.width * scale, animation.height * scale, columns,
                  std::clamp(padding, 0, maxSheetPadding));
    if (!sheetFits(grid))
        return failed(ImageFailure::TooLarge, imageFile, sheetSizeText(grid));
    if (!canEncodePng())
        return failed(ImageFailure::NoPngWriter, imageFile);

    const ExportedFrames exported = exportedFrames(animation, view, scale);
    const std::optional<Bitmap> sheet = composeSheet(exported, grid, progress);
    if (!sheet)
        return failed(ImageFailure::Cancelled, imageFile);
    if (sheet->isNull())
        return failed(ImageFailure::TooLarge, imageFile, sheetSizeText(grid));
    const std::optional<std::vector<uint8_t>> png = encodePng(*sheet);
    if (!png)
        return failed(ImageFailure::CannotWrite, imageFile, "не удалось закодировать PNG");

    std::vector<SheetFrame> described;
    const std::string frameBase = fileNameOf(exportBaseName(chosenName));
    for (size_t i = 0; i < frames.size(); ++i)
        described.push_back(
            {frameExportName(frameBase, int(i) + 1), grid.cell(int(i)), frames[i]->delay});
    const std::string json =
        spriteSheetJson(described, fileNameOf(imageFile), sheet->width(), sheet->height(), scale);

    const SaveResult imageSaved = saveFileAtomically(imageFile, *png);
    if (!imageSaved)
        return failed(ImageFailure::CannotWrite, imageFile, imageSaved.reason);
    const SaveResult jsonSaved = saveFileAtomically(jsonFile, bytesOf(json));
    if (!jsonSaved)
        return {FileOutcome::failed(ImageFailure::CannotWrite, jsonFile, jsonSaved.reason),
                {imageFile}};
    return {FileOutcome::success(imageFile), {imageFile, jsonFile}};
}

} // namespace vork
