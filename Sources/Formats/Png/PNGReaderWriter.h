#pragma once
// PNGReaderWriter: PNG files through libpng. Reads every colour type and bit depth (palettes with transparency,
// grey with alpha, interlaced files); 16-bit samples are reduced to 8. Writes 8-bit RGBA.

#include "ImageFormats/GDIBReaderWriter.h"

class PNGReaderWriter : public GDIBReaderWriter {
    G_CLASS(PNGReaderWriter)

    unsigned can_do() const override;
    void file_name_filter(ImageFileFilter& filter) const override;
    bool is(ipstream& stream) override;
    bool read_info(ipstream& stream, FileImageInfo& info) override;
    // False for a damaged file (libpng's errors end the read, never the program). Data that ends early gives the
    // rows decoded so far, transparent below, and notes the picture as cut short on the stream. The picture comes
    // out of the stream's pixel budget for decoded data before it is made (InvalidPStream_Exception past it).
    bool read_image(ipstream& stream, GAbstractDIBImage& image) override;
    bool write_image(opstream& stream, const GAbstractDIBImage& image) override;
};
