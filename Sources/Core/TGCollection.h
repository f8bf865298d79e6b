#pragma once
// TGCollection<T>: a GCollection of T pointers. It destroys owned items as T (through the virtual destructor)
// and empties itself when destroyed, so an owning collection takes its items with it.

#include "Core/GCollection.h"

template <class T>
class TGCollection : public GCollection {
public:
    TGCollection() = default;
    TGCollection(int limit, int delta, bool ownsItems) : GCollection(limit, delta, ownsItems) {}
    ~TGCollection() override { empty(); }

    T* at(int i) const { return static_cast<T*>(GCollection::at(i)); }
    T* operator[](int i) const { return at(i); }
    int index_of(const T* item) const { return GCollection::index_of(item); }
    void at_insert(int i, T* item) { GCollection::at_insert(i, item); }
    void at_put(int i, T* item) { GCollection::at_put(i, item); }
    int insert(T* item) { return GCollection::insert(item); }
    int remove(T* item) { return GCollection::remove(item); }
    int free(T* item) { return GCollection::free(item); }

    void freeItem(void* item) override { delete static_cast<T*>(item); }
};
