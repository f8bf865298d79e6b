#pragma once
// GDIBSection: an image whose pixels are a GDI device-independent bitmap (top-down rows), described at the
// same time to the image-processing library, so one buffer can be drawn and processed without copying. It owns
// the bitmap; the image header only describes its pixels.

#include "Imaging/GIPLImage.h"
#include "gdi/WinGdi.h"

class GDIBSection : public GIPLImage {
    G_CLASS(GDIBSection)

    GDIBSection() = default;
    GDIBSection(const GDIBSection& other) : GIPLImage() { *this = other; }
    // Copies the pixels, making a new bitmap when the size or colour model differ.
    GDIBSection& operator=(const GDIBSection& other) {
        GIPLImage::operator=(other);
        return *this;
    }
    ~GDIBSection() override;

    HBITMAP get_section() const { return m_section; }
    // Gives up the bitmap (the caller now owns it) and releases the header.
    HBITMAP detach();

    // A new bitmap of 1 (black/white table), 8 (grey table), 24 or 32 bits; sizes below 1 or an unknown model
    // leave the image empty. The depth argument is not used.
    void allocate_image(int width, int height, ColorModel model, int depth) override;
    void free_image() override;

    void read(ipstream& stream) override;
    void write(opstream& stream) const override;

private:
    HBITMAP m_section = nullptr;
};
