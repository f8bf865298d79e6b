#pragma once
// GDI text on bitmaps in memory: fonts described by LOGFONTA and found through fontconfig (a missing face falls
// back to the closest match; "Arial", "Times New Roman" and "Courier New" are the metric twins of the Liberation
// fonts), drawn with FreeType in the text colour with anti-aliased edges, kerning, and an opaque or transparent
// background. Text is UTF-8. Included by gdi/WinGdi.h.

#include "gdi/WinGdi.h"

struct GdiFont;
using HFONT = GdiFont*;

inline constexpr int LF_FACESIZE = 32;

struct LOGFONTA {
    LONG lfHeight; // > 0: cell height (ascent + descent); < 0: character (em) height; 0: a default size
    LONG lfWidth;
    LONG lfEscapement;
    LONG lfOrientation;
    LONG lfWeight; // 0 default, 400 normal, 700 bold
    BYTE lfItalic;
    BYTE lfUnderline;
    BYTE lfStrikeOut;
    BYTE lfCharSet;
    BYTE lfOutPrecision;
    BYTE lfClipPrecision;
    BYTE lfQuality;
    BYTE lfPitchAndFamily;
    char lfFaceName[LF_FACESIZE];
};
static_assert(sizeof(LOGFONTA) == 60);

inline constexpr LONG FW_DONTCARE = 0;
inline constexpr LONG FW_NORMAL = 400;
inline constexpr LONG FW_BOLD = 700;
inline constexpr BYTE ANSI_CHARSET = 0;
inline constexpr BYTE DEFAULT_CHARSET = 1;
inline constexpr BYTE DEFAULT_QUALITY = 0;
inline constexpr BYTE NONANTIALIASED_QUALITY = 3;
inline constexpr BYTE ANTIALIASED_QUALITY = 4;
inline constexpr BYTE DEFAULT_PITCH = 0;
inline constexpr BYTE FIXED_PITCH = 1;
inline constexpr BYTE VARIABLE_PITCH = 2;
inline constexpr BYTE FF_DONTCARE = 0x00;
inline constexpr BYTE FF_ROMAN = 0x10;
inline constexpr BYTE FF_SWISS = 0x20;
inline constexpr BYTE FF_MODERN = 0x30;

struct TEXTMETRICA {
    LONG tmHeight;
    LONG tmAscent;
    LONG tmDescent;
    LONG tmInternalLeading;
    LONG tmExternalLeading;
    LONG tmAveCharWidth;
    LONG tmMaxCharWidth;
    LONG tmWeight;
    LONG tmOverhang;
    LONG tmDigitizedAspectX;
    LONG tmDigitizedAspectY;
    BYTE tmFirstChar;
    BYTE tmLastChar;
    BYTE tmDefaultChar;
    BYTE tmBreakChar;
    BYTE tmItalic;
    BYTE tmUnderlined;
    BYTE tmStruckOut;
    BYTE tmPitchAndFamily;
    BYTE tmCharSet;
};

// A font for the description; null when no font at all can be found.
HFONT CreateFontIndirectA(const LOGFONTA* description);
HGDIOBJ SelectObject(HDC hdc, HFONT font);
BOOL DeleteObject(HFONT font);
// Stock fonts for GetStockObject: the system font (the default of a new device context) and the dialog font.
inline constexpr int ANSI_VAR_FONT = 12;
inline constexpr int SYSTEM_FONT = 13;
inline constexpr int DEFAULT_GUI_FONT = 17;

BOOL GetTextMetricsA(HDC hdc, TEXTMETRICA* metrics);
// The width of the first `count` bytes of UTF-8 text and the font's cell height.
BOOL GetTextExtentPoint32A(HDC hdc, const char* text, int count, SIZE* size);
// Draws text with its top left corner at (x, y).
BOOL TextOutA(HDC hdc, int x, int y, const char* text, int count);

inline constexpr UINT DT_TOP = 0x0000;
inline constexpr UINT DT_LEFT = 0x0000;
inline constexpr UINT DT_CENTER = 0x0001;
inline constexpr UINT DT_RIGHT = 0x0002;
inline constexpr UINT DT_VCENTER = 0x0004;
inline constexpr UINT DT_BOTTOM = 0x0008;
inline constexpr UINT DT_SINGLELINE = 0x0020;
inline constexpr UINT DT_NOCLIP = 0x0100;
inline constexpr UINT DT_EXTERNALLEADING = 0x0200;
inline constexpr UINT DT_CALCRECT = 0x0400;
inline constexpr UINT DT_NOPREFIX = 0x0800;
// Draws text in the rectangle: lines broken at line feeds (unless DT_SINGLELINE), placed as the flags say, clipped
// to the rectangle unless DT_NOCLIP; '&' marks the next character underlined unless DT_NOPREFIX ("&&" is one '&').
// With DT_CALCRECT nothing is drawn and the rectangle becomes the text's (its left and top kept). Returns the
// height of the text; count -1 takes the text to its terminating zero.
int DrawTextA(HDC hdc, const char* text, int count, RECT* rect, UINT format);

// The installed font families, each once, in alphabetical order, as `proc` receives them (the face name in the
// LOGFONTA; of the metrics only the pitch and family are filled). Stops when `proc` returns 0; returns its last
// result.
using FONTENUMPROCA = int (*)(const LOGFONTA* font, const TEXTMETRICA* metrics, DWORD fontType, LPARAM data);
inline constexpr DWORD TRUETYPE_FONTTYPE = 4;
int EnumFontFamiliesExA(HDC hdc, const LOGFONTA* filter, FONTENUMPROCA proc, LPARAM data, DWORD flags);
