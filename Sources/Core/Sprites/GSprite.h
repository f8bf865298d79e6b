#pragma once
// GSprite: the pixel form of every object of a scene and of the composed scene: a 32-bit image with alpha and a
// one-bit mask of the same size telling which pixels belong to it. Whenever the image is made, the mask is made
// the same size with every bit set; freeing the image frees the mask. Copies are deep.

#include "Imaging/GDIBImage.h"
#include "Imaging/GIPLCompositionMode.h"
#include "Regions/GIPLMask.h"

#include <vector>

class GSprite : public GDIBImage {
    G_CLASS(GSprite)

    GSprite() = default;
    GSprite(int width, int height) { resize(width, height); }
    GSprite(const GSprite& other);
    GSprite& operator=(const GSprite& other);

    GStreamable* clone() const override { return new GSprite(*this); }
    void copy(const GDIBImage& source) override;

    GIPLMask& mask() { return m_mask; }
    const GIPLMask& mask() const { return m_mask; }

    void allocate_image(int width, int height, ColorModel model, int depth) override;
    void free_image() override;

    // (0, 0, width, height).
    void getBoundingRect(RECT& rect) const;

    // `out` := the pixels whose alpha is at least `threshold`, at the sprite's size.
    void getMaskFromTransparency(GIPLMask& out, unsigned char threshold) const;
    void setMaskFromTransparency(unsigned char threshold);
    // The mask narrowed to the pixels whose alpha is at least `threshold` (set from them when it is empty).
    void addMaskFromTransparency(unsigned char threshold);
    // `out` := the mask's pixels that are not wholly transparent.
    void getFullMask(GIPLMask& out) const;

    // `source` laid at `position` through both masks: its pixels outside its mask are not taken, this sprite's
    // pixels outside this mask are not changed. Mode type -1 copies, any other alpha-composites.
    void putSprite(const GSprite& source, const POINT& position, const GIPLCompositionMode& mode);
    void putSprite(const RECT& clip, const GSprite& source, const POINT& position, const GIPLCompositionMode& mode);
    // `source`'s mask copied into this mask at `position`, within `clip`.
    void putMask(const RECT& clip, const GSprite& source, const POINT& position);

    // The image and then the mask, for operations applied to both.
    void getAllImages(std::vector<GIPLImage*>& images);
    void getAllConstImages(std::vector<const GIPLImage*>& images) const;

    // Version 1: the image part, then the mask as an object. An empty mask read with pixels becomes full; version
    // 0 carries a second mask, read and dropped.
    void read(ipstream& stream) override;
    void write(opstream& stream) const override;

private:
    void fillMask();

    GIPLMask m_mask;
};
