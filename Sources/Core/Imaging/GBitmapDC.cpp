#include "Imaging/GBitmapDC.h"

GBitmapDC::GBitmapDC(HBITMAP bitmap) : m_dc(CreateCompatibleDC(nullptr)) {
    setBitmap(bitmap);
}

GBitmapDC::~GBitmapDC() {
    if (m_displaced != nullptr)
        SelectObject(m_dc, m_displaced);
    DeleteDC(m_dc);
}

void GBitmapDC::setBitmap(HBITMAP bitmap) {
    if (bitmap == nullptr)
        return;
    HGDIOBJ displaced = SelectObject(m_dc, bitmap);
    if (m_displaced == nullptr)
        m_displaced = displaced;
}
