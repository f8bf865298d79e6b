#pragma once
// GResourceFile: a handle on a resource archive. Every handle on one file shares that file's server, which does
// the work; a handle adds its own current directory, which the forms taking an item name and a type address.
// Changes are announced through one process-wide sender; each event names the server concerned.

#include "Archives/GResourceFileBlock.h"
#include "Archives/GResourceFullName.h"
#include "Files/GFile.h"
#include "IO/GIO.h"
#include "Streams/GStreamable.h"
#include "Threads/GCallbackReceiver.h"

class GResourceFileServer;

class GResourceFile : public GStreamable, public GCallbackReceiver {
    G_CLASS(GResourceFile)

    GResourceFile();
    // Opens at once; `mode` is GIO's: 1 reading, 2 or 3 reading and writing.
    GResourceFile(const char* name, int mode);
    ~GResourceFile() override;
    GResourceFile(const GResourceFile&) = delete;
    GResourceFile& operator=(const GResourceFile&) = delete;

    // Attaches to the file's server, made when this is the first handle on it. Reading and writing falls back to
    // reading when the file is being written elsewhere. False when the file cannot be opened or holds other data.
    bool open(const char* name, int mode);
    // Detaches; the last handle of a server destroys it (flushing first).
    void close();
    bool is_opened() const { return m_server != nullptr; }
    // The server's open mode: 1 reading, 3 reading and writing; 0 when not attached.
    int io_mode() const;
    GFile get_filename() const;
    GResourceFileServer* get_server() const { return m_server; }

    bool flush();
    bool is_modified() const;
    void mark_as_modified();

    const GResourcePath& get_current_directory() const { return m_current; }
    void set_current_directory(const GResourcePath& path);

    // Paths from the root.
    bool directory_exists(const GResourcePath& path) const;
    bool create_directory(const GResourcePath& path);
    bool remove_directory(const GResourcePath& path);
    bool rename_directory(const GResourcePath& from, const GResourcePath& to);
    bool copy_directory(const GResourcePath& to, const GResourcePath& from);
    bool copy_directory_from(const GResourcePath& to, const GResourceFile& other, const GResourcePath& from);
    // Paths from the current directory.
    bool create_subdirectory(const GResourcePath& path);
    bool remove_subdirectory(const GResourcePath& path);

    bool exist(const GResourceFullName& name) const;
    bool exist(const char* name, const char* type) const;
    // With `keep` the archive takes the object and keeps it loaded; without, the caller keeps it, unless it is the
    // object the archive already holds loaded for that item, which stays the archive's. Loaded objects belong to
    // the archive until their item is removed or replaced; put never destroys the object it is given.
    bool put(GStreamable* object, const GResourceFullName& name, bool keep);
    bool put(GStreamable* object, const char* name, const char* type, bool keep);
    // Null when absent or unreadable. With `keep` the archive keeps the object (the caller borrows it); without,
    // it is a new object, the caller's.
    GStreamable* get(const GResourceFullName& name, bool keep);
    GStreamable* get(const char* name, const char* type, bool keep);
    bool remove(const GResourceFullName& name);
    bool remove(const char* name, const char* type);
    bool remove_type(const GResourceFullName& name);
    bool remove_type(const char* type);
    bool empty();
    bool rename(const GResourceFullName& from, const GResourceFullName& to);
    bool rename(const char* from, const char* to, const char* type);
    bool copy(const GResourceFullName& from, const GResourceFullName& to);
    GString read_class_name(const GResourceFullName& name) const;
    GString read_class_name(const char* name, const char* type) const;
    GResourceFileBlock get_resource_block(const GResourceFullName& name) const;
    GResourceFileBlock get_resource_block(const char* name, const char* type) const;
    // Every item of `other`; the items under `from` of `other` under `to`; raw data of a stream as an item.
    bool copy_from(const GResourceFile& other);
    bool copy_from(const GResourcePath& to, const GResourceFile& other, const GResourcePath& from);
    bool copy_from(const GResourceFullName& name, GIO& stream, long position, long size);
    bool extract_to(GIO& stream, const GResourceFullName& name, bool decompress);
    bool pack();

    // Whether the header search finds an archive, or a place where one may be made (an empty file, an executable).
    static bool IsValidToRead(const char* fileName);
    static bool IsValidToRead(GIO& stream);
    static GResourceFileServer* FindServer(const char* name);
    // The file's server, made when there is none; null when the file cannot be opened as an archive.
    static GResourceFileServer* FindOrCreate(const char* name, int mode);

    // Notifications. Every event starts with the reason and the server; the reasons say which fields follow.
    struct Reason_BaseInfo : GCallbackEvent {
        GResourceFileServer* server;
    };
    // Item put (name, object), removed, copied (name); type created or removed (a name giving path and type).
    struct ItemInfo : Reason_BaseInfo {
        const GResourceFullName* name;
        const GStreamable* object;
    };
    struct ItemRenameInfo : Reason_BaseInfo {
        const GResourceFullName* from;
        const GResourceFullName* to;
    };
    // Directory created, removed, emptied (the empty path).
    struct PathInfo : Reason_BaseInfo {
        const GResourcePath* path;
    };
    // Directory renamed; current directory changed (with the handle).
    struct PathRenameInfo : Reason_BaseInfo {
        const GResourcePath* from;
        const GResourcePath* to;
        GResourceFile* file;
    };
    static const GCallbackReason Reason_ItemPut;
    static const GCallbackReason Reason_ItemRemoved;
    static const GCallbackReason Reason_ItemRenamed;
    static const GCallbackReason Reason_ItemCopied;
    static const GCallbackReason Reason_TypeCreated;
    static const GCallbackReason Reason_TypeRemoved;
    static const GCallbackReason Reason_TypeRenamed;
    static const GCallbackReason Reason_DirectoryCreated;
    static const GCallbackReason Reason_DirectoryRemoved;
    static const GCallbackReason Reason_DirectoryRenamed;
    static const GCallbackReason Reason_DirectoryEmptied;
    static const GCallbackReason Reason_CurrentDirectoryChanged;
    static const GCallbackReason Reason_Flushed;
    static void RegisterCallback(GCallbackReceiver* receiver);
    static void UnRegisterCallback(GCallbackReceiver* receiver);
    static void EvokeCallback(GCallbackEvent& event);

    // Follows renamings of directories on the current path.
    void callbackReceived(GCallbackEvent& event) override;

    // BYTE 2, BYTE 1 when attached (else 0 and nothing more), DWORD open mode, the file name, the current directory
    // as a full name. Reading opens the named file for reading only, when it exists (a missing one leaves the
    // handle detached): outside data never creates or changes a file. The owner reopens it to write; until then
    // the handle writes the mode it was stored with.
    void write(opstream& stream) const override;
    void read(ipstream& stream) override;

private:
    friend class GResourceFileServerList;
    // The server is going away with the process: forget it without touching it.
    void serverClosed() { m_server = nullptr; }
    GResourceFullName inCurrent(const char* name, const char* type) const;
    GResourcePath fromCurrent(const GResourcePath& path) const;

    GResourceFileServer* m_server = nullptr;
    GResourcePath m_current;
    DWORD m_storedMode = 0; // the open mode a stream gave this handle; 0 when the program opened it
};
