// Arithmetic with constants and images, and the bitwise operations.

#include "ipl/IplLoops.h"

using namespace ipl;

namespace {

// Applies f to each value of the source into the destination, for 8-bit, 16-bit and 32-bit data.
template <class F>
void eachValue(IplImage* src, IplImage* dst, F f) {
    Area area({src, dst});
    if (!area || !sameDepth(area) || bitsOf(src) == 1)
        return;
    withDepth(src->depth, [&](auto type) {
        using T = decltype(type);
        mapValues<T, T>(area, [&](T v) { return saturate<T>(f(static_cast<long long>(v), T{})); });
    });
}

template <class T>
constexpr long long maxOf() {
    return std::numeric_limits<T>::max();
}

} // namespace

void iplAddS(IplImage* srcImage, IplImage* dstImage, int value) {
    eachValue(srcImage, dstImage, [value](long long v, auto) { return v + value; });
}

void iplSubtractS(IplImage* srcImage, IplImage* dstImage, int value, bool flip) {
    eachValue(srcImage, dstImage, [value, flip](long long v, auto) { return flip ? value - v : v - value; });
}

void iplMultiplyS(IplImage* srcImage, IplImage* dstImage, int value) {
    eachValue(srcImage, dstImage, [value](long long v, auto) { return v * value; });
}

// v * value / max, with the value first clamped to 0..max: a factor between 0 and 1. 8 and 16 bits only.
void iplMultiplySScale(IplImage* srcImage, IplImage* dstImage, int value) {
    if (srcImage == nullptr || (srcImage->depth != IPL_DEPTH_8U && srcImage->depth != IPL_DEPTH_16U))
        return;
    eachValue(srcImage, dstImage, [value](long long v, auto type) {
        constexpr long long max = maxOf<decltype(type)>();
        const long long factor = value < 0 ? 0 : value > max ? max : value;
        return divRound(v * factor, max);
    });
}

void iplAdd(IplImage* srcImageA, IplImage* srcImageB, IplImage* dstImage) {
    Area area({srcImageA, srcImageB, dstImage});
    if (!area || !sameDepth(area) || bitsOf(dstImage) == 1)
        return;
    withDepth(dstImage->depth, [&](auto type) {
        using T = decltype(type);
        mapValues2<T>(area, [](T a, T b) { return saturate<T>(static_cast<long long>(a) + b); });
    });
}

namespace {

template <class F>
void bitwise(IplImage* srcImageA, IplImage* srcImageB, IplImage* dstImage, F f) {
    Area area({srcImageA, srcImageB, dstImage});
    if (!area || !sameDepth(area))
        return;
    if (bitsOf(dstImage) == 1) {
        if (area.overlapping(0, 2))
            area.snapshot(0);
        if (area.overlapping(1, 2))
            area.snapshot(1);
        mapBits2(area, [&](bool a, bool b) { return f(a, b); });
        return;
    }
    withDepth(dstImage->depth, [&](auto type) {
        using T = decltype(type);
        mapValues2<T>(area, [&](T a, T b) { return static_cast<T>(f(a, b)); });
    });
}

} // namespace

void iplAnd(IplImage* srcImageA, IplImage* srcImageB, IplImage* dstImage) {
    bitwise(srcImageA, srcImageB, dstImage, [](auto a, auto b) { return a & b; });
}

void iplXor(IplImage* srcImageA, IplImage* srcImageB, IplImage* dstImage) {
    bitwise(srcImageA, srcImageB, dstImage, [](auto a, auto b) { return a ^ b; });
}

// Only as many low bits of the constant as the depth has take part.
void iplXorS(IplImage* srcImage, IplImage* dstImage, unsigned int value) {
    Area area({srcImage, dstImage});
    if (!area || !sameDepth(area))
        return;
    if (bitsOf(srcImage) == 1) {
        const bool flip = (value & 1) != 0;
        mapBits(area, [flip](bool b) { return b != flip; });
        return;
    }
    withDepth(srcImage->depth, [&](auto type) {
        using T = decltype(type);
        mapValues<T, T>(area, [value](T v) { return static_cast<T>(v ^ static_cast<T>(value)); });
    });
}
