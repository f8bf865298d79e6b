#pragma once
// A memory device context holding a bitmap; what it held before is put back when it goes.

#include "gdi/WinGdi.h"

class GBitmapDC {
public:
    explicit GBitmapDC(HBITMAP bitmap);
    ~GBitmapDC();
    GBitmapDC(const GBitmapDC&) = delete;
    GBitmapDC& operator=(const GBitmapDC&) = delete;

    // Selects another bitmap (null is ignored).
    void setBitmap(HBITMAP bitmap);
    HDC getDC() const { return m_dc; }
    operator HDC() const { return m_dc; }

private:
    HDC m_dc;
    HGDIOBJ m_displaced = nullptr; // what the first selection displaced
};
