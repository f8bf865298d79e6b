// Box blur, the fixed convolution filters and dilation. Pixels beyond the image's edges come from its border
// modes (constant 0 unless set). Each source row is read once, before the rows that depend on it are written,
// so the output may be the source itself.

#include "ipl/IplBorderAxis.h"
#include "ipl/IplNeighbourhood.h"
#include "ipl/IplRows.h"

#include <algorithm>
#include <array>
#include <optional>
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
        area.snapshot(0, std::min(marginRows, area[0].image->height));
    return true;
}

// Sums of `count` consecutive values of each lane along a padded row, by a running sum. The lanes run side by
// side (Lanes of them, or `lanes` when 0), which lets the compiler keep one sum per lane in a register. The
// difference of the entering and the leaving value is taken in Sum: for 32-bit values it may pass int.
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
                acc[c] += static_cast<Sum>(padded[(i + count) * L + c]) - padded[i * L + c];
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

__extension__ typedef __int128 WideSum;

// Rounds a quotient half up, also for negative sums, and saturates it to 32 bits.
template <class N>
int roundedQuotient(N n, long long d) {
    const N q = n >= 0 ? (n + d / 2) / d : -((-n + d / 2 - 1) / d);
    return static_cast<int>(std::clamp<N>(q, -(N(1) << 31), (N(1) << 31) - 1));
}

struct BoxKernel {
    int nCols;
    int nRows;
    int anchorX;
    int anchorY;
};

// The output stage of a blur: one row of means from column sums, which move on by one row at the same time (the
// incoming row's window sums join before, the leaving row's go after). Sum is int where no sum can pass 31 bits,
// which is exact through a reciprocal and vectorises; wider otherwise, divided exactly.
template <class Sum>
class BlurMeans {
public:
    BlurMeans(Area& area, long long kernelArea, bool plainTarget)
        : m_area(area), m_kernelArea(static_cast<Sum>(kernelArea)), m_plainTarget(plainTarget),
          m_reciprocal(1.0 / static_cast<double>(kernelArea)),
          m_out(static_cast<std::size_t>(area.width * area[0].laneCount)) {}

    void row(int j, std::vector<Sum>& columns, const std::vector<Sum>& incoming, const std::vector<Sum>& leaving) {
        const std::size_t count = columns.size();
        if constexpr (std::is_same_v<Sum, int>) {
            if (m_plainTarget) {
                meansIntoBytes(columns.data(), incoming.data(), leaving.data(), count, m_kernelArea,
                               m_area[1].row<std::uint8_t>(j));
                return;
            }
        }
        for (std::size_t k = 0; k < count; ++k) {
            columns[k] += incoming[k];
            if constexpr (std::is_same_v<Sum, int>)
                m_out[k] = static_cast<int>((columns[k] + m_kernelArea / 2) * m_reciprocal + 1e-6);
            else
                m_out[k] = roundedQuotient(columns[k], static_cast<long long>(m_kernelArea));
            columns[k] -= leaving[k];
        }
        storeRow(m_area[1], j, m_out.data(), m_area.enabled(j), m_area.width);
    }

private:
    Area& m_area;
    Sum m_kernelArea;
    bool m_plainTarget;
    // Dividing by the kernel area through its reciprocal: the error of the product stays below 1e-6, far under
    // the 1/area that separates a quotient from the next integer, so the rounded result is exact.
    double m_reciprocal;
    std::vector<int> m_out;
};

// Window sums along source rows read padded through a neighbourhood, by a running sum: for windows no longer
// than the image's width.
class PaddedRowSums {
public:
    PaddedRowSums(const Part& part, int width, const BoxKernel& kernel)
        : m_source(part, width, kernel.anchorX, kernel.nCols - 1 - kernel.anchorX), m_width(width),
          m_nCols(kernel.nCols) {}

    template <class Sum>
    void operator()(long long y, std::vector<Sum>& sums) {
        m_source.read(y, m_padded);
        windowSums(m_padded, m_source.lanes(), m_width, m_nCols, sums);
    }

private:
    Neighbourhood m_source;
    int m_width;
    int m_nCols;
    std::vector<int> m_padded;
};

// Window sums along source rows for windows of any length, at a cost bounded by the image's width: the first
// window of a row from how often it covers each column and each side's constant, every later one from the
// previous by the column entering it and the one leaving it.
class LongRowSums {
public:
    LongRowSums(const Part& part, int width, const BoxKernel& kernel)
        : m_part(part), m_columns(BorderAxis::columns(part.image)), m_rows(BorderAxis::rows(part.image)),
          m_nCols(kernel.nCols) {
        const long long first = static_cast<long long>(part.x) - kernel.anchorX;
        m_first = m_columns.counts(first, kernel.nCols);
        for (long long v = first; v < first + width - 1; ++v) {
            m_entering.push_back(sourceAt(v + kernel.nCols));
            m_leaving.push_back(sourceAt(v));
        }
    }

    // The window sums of a row wholly of one constant.
    long long constantRow(int constant) const { return m_nCols * constant; }
    const BorderAxis& rows() const { return m_rows; }

    template <class Sum>
    void operator()(long long y, std::vector<Sum>& sums) {
        int constant = 0;
        const int iy = m_rows.at(y, constant);
        if (iy < 0)
            sums.assign((m_entering.size() + 1) * static_cast<std::size_t>(m_part.laneCount),
                        static_cast<Sum>(constantRow(constant)));
        else
            ofImageRow(iy, sums);
    }

    template <class Sum>
    void ofImageRow(int iy, std::vector<Sum>& sums) {
        const int lanes = m_part.laneCount;
        m_pixels.resize(static_cast<std::size_t>(m_columns.size() * lanes));
        readPixels(m_part, 0, iy, m_columns.size(), m_pixels.data());
        sums.resize((m_entering.size() + 1) * static_cast<std::size_t>(lanes));
        for (int c = 0; c < lanes; ++c) {
            long long acc = m_first.low * m_columns.lowConstant() + m_first.high * m_columns.highConstant();
            for (int i = 0; i < m_columns.size(); ++i)
                acc += m_first.ofIndex[static_cast<std::size_t>(i)] * m_pixels[static_cast<std::size_t>(i * lanes + c)];
            sums[static_cast<std::size_t>(c)] = static_cast<Sum>(acc);
            for (std::size_t k = 0; k < m_entering.size(); ++k) {
                acc += valueOf(m_entering[k], c) - valueOf(m_leaving[k], c);
                sums[(k + 1) * static_cast<std::size_t>(lanes) + static_cast<std::size_t>(c)] = static_cast<Sum>(acc);
            }
        }
    }

private:
    // An image column, or a side's constant where the index is negative.
    struct Source {
        int index;
        int constant;
    };

    Source sourceAt(long long x) const {
        Source source{0, 0};
        source.index = m_columns.at(x, source.constant);
        return source;
    }

    long long valueOf(const Source& source, int c) const {
        return source.index < 0 ? source.constant
                                : m_pixels[static_cast<std::size_t>(source.index * m_part.laneCount + c)];
    }

    Part m_part;
    BorderAxis m_columns;
    BorderAxis m_rows;
    long long m_nCols;
    BorderAxis::Counts m_first;
    std::vector<Source> m_entering;
    std::vector<Source> m_leaving;
    std::vector<int> m_pixels;
};

// The column sums down the rows for kernels no taller than the image: a ring of the window sums of the last
// nRows rows, each row read once.
template <class Sum, class RowSums>
void blurRing(Area& area, RowSums& rows, BlurMeans<Sum>& means, int nRows, long long top) {
    const std::size_t rowValues = static_cast<std::size_t>(area.width * area[0].laneCount);
    std::vector<std::vector<Sum>> ring(static_cast<std::size_t>(nRows));
    std::vector<Sum> columns(rowValues, 0);
    for (int r = 0; r < nRows - 1; ++r) {
        rows(top + r, ring[static_cast<std::size_t>(r)]);
        for (std::size_t k = 0; k < rowValues; ++k)
            columns[k] += ring[static_cast<std::size_t>(r)][k];
    }
    for (int j = 0; j < area.height; ++j) {
        std::vector<Sum>& incoming = ring[static_cast<std::size_t>((j + nRows - 1) % nRows)];
        rows(top + j + nRows - 1, incoming);
        means.row(j, columns, incoming, ring[static_cast<std::size_t>(j % nRows)]);
    }
}

// The column sums down the rows for kernels taller than the image, at a cost bounded by the image's height: the
// first from how often the window covers each row and each side's constant, then moved on by the incoming and
// the leaving row. Every leaving row lies in the first window, so it is read from the source as it was before
// any row was written (`before`), just as the incoming rows are read as they are when they come in.
template <class Sum>
void blurLongColumns(Area& area, LongRowSums& rows, LongRowSums& before, BlurMeans<Sum>& means, int nRows,
                     long long top) {
    const BorderAxis::Counts counts = rows.rows().counts(top, nRows - 1);
    std::vector<Sum> columns(static_cast<std::size_t>(area.width * area[0].laneCount), 0);
    std::vector<Sum> incoming;
    std::vector<Sum> leaving;
    for (int iy = 0; iy < rows.rows().size(); ++iy) {
        const long long count = counts.ofIndex[static_cast<std::size_t>(iy)];
        if (count == 0)
            continue;
        rows.ofImageRow(iy, incoming);
        for (std::size_t k = 0; k < columns.size(); ++k)
            columns[k] += static_cast<Sum>(count) * incoming[k];
    }
    const Sum constants =
        static_cast<Sum>(counts.low) * static_cast<Sum>(rows.constantRow(rows.rows().lowConstant())) +
        static_cast<Sum>(counts.high) * static_cast<Sum>(rows.constantRow(rows.rows().highConstant()));
    for (Sum& column : columns)
        column += constants;
    for (int j = 0; j < area.height; ++j) {
        rows(top + j + nRows - 1, incoming);
        before(top + j, leaving);
        means.row(j, columns, incoming, leaving);
    }
}

// Kernels as wide as the image or narrower read padded rows; wider ones go by counts, and so do kernels taller
// than the image down the columns. Those read their leaving rows from a private copy of the image when the
// destination is the source itself.
template <class Sum>
void blurArea(Area& area, const BoxKernel& kernel, bool plainTarget) {
    BlurMeans<Sum> means(area, static_cast<long long>(kernel.nCols) * kernel.nRows, plainTarget);
    const long long top = static_cast<long long>(area[0].y) - kernel.anchorY;
    const IplImage* image = area[0].image;
    if (kernel.nRows > image->height) {
        std::optional<Area> unwritten;
        if (area.overlapping(0, 1)) {
            unwritten.emplace(area);
            unwritten->snapshot(0, image->height);
        }
        LongRowSums rows(area[0], area.width, kernel);
        LongRowSums before(unwritten ? (*unwritten)[0] : area[0], area.width, kernel);
        blurLongColumns(area, rows, before, means, kernel.nRows, top);
    } else if (kernel.nCols > image->width) {
        LongRowSums rows(area[0], area.width, kernel);
        blurRing(area, rows, means, kernel.nRows, top);
    } else {
        PaddedRowSums rows(area[0], area.width, kernel);
        blurRing(area, rows, means, kernel.nRows, top);
    }
}

// The magnitude of the largest value of a depth, as a power of two.
int magnitudeBits(int depth) {
    return (depth & IPL_DEPTH_MASK) - ((depth & IPL_DEPTH_SIGN) != 0 ? 1 : 0);
}

} // namespace

// The mean of the nCols x nRows pixels around each pixel (the anchor cell on it), divided by the full kernel
// area also at the edges, rounded half up. Its cost does not grow with the kernel: running sums along the rows,
// then down the columns, and windows longer than the image are summed through their counts of each pixel.
void iplBlur(IplImage* srcImage, IplImage* dstImage, int nCols, int nRows, int anchorX, int anchorY) {
    if (nCols < 1 || nRows < 1 || anchorX < 0 || anchorX >= nCols || anchorY < 0 || anchorY >= nRows)
        return;
    Area area({srcImage, dstImage});
    if (!prepare(area, nRows) || bitsOf(srcImage) == 1)
        return;
    const BoxKernel kernel{nCols, nRows, anchorX, anchorY};
    const long long area0 = static_cast<long long>(nCols) * nRows;
    const bool plainTarget = srcImage->depth == IPL_DEPTH_8U && area[1].allLanes && !area.masked() && area0 < 65536;
    const int bits = magnitudeBits(srcImage->depth);
    if (bits < 31 && area0 < (1LL << (31 - bits)))
        blurArea<int>(area, kernel, plainTarget);
    else if (area0 < (1LL << 31))
        blurArea<long long>(area, kernel, plainTarget);
    else
        blurArea<WideSum>(area, kernel, plainTarget);
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
