#include "Imaging/GDIBSection.h"

#include "Streams/ipstream.h"
#include "Streams/opstream.h"

#include <utility>

G_IMPLEMENT_CLASS(GDIBSection, GIPLImage)

namespace {

struct SectionInfo {
    BITMAPINFOHEADER header;
    RGBQUAD colours[256];
};

} // namespace

GDIBSection::~GDIBSection() {
    free_image();
}

void GDIBSection::allocate_image(int width, int height, ColorModel model, int) {
    free_image();
    if (width < 1 || height < 1 || model < Bitmap || model > ColourAlpha)
        return;
    static const WORD bitCounts[] = {1, 8, 24, 32};
    SectionInfo info{};
    info.header = {sizeof(BITMAPINFOHEADER), width, -height, 1, bitCounts[model], BI_RGB, 0, 0, 0, 0, 0};
    if (model == Bitmap) {
        info.colours[0] = {0, 0, 0, 0};
        info.colours[1] = {255, 255, 255, 0};
    } else if (model == Grey) {
        for (int i = 0; i < 256; ++i)
            info.colours[i] = {BYTE(i), BYTE(i), BYTE(i), 0};
    }
    HDC screen = GetDC(nullptr);
    void* bits = nullptr;
    m_section = CreateDIBSection(screen, reinterpret_cast<const BITMAPINFO*>(&info), DIB_RGB_COLORS, &bits, nullptr, 0);
    ReleaseDC(nullptr, screen);
    if (m_section != nullptr)
        attach_image(width, height, bits, model, model == Bitmap ? IPL_DEPTH_1U : IPL_DEPTH_8U);
}

void GDIBSection::free_image() {
    HBITMAP section = std::exchange(m_section, nullptr);
    GIPLImage::free_image();
    if (section != nullptr)
        DeleteObject(section);
}

HBITMAP GDIBSection::detach() {
    HBITMAP section = std::exchange(m_section, nullptr);
    GIPLImage::free_image();
    return section;
}

void GDIBSection::write(opstream& stream) const {
    stream.writeByte(0);
    GIPLImage::write(stream);
}

void GDIBSection::read(ipstream& stream) {
    stream.readVersion(0, typeid(GDIBSection));
    GIPLImage::read(stream);
}
