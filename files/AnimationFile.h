// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The animation file (".gelm"): every frame with its delay, enabled flag and layers, and the
// small palette's colours.
//
// Layout: the shared header with the magic "gelm" and the palette block (see
// DocumentFileBlocks.h), then the frame count F and F frame records: delay, enabled, layer count
// N and N layer records bottom first (visible, opacity, pixel runs; no layer id).
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

// The file's bytes for the animation. Empty when a side is outside 1..5000 or a
// layer's image does not have the document size, which a sound document never has, or when
// memory ran out.
// Progress counts the layers encoded; a stop gives no bytes.
std::vector<uint8_t> encodeAnimation(const Document& animation,
                                     const std::vector<PaletteEntry>& smallPalette,
                                     const Progress& progress = {});

// Reads a whole animation file into a new document. Layer ids are not stored: each frame's
// layers read back as 1..N with layerCounter N. A file whose layers would need more than
// maxPixelBytes of pixels is refused as TooLarge before any is allocated.
// Progress counts the layers built; a stop gives Cancelled.
DocumentReadResult decodeAnimation(std::span<const uint8_t> bytes, const Progress& progress = {});
DocumentReadResult decodeAnimation(std::span<const uint8_t> bytes, uint64_t maxPixelBytes,
                                   const Progress& progress = {});
// The same from a file's content in memory or a file read through a window.
DocumentReadResult decodeAnimation(DocumentInput& in, uint64_t maxPixelBytes,
                                   const Progress& progress = {});

// Encodes and saves; an existing file is replaced only by a complete new one.
SaveResult writeAnimationFile(const std::string& path, const Document& animation,
                              const std::vector<PaletteEntry>& smallPalette,
                              const Progress& progress = {});
// Reads the file (a regular file of at most maxDocumentFileBytes) and decodes it as it reads,
// through a window of bounded size.
DocumentReadResult readAnimationFile(const std::string& path, const Progress& progress = {});

} // namespace vork
