// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Pixel work of the layer list and the palette: merging a layer into the one below it with both
// opacities, turning one exact colour into another across a layer, and sampling an image into
// the colour picker's grid.
#include "gfx/Bitmap.h"
#include "model/Palette.h"

#include <cstdint>
#include <vector>

namespace vork {

// Merges `upper` into `lower` as the layer list's merge down does: the alpha of every pixel of
// each is first multiplied by its opacity / 255 (truncated; nothing for 255), then `upper` is
// drawn over `lower`, source-over on unpremultiplied pixels. A pixel drawn over a transparent
// one keeps its bytes exactly. Both must have the same size; otherwise nothing changes and the
// result is false. `upper` is left scaled.
bool mergeLayerPixels(Bitmap& lower, int lowerOpacity, Bitmap& upper, int upperOpacity);

// Every pixel whose four bytes equal those of `from` becomes `to`; alpha counts, so a
// transparent `from` changes only pixels that are exactly (0, 0, 0, 0). Returns how many
// pixels changed.
int64_t replaceColour(Bitmap& image, Color from, Color to);

// Fills the 768 entries of the colour picker's grid, 16 rows of 48, from the image: entry
// 48r + c takes the pixel (c * (width / 48), r * (height / 16)), integer divisions, all four
// channels as they are. False, and the palette unchanged, for a null image or a palette of
// another size.
bool sampleBigPalette(const Bitmap& image, std::vector<PaletteEntry>& big);

} // namespace vork
