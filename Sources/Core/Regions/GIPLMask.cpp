#include "Regions/GIPLMask.h"

#include "Streams/InvalidPStream_Exception.h"
#include "Streams/StreamFormat.h"
#include "Streams/ipstream.h"
#include "Streams/opstream.h"

#include <bit>
#include <cstring>
#include <ostream>
#include <vector>

G_IMPLEMENT_CLASS(GIPLMask, GDIBSection)

namespace {

// The bytes of a row that hold pixels, and the bits of its last byte that do (the rest is padding).
struct RowShape {
    int bytes;
    std::uint8_t lastMask;

    explicit RowShape(int width)
        : bytes(width / 8 + (width % 8 != 0)),
          lastMask(static_cast<std::uint8_t>(0xFF00 >> (width % 8 == 0 ? 8 : width % 8))) {}
};

const std::uint8_t* rowOf(const IplImage* image, int y) {
    return reinterpret_cast<const std::uint8_t*>(image->imageData) + static_cast<std::ptrdiff_t>(y) * image->widthStep;
}

// True when the row holds a set bit; padding bits do not count.
bool rowHasBits(const std::uint8_t* row, const RowShape& shape) {
    const int whole = shape.bytes - 1;
    int i = 0;
    for (; i + 8 <= whole; i += 8) {
        std::uint64_t word;
        std::memcpy(&word, row + i, sizeof word);
        if (word != 0)
            return true;
    }
    for (; i < whole; ++i)
        if (row[i] != 0)
            return true;
    return (row[whole] & shape.lastMask) != 0;
}

// into[i] |= row[i], eight bytes at a time where it can.
void orInto(std::uint8_t* __restrict into, const std::uint8_t* __restrict row, int bytes) {
    int i = 0;
    for (; i + 8 <= bytes; i += 8) {
        std::uint64_t a, b;
        std::memcpy(&a, into + i, sizeof a);
        std::memcpy(&b, row + i, sizeof b);
        a |= b;
        std::memcpy(into + i, &a, sizeof a);
    }
    for (; i < bytes; ++i)
        into[i] |= row[i];
}

// The first and one past the last column with a bit set in `bits` (the OR of the rows); first = end when none.
void columnRange(const std::vector<std::uint8_t>& bits, const RowShape& shape, int& first, int& end) {
    first = end = 0;
    int lo = 0;
    while (lo < shape.bytes && bits[lo] == 0)
        ++lo;
    if (lo == shape.bytes)
        return;
    int hi = shape.bytes - 1;
    while (bits[hi] == 0)
        --hi;
    first = lo * 8 + std::countl_zero(bits[lo]);
    end = hi * 8 + (8 - std::countr_zero(bits[hi])); // the padding bits are clear: this stays within int
}

} // namespace

void GIPLMask::resize(int width, int height) {
    if (width == get_width() && height == get_height())
        return;
    free_image();
    if (width > 0 && height > 0)
        allocate_image(width, height, Bitmap, 0);
}

void GIPLMask::setBit(int x, int y, bool value) {
    BYTE bit = value ? 1 : 0;
    iplPutPixel(get_image(), x, y, &bit);
}

// Rows are tested whole from the bottom and then the top; the columns come from the OR of the rows in between,
// so each byte of the mask is read at most once.
void GIPLMask::getBoundingRect(RECT& rect) const {
    rect = RECT{0, 0, 0, 0};
    const IplImage* image = get_image();
    if (image == nullptr)
        return;
    const RowShape shape(image->width);
    int bottom = image->height;
    while (bottom > 0 && !rowHasBits(rowOf(image, bottom - 1), shape))
        --bottom;
    int top = 0;
    while (top < bottom && !rowHasBits(rowOf(image, top), shape))
        ++top;
    if (top >= bottom)
        return;
    std::vector<std::uint8_t> bits(rowOf(image, top), rowOf(image, top) + shape.bytes);
    for (int y = top + 1; y < bottom; ++y)
        orInto(bits.data(), rowOf(image, y), shape.bytes);
    bits[shape.bytes - 1] &= shape.lastMask;
    int left = 0, right = 0;
    columnRange(bits, shape, left, right);
    if (right > left)
        rect = RECT{left, top, right, bottom};
}

void GIPLMask::write(opstream& stream) const {
    stream.writeByte(3);
    GDIBSection::write(stream);
    const IplImage* image = get_image();
    stream.writeByte(image != nullptr ? 1 : 0);
    if (image == nullptr)
        return;
    const auto size = static_cast<std::size_t>(image->widthStep) * static_cast<std::size_t>(image->height);
    stream.writeDWord(static_cast<DWORD>(image->width));
    stream.writeDWord(static_cast<DWORD>(image->height));
    stream.writeDWord(static_cast<DWORD>(size));
    stream.writeBytes(image->imageData, size);
}

// Versions 0 to 2 have the image part's version byte only; version 0 kept its rows bottom up. The bits are read
// before the mask is made, so a size the data does not hold fails at the end of the data instead of allocating.
void GIPLMask::read(ipstream& stream) {
    const long position = static_cast<long>(stream.countOfReadBytes());
    const BYTE version = stream.readVersion(3, typeid(GIPLMask));
    if (version < 3)
        stream.readByte();
    else
        GDIBSection::read(stream);
    free_image();
    if (stream.readByte() != 1)
        return;
    const DWORD width = stream.readDWord();
    const DWORD height = stream.readDWord();
    if (!StreamFormat::ImageSizeAllowed(width, height))
        RaiseStreamError("Invalid mask size %ux%u. Position=%li", width, height, position);
    if (version >= 2)
        stream.readDWord();
    const std::vector<BYTE> bits = stream.readBlock((width + 31) / 32 * 4 * static_cast<unsigned long long>(height));
    resize(static_cast<int>(width), static_cast<int>(height));
    if (width > 0 && height > 0 && is_empty())
        RaiseStreamError("Cannot make a mask of %ux%u. Position=%li", width, height, position);
    if (is_empty())
        return;
    std::memcpy(get_image()->imageData, bits.data(), bits.size()); // the same row length as the stream's
    if (version == 0)
        iplMirror(get_image(), get_image(), 0);
}

std::ostream& operator<<(std::ostream& out, const GIPLMask& mask) {
    for (int y = 0; y < mask.get_height(); ++y) {
        for (int x = 0; x < mask.get_width(); ++x)
            out << (mask.getBit(x, y) ? 'X' : ' ');
        out << '\n';
    }
    return out;
}
