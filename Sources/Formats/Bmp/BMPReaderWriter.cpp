#include "Bmp/BMPReaderWriter.h"

#include "Bmp/BmpHeader.h"
#include "Bmp/BmpPixels.h"
#include "Imaging/GAbstractDIBImage.h"
#include "Streams/ipstream.h"
#include "Streams/opstream.h"

#include <vector>

G_IMPLEMENT_CLASS(BMPReaderWriter, GDIBReaderWriter)

namespace {

constexpr std::uint32_t V4HeaderSize = 108;
constexpr std::uint32_t PixelOffset = 14 + V4HeaderSize;
constexpr std::uint32_t SRGBColourSpace = 0x73524742; // 'sRGB'

// The file header and a V4 header for 32-bit top-down pixels whose masks include alpha.
std::vector<std::uint8_t> headerFor(int width, int height) {
    std::vector<std::uint8_t> h(PixelOffset, 0);
    const auto pixelBytes = static_cast<std::uint64_t>(width) * static_cast<std::uint64_t>(height) * 4;
    h[0] = 'B';
    h[1] = 'M';
    putLe32(&h[2], static_cast<std::uint32_t>(std::min<std::uint64_t>(PixelOffset + pixelBytes, UINT32_MAX)));
    putLe32(&h[10], PixelOffset);
    std::uint8_t* info = &h[14];
    putLe32(info, V4HeaderSize);
    putLe32(info + 4, static_cast<std::uint32_t>(width));
    putLe32(info + 8, static_cast<std::uint32_t>(-height));
    putLe16(info + 12, 1);
    putLe16(info + 14, 32);
    putLe32(info + 16, BmpBitFields);
    putLe32(info + 20, static_cast<std::uint32_t>(std::min<std::uint64_t>(pixelBytes, UINT32_MAX)));
    putLe32(info + 24, 2835); // 72 dots per inch
    putLe32(info + 28, 2835);
    putLe32(info + 40, 0x00FF0000);
    putLe32(info + 44, 0x0000FF00);
    putLe32(info + 48, 0x000000FF);
    putLe32(info + 52, 0xFF000000);
    putLe32(info + 56, SRGBColourSpace);
    return h;
}

bool sized(GAbstractDIBImage& image, const BmpHeader& header) {
    image.resize(header.width, header.height);
    return image.get_width() == header.width && image.get_height() == header.height;
}

// The codes run to the stated image size, else to the stated file size, else to the end of the data. They are
// read and measured before the picture is made: the pixels they do not set are claimed as pixels without data.
bool readRunLengths(ipstream& stream, StreamBytes& bytes, const BmpHeader& header, GAbstractDIBImage& image) {
    const unsigned long long stated = header.imageSize != 0                  ? header.imageSize
                                      : header.fileSize > header.pixelOffset ? header.fileSize - header.pixelOffset
                                                                             : ~0ULL;
    const std::vector<std::uint8_t> data = bytes.readUpTo(stated);
    const BmpRleExtent extent = measureBmpRle(header, data);
    const auto pixels = static_cast<unsigned long long>(header.width) * static_cast<unsigned long long>(header.height);
    stream.claimUnbackedPixels(pixels - extent.setPixels);
    stream.claimDecodedPixels(extent.setPixels, 0);
    if (!sized(image, header))
        return false;
    decodeBmpRle(header, data, image);
    if (extent.cutShort)
        stream.noteCutShortPicture();
    return true;
}

} // namespace

unsigned BMPReaderWriter::can_do() const {
    return CanRead | CanWrite;
}

void BMPReaderWriter::file_name_filter(ImageFileFilter& filter) const {
    filter = "Windows Bitmap (*.bmp)|*.bmp|";
}

bool BMPReaderWriter::is(ipstream& stream) {
    StreamBytes bytes(stream);
    return looksLikeBmp(bytes);
}

bool BMPReaderWriter::read_info(ipstream& stream, FileImageInfo& info) {
    StreamBytes bytes(stream);
    BmpHeader header;
    if (!readBmpHeader(bytes, header, false))
        return false;
    info.width = header.width;
    info.height = header.height;
    return true;
}

// The pixels are never made before the data is known to hold them: uncompressed rows are decoded as they are read
// when the device can tell how much data follows, and read whole first otherwise.
bool BMPReaderWriter::read_image(ipstream& stream, GAbstractDIBImage& image) {
    StreamBytes bytes(stream);
    BmpHeader header;
    if (!readBmpHeader(bytes, header, true) || !bytes.skip(header.pixelOffset - header.headerBytes))
        return false;
    if (header.compressed())
        return readRunLengths(stream, bytes, header, image);
    const unsigned long long size = header.rowBytes() * static_cast<unsigned long long>(header.height);
    const long long left = bytes.remaining();
    if (left < 0) {
        std::vector<std::uint8_t> data;
        if (!bytes.readExactly(data, size) || !sized(image, header))
            return false;
        decodeBmpRows(header, data, image);
        return true;
    }
    if (static_cast<unsigned long long>(left) < size || !sized(image, header))
        return false;
    BmpRowDecoder decoder(header, image);
    std::vector<std::uint8_t> row(static_cast<std::size_t>(header.rowBytes()));
    for (int r = 0; r < header.height; ++r) {
        if (!bytes.read(row.data(), row.size()))
            return false;
        decoder.decode(r, row.data());
    }
    return true;
}

bool BMPReaderWriter::write_image(opstream& stream, const GAbstractDIBImage& image) {
    const int width = image.get_width();
    const int height = image.get_height();
    if (width <= 0 || height <= 0)
        return false;
    const std::vector<std::uint8_t> header = headerFor(width, height);
    stream.writeBytes(header.data(), header.size());
    std::vector<std::uint8_t> row(static_cast<std::size_t>(width) * 4);
    std::vector<DWORD> pixels(static_cast<std::size_t>(width));
    for (int y = 0; y < height; ++y) {
        const DWORD* line = image.get_line_address(y);
        if (line == nullptr) {
            image.get_hline(pixels.data(), 0, y, width);
            line = pixels.data();
        }
        for (int x = 0; x < width; ++x)
            putLe32(&row[static_cast<std::size_t>(x) * 4], line[x]);
        stream.writeBytes(row.data(), row.size());
    }
    return true;
}
