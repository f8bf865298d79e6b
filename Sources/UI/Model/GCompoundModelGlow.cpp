// GCompoundModel's selection glow: a soft halo of the glow colour round the model's outline, drawn by the document
// round the selected object.

#include "Model/GCompoundModel.h"

#include "Preferences/GlobalColor.h"
#include "Settings/GRegistryDWord.h"
#include "ipl/ipl.h"

#include <algorithm>

const GSprite& GCompoundModel::softGlowImage() {
    if (m_glow.get_width() > 0 && m_glow.get_height() > 0)
        return m_glow;
    GIPLMask outline;
    getFullMask(outline);
    const COLORREF colour = SoftGlowColor().getColor();
    const DWORD glowPixel = (colour & 0xFF) << 16 | (colour & 0xFF00) | (colour >> 16 & 0xFF); // alpha 0
    const int border = static_cast<int>(std::min<DWORD>(static_cast<DWORD>(SoftGlowBorder()), 256));
    const int width = get_width();
    const int height = get_height();
    m_glow.resize(width + 2 * border, height + 2 * border);
    if (m_glow.get_width() <= 0 || m_glow.get_height() <= 0)
        return m_glow;
    m_glow.full_fill(glowPixel);
    // Opaque where the model is, then blurred outwards.
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            if (outline.getBit(x, y))
                m_glow.set_pixel(x + border, y + border, glowPixel | 0xFF000000);
    if (border > 0) {
        GDIBImage blurred(m_glow.get_width(), m_glow.get_height());
        iplBlur(m_glow.get_image(), blurred.get_image(), border, border, border / 2, border / 2);
        iplCopy(blurred.get_image(), m_glow.get_image());
    }
    // The halo only: the blurred pixels that show, less the model itself; the colour premultiplied by the alpha.
    for (int y = 0; y < m_glow.get_height(); ++y)
        for (int x = 0; x < m_glow.get_width(); ++x) {
            const int mx = x - border;
            const int my = y - border;
            const bool onModel = mx >= 0 && my >= 0 && mx < width && my < height && outline.getBit(mx, my);
            const DWORD pixel = m_glow.get_pixel(x, y);
            const DWORD alpha = pixel >> 24;
            m_glow.mask().setBit(x, y, alpha != 0 && !onModel);
            DWORD premultiplied = alpha << 24;
            for (const int shift : {0, 8, 16})
                premultiplied |= (((pixel >> shift) & 0xFF) * alpha + 127) / 255 << shift;
            m_glow.set_pixel(x, y, premultiplied);
        }
    return m_glow;
}

void GCompoundModel::resetSoftGlowImage() {
    m_glow.free_image();
}
