#include "Document/GOffscreenBuffer.h"

#include "Imaging/GIPLCompositionMode.h"
#include "Sprites/GSprite.h"

#include <algorithm>
#include <cstring>

GOffscreenBuffer::GOffscreenBuffer() : m_dc(std::make_unique<GBitmapDC>(nullptr)) {}

void GOffscreenBuffer::resize(int width, int height) {
    m_dc->setBitmap(nullptr);
    m_dc = std::make_unique<GBitmapDC>(nullptr);
    m_bitmap.resize(width, height);
    m_dc->setBitmap(m_bitmap.get_section());
}

void GOffscreenBuffer::copy(const GSprite& image, const RECT& clip) {
    const int left = std::max<int>(clip.left, 0);
    const int right = std::min({static_cast<int>(clip.right), image.get_width(), m_bitmap.get_width()});
    const int top = std::max<int>(clip.top, 0);
    const int bottom = std::min({static_cast<int>(clip.bottom), image.get_height(), m_bitmap.get_height()});
    if (left >= right)
        return;
    for (int y = top; y < bottom; ++y)
        std::memcpy(m_bitmap.get_line_address_to_modify(y) + left, image.get_line_address(y) + left,
                    static_cast<std::size_t>(right - left) * sizeof(DWORD));
}

void GOffscreenBuffer::putPremultiplied(const GSprite& sprite, const POINT& position, const RECT& clip) {
    GIPLCompositionMode over(0);
    over.alphaPremultiplied(true);
    GIPLImage::PutImage(&clip, m_bitmap.get_image(), nullptr, position, sprite.get_image(), sprite.mask().get_image(),
                        over);
}
