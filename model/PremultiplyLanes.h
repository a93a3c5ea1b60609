// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Premultiplying plain ARGB pixels as the reductions read them: each colour channel times
// alpha / 255, rounded, alpha kept.
#include <cstdint>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace vork {

// round(c * a / 255) for c, a in 0..255.
inline uint32_t premultipliedChannel(uint32_t c, uint32_t a) {
    const uint32_t x = c * a + 128;
    return (x + (x >> 8)) >> 8;
}

#if defined(__SSE2__)
// Two plain pixels in 16-bit lanes, premultiplied: B, G and R times A / 255 (rounded), A kept.
inline __m128i premultiplyTwo(__m128i px) {
    const __m128i alpha = _mm_shufflehi_epi16(_mm_shufflelo_epi16(px, 0xFF), 0xFF);
    const __m128i colourLanes = _mm_set_epi16(0, -1, -1, -1, 0, -1, -1, -1);
    const __m128i alphaLane255 = _mm_set_epi16(255, 0, 0, 0, 255, 0, 0, 0);
    const __m128i factor = _mm_or_si128(_mm_and_si128(alpha, colourLanes), alphaLane255);
    const __m128i x = _mm_add_epi16(_mm_mullo_epi16(px, factor), _mm_set1_epi16(128));
    return _mm_srli_epi16(_mm_add_epi16(x, _mm_srli_epi16(x, 8)), 8);
}
#endif

} // namespace vork
