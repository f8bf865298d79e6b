#pragma once
// GResourceDirectory: one directory of a resource archive: its types sorted by name (it owns them), its name, its
// parent (not stored) and its sub-directories (owned, made on demand). Registered also under its old name
// "ResourceTypeCollection", whose streams hold the types only.

#include "Archives/ResourceTypeItem.h"
#include "Collections/TGSortedCollection.h"

class GResourceDirectoryList;

class GResourceDirectory : public TGSortedCollection<ResourceTypeItem> {
    G_CLASS(GResourceDirectory)

    explicit GResourceDirectory(const char* name = "");
    ~GResourceDirectory() override;
    GResourceDirectory(const GResourceDirectory&) = delete;
    GResourceDirectory& operator=(const GResourceDirectory&) = delete;

    const GString& get_name() const { return m_name; }
    void set_name(const char* name) { m_name = name; }
    GResourceDirectory* get_parent() const { return m_parent; }
    // The sub-directories; null until one is made.
    GResourceDirectoryList* get_subdirectories() const { return m_subdirectories; }
    // The sub-directory of that name, or null.
    GResourceDirectory* find_subdirectory(const char* name) const;
    // The sub-directory of that name, made when missing.
    GResourceDirectory& make_subdirectory(const char* name);
    // Takes a directory made elsewhere (a renamed one) as a sub-directory; it keeps its own name.
    void adopt_subdirectory(GResourceDirectory* directory);
    // Gives up a sub-directory without destroying it; the caller owns it then. The last one takes the list along.
    void release_subdirectory(GResourceDirectory* directory);
    // Destroys every type and sub-directory.
    void clear();
    // The items of that type, or null.
    GResourceCollection* find_type(const char* type) const;
    // The items of that type, made when missing.
    GResourceCollection& make_type(const char* type);

    const void* keyOf(const void* item) const override;
    int compare(const void* key1, const void* key2) const override;
    // BYTE 0, the sorted collection of (type name, pointer to its items), the name, a pointer to the
    // sub-directories or null. After reading, every sub-directory's parent is this directory.
    void write(opstream& stream) const override;
    void read(ipstream& stream) override;
    void write_item(void* item, opstream& stream) const override;
    void* read_item(ipstream& stream) override;

protected:
    // The archive's tree owns all of its parts, whatever a stream says.
    bool ownsItemsRead(bool) const override { return true; }

private:
    void adoptSubdirectories();

    GString m_name;
    GResourceDirectory* m_parent = nullptr;
    GResourceDirectoryList* m_subdirectories = nullptr; // owned
};
