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
    // A new archive only ever goes behind the file's last byte: data the search cannot pass is not ours to cover.
    return {base == size ? base : -1, false};
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

// The signatures are met from the end backwards, each window read once, so the search takes time in proportion
// to the bytes it passes, whatever they hold.
std::optional<Trailer> FindTrailer(GIO& device, long base, long before) {
    constexpr auto Size = static_cast<long>(TrailerSize);
    constexpr auto SignatureSize = static_cast<long>(Signature.size());
    constexpr long Window = 64 * 1024;
    BYTE candidate[TrailerSize];
    if (before - base < Size)
        return std::nullopt;
    if (readAt(device, before - Size, candidate, TrailerSize) && validTrailer(candidate))
        return Trailer{before - Size, le32(candidate + 4)};
    std::vector<BYTE> window;
    // Signatures ending at or before `bound`; one ending at `before` was the candidate above.
    for (long bound = before - 1; bound - base >= Size;) {
        const long windowStart = std::max(base, bound - Window);
        window.resize(static_cast<std::size_t>(bound - windowStart));
        if (!readAt(device, windowStart, window.data(), window.size()))
            return std::nullopt;
        for (auto at = window.rbegin();; ++at) {
            at = std::search(at, window.rend(), Signature.rbegin(), Signature.rend());
            if (at == window.rend())
                break;
            const long start = bound - (at - window.rbegin()) - Size;
            if (start < base)
                return std::nullopt;
            if (start >= windowStart)
                std::copy_n(window.begin() + (start - windowStart), 8, candidate);
            else if (!readAt(device, start, candidate, 8))
                return std::nullopt;
            std::copy(Signature.begin(), Signature.end(), candidate + 8);
            // A tree lies before its trailer; only such a trailer's check value is worth computing.
            if (static_cast<long>(le32(candidate + 4)) < start - base && validTrailer(candidate))
                return Trailer{start, le32(candidate + 4)};
        }
        if (windowStart == base)
            break;
        bound = windowStart + SignatureSize - 1; // a signature cut at the window's start lies in the next one
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
