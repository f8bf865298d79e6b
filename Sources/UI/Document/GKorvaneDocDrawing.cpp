// GKorvaneDoc: the off-screen buffer with the selection's glow, and what is out of date in it.

#include "Document/GKorvaneDoc.h"

#include "Contexts/GEditorContext.h"
#include "Model/GCompoundModel.h"
#include "Settings/GRegistryDWord.h"

#include <algorithm>
#include <utility>

namespace {

RECT inflated(const RECT& rect, int by) {
    return {rect.left - by, rect.top - by, rect.right + by, rect.bottom + by};
}

RECT offset(const RECT& rect, const GPoint& by) {
    return {rect.left + by.x, rect.top + by.y, rect.right + by.x, rect.bottom + by.y};
}

RECT intersection(const RECT& a, const RECT& b) {
    return {std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right), std::min(a.bottom, b.bottom)};
}

bool isEmpty(const RECT& rect) {
    return rect.left >= rect.right || rect.top >= rect.bottom;
}

int glowSize() {
    return static_cast<int>(static_cast<DWORD>(GCompoundModel::SoftGlowBorder()));
}

// Clears the glow's mask (placed at `glowAt`, root coordinates) where `cover` shows its own pixels.
void hideUnder(GSprite& glow, const POINT& glowAt, const GCompoundModel& cover) {
    RECT covered;
    cover.getGlobalBoundingRect(covered, GCompoundModel::WithoutEffects);
    const RECT glowRect{glowAt.x, glowAt.y, glowAt.x + glow.get_width(), glowAt.y + glow.get_height()};
    const RECT both = intersection(covered, glowRect);
    if (isEmpty(both))
        return;
    const GIPLMask& coverMask = cover.getImage().mask();
    for (int y = both.top; y < both.bottom; ++y)
        for (int x = both.left; x < both.right; ++x)
            if (coverMask.get_image() == nullptr || coverMask.getBit(x - covered.left, y - covered.top))
                glow.mask().setBit(x - glowAt.x, y - glowAt.y, false);
}

} // namespace

void GKorvaneDoc::onDraw(HDC dc, const RECT* rect) {
    if (m_model == nullptr)
        return;
    const RECT* outer = std::exchange(m_paintRect, rect);
    if (GEditorContext* context = getContext())
        context->onDraw(dc);
    else
        drawModel(dc, rect);
    m_paintRect = outer;
}

void GKorvaneDoc::drawModel(HDC dc, const RECT* rect) {
    if (m_model == nullptr)
        return;
    validateOffscreen(m_model->getCombinedImage());
    const SIZE size = m_offscreen.size();
    RECT copied{0, 0, size.cx, size.cy};
    if (const RECT* part = rect != nullptr ? rect : m_paintRect)
        copied = {std::max(part->left, LONG{0}), std::max(part->top, LONG{0}), std::min(part->right, size.cx),
                  std::min(part->bottom, size.cy)};
    if (copied.left < copied.right && copied.top < copied.bottom)
        BitBlt(dc, copied.left, copied.top, copied.right - copied.left, copied.bottom - copied.top, m_offscreen.dc(),
               copied.left, copied.top, SRCCOPY);
}

void GKorvaneDoc::validateOffscreen(const GSprite& image) {
    const SIZE size = m_offscreen.size();
    if (size.cx != image.get_width() || size.cy != image.get_height()) {
        m_offscreen.resize(image.get_width(), image.get_height());
        m_invalid.clear();
        m_invalid |= RECT{0, 0, image.get_width(), image.get_height()};
    }
    if (m_invalid.isEmpty())
        return;
    const GRegion invalid = std::move(m_invalid);
    m_invalid.clear();
    std::pair<GKorvaneDoc*, const GSprite*> context{this, &image};
    invalid.enumerate(
        [](const RECT& rect, void* data) {
            auto& [document, image] = *static_cast<std::pair<GKorvaneDoc*, const GSprite*>*>(data);
            document->m_offscreen.copy(*image, rect);
            document->highlightSelectedModel(rect);
            return true;
        },
        &context);
}

void GKorvaneDoc::highlightSelectedModel(const RECT& clip) {
    GCompoundModel* selected = getSelectedModel();
    if (selected == nullptr || selected == m_model || !selected->visible())
        return;
    const int border = glowSize();
    const GPoint origin = selected->getGlobalOrigin(GCompoundModel::WithoutEffects);
    const POINT at{origin.x - border, origin.y - border};
    const RECT glowRect{at.x, at.y, at.x + selected->get_width() + 2 * border,
                        at.y + selected->get_height() + 2 * border};
    if (isEmpty(intersection(glowRect, clip)))
        return;
    GSprite glow = selected->softGlowImage();
    if (glow.is_empty())
        return;
    if (glow.mask().get_image() == nullptr) {
        glow.mask().resize(glow.get_width(), glow.get_height());
        iplSet(glow.mask().get_image(), 1);
    }
    const GCompoundModel* parent = selected->getParent();
    for (int i = selected->getIndexInParent() + 1; parent != nullptr && i < parent->getChildCount(); ++i)
        if (parent->getChild(i)->visible())
            hideUnder(glow, at, *parent->getChild(i));
    m_offscreen.putPremultiplied(glow, at, clip);
}

void GKorvaneDoc::modelInvalidated(GCompoundModel* model, const RECT& rect) {
    m_invalid |= calculateGlobalRect(model, rect);
}

RECT GKorvaneDoc::calculateGlobalRect(const GCompoundModel* model, const RECT& rect) const {
    RECT result = rect;
    const GCompoundModel* selected = getSelectedModel();
    if (selected != nullptr && selected != m_model) {
        RECT selection;
        selected->getGlobalBoundingRect(selection, GCompoundModel::WithOwnEffects);
        if (model == selected || (model == m_model && !isEmpty(intersection(selection, rect))))
            result = inflated(rect, glowSize());
    }
    return offset(result, model->getGlobalOrigin(GCompoundModel::WithoutEffects));
}

GSprite GKorvaneDoc::PrintableImage(const GCompoundModel& model) {
    GCompoundModel copy(model);
    if (!copy.baseImageExists()) {
        copy.getModifiableImage().full_fill(0xFFFFFFFF);
        copy.invalidate();
    }
    return copy.getCombinedImage();
}

RECT GKorvaneDoc::PrintRect(SIZE image, SIZE screenPPI, const RECT& page, SIZE printerPPI) {
    const double pageWidth = page.right - page.left;
    const double pageHeight = page.bottom - page.top;
    if (image.cx <= 0 || image.cy <= 0 || screenPPI.cx <= 0 || screenPPI.cy <= 0 || pageWidth <= 0 || pageHeight <= 0 ||
        printerPPI.cx <= 0 || printerPPI.cy <= 0)
        return {page.left, page.top, page.left, page.top};
    // Sizes in inches decide which dimension the picture fills.
    const double imageAspect = (double(image.cx) / screenPPI.cx) / (double(image.cy) / screenPPI.cy);
    const double pageAspect = (pageWidth / printerPPI.cx) / (pageHeight / printerPPI.cy);
    int width = static_cast<int>(pageWidth);
    int height = static_cast<int>(pageHeight);
    if (imageAspect > pageAspect) // wider than the page: full width, height to the image's proportions
        height = static_cast<int>(pageWidth / printerPPI.cx / imageAspect * printerPPI.cy + 0.5);
    else
        width = static_cast<int>(pageHeight / printerPPI.cy * imageAspect * printerPPI.cx + 0.5);
    const int left = page.left + (static_cast<int>(pageWidth) - width) / 2;
    const int top = page.top + (static_cast<int>(pageHeight) - height) / 2;
    return {left, top, left + width, top + height};
}
