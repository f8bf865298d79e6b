#pragma once
// GResourceFileServer: the one owner of an open resource archive, shared by every GResourceFile handle on that
// file. It holds the file stream, the directory tree in memory, the archive's base and the end of its valid data,
// and does every read and write of the archive under one lock. Notifications go out after the lock is released.
//
// Nothing written is ever overwritten: objects and trees are appended behind the valid end, and a flush makes them
// durable before the trailer that points at them, so a file cut anywhere opens in the state of an earlier flush.
// A change that would make a directory path deeper than ResourceTree::MaxDepth is refused (false), so that every
// tree written reads back.

#include "Archives/ArchiveReader.h"
#include "Archives/GResourceDirectory.h"
#include "Archives/GResourceFile.h"
#include "Archives/GResourceFullName.h"
#include "Collections/TGCollection.h"
#include "Files/GFile.h"
#include "Streams/zpstream.h"
#include "Threads/GCriticalSection.h"

#include <memory>
#include <optional>
#include <vector>

class GResourceFileServer {
public:
    // Takes the stream (open on the file) and reads the archive in it: the newest tree that reads whole. A file
    // with no archive yet gets a new one when it is open for writing.
    GResourceFileServer(zpstream* stream, const GFile& name);
    // Flushes (an error is dropped here: flush first to see it).
    ~GResourceFileServer();
    GResourceFileServer(const GResourceFileServer&) = delete;
    GResourceFileServer& operator=(const GResourceFileServer&) = delete;

    // The name made absolute, as servers are looked up by.
    static GFile GetNameUsed(const char* name);
    // Whether `name` is this server's file; false for an empty or null name.
    bool isNameEquals(const char* name) const;
    const GFile& get_filename() const { return m_name; }
    // The open mode of the file: 1 reading, 3 reading and writing.
    int io_mode() const;
    // Whether changes are taken: the file is open for writing and its archive is of this format.
    bool is_writable() const { return m_writable; }
    long get_base() const { return m_base; }
    long get_end() const { return m_end; }
    bool is_modified() const { return m_modified; }
    // Whether the file held an archive of this format of which no tree reads: the root was started empty, and
    // the old data is kept as it was (packing is refused).
    bool is_unreadable() const { return m_unreadable; }
    void mark_as_modified();

    void register_resource_file(GResourceFile* file);
    void unregister_resource_file(GResourceFile* file);
    const TGCollection<GResourceFile>& clients() const { return m_clients; }
    GCriticalSection& critical_section() const { return m_lock; }
    bool is_closing() const { return m_closing; }
    void set_closing() { m_closing = true; }

    // Appends the tree and its trailer twice when modified, each made durable before the next; false when the
    // archive cannot be written. I/O errors raise GIOException with the archive as it was.
    bool flush();
    // Ownership of objects: an object the archive holds loaded (put or got with `keep`) is the archive's, and
    // callers only borrow it until its item is removed, replaced or stored again without it. put never destroys
    // the object it is given and sends it, alive, with Reason_ItemPut.
    //
    // Stores the object as the item `name`. With `keep` the item takes it and keeps it loaded (also an object
    // another item held loaded, which lets go of it); without, the caller keeps its object, except that one this
    // item holds loaded stays loaded and the archive's. False when the archive cannot be written; I/O errors raise
    // GIOException, nothing stored.
    bool put(GStreamable* object, const GResourceFullName& name, bool keep);
    // Stores bytes (an object stream made elsewhere) as the item's data, compressed.
    bool put_bytes(const void* data, std::size_t size, const GResourceFullName& name);
    // The item's object, or null when it is absent or does not read back whole. With `keep` the item keeps it, the
    // archive's (and a loaded one is given again); without, a new object that is the caller's.
    GStreamable* get(const GResourceFullName& name, bool keep);
    GStreamable* get_from_item(GResourceItem& item, bool keep);
    // The item's loaded object, or null.
    GStreamable* get_loaded(const GResourceFullName& name) const;
    bool exist(const GResourceFullName& name) const;
    bool remove(const GResourceFullName& name);
    // Removes the type the full name gives in its directory.
    bool remove_type(const GResourceFullName& name);
    // Moves an item; an item already at `to` is replaced.
    bool rename(const GResourceFullName& from, const GResourceFullName& to);
    // Copies an item's data to a new name; an item already at `to` is replaced.
    bool copy(const GResourceFullName& from, const GResourceFullName& to);
    bool create_directory(const GResourcePath& path);
    bool remove_directory(const GResourcePath& path);
    // Moves a directory with everything in it; false when `to` exists or lies inside `from`.
    bool rename_directory(const GResourcePath& from, const GResourcePath& to);
    bool directory_exists(const GResourcePath& path) const;
    // Removes every type and directory.
    bool empty();
    // The class name of the item's object, read without building it; empty when absent or unreadable.
    GString read_class_name(const GResourceFullName& name);
    // A copy of the item's block; a default block when absent.
    GResourceFileBlock get_resource_block(const GResourceFullName& name) const;
    // Stores `size` raw bytes of `source` from `position` as the item's data, of the form `form` gives
    // (compressed flag and unpacked size).
    bool copy_from(const GResourceFullName& name, GIO& source, long position, long size,
                   const GResourceFileBlock& form);
    // Copies the items under `from` of `source` (this server or another) under `to`, data and all.
    bool copy_items(const GResourcePath& to, GResourceFileServer& source, const GResourcePath& from);
    // Copies one item's data, as stored or (when `decompress` and it is compressed) as its object stream, to
    // `target` at its position. False when absent, or when unpacking is asked for and its size is not known.
    bool extract_to(GIO& target, const GResourceFullName& name, bool decompress);
    // The item's object stream, unpacked (also from a block whose unpacked size was never recorded); nothing when
    // the item is absent or its data does not read whole.
    std::optional<std::vector<BYTE>> read_object_stream(const GResourceFullName& name);
    // Rewrites the archive without the data no item uses, in a new file that replaces this one once it is whole
    // and durable: at every moment the file on disk holds a complete state. False for an archive that cannot be
    // written or whose trees did not read (their data is kept for whoever can mend it).
    bool pack();

    // Lookups in the tree (the caller holds the lock).
    GResourceDirectory& root() const { return *m_root; }
    GResourceItem* find_item(const GResourceFullName& name) const;
    GResourceCollection* find_type(const GResourceFullType& type) const;
    GResourceDirectory* find_directory(const GResourcePath& path) const;
    GResourceItem& find_or_create_item(const GResourceFullName& name, bool& typeCreated);
    GResourceCollection& find_or_create_type(const GResourceFullType& type, bool& created);
    GResourceDirectory& find_or_create_directory(const GResourcePath& path, bool& created);

    // Names below a path, taken under the lock (for the iterators).
    std::vector<GString> subdirectory_names(const GResourcePath& path) const;
    std::vector<GString> type_names(const GResourcePath& path) const;
    std::vector<GString> item_names(const GResourceFullType& type) const;

private:
    void open();
    bool readTree(long treePosition, long trailerStart, unsigned long long& allowance);
    void startArchive(long fileSize);
    // Appends the tree and its trailers to `stream` behind `end`; returns the new end.
    long writeTree(zpstream& stream, long end);
    // Writes the tree when modified; true when it did (the caller sends the notice after the lock).
    bool flushLocked();
    void sendFlushed();
    template <class Body>
    GResourceFileBlock appendBlock(bool compressed, Body body);
    ArchiveReader reader() const;
    // Whether a directory at `path` with `below` levels under it stays within the depth the tree reads back at.
    static bool fits(const GResourcePath& path, int below = 0);
    void storeItem(GResourceItem& item, const GResourceFileBlock& block, GStreamable* loaded);
    bool copyBlock(GResourceFileServer& source, const GResourceFileBlock& block, const GResourceFullName& name,
                   bool& typeCreated);
    void releaseLoaded(GResourceItem& item, GStreamable* keep);
    GStreamable* loadedAfterPut(const GResourceItem& item, GStreamable* object, bool keep);
    void recover() noexcept;
    // Writes the archive with `items` one behind the other into `packed`, moving their positions there; returns
    // the new end.
    long packInto(zpstream& packed, const std::vector<GResourceItem*>& items);

    std::unique_ptr<zpstream> m_stream;
    ArchiveReader::Tree m_root;
    GFile m_name;
    long m_base = 0;
    long m_end = 0;
    TGCollection<GResourceFile> m_clients{0, 4, false};
    bool m_modified = false;
    bool m_closing = false;
    bool m_writable = false;
    bool m_unreadable = false;
    mutable GCriticalSection m_lock;
};
