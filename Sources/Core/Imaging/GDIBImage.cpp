#include "Imaging/GDIBImage.h"

#include "Errors/GLibraryExceptions.h"
#include "ImageFormats/ImageReaderWriterList.h"
#include "Imaging/GBitmapDC.h"
#include "Imaging/GIPL_ROI.h"
#include "Imaging/GTemp32Image.h"
#include "Streams/InvalidPStream_Exception.h"
#include "Streams/StreamFormat.h"
#include "Streams/ipstream.h"
#include "Streams/opstream.h"

#include <algorithm>
#include <cstring>
#include <vector>

// The image is a GAbstractDIBImage too, which has no class record of its own: cast_to_ answers for it by hand.
const GMetaClass GDIBImage::metaclass_(typeid(GDIBImage), "GDIBImage", &GDIBImage::ClassBuilder_,
                                       &GDIBImage::ClassDestroyer_, &GDIBSection::metaclass_);

GRTTIObject* GDIBImage::ClassBuilder_() {
    return GBuildObject<GDIBImage>();
}

void GDIBImage::ClassDestroyer_(GRTTIObject* object) {
    GDestroyObject<GDIBImage>(object);
}

void* GDIBImage::cast_to_(const std::type_info& type) const {
    if (type == typeid(GAbstractDIBImage))
        return const_cast<GAbstractDIBImage*>(static_cast<const GAbstractDIBImage*>(this));
    return GCastTo<GDIBImage, GDIBSection>(this, type);
}

void GDIBImage::resize(int width, int height) {
    if (width == get_width() && height == get_height())
        return;
    free_image();
    if (width >= 1 && height >= 1)
        allocate_image(width, height, ColourAlpha, 0);
}

const DWORD* GDIBImage::get_line_address(int y) const {
    const IplImage* image = get_image();
    return reinterpret_cast<const DWORD*>(image->imageData + static_cast<long>(y) * image->widthStep);
}

DWORD* GDIBImage::get_line_address_to_modify(int y) {
    const IplImage* image = get_image();
    return reinterpret_cast<DWORD*>(image->imageData + static_cast<long>(y) * image->widthStep);
}

namespace {

// Clips a span of `count` pixels from column x to a row of `width`; `skip` receives the buffer entries before
// the first column. False when nothing is left. Any x and count are taken, without overflow.
bool clipSpan(int& x, int& count, int width, int& skip) {
    const long long first = std::max<long long>(x, 0);
    const long long end = std::min<long long>(static_cast<long long>(x) + count, width);
    if (end <= first)
        return false;
    skip = static_cast<int>(first - x);
    count = static_cast<int>(end - first);
    x = static_cast<int>(first);
    return true;
}

// Moves a coordinate pair into [0, size): where `target` lies below 0, both move up by the same amount, and
// where `source` does too.
void clipStart(long long& source, long long& target) {
    const long long shift = std::max({0LL, -source, -target});
    source += shift;
    target += shift;
}

} // namespace

void GDIBImage::get_hline(DWORD* dst, int x, int y, int count) const {
    int skip = 0;
    if (is_empty() || y < 0 || y >= get_height() || !clipSpan(x, count, get_width(), skip))
        return;
    std::memcpy(dst + skip, get_line_address(y) + x, static_cast<std::size_t>(count) * sizeof(DWORD));
}

void GDIBImage::put_hline(const DWORD* src, int x, int y, int count) {
    int skip = 0;
    if (is_empty() || y < 0 || y >= get_height() || !clipSpan(x, count, get_width(), skip))
        return;
    std::memcpy(get_line_address_to_modify(y) + x, src + skip, static_cast<std::size_t>(count) * sizeof(DWORD));
}

void GDIBImage::full_fill(DWORD colour) {
    for (int y = 0; y < get_height(); ++y)
        std::fill_n(get_line_address_to_modify(y), get_width(), colour);
}

void GDIBImage::fill_rect(const RECT& rect, DWORD colour) {
    const LONG left = std::max<LONG>(rect.left, 0);
    const LONG top = std::max<LONG>(rect.top, 0);
    const LONG right = std::min<LONG>(rect.right, get_width());
    const LONG bottom = std::min<LONG>(rect.bottom, get_height());
    if (right <= left || bottom <= top)
        return;
    if (left == 0 && top == 0 && right == get_width() && bottom == get_height()) {
        full_fill(colour);
        return;
    }
    for (LONG y = top; y < bottom; ++y)
        std::fill(get_line_address_to_modify(y) + left, get_line_address_to_modify(y) + right, colour);
}

void GDIBImage::fill_ROI(DWORD colour) {
    GTemp32Image whole(*this);
    iplSet(whole.get_image(), static_cast<int>(colour));
}

void GDIBImage::stretch_map(const GDIBImage& source) {
    if (is_empty() || source.is_empty())
        return;
    iplResize(source.get_image(), get_image(), get_width(), source.get_width(), get_height(), source.get_height(),
              IPL_INTER_LINEAR);
}

void GDIBImage::put_map(int x, int y, const GDIBImage& source) {
    put_map(x, y, source, RECT{0, 0, source.get_width(), source.get_height()});
}

// Source pixel (sx, sy) of `rect` lands on (x + sx - rect.left, y + sy - rect.top); what falls outside either image
// is cut from both sides, so a negative position takes the source pixels that land inside.
void GDIBImage::put_map(int x, int y, const GDIBImage& source, const RECT& rect) {
    if (is_empty() || source.is_empty())
        return;
    long long sx = rect.left, sy = rect.top, tx = x, ty = y;
    clipStart(sx, tx);
    clipStart(sy, ty);
    const long long width =
        std::min({static_cast<long long>(rect.right) - sx, source.get_width() - sx, get_width() - tx});
    const long long height =
        std::min({static_cast<long long>(rect.bottom) - sy, source.get_height() - sy, get_height() - ty});
    if (width <= 0 || height <= 0)
        return;
    const auto at = [](long long left, long long top, long long w, long long h) {
        return RECT{static_cast<LONG>(left), static_cast<LONG>(top), static_cast<LONG>(left + w),
                    static_cast<LONG>(top + h)};
    };
    GIPL_ROI target(get_image(), at(tx, ty, width, height));
    GIPL_ROI from(source.get_image(), at(sx, sy, width, height));
    target.set(nullptr, false);
    from.set(nullptr, false);
    iplCopy(source.get_image(), get_image());
}

// Drawing

void GDIBImage::stretch(HDC hdc, int srcX, int srcY, int srcW, int srcH, int dstX, int dstY, int dstW, int dstH) const {
    if (is_empty())
        return;
    GBitmapDC bitmap(get_section());
    if (srcW == dstW && srcH == dstH)
        BitBlt(hdc, dstX, dstY, dstW, dstH, bitmap, srcX, srcY, SRCCOPY);
    else
        StretchBlt(hdc, dstX, dstY, dstW, dstH, bitmap, srcX, srcY, srcW, srcH, SRCCOPY);
}

void GDIBImage::draw(HDC hdc, int srcX, int srcY, int dstX, int dstY, int w, int h) const {
    stretch(hdc, srcX, srcY, w, h, dstX, dstY, w, h);
}

void GDIBImage::draw(HDC hdc, int x, int y, int w, int h) const {
    draw(hdc, 0, 0, x, y, w, h);
}

void GDIBImage::draw(HDC hdc, int x, int y) const {
    draw(hdc, x, y, get_width(), get_height());
}

void GDIBImage::draw(HDC hdc, int x, int y, const RECT& rect) const {
    draw(hdc, x, y, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top);
}

void GDIBImage::draw(HDC hdc, const RECT& rect) const {
    draw(hdc, 0, 0, rect);
}

void GDIBImage::stretch(HDC hdc, int x, int y, int w, int h) const {
    stretch(hdc, 0, 0, get_width(), get_height(), x, y, w, h);
}

void GDIBImage::stretch(HDC hdc, const RECT& rect) const {
    stretch(hdc, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top);
}

void GDIBImage::stretch(HDC hdc, const RECT& srcRect, const RECT& dstRect) const {
    stretch(hdc, srcRect.left, srcRect.top, srcRect.right - srcRect.left, srcRect.bottom - srcRect.top, dstRect.left,
            dstRect.top, dstRect.right - dstRect.left, dstRect.bottom - dstRect.top);
}

// Streaming

void GDIBImage::write(opstream& stream) const {
    stream.writeByte(1);
    stream.writeDWord(static_cast<DWORD>(get_width()));
    stream.writeDWord(static_cast<DWORD>(get_height()));
    for (int y = 0; y < get_height(); ++y)
        stream.writeBytes(get_line_address(y), sizeof(DWORD), static_cast<std::size_t>(get_width()));
}

// Older streams hold a whole BMP file, read by the format that answers to "*.bmp".
void GDIBImage::readEmbeddedBitmap(ipstream& stream) {
    ImageReaderWriterList readers;
    GDIBReaderWriter::GetAllInfo(readers, GDIBReaderWriter::CanRead);
    GDIBReaderWriter* bitmaps = GDIBReaderWriter::GetWriter("*.bmp", readers);
    if (bitmaps == nullptr || !bitmaps->read_image(stream, *this))
        throw new InvalidFileFormat_Exception();
}

// The rows are read before the image is made, so a size the data does not hold fails at the end of the data
// instead of allocating it.
void GDIBImage::read(ipstream& stream) {
    const long position = static_cast<long>(stream.countOfReadBytes());
    if (stream.readVersion(1, typeid(GDIBImage)) == 0) {
        readEmbeddedBitmap(stream);
        return;
    }
    const DWORD width = stream.readDWord();
    const DWORD height = stream.readDWord();
    if (!StreamFormat::ImageSizeAllowed(width, height) || (width == 0) != (height == 0))
        RaiseStreamError("Invalid image size %ux%u. Position=%li", width, height, position);
    std::vector<DWORD> pixels;
    std::vector<DWORD> row(width);
    for (DWORD y = 0; y < height; ++y) {
        if (stream.readBytes(row.data(), sizeof(DWORD), width) != width * sizeof(DWORD))
            RaiseStreamError("Unexpected end of stream. Position=%li", static_cast<long>(stream.countOfReadBytes()));
        pixels.insert(pixels.end(), row.begin(), row.end());
    }
    resize(static_cast<int>(width), static_cast<int>(height));
    if (width > 0 && is_empty())
        RaiseStreamError("Cannot make an image of %ux%u. Position=%li", width, height, position);
    for (DWORD y = 0; y < height; ++y)
        put_hline(pixels.data() + static_cast<std::size_t>(y) * width, 0, static_cast<int>(y), static_cast<int>(width));
}
