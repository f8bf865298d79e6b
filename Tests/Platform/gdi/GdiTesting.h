#pragma once
// Bitmaps for the GDI tests: DIB sections of each depth, held by memory device contexts, and their pixels as text.

#include "gdi/GdiObjects.h"
#include "gdi/WinGdi.h"

#include <string>
#include <vector>

struct Info {
    BITMAPINFOHEADER header;
    RGBQUAD colours[256];
};

// A top-down DIB section; one-bit ones get a black/white table (or the inverse), 8-bit ones a grey ramp.
inline HBITMAP section(int width, int height, int bits, void** pixels, bool inverted = false) {
    Info info{};
    info.header = {sizeof(BITMAPINFOHEADER), width, -height, 1, static_cast<WORD>(bits), BI_RGB, 0, 0, 0, 0, 0};
    for (int i = 0; i < 256; ++i)
        info.colours[i] = {BYTE(i), BYTE(i), BYTE(i), 0};
    if (bits == 1) {
        info.colours[0] = inverted ? RGBQUAD{255, 255, 255, 0} : RGBQUAD{0, 0, 0, 0};
        info.colours[1] = inverted ? RGBQUAD{0, 0, 0, 0} : RGBQUAD{255, 255, 255, 0};
    }
    return CreateDIBSection(GetDC(nullptr), reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS, pixels, nullptr, 0);
}

// A memory device context holding a bitmap, released with both.
struct Selected {
    explicit Selected(HBITMAP bitmap) : dc(CreateCompatibleDC(nullptr)), bitmap(bitmap) {
        old = SelectObject(dc, bitmap);
    }
    ~Selected() {
        SelectObject(dc, old);
        DeleteDC(dc);
        DeleteObject(bitmap);
    }
    HDC dc;
    HBITMAP bitmap;
    HGDIOBJ old;
};

// The bitmap as rows of text: '#' where the raw value is `on`, '.' elsewhere (32-bit pixels without their top byte).
inline std::vector<std::string> picture(HBITMAP bitmap, DWORD on) {
    std::vector<std::string> rows;
    for (int y = 0; y < bitmap->height; ++y) {
        std::string row;
        for (int x = 0; x < bitmap->width; ++x)
            row += (bitmap->rawAt(x, y) & (bitmap->bitCount == 32 ? 0xFFFFFFu : ~0u)) == on ? '#' : '.';
        rows.push_back(row);
    }
    return rows;
}
