#include "Drawing/GWxImage.h"

#include "Imaging/GAbstractDIBImage.h"
#include "gdi/GdiObjects.h"

#include <wx/mstream.h>

#include <vector>

namespace {

void addPngHandler() {
    if (wxImage::FindHandler(wxBITMAP_TYPE_PNG) == nullptr)
        wxImage::AddHandler(new wxPNGHandler);
}

} // namespace

namespace {

// Pixels 0xAARRGGBB into a picture's colour and alpha planes, from where `rgb` and `alpha` point.
void putPixels(const DWORD* pixels, int count, unsigned char*& rgb, unsigned char*& alpha) {
    for (int i = 0; i < count; ++i) {
        const DWORD pixel = pixels[i];
        *rgb++ = static_cast<unsigned char>(pixel >> 16);
        *rgb++ = static_cast<unsigned char>(pixel >> 8);
        *rgb++ = static_cast<unsigned char>(pixel);
        *alpha++ = static_cast<unsigned char>(pixel >> 24);
    }
}

// The picture's pixels from where `rgb` and `alpha` (null: opaque) point, as 0xAARRGGBB.
void takePixels(DWORD* pixels, int count, const unsigned char*& rgb, const unsigned char*& alpha) {
    for (int i = 0; i < count; ++i) {
        const DWORD a = alpha != nullptr ? *alpha++ : 0xFF;
        pixels[i] = (a << 24) | (DWORD{rgb[0]} << 16) | (DWORD{rgb[1]} << 8) | rgb[2];
        rgb += 3;
    }
}

} // namespace

wxImage GWxImage::FromDIB(const GAbstractDIBImage& image) {
    const int width = image.get_width();
    const int height = image.get_height();
    wxImage picture(width, height, false);
    picture.SetAlpha();
    unsigned char* rgb = picture.GetData();
    unsigned char* alpha = picture.GetAlpha();
    std::vector<DWORD> row(static_cast<std::size_t>(width));
    for (int y = 0; y < height; ++y) {
        image.get_hline(row.data(), 0, y, width);
        putPixels(row.data(), width, rgb, alpha);
    }
    return picture;
}

wxImage GWxImage::FromResource(HMODULE module, const char* name) {
    const ImageResource* resource = FindBitmapResource(module, name);
    if (resource == nullptr || resource->width <= 0 || resource->height <= 0)
        return wxImage();
    wxImage picture(resource->width, resource->height, false);
    picture.SetAlpha();
    unsigned char* rgb = picture.GetData();
    unsigned char* alpha = picture.GetAlpha();
    putPixels(resource->pixels, resource->width * resource->height, rgb, alpha);
    return picture;
}

void GWxImage::ToDIB(const wxImage& picture, GAbstractDIBImage& target) {
    const int width = picture.GetWidth();
    const int height = picture.GetHeight();
    target.resize(width, height);
    const unsigned char* rgb = picture.GetData();
    const unsigned char* alpha = picture.HasAlpha() ? picture.GetAlpha() : nullptr;
    std::vector<DWORD> row(static_cast<std::size_t>(width));
    for (int y = 0; y < height; ++y) {
        takePixels(row.data(), width, rgb, alpha);
        target.put_hline(row.data(), 0, y, width);
    }
}

HBITMAP GWxImage::ToBitmap(const wxImage& picture) {
    if (!picture.IsOk())
        return nullptr;
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), picture.GetWidth(), -picture.GetHeight(), 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (bitmap == nullptr)
        return nullptr;
    const unsigned char* rgb = picture.GetData();
    const unsigned char* alpha = picture.HasAlpha() ? picture.GetAlpha() : nullptr;
    takePixels(static_cast<DWORD*>(bits), picture.GetWidth() * picture.GetHeight(), rgb, alpha);
    return bitmap;
}

wxImage GWxImage::FromBitmap(HBITMAP bitmap) {
    if (bitmap == nullptr || bitmap->width <= 0 || bitmap->height <= 0)
        return wxImage();
    wxImage picture(bitmap->width, bitmap->height, false);
    picture.SetAlpha();
    unsigned char* rgb = picture.GetData();
    unsigned char* alpha = picture.GetAlpha();
    std::vector<DWORD> row(static_cast<std::size_t>(bitmap->width));
    for (int y = 0; y < bitmap->height; ++y) {
        for (int x = 0; x < bitmap->width; ++x)
            row[static_cast<std::size_t>(x)] =
                bitmap->bitCount == 32 ? bitmap->rawAt(x, y) : 0xFF000000 | bitmap->colourAt(x, y);
        putPixels(row.data(), bitmap->width, rgb, alpha);
    }
    return picture;
}

wxImage GWxImage::CursorImage(HCURSOR cursor) {
    wxImage picture = cursor != nullptr ? FromBitmap(cursor->image) : wxImage();
    if (picture.IsOk()) {
        picture.SetOption(wxIMAGE_OPTION_CUR_HOTSPOT_X, cursor->hotSpot.x);
        picture.SetOption(wxIMAGE_OPTION_CUR_HOTSPOT_Y, cursor->hotSpot.y);
    }
    return picture;
}

wxCursor GWxImage::CursorOf(HCURSOR cursor) {
    const wxImage picture = CursorImage(cursor);
    return picture.IsOk() ? wxCursor(picture) : wxCursor(wxCURSOR_ARROW);
}

std::vector<unsigned char> GWxImage::EncodePng(const GAbstractDIBImage& image) {
    addPngHandler();
    wxMemoryOutputStream out;
    if (!FromDIB(image).SaveFile(out, wxBITMAP_TYPE_PNG))
        return {};
    std::vector<unsigned char> bytes(out.GetSize());
    out.CopyTo(bytes.data(), bytes.size());
    return bytes;
}

bool GWxImage::DecodePng(const std::vector<unsigned char>& bytes, GAbstractDIBImage& target) {
    addPngHandler();
    wxMemoryInputStream in(bytes.data(), bytes.size());
    wxImage picture;
    if (bytes.empty() || !picture.LoadFile(in, wxBITMAP_TYPE_PNG))
        return false;
    ToDIB(picture, target);
    return true;
}
