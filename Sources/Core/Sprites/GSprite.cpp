#include "Sprites/GSprite.h"

#include "Imaging/GIPL_ROI.h"
#include "Streams/ipstream.h"
#include "Streams/opstream.h"

G_IMPLEMENT_CLASS(GSprite, GDIBImage)

GSprite::GSprite(const GSprite& other) : GDIBImage() {
    copy(other);
}

GSprite& GSprite::operator=(const GSprite& other) {
    copy(other);
    return *this;
}

// A sprite's mask comes with it; any other image gets the full mask of a fresh allocation.
void GSprite::copy(const GDIBImage& source) {
    if (&source == this)
        return;
    GDIBImage::copy(source);
    if (const auto* sprite = dynamic_cast<const GSprite*>(&source); sprite != nullptr && !is_empty())
        m_mask = sprite->m_mask;
}

void GSprite::allocate_image(int width, int height, ColorModel model, int depth) {
    GDIBImage::allocate_image(width, height, model, depth);
    if (is_empty()) {
        m_mask.free_image();
        return;
    }
    m_mask.resize(width, height);
    fillMask();
}

void GSprite::free_image() {
    GDIBImage::free_image();
    m_mask.free_image();
}

void GSprite::fillMask() {
    if (!m_mask.is_empty())
        iplSet(m_mask.get_image(), 1);
}

void GSprite::getBoundingRect(RECT& rect) const {
    rect = {0, 0, get_width(), get_height()};
}

void GSprite::getMaskFromTransparency(GIPLMask& out, unsigned char threshold) const {
    out.resize(get_width(), get_height());
    if (is_empty())
        return;
    GIPL_ROI alpha(get_image());
    alpha.set(RGBA_Alpha);
    iplThreshold(get_image(), out.get_image(), threshold);
}

void GSprite::setMaskFromTransparency(unsigned char threshold) {
    getMaskFromTransparency(m_mask, threshold);
}

void GSprite::addMaskFromTransparency(unsigned char threshold) {
    if (m_mask.is_empty()) {
        setMaskFromTransparency(threshold);
        return;
    }
    GIPLMask opaque;
    getMaskFromTransparency(opaque, threshold);
    iplAnd(m_mask.get_image(), opaque.get_image(), m_mask.get_image());
}

void GSprite::getFullMask(GIPLMask& out) const {
    getMaskFromTransparency(out, 1);
    if (!m_mask.is_empty() && !out.is_empty())
        iplAnd(m_mask.get_image(), out.get_image(), out.get_image());
}

void GSprite::putSprite(const GSprite& source, const POINT& position, const GIPLCompositionMode& mode) {
    GIPLImage::PutImage(nullptr, get_image(), m_mask.get_image(), position, source.get_image(),
                        source.m_mask.get_image(), mode);
}

void GSprite::putSprite(const RECT& clip, const GSprite& source, const POINT& position,
                        const GIPLCompositionMode& mode) {
    GIPLImage::PutImage(&clip, get_image(), m_mask.get_image(), position, source.get_image(), source.m_mask.get_image(),
                        mode);
}

void GSprite::putMask(const RECT& clip, const GSprite& source, const POINT& position) {
    GIPLImage::PutImage(&clip, m_mask.get_image(), nullptr, position, source.m_mask.get_image(), nullptr,
                        GIPLCompositionMode(-1));
}

void GSprite::getAllImages(std::vector<GIPLImage*>& images) {
    images.push_back(this);
    images.push_back(&m_mask);
}

void GSprite::getAllConstImages(std::vector<const GIPLImage*>& images) const {
    images.push_back(this);
    images.push_back(&m_mask);
}

void GSprite::write(opstream& stream) const {
    stream.writeByte(1);
    GDIBImage::write(stream);
    stream.writePointer(&m_mask);
}

void GSprite::read(ipstream& stream) {
    const BYTE version = stream.readVersion(1, typeid(GSprite));
    GDIBImage::read(stream);
    if (!stream.readPointerInto(m_mask))
        m_mask.free_image();
    if (version == 0) {
        GIPLMask dropped;
        stream.readPointerInto(dropped);
        stream.forget(dropped);
    }
    if (!is_empty() && (m_mask.get_width() != get_width() || m_mask.get_height() != get_height())) {
        m_mask.resize(get_width(), get_height());
        fillMask();
    }
}
