// Geometric transforms: resizing, mirroring and affine warping. Every channel moves, alpha included, unless a
// channel of interest is set. One-bit images are sampled as 0 and 1, and a result of at least one half sets
// the bit. The output may be the source itself.

#include "ipl/IplLoops.h"
#include "ipl/IplRows.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstring>
#include <vector>

#include <emmintrin.h>

using namespace ipl;

namespace {

bool prepareGeometry(Area& area) {
    if (!area || !sameDepth(area))
        return false;
    if (area.overlapping(0, 1))
        area.snapshot(0, area[0].image->height);
    return true;
}

// Where the output pixels of one axis take their source pixels from, for resizing by dst/src. Each output
// index i has entries [offsets[i], offsets[i + 1]) of (source index, weight); the weights of one output pixel
// sum to `total`.
struct AxisMap {
    std::vector<int> offsets;
    std::vector<int> sources;
    std::vector<long long> weights;
    long long total = 1;
};

// Nearest: i * src / dst rounded, exact halves down. Linear: the two pixels around i * src / dst, weighted out of
// 2048. Super-sampling: output pixel i covers [i * src, (i + 1) * src) in units of 1/dst source pixels, and
// each source pixel counts by how much of it lies inside.
AxisMap axisMap(int mode, int outputs, int dst, int src, int size) {
    AxisMap map;
    map.total = mode == IPL_INTER_NN ? 1 : mode == IPL_INTER_SUPER ? src : 2048;
    for (int i = 0; i < outputs; ++i) {
        map.offsets.push_back(static_cast<int>(map.sources.size()));
        auto add = [&](int source, long long weight) {
            map.sources.push_back(std::min(source, size - 1));
            map.weights.push_back(weight);
        };
        if (mode == IPL_INTER_NN) {
            add(static_cast<int>((2LL * i * src + dst - 1) / (2LL * dst)), 1);
        } else if (mode == IPL_INTER_SUPER) {
            const long long from = static_cast<long long>(i) * src;
            const long long to = from + src;
            for (long long k = from / dst; k * dst < to && k < size; ++k)
                add(static_cast<int>(k), std::max<long long>(std::min(to, (k + 1) * dst) - std::max(from, k * dst), 0));
        } else {
            const long long position = static_cast<long long>(i) * src * 2048 / dst;
            const int first = std::min(static_cast<int>(position / 2048), size - 1);
            add(first, 2048 - position % 2048);
            add(first + 1, position % 2048);
        }
    }
    map.offsets.push_back(static_cast<int>(map.sources.size()));
    return map;
}

// One source row filtered across: each output column's weighted sum (not yet divided).
void filterAcross(const std::vector<int>& row, const AxisMap& across, int lanes, std::vector<long long>& out) {
    const std::size_t outputs = across.offsets.size() - 1;
    out.assign(outputs * static_cast<std::size_t>(lanes), 0);
    for (std::size_t i = 0; i < outputs; ++i)
        for (int k = across.offsets[i]; k < across.offsets[i + 1]; ++k) {
            const long long w = across.weights[static_cast<std::size_t>(k)];
            const int* source = row.data() + across.sources[static_cast<std::size_t>(k)] * lanes;
            long long* target = out.data() + i * static_cast<std::size_t>(lanes);
            for (int c = 0; c < lanes; ++c)
                target[c] += w * source[c];
        }
}

// Source rows filtered across, kept while later output rows may still need them (rows are used in order).
class FilteredRows {
public:
    FilteredRows(const Part& part, int width, const AxisMap& across, int lanes)
        : m_part(part), m_width(width), m_across(across), m_lanes(lanes) {}

    const std::vector<long long>& row(int y) {
        for (const auto& [index, filtered] : m_cache)
            if (index == y)
                return filtered;
        if (m_cache.size() >= 4)
            m_cache.erase(m_cache.begin());
        readRow(m_part, y, m_width, m_raw);
        m_cache.emplace_back(y, std::vector<long long>());
        filterAcross(m_raw, m_across, m_lanes, m_cache.back().second);
        return m_cache.back().second;
    }

private:
    const Part& m_part;
    int m_width;
    const AxisMap& m_across;
    int m_lanes;
    std::vector<int> m_raw;
    std::vector<std::pair<int, std::vector<long long>>> m_cache;
};

// Nearest-neighbour resizing of whole pixels: each output pixel is a copy of its source pixel's bytes.
template <std::size_t Bytes>
void pickPixels(const char* from, char* to, const int* sources, const std::uint8_t* enabled, int width) {
    for (int i = 0; i < width; ++i)
        if (enabled == nullptr || enabled[i] != 0)
            std::memcpy(to + i * Bytes, from + sources[i] * Bytes, Bytes);
}

// Every other four-byte pixel from `from` on: the even pixels of each eight, four at a time in SSE2. A group
// also reads the odd pixel after its last one, so the last group is left to the plain loop: nothing is read
// beyond the last pixel taken.
void pickEveryOtherPixel(const char* from, char* to, int width) {
    int i = 0;
    for (; i + 4 < width; i += 4) {
        const __m128 a = _mm_loadu_ps(reinterpret_cast<const float*>(from + 8 * i));
        const __m128 b = _mm_loadu_ps(reinterpret_cast<const float*>(from + 8 * i + 16));
        _mm_storeu_ps(reinterpret_cast<float*>(to + 4 * i), _mm_shuffle_ps(a, b, _MM_SHUFFLE(2, 0, 2, 0)));
    }
    for (; i < width; ++i)
        std::memcpy(to + 4 * i, from + 8 * i, 4);
}

// Whether the map takes every other source pixel from its first one on (halving).
bool everyOther(const AxisMap& map, int outputs) {
    for (int i = 1; i < outputs; ++i)
        if (map.sources[static_cast<std::size_t>(i)] != map.sources[0] + 2 * i)
            return false;
    return true;
}

void pickNearest(const Part& source, const Part& target, const AxisMap& across, const AxisMap& down, Area& targetArea,
                 int width, int height) {
    const std::size_t pixelBytes = static_cast<std::size_t>(source.pixelElements * bitsOf(source.image) / 8);
    const bool halving = pixelBytes == 4 && everyOther(across, width);
    for (int j = 0; j < height; ++j) {
        const char* from = source.row<char>(down.sources[static_cast<std::size_t>(j)]);
        char* to = target.row<char>(j);
        const std::uint8_t* enabled = targetArea.masked() ? targetArea.enabled(j) : nullptr;
        if (enabled == nullptr && j > 0 && down.sources[static_cast<std::size_t>(j)] == down.sources[j - 1u]) {
            std::memcpy(to, target.row<char>(j - 1), pixelBytes * static_cast<std::size_t>(width)); // enlarging
            continue;
        }
        const int* sources = across.sources.data();
        if (halving && enabled == nullptr) {
            pickEveryOtherPixel(from + sources[0] * 4, to, width);
            continue;
        }
        switch (pixelBytes) { // the usual pixel sizes get a copy of constant size
        case 4:
            pickPixels<4>(from, to, sources, enabled, width);
            break;
        case 3:
            pickPixels<3>(from, to, sources, enabled, width);
            break;
        case 1:
            pickPixels<1>(from, to, sources, enabled, width);
            break;
        default:
            for (int i = 0; i < width; ++i)
                if (enabled == nullptr || enabled[i] != 0)
                    std::memcpy(to + i * pixelBytes, from + sources[i] * pixelBytes, pixelBytes);
            break;
        }
    }
}

// One output row of halving four-channel 8-bit pixels: each output pixel is the rounded mean of a 2 x 2 block
// from rows a and b, two output pixels at a time in SSE2 with 16-bit sums.
void halveFourChannelRows(const std::uint8_t* a, const std::uint8_t* b, std::uint8_t* out, int width) {
    const __m128i zero = _mm_setzero_si128();
    const __m128i two = _mm_set1_epi16(2);
    int i = 0;
    for (; i + 2 <= width; i += 2) {
        const __m128i top = _mm_loadu_si128(reinterpret_cast<const __m128i*>(a + i * 8));
        const __m128i bottom = _mm_loadu_si128(reinterpret_cast<const __m128i*>(b + i * 8));
        const __m128i left = _mm_add_epi16(_mm_unpacklo_epi8(top, zero), _mm_unpacklo_epi8(bottom, zero));
        const __m128i right = _mm_add_epi16(_mm_unpackhi_epi8(top, zero), _mm_unpackhi_epi8(bottom, zero));
        const __m128i sums = _mm_unpacklo_epi64(_mm_add_epi16(left, _mm_srli_si128(left, 8)),
                                                _mm_add_epi16(right, _mm_srli_si128(right, 8)));
        const __m128i means = _mm_srli_epi16(_mm_add_epi16(sums, two), 2);
        _mm_storel_epi64(reinterpret_cast<__m128i*>(out + i * 4), _mm_packus_epi16(means, zero));
    }
    for (; i < width; ++i)
        for (int c = 0; c < 4; ++c)
            out[i * 4 + c] =
                static_cast<std::uint8_t>((a[i * 8 + c] + a[i * 8 + 4 + c] + b[i * 8 + c] + b[i * 8 + 4 + c] + 2) >> 2);
}

// Shrinking 8-bit images whose every channel takes part by whole factors with super-sampling: each output pixel
// is the rounded mean of its kx x ky block, from column sums of ky rows.
void shrinkBlocks(const Part& source, const Part& target, Area& targetArea, int kx, int ky, int width, int height) {
    const int pe = source.pixelElements;
    if (kx == 2 && ky == 2 && pe == 4 && !targetArea.masked() && target.image->depth == IPL_DEPTH_8U) {
        for (int j = 0; j < height; ++j)
            halveFourChannelRows(source.row<std::uint8_t>(2 * j), source.row<std::uint8_t>(2 * j + 1),
                                 target.row<std::uint8_t>(j), width);
        return;
    }
    const int n = width * kx * pe;
    const int divisor = kx * ky;
    const int shift = (divisor & (divisor - 1)) == 0 ? std::countr_zero(static_cast<unsigned>(divisor)) : -1;
    std::vector<int> columns(static_cast<std::size_t>(n));
    std::vector<int> values(static_cast<std::size_t>(width * pe));
    for (int j = 0; j < height; ++j) {
        std::fill(columns.begin(), columns.end(), 0);
        for (int r = 0; r < ky; ++r) {
            const std::uint8_t* row = source.row<std::uint8_t>(j * ky + r);
            int* c = columns.data();
            for (int k = 0; k < n; ++k)
                c[k] += row[k];
        }
        const int* col = columns.data();
        int* out = values.data();
        if (kx == 2) { // halving, the usual case, as a plain loop
            for (int i = 0; i < width; ++i)
                for (int c = 0; c < pe; ++c)
                    out[i * pe + c] = col[2 * i * pe + c] + col[(2 * i + 1) * pe + c] + divisor / 2;
        } else {
            for (int i = 0; i < width; ++i)
                for (int c = 0; c < pe; ++c) {
                    int sum = divisor / 2;
                    for (int u = 0; u < kx; ++u)
                        sum += col[(i * kx + u) * pe + c];
                    out[i * pe + c] = sum;
                }
        }
        // The usual factors make a power of two, divided by a shift.
        if (shift >= 0)
            for (int& v : values)
                v >>= shift;
        else
            for (int& v : values)
                v /= divisor;
        storeRow(target, j, values.data(), targetArea.masked() ? targetArea.enabled(j) : nullptr, width);
    }
}

// Resizing of any depth and channel selection: rows filtered across once, then weighted sums down.
void resizeGeneric(const Part& source, const Part& target, const AxisMap& across, const AxisMap& down, Area& targetArea,
                   int width, int height, int sourceWidth) {
    const int lanes = source.laneCount;
    const long long divisor = across.total * down.total;
    const int shift = (divisor & (divisor - 1)) == 0 ? std::countr_zero(static_cast<unsigned long long>(divisor)) : -1;
    FilteredRows rows(source, sourceWidth, across, lanes);
    std::vector<long long> sums(static_cast<std::size_t>(width * lanes));
    std::vector<int> out(sums.size());
    for (int j = 0; j < height; ++j) {
        std::fill(sums.begin(), sums.end(), 0);
        for (int k = down.offsets[static_cast<std::size_t>(j)]; k < down.offsets[static_cast<std::size_t>(j) + 1];
             ++k) {
            const long long w = down.weights[static_cast<std::size_t>(k)];
            if (w == 0)
                continue;
            const std::vector<long long>& filtered = rows.row(down.sources[static_cast<std::size_t>(k)]);
            for (std::size_t n = 0; n < sums.size(); ++n)
                sums[n] += w * filtered[n];
        }
        if (shift >= 0) // the usual divisors (linear weights, halving) are powers of two
            for (std::size_t n = 0; n < sums.size(); ++n)
                out[n] = static_cast<int>((sums[n] + divisor / 2) >> shift);
        else
            for (std::size_t n = 0; n < sums.size(); ++n)
                out[n] = static_cast<int>((sums[n] + divisor / 2) / divisor);
        storeRow(target, j, out.data(), targetArea.masked() ? targetArea.enabled(j) : nullptr, width);
    }
}

// One row of 8-bit pixels of `Lanes` channels filtered across: each output pixel is its two source pixels
// weighted out of 2048.
template <int Lanes>
void filterBytesAcross(const std::uint8_t* row, const int* first, const int* weight, int width, int* out) {
    for (int i = 0; i < width; ++i) {
        const std::uint8_t* p = row + first[i] * Lanes;
        const int w = weight[i];
        for (int c = 0; c < Lanes; ++c)
            out[i * Lanes + c] = p[c] * (2048 - w) + p[c + Lanes] * w;
    }
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

// The four-channel case in SSE2: the pixel pair interleaved channel by channel and multiplied with the weight
// pair in one multiply-add, which leaves the four channel sums.
template <>
void filterBytesAcross<4>(const std::uint8_t* row, const int* first, const int* weight, int width, int* out) {
    for (int i = 0; i < width; ++i) {
        const std::uint8_t* p = row + first[i] * 4;
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i * 4),
                         _mm_madd_epi16(pixelPair(p, p + 4), weightPair(weight[i], 2048)));
    }
}

using FilterBytes = void (*)(const std::uint8_t*, const int*, const int*, int, int*);

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

// One output row from two rows filtered across: (t * (2048 - wy) + b * wy) / 2^22 rounded, sixteen values at a
// time.
void blendRowsDown(const int* t, const int* b, int wy, std::uint8_t* out, int n) {
    const __m128i weights = weightPair(wy, 2048);
    auto four = [&](int k) {
        return roundedDown(_mm_loadu_si128(reinterpret_cast<const __m128i*>(t + k)),
                           _mm_loadu_si128(reinterpret_cast<const __m128i*>(b + k)), weights);
    };
    int k = 0;
    for (; k + 16 <= n; k += 16) {
        const __m128i words = _mm_packs_epi32(four(k), four(k + 4));
        const __m128i more = _mm_packs_epi32(four(k + 8), four(k + 12));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + k), _mm_packus_epi16(words, more));
    }
    for (; k < n; ++k)
        out[k] = static_cast<std::uint8_t>((t[k] * (2048 - wy) + b[k] * wy + (1 << 21)) >> 22);
}

// Bilinear resizing of 8-bit images whose every channel takes part, in 32-bit fixed point: rows are filtered
// across with weights out of 2048, then pairs of them down, and the sum (out of 2^22) is rounded. The last
// source column stands in for the one beyond it, so every pair is two neighbouring pixels in memory.
void resizeLinearBytes(const Part& source, const Part& target, const AxisMap& across, const AxisMap& down,
                       Area& targetArea, int width, int height, int sourceWidth) {
    const int lanes = source.pixelElements;
    const int n = width * lanes;
    std::vector<int> first(static_cast<std::size_t>(width)), weight(static_cast<std::size_t>(width));
    for (int i = 0; i < width; ++i) {
        const std::size_t entry = static_cast<std::size_t>(across.offsets[static_cast<std::size_t>(i)]);
        const int x = across.sources[entry];
        const int w = static_cast<int>(across.weights[entry + 1]);
        // At the right edge both pixels are the last one: take it whole from its left neighbour's pair.
        const bool last = x + 1 >= sourceWidth;
        first[static_cast<std::size_t>(i)] = last ? std::max(x - 1, 0) : x;
        weight[static_cast<std::size_t>(i)] = last ? (x > 0 ? 2048 : 0) : w;
    }
    const FilterBytes filterRow = lanes == 4   ? filterBytesAcross<4>
                                  : lanes == 3 ? filterBytesAcross<3>
                                  : lanes == 1 ? filterBytesAcross<1>
                                               : nullptr;
    if (filterRow == nullptr || sourceWidth < 2)
        return resizeGeneric(source, target, across, down, targetArea, width, height, sourceWidth);
    std::array<std::vector<int>, 2> filtered{std::vector<int>(static_cast<std::size_t>(n)),
                                             std::vector<int>(static_cast<std::size_t>(n))};
    std::array<int, 2> filteredRow{-1, -1};
    auto filter = [&](int y) -> const int* {
        for (std::size_t k = 0; k < 2; ++k)
            if (filteredRow[k] == y)
                return filtered[k].data();
        const std::size_t slot = filteredRow[0] < filteredRow[1] ? 0 : 1;
        filterRow(source.row<std::uint8_t>(y), first.data(), weight.data(), width, filtered[slot].data());
        filteredRow[slot] = y;
        return filtered[slot].data();
    };
    std::vector<int> values(static_cast<std::size_t>(n));
    for (int j = 0; j < height; ++j) {
        const std::size_t entry = static_cast<std::size_t>(down.offsets[static_cast<std::size_t>(j)]);
        const int wy = static_cast<int>(down.weights[entry + 1]);
        const int* t = filter(down.sources[entry]);
        const int* b = wy == 0 ? t : filter(down.sources[entry + 1]); // rows met exactly need no partner
        // The weights sum to 2^22, so the results lie in 0..255: they go straight into a plain target row.
        if (!targetArea.masked() && target.image->depth == IPL_DEPTH_8U && target.allLanes) {
            std::uint8_t* out = target.row<std::uint8_t>(j);
            if (wy == 0) // a source row met exactly, without the multiplications
                for (int k = 0; k < n; ++k)
                    out[k] = static_cast<std::uint8_t>((t[k] + (1 << 10)) >> 11);
            else
                blendRowsDown(t, b, wy, out, n);
            continue;
        }
        int* v = values.data();
        for (int k = 0; k < n; ++k)
            v[k] = (t[k] * (2048 - wy) + b[k] * wy + (1 << 21)) >> 22;
        storeRow(target, j, values.data(), targetArea.masked() ? targetArea.enabled(j) : nullptr, width);
    }
}

} // namespace

// Scales the source region by xDst/xSrc across and yDst/ySrc down (the destination's size does not set the
// scale; the result is clipped to its region). Source pixel positions are i * src / dst, without a half-pixel
// shift. Cubic interpolation is done as linear. Rows are filtered across once, then combined down.
void iplResize(IplImage* srcImage, IplImage* dstImage, int xDst, int xSrc, int yDst, int ySrc, int interpolate) {
    if (xDst < 1 || xSrc < 1 || yDst < 1 || ySrc < 1)
        return;
    Area area({srcImage, dstImage}, Channels::All);
    if (!prepareGeometry(area))
        return;
    const Part& s = area[0];
    const IplROI* sroi = srcImage->roi;
    const int sw = sroi != nullptr ? std::min(sroi->width, srcImage->width - s.x) : srcImage->width;
    const int sh = sroi != nullptr ? std::min(sroi->height, srcImage->height - s.y) : srcImage->height;
    const IplROI* droi = dstImage->roi;
    const int dw = droi != nullptr ? std::min(droi->width, dstImage->width - area[1].x) : dstImage->width;
    const int dh = droi != nullptr ? std::min(droi->height, dstImage->height - area[1].y) : dstImage->height;
    const int width = std::min(static_cast<int>(static_cast<long long>(sw) * xDst / xSrc), dw);
    const int height = std::min(static_cast<int>(static_cast<long long>(sh) * yDst / ySrc), dh);
    if (width < 1 || height < 1 || sw < 1 || sh < 1)
        return;
    int mode = interpolate & ~IPL_SMOOTH_EDGE;
    if (mode == IPL_INTER_CUBIC)
        mode = IPL_INTER_LINEAR;
    // Shrinking by whole factors puts every linear sample on a source pixel: that is the nearest one.
    if (mode == IPL_INTER_LINEAR && xSrc % xDst == 0 && ySrc % yDst == 0)
        mode = IPL_INTER_NN;
    const AxisMap across = axisMap(mode, width, xDst, xSrc, sw);
    const AxisMap down = axisMap(mode, height, yDst, ySrc, sh);
    Area target({dstImage});
    if (mode == IPL_INTER_NN && bitsOf(srcImage) > 1 && s.allLanes && area[1].allLanes) {
        pickNearest(s, area[1], across, down, target, width, height);
        return;
    }
    const bool plainBytes = srcImage->depth == IPL_DEPTH_8U && s.allLanes && area[1].allLanes;
    if (mode == IPL_INTER_SUPER && plainBytes && xDst == 1 && yDst == 1 && width * xSrc <= sw && height * ySrc <= sh) {
        shrinkBlocks(s, area[1], target, xSrc, ySrc, width, height);
        return;
    }
    if (mode == IPL_INTER_LINEAR && plainBytes) {
        resizeLinearBytes(s, area[1], across, down, target, width, height, sw);
        return;
    }
    resizeGeneric(s, area[1], across, down, target, width, height, sw);
}

// Axis 0 swaps rows (top and bottom), 1 swaps columns (left and right), -1 both.
void iplMirror(IplImage* srcImage, IplImage* dstImage, int flipAxis) {
    if (flipAxis < -1 || flipAxis > 1)
        return;
    Area area({srcImage, dstImage}, Channels::All);
    if (!prepareGeometry(area))
        return;
    const int lanes = area[0].laneCount;
    std::vector<int> row;
    std::vector<int> out(static_cast<std::size_t>(area.width * lanes));
    for (int j = 0; j < area.height; ++j) {
        readRow(area[0], flipAxis == 1 ? j : area.height - 1 - j, area.width, row);
        for (int i = 0; i < area.width; ++i) {
            const int from = flipAxis == 0 ? i : area.width - 1 - i;
            for (int c = 0; c < lanes; ++c)
                out[static_cast<std::size_t>(i * lanes + c)] = row[static_cast<std::size_t>(from * lanes + c)];
        }
        storeRow(area[1], j, out.data(), area.enabled(j), area.width);
    }
}

namespace {

// The region of interest of an image as (x, y, w, h), the whole image when none is set.
void regionOf(const IplImage* image, int& x, int& y, int& w, int& h) {
    x = y = 0;
    w = image->width;
    h = image->height;
    if (image->roi != nullptr) {
        x = std::clamp(image->roi->xOffset, 0, image->width);
        y = std::clamp(image->roi->yOffset, 0, image->height);
        w = std::clamp(image->roi->width, 0, image->width - x);
        h = std::clamp(image->roi->height, 0, image->height - y);
    }
}

// How much of the unit footprint centred at v lies within [low - 0.5, high + 0.5].
double overlap(double v, double low, double high) {
    return std::clamp(std::min(v + 0.5, high + 0.5) - std::max(v - 0.5, low - 0.5), 0.0, 1.0);
}

} // namespace

namespace {

// What one warp needs: the inverse map, the source region and how pixels are sampled.
struct Warp {
    double det;
    const double (*coeffs)[3];
    int sx, sy, sw, sh;
    bool smooth;
    bool linear;
    int lanes;
};

// Where a destination pixel samples the source: the clamped point's surrounding pixels, its fractions, and how
// much of the destination pixel the source covers. False when the pixel is not drawn at all.
struct SamplePoint {
    int x0, y0, x1, y1;
    double fx, fy;
    double coverage;
};

bool samplePoint(const Warp& w, double xs, double ys, SamplePoint& p) {
    const int lastX = w.sx + w.sw - 1;
    const int lastY = w.sy + w.sh - 1;
    p.coverage = w.smooth ? overlap(xs, w.sx, lastX) * overlap(ys, w.sy, lastY) : 1.0;
    const bool centreInside = xs >= w.sx - 0.5 && xs < lastX + 0.5 && ys >= w.sy - 0.5 && ys < lastY + 0.5;
    if (!(w.smooth ? p.coverage > 0 : centreInside))
        return false;
    const double cx = std::clamp(xs, double(w.sx), double(lastX));
    const double cy = std::clamp(ys, double(w.sy), double(lastY));
    p.x0 = static_cast<int>(cx);
    p.y0 = static_cast<int>(cy);
    p.x1 = std::min(p.x0 + 1, lastX);
    p.y1 = std::min(p.y0 + 1, lastY);
    p.fx = cx - p.x0;
    p.fy = cy - p.y0;
    return true;
}

// Warps the destination rows; `value(x, y, c)` reads lane c of source pixel (x, y) in image coordinates.
template <class Value>
void warpRows(const Warp& w, const Part& target, int dx, int dy, int dw, int dh, Area& destination, Value value) {
    std::vector<int> existing;
    std::vector<int> out;
    const double stepX = w.coeffs[1][1] / w.det; // source x per destination column
    const double stepY = -w.coeffs[1][0] / w.det;
    for (int j = 0; j < dh; ++j) {
        readRow(target, j, dw, existing);
        out = existing;
        const double u = dx - w.coeffs[0][2];
        const double v = dy + j - w.coeffs[1][2];
        double xs = (w.coeffs[1][1] * u - w.coeffs[0][1] * v) / w.det;
        double ys = (-w.coeffs[1][0] * u + w.coeffs[0][0] * v) / w.det;
        for (int i = 0; i < dw; ++i, xs += stepX, ys += stepY) {
            SamplePoint p;
            if (!samplePoint(w, xs, ys, p))
                continue;
            const int nx = p.fx < 0.5 ? p.x0 : p.x1; // the nearest pixel; an exact half goes up
            const int ny = p.fy < 0.5 ? p.y0 : p.y1;
            for (int c = 0; c < w.lanes; ++c) {
                double sample;
                if (w.linear)
                    sample = (value(p.x0, p.y0, c) * (1 - p.fx) + value(p.x1, p.y0, c) * p.fx) * (1 - p.fy) +
                             (value(p.x0, p.y1, c) * (1 - p.fx) + value(p.x1, p.y1, c) * p.fx) * p.fy;
                else
                    sample = value(nx, ny, c);
                const std::size_t k = static_cast<std::size_t>(i * w.lanes + c);
                if (p.coverage < 1)
                    sample = sample * p.coverage + existing[k] * (1 - p.coverage);
                out[k] = static_cast<int>(sample + 0.5);
            }
        }
        storeRow(target, j, out.data(), destination.masked() ? destination.enabled(j) : nullptr, dw);
    }
}

// One output pixel from the four source pixels around the sampling point, weights out of 2048, blended with
// what was there by `coverage` (out of 256). Each row pair is one multiply-add, the step down two.
inline void blendSample(const std::uint8_t* top, const std::uint8_t* bottom, int x0, int x1, int fx, int fy,
                        int coverage, std::uint8_t* pixel) {
    const __m128i across = weightPair(fx, 2048);
    const __m128i upper = _mm_madd_epi16(pixelPair(top + x0 * 4, top + x1 * 4), across);
    const __m128i lower = _mm_madd_epi16(pixelPair(bottom + x0 * 4, bottom + x1 * 4), across);
    __m128i sample = roundedDown(upper, lower, weightPair(fy, 2048));
    if (coverage < 256) {
        std::int32_t was;
        std::memcpy(&was, pixel, 4);
        const __m128i zero = _mm_setzero_si128();
        const __m128i existing = _mm_unpacklo_epi16(_mm_unpacklo_epi8(_mm_cvtsi32_si128(was), zero), zero);
        const __m128i pairs = _mm_or_si128(sample, _mm_slli_epi32(existing, 16)); // sample, existing per channel
        sample = _mm_srli_epi32(
            _mm_add_epi32(_mm_madd_epi16(pairs, weightPair(256 - coverage, 256)), _mm_set1_epi32(128)), 8);
    }
    const __m128i bytes = _mm_packus_epi16(_mm_packs_epi32(sample, sample), sample);
    const std::int32_t value = _mm_cvtsi128_si32(bytes);
    std::memcpy(pixel, &value, 4);
}

// Narrows [first, end) to the columns i whose coordinate start + i * step lies within a pixel and a half of
// [low, high] (beyond that no footprint reaches the source); returns the new first column.
int columnsNear(double start, double step, int low, int high, int first, int& end) {
    const double from = low - 1.5 - start, to = high + 1.5 - start;
    if (step == 0) {
        if (from > 0 || to < 0)
            end = first;
        return first;
    }
    double a = from / step, b = to / step;
    if (a > b)
        std::swap(a, b);
    const double limit = end;
    end = std::min(end, static_cast<int>(std::clamp(std::ceil(b) + 1, -1.0, limit)));
    return std::max(first, static_cast<int>(std::clamp(std::floor(a) - 1, -1.0, limit)));
}

// The common warp: 8-bit pixels of 4 channels, all taking part, no mask on the destination. The sampling point
// steps along a row in 32.32 fixed point; where its four pixels lie inside the source (every pixel covered) the
// weights come straight from its fraction, and only the outline goes through the general geometry.
void warpBytes4(const Warp& w, const IplImage* image, int rowOffset, const Part& target, int dx, int dy, int dw,
                int dh) {
    constexpr double One = 4294967296.0; // 2^32
    const double stepX = w.coeffs[1][1] / w.det;
    const double stepY = -w.coeffs[1][0] / w.det;
    const auto fixedStepX = static_cast<long long>(std::llround(stepX * One));
    const auto fixedStepY = static_cast<long long>(std::llround(stepY * One));
    const int lastX = w.sx + w.sw - 1;
    const int lastY = w.sy + w.sh - 1;
    auto rowOf = [&](int y) {
        return reinterpret_cast<const std::uint8_t*>(image->imageData +
                                                     static_cast<long>(y + rowOffset) * image->widthStep);
    };
    auto nearest = [&](int& f) {
        f = w.linear ? f : (f >= 1024 ? 2048 : 0);
    };
    for (int j = 0; j < dh; ++j) {
        std::uint8_t* out = target.row<std::uint8_t>(j);
        const double u = dx - w.coeffs[0][2];
        const double v = dy + j - w.coeffs[1][2];
        double xs = (w.coeffs[1][1] * u - w.coeffs[0][1] * v) / w.det;
        double ys = (-w.coeffs[1][0] * u + w.coeffs[0][0] * v) / w.det;
        long long fixedX = std::llround(xs * One);
        long long fixedY = std::llround(ys * One);
        // Columns whose sampling point lies a pixel or more beyond the source draw nothing: skip them.
        int end = dw;
        int i = columnsNear(xs, stepX, w.sx, lastX, columnsNear(ys, stepY, w.sy, lastY, 0, end), end);
        for (int k = 0; k < i; ++k) { // the same sums as stepping through the skipped columns
            xs += stepX;
            ys += stepY;
            fixedX += fixedStepX;
            fixedY += fixedStepY;
        }
        for (; i < end; ++i, xs += stepX, ys += stepY, fixedX += fixedStepX, fixedY += fixedStepY) {
            const int x0 = static_cast<int>(fixedX >> 32);
            const int y0 = static_cast<int>(fixedY >> 32);
            if (x0 >= w.sx && x0 < lastX && y0 >= w.sy && y0 < lastY) {
                int fx = static_cast<int>((fixedX >> 21) & 2047);
                int fy = static_cast<int>((fixedY >> 21) & 2047);
                nearest(fx);
                nearest(fy);
                blendSample(rowOf(y0), rowOf(y0 + 1), x0, x0 + 1, fx, fy, 256, out + i * 4);
                continue;
            }
            SamplePoint p;
            if (!samplePoint(w, xs, ys, p))
                continue;
            const int coverage = static_cast<int>(p.coverage * 256 + 0.5);
            if (coverage == 0)
                continue;
            int fx = static_cast<int>(p.fx * 2048 + 0.5);
            int fy = static_cast<int>(p.fy * 2048 + 0.5);
            nearest(fx);
            nearest(fy);
            blendSample(rowOf(p.y0), rowOf(p.y1), p.x0, p.x1, fx, fy, coverage, out + i * 4);
        }
    }
}

} // namespace

// Maps the source region by the coefficients (source to destination) into the destination region, sampling
// backwards: a destination pixel whose centre maps into the source region's pixels is drawn; with
// IPL_SMOOTH_EDGE, pixels on the outline are blended with what was there by how much of them the source covers.
// Pixels outside stay as they were.
void iplWarpAffine(IplImage* srcImage, IplImage* dstImage, const double coeffs[2][3], int interpolate) {
    Area area({srcImage, dstImage}, Channels::All);
    if (coeffs == nullptr || !area || !sameDepth(area))
        return;
    const double det = coeffs[0][0] * coeffs[1][1] - coeffs[0][1] * coeffs[1][0];
    if (std::abs(det) < 1e-12)
        return;
    if (area.overlapping(0, 1))
        area.snapshot(0, srcImage->height);
    Warp w{det,
           coeffs,
           0,
           0,
           0,
           0,
           (interpolate & IPL_SMOOTH_EDGE) != 0,
           (interpolate & ~IPL_SMOOTH_EDGE) != IPL_INTER_NN,
           area[0].laneCount};
    int dx, dy, dw, dh;
    regionOf(srcImage, w.sx, w.sy, w.sw, w.sh);
    regionOf(dstImage, dx, dy, dw, dh);
    if (w.sw < 1 || w.sh < 1)
        return;
    const Part& source = area[0];
    const IplImage* image = source.image;
    const int rowOffset = area[0].y - w.sy; // a snapshot starts at another row than the image
    Part target = area[1];
    target.x = dx;
    target.y = dy;
    Area destination({dstImage}, Channels::All);
    if (image->depth == IPL_DEPTH_8U && source.pixelElements == 4 && source.allLanes && target.allLanes &&
        !destination.masked()) {
        warpBytes4(w, image, rowOffset, target, dx, dy, dw, dh);
        return;
    }
    if (bitsOf(image) == 1) {
        warpRows(w, target, dx, dy, dw, dh, destination,
                 [&](int x, int y, int) { return bitAt(image, x, y + rowOffset) ? 1 : 0; });
        return;
    }
    withDepth(image->depth, [&](auto type) {
        using T = decltype(type);
        warpRows(w, target, dx, dy, dw, dh, destination, [&](int x, int y, int c) {
            const T* row =
                reinterpret_cast<const T*>(image->imageData + static_cast<long>(y + rowOffset) * image->widthStep);
            return static_cast<int>(row[x * source.pixelElements + source.lanes[c]]);
        });
    });
}

// The bounding rectangle of the transformed region: its corners are the first and last pixel centres.
void iplGetAffineBound(IplImage* image, const double coeffs[2][3], double rect[2][2]) {
    if (image == nullptr || coeffs == nullptr || rect == nullptr)
        return;
    int x, y, w, h;
    regionOf(image, x, y, w, h);
    const double corners[4][2] = {{double(x), double(y)},
                                  {double(x + w - 1), double(y)},
                                  {double(x + w - 1), double(y + h - 1)},
                                  {double(x), double(y + h - 1)}};
    rect[0][0] = rect[0][1] = 1e300;
    rect[1][0] = rect[1][1] = -1e300;
    for (const auto& corner : corners) {
        const double tx = coeffs[0][0] * corner[0] + coeffs[0][1] * corner[1] + coeffs[0][2];
        const double ty = coeffs[1][0] * corner[0] + coeffs[1][1] * corner[1] + coeffs[1][2];
        rect[0][0] = std::min(rect[0][0], tx);
        rect[0][1] = std::min(rect[0][1], ty);
        rect[1][0] = std::max(rect[1][0], tx);
        rect[1][1] = std::max(rect[1][1], ty);
    }
}

// The coefficients that map the region's corner pixel centres onto the quadrangle (top-left, top-right,
// bottom-right, bottom-left); vertices 0, 1 and 3 fix the map.
void iplGetAffineTransform(IplImage* image, double coeffs[2][3], const double quad[4][2]) {
    if (image == nullptr || coeffs == nullptr || quad == nullptr)
        return;
    int x, y, w, h;
    regionOf(image, x, y, w, h);
    const double across = std::max(w - 1, 1);
    const double down = std::max(h - 1, 1);
    coeffs[0][0] = (quad[1][0] - quad[0][0]) / across;
    coeffs[1][0] = (quad[1][1] - quad[0][1]) / across;
    coeffs[0][1] = (quad[3][0] - quad[0][0]) / down;
    coeffs[1][1] = (quad[3][1] - quad[0][1]) / down;
    coeffs[0][2] = quad[0][0] - x * coeffs[0][0] - y * coeffs[0][1];
    coeffs[1][2] = quad[0][1] - x * coeffs[1][0] - y * coeffs[1][1];
}
