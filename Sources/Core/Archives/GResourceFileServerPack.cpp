// Packing: the archive is written anew without the data no item uses, into a file beside it that replaces it in
// one rename once it is whole and durable. Until then the original stays as it was, so a crash at any moment
// leaves one complete archive on disk.

#include "Archives/ArchiveLayout.h"
#include "Archives/GResourceFileServer.h"
#include "Archives/ResourceTree.h"
#include "Errors/SystemError.h"
#include "Files/FileSystem.h"
#include "IO/GIOException.h"
#include "win/Files.h"

#include <algorithm>
#include <cerrno>
#include <filesystem>

namespace {

// The file to replace: the target of a symbolic link rather than the link.
GFile replacedFile(const GFile& name) {
    std::error_code error;
    const std::filesystem::path resolved = std::filesystem::canonical(static_cast<const char*>(name), error);
    return error ? name : GFile(resolved.c_str());
}

} // namespace

long GResourceFileServer::packInto(zpstream& packed, const std::vector<GResourceItem*>& items) {
    m_stream->flush();
    GFileIO& from = *m_stream->getFileIO();
    GFileIO& to = *packed.getFileIO();
    ArchiveLayout::CopyBytes(from, 0, to, 0, m_base); // whatever precedes the archive (an executable)
    to.gseek(m_base, GIO::FromBegin);
    to.gwrite(ArchiveLayout::Header.data(), ArchiveLayout::Header.size());
    long at = static_cast<long>(ArchiveLayout::HeaderSize);
    for (GResourceItem* item : items) {
        ArchiveLayout::CopyBytes(from, m_base + item->block.position, to, m_base + at, item->block.storedSize);
        item->block.position = static_cast<std::int32_t>(at);
        at += item->block.storedSize;
    }
    return writeTree(packed, at);
}

bool GResourceFileServer::pack() {
    {
        GSingleLock lock(m_lock);
        if (!m_writable || m_unreadable)
            return false;
        flushLocked();
        std::vector<GResourceItem*> items;
        for (const ResourceTree::Entry& entry : ResourceTree::ListItems(*m_root))
            items.push_back(entry.item);
        std::stable_sort(items.begin(), items.end(), [](const GResourceItem* a, const GResourceItem* b) {
            return a->block.position < b->block.position;
        });
        std::vector<std::int32_t> positions;
        for (const GResourceItem* item : items)
            positions.push_back(item->block.position);

        const GFile target = replacedFile(m_name);
        GFile temporary(GString(target) + ".pack-??????");
        auto packed = std::make_unique<zpstream>();
        if (!FileSystem::UniqueName(temporary, '?') ||
            !packed->open(temporary, GIO::ReadWrite, GFileIO::CreateNew, GFileIO::ShareRead))
            throw new GFileIOException(GString::Format("Cannot make '%s': %s", static_cast<const char*>(temporary),
                                                       static_cast<const char*>(SystemErrorText(errno))));
        try {
            const long end = packInto(*packed, items);
            packed->getFileIO()->take_permissions_of(*m_stream->getFileIO());
            // The rename is the moment of change; when only its directory could not be synced, it happened.
            if (!MoveFileExA(temporary, target, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) &&
                temporary.exists())
                throw new GFileIOException(SystemErrorText(errno));
            m_stream = std::move(packed);
            m_end = end;
        } catch (...) {
            for (std::size_t i = 0; i < items.size(); ++i)
                items[i]->block.position = positions[i];
            packed.reset();
            DeleteFileA(temporary);
            throw;
        }
    }
    sendFlushed();
    return true;
}
