#pragma once
// Helpers of the archive tests: a whole archive's contents as text, and file bytes in and out.

#include "Archives/GResourceFile.h"

#include <filesystem>
#include <string>

// Every directory, and every item with the text it reads back as, one per line, in tree order.
std::string ArchiveListing(GResourceFile& file);

void WriteBytes(const std::filesystem::path& path, const std::string& bytes);

// The bytes of an archive of two flushes (made, then one item stored) with both trees broken: the newest tree's
// end and both its trailers are cleared, and the first tree starts with a deflate block of a reserved type.
inline std::string WithEveryTreeBroken(std::string bytes) {
    for (std::size_t i = bytes.size() - 48 - 10; i < bytes.size(); ++i)
        bytes[i] = '\0';
    for (std::size_t i = 8; i < 8 + 4; ++i)
        bytes[i] = '\xFF';
    return bytes;
}
