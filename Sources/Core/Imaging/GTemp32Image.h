#pragma once
// A temporary view of a GDIBImage as one channel of signed 32-bit values, so that image-processing operations
// move whole pixels (fills, copies). The image's header is restored when the view goes.

#include "Imaging/GDIBImage.h"

class GTemp32ImageBase {
public:
    explicit GTemp32ImageBase(GDIBImage& image);
    ~GTemp32ImageBase();
    GTemp32ImageBase(const GTemp32ImageBase& other) = default;
    GTemp32ImageBase& operator=(const GTemp32ImageBase&) = delete;

    IplImage* get_image() const { return m_image; }

private:
    IplImage* m_image;
    int m_channels;
    int m_alphaChannel;
    int m_depth;
};

class GTemp32Image : public GTemp32ImageBase {
public:
    using GTemp32ImageBase::GTemp32ImageBase;
};
