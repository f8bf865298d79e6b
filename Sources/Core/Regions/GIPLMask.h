#pragma once
// GIPLMask: a one-bit-per-pixel image that marks which pixels of an object belong to it. Its pixels are a DIB
// section (black for 0, white for 1), so the same buffer is an image-processing mask and a GDI bitmap. Rows run
// top down, each padded to 4 bytes; pixel x of a row is bit 0x80 >> (x % 8) of byte x / 8.

#include "Imaging/GDIBSection.h"

#include <cstdint>
#include <iosfwd>

class GIPLMask : public GDIBSection {
    G_CLASS(GIPLMask)

    GIPLMask() = default;
    GIPLMask(int width, int height) { resize(width, height); }
    GIPLMask(const GIPLMask& other) = default;
    GIPLMask& operator=(const GIPLMask& other) = default;

    GStreamable* clone() const override { return new GIPLMask(*this); }

    // A new size frees the bits and, when both sizes are above 0, makes a new mask whose content is not
    // defined; the same size keeps them.
    void resize(int width, int height);

    // The bit at (x, y), which must lie inside the mask.
    bool getBit(int x, int y) const {
        const IplImage* image = get_image();
        const auto* row = reinterpret_cast<const std::uint8_t*>(image->imageData) + y * image->widthStep;
        return (row[x >> 3] & (0x80 >> (x & 7))) != 0;
    }
    void setBit(int x, int y, bool value);

    // The smallest rectangle holding every set bit; all zero when there is none.
    void getBoundingRect(RECT& rect) const;

    void read(ipstream& stream) override;
    void write(opstream& stream) const override;
};

// A text picture: one line per row, "X" for a set bit and a blank for a clear one.
std::ostream& operator<<(std::ostream& out, const GIPLMask& mask);
