#include "Bmp/BmpHeader.h"

#include "Streams/StreamFormat.h"

#include <algorithm>

namespace {

constexpr std::size_t FileHeaderSize = 14;

bool knownHeaderSize(std::uint32_t size) {
    switch (size) {
    case 12:  // OS/2 1.x core header
    case 16:  // OS/2 2.x, short form
    case 40:  // BITMAPINFOHEADER
    case 52:  // with the colour masks
    case 56:  // with the alpha mask too
    case 64:  // OS/2 2.x
    case 108: // V4
    case 124: // V5
        return true;
    default:
        return false;
    }
}

bool validLayout(const BmpHeader& h) {
    switch (h.compression) {
    case BmpRGB:
        return h.bitCount == 1 || h.bitCount == 2 || h.bitCount == 4 || h.bitCount == 8 || h.bitCount == 16 ||
               h.bitCount == 24 || h.bitCount == 32;
    case BmpRLE8:
        return h.bitCount == 8;
    case BmpRLE4:
        return h.bitCount == 4;
    case BmpBitFields:
    case BmpAlphaBitFields:
        return h.bitCount == 16 || h.bitCount == 32;
    default: // JPEG and PNG inside a BMP, OS/2 Huffman and RLE24: not taken
        return false;
    }
}

void defaultMasks(BmpHeader& h) {
    if (h.bitCount == 16) {
        h.masks[0] = 0x7C00;
        h.masks[1] = 0x03E0;
        h.masks[2] = 0x001F;
    } else {
        h.masks[0] = 0xFF0000;
        h.masks[1] = 0x00FF00;
        h.masks[2] = 0x0000FF;
    }
    h.masks[3] = 0;
}

// The info header from its size field on; `info` holds the whole header.
void parseInfo(const std::uint8_t* info, BmpHeader& h) {
    if (h.headerSize == 12) {
        h.width = le16(info + 4);
        h.height = le16(info + 6);
        h.bitCount = le16(info + 10);
        return;
    }
    h.width = static_cast<std::int32_t>(le32(info + 4));
    const auto height = static_cast<std::int32_t>(le32(info + 8));
    h.topDown = height < 0;
    h.height = height == INT32_MIN ? 0 : std::abs(height);
    h.bitCount = le16(info + 14);
    if (h.headerSize >= 20)
        h.compression = le32(info + 16);
    if (h.headerSize >= 24)
        h.imageSize = le32(info + 20);
    if (h.headerSize >= 52 && h.headerSize != 64)
        for (int i = 0; i < 3; ++i)
            h.masks[i] = le32(info + 40 + 4 * i);
    if (h.headerSize >= 56 && h.headerSize != 64)
        h.masks[3] = le32(info + 52);
}

bool readPalette(StreamBytes& bytes, BmpHeader& h, const std::uint8_t* info) {
    const std::uint32_t used = h.headerSize >= 36 ? le32(info + 32) : 0;
    const unsigned entrySize = h.headerSize == 12 ? 3 : 4;
    const std::uint32_t room = (h.pixelOffset - h.headerBytes) / entrySize;
    // Entries past the bit depth's reach are never used; past the pixel data's start they are not there.
    const std::uint32_t reach = 1u << h.bitCount;
    const std::uint32_t count = std::min({used != 0 && used <= reach ? used : reach, room});
    std::vector<std::uint8_t> entries(static_cast<std::size_t>(count) * entrySize);
    if (!bytes.read(entries.data(), entries.size()))
        return false;
    h.headerBytes += static_cast<unsigned long>(entries.size());
    h.palette.resize(count);
    for (std::uint32_t i = 0; i < count; ++i) {
        const std::uint8_t* e = &entries[static_cast<std::size_t>(i) * entrySize];
        h.palette[i] = 0xFF000000u | static_cast<DWORD>(e[2]) << 16 | static_cast<DWORD>(e[1]) << 8 | e[0];
    }
    return true;
}

} // namespace

bool looksLikeBmp(StreamBytes& bytes) {
    std::uint8_t start[FileHeaderSize + 4];
    return bytes.read(start, sizeof start) && start[0] == 'B' && start[1] == 'M' &&
           knownHeaderSize(le32(start + FileHeaderSize));
}

bool readBmpHeader(StreamBytes& bytes, BmpHeader& h, bool withPalette) {
    std::uint8_t file[FileHeaderSize];
    std::uint8_t info[124] = {};
    if (!bytes.read(file, FileHeaderSize) || file[0] != 'B' || file[1] != 'M' || !bytes.read(info, 4))
        return false;
    h.fileSize = le32(file + 2);
    h.pixelOffset = le32(file + 10);
    h.headerSize = le32(info);
    if (!knownHeaderSize(h.headerSize) || !bytes.read(info + 4, h.headerSize - 4))
        return false;
    h.headerBytes = FileHeaderSize + h.headerSize;
    parseInfo(info, h);
    if (h.width <= 0 || h.height <= 0 || !validLayout(h) ||
        static_cast<unsigned long long>(h.width) * h.height > StreamFormat::MaxImagePixels)
        return false;
    if (h.compression == BmpBitFields || h.compression == BmpAlphaBitFields) {
        if (h.headerSize < 52) { // the masks follow the header
            const std::size_t n = h.compression == BmpAlphaBitFields ? 16 : 12;
            std::uint8_t masks[16];
            if (!bytes.read(masks, n))
                return false;
            h.headerBytes += static_cast<unsigned long>(n);
            for (std::size_t i = 0; i < n / 4; ++i)
                h.masks[i] = le32(masks + 4 * i);
        }
        if (h.compression == BmpBitFields && h.headerSize < 56)
            h.masks[3] = 0;
    } else if (h.bitCount > 8) {
        defaultMasks(h);
    }
    if (h.pixelOffset < h.headerBytes)
        return false;
    return !withPalette || h.bitCount > 8 || readPalette(bytes, h, info);
}
