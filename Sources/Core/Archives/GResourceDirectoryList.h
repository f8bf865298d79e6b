#pragma once
// GResourceDirectoryList: the sub-directories of a resource archive's directory, sorted by name; it owns them.

#include "Archives/GResourceDirectory.h"

class GResourceDirectoryList : public TGSortedCollection<GResourceDirectory> {
    G_CLASS(GResourceDirectoryList)

    GResourceDirectoryList() : TGSortedCollection(0, 4, true) {}

    const void* keyOf(const void* item) const override;
    int compare(const void* key1, const void* key2) const override;
    // BYTE 0, then the sorted collection of pointers to the directories.
    void write(opstream& stream) const override;
    void read(ipstream& stream) override;
    void write_item(void* item, opstream& stream) const override;
    void* read_item(ipstream& stream) override;

protected:
    // The archive's tree owns all of its parts, whatever a stream says.
    bool ownsItemsRead(bool) const override { return true; }
};
