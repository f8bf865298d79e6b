#include "Drawing/GWxImage.h"

#include "Imaging/GAbstractDIBImage.h"

#include <wx/mstream.h>

#include <vector>

namespace {

void addPngHandler() {
    if (wxImage::FindHandler(wxBITMAP_TYPE_PNG) == nullptr)
        wxImage::AddHandler(new wxPNGHandler);
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
        for (const DWORD pixel : row) {
            *rgb++ = static_cast<unsigned char>(pixel >> 16);
            *rgb++ = static_cast<unsigned char>(pixel >> 8);
            *rgb++ = static_cast<unsigned char>(pixel);
            *alpha++ = static_cast<unsigned char>(pixel >> 24);
        }
    }
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
        for (DWORD& pixel : row) {
            const DWORD a = alpha != nullptr ? *alpha++ : 0xFF;
            pixel = (a << 24) | (DWORD{rgb[0]} << 16) | (DWORD{rgb[1]} << 8) | rgb[2];
            rgb += 3;
        }
        target.put_hline(row.data(), 0, y, width);
    }
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
