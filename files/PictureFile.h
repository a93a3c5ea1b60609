// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The picture file (".trnl"): the picture's one frame with every layer and the small palette's
// colours.
//
// Layout: the shared header with the magic "trnl" and the palette block (see
// DocumentFileBlocks.h), then the frame count (always 1), the frame's layerCounter and the layer
// count N, then N layer records bottom first: id, visible, opacity, pixel runs.
#include "files/DocumentRead.h"
#include "files/SaveFile.h"
#include "model/Document.h"
#include "model/Palette.h"
#include "pixels/Progress.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace vork {

class DocumentInput;

// The file's bytes for the picture's current (only) frame. Empty when a side is outside
// 1..5000 or a layer's image does not have the document size, which a sound document never
// has, or when memory ran out.
// Progress counts the layers encoded; a stop gives no bytes.
std::vector<uint8_t> encodePicture(const Document& picture,
                                   const std::vector<PaletteEntry>& smallPalette,
                                   const Progress& progress = {});

// Reads a whole picture file into a new document. The frame's layerCounter is the one stored,
// raised to the largest layer id read so that ids are never issued twice. A file whose layers
// would need more than maxPixelBytes of pixels is refused as TooLarge before any is allocated.
// Progress counts the layers built; a stop gives Cancelled.
DocumentReadResult decodePicture(std::span<const uint8_t> bytes, const Progress& progress = {});
DocumentReadResult decodePicture(std::span<const uint8_t> bytes, uint64_t maxPixelBytes,
                                 const Progress& progress = {});
// The same from a file's content in memory or a file read through a window.
DocumentReadResult decodePicture(DocumentInput& in, uint64_t maxPixelBytes,
                                 const Progress& progress = {});

// Encodes and saves; an existing file is replaced only by a complete new one.
SaveResult writePictureFile(const std::string& path, const Document& picture,
                            const std::vector<PaletteEntry>& smallPalette,
                            const Progress& progress = {});
// Reads the file (a regular file of at most maxDocumentFileBytes) and decodes it as it reads,
// through a window of bounded size.
DocumentReadResult readPictureFile(const std::string& path, const Progress& progress = {});

} // namespace vork
