#pragma once
// Where an item's data lies in a resource archive: its position (from the archive's base), the bytes it takes
// in the file, the byte count of its object stream before compression (-1 when not known) and whether it is
// compressed.

#include "win/Win32Types.h"

#include <cstdint>

struct GResourceFileBlock {
    std::int32_t position = 0;
    std::int32_t storedSize = 0;
    std::int32_t unpackedSize = -1;
    BYTE compressed = 1;

    GResourceFileBlock() = default;
    explicit GResourceFileBlock(bool isCompressed) : compressed(isCompressed ? 1 : 0) {}
};
