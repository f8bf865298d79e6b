#pragma once
// Coordinate arithmetic that saturates at the ends of LONG's range instead of overflowing: a point or a rectangle
// moved by an extreme offset (from a crafted file, say) stops at the edge of the coordinate space.

#include "win/Win32Types.h"

#include <algorithm>
#include <limits>

inline LONG SaturatedLong(long long v) {
    return static_cast<LONG>(
        std::clamp<long long>(v, std::numeric_limits<LONG>::min(), std::numeric_limits<LONG>::max()));
}

inline LONG SaturatedAdd(LONG a, LONG b) {
    return SaturatedLong(static_cast<long long>(a) + b);
}

inline LONG SaturatedSub(LONG a, LONG b) {
    return SaturatedLong(static_cast<long long>(a) - b);
}

inline LONG SaturatedMul(LONG a, LONG b) {
    return SaturatedLong(static_cast<long long>(a) * b);
}

// Truncates toward zero; only the quotient of the most negative value by -1 needs holding.
inline LONG SaturatedDiv(LONG a, LONG b) {
    return SaturatedLong(static_cast<long long>(a) / b);
}
