#pragma once
// The pixels of a line from (x0, y0) towards (x1, y1), the end left out, by Bresenham's stepping along the major
// axis (x when |dx| > |dy|). `bias` 1 moves the minor step one pixel earlier on ties: GDI's pens use it in the
// octants that go left or up so that a line drawn backwards covers the same pixels; LineDDA never does.

#include <cstdlib>

template <class Plot>
void RasterLine(int x0, int y0, int x1, int y1, int bias, Plot plot) {
    const long dx = static_cast<long>(x1) - x0;
    const long dy = static_cast<long>(y1) - y0;
    const int sx = dx < 0 ? -1 : 1;
    const int sy = dy < 0 ? -1 : 1;
    const bool xMajor = std::labs(dx) > std::labs(dy);
    const long major = xMajor ? std::labs(dx) : std::labs(dy);
    const long minor = xMajor ? std::labs(dy) : std::labs(dx);
    long error = 2 * minor - major;
    int x = x0;
    int y = y0;
    for (long k = 0; k < major; ++k) {
        plot(x, y);
        if (error + bias > 0) {
            (xMajor ? y : x) += xMajor ? sy : sx;
            error += 2 * minor - 2 * major;
        } else {
            error += 2 * minor;
        }
        (xMajor ? x : y) += xMajor ? sx : sy;
    }
}

// The bias of a one-pixel pen's line: 1 in the octants that step up, or left along y.
inline int PenLineBias(int x0, int y0, int x1, int y1) {
    const long dx = static_cast<long>(x1) - x0;
    const long dy = static_cast<long>(y1) - y0;
    const bool xMajor = std::labs(dx) > std::labs(dy);
    return (dy < 0 && (dx < 0 || xMajor)) || (dy > 0 && dx < 0 && !xMajor) ? 1 : 0;
}
