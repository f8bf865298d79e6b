// Resizing: nearest neighbour, linear and super-sampling, with fast paths for the common 8-bit cases.

#include "ipl/IplGeometry.h"
#include "ipl/IplLoops.h"
#include "ipl/IplRows.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>
#include <vector>

#include <emmintrin.h>

using namespace ipl;

namespace {

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
