#pragma once
// GDI drawing on bitmaps in memory: pens, brushes and the drawing state of a device context, lines, polygons,
// rectangles, ellipses and flood fills, with GDI's rules for which pixels each shape covers. Included by
// gdi/WinGdi.h.

#include "gdi/WinGdi.h"

struct GdiPen;
struct GdiBrush;
using HPEN = GdiPen*;
using HBRUSH = GdiBrush*;

inline constexpr COLORREF RGB(BYTE r, BYTE g, BYTE b) {
    return COLORREF{r} | COLORREF{g} << 8 | COLORREF{b} << 16;
}
inline constexpr BYTE GetRValue(COLORREF c) {
    return static_cast<BYTE>(c);
}
inline constexpr BYTE GetGValue(COLORREF c) {
    return static_cast<BYTE>(c >> 8);
}
inline constexpr BYTE GetBValue(COLORREF c) {
    return static_cast<BYTE>(c >> 16);
}
inline constexpr COLORREF CLR_INVALID = 0xFFFFFFFF;

// Pens: solid or none; a width of 0 or 1 is the one-pixel pen (wider pens draw as one pixel here).
inline constexpr int PS_SOLID = 0;
inline constexpr int PS_NULL = 5;
HPEN CreatePen(int style, int width, COLORREF colour);
HBRUSH CreateSolidBrush(COLORREF colour);

inline constexpr int WHITE_BRUSH = 0;
inline constexpr int LTGRAY_BRUSH = 1;
inline constexpr int GRAY_BRUSH = 2;
inline constexpr int DKGRAY_BRUSH = 3;
inline constexpr int BLACK_BRUSH = 4;
inline constexpr int NULL_BRUSH = 5;
inline constexpr int HOLLOW_BRUSH = NULL_BRUSH;
inline constexpr int WHITE_PEN = 6;
inline constexpr int BLACK_PEN = 7;
inline constexpr int NULL_PEN = 8;
// A stock pen, brush or font (null for other numbers). Stock objects live for the process; deleting one does
// nothing.
GdiObject* GetStockObject(int which);

HGDIOBJ SelectObject(HDC hdc, HPEN pen);
HGDIOBJ SelectObject(HDC hdc, HBRUSH brush);
BOOL DeleteObject(HPEN pen);
BOOL DeleteObject(HBRUSH brush);

// Mixing of pen and brush with the pixels there, on raw values (table indices on 1- and 8-bit targets).
inline constexpr int R2_BLACK = 1;
inline constexpr int R2_NOTMERGEPEN = 2;
inline constexpr int R2_MASKNOTPEN = 3;
inline constexpr int R2_NOTCOPYPEN = 4;
inline constexpr int R2_MASKPENNOT = 5;
inline constexpr int R2_NOT = 6;
inline constexpr int R2_XORPEN = 7;
inline constexpr int R2_NOTMASKPEN = 8;
inline constexpr int R2_MASKPEN = 9;
inline constexpr int R2_NOTXORPEN = 10;
inline constexpr int R2_NOP = 11;
inline constexpr int R2_MERGENOTPEN = 12;
inline constexpr int R2_COPYPEN = 13;
inline constexpr int R2_MERGEPENNOT = 14;
inline constexpr int R2_MERGEPEN = 15;
inline constexpr int R2_WHITE = 16;
// Each setter returns the previous value (0 on failure).
int SetROP2(HDC hdc, int mode);
int GetROP2(HDC hdc);

inline constexpr int ALTERNATE = 1;
inline constexpr int WINDING = 2;
int SetPolyFillMode(HDC hdc, int mode);
int GetPolyFillMode(HDC hdc);

inline constexpr int TRANSPARENT = 1;
inline constexpr int OPAQUE = 2;
int SetBkMode(HDC hdc, int mode);
int GetBkMode(HDC hdc);
COLORREF SetBkColor(HDC hdc, COLORREF colour);
COLORREF GetBkColor(HDC hdc);
COLORREF SetTextColor(HDC hdc, COLORREF colour);
COLORREF GetTextColor(HDC hdc);

// The pixel's colour; CLR_INVALID outside the bitmap.
COLORREF GetPixel(HDC hdc, int x, int y);
// Sets the nearest colour the bitmap holds and returns it; -1 (CLR_INVALID) outside the bitmap.
COLORREF SetPixel(HDC hdc, int x, int y, COLORREF colour);

// Lines with the one-pixel pen: the start pixel is drawn, the end pixel is not.
BOOL MoveToEx(HDC hdc, int x, int y, POINT* previous);
BOOL LineTo(HDC hdc, int x, int y);
BOOL Polyline(HDC hdc, const POINT* points, int count);
// The points of a line from (x1, y1) towards (x2, y2), the end left out, each given to `proc`.
using LINEDDAPROC = void (*)(int x, int y, LPARAM data);
BOOL LineDDA(int x1, int y1, int x2, int y2, LINEDDAPROC proc, LPARAM data);

// Shapes: the brush fills the inside, then the pen draws the outline.
BOOL Polygon(HDC hdc, const POINT* points, int count);
BOOL Rectangle(HDC hdc, int left, int top, int right, int bottom);
BOOL Ellipse(HDC hdc, int left, int top, int right, int bottom);
// The rectangle (right and bottom excluded) in the brush, with no mixing; its outline one pixel wide; inverted.
int FillRect(HDC hdc, const RECT* rect, HBRUSH brush);
int FrameRect(HDC hdc, const RECT* rect, HBRUSH brush);
BOOL InvertRect(HDC hdc, const RECT* rect);
// A rectangle of the selected brush mixed with the pixels by a raster operation of no source: PATCOPY,
// PATINVERT, DSTINVERT, BLACKNESS or WHITENESS.
BOOL PatBlt(HDC hdc, int x, int y, int width, int height, DWORD rop);

inline constexpr UINT FLOODFILLBORDER = 0;
inline constexpr UINT FLOODFILLSURFACE = 1;
// Fills with the brush the 4-connected area around (x, y) of pixels other than `colour` (border) or equal to it
// (surface); FALSE when the start pixel is outside the bitmap or does not belong to the area.
BOOL ExtFloodFill(HDC hdc, int x, int y, COLORREF colour, UINT type);
