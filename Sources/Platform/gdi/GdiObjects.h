#pragma once
// What the GDI handles point to.

#include "gdi/WinGdi.h"

#include <cstdlib>
#include <memory>
#include <vector>

struct GdiObject {
    virtual ~GdiObject() = default;
    // False while something still uses the object (a bitmap selected into a device context).
    virtual bool deletable() const { return true; }
};

// Pixel memory comes from calloc: zeroed as a DIB section's is, and for large bitmaps by fresh pages rather than
// by writing zeros over them.
struct FreePixels {
    void operator()(BYTE* pixels) const { std::free(pixels); }
};

struct GdiBitmap final : GdiObject {
    int width = 0;
    int height = 0;
    int bitCount = 0;
    int stride = 0;
    bool topDown = true;
    std::vector<RGBQUAD> palette;
    std::unique_ptr<BYTE, FreePixels> pixels;
    int selections = 0; // device contexts that hold it

    bool deletable() const override { return selections == 0; }

    BYTE* row(int y) const { return pixels.get() + static_cast<long>(topDown ? y : height - 1 - y) * stride; }
    // The colour of a pixel as 0x00RRGGBB, through the table for 1 and 8 bits.
    DWORD colourAt(int x, int y) const;
    // The raw value of a pixel: its table index, or its colour.
    DWORD rawAt(int x, int y) const;
    void setRaw(int x, int y, DWORD value);
    // The value that stands for a colour here: itself, or the nearest table entry.
    DWORD rawFor(DWORD colour) const;
};

// A region in the y-x banded form: rectangles sorted by top, then left; the rectangles of a band share top and
// bottom, do not touch, and bands with the same spans that meet are one band.
struct GdiRegion final : GdiObject {
    std::vector<RECT> rects;
    RECT bound{0, 0, 0, 0};
};

// Pens and brushes: a style and a colour. Stock ones live for the process and are never deleted.
struct GdiPen final : GdiObject {
    int style = PS_SOLID;
    COLORREF colour = 0;
    bool stock = false;
    int selections = 0;

    bool deletable() const override { return !stock && selections == 0; }
};

struct GdiBrush final : GdiObject {
    bool hollow = false; // the null brush paints nothing
    COLORREF colour = 0;
    bool stock = false;
    int selections = 0;

    bool deletable() const override { return !stock && selections == 0; }
};

HPEN DefaultPen();
HBRUSH DefaultBrush();

struct GdiDC {
    HBITMAP selected = nullptr;
    HBITMAP stock = nullptr; // the 1 x 1 bitmap a new memory context holds
    int stretchMode = BLACKONWHITE;
    bool screen = false;
    HPEN pen = DefaultPen();
    HBRUSH brush = DefaultBrush();
    int rop2 = R2_COPYPEN;
    int polyFillMode = ALTERNATE;
    int bkMode = OPAQUE;
    COLORREF bkColour = RGB(255, 255, 255);
    COLORREF textColour = RGB(0, 0, 0);
    POINT position{0, 0};
    HFONT font = nullptr; // the system font until one is selected
};
