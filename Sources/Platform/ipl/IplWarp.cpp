// Affine warping, and the bounds and coefficients of affine maps.

#include "ipl/IplGeometry.h"
#include "ipl/IplLoops.h"
#include "ipl/IplRows.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include <emmintrin.h>

using namespace ipl;

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

// Whether start + i * step stays below 2^30 in magnitude for every i in [0, count].
bool withinFixedRange(double start, double step, int count) {
    constexpr double Limit = 1073741824.0; // 2^30
    return std::abs(start) < Limit && std::abs(start + step * count) < Limit;
}

// The common warp: 8-bit pixels of 4 channels, all taking part, no mask on the destination. The sampling point
// steps along a row in 32.32 fixed point; where its four pixels lie inside the source (every pixel covered) the
// weights come straight from its fraction, and only the outline goes through the general geometry.
void warpBytes4(const Warp& w, const IplImage* image, int rowOffset, const Part& target, int dx, int dy, int dw,
                int dh) {
    constexpr double One = 4294967296.0; // 2^32
    const double stepX = w.coeffs[1][1] / w.det;
    const double stepY = -w.coeffs[1][0] / w.det;
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
        // The fixed-point walk serves rows whose sampling points all stay well inside 32 bits of whole pixels;
        // the others (points far outside any source) take the general path.
        const bool fixedRow = withinFixedRange(xs, stepX, dw) && withinFixedRange(ys, stepY, dw);
        const long long fixedStepX = fixedRow ? std::llround(stepX * One) : 0;
        const long long fixedStepY = fixedRow ? std::llround(stepY * One) : 0;
        long long fixedX = fixedRow ? std::llround(xs * One) : 0;
        long long fixedY = fixedRow ? std::llround(ys * One) : 0;
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
            if (fixedRow && x0 >= w.sx && x0 < lastX && y0 >= w.sy && y0 < lastY) {
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
