#pragma once
// The headers of a BMP file ("BM", a file header, one of the info headers from the 12-byte OS/2 one to the
// 124-byte V5 one, bit-field masks and a palette), read and checked before anything is allocated for the pixels.

#include "StreamBytes.h"
#include "win/Win32Types.h"

#include <cstdint>
#include <vector>

enum BmpCompression : std::uint32_t { BmpRGB = 0, BmpRLE8 = 1, BmpRLE4 = 2, BmpBitFields = 3, BmpAlphaBitFields = 6 };

struct BmpHeader {
    std::uint32_t fileSize = 0;
    std::uint32_t pixelOffset = 0;
    std::uint32_t headerSize = 0;
    int width = 0;
    int height = 0; // rows, always positive
    bool topDown = false;
    int bitCount = 0;
    std::uint32_t compression = BmpRGB;
    std::uint32_t imageSize = 0;
    std::uint32_t masks[4] = {};   // red, green, blue, alpha (0: no such channel)
    std::vector<DWORD> palette;    // 0xFFRRGGBB
    unsigned long headerBytes = 0; // the bytes read for all of the above

    // The bytes of one uncompressed row, padded to four.
    unsigned long long rowBytes() const { return (static_cast<unsigned long long>(width) * bitCount + 31) / 32 * 4; }
    bool compressed() const { return compression == BmpRLE8 || compression == BmpRLE4; }
};

// Whether the data starts with a BMP file header and an info header of a known size.
bool looksLikeBmp(StreamBytes& bytes);
// Reads and checks every header; false for anything this reader does not take (sizes beyond 2^28 pixels, unknown
// bit counts or compressions, JPEG or PNG inside, masks missing, pixels that would start inside the headers).
bool readBmpHeader(StreamBytes& bytes, BmpHeader& header, bool withPalette);
