#pragma once
// The GDI calls the system makes on bitmaps in memory: device-independent bitmaps (DIB sections), memory
// device contexts, and copying and stretching between them.

#include "win/Win32Types.h"

struct GdiObject;
struct GdiBitmap;
struct GdiRegion;
struct GdiDC;
using HGDIOBJ = GdiObject*;
using HBITMAP = GdiBitmap*;
using HRGN = GdiRegion*;
using HDC = GdiDC*;

struct BITMAPINFOHEADER {
    DWORD biSize;
    LONG biWidth;
    LONG biHeight; // negative: rows run top down
    WORD biPlanes;
    WORD biBitCount;
    DWORD biCompression;
    DWORD biSizeImage;
    LONG biXPelsPerMeter;
    LONG biYPelsPerMeter;
    DWORD biClrUsed;
    DWORD biClrImportant;
};

struct RGBQUAD {
    BYTE rgbBlue;
    BYTE rgbGreen;
    BYTE rgbRed;
    BYTE rgbReserved;
};

// The header followed by as many colours as the bitmap uses (the array is declared with one, as in Win32).
struct BITMAPINFO {
    BITMAPINFOHEADER bmiHeader;
    RGBQUAD bmiColors[1];
};

static_assert(sizeof(BITMAPINFOHEADER) == 40 && sizeof(RGBQUAD) == 4);

inline constexpr DWORD BI_RGB = 0;
inline constexpr UINT DIB_RGB_COLORS = 0;

// Raster operations of BitBlt, StretchBlt and PatBlt.
inline constexpr DWORD SRCCOPY = 0x00CC0020;
inline constexpr DWORD SRCPAINT = 0x00EE0086;
inline constexpr DWORD SRCAND = 0x008800C6;
inline constexpr DWORD SRCINVERT = 0x00660046;
inline constexpr DWORD SRCERASE = 0x00440328;
inline constexpr DWORD NOTSRCCOPY = 0x00330008;
inline constexpr DWORD NOTSRCERASE = 0x001100A6;
inline constexpr DWORD MERGEPAINT = 0x00BB0226;
inline constexpr DWORD PATCOPY = 0x00F00021;
inline constexpr DWORD PATINVERT = 0x005A0049;
inline constexpr DWORD DSTINVERT = 0x00550009;
inline constexpr DWORD BLACKNESS = 0x00000042;
inline constexpr DWORD WHITENESS = 0x00FF0062;

inline constexpr int BLACKONWHITE = 1;
inline constexpr int WHITEONBLACK = 2;
inline constexpr int COLORONCOLOR = 3;
inline constexpr int HALFTONE = 4;

// A bitmap whose pixels the caller reaches through `bits`; rows are padded to 4 bytes. Supported: 1, 8, 24 and
// 32 bits per pixel, uncompressed. The device context is not used (colours come from the BITMAPINFO).
HBITMAP CreateDIBSection(HDC hdc, const BITMAPINFO* info, UINT usage, void** bits, HANDLE section, DWORD offset);
// Deletes a bitmap or a region; a bitmap still selected into a device context is kept (FALSE), as on Windows.
BOOL DeleteObject(HGDIOBJ object);
// The typed handles convert to HGDIOBJ only where the objects are complete types; these take them as they are.
BOOL DeleteObject(HBITMAP bitmap);
BOOL DeleteObject(HRGN region);

// The screen's device context (a stand-in: there is no screen here); ReleaseDC does nothing for it.
HDC GetDC(HWND window);
int ReleaseDC(HWND window, HDC hdc);
// A memory device context holding a 1 x 1 monochrome bitmap until another is selected.
HDC CreateCompatibleDC(HDC hdc);
BOOL DeleteDC(HDC hdc);
// Selects a bitmap into a memory device context; returns the one it displaced, null on failure.
HGDIOBJ SelectObject(HDC hdc, HGDIOBJ object);
HGDIOBJ SelectObject(HDC hdc, HBITMAP bitmap);
int SetStretchBltMode(HDC hdc, int mode);
int GetStretchBltMode(HDC hdc);

// Copies between the bitmaps selected into two device contexts, clipped to both, mixing source and destination
// by the raster operation (on raw values: table indices on 1- and 8-bit bitmaps); the operations without a source
// are PatBlt's. Colours are converted between formats: table colours to exact colours, and exact colours to the
// nearest table entry.
BOOL BitBlt(HDC hdcDest, int x, int y, int width, int height, HDC hdcSrc, int x1, int y1, DWORD rop);
// Scales as GDI does: each destination pixel takes the source pixel under its centre when enlarging; when
// shrinking, the source pixels of a group are ANDed (BLACKONWHITE), ORed (WHITEONBLACK) or one is kept.
BOOL StretchBlt(HDC hdcDest, int xDest, int yDest, int wDest, int hDest, HDC hdcSrc, int xSrc, int ySrc, int wSrc,
                int hSrc, DWORD rop);

// Regions. Their data is a header followed by the rectangles, in the y-x banded order: sorted by top, then left,
// the rectangles of a band sharing top and bottom and never touching, and bands with the same spans that meet
// merged into one. That form is unique for a set of pixels.
inline constexpr DWORD RDH_RECTANGLES = 1;

struct RGNDATAHEADER {
    DWORD dwSize; // 32
    DWORD iType;  // RDH_RECTANGLES
    DWORD nCount;
    DWORD nRgnSize; // 16 per rectangle
    RECT rcBound;
};

struct RGNDATA {
    RGNDATAHEADER rdh;
    char Buffer[1]; // nCount RECTs
};

static_assert(sizeof(RGNDATAHEADER) == 32);

struct XFORM {
    float eM11, eM12, eM21, eM22, eDx, eDy;
};

// The union of the data's rectangles (empty ones are skipped; any order and overlaps are accepted). Null when
// the data is shorter than its header or its rectangles, or when a transform is given (not supported here).
HRGN ExtCreateRegion(const XFORM* xform, DWORD count, const RGNDATA* data);
// The size the region's data needs when `data` is null; else fills `data` and returns the size, or 0 when
// `count` bytes cannot hold it.
DWORD GetRegionData(HRGN region, DWORD count, RGNDATA* data);

#include "gdi/GdiDrawing.h"
#include "gdi/GdiText.h"
