#pragma once
// GOffscreenDC: a memory device context with a 32-bit bitmap of its own selected into it, to draw on before the
// result is shown or used.

#include "gdi/WinGdi.h"

class GOffscreenDC {
public:
    GOffscreenDC(int width, int height);
    ~GOffscreenDC();
    GOffscreenDC(const GOffscreenDC&) = delete;
    GOffscreenDC& operator=(const GOffscreenDC&) = delete;

    HDC dc() const { return m_dc; }
    HBITMAP bitmap() const { return m_bitmap; }
    int width() const { return m_width; }
    int height() const { return m_height; }
    // A new, cleared bitmap of that size when the size differs; the drawing is not kept.
    void resize(int width, int height);
    // Gives the bitmap to the caller (who deletes it); the context is left without one until the next resize.
    HBITMAP detach();

private:
    void releaseBitmap();

    HDC m_dc;
    HBITMAP m_bitmap = nullptr;
    HGDIOBJ m_stock = nullptr;
    int m_width = 0;
    int m_height = 0;
};
