#include "Archives/ArchiveReader.h"

#include "Archives/ArchiveLayout.h"
#include "Archives/ResourceTree.h"
#include "win/CException.h"

#include <algorithm>

namespace {

// Deflate turns a byte into at most 1032.
constexpr unsigned long long LargestInflation = 1032;

// The most bytes a block may inflate to: its unpacked size when known, never more than deflate allows.
unsigned long long inflateAllowance(const GResourceFileBlock& block) {
    const unsigned long long largest = static_cast<unsigned long long>(block.storedSize) * LargestInflation + 64;
    return block.unpackedSize >= 0 ? std::min<unsigned long long>(block.unpackedSize + 64ULL, largest) : largest;
}

void bound(zpstream& stream, unsigned long long bytes) {
    GCompressionIO& device = *stream.getCompressionIO();
    device.setInflateBudget(device.inflatedBytes() + bytes);
}

// Takes what a tree read inflated from the allowance of all of them, however the read ends.
struct SpendOnReturn {
    const GCompressionIO& device;
    unsigned long long before;
    unsigned long long& allowance;
    ~SpendOnReturn() { allowance -= std::min(allowance, device.inflatedBytes() - before); }
};

} // namespace

void ArchiveReader::AbandonStretch(zpstream& stream) noexcept {
    if (GCompressionIO* device = stream.getCompressionIO()) {
        device->abandon();
        device->compression_level(0);
    }
}

void ArchiveReader::DestroyTree(GResourceDirectory* tree) {
    if (tree != nullptr)
        tree->destroyThis();
}

bool ArchiveReader::inArchive(const GResourceFileBlock& block) const {
    return block.position >= static_cast<long>(ArchiveLayout::HeaderSize) && block.storedSize >= 0 &&
           block.position + long{block.storedSize} <= m_end;
}

void ArchiveReader::enter(const GResourceFileBlock& block) {
    m_stream.seekg(m_base + block.position, GIO::FromBegin);
    m_stream.turn_to_comp(block.compressed != 0);
    bound(m_stream, inflateAllowance(block));
}

unsigned long long ArchiveReader::TreeAllowance(long fileSize) {
    return static_cast<unsigned long long>(std::max(fileSize, 0L)) * LargestInflation;
}

ArchiveReader::Tree ArchiveReader::readTree(long treePosition, long trailerStart, unsigned long long& allowance) {
    Tree none(nullptr, DestroyTree);
    if (treePosition < static_cast<long>(ArchiveLayout::HeaderSize) || m_base + treePosition >= trailerStart)
        return none;
    GCompressionIO& device = *m_stream.getCompressionIO();
    const unsigned long long before = device.inflatedBytes();
    const SpendOnReturn spend{device, before, allowance};
    try {
        m_stream.seekg(m_base + treePosition, GIO::FromBegin);
        m_stream.turn_to_comp(true);
        bound(m_stream, std::min(allowance, static_cast<unsigned long long>(trailerStart - m_base - treePosition) *
                                                LargestInflation));
        Tree tree(m_stream.readPointer<GResourceDirectory>(), DestroyTree);
        const long after = m_stream.turn_to_norm();
        if (!tree || after > trailerStart || !ResourceTree::IsSound(*tree, ArchiveLayout::HeaderSize, treePosition))
            return none;
        return tree;
    } catch (CException* e) {
        CExceptionPtr<> held(e);
        AbandonStretch(m_stream);
        m_stream.destroyReadObjects();
        return none;
    }
}

GStreamable* ArchiveReader::readObject(GResourceFileBlock& block) {
    if (!inArchive(block))
        return nullptr;
    try {
        enter(block);
        GStreamable* object = m_stream.readPointer<GStreamable>();
        const auto read = static_cast<long>(m_stream.countOfReadBytes());
        const long after = m_stream.turn_to_norm();
        // The object must take the whole block, and exactly the bytes the block says it holds.
        if (after != m_base + block.position + block.storedSize ||
            (block.unpackedSize >= 0 && read != block.unpackedSize)) {
            m_stream.destroyReadObjects();
            return nullptr;
        }
        block.unpackedSize = static_cast<std::int32_t>(read);
        return object;
    } catch (CException* e) {
        CExceptionPtr<> held(e);
        AbandonStretch(m_stream);
        m_stream.destroyReadObjects();
        return nullptr;
    }
}

GString ArchiveReader::readClassName(const GResourceFileBlock& block) {
    if (!inArchive(block))
        return GString();
    try {
        enter(block);
        GString className = m_stream.read_class_name_from_pointer();
        AbandonStretch(m_stream); // the rest of the block is not wanted
        return className;
    } catch (CException* e) {
        CExceptionPtr<> held(e);
        AbandonStretch(m_stream);
        return GString();
    }
}

std::optional<std::vector<BYTE>> ArchiveReader::readBytes(const GResourceFileBlock& block) {
    if (!inArchive(block))
        return std::nullopt;
    try {
        enter(block);
        GCompressionIO& device = *m_stream.getCompressionIO();
        // Plain blocks hold exactly their stored bytes; compressed ones as many as they inflate to, within the bound.
        const unsigned long long limit = block.compressed != 0 ? inflateAllowance(block) : block.storedSize;
        std::vector<BYTE> bytes;
        BYTE piece[16384];
        while (bytes.size() < limit) {
            const std::size_t n = device.gread(piece, std::min<std::size_t>(sizeof piece, limit - bytes.size()));
            if (n == 0)
                break;
            bytes.insert(bytes.end(), piece, piece + n);
        }
        const long after = m_stream.turn_to_norm();
        const bool whole = after == m_base + block.position + block.storedSize &&
                           (block.unpackedSize < 0 || bytes.size() == static_cast<std::size_t>(block.unpackedSize));
        return whole ? std::optional(std::move(bytes)) : std::nullopt;
    } catch (CException* e) {
        CExceptionPtr<> held(e);
        AbandonStretch(m_stream);
        return std::nullopt;
    }
}
