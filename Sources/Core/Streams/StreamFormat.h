#pragma once
// Constants of the object stream format shared by readers, writers and tools.

#include "win/Win32Types.h"

namespace StreamFormat {

// The raw bytes that open and close an object frame (never swapped).
inline constexpr BYTE PrefixMarker[4] = {0xB1, 0xB5, 0x0F, 0xCF};
inline constexpr BYTE SuffixMarker[4] = {0xEF, 0x80, 0x4A, 0x29};
// The first bytes of the frames of older writers.
inline constexpr BYTE OldPrefix = '{';
inline constexpr BYTE OldSuffix = ']';
inline constexpr BYTE UnsupportedOldPrefix = '[';

// Pointer bytes.
inline constexpr BYTE NullPointer = 0;
inline constexpr BYTE BackReference = 1;
inline constexpr BYTE NewObject = 2;
// A back-reference index of this value or more is written as this WORD followed by a DWORD.
inline constexpr WORD LongIndex = 0xFFFF;

// String lengths.
inline constexpr WORD NullString = 0xFFFF;
inline constexpr WORD LongString = 0xFFFE;
inline constexpr DWORD SizedString = 0xFFFFFFFF;
// Class references: a WORD length masked with this; the mask value itself is a null class.
inline constexpr WORD ClassNameMask = 0x0FFF;

// Limits that readers and tools apply alike. Objects nested deeper than MaxDepth are malformed data (and would
// exhaust the stack); an image or mask side beyond LargestImageSide, or more pixels than MaxImagePixels (the limit
// the image formats share, 1 GiB of 32-bit pixels), is malformed too.
inline constexpr int MaxDepth = 1000;
inline constexpr DWORD LargestImageSide = 0xFFFF;
inline constexpr unsigned long long MaxImagePixels = 1ULL << 28;

// What one stream (a picture file, a scene with everything it embeds, a clipboard transfer, an archive item) may
// make its readers hold, shared by all it contains. Pixels that no data stands behind (blank models stored as their
// size, what run-length codes skip or never reach, the rest of a picture whose data ends early) are bounded by
// UnbackedPixels in all: 2^25, 128 MiB of 32-bit pixels, more than a blank background of an 8K screen. Pictures
// decoded from compressed data may hold UnbackedPixels plus PixelsPerByte for each byte of the stream: 1024 is
// beyond what real pictures reach (deflate expands at most about 1032 to 1, a quarter of that in 32-bit pixels;
// RLE8 127 pixels a byte), so a 100-Mpixel picture needs only 65 KB of data, while 240 bytes cannot make 1 GiB.
inline constexpr unsigned long long UnbackedPixels = 1ULL << 25;
inline constexpr unsigned long long PixelsPerByte = 1024;

// Whether a width x height image read from outside data is within the limits.
inline bool ImageSizeAllowed(DWORD width, DWORD height) {
    return width <= LargestImageSide && height <= LargestImageSide &&
           static_cast<unsigned long long>(width) * height <= MaxImagePixels;
}

} // namespace StreamFormat
