#pragma once
// Effects for the tests: one that enlarges its model and paints the margin it adds, one that draws a shadow under
// its model onto the parent.

#include "Model/GCompoundModel.h"

#include <algorithm>

// Internal: grows the model by `border` on every side and paints that margin with `pixel`.
class GrowingEffect : public GImageEffect {
public:
    GrowingEffect(int border, DWORD pixel) : GImageEffect(false), m_border(border), m_pixel(pixel) {}
    const GMetaClass& getMetaClass() const override { return GImageEffect::metaclass_; }

    void adjustBoundingRect(RECT& rect) const override {
        rect = {rect.left - m_border, rect.top - m_border, rect.right + m_border, rect.bottom + m_border};
    }
    void adjustImage(GSprite& image, const RECT& rect) const override {
        const int width = getModel()->get_width();
        const int height = getModel()->get_height();
        for (int y = std::max<int>(rect.top, 0); y < std::min<int>(rect.bottom, image.get_height()); ++y)
            for (int x = std::max<int>(rect.left, 0); x < std::min<int>(rect.right, image.get_width()); ++x)
                if (x < m_border || y < m_border || x >= m_border + width || y >= m_border + height) {
                    image.set_pixel(x, y, m_pixel);
                    image.mask().setBit(x, y, true);
                }
    }

private:
    int m_border;
    DWORD m_pixel;
};

// External: the model's rectangle moved by (`by`, `by`), filled with `pixel` on the parent.
class ShadowEffect : public GImageEffect {
public:
    ShadowEffect(int by, DWORD pixel) : GImageEffect(true), m_by(by), m_pixel(pixel) {}
    const GMetaClass& getMetaClass() const override { return GImageEffect::metaclass_; }

    void adjustBoundingRect(RECT& rect) const override {
        rect.right += m_by;
        rect.bottom += m_by;
    }
    void putToImage(GSprite& parentImage, const RECT& rect, const POINT& shift) const override {
        RECT at;
        getModel()->getParentBoundingRect(at, GCompoundModel::WithoutEffects);
        const int left = std::max<int>({at.left + m_by + shift.x, rect.left, 0});
        const int top = std::max<int>({at.top + m_by + shift.y, rect.top, 0});
        const int right = std::min<int>({at.right + m_by + shift.x, rect.right, parentImage.get_width()});
        const int bottom = std::min<int>({at.bottom + m_by + shift.y, rect.bottom, parentImage.get_height()});
        for (int y = top; y < bottom; ++y)
            for (int x = left; x < right; ++x)
                parentImage.set_pixel(x, y, m_pixel);
    }

private:
    int m_by;
    DWORD m_pixel;
};
