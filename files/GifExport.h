// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The enabled frames of an animation as one animated GIF that loops forever.
//
// Each frame is composed as the PNG frames export composes it, then cut at alpha 128: a pixel
// below it becomes transparent, one from it on opaque. Colours are kept exactly while a frame
// has at most 255 of them (one palette for the whole file when every frame fits in it together,
// otherwise a palette per frame); a frame with more is reduced to 255 by libimagequant, without
// dithering. Each frame keeps its own delay (see gifDelays) and stores only the rectangle that
// changed since the frame before. The file is built in memory and written through
// saveFileAtomically, so an old file is replaced only by a complete new one.
#include "files/ImageExport.h"
#include "model/Document.h"
#include "model/LayerComposite.h"
#include "pixels/Progress.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace vork {

// The chosen name with its extension, whatever it was, replaced by ".gif".
std::string gifExportName(const std::string& chosenName);

// The whole file, or its failure: NoEnabledFrames, TooLarge, Cancelled or CannotWrite.
struct GifEncoding : EncodedFile {
    int framesWritten = 0;
    int framesQuantised = 0; // frames that had more colours than a palette holds
    bool globalPalette = false;
};

// The GIF of the frames the animation exports take (exportedFrames: the enabled frames, in
// order, composed, enlarged by `scale`). Progress counts two steps a frame (the colours are
// counted over all frames first); a cancel ends the encoding. A scale whose frames would be
// too large is refused (TooLarge) before any frame is composed.
GifEncoding encodeAnimationGif(const Document& animation, SingleLayerView view,
                               const Progress& progress = {}, int scale = 1);

// Frames that are not held whole in a document. The source is called twice (the colours of
// the frames are counted first, up to the first frame where they no longer fit in one
// palette), so a source that decodes a file keeps one frame at a time in memory.
using GifFrameSource = FrameSource;
// The GIF of the frames the source gives, one delay each, exactly as encodeAnimationGif
// encodes frames so composed. Progress as for encodeAnimationGif.
GifEncoding encodeGifFrames(int width, int height, std::span<const double> delaysMs,
                            const GifFrameSource& frames, const Progress& progress = {});
// Saves an encoding under gifExportName(chosenName), or says why it was not.
ExportResult writeGifEncoding(const GifEncoding& encoded, const std::string& chosenName);

// Writes encodeAnimationGif under gifExportName(chosenName). An animation with no enabled frame
// writes nothing and says so; a cancel or a failed write leaves any old file as it was.
ExportResult exportAnimationGif(const Document& animation, const std::string& chosenName,
                                SingleLayerView view, const Progress& progress = {}, int scale = 1);

} // namespace vork
