#pragma once
// The typing shared by TGCollection and TGSortedCollection: a collection class `Base` whose items are T
// pointers. Owned items are destroyed as T (through the virtual destructor), and the collection empties itself
// when destroyed, so an owning collection takes its items with it.

template <class T, class Base>
class TGTypedCollection : public Base {
public:
    TGTypedCollection() = default;
    TGTypedCollection(int limit, int delta, bool ownsItems) : Base(limit, delta, ownsItems) {}
    ~TGTypedCollection() override { Base::empty(); }

    T* at(int i) const { return static_cast<T*>(Base::at(i)); }
    T* operator[](int i) const { return at(i); }
    int index_of(const T* item) const { return Base::index_of(item); }
    void at_insert(int i, T* item) { Base::at_insert(i, item); }
    void at_put(int i, T* item) { Base::at_put(i, item); }
    int insert(T* item) { return Base::insert(item); }
    int remove(T* item) { return Base::remove(item); }
    int free(T* item) { return Base::free(item); }

    void freeItem(void* item) override { delete static_cast<T*>(item); }
};
