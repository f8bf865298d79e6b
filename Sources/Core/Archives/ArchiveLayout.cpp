#include "Archives/ArchiveLayout.h"

#include "IO/GIOException.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include <zlib.h>

namespace ArchiveLayout {

namespace {

constexpr WORD ExecutableMark = 0x5A4D; // "MZ"
constexpr WORD ChunkMark = 0x4246;      // "FB"
constexpr WORD ArchiveMark = 0x5250;    // "PR": "FBPR" is the archive header

bool readAt(GIO& device, long position, void* buffer, std::size_t n) {
    return device.gseek(position, GIO::FromBegin) == position && device.gread(buffer, n) == n;
}

std::uint32_t le32(const BYTE* p) {
    return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
           static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

std::uint32_t checkValue(const BYTE* positionAndSignature) {
    return ~static_cast<std::uint32_t>(crc32(0xFFFFFFFFul, positionAndSignature, 20));
}

bool validTrailer(const BYTE* bytes) {
    return std::equal(Signature.begin(), Signature.end(), bytes + 8) && le32(bytes) == checkValue(bytes + 4);
}

} // namespace

Base FindBase(GIO& device, long start, long size) {
    long base = start;
    while (size - base >= static_cast<long>(HeaderSize)) {
        BYTE words[8];
        if (!readAt(device, base, words, sizeof words))
            break;
        const WORD first = static_cast<WORD>(words[0] | words[1] << 8);
        const WORD second = static_cast<WORD>(words[2] | words[3] << 8);
        if (first == ExecutableMark) {
            const WORD third = static_cast<WORD>(words[4] | words[5] << 8);
            // Bytes in the last page (second) and pages (third): the image's length.
            const long length = static_cast<long>(third) * 512 - ((-static_cast<long>(second)) & 0x1FF);
            if (length <= 0)
                return {-1, false};
            base += length;
        } else if (first == ChunkMark && second == ArchiveMark) {
            return {base, true};
        } else if (first == ChunkMark) {
            base += static_cast<long>(le32(words + 4)) + 8;
        } else {
            break;
        }
    }
    if (base == start && size > start)
        return {-1, false}; // other data, not an archive
    return {base <= size ? base : -1, false};
}

std::array<BYTE, TrailerSize> MakeTrailer(std::uint32_t treePosition) {
    std::array<BYTE, TrailerSize> trailer{};
    for (int i = 0; i < 4; ++i)
        trailer[static_cast<std::size_t>(4 + i)] = static_cast<BYTE>(treePosition >> (8 * i));
    std::copy(Signature.begin(), Signature.end(), trailer.begin() + 8);
    const std::uint32_t check = checkValue(trailer.data() + 4);
    for (int i = 0; i < 4; ++i)
        trailer[static_cast<std::size_t>(i)] = static_cast<BYTE>(check >> (8 * i));
    return trailer;
}

std::optional<Trailer> FindTrailer(GIO& device, long base, long before) {
    BYTE candidate[TrailerSize];
    long end = before; // a trailer ending here is tried next
    constexpr long Window = 64 * 1024;
    std::vector<BYTE> window;
    while (end - base >= static_cast<long>(TrailerSize)) {
        if (readAt(device, end - static_cast<long>(TrailerSize), candidate, TrailerSize) && validTrailer(candidate))
            return Trailer{end - static_cast<long>(TrailerSize), le32(candidate + 4)};
        // The signature ending before `end - 1`, searched backwards window by window.
        long found = -1;
        for (long windowEnd = end - 1; found < 0 && windowEnd - base >= static_cast<long>(TrailerSize);) {
            const long windowStart = std::max(base, windowEnd - Window);
            window.resize(static_cast<std::size_t>(windowEnd - windowStart));
            if (!readAt(device, windowStart, window.data(), window.size()))
                return std::nullopt;
            const auto hit = std::find_end(window.begin(), window.end(), Signature.begin(), Signature.end());
            if (hit != window.end())
                found = windowStart + (hit - window.begin()) + static_cast<long>(Signature.size());
            else
                windowEnd = windowStart + static_cast<long>(Signature.size()) - 1; // overlap a cut signature
            if (windowStart == base)
                break;
        }
        if (found < 0)
            return std::nullopt;
        end = found;
    }
    return std::nullopt;
}

void CopyBytes(GIO& from, long fromPosition, GIO& to, long toPosition, long size) {
    constexpr long Piece = 16384;
    std::vector<BYTE> buffer(static_cast<std::size_t>(std::clamp(size, 0L, Piece)));
    to.gseek(toPosition, GIO::FromBegin);
    for (long done = 0; done < size;) {
        const auto n = static_cast<std::size_t>(std::min(size - done, Piece));
        if (!readAt(from, fromPosition + done, buffer.data(), n))
            throw new GIOException(GString::Format("Archive data ends before position %ld", fromPosition + size));
        if (&from == &to)
            to.gseek(toPosition + done, GIO::FromBegin);
        to.gwrite(buffer.data(), n);
        done += static_cast<long>(n);
    }
}

} // namespace ArchiveLayout
