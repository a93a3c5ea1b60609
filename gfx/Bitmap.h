#pragma once
// A raster of 32-bit pixels, ARGB (documents, layers, previews) or RGB (panel backgrounds).
//
// In memory every pixel is 4 bytes B, G, R, A, rows from the top, stride 4 x width, so that
// pixel (x, y) is at byte 4 * (y * width + x) of bytes(). A new ARGB bitmap is all zero
// (transparent black); a new RGB bitmap is black with the alpha byte 255. A premultiplied ARGB
// bitmap holds red, green and blue already multiplied by alpha / 255: the form reductions are
// averaged and drawn in.
#include "gfx/Color.h"
#include "gfx/Geometry.h"

#include <QImage>
#include <cstdint>
#include <string>

namespace vork {

enum class PixelFormat { Argb, Rgb, PremultipliedArgb };

class Bitmap {
  public:
    Bitmap() = default; // a null bitmap: 0 x 0
    Bitmap(int width, int height, PixelFormat format = PixelFormat::Argb);

    int width() const { return image_.width(); }
    int height() const { return image_.height(); }
    bool isNull() const { return image_.isNull(); }
    PixelFormat format() const;
    bool sameSize(const Bitmap& other) const {
        return width() == other.width() && height() == other.height();
    }

    // Locked pixel memory, B, G, R, A bytes; null for a null bitmap.
    uint8_t* bytes();
    const uint8_t* bytes() const;
    int stride() const { return 4 * width(); }
    uint32_t* row(int y) { return reinterpret_cast<uint32_t*>(bytes() + size_t(y) * stride()); }
    const uint32_t* row(int y) const {
        return reinterpret_cast<const uint32_t*>(bytes() + size_t(y) * stride());
    }

    // Bounds-checked single-pixel access; outside the bitmap get gives transparent, set does
    // nothing.
    Color pixel(int x, int y) const;
    void setPixel(int x, int y, Color c);
    bool contains(int x, int y) const { return x >= 0 && y >= 0 && x < width() && y < height(); }

    // Replaces every pixel, alpha included.
    void fill(Color c);

    // A number that changes whenever the pixels may have been written: by any access to the
    // writable pixel memory (bytes(), row(), setPixel, fill), by a drawing context on the
    // bitmap, or by assigning another bitmap. Reading through a const bitmap keeps it.
    uint64_t contentKey() const { return uint64_t(image_.cacheKey()); }

    // Loads PNG, JPEG, GIF, BMP or TIFF as ARGB; a failed load gives a null bitmap.
    static Bitmap load(const std::string& path);
    // The same from the bytes of a file already read.
    static Bitmap decode(const uint8_t* bytes, size_t size);
    // Number of frames of an animated file (1 for a still image, 0 when unreadable) and one of
    // them.
    static int frameCount(const std::string& path);
    static Bitmap loadFrame(const std::string& path, int index);
    // Writes a PNG file; false when it could not be written.
    bool savePng(const std::string& path) const;

    // A deep copy of part of the bitmap (clamped to it).
    Bitmap copy(Rect r) const;
    Bitmap clone() const { return copy({0, 0, width(), height()}); }

    // For gfx only and for the Qt seam: the underlying image.
    QImage& qimage() { return image_; }
    const QImage& qimage() const { return image_; }
    static Bitmap fromQImage(const QImage& image); // converted to ARGB

  private:
    QImage image_;
};

} // namespace vork
