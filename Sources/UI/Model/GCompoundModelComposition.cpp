// GCompoundModel: composition into the combined cache, drawing onto the parent, hit testing, the blank test and
// the model as an image.

#include "Model/GCompoundModel.h"

#include "Preferences/GlobalColor.h"

#include <cstring>

namespace {

// The straight copy used to lay the own sprite into the cache.
const GIPLCompositionMode Copying(-1);

} // namespace

bool GCompoundModel::MaskIsFull(const GIPLMask& mask) {
    const IplImage* image = mask.get_image();
    if (image == nullptr)
        return true;
    const int width = image->width;
    for (int y = 0; y < image->height; ++y) {
        const auto* row = reinterpret_cast<const BYTE*>(image->imageData) + static_cast<long>(y) * image->widthStep;
        for (int x = 0; x < width / 8; ++x)
            if (row[x] != 0xFF)
                return false;
        const int rest = width % 8;
        if (rest != 0 && (row[width / 8] & (0xFF00 >> rest)) != (0xFF00 >> rest & 0xFF))
            return false;
    }
    return true;
}

// Whether anything is drawn over or into the own sprite: a visible child or an internal effect that is on.
bool GCompoundModel::hasOwnDrawing() const {
    for (int i = 0; i < getChildCount(); ++i)
        if (getChild(i)->visible())
            return true;
    for (int i = 0; i < getEffectCount(); ++i)
        if (getEffect(i)->isOn() && !getEffect(i)->isExternalEffect())
            return true;
    return false;
}

const GSprite& GCompoundModel::getCombinedImage() {
    if (!hasOwnDrawing())
        return m_image;
    if (!m_invalid.isEmpty())
        validateCache();
    return m_combined;
}

// Recomposes the cache inside the invalid region only: the own sprite copied, the internal effects applied, the
// children drawn, each rectangle in turn.
void GCompoundModel::validateCache() {
    RECT bounds;
    getBoundingRect(bounds, WithOwnEffects);
    if (m_combined.get_width() != bounds.right - bounds.left || m_combined.get_height() != bounds.bottom - bounds.top)
        m_combined.resize(bounds.right - bounds.left, bounds.bottom - bounds.top);
    const POINT toCache{-bounds.left, -bounds.top};
    const GRegion invalid = std::move(m_invalid);
    m_invalid.clear();
    struct Context {
        GCompoundModel* model;
        POINT toCache;
    } context{this, toCache};
    invalid.enumerate(
        [](const RECT& rect, void* data) {
            auto& [model, toCache] = *static_cast<Context*>(data);
            const RECT target = Offset(rect, toCache);
            // The mask first: the copy goes through the cache's mask, which must already be the new one.
            model->m_combined.putMask(target, model->m_image, toCache);
            model->m_combined.putSprite(target, model->m_image, toCache, Copying);
            for (int i = 0; i < model->getEffectCount(); ++i) {
                const GImageEffect* effect = model->getEffect(i);
                if (effect->isOn() && !effect->isExternalEffect())
                    effect->adjustImage(model->m_combined, target);
            }
            for (int i = 0; i < model->getChildCount(); ++i) {
                GCompoundModel* child = model->getChild(i);
                child->putToImage(model->m_combined, target, child->getCompositionMode(), toCache);
            }
            return true;
        },
        &context);
}

void GCompoundModel::releaseCaches() {
    resetSoftGlowImage();
    m_combined.free_image();
    RECT bounds;
    getBoundingRect(bounds, WithOwnEffects);
    m_invalid = GRegion(bounds);
    for (int i = 0; i < getChildCount(); ++i)
        getChild(i)->releaseCaches();
}

void GCompoundModel::putToImage(GSprite& target, const GIPLCompositionMode& mode) {
    RECT rect;
    getParentBoundingRect(rect, WithAllEffects);
    putToImage(target, rect, mode, POINT{0, 0});
}

// Draws the composed model onto its parent's image within `rect` (target coordinates): the external effects
// first, under it, then the model.
void GCompoundModel::putToImage(GSprite& target, const RECT& rect, const GIPLCompositionMode& mode,
                                const POINT& shift) {
    if (!m_visible)
        return;
    for (int i = 0; i < getEffectCount(); ++i) {
        const GImageEffect* effect = getEffect(i);
        if (effect->isOn() && effect->isExternalEffect())
            effect->putToImage(target, rect, shift);
    }
    const GSprite& combined = getCombinedImage();
    RECT own;
    getBoundingRect(own, &combined == &m_image ? WithoutEffects : WithOwnEffects); // where the cache starts
    target.putSprite(rect, combined, POINT{m_origin.x + own.left + shift.x, m_origin.y + own.top + shift.y}, mode);
}

GCompoundModel* GCompoundModel::findImageUnderCursor(const GPoint& point) {
    if (!m_visible)
        return nullptr;
    for (int i = getChildCount() - 1; i >= 0; --i) {
        GCompoundModel* child = getChild(i);
        if (GCompoundModel* hit =
                child->findImageUnderCursor(GPoint(point.x - child->m_origin.x, point.y - child->m_origin.y)))
            return hit;
    }
    if (!m_image.contains(point.x, point.y))
        return nullptr;
    if (m_image.mask().get_image() != nullptr && !m_image.mask().getBit(point.x, point.y))
        return nullptr;
    return (m_image.get_pixel(point.x, point.y) >> 24) != 0 ? this : nullptr;
}

bool GCompoundModel::baseImageExists() {
    if (m_baseImageState == BaseUnknown) {
        bool present = !MaskIsFull(m_image.mask());
        const DWORD background = BackgroundPixel();
        for (int y = 0; !present && y < m_image.get_height(); ++y) {
            const DWORD* row = m_image.get_line_address(y);
            for (int x = 0; x < m_image.get_width() && !present; ++x)
                present = row[x] != background;
        }
        m_baseImageState = present ? BasePresent : BaseBlank;
    }
    return m_baseImageState == BasePresent;
}

// The model as an image

void GCompoundModel::resize(int width, int height) {
    if (width == get_width() && height == get_height())
        return;
    invalidateParent();
    GSprite& image = getModifiableImage();
    image.resize(width, height);
    if (image.get_width() > 0 && image.get_height() > 0)
        image.full_fill(BackgroundPixel());
    m_baseImageState = BaseBlank;
    invalidate();
}

void GCompoundModel::get_hline(DWORD* dst, int x, int y, int count) const {
    std::memcpy(dst, get_line_address(y) + x, static_cast<std::size_t>(count) * sizeof(DWORD));
}

void GCompoundModel::put_hline(const DWORD* src, int x, int y, int count) {
    getModifiableImage().put_hline(src, x, y, count);
    m_baseImageState = BaseUnknown;
}

// Reading goes through the composed image, which a read may have to bring up to date first.
const DWORD* GCompoundModel::get_line_address(int y) const {
    return const_cast<GCompoundModel*>(this)->getCombinedImage().get_line_address(y);
}

DWORD* GCompoundModel::get_line_address_to_modify(int y) {
    m_baseImageState = BaseUnknown;
    return getModifiableImage().get_line_address_to_modify(y);
}
