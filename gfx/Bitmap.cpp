// SPDX-License-Identifier: GPL-3.0-or-later
#include "gfx/Bitmap.h"

#include <algorithm>
#include <atomic>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <new>

#if defined(__SSE2__)
#include <immintrin.h>
#endif

namespace vork {

namespace {

#if defined(__SSE2__)
__attribute__((target("avx2"))) void fillPixelsAvx2(uint32_t* pixels, size_t n, uint32_t value) {
    const __m256i eight = _mm256_set1_epi32(int(value));
    size_t i = 0;
    for (; i + 32 <= n; i += 32) {
        auto* at = reinterpret_cast<__m256i*>(pixels + i);
        _mm256_storeu_si256(at, eight);
        _mm256_storeu_si256(at + 1, eight);
        _mm256_storeu_si256(at + 2, eight);
        _mm256_storeu_si256(at + 3, eight);
    }
    for (; i < n; ++i)
        pixels[i] = value;
}
#endif

// Every one of n pixels set to the same value, with the widest stores the processor has.
void fillPixels(uint32_t* pixels, size_t n, uint32_t value) {
    size_t i = 0;
#if defined(__SSE2__)
    static const bool avx2 = __builtin_cpu_supports("avx2");
    if (avx2) {
        fillPixelsAvx2(pixels, n, value);
        return;
    }
    const __m128i four = _mm_set1_epi32(int(value));
    for (; i + 16 <= n; i += 16) {
        auto* at = reinterpret_cast<__m128i*>(pixels + i);
        _mm_storeu_si128(at, four);
        _mm_storeu_si128(at + 1, four);
        _mm_storeu_si128(at + 2, four);
        _mm_storeu_si128(at + 3, four);
    }
#endif
    for (; i < n; ++i)
        pixels[i] = value;
}

// A content key no bitmap has had before. Each thread takes keys from a block of its own, so
// that a write costs no atomic operation; 0 is never given out.
uint64_t freshKey() {
    constexpr uint64_t blockSize = uint64_t(1) << 16;
    static std::atomic<uint64_t> nextBlock{1};
    thread_local uint64_t next = 0, end = 0;
    if (next == end) {
        next = nextBlock.fetch_add(1, std::memory_order_relaxed) * blockSize;
        end = next + blockSize;
    }
    return next++;
}

} // namespace

// One block of memory: this header, then the pixels.
struct alignas(16) Bitmap::Pixels {
    std::atomic<int> references{1};
    int drawings = 0; // drawing contexts on the bitmap that holds these pixels
    uint64_t key = freshKey();

    uint8_t* memory() { return reinterpret_cast<uint8_t*>(this + 1); }

    // Null when a side is not positive, a row would not fit the sizes the drawing library
    // takes, or the memory cannot be had. The pixels are left as they come, or all zero when
    // `zeroed`: a large block then comes from the system already zero and is not touched, so
    // a bitmap not yet drawn on costs no memory.
    static Pixels* make(int width, int height, bool zeroed = false) {
        if (width <= 0 || height <= 0 || width > (INT_MAX - 31) / 32)
            return nullptr;
        const size_t bytes = sizeof(Pixels) + size_t(width) * 4 * size_t(height);
        void* block = zeroed ? std::calloc(1, bytes) : std::malloc(bytes);
        return block ? new (block) Pixels : nullptr;
    }
    static void destroy(Pixels* p) {
        p->~Pixels();
        std::free(p);
    }
};

Bitmap::Bitmap(int width, int height, PixelFormat format) {
    const bool black = format == PixelFormat::Rgb;
    pixels_ = Pixels::make(width, height, !black);
    if (!pixels_)
        return;
    data_ = pixels_->memory();
    width_ = width;
    height_ = height;
    format_ = format;
    if (black)
        fillPixels(reinterpret_cast<uint32_t*>(data_), size_t(width) * size_t(height), 0xFF000000u);
}

Bitmap::Bitmap(const Bitmap& other) {
    shareFrom(other);
}

Bitmap::Bitmap(Bitmap&& other) noexcept
    : pixels_(other.pixels_), data_(other.data_), width_(other.width_), height_(other.height_),
      format_(other.format_) {
    other.pixels_ = nullptr;
    other.data_ = nullptr;
    other.width_ = other.height_ = 0;
    other.format_ = PixelFormat::Argb;
}

Bitmap& Bitmap::operator=(const Bitmap& other) {
    if (this != &other)
        *this = Bitmap(other);
    return *this;
}

Bitmap& Bitmap::operator=(Bitmap&& other) noexcept {
    if (this != &other) {
        release();
        std::swap(pixels_, other.pixels_);
        std::swap(data_, other.data_);
        std::swap(width_, other.width_);
        std::swap(height_, other.height_);
        std::swap(format_, other.format_);
    }
    return *this;
}

Bitmap::~Bitmap() {
    release();
}

void Bitmap::release() {
    if (pixels_ && pixels_->references.fetch_sub(1, std::memory_order_acq_rel) == 1)
        Pixels::destroy(pixels_);
    pixels_ = nullptr;
    data_ = nullptr;
    width_ = height_ = 0;
    format_ = PixelFormat::Argb;
}

void Bitmap::shareFrom(const Bitmap& other) {
    if (!other.pixels_)
        return;
    if (other.pixels_->drawings > 0) {
        // The drawing context goes on writing into those pixels: this copy keeps what they
        // hold now.
        *this = other.clone();
        return;
    }
    other.pixels_->references.fetch_add(1, std::memory_order_relaxed);
    pixels_ = other.pixels_;
    data_ = other.data_;
    width_ = other.width_;
    height_ = other.height_;
    format_ = other.format_;
}

uint8_t* Bitmap::bytes() {
    if (!pixels_)
        return nullptr;
    if (pixels_->references.load(std::memory_order_acquire) != 1) {
        // Shared with another bitmap: this one gets pixels of its own before they change.
        Pixels* own = Pixels::make(width_, height_);
        if (!own)
            throw std::bad_alloc();
        std::memcpy(own->memory(), data_, size_t(stride()) * size_t(height_));
        if (pixels_->references.fetch_sub(1, std::memory_order_acq_rel) == 1)
            Pixels::destroy(pixels_); // the other holders let go meanwhile
        pixels_ = own;
        data_ = own->memory();
    }
    pixels_->key = freshKey();
    return data_;
}

uint64_t Bitmap::contentKey() const {
    return pixels_ ? pixels_->key : 0;
}

void Bitmap::beginDrawing() {
    if (bytes())
        ++pixels_->drawings;
}

void Bitmap::endDrawing() {
    if (pixels_)
        --pixels_->drawings;
}

Color Bitmap::pixel(int x, int y) const {
    if (!contains(x, y))
        return colors::transparent;
    return Color(row(y)[x]);
}

void Bitmap::setPixel(int x, int y, Color c) {
    if (!contains(x, y))
        return;
    if (format() == PixelFormat::Rgb)
        c = c.withAlpha(255);
    row(y)[x] = c.argb;
}

void Bitmap::fill(Color c) {
    if (isNull())
        return;
    if (format() == PixelFormat::Rgb)
        c = c.withAlpha(255);
    fillPixels(reinterpret_cast<uint32_t*>(bytes()), size_t(width_) * size_t(height_), c.argb);
}

Bitmap Bitmap::copy(Rect r) const {
    int x0 = std::max(r.x, 0), y0 = std::max(r.y, 0);
    int x1 = std::min(r.x + r.w, width()), y1 = std::min(r.y + r.h, height());
    Bitmap out;
    if (x1 <= x0 || y1 <= y0)
        return out;
    out = Bitmap(x1 - x0, y1 - y0, format());
    for (int y = y0; y < y1; ++y)
        std::memcpy(out.row(y - y0), row(y) + x0, size_t(x1 - x0) * 4);
    return out;
}

} // namespace vork
