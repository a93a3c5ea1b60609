// SPDX-License-Identifier: GPL-3.0-or-later
// Blending is premultiplied, two channels a multiply, without a division per pixel and layer.
// The vector forms test whole runs of pixels first: a run that is all transparent leaves the
// row alone, one that is all opaque (at full opacity) is copied, and only the rest is blended.
// All forms give the same bytes.
#include "model/ComposeRow.h"

#include <algorithm>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#if defined(__x86_64__) && defined(__GNUC__)
#include <immintrin.h>
#define VORK_HAVE_AVX2_PATH 1
#endif

namespace vork {

namespace {

// Each of the four bytes of p times f / 255, rounded exactly: for x = b * f + 128,
// (x + (x >> 8)) >> 8 equals round(b * f / 255) over all bytes b and f.
inline uint32_t multiplyBytes(uint32_t p, uint32_t f) {
    uint32_t rb = (p & 0x00FF00FFu) * f + 0x00800080u;
    uint32_t ag = ((p >> 8) & 0x00FF00FFu) * f + 0x00800080u;
    rb = ((rb + ((rb >> 8) & 0x00FF00FFu)) >> 8) & 0x00FF00FFu;
    ag = (ag + ((ag >> 8) & 0x00FF00FFu)) & 0xFF00FF00u;
    return rb | ag;
}

// Source-over of one plain-ARGB pixel, its alpha already scaled, onto a premultiplied one.
inline uint32_t blendPixel(uint32_t out, uint32_t s, uint32_t a) {
    if (a == 0)
        return out;
    if (a == 255)
        return s;
    return multiplyBytes(s | 0xFF000000u, a) + multiplyBytes(out, 255 - a);
}

void composePortable(uint32_t* out, const uint32_t* in, int n, uint32_t opacity) {
    for (int x = 0; x < n; ++x) {
        const uint32_t s = in[x];
        uint32_t a = s >> 24;
        if (opacity != 255)
            a = a * opacity / 255;
        out[x] = blendPixel(out[x], s, a);
    }
}

#if defined(__SSE2__)
inline __m128i divideBy255Rounded(__m128i products) {
    __m128i x = _mm_add_epi16(products, _mm_set1_epi16(128));
    return _mm_srli_epi16(_mm_add_epi16(x, _mm_srli_epi16(x, 8)), 8);
}

// Four pixels in 16-bit lanes: s premultiplied by alpha (each pixel's alpha in all four of its
// lanes), plus out times 255 - alpha unless out is all zero.
inline __m128i blendFour(__m128i out, __m128i s, __m128i alpha) {
    const __m128i zero = _mm_setzero_si128();
    const __m128i pairs = _mm_or_si128(alpha, _mm_slli_epi32(alpha, 16));
    const __m128i aLow = _mm_unpacklo_epi32(pairs, pairs), aHigh = _mm_unpackhi_epi32(pairs, pairs);
    const __m128i opaque = _mm_or_si128(s, _mm_set1_epi32(int(0xFF000000u)));
    __m128i low = divideBy255Rounded(_mm_mullo_epi16(_mm_unpacklo_epi8(opaque, zero), aLow));
    __m128i high = divideBy255Rounded(_mm_mullo_epi16(_mm_unpackhi_epi8(opaque, zero), aHigh));
    if (_mm_movemask_epi8(_mm_cmpeq_epi32(out, zero)) != 0xFFFF) {
        const __m128i full = _mm_set1_epi16(255);
        low = _mm_add_epi16(low, divideBy255Rounded(_mm_mullo_epi16(_mm_unpacklo_epi8(out, zero),
                                                                    _mm_sub_epi16(full, aLow))));
        high = _mm_add_epi16(high, divideBy255Rounded(_mm_mullo_epi16(_mm_unpackhi_epi8(out, zero),
                                                                      _mm_sub_epi16(full, aHigh))));
    }
    return _mm_packus_epi16(low, high);
}

inline void composeFour(uint32_t* out, const uint32_t* in, uint32_t opacity) {
    const __m128i alphaMask = _mm_set1_epi32(int(0xFF000000u));
    const __m128i s = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in));
    __m128i alpha = _mm_srli_epi32(s, 24);
    if (opacity != 255) {
        // floor(t / 255) == (t + 1 + (t >> 8)) >> 8 for t = a * opacity <= 65025.
        __m128i t = _mm_mullo_epi16(alpha, _mm_set1_epi32(int(opacity)));
        t = _mm_add_epi32(t, _mm_add_epi32(_mm_set1_epi32(1), _mm_srli_epi32(t, 8)));
        alpha = _mm_srli_epi32(t, 8);
    }
    if (_mm_movemask_epi8(_mm_cmpeq_epi32(alpha, _mm_setzero_si128())) == 0xFFFF)
        return;
    if (opacity == 255 &&
        _mm_movemask_epi8(_mm_cmpeq_epi32(_mm_and_si128(s, alphaMask), alphaMask)) == 0xFFFF) {
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out), s);
        return;
    }
    const __m128i o = _mm_loadu_si128(reinterpret_cast<const __m128i*>(out));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out), blendFour(o, s, alpha));
}

void composeSse2(uint32_t* out, const uint32_t* in, int n, uint32_t opacity) {
    int x = 0;
    const __m128i alphaMask = _mm_set1_epi32(int(0xFF000000u)), zero = _mm_setzero_si128();
    for (; x + 16 <= n; x += 16) {
        // Composition reads several layers in turn: asking for the pixels ahead keeps the
        // loads from waiting on memory.
        _mm_prefetch(reinterpret_cast<const char*>(in + x + 512), _MM_HINT_T0);
        const __m128i* v = reinterpret_cast<const __m128i*>(in + x);
        const __m128i v0 = _mm_loadu_si128(v), v1 = _mm_loadu_si128(v + 1);
        const __m128i v2 = _mm_loadu_si128(v + 2), v3 = _mm_loadu_si128(v + 3);
        const __m128i any = _mm_or_si128(_mm_or_si128(v0, v1), _mm_or_si128(v2, v3));
        if (_mm_movemask_epi8(_mm_cmpeq_epi32(_mm_and_si128(any, alphaMask), zero)) == 0xFFFF)
            continue;
        const __m128i all = _mm_and_si128(_mm_and_si128(v0, v1), _mm_and_si128(v2, v3));
        if (opacity == 255 && _mm_movemask_epi8(_mm_cmpeq_epi32(_mm_and_si128(all, alphaMask),
                                                                alphaMask)) == 0xFFFF) {
            __m128i* o = reinterpret_cast<__m128i*>(out + x);
            _mm_storeu_si128(o, v0);
            _mm_storeu_si128(o + 1, v1);
            _mm_storeu_si128(o + 2, v2);
            _mm_storeu_si128(o + 3, v3);
            continue;
        }
        for (int k = 0; k < 16; k += 4)
            composeFour(out + x + k, in + x + k, opacity);
    }
    for (; x + 4 <= n; x += 4)
        composeFour(out + x, in + x, opacity);
    composePortable(out + x, in + x, n - x, opacity);
}
#endif

#if defined(VORK_HAVE_AVX2_PATH)
// The SSE2 form eight pixels at a time. The unpacks and packs work within each half of the
// register, so each half is the SSE2 computation of its four pixels.
__attribute__((target("avx2"))) inline __m256i divideBy255Rounded8(__m256i products) {
    __m256i x = _mm256_add_epi16(products, _mm256_set1_epi16(128));
    return _mm256_srli_epi16(_mm256_add_epi16(x, _mm256_srli_epi16(x, 8)), 8);
}

__attribute__((target("avx2"))) inline __m256i blendEight(__m256i out, __m256i s, __m256i alpha) {
    const __m256i zero = _mm256_setzero_si256();
    const __m256i pairs = _mm256_or_si256(alpha, _mm256_slli_epi32(alpha, 16));
    const __m256i aLow = _mm256_unpacklo_epi32(pairs, pairs);
    const __m256i aHigh = _mm256_unpackhi_epi32(pairs, pairs);
    const __m256i opaque = _mm256_or_si256(s, _mm256_set1_epi32(int(0xFF000000u)));
    __m256i low = divideBy255Rounded8(_mm256_mullo_epi16(_mm256_unpacklo_epi8(opaque, zero), aLow));
    __m256i high =
        divideBy255Rounded8(_mm256_mullo_epi16(_mm256_unpackhi_epi8(opaque, zero), aHigh));
    if (_mm256_movemask_epi8(_mm256_cmpeq_epi32(out, zero)) != -1) {
        const __m256i full = _mm256_set1_epi16(255);
        low = _mm256_add_epi16(
            low, divideBy255Rounded8(_mm256_mullo_epi16(_mm256_unpacklo_epi8(out, zero),
                                                        _mm256_sub_epi16(full, aLow))));
        high = _mm256_add_epi16(
            high, divideBy255Rounded8(_mm256_mullo_epi16(_mm256_unpackhi_epi8(out, zero),
                                                         _mm256_sub_epi16(full, aHigh))));
    }
    return _mm256_packus_epi16(low, high);
}

__attribute__((target("avx2"))) inline void composeEight(uint32_t* out, const uint32_t* in,
                                                         uint32_t opacity) {
    const __m256i alphaMask = _mm256_set1_epi32(int(0xFF000000u));
    const __m256i s = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(in));
    __m256i alpha = _mm256_srli_epi32(s, 24);
    if (opacity != 255) {
        __m256i t = _mm256_mullo_epi16(alpha, _mm256_set1_epi32(int(opacity)));
        t = _mm256_add_epi32(t, _mm256_add_epi32(_mm256_set1_epi32(1), _mm256_srli_epi32(t, 8)));
        alpha = _mm256_srli_epi32(t, 8);
    }
    if (_mm256_movemask_epi8(_mm256_cmpeq_epi32(alpha, _mm256_setzero_si256())) == -1)
        return;
    if (opacity == 255 &&
        _mm256_movemask_epi8(_mm256_cmpeq_epi32(_mm256_and_si256(s, alphaMask), alphaMask)) == -1) {
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(out), s);
        return;
    }
    const __m256i o = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(out));
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(out), blendEight(o, s, alpha));
}

__attribute__((target("avx2"))) void composeAvx2(uint32_t* out, const uint32_t* in, int n,
                                                 uint32_t opacity) {
    int x = 0;
    const __m256i alphaMask = _mm256_set1_epi32(int(0xFF000000u));
    for (; x + 32 <= n; x += 32) {
        _mm_prefetch(reinterpret_cast<const char*>(in + x + 512), _MM_HINT_T0);
        _mm_prefetch(reinterpret_cast<const char*>(in + x + 528), _MM_HINT_T0);
        const __m256i* v = reinterpret_cast<const __m256i*>(in + x);
        const __m256i v0 = _mm256_loadu_si256(v), v1 = _mm256_loadu_si256(v + 1);
        const __m256i v2 = _mm256_loadu_si256(v + 2), v3 = _mm256_loadu_si256(v + 3);
        const __m256i any = _mm256_or_si256(_mm256_or_si256(v0, v1), _mm256_or_si256(v2, v3));
        if (_mm256_testz_si256(any, alphaMask))
            continue;
        const __m256i all = _mm256_and_si256(_mm256_and_si256(v0, v1), _mm256_and_si256(v2, v3));
        if (opacity == 255 && _mm256_movemask_epi8(_mm256_cmpeq_epi32(
                                  _mm256_and_si256(all, alphaMask), alphaMask)) == -1) {
            __m256i* o = reinterpret_cast<__m256i*>(out + x);
            _mm256_storeu_si256(o, v0);
            _mm256_storeu_si256(o + 1, v1);
            _mm256_storeu_si256(o + 2, v2);
            _mm256_storeu_si256(o + 3, v3);
            continue;
        }
        for (int k = 0; k < 32; k += 8)
            composeEight(out + x + k, in + x + k, opacity);
    }
    for (; x + 8 <= n; x += 8)
        composeEight(out + x, in + x, opacity);
    composePortable(out + x, in + x, n - x, opacity);
}

bool processorHasAvx2() {
    static const bool has = __builtin_cpu_supports("avx2");
    return has;
}
#endif

// 255 / a in 16.16 fixed point.
struct Unpremultiplier {
    uint32_t of[256] = {};
    constexpr Unpremultiplier() {
        for (uint32_t a = 1; a < 256; ++a)
            of[a] = (255u * 65536u + a / 2) / a;
    }
};
constexpr Unpremultiplier unpremultiplier;

inline void unpremultiplyPixel(uint32_t& p) {
    const uint32_t a = p >> 24;
    if (a == 255 || a == 0)
        return;
    const uint32_t f = unpremultiplier.of[a];
    auto channel = [&](int shift) {
        return std::min(255u, (((p >> shift) & 255) * f + 0x8000u) >> 16);
    };
    p = (a << 24) | (channel(16) << 16) | (channel(8) << 8) | channel(0);
}

} // namespace

bool composeRowWith(RowInstructions instructions, uint32_t* out, const uint32_t* in, int n,
                    uint32_t opacity) {
    switch (instructions) {
    case RowInstructions::Portable:
        composePortable(out, in, n, opacity);
        return true;
    case RowInstructions::Sse2:
#if defined(__SSE2__)
        composeSse2(out, in, n, opacity);
        return true;
#else
        return false;
#endif
    case RowInstructions::Avx2:
#if defined(VORK_HAVE_AVX2_PATH)
        if (!processorHasAvx2())
            return false;
        composeAvx2(out, in, n, opacity);
        return true;
#else
        return false;
#endif
    }
    return false;
}

void composeRow(uint32_t* out, const uint32_t* in, int n, uint32_t opacity) {
#if defined(VORK_HAVE_AVX2_PATH)
    if (processorHasAvx2()) {
        composeAvx2(out, in, n, opacity);
        return;
    }
#endif
#if defined(__SSE2__)
    composeSse2(out, in, n, opacity);
#else
    composePortable(out, in, n, opacity);
#endif
}

void premultiplyRow(uint32_t* row, int n) {
    int x = 0;
#if defined(__SSE2__)
    const __m128i alphaMask = _mm_set1_epi32(int(0xFF000000u)), zero = _mm_setzero_si128();
    for (; x + 4 <= n; x += 4) {
        __m128i* p = reinterpret_cast<__m128i*>(row + x);
        const __m128i v = _mm_loadu_si128(p);
        if (_mm_movemask_epi8(_mm_cmpeq_epi32(_mm_and_si128(v, alphaMask), alphaMask)) == 0xFFFF)
            continue; // opaque: premultiplying changes nothing
        const __m128i alpha = _mm_srli_epi32(v, 24);
        const __m128i pairs = _mm_or_si128(alpha, _mm_slli_epi32(alpha, 16));
        const __m128i aLow = _mm_unpacklo_epi32(pairs, pairs);
        const __m128i aHigh = _mm_unpackhi_epi32(pairs, pairs);
        const __m128i opaque = _mm_or_si128(v, alphaMask);
        _mm_storeu_si128(
            p, _mm_packus_epi16(
                   divideBy255Rounded(_mm_mullo_epi16(_mm_unpacklo_epi8(opaque, zero), aLow)),
                   divideBy255Rounded(_mm_mullo_epi16(_mm_unpackhi_epi8(opaque, zero), aHigh))));
    }
#endif
    for (; x < n; ++x)
        row[x] = multiplyBytes(row[x] | 0xFF000000u, row[x] >> 24);
}

void unpremultiplyRow(uint32_t* row, int n) {
    int x = 0;
#if defined(__SSE2__)
    // Runs of opaque and transparent pixels, most of a picture, are passed sixteen at a time:
    // (a + 1) & 254 is 0 exactly for alpha 0 and 255.
    const __m128i zero = _mm_setzero_si128(), one = _mm_set1_epi32(1), mask = _mm_set1_epi32(254);
    auto unchanged = [&](const uint32_t* p) {
        const __m128i a = _mm_srli_epi32(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p)), 24);
        return _mm_and_si128(_mm_add_epi32(a, one), mask);
    };
    for (; x + 16 <= n; x += 16) {
        const __m128i any =
            _mm_or_si128(_mm_or_si128(unchanged(row + x), unchanged(row + x + 4)),
                         _mm_or_si128(unchanged(row + x + 8), unchanged(row + x + 12)));
        if (_mm_movemask_epi8(_mm_cmpeq_epi32(any, zero)) == 0xFFFF)
            continue;
        for (int k = 0; k < 16; ++k)
            unpremultiplyPixel(row[x + k]);
    }
#endif
    for (; x < n; ++x)
        unpremultiplyPixel(row[x]);
}

} // namespace vork
