// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The row arithmetic of composition: layers drawn source-over onto a row of premultiplied
// pixels, and the finished row turned back into plain ARGB. Composition reads every pixel of
// every layer that goes into a composite, so these loops are what rebuilding the Painter's
// caches and the onion skin costs; they take the widest vector instructions the processor has.
#include <cstdint>

namespace vork {

// Source-over of n plain-ARGB pixels onto premultiplied ones, the source alpha first scaled
// by opacity / 255 and truncated (the alpha scaling of layer opacity); every channel is
// rounded exactly as round(c * a / 255) + round(d * (255 - a) / 255).
void composeRow(uint32_t* out, const uint32_t* in, int n, uint32_t opacity);

// Premultiplied pixels back to plain ARGB (opaque and transparent ones stay as they are).
void unpremultiplyRow(uint32_t* row, int n);
// Plain ARGB pixels premultiplied, each channel round(c * a / 255). Undoes unpremultiplyRow
// exactly for every premultiplied pixel (a colour at most its alpha), so a composite kept plain
// can have more layers drawn onto it with the bytes composing them all at once would give.
void premultiplyRow(uint32_t* row, int n);

// The ways composeRow can run, for the tests that hold them to the same results.
enum class RowInstructions { Portable, Sse2, Avx2 };
// composeRow with the given instructions; false (nothing done) when the processor or the build
// lacks them.
bool composeRowWith(RowInstructions instructions, uint32_t* out, const uint32_t* in, int n,
                    uint32_t opacity);

} // namespace vork
