#pragma once
// The pixel data of a BMP file, decoded into an image already sized to it. Rows are stored bottom up unless the
// header says top down.

#include "Bmp/BmpHeader.h"
#include "Imaging/GAbstractDIBImage.h"

#include <cstdint>
#include <vector>

// One channel of a bit-field pixel, scaled to 0..255.
struct BmpChannel {
    std::uint32_t mask = 0;
    int shift = 0;
    std::uint64_t largest = 0;

    explicit BmpChannel(std::uint32_t m);
    DWORD operator()(std::uint32_t pixel, DWORD absent) const {
        if (largest == 0)
            return absent;
        const std::uint64_t value = (pixel & mask) >> shift;
        return static_cast<DWORD>((value * 255 + largest / 2) / largest);
    }
};

// Uncompressed rows, one at a time (rowBytes() each), in any order.
class BmpRowDecoder {
public:
    BmpRowDecoder(const BmpHeader& header, GAbstractDIBImage& image);
    void decode(int fileRow, const std::uint8_t* row);

private:
    const BmpHeader& m_header;
    GAbstractDIBImage& m_image;
    std::vector<DWORD> m_buffer; // for an image without rows in memory
    BmpChannel m_channels[4];
    bool m_standard;
};

// Uncompressed rows: `data` holds all of them.
void decodeBmpRows(const BmpHeader& header, const std::vector<std::uint8_t>& data, GAbstractDIBImage& image);

// What RLE8 or RLE4 codes make of a picture: how many of its pixels they set, and whether the data ends before the
// codes end the picture (an end code, a delta leaving it, or the last row passed).
struct BmpRleExtent {
    unsigned long long setPixels = 0;
    bool cutShort = false;
};
BmpRleExtent measureBmpRle(const BmpHeader& header, const std::vector<std::uint8_t>& data);

// RLE8 or RLE4 codes. Runs and absolute runs past the end of a row are cut there, a delta leaving the image and
// the end of the data end the decoding; pixels no code reaches keep palette entry 0.
void decodeBmpRle(const BmpHeader& header, const std::vector<std::uint8_t>& data, GAbstractDIBImage& image);
