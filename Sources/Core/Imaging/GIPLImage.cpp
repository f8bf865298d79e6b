#include "Imaging/GIPLImage.h"

#include "Imaging/GIPL_ROI.h"
#include "Streams/ipstream.h"
#include "Streams/opstream.h"
#include "win/Saturated.h"

#include <algorithm>
#include <cstdint>

G_IMPLEMENT_CLASS(GIPLImage, GStreamable)

namespace {

struct ModelInfo {
    int channels;
    int defaultDepth;
    const char* colorModel;
    const char* channelSeq;
};

const ModelInfo& infoOf(GIPLImage::ColorModel model) {
    static const ModelInfo infos[] = {
        {1, IPL_DEPTH_1U, "GRAY", "G"},
        {1, IPL_DEPTH_8U, "GRAY", "G"},
        {3, IPL_DEPTH_8U, "RGB", "BGR"},
        {4, IPL_DEPTH_8U, "RGBA", "BGRA"},
    };
    return infos[model];
}

bool validModel(int model) {
    return model >= GIPLImage::Bitmap && model <= GIPLImage::ColourAlpha;
}

RECT intersection(const RECT& a, const RECT& b) {
    return {std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right), std::min(a.bottom, b.bottom)};
}

bool isEmpty(const RECT& r) {
    return r.right <= r.left || r.bottom <= r.top;
}

// Saturates at the edge of the coordinate space, where nothing can be composed anyway.
RECT moved(const RECT& r, long long dx, long long dy) {
    return {SaturatedLong(r.left + dx), SaturatedLong(r.top + dy), SaturatedLong(r.right + dx),
            SaturatedLong(r.bottom + dy)};
}

} // namespace

GIPLImage::GIPLImage(const GIPLImage& other) : GStreamable(other) {
    *this = other;
}

GIPLImage::~GIPLImage() {
    free_image();
}

GIPLImage::ColorModel GIPLImage::get_color_model() const {
    if (m_image == nullptr)
        return Bitmap;
    switch (m_image->nChannels) {
    case 1:
        return (m_image->depth & IPL_DEPTH_MASK) > 1 ? Grey : Bitmap;
    case 3:
        return Colour;
    case 4:
        return ColourAlpha;
    default:
        return Bitmap;
    }
}

IplImage* GIPLImage::allocate_header(int width, int height, ColorModel model, int depth, bool quadAligned) {
    if (!validModel(model))
        return nullptr;
    const ModelInfo& info = infoOf(model);
    const int headerDepth = model == Bitmap ? IPL_DEPTH_1U : depth != 0 ? depth : info.defaultDepth;
    return iplCreateImageHeader(info.channels, 0, headerDepth, info.colorModel, info.channelSeq, IPL_DATA_ORDER_PIXEL,
                                IPL_ORIGIN_TL, quadAligned ? IPL_ALIGN_QWORD : IPL_ALIGN_DWORD, width, height, nullptr,
                                nullptr, nullptr, nullptr);
}

void GIPLImage::allocate_image(int width, int height, ColorModel model, int depth) {
    free_image();
    m_image = allocate_header(width, height, model, depth, true);
    if (m_image == nullptr)
        return;
    m_pixelsFromIPL = true;
    iplAllocateImage(m_image, 0, 0);
}

// Quad-word alignment is claimed only when the buffer and every row start on a multiple of 8 bytes.
void GIPLImage::attach_image(int width, int height, void* pixels, ColorModel model, int depth) {
    GIPLImage::free_image(); // only the header: a derived owner of `pixels` has just made them
    const bool aligned = reinterpret_cast<std::uintptr_t>(pixels) % 8 == 0;
    const bool rowsAligned = (model == Bitmap && width % 64 == 0) || (model == Grey && width % 8 == 0) ||
                             (model == ColourAlpha && width % 2 == 0);
    m_image = allocate_header(width, height, model, depth, aligned && rowsAligned);
    if (m_image == nullptr)
        return;
    m_pixelsFromIPL = false;
    m_image->imageData = m_image->imageDataOrigin = static_cast<char*>(pixels);
}

void GIPLImage::free_image() {
    if (m_image == nullptr)
        return;
    iplDeallocate(m_image, m_pixelsFromIPL ? IPL_IMAGE_HEADER | IPL_IMAGE_DATA : IPL_IMAGE_HEADER);
    m_image = nullptr;
}

void GIPLImage::attach_pixels(const IplImage* source) {
    free_image();
    m_pixelsFromIPL = false;
    if (source == nullptr)
        return;
    m_image = iplCreateImageHeader(source->nChannels, source->alphaChannel, source->depth, source->colorModel,
                                   source->channelSeq, source->dataOrder, source->origin, source->align, source->width,
                                   source->height, nullptr, nullptr, nullptr, nullptr);
    if (m_image != nullptr)
        m_image->imageData = m_image->imageDataOrigin = source->imageData;
}

GIPLImage& GIPLImage::operator=(const GIPLImage& other) {
    if (this == &other)
        return *this;
    if (other.is_empty()) {
        free_image();
        return *this;
    }
    if (get_width() != other.get_width() || get_height() != other.get_height() ||
        get_color_model() != other.get_color_model() || is_empty())
        allocate_image(other.get_width(), other.get_height(), other.get_color_model(), 0);
    iplCopy(other.m_image, m_image);
    return *this;
}

void GIPLImage::write(opstream& stream) const {
    GStreamable::write(stream);
    stream.writeByte(0);
}

void GIPLImage::read(ipstream& stream) {
    GStreamable::read(stream);
    stream.readVersion(0, typeid(GIPLImage));
}

void GIPLImage::PutImage(const RECT* clip, IplImage* destination, IplImage* destinationMask, POINT position,
                         IplImage* source, IplImage* sourceMask, const GIPLCompositionMode& mode) {
    if (destination == nullptr || source == nullptr)
        return;
    RECT from = moved(RECT{0, 0, source->width, source->height}, position.x, position.y);
    RECT to{0, 0, destination->width, destination->height};
    const RECT limit = clip != nullptr ? *clip : to;
    from = intersection(from, limit);
    to = intersection(to, limit);
    if (isEmpty(from) || isEmpty(to))
        return;
    const RECT both = intersection(to, from);
    if (isEmpty(both))
        return;
    GIPL_ROI sourceRegion(source,
                          moved(both, -static_cast<long long>(position.x), -static_cast<long long>(position.y)));
    GIPL_ROI destinationRegion(destination, both);
    sourceRegion.set(sourceMask, true);
    destinationRegion.set(destinationMask, true);
    if (mode.type() == -1) {
        iplCopy(source, destination);
        return;
    }
    sourceRegion.setAlphaChannel();
    destinationRegion.setAlphaChannel();
    iplAlphaComposite(source, destination, destination, mode.type(), nullptr, nullptr, nullptr,
                      mode.alphaPremultiplied(), mode.divideByAlpha());
}
