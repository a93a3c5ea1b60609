// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The enabled frames of an animation as one animated WebP that loops forever, through libwebp's
// animation encoder.
//
// The frames are exactly those the GIF export takes (exportedFrames), but nothing is cut: every
// pixel keeps its full alpha and its exact colour (lossless encoding, transparent pixels keep
// their colour too), and each frame keeps its own delay in whole milliseconds. The file is built
// in memory and written through saveFileAtomically, so an old file is replaced only by a
// complete new one.
#include "files/ImageExport.h"
#include "model/Document.h"
#include "model/LayerComposite.h"
#include "pixels/Progress.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace vork {

// The chosen name with its extension, whatever it was, replaced by ".webp".
std::string webpExportName(const std::string& chosenName);

// The longest frame a WebP holds (a 24-bit field of milliseconds), a little over four hours.
inline constexpr int longestWebpDuration = 0xFFFFFF;

// The frames' durations in whole milliseconds, in order. Each is rounded with the error of the
// frames before it carried along, so the running total stays within half a millisecond of the
// true one; a frame that would come out shorter than 1 ms gets 1 ms (the encoder needs each
// frame to last), one past longestWebpDuration gets that, and such a frame owes the difference
// to no other frame. A delay below 0, or not a number, counts as 0.
std::vector<int> webpDurations(std::span<const double> delaysMs);

// The whole file, or its failure: NoEnabledFrames, TooLarge, Cancelled or CannotWrite.
struct WebpEncoding : EncodedFile {};

// The WebP of the frames the source gives, each width x height, one delay each. Progress
// counts the frames encoded; a cancel ends the encoding.
WebpEncoding encodeWebpFrames(int width, int height, std::span<const double> delaysMs,
                              const FrameSource& frames, const Progress& progress = {});

// The WebP of exportedFrames(animation, view, scale). A scale whose frames would be too large
// is refused (TooLarge) before any frame is composed.
WebpEncoding encodeAnimationWebp(const Document& animation, SingleLayerView view,
                                 const Progress& progress = {}, int scale = 1);

// Saves an encoding under webpExportName(chosenName), or says why it was not.
ExportResult writeWebpEncoding(const WebpEncoding& encoded, const std::string& chosenName);

// Writes encodeAnimationWebp under webpExportName(chosenName). An animation with no enabled
// frame writes nothing and says so; a cancel or a failed write leaves any old file as it was.
ExportResult exportAnimationWebp(const Document& animation, const std::string& chosenName,
                                 SingleLayerView view, const Progress& progress = {},
                                 int scale = 1);

} // namespace vork
