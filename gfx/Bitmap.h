// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A raster of 32-bit pixels, ARGB (documents, layers, previews) or RGB (panel backgrounds).
//
// In memory every pixel is 4 bytes B, G, R, A, rows from the top, stride 4 x width, so that
// pixel (x, y) is at byte 4 * (y * width + x) of bytes(). A new ARGB bitmap is all zero
// (transparent black); a new RGB bitmap is black with the alpha byte 255. A premultiplied ARGB
// bitmap holds red, green and blue already multiplied by alpha / 255: the form reductions are
// averaged and drawn in.
//
// The pixels live in the bitmap's own memory. Copies are cheap: they share the pixels until one
// of them asks for writable access, which then copies them once (a copy made while a drawing
// context is on the bitmap gets its own pixels at once), so a bitmap can be passed, returned
// and kept by value, and a copy handed to another thread stays as it was.
#include "gfx/Color.h"
#include "gfx/Geometry.h"

#include <cstddef>
#include <cstdint>

namespace vork {

enum class PixelFormat { Argb, Rgb, PremultipliedArgb };

class Bitmap {
  public:
    Bitmap() = default; // a null bitmap: 0 x 0
    // A null bitmap when a side is not positive or the memory cannot be had.
    Bitmap(int width, int height, PixelFormat format = PixelFormat::Argb);
    Bitmap(const Bitmap& other);
    Bitmap(Bitmap&& other) noexcept;
    Bitmap& operator=(const Bitmap& other);
    Bitmap& operator=(Bitmap&& other) noexcept;
    ~Bitmap();

    int width() const { return width_; }
    int height() const { return height_; }
    bool isNull() const { return pixels_ == nullptr; }
    PixelFormat format() const { return format_; }
    bool sameSize(const Bitmap& other) const {
        return width() == other.width() && height() == other.height();
    }

    // The pixel memory, B, G, R, A bytes; null for a null bitmap.
    uint8_t* bytes();
    const uint8_t* bytes() const { return data_; }
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
    // bitmap, or by assigning another bitmap. Reading through a const bitmap keeps it. Copies
    // that share their pixels share it; 0 for a null bitmap.
    uint64_t contentKey() const;

    // A deep copy of part of the bitmap (clamped to it).
    Bitmap copy(Rect r) const;
    Bitmap clone() const { return copy({0, 0, width(), height()}); }

  private:
    friend class Graphics; // marks the bitmap as drawn on while it lives

    struct Pixels; // the shared, reference-counted pixel memory
    void release();
    void shareFrom(const Bitmap& other);
    void beginDrawing();
    void endDrawing();

    Pixels* pixels_ = nullptr;
    uint8_t* data_ = nullptr; // the memory of pixels_, for reads without a call
    int width_ = 0, height_ = 0;
    PixelFormat format_ = PixelFormat::Argb;
};

} // namespace vork
