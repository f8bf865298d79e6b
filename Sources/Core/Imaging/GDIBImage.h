#pragma once
// GDIBImage: the system's 32-bit image (0xAARRGGBB pixels, top-down rows), a DIB section that GDI draws and the
// image-processing library works on.

#include "Imaging/GAbstractDIBImage.h"
#include "Imaging/GDIBSection.h"

class GDIBImage : public GDIBSection, public GAbstractDIBImage {
    G_CLASS(GDIBImage)

    GDIBImage() = default;
    GDIBImage(int width, int height) { resize(width, height); }
    GDIBImage(const GDIBImage& other) : GDIBSection(), GAbstractDIBImage() { copy(other); }
    GDIBImage& operator=(const GDIBImage& other) {
        copy(other);
        return *this;
    }

    GStreamable* clone() const override { return new GDIBImage(*this); }
    virtual void copy(const GDIBImage& source) { GIPLImage::operator=(source); }

    int get_width() const override { return GIPLImage::get_width(); }
    int get_height() const override { return GIPLImage::get_height(); }
    // A new size discards the pixels (the new content is not defined); the same size keeps them.
    void resize(int width, int height) override;
    void get_hline(DWORD* dst, int x, int y, int count) const override;
    void put_hline(const DWORD* src, int x, int y, int count) override;
    const DWORD* get_line_address(int y) const override;
    DWORD* get_line_address_to_modify(int y) override;

    // Direct access without bounds checks (test with contains).
    DWORD get_pixel(int x, int y) const { return get_line_address(y)[x]; }
    void set_pixel(int x, int y, DWORD value) { get_line_address_to_modify(y)[x] = value; }
    bool contains(int x, int y) const { return x >= 0 && y >= 0 && x < get_width() && y < get_height(); }

    void full_fill(DWORD colour);
    // The rectangle clipped to the image.
    void fill_rect(const RECT& rect, DWORD colour);
    // The region of interest currently set on the image.
    void fill_ROI(DWORD colour);
    // The whole of `source` scaled onto the whole of this image (bilinear).
    void stretch_map(const GDIBImage& source);
    // `source` (or its rectangle) copied with its top-left at (x, y).
    void put_map(int x, int y, const GDIBImage& source);
    void put_map(int x, int y, const GDIBImage& source, const RECT& rect);

    // Drawing into a device context (SRCCOPY): blocks of the image, or the image scaled.
    void stretch(HDC hdc, int srcX, int srcY, int srcW, int srcH, int dstX, int dstY, int dstW, int dstH) const;
    void draw(HDC hdc, int srcX, int srcY, int dstX, int dstY, int w, int h) const;
    void draw(HDC hdc, int x, int y, int w, int h) const;
    void draw(HDC hdc, int x, int y) const;
    void draw(HDC hdc, int x, int y, const RECT& rect) const;
    void draw(HDC hdc, const RECT& rect) const;
    void stretch(HDC hdc, int x, int y, int w, int h) const;
    void stretch(HDC hdc, const RECT& rect) const;
    void stretch(HDC hdc, const RECT& srcRect, const RECT& dstRect) const;

    // Version 1: width, height and the rows. Version 0 (older streams): an inline BMP file, read by the format
    // that answers to "*.bmp" (InvalidFileFormat_Exception without one).
    void read(ipstream& stream) override;
    void write(opstream& stream) const override;

private:
    void readEmbeddedBitmap(ipstream& stream);
};
