#include "Drawing/GWxImage.h"

#include "Imaging/GAbstractDIBImage.h"
#include "gdi/GdiObjects.h"

#include <wx/mstream.h>

#include <algorithm>
#include <vector>

namespace {

void addPngHandler() {
    if (wxImage::FindHandler(wxBITMAP_TYPE_PNG) == nullptr)
        wxImage::AddHandler(new wxPNGHandler);
}

// A picture with alpha made row by row: `rowOf(y, row)` gives row y as pixels 0xAARRGGBB.
template <class RowOf>
wxImage pictureOf(int width, int height, RowOf rowOf) {
    wxImage picture(width, height, false);
    picture.SetAlpha();
    unsigned char* rgb = picture.GetData();
    unsigned char* alpha = picture.GetAlpha();
    std::vector<DWORD> row(static_cast<std::size_t>(width));
    for (int y = 0; y < height; ++y) {
        rowOf(y, row.data());
        for (const DWORD pixel : row) {
            *rgb++ = static_cast<unsigned char>(pixel >> 16);
            *rgb++ = static_cast<unsigned char>(pixel >> 8);
            *rgb++ = static_cast<unsigned char>(pixel);
            *alpha++ = static_cast<unsigned char>(pixel >> 24);
        }
    }
    return picture;
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
    return pictureOf(width, image.get_height(), [&](int y, DWORD* row) { image.get_hline(row, 0, y, width); });
}

wxImage GWxImage::FromResource(HMODULE module, const char* name) {
    const ImageResource* resource = FindBitmapResource(module, name);
    if (resource == nullptr || resource->width <= 0 || resource->height <= 0)
        return wxImage();
    const int width = resource->width;
    return pictureOf(width, resource->height, [&](int y, DWORD* row) {
        std::copy_n(resource->pixels + static_cast<std::size_t>(y) * width, width, row);
    });
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
    return pictureOf(bitmap->width, bitmap->height, [&](int y, DWORD* row) {
        for (int x = 0; x < bitmap->width; ++x)
            row[x] = bitmap->bitCount == 32 ? bitmap->rawAt(x, y) : 0xFF000000 | bitmap->colourAt(x, y);
    });
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
