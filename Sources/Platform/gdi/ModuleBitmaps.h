#pragma once
// Per-module bitmap and cursor resources: a module's images are compiled into it at build time (by korres, from
// the image files of its source folder) and registered when it is loaded, keyed by its module handle, so that
// LoadBitmapA, LoadImageA and LoadCursorA find them as on Windows. A resource is named by a number or by a name
// (names compare without regard to case); a module without the resource gives null.

#include "gdi/WinGdi.h"

#include <cstdint>
#include <span>

// A resource name: a number made a pointer (MAKEINTRESOURCEA) or a text.
inline const char* MAKEINTRESOURCEA(UINT id) {
    return reinterpret_cast<const char*>(static_cast<std::uintptr_t>(id & 0xFFFF));
}
inline bool IS_INTRESOURCE(const char* name) {
    return reinterpret_cast<std::uintptr_t>(name) >> 16 == 0;
}

// One image: 32-bit pixels 0xAARRGGBB, top row first. A cursor has a hot spot.
struct ImageResource {
    UINT id;          // 0 when named
    const char* name; // null when numbered
    int width;
    int height;
    const DWORD* pixels;
    bool cursor;
    int hotX;
    int hotY;
};

// Registers the images of the module that holds this object (one static instance per module; the table must
// outlive it).
class ModuleImageTable {
public:
    explicit ModuleImageTable(std::span<const ImageResource> images);
    ~ModuleImageTable();
    ModuleImageTable(const ModuleImageTable&) = delete;
    ModuleImageTable& operator=(const ModuleImageTable&) = delete;

private:
    HMODULE m_module;
};

// The bitmap resource itself (its pixels stay the module's); null when the module has none of that name.
const ImageResource* FindBitmapResource(HMODULE module, const char* name);
// A 32-bit top-down DIB section of the bitmap resource; null when the module has none of that name.
HBITMAP LoadBitmapA(HMODULE module, const char* name);

inline constexpr UINT IMAGE_BITMAP = 0;
inline constexpr UINT IMAGE_CURSOR = 2;
inline constexpr UINT LR_DEFAULTCOLOR = 0;
inline constexpr UINT LR_CREATEDIBSECTION = 0x2000;
// IMAGE_BITMAP only: the bitmap resource, stretched to width x height when they are not 0. The result is an
// HBITMAP as a HANDLE.
HANDLE LoadImageA(HMODULE module, const char* name, UINT type, int width, int height, UINT flags);

// A cursor: its image (owned) and its hot spot.
struct GdiCursor {
    HBITMAP image;
    POINT hotSpot;
};
using HCURSOR = GdiCursor*;
HCURSOR LoadCursorA(HMODULE module, const char* name);
BOOL DestroyCursor(HCURSOR cursor);
