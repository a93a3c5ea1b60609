// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Whether an image file runs as far as its own structure says. Some decoders take a cut-off
// file for a whole one and fill what is missing with black or grey; a file found short here is
// refused instead. Only what the formats state is checked: a BMP's pixel rows against the size
// its header gives, a JPEG's segments up to the end-of-image marker, a PNG's chunks up to its
// end chunk. Other formats, and files too damaged to tell, are left to their decoders.
#include <cstdint>
#include <span>

namespace vork {

// True when the bytes are a BMP, JPEG or PNG file that ends before its structure does.
bool imageCutShort(std::span<const uint8_t> bytes);

} // namespace vork
