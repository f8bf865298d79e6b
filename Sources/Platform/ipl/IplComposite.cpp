// Alpha compositing and premultiplication, on 8-bit data. Alphas are 0..255 for 0..1; products are divided
// with rounding half up.

#include "ipl/IplLoops.h"

#include <algorithm>

#if defined(__SSE2__)
#include <immintrin.h>
#endif

using namespace ipl;

namespace {

// Where one image's alpha is read or written: its declared alpha channel, or channel 1 of an alpha image.
struct AlphaSource {
    const Part* part = nullptr;
    int lane = 0;

    explicit operator bool() const { return part != nullptr; }
    std::uint8_t* at(int i, int j) const { return part->row<std::uint8_t>(j) + i * part->pixelElements + lane; }
};

AlphaSource alphaOf(const Part* own, const Part* separate) {
    if (separate != nullptr) {
        const int alpha = separate->image->alphaChannel;
        return {separate, alpha > 0 && alpha <= separate->pixelElements ? alpha - 1 : 0};
    }
    const int alpha = own->image->alphaChannel;
    if (alpha > 0 && alpha <= own->pixelElements)
        return {own, alpha - 1};
    return {};
}

int scale(long long n, long long d) {
    return static_cast<int>(divRound(n, d));
}

// One channel's result: the colour as a fraction (kept exact until the end, so that dividing by the result
// alpha does not compound a rounding) and the result alpha.
struct Mix {
    long long numerator;
    long long denominator;
    int alpha;
};

Mix compose(int type, bool premultiplied, long long A, long long B, int a, int b) {
    const long long na = 255 - a;
    const long long nb = 255 - b;
    if (premultiplied) {
        switch (type) {
        case IPL_COMPOSITE_OVER:
            return {255 * A + na * B, 255, a + scale(na * b, 255)};
        case IPL_COMPOSITE_IN:
            return {A * b, 255, scale(a * b, 255)};
        case IPL_COMPOSITE_OUT:
            return {A * nb, 255, scale(a * nb, 255)};
        case IPL_COMPOSITE_ATOP:
            return {A * b + na * B, 255, scale(a * b + na * b, 255)};
        case IPL_COMPOSITE_XOR:
            return {A * nb + na * B, 255, scale(a * nb + na * b, 255)};
        default:
            return {A + B, 1, a + b};
        }
    }
    switch (type) {
    case IPL_COMPOSITE_OVER:
        return {255 * a * A + na * b * B, 65025, a + scale(na * b, 255)};
    case IPL_COMPOSITE_IN:
        return {a * A * b, 65025, scale(a * b, 255)};
    case IPL_COMPOSITE_OUT:
        return {a * A * nb, 65025, scale(a * nb, 255)};
    case IPL_COMPOSITE_ATOP:
        return {a * A * b + na * b * B, 65025, scale(a * b + na * b, 255)};
    case IPL_COMPOSITE_XOR:
        return {a * A * nb + na * b * B, 65025, scale(a * nb + na * b, 255)};
    default:
        return {a * A + b * B, 255, a + b};
    }
}

std::uint8_t clamp8(int v) {
    return static_cast<std::uint8_t>(std::clamp(v, 0, 255));
}

template <bool Premultiplied, bool Divide>
inline void overPixel(const std::uint8_t* a, const std::uint8_t* b, std::uint8_t* d) {
    const unsigned av = a[3];
    const unsigned bv = b[3];
    const unsigned na = 255 - av;
    const unsigned alpha = av + (na * bv + 127) / 255;
    for (int c = 0; c < 3; ++c) {
        const unsigned numerator = Premultiplied ? 255 * a[c] + na * b[c] : 255 * av * a[c] + na * bv * b[c];
        const unsigned denominator = Premultiplied ? 255 : 65025;
        unsigned colour;
        if (Divide)
            colour = alpha == 0 ? 0
                                : static_cast<unsigned>((255ULL * numerator + denominator * alpha / 2) /
                                                        (static_cast<unsigned long long>(denominator) * alpha));
        else
            colour = (numerator + denominator / 2) / denominator;
        d[c] = static_cast<std::uint8_t>(colour > 255 ? 255 : colour);
    }
    d[3] = static_cast<std::uint8_t>(alpha > 255 ? 255 : alpha);
}

// The common case, one row of "over" on 4-channel pixels whose alpha is their last channel: the same arithmetic
// as compose(), written out so that the compiler can keep it tight.
template <bool Premultiplied, bool Divide>
void overRow(const std::uint8_t* a, const std::uint8_t* b, std::uint8_t* d, const std::uint8_t* enabled, int width) {
    if (enabled == nullptr) {
        for (int i = 0; i < width; ++i)
            overPixel<Premultiplied, Divide>(a + 4 * i, b + 4 * i, d + 4 * i);
        return;
    }
    for (int i = 0; i < width; ++i)
        if (enabled[i] != 0)
            overPixel<Premultiplied, Divide>(a + 4 * i, b + 4 * i, d + 4 * i);
}

#if defined(__SSE2__)
// x / 65025 in each 32-bit lane, for x < 2^25: multiplication by floor(2^47 / 65025) + 1, exact over that range.
__m128i divideBy65025(__m128i x) {
    const __m128i magic = _mm_set1_epi32(static_cast<int>(2164359683u));
    const __m128i even = _mm_srli_epi64(_mm_mul_epu32(x, magic), 47);
    const __m128i odd = _mm_srli_epi64(_mm_mul_epu32(_mm_srli_epi64(x, 32), magic), 47);
    return _mm_or_si128(even, _mm_slli_epi64(odd, 32));
}

// round(p / 255) in each unsigned 16-bit lane, p at most 65025: exact as (y + (y >> 8)) >> 8 with y = p + 128.
__m128i roundedBy255(__m128i p) {
    const __m128i y = _mm_add_epi16(p, _mm_set1_epi16(128));
    return _mm_srli_epi16(_mm_add_epi16(y, _mm_srli_epi16(y, 8)), 8);
}

// Full 32-bit products of unsigned 16-bit lanes: the first four, or the last four.
__m128i productsLow(__m128i x, __m128i y) {
    return _mm_unpacklo_epi16(_mm_mullo_epi16(x, y), _mm_mulhi_epu16(x, y));
}
__m128i productsHigh(__m128i x, __m128i y) {
    return _mm_unpackhi_epi16(_mm_mullo_epi16(x, y), _mm_mulhi_epu16(x, y));
}

// overPixel<false, false> on the two pixels in the low halves of a and b, in 16- and 32-bit lanes.
__m128i overTwoPixels(__m128i a, __m128i b) {
    const __m128i zero = _mm_setzero_si128();
    const __m128i wideA = _mm_unpacklo_epi8(a, zero);
    const __m128i wideB = _mm_unpacklo_epi8(b, zero);
    const __m128i av = _mm_shufflehi_epi16(_mm_shufflelo_epi16(wideA, 0xFF), 0xFF); // alphas in all lanes
    const __m128i bv = _mm_shufflehi_epi16(_mm_shufflelo_epi16(wideB, 0xFF), 0xFF);
    const __m128i full = _mm_set1_epi16(255);
    const __m128i fromA = _mm_mullo_epi16(av, wideA);                   // av * a, at most 65025
    const __m128i share = _mm_mullo_epi16(_mm_sub_epi16(full, av), bv); // na * bv, likewise
    const __m128i half = _mm_set1_epi32(32512);
    const __m128i first = _mm_add_epi32(_mm_add_epi32(productsLow(fromA, full), productsLow(share, wideB)), half);
    const __m128i second = _mm_add_epi32(_mm_add_epi32(productsHigh(fromA, full), productsHigh(share, wideB)), half);
    const __m128i colours = _mm_packs_epi32(divideBy65025(first), divideBy65025(second));
    const __m128i alpha = _mm_add_epi16(av, roundedBy255(share));
    const __m128i alphaLanes = _mm_set_epi16(-1, 0, 0, 0, -1, 0, 0, 0);
    const __m128i result = _mm_or_si128(_mm_andnot_si128(alphaLanes, colours), _mm_and_si128(alphaLanes, alpha));
    return _mm_packus_epi16(result, zero);
}
#endif

// Premultiplied "over" without division treats all four channels alike: each becomes
// A + round((255 - alpha of A) * B / 255) (for the alpha channel that is the result alpha), the division as in
// roundedBy255; with SSE2 four pixels go at once.
void overPremultipliedRow(const std::uint8_t* a, const std::uint8_t* b, std::uint8_t* d, const std::uint8_t* enabled,
                          int width) {
    if (enabled != nullptr)
        return overRow<true, false>(a, b, d, enabled, width);
    int i = 0;
#if defined(__SSE2__)
    const __m128i zero = _mm_setzero_si128();
    for (; i + 4 <= width; i += 4) {
        const __m128i pa = _mm_loadu_si128(reinterpret_cast<const __m128i*>(a + 4 * i));
        const __m128i pb = _mm_loadu_si128(reinterpret_cast<const __m128i*>(b + 4 * i));
        __m128i alpha = _mm_srli_epi32(pa, 24); // each pixel's alpha, then in all four of its bytes
        alpha = _mm_or_si128(alpha, _mm_slli_epi32(alpha, 8));
        alpha = _mm_or_si128(alpha, _mm_slli_epi32(alpha, 16));
        const __m128i inverse = _mm_xor_si128(alpha, _mm_set1_epi8(static_cast<char>(0xFF)));
        auto scaled = [](__m128i factor, __m128i value) {
            return roundedBy255(_mm_mullo_epi16(factor, value));
        };
        const __m128i low = scaled(_mm_unpacklo_epi8(inverse, zero), _mm_unpacklo_epi8(pb, zero));
        const __m128i high = scaled(_mm_unpackhi_epi8(inverse, zero), _mm_unpackhi_epi8(pb, zero));
        const __m128i result = _mm_adds_epu8(pa, _mm_packus_epi16(low, high));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(d + 4 * i), result);
    }
#endif
    for (; i < width; ++i) {
        const unsigned na = 255 - a[4 * i + 3];
        for (int c = 0; c < 4; ++c) {
            const unsigned y = na * b[4 * i + c] + 128;
            const unsigned value = a[4 * i + c] + ((y + (y >> 8)) >> 8);
            d[4 * i + c] = static_cast<std::uint8_t>(value > 255 ? 255 : value);
        }
    }
}

#if defined(__SSE2__)
// Full 32-bit products of unsigned 16-bit lanes, the first or the last four of each 128-bit half.
IPL_AVX2 inline __m256i productsLow256(__m256i x, __m256i y) {
    return _mm256_unpacklo_epi16(_mm256_mullo_epi16(x, y), _mm256_mulhi_epu16(x, y));
}
IPL_AVX2 inline __m256i productsHigh256(__m256i x, __m256i y) {
    return _mm256_unpackhi_epi16(_mm256_mullo_epi16(x, y), _mm256_mulhi_epu16(x, y));
}

// divideBy65025 in each 32-bit lane of an AVX2 register.
IPL_AVX2 inline __m256i divideBy65025x8(__m256i x) {
    const __m256i magic = _mm256_set1_epi32(static_cast<int>(2164359683u));
    const __m256i even = _mm256_srli_epi64(_mm256_mul_epu32(x, magic), 47);
    const __m256i odd = _mm256_srli_epi64(_mm256_mul_epu32(_mm256_srli_epi64(x, 32), magic), 47);
    return _mm256_or_si256(even, _mm256_slli_epi64(odd, 32));
}

// overTwoPixels on four pixels at once: the same steps in both 128-bit halves of AVX2 registers, two pixels each.
IPL_AVX2 inline __m128i overFourPixels(__m128i a, __m128i b) {
    const __m256i wideA = _mm256_cvtepu8_epi16(a);
    const __m256i wideB = _mm256_cvtepu8_epi16(b);
    const __m256i av = _mm256_shufflehi_epi16(_mm256_shufflelo_epi16(wideA, 0xFF), 0xFF);
    const __m256i bv = _mm256_shufflehi_epi16(_mm256_shufflelo_epi16(wideB, 0xFF), 0xFF);
    const __m256i full = _mm256_set1_epi16(255);
    const __m256i fromA = _mm256_mullo_epi16(av, wideA);
    const __m256i share = _mm256_mullo_epi16(_mm256_sub_epi16(full, av), bv);
    const __m256i half = _mm256_set1_epi32(32512);
    const __m256i first =
        _mm256_add_epi32(_mm256_add_epi32(productsLow256(fromA, full), productsLow256(share, wideB)), half);
    const __m256i second =
        _mm256_add_epi32(_mm256_add_epi32(productsHigh256(fromA, full), productsHigh256(share, wideB)), half);
    const __m256i colours = _mm256_packs_epi32(divideBy65025x8(first), divideBy65025x8(second));
    const __m256i y = _mm256_add_epi16(share, _mm256_set1_epi16(128));
    const __m256i alpha = _mm256_add_epi16(av, _mm256_srli_epi16(_mm256_add_epi16(y, _mm256_srli_epi16(y, 8)), 8));
    const __m256i alphaLanes = _mm256_set_epi16(-1, 0, 0, 0, -1, 0, 0, 0, -1, 0, 0, 0, -1, 0, 0, 0);
    const __m256i result =
        _mm256_or_si256(_mm256_andnot_si256(alphaLanes, colours), _mm256_and_si256(alphaLanes, alpha));
    const __m256i packed = _mm256_packus_epi16(result, result); // pixels 0, 1 | 0, 1 | 2, 3 | 2, 3
    return _mm256_castsi256_si128(_mm256_permute4x64_epi64(packed, 0x08));
}

// The pixels from i on, four at a time where all four are enabled; returns where it stopped.
IPL_AVX2 int overPlainFoursAvx2(const std::uint8_t* a, const std::uint8_t* b, std::uint8_t* d,
                                const std::uint8_t* enabled, int i, int width) {
    for (; i + 4 <= width; i += 4) {
        if (enabled != nullptr && (enabled[i] & enabled[i + 1] & enabled[i + 2] & enabled[i + 3]) == 0) {
            overRow<false, false>(a + 4 * i, b + 4 * i, d + 4 * i, enabled + i, 4);
            continue;
        }
        const __m128i pa = _mm_loadu_si128(reinterpret_cast<const __m128i*>(a + 4 * i));
        const __m128i pb = _mm_loadu_si128(reinterpret_cast<const __m128i*>(b + 4 * i));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(d + 4 * i), overFourPixels(pa, pb));
    }
    return i;
}
#endif

// Non-premultiplied "over" without division: four pixels at a time with AVX2, else two, where all are enabled.
void overPlainRow(const std::uint8_t* a, const std::uint8_t* b, std::uint8_t* d, const std::uint8_t* enabled,
                  int width) {
    int i = 0;
#if defined(__SSE2__)
    if (hasAvx2())
        i = overPlainFoursAvx2(a, b, d, enabled, i, width);
    for (; i + 2 <= width; i += 2) {
        if (enabled != nullptr && (enabled[i] == 0 || enabled[i + 1] == 0)) {
            overRow<false, false>(a + 4 * i, b + 4 * i, d + 4 * i, enabled + i, 2);
            continue;
        }
        const __m128i pa = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(a + 4 * i));
        const __m128i pb = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(b + 4 * i));
        _mm_storel_epi64(reinterpret_cast<__m128i*>(d + 4 * i), overTwoPixels(pa, pb));
    }
#endif
    overRow<false, false>(a + 4 * i, b + 4 * i, d + 4 * i, enabled != nullptr ? enabled + i : nullptr, width - i);
}

using OverRow = void (*)(const std::uint8_t*, const std::uint8_t*, std::uint8_t*, const std::uint8_t*, int);

// The fast row for 4-channel images composed "over" with their own last-channel alphas; null otherwise.
OverRow fastOverRow(int type, const Part& a, const Part& b, const Part& d, const AlphaSource& alphaA,
                    const AlphaSource& alphaB, const AlphaSource& alphaD, bool premultiplied, bool divide) {
    auto standard = [](const Part& p, const AlphaSource& alpha) {
        return p.pixelElements == 4 && p.laneCount == 3 && p.lanes[0] == 0 && p.lanes[1] == 1 && p.lanes[2] == 2 &&
               alpha.part == &p && alpha.lane == 3;
    };
    if (type != IPL_COMPOSITE_OVER || !standard(a, alphaA) || !standard(b, alphaB) || !standard(d, alphaD))
        return nullptr;
    if (premultiplied)
        return divide ? overRow<true, true> : overPremultipliedRow;
    return divide ? overRow<false, true> : overPlainRow;
}

} // namespace

// A is laid over B into the destination. Alphas come from the alpha images when given, else from the images'
// alpha channels; B without either takes 1 - alpha of A. With divideMode the colour is divided by the result
// alpha (a zero alpha gives colour 0). The result alpha goes to the destination's alpha image or alpha channel.
void iplAlphaComposite(IplImage* srcImageA, IplImage* srcImageB, IplImage* dstImage, int compositeType,
                       IplImage* alphaImageA, IplImage* alphaImageB, IplImage* alphaImageDst, bool premulAlpha,
                       bool divideMode) {
    if (compositeType < IPL_COMPOSITE_OVER || compositeType > IPL_COMPOSITE_PLUS ||
        (alphaImageA == nullptr && alphaImageB != nullptr))
        return;
    std::vector<IplImage*> images{srcImageA, srcImageB, dstImage};
    for (IplImage* alphaImage : {alphaImageA, alphaImageB, alphaImageDst})
        if (alphaImage != nullptr)
            images.push_back(alphaImage);
    Area area(images, Channels::Colour, false);
    if (!area || srcImageA->depth != IPL_DEPTH_8U || !sameDepth(area))
        return;
    const Part& a = area[0];
    const Part& b = area[1];
    const Part& d = area[2];
    if (a.laneCount != b.laneCount || a.laneCount != d.laneCount)
        return;
    // Absent alpha images were left out of the area, so the parts after the destination are the given ones.
    std::size_t next = 3;
    const Part* alphaPartA = alphaImageA != nullptr ? &area[next++] : nullptr;
    const Part* alphaPartB = alphaImageB != nullptr ? &area[next++] : nullptr;
    const Part* alphaPartD = alphaImageDst != nullptr ? &area[next++] : nullptr;
    const AlphaSource alphaA = alphaOf(&a, alphaPartA);
    const AlphaSource alphaB = alphaOf(&b, alphaPartB);
    const AlphaSource alphaD = alphaOf(&d, alphaPartD);
    if (!alphaA)
        return;
    if (OverRow row = fastOverRow(compositeType, a, b, d, alphaA, alphaB, alphaD, premulAlpha, divideMode)) {
        for (int j = 0; j < area.height; ++j)
            row(a.row<std::uint8_t>(j), b.row<std::uint8_t>(j), d.row<std::uint8_t>(j), area.enabled(j), area.width);
        return;
    }
    for (int j = 0; j < area.height; ++j) {
        const std::uint8_t* enabled = area.enabled(j);
        const std::uint8_t* ar = a.row<std::uint8_t>(j);
        const std::uint8_t* br = b.row<std::uint8_t>(j);
        std::uint8_t* dr = d.row<std::uint8_t>(j);
        for (int i = 0; i < area.width; ++i) {
            if (enabled != nullptr && enabled[i] == 0)
                continue;
            const int av = *alphaA.at(i, j);
            const int bv = alphaB ? *alphaB.at(i, j) : 255 - av;
            int resultAlpha = 0;
            for (int c = 0; c < a.laneCount; ++c) {
                const Mix mix = compose(compositeType, premulAlpha, ar[i * a.pixelElements + a.lanes[c]],
                                        br[i * b.pixelElements + b.lanes[c]], av, bv);
                resultAlpha = std::min(mix.alpha, 255);
                long long colour = divRound(mix.numerator, mix.denominator);
                if (divideMode)
                    colour = resultAlpha == 0 ? 0 : divRound(255 * mix.numerator, mix.denominator * resultAlpha);
                dr[i * d.pixelElements + d.lanes[c]] = clamp8(static_cast<int>(std::min<long long>(colour, 255)));
            }
            if (alphaD)
                *alphaD.at(i, j) = clamp8(resultAlpha);
        }
    }
}

// alphaValue < 0: every colour value is multiplied by its pixel's own alpha (the image must declare its alpha
// channel). Otherwise by alphaValue / 255 (clamped to 0..255), which also becomes the pixel's alpha.
void iplPreMultiplyAlpha(IplImage* image, int alphaValue) {
    Area area({image});
    if (!area || image->depth != IPL_DEPTH_8U)
        return;
    const Part& p = area[0];
    const int alphaLane = image->alphaChannel - 1;
    if (alphaValue < 0 && (alphaLane < 0 || alphaLane >= p.pixelElements))
        return;
    const int global = std::clamp(alphaValue, 0, 255);
    for (int j = 0; j < area.height; ++j) {
        const std::uint8_t* enabled = area.enabled(j);
        std::uint8_t* row = p.row<std::uint8_t>(j);
        for (int i = 0; i < area.width; ++i) {
            if (enabled != nullptr && enabled[i] == 0)
                continue;
            std::uint8_t* pixel = row + i * p.pixelElements;
            const int alpha = alphaValue < 0 ? pixel[alphaLane] : global;
            for (int c = 0; c < p.laneCount; ++c)
                pixel[p.lanes[c]] = static_cast<std::uint8_t>(divRound(pixel[p.lanes[c]] * alpha, 255));
            if (alphaValue >= 0 && alphaLane >= 0 && alphaLane < p.pixelElements)
                pixel[alphaLane] = static_cast<std::uint8_t>(global);
        }
    }
}
