#pragma once
// GWxImage: the framework's images made from this system's images (32-bit pixels 0xAARRGGBB) and back, for the
// clipboard, drag and drop and the screen.

#include "gdi/ModuleBitmaps.h"

#include <wx/cursor.h>
#include <wx/image.h>

#include <vector>

class GAbstractDIBImage;

class GWxImage {
public:
    // The picture with its alpha channel.
    static wxImage FromDIB(const GAbstractDIBImage& image);
    // A module's bitmap resource by number (MAKEINTRESOURCEA) or name, with its alpha; invalid when it has none.
    static wxImage FromResource(HMODULE module, const char* name);
    // A bitmap of this system's GDI (32-bit pixels keep their alpha, others are opaque); invalid for null.
    static wxImage FromBitmap(HBITMAP bitmap);
    // A 32-bit top-down bitmap of the picture (the caller deletes it); opaque where the picture has no alpha.
    static HBITMAP ToBitmap(const wxImage& picture);
    // A cursor's picture with its hot spot as the image options the framework's cursors read; invalid for null.
    static wxImage CursorImage(HCURSOR cursor);
    // The cursor itself; the standard arrow for null.
    static wxCursor CursorOf(HCURSOR cursor);
    // The target resized to the picture and filled with it; pixels are opaque where the picture has no alpha.
    static void ToDIB(const wxImage& picture, GAbstractDIBImage& target);
    // The image as PNG bytes (empty when it cannot be encoded), and PNG bytes into the target (false when they are
    // no PNG picture; the target is then unchanged).
    static std::vector<unsigned char> EncodePng(const GAbstractDIBImage& image);
    static bool DecodePng(const std::vector<unsigned char>& bytes, GAbstractDIBImage& target);
};
