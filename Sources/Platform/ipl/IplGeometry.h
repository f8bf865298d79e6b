#pragma once
// Helpers shared by the geometric transforms (resizing, mirroring, warping). Every channel moves, alpha included,
// unless a channel of interest is set. One-bit images are sampled as 0 and 1, and a result of at least one half
// sets the bit. The output may be the source itself.

#include "ipl/IplArea.h"

#include <cstdint>
#include <cstring>

#include <emmintrin.h>

namespace ipl {

// False when the operation has nothing to do; an output overlapping its source works from a snapshot.
inline bool prepareGeometry(Area& area) {
    if (!area || !sameDepth(area))
        return false;
    if (area.overlapping(0, 1))
        area.snapshot(0, area[0].image->height);
    return true;
}

// Two four-byte pixels interleaved channel by channel, widened to 16 bits: a0 b0 a1 b1 a2 b2 a3 b3.
inline __m128i pixelPair(const std::uint8_t* a, const std::uint8_t* b) {
    std::int32_t pa, pb;
    std::memcpy(&pa, a, 4);
    std::memcpy(&pb, b, 4);
    return _mm_unpacklo_epi8(_mm_unpacklo_epi8(_mm_cvtsi32_si128(pa), _mm_cvtsi32_si128(pb)), _mm_setzero_si128());
}

// The weight pair (total - w, w) in every 32-bit lane, for multiply-adds with interleaved pairs.
inline __m128i weightPair(int w, int total) {
    return _mm_set1_epi32(w << 16 | (total - w));
}

// (t * (2048 - wy) + b * wy) / 2^22 rounded, for four lanes of filtered sums (below 2^19), without 32-bit
// multiplies: the sums are
// split at bit 11 and each half pair is weighted by one 16-bit multiply-add, exactly:
// t * w0 + b * w1 = 2048 * (tHigh * w0 + bHigh * w1) + (tLow * w0 + bLow * w1).
inline __m128i roundedDown(__m128i t, __m128i b, __m128i weights) {
    const __m128i lowBits = _mm_set1_epi32(2047);
    const __m128i highs = _mm_or_si128(_mm_srli_epi32(t, 11), _mm_slli_epi32(_mm_srli_epi32(b, 11), 16));
    const __m128i lows = _mm_or_si128(_mm_and_si128(t, lowBits), _mm_slli_epi32(_mm_and_si128(b, lowBits), 16));
    const __m128i sum =
        _mm_add_epi32(_mm_slli_epi32(_mm_madd_epi16(highs, weights), 11), _mm_madd_epi16(lows, weights));
    return _mm_srli_epi32(_mm_add_epi32(sum, _mm_set1_epi32(1 << 21)), 22);
}

} // namespace ipl
