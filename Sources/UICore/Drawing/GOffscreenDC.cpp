#include "Drawing/GOffscreenDC.h"

GOffscreenDC::GOffscreenDC(int width, int height) : m_dc(CreateCompatibleDC(nullptr)) {
    resize(width, height);
}

GOffscreenDC::~GOffscreenDC() {
    releaseBitmap();
    DeleteDC(m_dc);
}

void GOffscreenDC::releaseBitmap() {
    if (m_bitmap == nullptr)
        return;
    SelectObject(m_dc, m_stock);
    DeleteObject(m_bitmap);
    m_bitmap = nullptr;
    m_width = m_height = 0;
}

void GOffscreenDC::resize(int width, int height) {
    if (m_bitmap != nullptr && width == m_width && height == m_height)
        return;
    releaseBitmap();
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    m_bitmap = CreateDIBSection(m_dc, &info, DIB_RGB_COLORS, nullptr, nullptr, 0);
    if (m_bitmap == nullptr)
        return;
    m_stock = SelectObject(m_dc, m_bitmap);
    m_width = width;
    m_height = height;
}

HBITMAP GOffscreenDC::detach() {
    HBITMAP bitmap = m_bitmap;
    if (bitmap != nullptr)
        SelectObject(m_dc, m_stock);
    m_bitmap = nullptr;
    m_width = m_height = 0;
    return bitmap;
}
