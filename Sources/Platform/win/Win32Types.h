#pragma once
// The Win32 base types, with the sizes they have on Windows. Layouts in files, streams and the registry rely on
// these sizes, so they are fixed-width here where Linux's own types differ (long is 64 bits).

#include <cstdint>

using BYTE = std::uint8_t;
using WORD = std::uint16_t;
using DWORD = std::uint32_t;
using UINT = std::uint32_t;
using LONG = std::int32_t;
using BOOL = std::int32_t;
using COLORREF = DWORD;
// Message parameters and callback data: pointer-sized, as on 64-bit Windows.
using WPARAM = std::uintptr_t;
using LPARAM = std::intptr_t;
// A kernel object's handle (a process, a thread, a file mapping).
using HANDLE = void*;
// A window; the shell's windows stand behind it.
using HWND = void*;

// Toolkit headers (GLib's) may have defined them as macros already, with the same values.
#ifndef TRUE
inline constexpr BOOL TRUE = 1;
#endif
#ifndef FALSE
inline constexpr BOOL FALSE = 0;
#endif

struct POINT {
    LONG x;
    LONG y;
};

struct SIZE {
    LONG cx;
    LONG cy;
};

struct RECT {
    LONG left;
    LONG top;
    LONG right;
    LONG bottom;
};

// A module handle is the load address of the shared object, as on Windows. The incomplete struct keeps it a
// distinct pointer type, so it never converts to or from a text pointer by accident.
struct HINSTANCE__;
using HINSTANCE = HINSTANCE__*;
using HMODULE = HINSTANCE;

static_assert(sizeof(WORD) == 2 && sizeof(DWORD) == 4 && sizeof(LONG) == 4 && sizeof(BOOL) == 4);
static_assert(sizeof(POINT) == 8 && sizeof(SIZE) == 8 && sizeof(RECT) == 16);
