#pragma once
// GSortedCollection: a collection kept in the order of its items' keys, with binary search and a choice
// whether equal keys may stand more than once. at_insert and at_put place items where told and may break the
// order; resort() repairs it.

#include "Collections/GCollection.h"

class GSortedCollection : public GCollection {
    G_CLASS(GSortedCollection)

    GSortedCollection() = default;
    GSortedCollection(int limit, int delta, bool ownsItems) : GCollection(limit, delta, ownsItems) {}

    bool getDuplicates() const { return m_duplicates; }
    void setDuplicates(bool allowed) { m_duplicates = allowed; }

    // True when an equal key exists; `index` receives the position found (the first of equal keys when
    // duplicates are allowed) or the insertion position.
    bool search(const void* key, int& index) const;
    // The collection, then the duplicates flag.
    void read(ipstream& stream) override;
    void write(opstream& stream) const override;

    // Sorts all items again by their keys.
    void resort();

    // The key of an item. Here: the item pointer itself.
    virtual const void* keyOf(const void* item) const;
    // Negative, zero or positive like strcmp. Here: the order of the addresses.
    virtual int compare(const void* key1, const void* key2) const;

protected:
    int v_index_of(const void* item) const override;
    // An item whose key is present is not inserted when duplicates are not allowed (an owned one is destroyed);
    // the index of the equal item is returned instead.
    int v_insert(void* item) override;

private:
    bool m_duplicates = false;
};
