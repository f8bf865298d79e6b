#include "ipl/IplBorderAxis.h"

#include <algorithm>

namespace ipl {

namespace {

long long floorMod(long long v, long long n) {
    const long long m = v % n;
    return m < 0 ? m + n : m;
}

} // namespace

BorderAxis::BorderAxis(int size, const int* modes, const int* constants, int lowSide, int highSide)
    : m_size(size), m_mode{modes[lowSide], modes[highSide]}, m_constant{constants[lowSide], constants[highSide]} {}

BorderAxis BorderAxis::columns(const IplImage* image) {
    return BorderAxis(image->width, image->BorderMode, image->BorderConst, IPL_SIDE_LEFT_INDEX, IPL_SIDE_RIGHT_INDEX);
}

BorderAxis BorderAxis::rows(const IplImage* image) {
    return BorderAxis(image->height, image->BorderMode, image->BorderConst, IPL_SIDE_TOP_INDEX, IPL_SIDE_BOTTOM_INDEX);
}

// The index a coordinate reads on a wrapping side (period: the size) or a reflecting one (period: twice the size).
int BorderAxis::periodic(int mode, long long v) const {
    if (mode == IPL_BORDER_WRAP)
        return static_cast<int>(floorMod(v, m_size));
    const long long m = floorMod(v, 2LL * m_size);
    return static_cast<int>(m < m_size ? m : 2LL * m_size - 1 - m);
}

int BorderAxis::at(long long v, int& constant) const {
    if (v >= 0 && v < m_size)
        return static_cast<int>(v);
    const int side = v < 0 ? 0 : 1;
    switch (m_mode[side]) {
    case IPL_BORDER_REPLICATE:
        return v < 0 ? 0 : m_size - 1;
    case IPL_BORDER_REFLECT:
    case IPL_BORDER_WRAP:
        return periodic(m_mode[side], v);
    default:
        constant = m_constant[side];
        return -1;
    }
}

// Coordinates from..to-1, all beyond one side: a periodic side adds each whole period to every index it covers,
// then walks the remainder, shorter than one period.
void BorderAxis::addSide(long long from, long long to, int side, Counts& counts) const {
    const long long length = to - from;
    const int mode = m_mode[side];
    if (mode == IPL_BORDER_REPLICATE) {
        counts.ofIndex[static_cast<std::size_t>(side == 0 ? 0 : m_size - 1)] += length;
        return;
    }
    if (mode != IPL_BORDER_REFLECT && mode != IPL_BORDER_WRAP) {
        (side == 0 ? counts.low : counts.high) += length;
        return;
    }
    const long long period = mode == IPL_BORDER_WRAP ? m_size : 2LL * m_size;
    const long long whole = length / period;
    if (whole > 0)
        for (long long v = 0; v < period; ++v)
            counts.ofIndex[static_cast<std::size_t>(periodic(mode, v))] += whole;
    for (long long v = from + whole * period; v < to; ++v)
        ++counts.ofIndex[static_cast<std::size_t>(periodic(mode, v))];
}

BorderAxis::Counts BorderAxis::counts(long long first, long long length) const {
    Counts counts;
    counts.ofIndex.assign(static_cast<std::size_t>(m_size), 0);
    const long long end = first + length;
    for (long long v = std::max(first, 0LL); v < std::min(end, static_cast<long long>(m_size)); ++v)
        ++counts.ofIndex[static_cast<std::size_t>(v)];
    if (first < 0)
        addSide(first, std::min(end, 0LL), 0, counts);
    if (end > m_size)
        addSide(std::max(first, static_cast<long long>(m_size)), end, 1, counts);
    return counts;
}

} // namespace ipl
