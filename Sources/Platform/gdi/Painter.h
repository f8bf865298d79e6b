#pragma once
// How a pen or brush colour lands on the bitmap of a device context: as the raw value that stands for the colour
// there, mixed with each pixel by the context's raster operation. Every mix of the sixteen is, for a fixed pen
// value, new = (old AND a) XOR x, so spans are painted a byte or a word at a time. Painting outside the bitmap is
// clipped away.

#include "gdi/GdiObjects.h"

class Painter {
public:
    Painter(GdiBitmap& target, DWORD raw, int rop2);
    // The pen or brush colour of `hdc` on its bitmap; on a 1-bit bitmap a colour that is not one of its two
    // entries takes the entry the background colour does not take (or the same when it is the background).
    static DWORD PenValue(const GdiDC& hdc, COLORREF colour);
    // 0x00RRGGBB of a COLORREF (0x00BBGGRR), the form bitmaps keep colours in.
    static DWORD Rgb(COLORREF colour);

    void pixel(int x, int y) const;
    // The pixels of a line from (x0, y0) towards (x1, y1), its end left out (see RasterLine for `bias`).
    void line(int x0, int y0, int x1, int y1, int bias) const;
    // Pixels x0 to x1 - 1 of row y.
    void span(int y, int x0, int x1) const;

private:
    void span1(BYTE* row, int x0, int x1) const;

    GdiBitmap& m_target;
    DWORD m_and;
    DWORD m_xor;
};

#include <optional>

// The pen's and the brush's painters on the context's bitmap; nothing for a null pen or brush, or a context
// without a bitmap.
std::optional<Painter> PenPainter(HDC hdc);
std::optional<Painter> BrushPainter(HDC hdc, HBRUSH brush);
// One line of the one-pixel pen, its end left out.
void DrawPenLine(const Painter& painter, int x0, int y0, int x1, int y1);
