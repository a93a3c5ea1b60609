// SPDX-License-Identifier: GPL-3.0-or-later
#include "gfx/PixelBlend.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace vork {

void blendOntoOpaque(uint32_t* out, const uint32_t* from, const int* columns, int n,
                     int opacity256) {
    int i = 0;
#if defined(__SSE2__)
    const __m128i zero = _mm_setzero_si128(), opaque = _mm_set1_epi32(int(0xFF000000u));
    const __m128i full = _mm_set1_epi16(255), c127 = _mm_set1_epi16(127);
    const __m128i one = _mm_set1_epi16(1), factor = _mm_set1_epi32(opacity256);
    // floor(x / 255) for x <= 65152 in 16-bit lanes.
    auto divide255 = [&](__m128i x) {
        return _mm_srli_epi16(_mm_add_epi16(_mm_add_epi16(x, one), _mm_srli_epi16(x, 8)), 8);
    };
    for (; i + 4 <= n; i += 4) {
        // At 100 % the four columns follow each other and are loaded at once.
        const __m128i s = columns[i + 3] == columns[i] + 3
                              ? _mm_loadu_si128(reinterpret_cast<const __m128i*>(from + columns[i]))
                              : _mm_set_epi32(int(from[columns[i + 3]]), int(from[columns[i + 2]]),
                                              int(from[columns[i + 1]]), int(from[columns[i]]));
        __m128i alpha = _mm_srli_epi32(s, 24);
        if (opacity256 < 256)
            alpha = _mm_srli_epi32(_mm_mullo_epi16(alpha, factor), 8);
        if (_mm_movemask_epi8(_mm_cmpeq_epi32(alpha, zero)) == 0xFFFF)
            continue;
        __m128i* o = reinterpret_cast<__m128i*>(out + i);
        if (_mm_movemask_epi8(_mm_cmpeq_epi32(alpha, _mm_set1_epi32(255))) == 0xFFFF) {
            _mm_storeu_si128(o, _mm_or_si128(s, opaque));
            continue;
        }
        const __m128i d = _mm_loadu_si128(o);
        const __m128i pairs = _mm_or_si128(alpha, _mm_slli_epi32(alpha, 16));
        const __m128i aLow = _mm_unpacklo_epi32(pairs, pairs),
                      aHigh = _mm_unpackhi_epi32(pairs, pairs);
        auto half = [&](__m128i sp, __m128i dp, __m128i a) {
            const __m128i x = _mm_add_epi16(
                _mm_add_epi16(_mm_mullo_epi16(sp, a), _mm_mullo_epi16(dp, _mm_sub_epi16(full, a))),
                c127);
            return divide255(x);
        };
        const __m128i low = half(_mm_unpacklo_epi8(s, zero), _mm_unpacklo_epi8(d, zero), aLow);
        const __m128i high = half(_mm_unpackhi_epi8(s, zero), _mm_unpackhi_epi8(d, zero), aHigh);
        _mm_storeu_si128(o, _mm_or_si128(_mm_packus_epi16(low, high), opaque));
    }
#endif
    for (; i < n; ++i)
        out[i] = blendOver(out[i], from[columns[i]], opacity256) | 0xFF000000u;
}

} // namespace vork
