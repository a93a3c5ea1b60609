// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The file-name buffers of the choosers, kept for the whole run.
#include <string>

namespace vork {

// The open and save choosers of a document format share one; every image chooser and the
// merge chooser has its own.
struct ChooserNames {
    std::string smallPalette;
    std::string bigPalette;
    std::string bigPaletteImage; // the image a big palette is sampled from
    std::string picture;         // ".trnl" open and save
    std::string animation;       // ".gelm" open and save
    std::string gifImport;
    std::string imageAsPicture;
    std::string imageToInsert;
    std::string pictureExport;
    std::string framesExport;
    std::string gifExport;
    std::string webpExport;
    std::string sheetExport;
    std::string merge;
};

} // namespace vork
