#pragma once
// BMPReaderWriter: Windows bitmap files. Reads 1, 2, 4, 8, 16, 24 and 32 bits per pixel, RLE8 and RLE4, bit-field
// masks (with alpha from V3 headers on), bottom-up and top-down rows, OS/2 core headers and short palettes; a file
// without alpha gives opaque pixels. Writes 32-bit top-down pixels with alpha (V4 header, bit fields), which it
// reads back exactly.

#include "ImageFormats/GDIBReaderWriter.h"

class BMPReaderWriter : public GDIBReaderWriter {
    G_CLASS(BMPReaderWriter)

    unsigned can_do() const override;
    void file_name_filter(ImageFileFilter& filter) const override;
    bool is(ipstream& stream) override;
    bool read_info(ipstream& stream, FileImageInfo& info) override;
    // False for a file it does not take or that ends inside its uncompressed pixels; RLE data that ends early
    // leaves the rest of the picture at palette entry 0 and notes the picture as cut short. The pixels RLE codes
    // do not set come out of the stream's budget of pixels without data (InvalidPStream_Exception past it).
    bool read_image(ipstream& stream, GAbstractDIBImage& image) override;
    bool write_image(opstream& stream, const GAbstractDIBImage& image) override;
};
