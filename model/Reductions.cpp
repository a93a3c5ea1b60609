// SPDX-License-Identifier: GPL-3.0-or-later
// The levels are computed in one pass over the image's rows, two at a time: each pair gives a
// row of 2 x 2 channel sums (level 1), each two of those a row of level 2 sums, and so on up
// to the coarsest level asked for; a finished row of sums is divided into the level's pixels
// when that level is kept. The sums stay exact (the largest, 255 * 4^7, fits 32 bits), so
// every level is rounded only once.
#include "model/Reductions.h"
#include "model/PremultiplyLanes.h"

#include <algorithm>
#include <cmath>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace vork {

namespace {

constexpr int lanes = 4; // B, G, R, A, in memory order

// The four premultiplied channels of a plain ARGB pixel, added to out[0..3].
inline void addPremultiplied(uint32_t p, uint32_t* out) {
    const uint32_t a = p >> 24;
    if (a == 0)
        return;
    out[0] += premultipliedChannel(p & 255, a);
    out[1] += premultipliedChannel((p >> 8) & 255, a);
    out[2] += premultipliedChannel((p >> 16) & 255, a);
    out[3] += a;
}

// Level 1 sums of n image columns from rows a and b (b null below the last row): out gets
// (n + 1) / 2 pixels of four 32-bit channel sums.
#if defined(__SSE2__)
// Four plain pixels premultiplied, in 16-bit lanes (pixels 0, 1 and 2, 3); opaque ones, the
// most common, need no multiplication.
inline void premultiplyFour(__m128i v, __m128i& low, __m128i& high) {
    const __m128i zero = _mm_setzero_si128(), alphaMask = _mm_set1_epi32(int(0xFF000000u));
    low = _mm_unpacklo_epi8(v, zero);
    high = _mm_unpackhi_epi8(v, zero);
    if (_mm_movemask_epi8(_mm_cmpeq_epi32(_mm_and_si128(v, alphaMask), alphaMask)) == 0xFFFF)
        return;
    low = premultiplyTwo(low);
    high = premultiplyTwo(high);
}
#endif

void sumPairs(const uint32_t* a, const uint32_t* b, int n, uint32_t* out) {
    int x = 0;
#if defined(__SSE2__)
    const __m128i zero = _mm_setzero_si128();
    for (; x + 4 <= n; x += 4) {
        __m128i lo, hi;
        premultiplyFour(_mm_loadu_si128(reinterpret_cast<const __m128i*>(a + x)), lo, hi);
        if (b) {
            __m128i loB, hiB;
            premultiplyFour(_mm_loadu_si128(reinterpret_cast<const __m128i*>(b + x)), loB, hiB);
            lo = _mm_add_epi16(lo, loB);
            hi = _mm_add_epi16(hi, hiB);
        }
        // Columns 0 + 1 and 2 + 3: at most 4 * 255, still 16 bits.
        const __m128i sums = _mm_add_epi16(_mm_unpacklo_epi64(lo, hi), _mm_unpackhi_epi64(lo, hi));
        uint32_t* o = out + (x / 2) * lanes;
        _mm_storeu_si128(reinterpret_cast<__m128i*>(o), _mm_unpacklo_epi16(sums, zero));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(o + 4), _mm_unpackhi_epi16(sums, zero));
    }
#endif
    for (; x < n; x += 2) {
        uint32_t* o = out + (x / 2) * lanes;
        std::fill(o, o + lanes, 0u);
        addPremultiplied(a[x], o);
        if (x + 1 < n)
            addPremultiplied(a[x + 1], o);
        if (b) {
            addPremultiplied(b[x], o);
            if (x + 1 < n)
                addPremultiplied(b[x + 1], o);
        }
    }
}

// Adds the pairs of a row of sums (n pixels) into the next level's row ((n + 1) / 2 pixels).
void addPairs(const uint32_t* in, int n, uint32_t* out) {
    int i = 0;
#if defined(__SSE2__)
    for (; i + 2 <= n; i += 2) {
        __m128i* o = reinterpret_cast<__m128i*>(out + (i / 2) * lanes);
        const __m128i* p = reinterpret_cast<const __m128i*>(in + i * lanes);
        _mm_storeu_si128(o,
                         _mm_add_epi32(_mm_loadu_si128(o),
                                       _mm_add_epi32(_mm_loadu_si128(p), _mm_loadu_si128(p + 1))));
    }
#endif
    for (; i < n; i += 2) {
        uint32_t* o = out + (i / 2) * lanes;
        const uint32_t* p = in + i * lanes;
        for (int c = 0; c < lanes; ++c)
            o[c] += p[c];
        if (i + 1 < n)
            for (int c = 0; c < lanes; ++c)
                o[c] += p[lanes + c];
    }
}

// One level's row being summed: the sums, how many image rows went in so far, and how many
// rows of the level below.
struct SumRow {
    std::vector<uint32_t> sums;
    int imageRows = 0;
    int parts = 0;
};

class LevelPass {
  public:
    LevelPass(const Bitmap& image, std::array<Bitmap, Reductions::maxLevel + 1>& levels,
              unsigned written, int top)
        : image_(image), levels_(levels), written_(written), top_(top) {}

    // The aligned columns x0..x1 of rows y0..y1 (x0 and y0 on block edges of the coarsest
    // level, x1 and y1 on them or at the image's edge).
    void run(int x0, int x1, int y0, int y1) {
        x0_ = x0;
        for (int k = 1; k <= top_; ++k) {
            rows_[size_t(k)].sums.assign(size_t(Reductions::levelExtent(x1 - x0, k)) * lanes, 0);
            rows_[size_t(k)].imageRows = rows_[size_t(k)].parts = 0;
        }
        for (int y = y0; y < y1; y += 2) {
            const uint32_t* b = y + 1 < y1 ? image_.row(y + 1) : nullptr;
            SumRow& first = rows_[1];
            sumPairs(image_.row(y) + x0, b ? b + x0 : nullptr, x1 - x0, first.sums.data());
            first.imageRows = b ? 2 : 1;
            finish(1, y >> 1, x1 - x0, y + 2 >= y1);
        }
    }

  private:
    // The row `row` of level k is complete: divided into the level when it is kept, added into
    // the next level's row, which is finished in turn after two rows (or at the end).
    void finish(int k, int row, int columns, bool last) {
        SumRow& r = rows_[size_t(k)];
        const int width = Reductions::levelExtent(columns, k);
        if (written_ & (1u << k))
            store(k, row, width, r);
        if (k < top_) {
            SumRow& up = rows_[size_t(k + 1)];
            addPairs(r.sums.data(), width, up.sums.data());
            up.imageRows += r.imageRows;
            ++up.parts;
            if (up.parts == 2 || last)
                finish(k + 1, row >> 1, columns, last);
        }
        if (k > 1) // level 1's sums are written afresh for every pair of rows
            std::fill(r.sums.begin(), r.sums.end(), 0u);
        r.imageRows = 0;
        r.parts = 0;
    }

    void store(int k, int row, int width, const SumRow& r) {
        Bitmap& level = levels_[size_t(k)];
        if (level.isNull())
            return;
        uint32_t* out = level.row(row);
        const int block = 1 << k, firstColumn = x0_ >> k, imageWidth = image_.width();
        const uint32_t fullCount = uint32_t(block) * uint32_t(block);
        int i = 0;
#if defined(__SSE2__)
        // Whole blocks (all but the ones the image's edges cut) divide by a shift, four pixels
        // at a time.
        if (r.imageRows == block) {
            const int whole = std::min(width, imageWidth / block - firstColumn);
            const __m128i half = _mm_set1_epi32(int(fullCount / 2));
            const __m128i shift = _mm_cvtsi32_si128(2 * k);
            auto pixel = [&](int at) {
                const __m128i sum = _mm_loadu_si128(
                    reinterpret_cast<const __m128i*>(r.sums.data() + size_t(at) * lanes));
                return _mm_srl_epi32(_mm_add_epi32(sum, half), shift);
            };
            for (; i + 4 <= whole; i += 4) {
                const __m128i low = _mm_packs_epi32(pixel(i), pixel(i + 1));
                const __m128i high = _mm_packs_epi32(pixel(i + 2), pixel(i + 3));
                _mm_storeu_si128(reinterpret_cast<__m128i*>(out + firstColumn + i),
                                 _mm_packus_epi16(low, high));
            }
        }
#endif
        for (; i < width; ++i) {
            const int column = firstColumn + i;
            const int columns = std::min(block, imageWidth - column * block);
            const uint32_t n = uint32_t(columns) * uint32_t(r.imageRows);
            const uint32_t* s = r.sums.data() + size_t(i) * lanes;
            uint32_t px = 0;
            if (n == fullCount) {
                const int shift = 2 * k;
                const uint32_t half = fullCount / 2;
                for (int c = lanes - 1; c >= 0; --c)
                    px = (px << 8) | ((s[c] + half) >> shift);
            } else {
                for (int c = lanes - 1; c >= 0; --c)
                    px = (px << 8) | ((s[c] + n / 2) / n);
            }
            out[column] = px;
        }
    }

    const Bitmap& image_;
    std::array<Bitmap, Reductions::maxLevel + 1>& levels_;
    unsigned written_;
    int top_;
    int x0_ = 0;
    std::array<SumRow, Reductions::maxLevel + 1> rows_;
};

int highestLevel(unsigned levels) {
    int k = 0;
    for (int i = 1; i <= Reductions::maxLevel; ++i)
        if (levels & (1u << i))
            k = i;
    return k;
}

} // namespace

int Reductions::levelFor(double ratio) {
    if (!(ratio >= 2))
        return 0;
    return std::min(maxLevel, int(std::floor(std::log2(ratio))));
}

void Reductions::compute(const Bitmap& image, Rect r, unsigned levels) {
    const int top = highestLevel(levels);
    r = intersect(r, {0, 0, image.width(), image.height()});
    if (top == 0 || r.empty())
        return;
    const int block = 1 << top;
    const int x0 = r.x / block * block, y0 = r.y / block * block;
    const int x1 = std::min(image.width(), (r.x + r.w + block - 1) / block * block);
    const int y1 = std::min(image.height(), (r.y + r.h + block - 1) / block * block);
    LevelPass(image, levels_, levels, top).run(x0, x1, y0, y1);
}

void Reductions::bringUpToDate(const Bitmap& image, const ChangeTracker& changes) {
    if (image.width() != width_ || image.height() != height_) {
        levels_ = {};
        made_ = 0;
        width_ = image.width();
        height_ = image.height();
    }
    if (made_ != 0)
        compute(image, changes.changedSince(image, revision_), made_);
    revision_ = changes.revision(image);
}

const Bitmap& Reductions::level(const Bitmap& image, const ChangeTracker& changes, int k) {
    static const Bitmap none;
    if (image.isNull() || k < 1 || k > maxLevel)
        return none;
    bringUpToDate(image, changes);
    if (!(made_ & (1u << k))) {
        levels_[size_t(k)] =
            Bitmap(levelExtent(width_, k), levelExtent(height_, k), PixelFormat::PremultipliedArgb);
        if (levels_[size_t(k)].isNull())
            return none; // no memory for it: nothing is drawn rather than a wrong picture
        compute(image, {0, 0, width_, height_}, 1u << k);
        made_ |= 1u << k;
    }
    return levels_[size_t(k)];
}

} // namespace vork
