// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Image files in and out: decoding still and animated images from bytes in memory, and encoding
// PNG. The decoders and the encoder are the platform's image plugins (PNG, JPEG, GIF, BMP, TIFF
// and whatever else they read); the format is told from the content, never from a name.
// Decoded images are ARGB bitmaps holding each pixel as the decoder gives it (an opaque format
// reads with alpha 255).
#include "gfx/Bitmap.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace vork {

struct ImageSize {
    int width = 0, height = 0;
};

// What becomes of the colour bytes of a pixel of alpha 0: kept as the file stores them, or made
// transparent black.
enum class InvisiblePixels { AsDecoded, TransparentBlack };

// The images of one file held in memory, decoded one at a time in their order, so that a caller
// can check what the file announces before it decodes anything and keep only one image decoded
// at a time. The bytes are read where they are, not copied: they must outlive the reader.
// EXIF orientation is not applied.
class ImageFrames {
  public:
    // An image whose pixels would take more than maxImageBytes is not decoded (0: only the
    // image library's own limit).
    explicit ImageFrames(std::span<const uint8_t> bytes, int64_t maxImageBytes = 0,
                         InvisiblePixels invisible = InvisiblePixels::AsDecoded);
    ~ImageFrames();
    ImageFrames(const ImageFrames&) = delete;
    ImageFrames& operator=(const ImageFrames&) = delete;

    // Whether a decoder takes the bytes at all.
    bool readable() const;
    // The number of images the file holds, as far as the decoder tells without decoding them
    // (an animated GIF's are counted by skipping through its blocks); 0 when it cannot tell.
    int announcedCount() const;
    // The size the decoder announces before decoding (for a GIF, that of its first image's own
    // rectangle); nothing when it cannot say.
    std::optional<ImageSize> announcedSize() const;
    // Decodes the next image; a null bitmap past the last one or when it cannot be decoded.
    Bitmap next();

  private:
    struct Decoder;
    std::unique_ptr<Decoder> decoder_;
    InvisiblePixels invisible_;
};

// The first image of a file held in memory; null when nothing reads it.
Bitmap decodeImage(std::span<const uint8_t> bytes);
// A PNG file held in memory, read by the image library's own PNG decoder without asking the
// image plugins (none is loaded for it); null when the bytes are not a PNG file that decodes.
Bitmap decodePng(std::span<const uint8_t> bytes);

// Whether the image library can write PNG at all.
bool canEncodePng();
// The bitmap as PNG bytes, or nothing when it could not be encoded.
std::optional<std::vector<uint8_t>> encodePng(const Bitmap& image);
// The bitmap as a PNG file written in place; false when it could not be written.
bool writePngFile(const Bitmap& image, const std::string& path);

} // namespace vork
