// RGB to HSV and back on 8-bit images. The colour image is read in the system's blue-green-red order; the HSV
// image holds hue in its first channel, saturation in its second and value in its third. Hue runs 0..255 per
// turn (255 is 360 degrees), saturation 0..255; results are rounded half up. Further channels (alpha) are left
// alone.
//
// Pixels are converted a block at a time: the channels are gathered into three arrays of 16-bit values, converted
// eight at a time in SSE2, and scattered back.

#include "ipl/IplArea.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#include <emmintrin.h>

using namespace ipl;

namespace {

constexpr int BlockPixels = 64; // a multiple of 8: the vector loops may run past `count` inside the block

struct alignas(16) Block {
    std::int16_t first[BlockPixels] = {}, second[BlockPixels] = {}, third[BlockPixels] = {};
};

__m128i load(const std::int16_t* p) {
    return _mm_load_si128(reinterpret_cast<const __m128i*>(p));
}

void store(std::int16_t* p, __m128i v) {
    _mm_store_si128(reinterpret_cast<__m128i*>(p), v);
}

__m128i constant(int value) {
    return _mm_set1_epi16(static_cast<short>(value));
}

// floor(n / m) for 0 <= n < 2^24 and 0 < m, by one correctly rounded float division: when n / m is not a whole
// number it lies at least 1/m below the next one, far more than the rounding error of a quotient below 256
// for every m used here (at most 65025), so truncating the float gives the floor.
__m128i quotients(__m128i n, __m128 m) {
    return _mm_cvttps_epi32(_mm_div_ps(_mm_cvtepi32_ps(n), m));
}

// Eight quotients, back in 16 bits: the numerators as two halves of 32-bit lanes, the divisors as 16-bit lanes.
__m128i quotients(__m128i low, __m128i high, __m128i divisors) {
    const __m128i zero = _mm_setzero_si128();
    const __m128 mLow = _mm_cvtepi32_ps(_mm_unpacklo_epi16(divisors, zero));
    const __m128 mHigh = _mm_cvtepi32_ps(_mm_unpackhi_epi16(divisors, zero));
    return _mm_packs_epi32(quotients(low, mLow), quotients(high, mHigh));
}

// a * x + b * y for eight 16-bit pairs, as two halves of 32-bit lanes (one multiply-add each).
void weighted(__m128i x, __m128i y, int a, int b, __m128i& low, __m128i& high) {
    const __m128i weights = _mm_set1_epi32(static_cast<int>(static_cast<unsigned>(b) << 16 | static_cast<unsigned>(a)));
    low = _mm_madd_epi16(_mm_unpacklo_epi16(x, y), weights);
    high = _mm_madd_epi16(_mm_unpackhi_epi16(x, y), weights);
}

// floor(x / 255) for 0 <= x < 65535 (unsigned 16-bit lanes), in shifts and adds.
__m128i by255(__m128i x) {
    return _mm_srli_epi16(_mm_add_epi16(_mm_add_epi16(x, constant(1)), _mm_srli_epi16(x, 8)), 8);
}

__m128i select(__m128i mask, __m128i value) {
    return _mm_and_si128(mask, value);
}

// Hue counts 255 to the turn, 42.5 to the sixth: red, green or blue largest starts it at 0, 2 or 4 sixths, and
// the other two's difference over d moves it up to one sixth either way. Below zero (red largest, blue over
// green) it wraps round the turn. Grey (d = 0) divides 0 by 1.
void toHsv(Block& block, int count) {
    const __m128i one = constant(1);
    for (int i = 0; i < count; i += 8) {
        const __m128i b = load(block.first + i), g = load(block.second + i), r = load(block.third + i);
        const __m128i v = _mm_max_epi16(r, _mm_max_epi16(g, b));
        const __m128i d = _mm_sub_epi16(v, _mm_min_epi16(r, _mm_min_epi16(g, b)));
        const __m128i red = _mm_cmpeq_epi16(v, r);
        const __m128i green = _mm_andnot_si128(red, _mm_cmpeq_epi16(v, g));
        const __m128i blue = _mm_andnot_si128(_mm_or_si128(red, green), _mm_cmpeq_epi16(v, v));
        const __m128i d2 = _mm_add_epi16(d, d);
        __m128i sixths =
            _mm_or_si128(select(red, _mm_sub_epi16(g, b)),
                         _mm_or_si128(select(green, _mm_add_epi16(d2, _mm_sub_epi16(b, r))),
                                      select(blue, _mm_add_epi16(_mm_add_epi16(d2, d2), _mm_sub_epi16(r, g)))));
        sixths = _mm_add_epi16(sixths, select(_mm_srai_epi16(sixths, 15), _mm_add_epi16(d2, _mm_add_epi16(d2, d2))));
        __m128i low, high;
        weighted(sixths, d, 85, 1, low, high);
        store(block.first + i, _mm_min_epi16(quotients(low, high, _mm_max_epi16(d2, one)), constant(255)));
        weighted(d, v, 510, 1, low, high);
        store(block.second + i, quotients(low, high, _mm_max_epi16(_mm_add_epi16(v, v), one)));
        store(block.third + i, v);
    }
}

// v * (65025 - a) / 65025 rounded, for 0 <= a <= 65025 (unsigned 16-bit lanes): the product in 32 bits.
__m128i scaledDown(__m128i v, __m128i a) {
    const __m128i factor = _mm_sub_epi16(constant(65025), a);
    const __m128i productLow = _mm_mullo_epi16(v, factor), productHigh = _mm_mulhi_epu16(v, factor);
    const __m128i half = _mm_set1_epi32(32512);
    const __m128 divisor = _mm_set1_ps(65025.0f);
    return _mm_packs_epi32(quotients(_mm_add_epi32(_mm_unpacklo_epi16(productLow, productHigh), half), divisor),
                           quotients(_mm_add_epi32(_mm_unpackhi_epi16(productLow, productHigh), half), divisor));
}

// The textbook inverse in integers: the hue's sixth of the turn and the fraction f within it (out of 255) give
// p, q and t, and the sector says which of value, p, q and t each component takes.
void toRgb(Block& block, int count) {
    for (int i = 0; i < count; i += 8) {
        const __m128i h = load(block.first + i), s = load(block.second + i), v = load(block.third + i);
        const __m128i sixths = _mm_mullo_epi16(h, constant(6));
        const __m128i whole = by255(sixths);
        const __m128i sector = _mm_sub_epi16(whole, select(_mm_cmpeq_epi16(whole, constant(6)), constant(6)));
        const __m128i f = _mm_sub_epi16(sixths, _mm_mullo_epi16(whole, constant(255)));
        const __m128i p = by255(_mm_add_epi16(_mm_mullo_epi16(v, _mm_sub_epi16(constant(255), s)), constant(127)));
        const __m128i q = scaledDown(v, _mm_mullo_epi16(s, f));
        const __m128i t = scaledDown(v, _mm_mullo_epi16(s, _mm_sub_epi16(constant(255), f)));
        __m128i in[6];
        for (int k = 0; k < 6; ++k)
            in[k] = _mm_cmpeq_epi16(sector, constant(k));
        auto pick = [&](int valueA, int valueB, int qSector, int tSector) {
            const __m128i valueMask = _mm_or_si128(in[valueA], in[valueB]);
            const __m128i pMask = _mm_andnot_si128(_mm_or_si128(valueMask, _mm_or_si128(in[qSector], in[tSector])),
                                                   _mm_cmpeq_epi16(v, v));
            return _mm_or_si128(_mm_or_si128(select(valueMask, v), select(in[qSector], q)),
                                _mm_or_si128(select(in[tSector], t), select(pMask, p)));
        };
        store(block.third + i, pick(0, 5, 1, 4));  // red
        store(block.second + i, pick(1, 2, 3, 0)); // green
        store(block.first + i, pick(3, 4, 5, 2));  // blue
    }
}

// Whether a part's pixels are four bytes whose first three are the lanes converted.
bool fourBytePixels(const Part& part) {
    return part.pixelElements == 4 && part.lanes[0] == 0 && part.lanes[1] == 1 && part.lanes[2] == 2;
}

// Reads `count` pixels into the block; four-byte pixels are read whole and split by shifts, which vectorises.
void gather(const Part& part, const std::uint8_t* sp, int count, Block& block) {
    if (fourBytePixels(part)) {
        for (int i = 0; i < count; ++i) {
            std::uint32_t pixel;
            std::memcpy(&pixel, sp + 4 * i, sizeof pixel);
            block.first[i] = static_cast<std::int16_t>(pixel & 0xFF);
            block.second[i] = static_cast<std::int16_t>((pixel >> 8) & 0xFF);
            block.third[i] = static_cast<std::int16_t>((pixel >> 16) & 0xFF);
        }
        return;
    }
    const int step = part.pixelElements, l0 = part.lanes[0], l1 = part.lanes[1], l2 = part.lanes[2];
    for (int i = 0; i < count; ++i, sp += step) {
        block.first[i] = sp[l0];
        block.second[i] = sp[l1];
        block.third[i] = sp[l2];
    }
}

// Writes the block's pixels where `enabled` allows (all when null); the fourth byte of four-byte pixels is kept.
void scatter(const Block& block, int count, const std::uint8_t* enabled, const Part& part, std::uint8_t* dp) {
    if (enabled == nullptr && fourBytePixels(part)) {
        for (int i = 0; i < count; ++i) {
            std::uint32_t pixel;
            std::memcpy(&pixel, dp + 4 * i, sizeof pixel);
            pixel = (pixel & 0xFF000000u) | static_cast<std::uint16_t>(block.first[i]) |
                    static_cast<std::uint32_t>(static_cast<std::uint16_t>(block.second[i])) << 8 |
                    static_cast<std::uint32_t>(static_cast<std::uint16_t>(block.third[i])) << 16;
            std::memcpy(dp + 4 * i, &pixel, sizeof pixel);
        }
        return;
    }
    const int step = part.pixelElements, l0 = part.lanes[0], l1 = part.lanes[1], l2 = part.lanes[2];
    for (int i = 0; i < count; ++i, dp += step) {
        if (enabled != nullptr && enabled[i] == 0)
            continue;
        dp[l0] = static_cast<std::uint8_t>(block.first[i]);
        dp[l1] = static_cast<std::uint8_t>(block.second[i]);
        dp[l2] = static_cast<std::uint8_t>(block.third[i]);
    }
}

// Converts the first three lanes of part 0 into the first three of part 1, a block of pixels at a time.
void convertPixels(IplImage* from, IplImage* to, void (*convert)(Block&, int)) {
    Area area({from, to}, Channels::Colour, false);
    if (!area || from->depth != IPL_DEPTH_8U || to->depth != IPL_DEPTH_8U || area[0].laneCount < 3 ||
        area[1].laneCount < 3)
        return;
    Block block;
    for (int j = 0; j < area.height; ++j) {
        const std::uint8_t* enabled = area.enabled(j);
        const std::uint8_t* sp = area[0].row<std::uint8_t>(j);
        std::uint8_t* dp = area[1].row<std::uint8_t>(j);
        for (int start = 0; start < area.width; start += BlockPixels) {
            const int count = std::min(BlockPixels, area.width - start);
            gather(area[0], sp + start * area[0].pixelElements, count, block);
            convert(block, count);
            scatter(block, count, enabled != nullptr ? enabled + start : nullptr, area[1],
                    dp + start * area[1].pixelElements);
        }
    }
}

} // namespace

void iplRGB2HSV(IplImage* rgbImage, IplImage* hsvImage) {
    convertPixels(rgbImage, hsvImage, toHsv);
}

void iplHSV2RGB(IplImage* hsvImage, IplImage* rgbImage) {
    convertPixels(hsvImage, rgbImage, toRgb);
}
