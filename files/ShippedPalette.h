// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The colours of the small palette and the replacement pairs the program ships in its default
// palette file, built in, so that a document made without any palette file still gets them.
#include "model/Palette.h"

namespace vork {

// Fills the small palette (its fixed entries included) and the replacement palette with the
// shipped colours.
void fillShippedSmallPalette(Palettes& palettes);

} // namespace vork
