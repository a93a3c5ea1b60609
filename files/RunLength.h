// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The run-length coding of a layer's pixels in the document files.
//
// A run is 8 bytes: a 32-bit little-endian end index E, then the colour as B, G, R, A. Pixels
// are numbered row by row from the top (i = y x width + x); a run covers the pixels from the
// end of the previous run (0 for the first) up to E - 1, and the last run ends at width x
// height. Runs are maximal: neighbouring runs differ in at least one of the four bytes, so
// fully transparent pixels with different colour bytes are kept apart.
#include "files/ByteStream.h"
#include "gfx/Bitmap.h"

#include <cstddef>
#include <cstdint>
#include <span>

namespace vork {

inline constexpr size_t runBytes = 8;

// Appends the maximal runs of every pixel of `image` (nothing for a null image).
void appendRuns(ByteWriter& out, const Bitmap& image);

enum class RunCheck { Complete, Truncated, Damaged };

// Walks the runs of one layer of `pixelCount` pixels (at least 1) without decoding them:
// Complete when the end indices grow strictly and the last is exactly pixelCount, Truncated
// when the bytes end first, Damaged when an end index does not grow or passes pixelCount. On
// Complete the reader stands after the last run.
RunCheck skipRuns(ByteReader& in, int64_t pixelCount);

// Walks whole runs of `runs` (its length need not be a multiple of runBytes: a run cut at its end
// is left for the next piece) for a layer of pixelCount pixels, from the pixel `position` on,
// checking each as skipRuns does, and stops after the run that ends the layer. Each run's colour
// is stored into `pixels` when it is not null. Complete when the layer ended, Truncated when
// the piece ran out first (more runs may follow), Damaged on a run skipRuns refuses; `consumed`
// counts the bytes of the runs taken.
RunCheck walkRuns(std::span<const uint8_t> runs, int64_t& position, int64_t pixelCount,
                  uint32_t* pixels, size_t& consumed);

// Fills `image` from runs that skipRuns accepted for its pixel count. Runs that would leave
// the image are cut to it, so even unchecked runs never write outside it.
void decodeRuns(std::span<const uint8_t> runs, Bitmap& image);

} // namespace vork
