// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The block layout of a GIF file, walked without decoding any pixel: the logical screen every
// frame is composed onto, the number of images, and whether the file runs complete to its
// trailer. Qt's decoder reports neither the screen (only the first image's rectangle) nor a
// truncation (it counts and decodes a cut-off last image as if it were whole), so the import
// asks this first.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace vork {

struct GifLayout {
    int screenWidth = 0, screenHeight = 0;
    int imageCount = 0;
    // Each whole image's delay in hundredths of a second, as its graphic control extension
    // gives it (0 when it has none).
    std::vector<int> delays;
    bool complete = false; // every block is whole and the trailer was reached
};

// Nothing when the bytes do not start with a GIF signature; otherwise the layout as far as the
// blocks could be followed. Bytes after the trailer are ignored.
std::optional<GifLayout> readGifLayout(std::span<const uint8_t> bytes);

// The same, read from a file through a small buffer rather than held whole.
struct GifFileLayout {
    std::optional<GifLayout> layout; // nothing when the file is not a GIF
    std::string unreadable;          // why the file could not be read at all; empty otherwise
};
GifFileLayout readGifFileLayout(const std::string& path);

} // namespace vork
