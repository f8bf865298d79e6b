#pragma once
// Loops over the values of an area. Rows of contiguous parts are plain runs the compiler can vectorise; other
// parts go pixel by pixel through their channel lanes, skipping pixels that a mask excludes.

#include "ipl/IplArea.h"

#include <cstdint>

namespace ipl {

// Calls f with a value of the element type of the depth: uint8_t, uint16_t or int32_t. Other depths do nothing.
template <class F>
void withDepth(int depth, F f) {
    switch (depth) {
    case IPL_DEPTH_8U:
        f(std::uint8_t{});
        break;
    case IPL_DEPTH_16U:
        f(std::uint16_t{});
        break;
    case IPL_DEPTH_32S:
        f(std::int32_t{});
        break;
    default:
        break;
    }
}

// Part 1 := f(part 0), value by value.
template <class S, class D, class F>
void mapValues(Area& area, F f) {
    const Part& s = area[0];
    const Part& d = area[1];
    for (int j = 0; j < area.height; ++j) {
        const S* sr = s.row<S>(j);
        D* dr = d.row<D>(j);
        const std::uint8_t* enabled = area.enabled(j);
        if (area.contiguous()) {
            const int n = area.width * s.pixelElements;
            for (int k = 0; k < n; ++k)
                dr[k] = f(sr[k]);
            continue;
        }
        for (int i = 0; i < area.width; ++i) {
            if (enabled != nullptr && enabled[i] == 0)
                continue;
            const S* sp = sr + i * s.pixelElements;
            D* dp = dr + i * d.pixelElements;
            for (int c = 0; c < s.laneCount; ++c)
                dp[d.lanes[c]] = f(sp[s.lanes[c]]);
        }
    }
}

// Part 2 := f(part 0, part 1), value by value.
template <class T, class F>
void mapValues2(Area& area, F f) {
    const Part& a = area[0];
    const Part& b = area[1];
    const Part& d = area[2];
    for (int j = 0; j < area.height; ++j) {
        const T* ar = a.row<T>(j);
        const T* br = b.row<T>(j);
        T* dr = d.row<T>(j);
        const std::uint8_t* enabled = area.enabled(j);
        if (area.contiguous()) {
            const int n = area.width * a.pixelElements;
            for (int k = 0; k < n; ++k)
                dr[k] = f(ar[k], br[k]);
            continue;
        }
        for (int i = 0; i < area.width; ++i) {
            if (enabled != nullptr && enabled[i] == 0)
                continue;
            for (int c = 0; c < a.laneCount; ++c)
                dr[i * d.pixelElements + d.lanes[c]] =
                    f(ar[i * a.pixelElements + a.lanes[c]], br[i * b.pixelElements + b.lanes[c]]);
        }
    }
}

// Part 1 := f(part 0) for one-bit images, bit by bit.
template <class F>
void mapBits(Area& area, F f) {
    const Part& s = area[0];
    const Part& d = area[1];
    for (int j = 0; j < area.height; ++j) {
        const std::uint8_t* enabled = area.enabled(j);
        for (int i = 0; i < area.width; ++i)
            if (enabled == nullptr || enabled[i] != 0)
                setBit(d.image, d.x + i, d.y + j, f(bitAt(s.image, s.x + i, s.y + j)));
    }
}

// Part 2 := f(part 0, part 1) for one-bit images.
template <class F>
void mapBits2(Area& area, F f) {
    const Part& a = area[0];
    const Part& b = area[1];
    const Part& d = area[2];
    for (int j = 0; j < area.height; ++j) {
        const std::uint8_t* enabled = area.enabled(j);
        for (int i = 0; i < area.width; ++i)
            if (enabled == nullptr || enabled[i] != 0)
                setBit(d.image, d.x + i, d.y + j,
                       f(bitAt(a.image, a.x + i, a.y + j), bitAt(b.image, b.x + i, b.y + j)));
    }
}

} // namespace ipl
