#pragma once
// The GDI calls the system makes on bitmaps in memory: device-independent bitmaps (DIB sections), memory
// device contexts, and copying and stretching between them.

#include "Platform/win/Win32Types.h"

struct GdiObject;
struct GdiDC;
using HGDIOBJ = GdiObject*;
using HBITMAP = GdiObject*;
using HDC = GdiDC*;
using HWND = void*;
using HANDLE = void*;

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

inline constexpr DWORD SRCCOPY = 0x00CC0020;

inline constexpr int BLACKONWHITE = 1;
inline constexpr int WHITEONBLACK = 2;
inline constexpr int COLORONCOLOR = 3;
inline constexpr int HALFTONE = 4;

// A bitmap whose pixels the caller reaches through `bits`; rows are padded to 4 bytes. Supported: 1, 8, 24 and
// 32 bits per pixel, uncompressed. The device context is not used (colours come from the BITMAPINFO).
HBITMAP CreateDIBSection(HDC hdc, const BITMAPINFO* info, UINT usage, void** bits, HANDLE section, DWORD offset);
BOOL DeleteObject(HGDIOBJ object);

// The screen's device context (a stand-in: there is no screen here); ReleaseDC does nothing for it.
HDC GetDC(HWND window);
int ReleaseDC(HWND window, HDC hdc);
// A memory device context holding a 1 x 1 monochrome bitmap until another is selected.
HDC CreateCompatibleDC(HDC hdc);
BOOL DeleteDC(HDC hdc);
// Selects a bitmap into a memory device context; returns the one it displaced, null on failure.
HGDIOBJ SelectObject(HDC hdc, HGDIOBJ object);
int SetStretchBltMode(HDC hdc, int mode);
int GetStretchBltMode(HDC hdc);

// Copies between the bitmaps selected into two device contexts, clipped to both; SRCCOPY only. Colours are
// converted between formats: table colours to exact colours, and exact colours to the nearest table entry.
BOOL BitBlt(HDC hdcDest, int x, int y, int width, int height, HDC hdcSrc, int x1, int y1, DWORD rop);
// Scales as GDI does: each destination pixel takes the source pixel under its centre when enlarging; when
// shrinking, the source pixels of a group are ANDed (BLACKONWHITE), ORed (WHITEONBLACK) or one is kept.
BOOL StretchBlt(HDC hdcDest, int xDest, int yDest, int wDest, int hDest, HDC hdcSrc, int xSrc, int ySrc, int wSrc,
                int hSrc, DWORD rop);
