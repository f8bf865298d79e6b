#include "Archives/ArchiveLayout.h"
#include "IO/GMemoryIO.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using Bytes = std::vector<BYTE>;

void append(Bytes& bytes, const BYTE* data, std::size_t n) {
    bytes.insert(bytes.end(), data, data + n);
}

void appendTrailerTwice(Bytes& bytes, std::uint32_t tree) {
    const auto trailer = ArchiveLayout::MakeTrailer(tree);
    append(bytes, trailer.data(), trailer.size());
    append(bytes, trailer.data(), trailer.size());
}

ArchiveLayout::Base baseOf(Bytes bytes) {
    GMemoryIO device;
    device.open(bytes.data(), bytes.size(), GIO::ReadOnly);
    return ArchiveLayout::FindBase(device, 0, static_cast<long>(bytes.size()));
}

std::optional<ArchiveLayout::Trailer> trailerOf(Bytes bytes, long before) {
    GMemoryIO device;
    device.open(bytes.data(), bytes.size(), GIO::ReadOnly);
    return ArchiveLayout::FindTrailer(device, 0, before);
}

} // namespace

TEST(ArchiveLayout, TheHeaderIsFoundBehindExecutablesAndChunks) {
    Bytes archive(ArchiveLayout::Header.begin(), ArchiveLayout::Header.end());
    archive.resize(100, 0);
    auto base = baseOf(archive);
    EXPECT_TRUE(base.found);
    EXPECT_EQ(base.base, 0);

    // An executable image of 2 pages with 16 bytes in the last: 512 + 16 bytes.
    Bytes executable(528, 0);
    executable[0] = 'M';
    executable[1] = 'Z';
    executable[2] = 16;
    executable[4] = 2;
    Bytes behind = executable;
    append(behind, archive.data(), archive.size());
    base = baseOf(behind);
    EXPECT_TRUE(base.found);
    EXPECT_EQ(base.base, 528);
    base = baseOf(executable); // nothing behind it: a new archive goes there
    EXPECT_FALSE(base.found);
    EXPECT_EQ(base.base, 528);
    Bytes overlay = executable; // other data behind it: not ours to write over
    overlay.resize(overlay.size() + 40, 'x');
    EXPECT_EQ(baseOf(overlay).base, -1);
    overlay.resize(executable.size() + 3); // even a few bytes
    EXPECT_EQ(baseOf(overlay).base, -1);

    Bytes chunk = {0x46, 0x42, 'X', 'Y', 4, 0, 0, 0, 1, 2, 3, 4};
    append(chunk, archive.data(), archive.size());
    base = baseOf(chunk);
    EXPECT_TRUE(base.found);
    EXPECT_EQ(base.base, 12);

    EXPECT_EQ(baseOf(Bytes(40, 'x')).base, -1); // other data
    base = baseOf(Bytes{});
    EXPECT_FALSE(base.found);
    EXPECT_EQ(base.base, 0); // an empty file becomes an archive
    Bytes endless(600, 0);
    endless[0] = 'M';
    endless[1] = 'Z'; // no pages: a length that would never move on
    EXPECT_EQ(baseOf(endless).base, -1);
}

TEST(ArchiveLayout, TheNewestValidTrailerWins) {
    Bytes file(ArchiveLayout::Header.begin(), ArchiveLayout::Header.end());
    file.resize(40, 0xAA); // a block and a tree
    appendTrailerTwice(file, 20);
    const long firstEnd = static_cast<long>(file.size());
    file.resize(file.size() + 50, 0xBB); // more blocks and a newer tree
    appendTrailerTwice(file, 100);
    const auto size = static_cast<long>(file.size());

    auto found = trailerOf(file, size);
    ASSERT_TRUE(found.has_value());
    EXPECT_EQ(found->tree, 100u);
    EXPECT_EQ(found->start, size - 24);

    // Cut into the last trailer: the newest whole one is its twin before it.
    found = trailerOf(file, size - 10);
    ASSERT_TRUE(found.has_value());
    EXPECT_EQ(found->tree, 100u);
    EXPECT_EQ(found->start, size - 48);
    // Cut 30 bytes further: the previous flush's.
    found = trailerOf(file, size - 50);
    ASSERT_TRUE(found.has_value());
    EXPECT_EQ(found->tree, 20u);
    EXPECT_EQ(found->start, firstEnd - 24);
    // A damaged newest pair: the search goes back past it.
    Bytes damaged = file;
    damaged[static_cast<std::size_t>(size - 24)] ^= 1;
    damaged[static_cast<std::size_t>(size - 48)] ^= 1;
    found = trailerOf(damaged, size);
    ASSERT_TRUE(found.has_value());
    EXPECT_EQ(found->tree, 20u);
    // The caller whose tree did not read searches before the trailer it found.
    found = trailerOf(file, size - 48);
    ASSERT_TRUE(found.has_value());
    EXPECT_EQ(found->tree, 20u);
    EXPECT_FALSE(trailerOf(file, firstEnd - 48).has_value());

    // A signature cut by the search's windows is still found: a trailer far behind a long stretch of data.
    Bytes large(ArchiveLayout::Header.begin(), ArchiveLayout::Header.end());
    appendTrailerTwice(large, 8);
    large.resize(large.size() + 200000, 0xCC);
    found = trailerOf(large, static_cast<long>(large.size()));
    ASSERT_TRUE(found.has_value());
    EXPECT_EQ(found->tree, 8u);

    // Signatures without valid trailers, back to back over many windows and cut by them at every offset, are
    // passed over to the one valid trailer before them.
    Bytes repeated(ArchiveLayout::Header.begin(), ArchiveLayout::Header.end());
    appendTrailerTwice(repeated, 8);
    for (int i = 0; i < 10000; ++i) {
        repeated.push_back(static_cast<BYTE>(i));
        append(repeated, ArchiveLayout::Signature.data(), ArchiveLayout::Signature.size());
    }
    found = trailerOf(repeated, static_cast<long>(repeated.size()));
    ASSERT_TRUE(found.has_value());
    EXPECT_EQ(found->tree, 8u);
    EXPECT_EQ(found->start, 8 + 24);
}
