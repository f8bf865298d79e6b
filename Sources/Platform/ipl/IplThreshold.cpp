// Thresholds, comparisons with a constant, and one-bit images made grey.

#include "ipl/IplLoops.h"
#include "ipl/IplRows.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

#include <emmintrin.h>

using namespace ipl;

namespace {

int maxOf(const IplImage* image) {
    switch (image->depth) {
    case IPL_DEPTH_1U:
        return 1;
    case IPL_DEPTH_8U:
        return 255;
    case IPL_DEPTH_16U:
        return 65535;
    default:
        return 0x7FFFFFFF;
    }
}

int minOf(const IplImage* image) {
    return image->depth == IPL_DEPTH_32S ? static_cast<int>(0x80000000u) : 0;
}

// Writes into a one-bit, one-channel destination whether every lane of each source pixel passes.
template <class Passes>
IPLStatus compareInto(IplImage* srcImage, IplImage* dstImage, Passes passes) {
    Area area({srcImage, dstImage}, Channels::Colour, false);
    if (!area || dstImage->depth != IPL_DEPTH_1U || area[1].laneCount != 1 || bitsOf(srcImage) == 1)
        return IPL_StsBadArg;
    std::vector<int> values;
    std::vector<int> bits(static_cast<std::size_t>(area.width));
    const int lanes = area[0].laneCount;
    for (int j = 0; j < area.height; ++j) {
        readRow(area[0], j, area.width, values);
        for (int i = 0; i < area.width; ++i) {
            bool all = true;
            for (int c = 0; c < lanes; ++c)
                all = all && passes(values[static_cast<std::size_t>(i * lanes + c)]);
            bits[static_cast<std::size_t>(i)] = all ? 1 : 0;
        }
        storeRow(area[1], j, bits.data(), area.enabled(j), area.width);
    }
    return IPL_StsOk;
}

// The bytes of each 8-byte half in reverse order. A byte movemask puts pixel k in bit k, a one-bit row puts the
// first pixel of each byte in its top bit: reversed, the mask is the row's two bytes. Neighbouring bytes are
// swapped, then the words of each half.
__m128i reversedHalves(__m128i v) {
    const __m128i swapped = _mm_or_si128(_mm_slli_epi16(v, 8), _mm_srli_epi16(v, 8));
    return _mm_shufflehi_epi16(_mm_shufflelo_epi16(swapped, _MM_SHUFFLE(0, 1, 2, 3)), _MM_SHUFFLE(0, 1, 2, 3));
}

// Sixteen values of one lane from pixels of one or four elements, starting at pixel.
__m128i sixteenValues(const std::uint8_t* pixel, int pixelElements, int lane) {
    if (pixelElements == 1)
        return _mm_loadu_si128(reinterpret_cast<const __m128i*>(pixel));
    const __m128i low = _mm_set1_epi32(0xFF);
    const __m128i shift = _mm_cvtsi32_si128(8 * lane);
    __m128i quarters[4];
    for (int q = 0; q < 4; ++q)
        quarters[q] =
            _mm_and_si128(_mm_srl_epi32(_mm_loadu_si128(reinterpret_cast<const __m128i*>(pixel + 16 * q)), shift), low);
    return _mm_packus_epi16(_mm_packs_epi32(quarters[0], quarters[1]), _mm_packs_epi32(quarters[2], quarters[3]));
}

// 8-bit values into a byte-aligned one-bit row without a mask: sixteen comparisons at a time for grey and
// four-channel sources, whose passing pixels are those unchanged by taking the maximum with the threshold.
void thresholdBytesToBits(Area& area, int threshold) {
    const Part& s = area[0];
    const Part& d = area[1];
    const int pe = s.pixelElements;
    const int lane = s.lanes[0];
    const int width = area.width; // in a local: the byte stores below could alias the area
    // Sixteen at a time for grey and four-channel pixels; a threshold above 255 passes nothing (plain loops).
    const int vectorWidth = (pe == 1 || pe == 4) && threshold <= 255 ? width : 0;
    const __m128i least = _mm_set1_epi8(static_cast<char>(std::clamp(threshold, 0, 255)));
    for (int j = 0; j < area.height; ++j) {
        const std::uint8_t* pixels = s.row<std::uint8_t>(j);
        auto* to = reinterpret_cast<std::uint8_t*>(d.image->imageData + (d.y + j) * d.image->widthStep) + d.x / 8;
        int i = 0;
        for (; i + 16 <= vectorWidth; i += 16) {
            const __m128i v = sixteenValues(pixels + i * pe, pe, lane);
            const auto passed = static_cast<std::uint16_t>(
                _mm_movemask_epi8(reversedHalves(_mm_cmpeq_epi8(_mm_max_epu8(v, least), v))));
            std::memcpy(to + i / 8, &passed, 2);
        }
        for (; i + 8 <= width; i += 8) {
            unsigned byte = 0;
            for (int k = 0; k < 8; ++k)
                byte = byte << 1 | (pixels[(i + k) * pe + lane] >= threshold ? 1u : 0u);
            to[i / 8] = static_cast<std::uint8_t>(byte);
        }
        for (; i < width; ++i)
            setBit(d.image, d.x + i, d.y + j, pixels[i * pe + lane] >= threshold);
    }
}

} // namespace

// Each value at or above the threshold becomes the destination's largest value, others its smallest. A
// one-bit destination takes one channel: the source's channel of interest or its only channel.
void iplThreshold(IplImage* srcImage, IplImage* dstImage, int threshold) {
    Area area({srcImage, dstImage}, Channels::Colour, false);
    if (!area || area[0].laneCount != area[1].laneCount || bitsOf(srcImage) == 1)
        return;
    if (dstImage->depth != IPL_DEPTH_1U && dstImage->depth != srcImage->depth)
        return;
    if (srcImage->depth == IPL_DEPTH_8U && dstImage->depth == IPL_DEPTH_1U && !area.masked() && area[1].x % 8 == 0) {
        thresholdBytesToBits(area, threshold);
        return;
    }
    const int high = maxOf(dstImage);
    const int low = minOf(dstImage);
    std::vector<int> values;
    for (int j = 0; j < area.height; ++j) {
        readRow(area[0], j, area.width, values);
        for (int& v : values)
            v = v >= threshold ? high : low;
        storeRow(area[1], j, values.data(), area.enabled(j), area.width);
    }
}

IPLStatus iplGreaterS(IplImage* srcImage, int value, IplImage* dstImage) {
    return compareInto(srcImage, dstImage, [value](int v) { return v > value; });
}

IPLStatus iplLessS(IplImage* srcImage, int value, IplImage* dstImage) {
    return compareInto(srcImage, dstImage, [value](int v) { return v < value; });
}

void iplBitonalToGray(IplImage* srcImage, IplImage* dstImage, int zeroScale, int oneScale) {
    Area area({srcImage, dstImage}, Channels::Colour, false);
    if (!area || srcImage->depth != IPL_DEPTH_1U || area[1].laneCount != 1 || bitsOf(dstImage) == 1)
        return;
    std::vector<int> values;
    for (int j = 0; j < area.height; ++j) {
        readRow(area[0], j, area.width, values);
        for (int& v : values)
            v = v != 0 ? oneScale : zeroScale;
        storeRow(area[1], j, values.data(), area.enabled(j), area.width);
    }
}
