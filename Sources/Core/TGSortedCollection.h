#pragma once
// TGSortedCollection<T>: a GSortedCollection of T pointers, destroying owned items as T and emptying itself when
// destroyed. Subclasses give the order through keyOf and compare.

#include "Core/GSortedCollection.h"

template <class T>
class TGSortedCollection : public GSortedCollection {
public:
    TGSortedCollection() = default;
    TGSortedCollection(int limit, int delta, bool ownsItems) : GSortedCollection(limit, delta, ownsItems) {}
    ~TGSortedCollection() override { empty(); }

    T* at(int i) const { return static_cast<T*>(GSortedCollection::at(i)); }
    T* operator[](int i) const { return at(i); }
    int index_of(const T* item) const { return GSortedCollection::index_of(item); }
    int insert(T* item) { return GSortedCollection::insert(item); }
    int remove(T* item) { return GSortedCollection::remove(item); }
    int free(T* item) { return GSortedCollection::free(item); }

    void freeItem(void* item) override { delete static_cast<T*>(item); }
};
