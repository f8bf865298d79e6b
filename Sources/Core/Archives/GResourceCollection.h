#pragma once
// GResourceCollection: the items of one type in one directory of a resource archive, sorted by name (byte-wise,
// case-sensitive). It owns its items.

#include "Archives/GResourceItem.h"
#include "Collections/TGSortedCollection.h"

class GResourceCollection : public TGSortedCollection<GResourceItem> {
    G_CLASS(GResourceCollection)

    GResourceCollection() : TGSortedCollection(0, 4, true) {}

    // The item of that name, or null.
    GResourceItem* find(const char* name) const;

    const void* keyOf(const void* item) const override;
    int compare(const void* key1, const void* key2) const override;
    // Each item: its name, DWORD -position (negative: this form), BYTE 0, DWORD stored size, DWORD unpacked size,
    // BYTE compressed flag. Reading also takes the older form: DWORD position (not negative) and DWORD s, s >= 0 an
    // uncompressed block of s bytes, s < 0 a compressed one of -s bytes whose unpacked size is not known.
    void write_item(void* item, opstream& stream) const override;
    void* read_item(ipstream& stream) override;

protected:
    // The archive's tree owns all of its parts, whatever a stream says.
    bool ownsItemsRead(bool) const override { return true; }
};
