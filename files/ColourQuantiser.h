// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Fewer colours for an image that has too many for a palette, chosen by libimagequant and
// mapped without dithering, so flat areas stay flat.
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace vork {

struct QuantisedImage {
    std::vector<uint32_t> palette; // 0xRRGGBB, at most the colours asked for
    // One per pixel: an entry of the palette, or palette.size() for a pixel that takes no colour.
    std::vector<uint8_t> indices;
};

// `pixels` holds width x height opaque colours 0xFFRRGGBB, or 0 for a pixel that takes no
// colour. Nothing when the library fails (out of memory) or maxColours is outside 1..255.
std::optional<QuantisedImage> quantiseColours(std::span<const uint32_t> pixels, int width,
                                              int height, int maxColours);

} // namespace vork
