#pragma once
// ArchiveReader: reads the parts of a resource archive from its file stream, trusting nothing in them: a tree a
// trailer names, an item's object, its class name or its unpacked bytes. Every block is checked against the
// archive's valid end before anything is read, inflating is bounded by what the block can hold, and a part that
// does not read whole gives nothing, with the stream ready for the next read.

#include "Archives/GResourceDirectory.h"
#include "Archives/GResourceFileBlock.h"
#include "Streams/zpstream.h"

#include <memory>
#include <optional>
#include <vector>

class ArchiveReader {
public:
    using Tree = std::unique_ptr<GResourceDirectory, void (*)(GResourceDirectory*)>;

    // `base`: where the archive starts in the file; `end`: the end of its valid data (from the base).
    ArchiveReader(zpstream& stream, long base, long end) : m_stream(stream), m_base(base), m_end(end) {}

    // What all the trees read from one file may inflate to together: as much as deflate can make of the whole
    // file, so however many trailers name trees that do not read, the work stays in proportion to the file.
    static unsigned long long TreeAllowance(long fileSize);
    // The tree at `treePosition` (from the base) that a trailer starting at `trailerStart` (a file position)
    // names; null when it does not read whole, runs into the trailer or names data outside the archive before it.
    // What it inflates is taken from `allowance`, and it inflates no more than that.
    Tree readTree(long treePosition, long trailerStart, unsigned long long& allowance);
    // The block's object, or null when it does not take exactly the block. An unknown unpacked size is filled in.
    GStreamable* readObject(GResourceFileBlock& block);
    // The class name of the block's object; empty when it cannot be read.
    GString readClassName(const GResourceFileBlock& block);
    // The block's object stream (inflated when compressed); nothing when it does not read whole.
    std::optional<std::vector<BYTE>> readBytes(const GResourceFileBlock& block);
    bool inArchive(const GResourceFileBlock& block) const;

    // After an error: the stretch in progress is dropped and the stream is plain again.
    static void AbandonStretch(zpstream& stream) noexcept;
    static void DestroyTree(GResourceDirectory* tree);

private:
    // Seeks to the block and sets compression and the inflating bound for it.
    void enter(const GResourceFileBlock& block);

    zpstream& m_stream;
    long m_base;
    long m_end;
};
