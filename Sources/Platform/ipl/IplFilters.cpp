// Box blur, the fixed convolution filters and dilation. Pixels beyond the image's edges come from its border
// modes (constant 0 unless set). Each source row is read once, before the rows that depend on it are written,
// so the output may be the source itself.

#include "ipl/IplNeighbourhood.h"
#include "ipl/IplRows.h"

#include <algorithm>
#include <array>
#include <type_traits>
#include <vector>

using namespace ipl;

namespace {

// A source and a destination for a neighbourhood operation. A destination that shares pixels with the source
// at another place gets a snapshot of the source first.
bool prepare(Area& area, int marginRows) {
    if (!area || !sameDepth(area))
        return false;
    const bool samePlace =
        area[0].image->imageData == area[1].image->imageData && area[0].x == area[1].x && area[0].y == area[1].y;
    if (area.overlapping(0, 1) && !samePlace)
        area.snapshot(0, marginRows);
    return true;
}

// Sums of `count` consecutive values of each lane along a padded row, by a running sum. The lanes run side by
// side (Lanes of them, or `lanes` when 0), which lets the compiler keep one sum per lane in a register.
template <class Sum, int Lanes>
void windowSumsOf(const int* padded, int lanes, int width, int count, Sum* sums) {
    const int L = Lanes > 0 ? Lanes : lanes;
    Sum acc[4] = {};
    for (int u = 0; u < count; ++u)
        for (int c = 0; c < L; ++c)
            acc[c] += padded[u * L + c];
    for (int i = 0; i < width; ++i) {
        for (int c = 0; c < L; ++c)
            sums[i * L + c] = acc[c];
        if (i + 1 < width)
            for (int c = 0; c < L; ++c)
                acc[c] += padded[(i + count) * L + c] - padded[i * L + c];
    }
}

template <class Sum>
void windowSums(const std::vector<int>& padded, int lanes, int width, int count, std::vector<Sum>& sums) {
    sums.resize(static_cast<std::size_t>(width * lanes));
    if (lanes == 4)
        windowSumsOf<Sum, 4>(padded.data(), lanes, width, count, sums.data());
    else if (lanes == 3)
        windowSumsOf<Sum, 3>(padded.data(), lanes, width, count, sums.data());
    else if (lanes == 1)
        windowSumsOf<Sum, 1>(padded.data(), lanes, width, count, sums.data());
    else
        windowSumsOf<Sum, 0>(padded.data(), lanes, width, count, sums.data());
}

struct Kernel {
    int size;
    int divisor;
    std::array<int, 25> values;
};

const Kernel& kernelOf(IplFilter filter) {
    static const std::array<Kernel, 11> kernels{{
        {3, 1, {-1, 0, 1, -1, 0, 1, -1, 0, 1}},
        {3, 1, {1, 1, 1, 0, 0, 0, -1, -1, -1}},
        {3, 1, {-1, 0, 1, -2, 0, 2, -1, 0, 1}},
        {3, 1, {1, 2, 1, 0, 0, 0, -1, -2, -1}},
        {3, 1, {-1, -1, -1, -1, 8, -1, -1, -1, -1}},
        {5, 1, {-1, -3, -4, -3, -1, -3, 0, 6, 0, -3, -4, 6, 20, 6, -4, -3, 0, 6, 0, -3, -1, -3, -4, -3, -1}},
        {3, 16, {1, 2, 1, 2, 4, 2, 1, 2, 1}},
        {5, 571, {2, 7, 12, 7, 2, 7, 31, 52, 31, 7, 12, 52, 127, 52, 12, 7, 31, 52, 31, 7, 2, 7, 12, 7, 2}},
        {3, 1, {-1, -1, -1, -1, 8, -1, -1, -1, -1}},
        {5, 1, {-1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, 24, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1}},
        {3, 8, {-1, -1, -1, -1, 16, -1, -1, -1, -1}},
    }};
    return kernels[static_cast<std::size_t>(filter)];
}

// One row of means of 8-bit values into a plain target row, the column sums moving on by one row at the same
// time: the incoming row's sums join before, the leaving row's go after. The numerators stay below 2^24 and the
// area below 2^16, so a correctly rounded float quotient truncates to the exact one: it misses the next integer
// by at least 1/area, more than half a float step at 256.
IPL_LOOP_BODY void meansIntoBytesLoop(int* __restrict columns, const int* __restrict incoming,
                                      const int* __restrict leaving, std::size_t count, int area,
                                      std::uint8_t* __restrict target) {
    const float divisor = static_cast<float>(area);
    for (std::size_t k = 0; k < count; ++k) {
        const int sum = columns[k] + incoming[k];
        target[k] = static_cast<std::uint8_t>(static_cast<int>(static_cast<float>(sum + area / 2) / divisor));
        columns[k] = sum - leaving[k];
    }
}

IPL_AVX2 void meansIntoBytesAvx2(int* columns, const int* incoming, const int* leaving, std::size_t count, int area,
                                 std::uint8_t* target) {
    meansIntoBytesLoop(columns, incoming, leaving, count, area, target);
}

void meansIntoBytesBaseline(int* columns, const int* incoming, const int* leaving, std::size_t count, int area,
                            std::uint8_t* target) {
    meansIntoBytesLoop(columns, incoming, leaving, count, area, target);
}

void meansIntoBytes(int* columns, const int* incoming, const int* leaving, std::size_t count, int area,
                    std::uint8_t* target) {
    (hasAvx2() ? meansIntoBytesAvx2 : meansIntoBytesBaseline)(columns, incoming, leaving, count, area, target);
}

// Rounds a quotient half up, also for negative sums, and saturates it to 32 bits.
int roundedQuotient(long long n, long long d) {
    const long long q = n >= 0 ? (n + d / 2) / d : -((-n + d / 2 - 1) / d);
    return static_cast<int>(std::clamp<long long>(q, -(1LL << 31), (1LL << 31) - 1));
}

// The means of a blur, down the rows: column sums of the window sums of each row, moved on by one row at a time.
// Sum is int where no sum can pass 31 bits, which is exact through a reciprocal and vectorises; long long
// otherwise, divided exactly.
template <class Sum>
void blurRows(Area& area, const Neighbourhood& source, int nCols, int nRows, int top, bool plainTarget) {
    const int lanes = source.lanes();
    const std::size_t rowValues = static_cast<std::size_t>(area.width * lanes);
    std::vector<int> padded;
    std::vector<std::vector<Sum>> ring(static_cast<std::size_t>(nRows));
    std::vector<Sum> columns(rowValues, 0);
    std::vector<int> out(rowValues);
    const Sum area0 = static_cast<Sum>(nCols) * nRows;
    // Dividing by the kernel area through its reciprocal: the error of the product stays below 1e-6, far under
    // the 1/area0 that separates a quotient from the next integer, so the rounded result is exact.
    const double reciprocal = 1.0 / static_cast<double>(area0);
    for (int r = 0; r < nRows - 1; ++r) {
        source.read(top + r, padded);
        windowSums(padded, lanes, area.width, nCols, ring[static_cast<std::size_t>(r)]);
        for (std::size_t k = 0; k < rowValues; ++k)
            columns[k] += ring[static_cast<std::size_t>(r)][k];
    }
    for (int j = 0; j < area.height; ++j) {
        std::vector<Sum>& incoming = ring[static_cast<std::size_t>((j + nRows - 1) % nRows)];
        source.read(top + j + nRows - 1, padded);
        windowSums(padded, lanes, area.width, nCols, incoming);
        const std::vector<Sum>& leaving = ring[static_cast<std::size_t>(j % nRows)];
        if constexpr (std::is_same_v<Sum, int>) {
            if (plainTarget) {
                meansIntoBytes(columns.data(), incoming.data(), leaving.data(), rowValues, area0,
                               area[1].row<std::uint8_t>(j));
                continue;
            }
        }
        for (std::size_t k = 0; k < rowValues; ++k) {
            columns[k] += incoming[k];
            if constexpr (std::is_same_v<Sum, int>)
                out[k] = static_cast<int>((columns[k] + area0 / 2) * reciprocal + 1e-6);
            else
                out[k] = roundedQuotient(columns[k], area0);
            columns[k] -= leaving[k];
        }
        storeRow(area[1], j, out.data(), area.enabled(j), area.width);
    }
}

// The magnitude of the largest value of a depth, as a power of two.
int magnitudeBits(int depth) {
    return (depth & IPL_DEPTH_MASK) - ((depth & IPL_DEPTH_SIGN) != 0 ? 1 : 0);
}

} // namespace

// The mean of the nCols x nRows pixels around each pixel (the anchor cell on it), divided by the full kernel
// area also at the edges, rounded half up. Its cost does not grow with the kernel: running sums along the rows,
// then down the columns.
void iplBlur(IplImage* srcImage, IplImage* dstImage, int nCols, int nRows, int anchorX, int anchorY) {
    if (nCols < 1 || nRows < 1 || anchorX < 0 || anchorX >= nCols || anchorY < 0 || anchorY >= nRows)
        return;
    Area area({srcImage, dstImage});
    if (!prepare(area, nRows) || bitsOf(srcImage) == 1)
        return;
    const Neighbourhood source(area[0], area.width, anchorX, nCols - 1 - anchorX);
    const long long area0 = static_cast<long long>(nCols) * nRows;
    const bool plainTarget = srcImage->depth == IPL_DEPTH_8U && area[1].allLanes && !area.masked() && area0 < 65536;
    const int top = area[0].y - anchorY;
    const int bits = magnitudeBits(srcImage->depth);
    if (bits < 31 && area0 < (1LL << (31 - bits)))
        blurRows<int>(area, source, nCols, nRows, top, plainTarget);
    else
        blurRows<long long>(area, source, nCols, nRows, top, plainTarget);
}

// Convolution with one of the predefined kernels, divided by its normalisation and saturated (negative
// results become 0 for unsigned data).
IPLStatus iplFixedFilter(IplImage* srcImage, IplImage* dstImage, IplFilter filter) {
    if (filter < IPL_PREWITT_3x3_V || filter > IPL_SHARPEN_3x3)
        return IPL_StsBadArg;
    const Kernel& kernel = kernelOf(filter);
    const int half = kernel.size / 2;
    Area area({srcImage, dstImage});
    if (!prepare(area, half) || bitsOf(srcImage) == 1)
        return IPL_StsBadArg;
    const Neighbourhood source(area[0], area.width, half, half);
    const int lanes = source.lanes();
    std::vector<std::vector<int>> rows(static_cast<std::size_t>(kernel.size));
    std::vector<int> out(static_cast<std::size_t>(area.width * lanes));
    const int top = area[0].y - half;
    for (int r = 0; r < kernel.size - 1; ++r)
        source.read(top + r, rows[static_cast<std::size_t>(r)]);
    for (int j = 0; j < area.height; ++j) {
        source.read(top + j + kernel.size - 1, rows[static_cast<std::size_t>((j + kernel.size - 1) % kernel.size)]);
        for (int i = 0; i < area.width; ++i) {
            for (int c = 0; c < lanes; ++c) {
                long long sum = 0;
                for (int v = 0; v < kernel.size; ++v) {
                    const std::vector<int>& row = rows[static_cast<std::size_t>((j + v) % kernel.size)];
                    for (int u = 0; u < kernel.size; ++u)
                        sum += static_cast<long long>(kernel.values[static_cast<std::size_t>(v * kernel.size + u)]) *
                               row[static_cast<std::size_t>((i + u) * lanes + c)];
                }
                out[static_cast<std::size_t>(i * lanes + c)] = roundedQuotient(sum, kernel.divisor);
            }
        }
        storeRow(area[1], j, out.data(), area.enabled(j), area.width);
    }
    return IPL_StsOk;
}

namespace {

// One dilation of 8-bit images whose every channel takes part: the maximum across three pixels of each source row
// (pixels beyond the image count as 0), then down three of those rows, on plain byte runs.
void dilateBytes(Area& area) {
    const Part& s = area[0];
    const int pe = s.pixelElements;
    const int n = area.width * pe;
    const IplImage* image = s.image;
    std::array<std::vector<std::uint8_t>, 3> maxima;
    std::vector<std::uint8_t> out(static_cast<std::size_t>(n));
    std::vector<int> values;
    auto rowMaxima = [&](int y, std::vector<std::uint8_t>& target) {
        target.assign(static_cast<std::size_t>(n), 0);
        if (y < 0 || y >= image->height)
            return;
        const std::uint8_t* row =
            reinterpret_cast<const std::uint8_t*>(image->imageData + y * image->widthStep) + s.x * pe;
        std::uint8_t* t = target.data();
        for (int k = pe; k < n - pe; ++k)
            t[k] = std::max(row[k], std::max(row[k - pe], row[k + pe]));
        // The first and last pixels see a neighbour only where the image goes on beyond the area.
        for (int k : {0, n - pe}) {
            for (int c = 0; c < pe && k + c < n; ++c) {
                const int at = k + c;
                std::uint8_t m = row[at];
                if (at >= pe || s.x > 0)
                    m = std::max(m, row[at - pe]);
                if (at + pe < n || s.x + area.width < image->width)
                    m = std::max(m, row[at + pe]);
                t[at] = m;
            }
        }
    };
    const bool direct = area[1].image->depth == IPL_DEPTH_8U && area[1].allLanes && !area.masked();
    rowMaxima(s.y - 1, maxima[0]);
    rowMaxima(s.y, maxima[1]);
    for (int j = 0; j < area.height; ++j) {
        rowMaxima(s.y + j + 1, maxima[static_cast<std::size_t>((j + 2) % 3)]);
        std::uint8_t* target = direct ? area[1].row<std::uint8_t>(j) : out.data();
        const std::uint8_t* m0 = maxima[0].data();
        const std::uint8_t* m1 = maxima[1].data();
        const std::uint8_t* m2 = maxima[2].data();
        for (int k = 0; k < n; ++k)
            target[k] = std::max(m0[k], std::max(m1[k], m2[k]));
        if (!direct) {
            values.assign(out.begin(), out.end());
            storeRow(area[1], j, values.data(), area.enabled(j), area.width);
        }
    }
}

// One dilation of any depth and channels: the maximum across three values of each padded source row (pixels
// beyond the image read as 0), then down three of those rows.
void dilateValues(Area& area) {
    IplImage zeroBorder = *area[0].image;
    for (int side = 0; side < 4; ++side) {
        zeroBorder.BorderMode[side] = IPL_BORDER_CONSTANT;
        zeroBorder.BorderConst[side] = 0;
    }
    Part part = area[0];
    part.image = &zeroBorder;
    const Neighbourhood source(part, area.width, 1, 1);
    const int lanes = source.lanes();
    const std::size_t rowValues = static_cast<std::size_t>(area.width * lanes);
    std::vector<int> padded;
    std::array<std::vector<int>, 3> maxima;
    std::vector<int> out(rowValues);
    auto rowMaxima = [&](int y, std::vector<int>& target) {
        source.read(y, padded);
        target.resize(rowValues);
        for (std::size_t k = 0; k < rowValues; ++k)
            target[k] = std::max({padded[k], padded[k + static_cast<std::size_t>(lanes)],
                                  padded[k + 2 * static_cast<std::size_t>(lanes)]});
    };
    rowMaxima(part.y - 1, maxima[0]);
    rowMaxima(part.y, maxima[1]);
    for (int j = 0; j < area.height; ++j) {
        rowMaxima(part.y + j + 1, maxima[static_cast<std::size_t>((j + 2) % 3)]);
        for (std::size_t k = 0; k < rowValues; ++k)
            out[k] = std::max({maxima[0][k], maxima[1][k], maxima[2][k]});
        storeRow(area[1], j, out.data(), area.enabled(j), area.width);
    }
}

// One dilation of the source into the destination; false when the images make no valid operation.
bool dilateOnce(IplImage* srcImage, IplImage* dstImage) {
    Area area({srcImage, dstImage});
    if (!prepare(area, 1))
        return false;
    if (area[0].image->depth == IPL_DEPTH_8U && area[0].allLanes)
        dilateBytes(area);
    else
        dilateValues(area);
    return true;
}

// The image rows of the region of interest: all that a dilation into the image can change.
std::vector<char> rowsOfRegion(IplImage* image) {
    const Area area({image});
    const char* first = image->imageData + static_cast<std::ptrdiff_t>(area[0].y) * image->widthStep;
    return {first, first + static_cast<std::ptrdiff_t>(area.height) * image->widthStep};
}

} // namespace

// Each iteration takes the largest value of every 3x3 neighbourhood (for bits: set when any is set). Pixels
// beyond the image take no part (the same as a border of zeros for unsigned data).
void iplDilate(IplImage* srcImage, IplImage* dstImage, int nIterations) {
    if (nIterations < 1 || !dilateOnce(srcImage, dstImage))
        return;
    // The later iterations dilate the destination in itself, so once one changes nothing, none after it does.
    // Iterations 8, 16, 32 and so on check for that, which bounds the work by about twice the iterations the
    // image takes to settle (without masks, its larger side) whatever the count asked for.
    std::vector<char> before;
    for (int iteration = 1; iteration < nIterations; ++iteration) {
        const bool check = iteration >= 8 && (iteration & (iteration - 1)) == 0;
        if (check)
            before = rowsOfRegion(dstImage);
        dilateOnce(dstImage, dstImage);
        if (check && before == rowsOfRegion(dstImage))
            return;
    }
}
