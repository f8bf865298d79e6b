#pragma once
// The fixed parts of a resource archive's file: the header that marks where the archive starts (its base, which
// may lie behind an executable image or foreign chunks), and the trailer written twice after every directory
// tree: a check value, the tree's position and a 16-byte signature. All numbers are little-endian.

#include "IO/GIO.h"
#include "win/Win32Types.h"

#include <array>
#include <cstdint>
#include <optional>

namespace ArchiveLayout {

inline constexpr std::size_t HeaderSize = 8;
inline constexpr std::array<BYTE, HeaderSize> Header = {0x46, 0x42, 0x50, 0x52, 0xFF, 0xFF, 0xFF, 0xFF};
inline constexpr std::size_t TrailerSize = 24;
inline constexpr std::array<BYTE, 16> Signature = {0x4F, 0x62, 0x6A, 0xBF, 0x08, 0xB4, 0x52, 0x65,
                                                   0x73, 0x6F, 0x75, 0x72, 0x63, 0x65, 0x73, 0x00};

// Where the header search ends: an archive found at `base`, room for a new one at `base` (an empty file, or an
// executable with nothing behind it), or no archive at all (`base` -1: a file of other data).
struct Base {
    long base = -1;
    bool found = false;
};
// Searches from the device's position `start` to its end `size`.
Base FindBase(GIO& device, long start, long size);

// One trailer: the complement of zlib's crc32 (started at 0xFFFFFFFF) over the position and the signature, the
// directory tree's position (from the base), the signature.
std::array<BYTE, TrailerSize> MakeTrailer(std::uint32_t treePosition);

struct Trailer {
    long start = 0;         // where its 24 bytes begin (file position)
    std::uint32_t tree = 0; // the tree's position from the base
};
// The newest valid trailer that ends at or before `before` (a file position) and starts at or after `base`:
// first the 24 bytes right before `before`, then backwards wherever the signature stands. Nothing when none is
// found. A caller whose tree does not read searches again before the trailer's start.
std::optional<Trailer> FindTrailer(GIO& device, long base, long before);

// Copies `size` bytes from `from` at `fromPosition` to `to` at `toPosition` through a buffer of at most 16 KiB,
// piece by piece, so a block may move within one device. Data that ends early raises GIOException.
void CopyBytes(GIO& from, long fromPosition, GIO& to, long toPosition, long size);

} // namespace ArchiveLayout
