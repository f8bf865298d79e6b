#pragma once
// JPEGReaderWriter: JPEG files through libjpeg-turbo. Reads greyscale, colour, CMYK and YCCK pictures (the
// inverted CMYK of Adobe's writers included), baseline and progressive; the pixels are taken as stored (an EXIF
// orientation is not applied). Writes colour JPEG at quality 90. libjpeg's fatal errors end the read or write
// with false, never the program; its warnings (data that ends early, for one) do not stop it.

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
