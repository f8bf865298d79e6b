#include "gdi/GdiObjects.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

bool sameFormat(const GdiBitmap& a, const GdiBitmap& b) {
    return a.bitCount == b.bitCount && (a.bitCount > 8 || a.palette.size() == b.palette.size()) &&
           (a.bitCount > 8 ||
            std::equal(a.palette.begin(), a.palette.end(), b.palette.begin(), [](const RGBQUAD& p, const RGBQUAD& q) {
                return p.rgbRed == q.rgbRed && p.rgbGreen == q.rgbGreen && p.rgbBlue == q.rgbBlue;
            }));
}

// The value source pixel (x, y) takes in the destination's format.
DWORD converted(const GdiBitmap& source, const GdiBitmap& target, int x, int y, bool same) {
    return same ? source.rawAt(x, y) : target.rawFor(source.colourAt(x, y));
}

// Source index for destination index j along one axis, when enlarging or keeping the size: the source pixel
// that holds the destination pixel's centre, a centre on a boundary going to the lower pixel.
int enlargedIndex(int j, int sourceLength, int targetLength) {
    const long long n = (2LL * j + 1) * sourceLength;
    return static_cast<int>((n + 2LL * targetLength - 1) / (2LL * targetLength)) - 1;
}

// Destination index for source index k along one axis, when shrinking.
int shrunkIndex(int k, int sourceLength, int targetLength) {
    const long long n = (2LL * k + 1) * targetLength;
    return static_cast<int>((n + 2LL * sourceLength - 1) / (2LL * sourceLength)) - 1;
}

// For each destination index, the source indices that map to it.
std::vector<std::vector<int>> axisGroups(int sourceLength, int targetLength) {
    std::vector<std::vector<int>> groups(static_cast<std::size_t>(targetLength));
    if (targetLength >= sourceLength) {
        for (int j = 0; j < targetLength; ++j)
            groups[static_cast<std::size_t>(j)].push_back(enlargedIndex(j, sourceLength, targetLength));
    } else {
        for (int k = 0; k < sourceLength; ++k)
            groups[static_cast<std::size_t>(shrunkIndex(k, sourceLength, targetLength))].push_back(k);
    }
    return groups;
}

DWORD combine(int mode, DWORD a, DWORD b) {
    return mode == WHITEONBLACK ? (a | b) : (a & b);
}

bool usesSource(DWORD rop) {
    switch (rop) {
    case SRCCOPY:
    case SRCPAINT:
    case SRCAND:
    case SRCINVERT:
    case SRCERASE:
    case NOTSRCCOPY:
    case NOTSRCERASE:
    case MERGEPAINT:
        return true;
    default:
        return false;
    }
}

// Source S mixed with destination D by a raster operation, on raw values of the destination's width.
DWORD mixSource(DWORD rop, DWORD s, DWORD d, int bitCount) {
    DWORD value = s;
    switch (rop) {
    case SRCPAINT:
        value = s | d;
        break;
    case SRCAND:
        value = s & d;
        break;
    case SRCINVERT:
        value = s ^ d;
        break;
    case SRCERASE:
        value = s & ~d;
        break;
    case NOTSRCCOPY:
        value = ~s;
        break;
    case NOTSRCERASE:
        value = ~(s | d);
        break;
    case MERGEPAINT:
        value = ~s | d;
        break;
    default:
        break;
    }
    return bitCount >= 32 ? value : value & ((DWORD{1} << bitCount) - 1);
}

void store(GdiBitmap& target, int x, int y, DWORD value, DWORD rop) {
    target.setRaw(x, y, rop == SRCCOPY ? value : mixSource(rop, value, target.rawAt(x, y), target.bitCount));
}

} // namespace

BOOL BitBlt(HDC hdcDest, int x, int y, int width, int height, HDC hdcSrc, int x1, int y1, DWORD rop) {
    if (!usesSource(rop))
        return PatBlt(hdcDest, x, y, width, height, rop);
    if (hdcDest == nullptr || hdcSrc == nullptr || hdcDest->selected == nullptr || hdcSrc->selected == nullptr)
        return FALSE;
    const GdiBitmap& source = *hdcSrc->selected;
    GdiBitmap& target = *hdcDest->selected;
    // Clip both rectangles to their bitmaps, moving the other one along (in 64 bits: the corners may be anywhere).
    const long long clipLeft = std::max({0LL, -static_cast<long long>(x), -static_cast<long long>(x1)});
    const long long clipTop = std::max({0LL, -static_cast<long long>(y), -static_cast<long long>(y1)});
    const long long clipRight = std::min({0LL + width, 0LL + target.width - x, 0LL + source.width - x1});
    const long long clipBottom = std::min({0LL + height, 0LL + target.height - y, 0LL + source.height - y1});
    if (clipRight <= clipLeft || clipBottom <= clipTop)
        return TRUE;
    // Within both bitmaps now, so every sum below fits.
    const int left = static_cast<int>(clipLeft), top = static_cast<int>(clipTop);
    const int right = static_cast<int>(clipRight), bottom = static_cast<int>(clipBottom);
    const bool same = sameFormat(source, target);
    const bool bytesAligned = same && source.bitCount >= 8 && rop == SRCCOPY;
    const int bytes = source.bitCount / 8;
    // Rows go in the order that keeps an overlapping copy within one bitmap correct.
    const bool upward = &source == &target && y > y1;
    for (int jj = top; jj < bottom; ++jj) {
        const int j = upward ? bottom - 1 - (jj - top) : jj;
        if (bytesAligned) {
            std::memmove(target.row(y + j) + (x + left) * bytes, source.row(y1 + j) + (x1 + left) * bytes,
                         static_cast<std::size_t>((right - left) * bytes));
            continue;
        }
        const bool backward = &source == &target && x > x1;
        for (int ii = left; ii < right; ++ii) {
            const int i = backward ? right - 1 - (ii - left) : ii;
            store(target, x + i, y + j, converted(source, target, x1 + i, y1 + j, same), rop);
        }
    }
    return TRUE;
}

BOOL StretchBlt(HDC hdcDest, int xDest, int yDest, int wDest, int hDest, HDC hdcSrc, int xSrc, int ySrc, int wSrc,
                int hSrc, DWORD rop) {
    if (!usesSource(rop))
        return PatBlt(hdcDest, xDest, yDest, wDest, hDest, rop);
    if (hdcDest == nullptr || hdcSrc == nullptr || hdcDest->selected == nullptr || hdcSrc->selected == nullptr ||
        wDest <= 0 || hDest <= 0 || wSrc <= 0 || hSrc <= 0)
        return FALSE;
    if (wDest == wSrc && hDest == hSrc)
        return BitBlt(hdcDest, xDest, yDest, wDest, hDest, hdcSrc, xSrc, ySrc, rop);
    const GdiBitmap& source = *hdcSrc->selected;
    GdiBitmap& target = *hdcDest->selected;
    const bool same = sameFormat(source, target);
    const int mode = hdcDest->stretchMode;
    const auto columns = axisGroups(wSrc, wDest);
    const auto rows = axisGroups(hSrc, hDest);
    for (int j = 0; j < hDest; ++j) {
        const int ty = yDest + j;
        if (ty < 0 || ty >= target.height)
            continue;
        const auto& rowGroup = rows[static_cast<std::size_t>(j)];
        for (int i = 0; i < wDest; ++i) {
            const int tx = xDest + i;
            if (tx < 0 || tx >= target.width)
                continue;
            const auto& columnGroup = columns[static_cast<std::size_t>(i)];
            // Colour-on-colour (and halftone, done the same way here) keeps the last column of a group and its
            // first row; the other modes combine the whole group.
            const bool keepOne = mode == COLORONCOLOR || mode == HALFTONE;
            const int* columnsFrom = keepOne ? &columnGroup.back() : columnGroup.data();
            const int* columnsTo = keepOne ? columnsFrom + 1 : columnGroup.data() + columnGroup.size();
            const int* rowsFrom = rowGroup.data();
            const int* rowsTo = keepOne ? rowsFrom + 1 : rowGroup.data() + rowGroup.size();
            bool first = true;
            DWORD value = 0;
            for (const int* pv = rowsFrom; pv != rowsTo; ++pv) {
                const int v = *pv;
                for (const int* pu = columnsFrom; pu != columnsTo; ++pu) {
                    const int u = *pu;
                    const int sx = xSrc + u;
                    const int sy = ySrc + v;
                    if (sx < 0 || sy < 0 || sx >= source.width || sy >= source.height)
                        continue;
                    const DWORD raw = converted(source, target, sx, sy, same);
                    value = first ? raw : combine(mode, value, raw);
                    first = false;
                }
            }
            if (!first)
                store(target, tx, ty, value, rop);
        }
    }
    return TRUE;
}
