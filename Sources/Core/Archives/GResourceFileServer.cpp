#include "Archives/GResourceFileServer.h"

#include "Archives/ArchiveLayout.h"
#include "Archives/ArchiveReader.h"
#include "Archives/GResourceDirectoryList.h"
#include "Archives/GResourceFile.h"
#include "Archives/ResourceTree.h"
#include "Files/FileSystem.h"
#include "IO/GIOException.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <unordered_set>

namespace {

// Positions inside an archive are signed 32-bit numbers.
constexpr long MaxArchiveEnd = INT32_MAX;

void sendEvent(GCallbackEvent& event) {
    GResourceFile::EvokeCallback(event);
}

void sendItem(const GCallbackReason& reason, GResourceFileServer* server, const GResourceFullName& name,
              const GStreamable* object = nullptr) {
    GResourceFile::ItemInfo info{{{reason}, server}, &name, object};
    sendEvent(info);
}

void sendPath(const GCallbackReason& reason, GResourceFileServer* server, const GResourcePath& path) {
    GResourceFile::PathInfo info{{{reason}, server}, &path};
    sendEvent(info);
}

// Holds two servers' locks, always taken in the same order, so two copies in opposite directions cannot wait on
// each other.
class DualLock {
public:
    DualLock(GCriticalSection& a, GCriticalSection& b)
        : m_first(std::less<>()(&a, &b) ? a : b), m_second(std::less<>()(&a, &b) ? b : a) {
        m_first.lock_object();
        m_second.lock_object();
    }
    ~DualLock() {
        m_second.unlock_object();
        m_first.unlock_object();
    }
    DualLock(const DualLock&) = delete;
    DualLock& operator=(const DualLock&) = delete;

private:
    GCriticalSection& m_first;
    GCriticalSection& m_second;
};

} // namespace

GResourceFileServer::GResourceFileServer(zpstream* stream, const GFile& name)
    : m_stream(stream), m_root(nullptr, ArchiveReader::DestroyTree), m_name(GetNameUsed(name)) {
    open();
}

GResourceFileServer::~GResourceFileServer() {
    try {
        flush();
    } catch (CException* e) {
        CExceptionPtr<> held(e);
    }
}

GFile GResourceFileServer::GetNameUsed(const char* name) {
    GFile used(name != nullptr ? name : "");
    return used.expand();
}

bool GResourceFileServer::isNameEquals(const char* name) const {
    return name != nullptr && *name != '\0' && FileSystem::Compare(GetNameUsed(name), m_name) == 0;
}

int GResourceFileServer::io_mode() const {
    return m_stream->io_mode();
}

void GResourceFileServer::mark_as_modified() {
    GSingleLock lock(m_lock);
    m_modified = true;
}

void GResourceFileServer::register_resource_file(GResourceFile* file) {
    GSingleLock lock(m_lock);
    if (m_clients.index_of(file) < 0)
        m_clients.insert(file);
}

void GResourceFileServer::unregister_resource_file(GResourceFile* file) {
    GSingleLock lock(m_lock);
    m_clients.remove(file);
}

// Reading the archive

void GResourceFileServer::open() {
    m_stream->turn_to_norm();
    GFileIO& file = *m_stream->getFileIO();
    const long size = file.gseek(0, GIO::FromEnd);
    const ArchiveLayout::Base found = ArchiveLayout::FindBase(file, 0, size);
    m_base = found.base;
    BYTE header[ArchiveLayout::HeaderSize] = {};
    const bool ours = found.found && file.gseek(m_base, GIO::FromBegin) == m_base &&
                      file.gread(header, sizeof header) == sizeof header &&
                      std::equal(header, header + sizeof header, ArchiveLayout::Header.begin());
    // An archive of another version of the format is read by nobody here and never written over.
    m_writable = GIO::canWrite(static_cast<GIO::IOOpenMode>(io_mode())) && m_base >= 0 && (ours || !found.found);
    // The newest tree that reads wins. A tree that did not read for a newer trailer does not read for an older
    // one either (it has less room there), so each is read once however many trailers name it.
    std::unordered_set<std::uint32_t> tried;
    unsigned long long allowance = ArchiveReader::TreeAllowance(size);
    for (long before = size; ours;) {
        const std::optional<ArchiveLayout::Trailer> trailer = ArchiveLayout::FindTrailer(file, m_base, before);
        if (!trailer)
            break;
        if (tried.insert(trailer->tree).second && readTree(static_cast<long>(trailer->tree), trailer->start, allowance))
            return;
        before = trailer->start;
    }
    m_unreadable = ours;
    startArchive(found.found ? size : -1);
}

// Takes the tree a trailer names when it reads whole; the valid end is then right behind that trailer.
bool GResourceFileServer::readTree(long treePosition, long trailerStart, unsigned long long& allowance) {
    ArchiveReader::Tree tree = reader().readTree(treePosition, trailerStart, allowance);
    if (!tree)
        return false;
    m_root = std::move(tree);
    m_end = trailerStart + static_cast<long>(ArchiveLayout::TrailerSize) - m_base;
    return true;
}

// An empty root. A file without an archive gets its header, and its first tree at once. A file whose archive has
// no readable tree keeps its bytes: opening it writes nothing, and the first change goes behind them
// (`fileSize`), nothing is written over.
void GResourceFileServer::startArchive(long fileSize) {
    m_root.reset(new GResourceDirectory);
    if (fileSize >= 0) {
        m_end = fileSize - m_base;
        m_writable = m_writable && m_end <= MaxArchiveEnd;
        return;
    }
    m_end = static_cast<long>(ArchiveLayout::HeaderSize);
    if (!m_writable)
        return;
    m_stream->seekp(m_base, GIO::FromBegin);
    m_stream->writeBytes(ArchiveLayout::Header.data(), ArchiveLayout::Header.size());
    m_modified = true;
    if (flushLocked())
        sendFlushed();
}

void GResourceFileServer::recover() noexcept {
    ArchiveReader::AbandonStretch(*m_stream);
}

ArchiveReader GResourceFileServer::reader() const {
    return ArchiveReader(*m_stream, m_base, m_end);
}

// Writing

long GResourceFileServer::writeTree(zpstream& stream, long end) {
    try {
        stream.seekp(m_base + end, GIO::FromBegin);
        stream.turn_to_comp(true);
        stream.writePointer(m_root.get());
        const long treeEnd = stream.turn_to_norm();
        const long newEnd = treeEnd - m_base + 2 * static_cast<long>(ArchiveLayout::TrailerSize);
        if (newEnd > MaxArchiveEnd)
            throw new GIOException("The archive would grow beyond 2 GiB");
        GFileIO& file = *stream.getFileIO();
        file.sync(); // the tree is on disk before a trailer names it
        const auto trailer = ArchiveLayout::MakeTrailer(static_cast<std::uint32_t>(end));
        stream.writeBytes(trailer.data(), trailer.size());
        stream.writeBytes(trailer.data(), trailer.size());
        stream.flush();
        file.sync();
        return newEnd;
    } catch (...) {
        ArchiveReader::AbandonStretch(stream);
        throw;
    }
}

bool GResourceFileServer::flush() {
    bool written = false;
    {
        GSingleLock lock(m_lock);
        if (!m_writable)
            return false;
        written = flushLocked();
    }
    if (written)
        sendFlushed();
    return true;
}

bool GResourceFileServer::flushLocked() {
    if (!m_modified)
        return false;
    m_end = writeTree(*m_stream, m_end);
    m_modified = false;
    return true;
}

void GResourceFileServer::sendFlushed() {
    GResourceFile::Reason_BaseInfo info{{GResourceFile::Reason_Flushed}, this};
    sendEvent(info);
}

// Writes a block behind the valid end through `body`; the end moves only once the block is whole.
template <class Body>
GResourceFileBlock GResourceFileServer::appendBlock(bool compressed, Body body) {
    GResourceFileBlock block(compressed);
    block.position = static_cast<std::int32_t>(m_end);
    try {
        m_stream->seekp(m_base + m_end, GIO::FromBegin);
        m_stream->turn_to_comp(compressed);
        body();
        const auto written = static_cast<long>(m_stream->countOfWrittenBytes());
        const long size = m_stream->turn_to_norm() - m_base - m_end;
        if (m_end + size > MaxArchiveEnd || written > MaxArchiveEnd)
            throw new GIOException("The archive would grow beyond 2 GiB");
        block.storedSize = static_cast<std::int32_t>(size);
        block.unpackedSize = static_cast<std::int32_t>(written);
    } catch (...) {
        recover();
        throw;
    }
    return block;
}

void GResourceFileServer::releaseLoaded(GResourceItem& item, GStreamable* keep) {
    if (item.object != nullptr && item.object != keep)
        item.object->destroyThis();
    item.object = keep;
}

// The object stored as `item`'s data: taken when `keep`, from whichever item held it loaded before; without
// `keep` it stays where it was, and stays loaded here when it was this item's.
GStreamable* GResourceFileServer::loadedAfterPut(const GResourceItem& item, GStreamable* object, bool keep) {
    if (!keep)
        return item.object == object ? object : nullptr;
    if (GResourceItem* holder = ResourceTree::FindLoaded(*m_root, object); holder != nullptr && holder != &item)
        holder->object = nullptr;
    return object;
}

// Gives `item` the block (replacing its data) and moves the end behind it.
void GResourceFileServer::storeItem(GResourceItem& item, const GResourceFileBlock& block, GStreamable* loaded) {
    item.block = block;
    releaseLoaded(item, loaded);
    m_end = std::max(m_end, block.position + long{block.storedSize});
    m_modified = true;
}

bool GResourceFileServer::put(GStreamable* object, const GResourceFullName& name, bool keep) {
    bool typeCreated = false;
    {
        GSingleLock lock(m_lock);
        if (!m_writable || object == nullptr || !fits(name.get_path()))
            return false;
        const GResourceItem* existing = find_item(name);
        const bool compressed = existing == nullptr || existing->block.compressed != 0;
        const GResourceFileBlock block = appendBlock(compressed, [&] { m_stream->writePointer(object); });
        GResourceItem& item = find_or_create_item(name, typeCreated);
        storeItem(item, block, loadedAfterPut(item, object, keep));
    }
    if (typeCreated)
        sendItem(GResourceFile::Reason_TypeCreated, this, name);
    sendItem(GResourceFile::Reason_ItemPut, this, name, object);
    return true;
}

bool GResourceFileServer::put_bytes(const void* data, std::size_t size, const GResourceFullName& name) {
    bool typeCreated = false;
    {
        GSingleLock lock(m_lock);
        if (!m_writable || !fits(name.get_path()))
            return false;
        const GResourceFileBlock block = appendBlock(true, [&] { m_stream->writeBytes(data, size); });
        storeItem(find_or_create_item(name, typeCreated), block, nullptr);
    }
    if (typeCreated)
        sendItem(GResourceFile::Reason_TypeCreated, this, name);
    sendItem(GResourceFile::Reason_ItemPut, this, name);
    return true;
}

GStreamable* GResourceFileServer::get(const GResourceFullName& name, bool keep) {
    GSingleLock lock(m_lock);
    GResourceItem* item = find_item(name);
    return item != nullptr ? get_from_item(*item, keep) : nullptr;
}

GStreamable* GResourceFileServer::get_from_item(GResourceItem& item, bool keep) {
    GSingleLock lock(m_lock);
    if (keep && item.object != nullptr)
        return item.object;
    GStreamable* object = reader().readObject(item.block);
    if (keep && object != nullptr)
        item.object = object;
    return object;
}

GStreamable* GResourceFileServer::get_loaded(const GResourceFullName& name) const {
    GSingleLock lock(m_lock);
    const GResourceItem* item = find_item(name);
    return item != nullptr ? item->object : nullptr;
}

bool GResourceFileServer::exist(const GResourceFullName& name) const {
    GSingleLock lock(m_lock);
    return find_item(name) != nullptr;
}

bool GResourceFileServer::remove(const GResourceFullName& name) {
    {
        GSingleLock lock(m_lock);
        GResourceCollection* items = find_type(name.get_full_type());
        GResourceItem* item = items != nullptr ? items->find(name.get_name()) : nullptr;
        if (!m_writable || item == nullptr)
            return false;
        items->free(item);
        m_modified = true;
    }
    sendItem(GResourceFile::Reason_ItemRemoved, this, name);
    return true;
}

bool GResourceFileServer::remove_type(const GResourceFullName& name) {
    {
        GSingleLock lock(m_lock);
        GResourceDirectory* directory = find_directory(name.get_path());
        int index = 0;
        if (!m_writable || directory == nullptr || !directory->search(static_cast<const char*>(name.get_type()), index))
            return false;
        directory->at_free(index);
        m_modified = true;
    }
    sendItem(GResourceFile::Reason_TypeRemoved, this, name);
    return true;
}

bool GResourceFileServer::rename(const GResourceFullName& from, const GResourceFullName& to) {
    bool typeCreated = false;
    {
        GSingleLock lock(m_lock);
        GResourceCollection* items = find_type(from.get_full_type());
        GResourceItem* item = items != nullptr ? items->find(from.get_name()) : nullptr;
        if (!m_writable || item == nullptr || to.get_name().isEmpty() || !fits(to.get_path()))
            return false;
        if (from == to)
            return true;
        items->remove(item);
        GResourceCollection& target = find_or_create_type(to.get_full_type(), typeCreated);
        if (GResourceItem* replaced = target.find(to.get_name()))
            target.free(replaced);
        item->key = to.get_name();
        target.insert(item);
        m_modified = true;
    }
    if (typeCreated)
        sendItem(GResourceFile::Reason_TypeCreated, this, to);
    GResourceFile::ItemRenameInfo info{{{GResourceFile::Reason_ItemRenamed}, this}, &from, &to};
    sendEvent(info);
    return true;
}

bool GResourceFileServer::copy(const GResourceFullName& from, const GResourceFullName& to) {
    bool typeCreated = false;
    {
        GSingleLock lock(m_lock);
        const GResourceItem* item = find_item(from);
        if (!m_writable || item == nullptr || to.get_name().isEmpty() || !fits(to.get_path()))
            return false;
        if (!copyBlock(*this, item->block, to, typeCreated))
            return false;
    }
    if (typeCreated)
        sendItem(GResourceFile::Reason_TypeCreated, this, to);
    sendItem(GResourceFile::Reason_ItemCopied, this, to);
    return true;
}

// Directories

bool GResourceFileServer::create_directory(const GResourcePath& path) {
    bool created = false;
    {
        GSingleLock lock(m_lock);
        if (!m_writable || !fits(path))
            return false;
        find_or_create_directory(path, created);
        m_modified = m_modified || created;
    }
    if (created)
        sendPath(GResourceFile::Reason_DirectoryCreated, this, path);
    return created;
}

bool GResourceFileServer::remove_directory(const GResourcePath& path) {
    {
        GSingleLock lock(m_lock);
        GResourceDirectory* directory = find_directory(path);
        if (!m_writable || directory == nullptr || path.isEmpty())
            return false;
        directory->get_parent()->release_subdirectory(directory);
        directory->destroyThis();
        m_modified = true;
    }
    sendPath(GResourceFile::Reason_DirectoryRemoved, this, path);
    return true;
}

bool GResourceFileServer::rename_directory(const GResourcePath& from, const GResourcePath& to) {
    {
        GSingleLock lock(m_lock);
        GResourceDirectory* directory = find_directory(from);
        if (!m_writable || directory == nullptr || from.isEmpty() || to.isEmpty() || to.is_subdirectory(from, false) ||
            find_directory(to) != nullptr || !fits(to, ResourceTree::Height(*directory)))
            return false;
        directory->get_parent()->release_subdirectory(directory);
        directory->set_name(to[to.getCount() - 1]);
        bool created = false;
        find_or_create_directory(GResourcePath(to).parent(), created).adopt_subdirectory(directory);
        m_modified = true;
    }
    GResourceFile::PathRenameInfo info{{{GResourceFile::Reason_DirectoryRenamed}, this}, &from, &to, nullptr};
    sendEvent(info);
    return true;
}

bool GResourceFileServer::directory_exists(const GResourcePath& path) const {
    GSingleLock lock(m_lock);
    return find_directory(path) != nullptr;
}

bool GResourceFileServer::empty() {
    {
        GSingleLock lock(m_lock);
        if (!m_writable)
            return false;
        m_root->clear();
        m_modified = true;
    }
    sendPath(GResourceFile::Reason_DirectoryEmptied, this, GResourcePath());
    return true;
}

// Item data

GString GResourceFileServer::read_class_name(const GResourceFullName& name) {
    GSingleLock lock(m_lock);
    const GResourceItem* item = find_item(name);
    return item != nullptr ? reader().readClassName(item->block) : GString();
}

GResourceFileBlock GResourceFileServer::get_resource_block(const GResourceFullName& name) const {
    GSingleLock lock(m_lock);
    const GResourceItem* item = find_item(name);
    return item != nullptr ? item->block : GResourceFileBlock();
}

bool GResourceFileServer::copy_from(const GResourceFullName& name, GIO& source, long position, long size,
                                    const GResourceFileBlock& form) {
    bool typeCreated = false;
    {
        GSingleLock lock(m_lock);
        if (!m_writable || size < 0 || position < 0 || m_end + size > MaxArchiveEnd || !fits(name.get_path()))
            return false;
        m_stream->flush();
        try {
            ArchiveLayout::CopyBytes(source, position, *m_stream->getFileIO(), m_base + m_end, size);
        } catch (...) {
            recover();
            throw;
        }
        GResourceFileBlock block = form;
        block.position = static_cast<std::int32_t>(m_end);
        block.storedSize = static_cast<std::int32_t>(size);
        if (block.compressed == 0)
            block.unpackedSize = block.storedSize; // plain data is its own object stream
        storeItem(find_or_create_item(name, typeCreated), block, nullptr);
    }
    if (typeCreated)
        sendItem(GResourceFile::Reason_TypeCreated, this, name);
    sendItem(GResourceFile::Reason_ItemCopied, this, name);
    return true;
}

// Copies an item's data from `source` (the caller holds both locks) behind this archive's end.
bool GResourceFileServer::copyBlock(GResourceFileServer& source, const GResourceFileBlock& block,
                                    const GResourceFullName& name, bool& typeCreated) {
    if (!source.reader().inArchive(block) || m_end + long{block.storedSize} > MaxArchiveEnd)
        return false;
    source.m_stream->flush();
    m_stream->flush();
    try {
        ArchiveLayout::CopyBytes(*source.m_stream->getFileIO(), source.m_base + block.position, *m_stream->getFileIO(),
                                 m_base + m_end, block.storedSize);
    } catch (...) {
        recover();
        throw;
    }
    GResourceFileBlock copied = block;
    copied.position = static_cast<std::int32_t>(m_end);
    storeItem(find_or_create_item(name, typeCreated), copied, nullptr);
    return true;
}

bool GResourceFileServer::copy_items(const GResourcePath& to, GResourceFileServer& source, const GResourcePath& from) {
    std::vector<std::pair<GResourceFullName, bool>> copied; // each name, and whether its type was made for it
    {
        DualLock locks(m_lock, source.m_lock);
        const GResourceDirectory* directory = source.find_directory(from);
        if (!m_writable || directory == nullptr || !fits(to, ResourceTree::Height(*directory)))
            return false;
        // Names and blocks first: copying into the source's own tree must not meet the copies.
        std::vector<std::pair<GResourceFullName, GResourceFileBlock>> items;
        for (const ResourceTree::Entry& entry : ResourceTree::ListItems(*directory)) {
            GResourcePath path = to;
            path += entry.name.get_path();
            items.emplace_back(GResourceFullName(path, entry.name.get_type(), entry.name.get_name()),
                               entry.item->block);
        }
        for (const auto& [name, block] : items)
            if (bool typeCreated = false; copyBlock(source, block, name, typeCreated))
                copied.emplace_back(name, typeCreated);
    }
    for (const auto& [name, typeCreated] : copied) {
        if (typeCreated)
            sendItem(GResourceFile::Reason_TypeCreated, this, name);
        sendItem(GResourceFile::Reason_ItemCopied, this, name);
    }
    return true;
}

bool GResourceFileServer::extract_to(GIO& target, const GResourceFullName& name, bool decompress) {
    GSingleLock lock(m_lock);
    const GResourceItem* item = find_item(name);
    if (item == nullptr || !reader().inArchive(item->block))
        return false;
    const GResourceFileBlock& block = item->block;
    if (!decompress || block.compressed == 0) {
        m_stream->flush();
        ArchiveLayout::CopyBytes(*m_stream->getFileIO(), m_base + block.position, target, target.gtell(),
                                 block.storedSize);
        return true;
    }
    if (block.unpackedSize < 0)
        return false;
    const std::optional<std::vector<BYTE>> bytes = reader().readBytes(block);
    return bytes && target.gwrite(bytes->data(), bytes->size()) == bytes->size();
}

std::optional<std::vector<BYTE>> GResourceFileServer::read_object_stream(const GResourceFullName& name) {
    GSingleLock lock(m_lock);
    const GResourceItem* item = find_item(name);
    return item != nullptr ? reader().readBytes(item->block) : std::nullopt;
}

// Lookups

bool GResourceFileServer::fits(const GResourcePath& path, int below) {
    return path.getCount() + below <= ResourceTree::MaxDepth;
}

GResourceItem* GResourceFileServer::find_item(const GResourceFullName& name) const {
    return ResourceTree::FindItem(*m_root, name);
}

GResourceCollection* GResourceFileServer::find_type(const GResourceFullType& type) const {
    return ResourceTree::FindType(*m_root, type);
}

GResourceDirectory* GResourceFileServer::find_directory(const GResourcePath& path) const {
    return ResourceTree::FindDirectory(*m_root, path);
}

GResourceItem& GResourceFileServer::find_or_create_item(const GResourceFullName& name, bool& typeCreated) {
    GResourceCollection& items = find_or_create_type(name.get_full_type(), typeCreated);
    if (GResourceItem* item = items.find(name.get_name()))
        return *item;
    auto* item = new GResourceItem(name.get_name(), GResourceFileBlock());
    items.insert(item);
    return *item;
}

GResourceCollection& GResourceFileServer::find_or_create_type(const GResourceFullType& type, bool& created) {
    bool directoryCreated = false;
    GResourceDirectory& directory = find_or_create_directory(type.get_path(), directoryCreated);
    created = directory.find_type(type.get_type()) == nullptr;
    return directory.make_type(type.get_type());
}

GResourceDirectory& GResourceFileServer::find_or_create_directory(const GResourcePath& path, bool& created) {
    return ResourceTree::FindOrCreateDirectory(*m_root, path, created);
}

std::vector<GString> GResourceFileServer::subdirectory_names(const GResourcePath& path) const {
    GSingleLock lock(m_lock);
    std::vector<GString> names;
    const GResourceDirectory* directory = find_directory(path);
    if (const GResourceDirectoryList* list = directory != nullptr ? directory->get_subdirectories() : nullptr)
        for (int i = 0; i < list->getCount(); ++i)
            names.push_back(list->at(i)->get_name());
    return names;
}

std::vector<GString> GResourceFileServer::type_names(const GResourcePath& path) const {
    GSingleLock lock(m_lock);
    std::vector<GString> names;
    if (const GResourceDirectory* directory = find_directory(path))
        for (int i = 0; i < directory->getCount(); ++i)
            names.push_back(directory->at(i)->type);
    return names;
}

std::vector<GString> GResourceFileServer::item_names(const GResourceFullType& type) const {
    GSingleLock lock(m_lock);
    std::vector<GString> names;
    if (const GResourceCollection* items = find_type(type))
        for (int i = 0; i < items->getCount(); ++i)
            names.push_back(items->at(i)->key);
    return names;
}
