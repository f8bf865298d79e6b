#include "gdi/ModuleBitmaps.h"

#include "gdi/GdiObjects.h"
#include "win/ModuleRegistry.h"
#include "win/Modules.h"

#include <cstring>
#include <strings.h>

namespace {

using Registry = ModuleRegistry<std::span<const ImageResource>>;

bool matches(const ImageResource& image, const char* name) {
    if (IS_INTRESOURCE(name))
        return image.name == nullptr && image.id == static_cast<UINT>(reinterpret_cast<std::uintptr_t>(name));
    return image.name != nullptr && strcasecmp(image.name, name) == 0;
}

const ImageResource* find(HMODULE module, const char* name, bool cursor) {
    return Registry::Instance().find<const ImageResource>(module, [&](std::span<const ImageResource> images) {
        for (const ImageResource& image : images)
            if (image.cursor == cursor && matches(image, name))
                return &image;
        return static_cast<const ImageResource*>(nullptr);
    });
}

HBITMAP bitmapOf(const ImageResource& image) {
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), image.width, -image.height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (bitmap != nullptr)
        std::memcpy(bits, image.pixels, static_cast<std::size_t>(image.width) * image.height * 4);
    return bitmap;
}

} // namespace

ModuleImageTable::ModuleImageTable(std::span<const ImageResource> images) : m_module(ModuleFromAddress(this)) {
    Registry::Instance().add(this, m_module, images);
}

ModuleImageTable::~ModuleImageTable() {
    Registry::Instance().remove(this);
}

const ImageResource* FindBitmapResource(HMODULE module, const char* name) {
    return name != nullptr ? find(module, name, false) : nullptr;
}

HBITMAP LoadBitmapA(HMODULE module, const char* name) {
    const ImageResource* image = FindBitmapResource(module, name);
    return image != nullptr ? bitmapOf(*image) : nullptr;
}

HANDLE LoadImageA(HMODULE module, const char* name, UINT type, int width, int height, UINT) {
    if (type != IMAGE_BITMAP)
        return nullptr;
    HBITMAP bitmap = LoadBitmapA(module, name);
    if (bitmap == nullptr || ((width == 0 || width == bitmap->width) && (height == 0 || height == bitmap->height)))
        return bitmap;
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER),
                      width != 0 ? width : bitmap->width,
                      -(height != 0 ? height : bitmap->height),
                      1,
                      32,
                      BI_RGB,
                      0,
                      0,
                      0,
                      0,
                      0};
    HBITMAP stretched = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, nullptr, nullptr, 0);
    if (stretched != nullptr) {
        HDC from = CreateCompatibleDC(nullptr);
        HDC to = CreateCompatibleDC(nullptr);
        HGDIOBJ oldFrom = SelectObject(from, bitmap);
        HGDIOBJ oldTo = SelectObject(to, stretched);
        SetStretchBltMode(to, COLORONCOLOR);
        StretchBlt(to, 0, 0, stretched->width, stretched->height, from, 0, 0, bitmap->width, bitmap->height, SRCCOPY);
        SelectObject(from, oldFrom);
        SelectObject(to, oldTo);
        DeleteDC(from);
        DeleteDC(to);
    }
    DeleteObject(bitmap);
    return stretched;
}

HCURSOR LoadCursorA(HMODULE module, const char* name) {
    const ImageResource* image = name != nullptr ? find(module, name, true) : nullptr;
    if (image == nullptr)
        return nullptr;
    HBITMAP bitmap = bitmapOf(*image);
    return bitmap != nullptr ? new GdiCursor{bitmap, {image->hotX, image->hotY}} : nullptr;
}

BOOL DestroyCursor(HCURSOR cursor) {
    if (cursor == nullptr)
        return FALSE;
    DeleteObject(cursor->image);
    delete cursor;
    return TRUE;
}
