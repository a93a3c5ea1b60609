// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Exact palettes for GIF frames: up to 255 colours, each kept as it is, and one entry after
// them for transparency.
#include "files/GifFramePlan.h"

#include <cstddef>
#include <cstdint>
#include <unordered_set>
#include <vector>

namespace vork {

inline constexpr size_t maxExactGifColours = 255;

struct GifPalette {
    std::vector<uint32_t> colours; // 0xRRGGBB, the transparent entry last
    int transparentIndex = -1;
};

// Gathers the distinct opaque colours of frames until there are more than an exact palette holds.
class ColourCollector {
  public:
    // Every opaque pixel of the frame.
    void addAll(const GifFramePixels& frame);
    // The pixels the frame stores.
    void addStored(const PlannedGifFrame& frame);
    bool fits() const { return colours.size() <= maxExactGifColours; }
    // The colours gathered, sorted, then the transparent entry. Only while they fit.
    GifPalette palette() const;

  private:
    void add(uint32_t colour);
    std::unordered_set<uint32_t> colours;
    uint32_t last = gifTransparent;
};

// The frame's stored rectangle as indices, row by row: each stored pixel the entry of its colour,
// every other pixel the transparent entry. The palette holds every stored colour.
std::vector<uint8_t> indexExactly(const PlannedGifFrame& frame, const GifPalette& palette);

} // namespace vork
