#pragma once
// JPEGReaderWriter: JPEG files through libjpeg-turbo. Reads greyscale, colour, CMYK and YCCK pictures (the
// inverted CMYK of Adobe's writers included), baseline and progressive; the pixels are taken as stored (an EXIF
// orientation is not applied). Writes colour JPEG at quality 90. libjpeg's fatal errors end the read or write
// with false, never the program; its warnings do not stop it. Data that ends early gives the rows libjpeg makes of
// it, grey below, and notes the picture as cut short on the stream. The picture comes out of the stream's pixel
// budget for decoded data before it is made (InvalidPStream_Exception past it).

#include "ImageFormats/GDIBReaderWriter.h"

class JPEGReaderWriter : public GDIBReaderWriter {
    G_CLASS(JPEGReaderWriter)

    static constexpr int Quality = 90;

    unsigned can_do() const override;
    void file_name_filter(ImageFileFilter& filter) const override;
    bool is(ipstream& stream) override;
    bool read_info(ipstream& stream, FileImageInfo& info) override;
    bool read_image(ipstream& stream, GAbstractDIBImage& image) override;
    bool write_image(opstream& stream, const GAbstractDIBImage& image) override;
};
