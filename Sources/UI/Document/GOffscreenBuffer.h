#pragma once
// GOffscreenBuffer: the composed scene kept ready for painting, a 32-bit bitmap selected into a memory device
// context. The view copies it to the screen; only the parts that changed are drawn into it again.

#include "Imaging/GBitmapDC.h"
#include "Imaging/GDIBImage.h"

#include <memory>

class GSprite;

class GOffscreenBuffer {
public:
    GOffscreenBuffer();

    SIZE size() const { return {m_bitmap.get_width(), m_bitmap.get_height()}; }
    // A new size; the content is not kept.
    void resize(int width, int height);
    HDC dc() const { return *m_dc; }
    GDIBImage& bitmap() { return m_bitmap; }
    // The pixels of `image` within `clip`, as they are.
    void copy(const GSprite& image, const RECT& clip);
    // A sprite of pre-multiplied colours laid over the buffer at `position`, within `clip`.
    void putPremultiplied(const GSprite& sprite, const POINT& position, const RECT& clip);

private:
    GDIBImage m_bitmap;
    std::unique_ptr<GBitmapDC> m_dc;
};
