#pragma once
// A light sorted array of untyped pointers, searched by the key and comparison its subclass supplies. It frees
// only its array; items are released through free_item, which does nothing here.

class GVoidPtrSortedArrayPrim {
public:
    explicit GVoidPtrSortedArrayPrim(int delta = 16);
    virtual ~GVoidPtrSortedArrayPrim();
    GVoidPtrSortedArrayPrim(const GVoidPtrSortedArrayPrim&) = delete;
    GVoidPtrSortedArrayPrim& operator=(const GVoidPtrSortedArrayPrim&) = delete;

    int getCount() const { return m_count; }
    int getLimit() const { return m_limit; }
    // The item at i; 0 <= i < count is the caller's to respect.
    void* at(int i) const { return m_items[i]; }
    // Binary search; true when an equal key exists. `index` receives its position or the insertion position.
    bool search(const void* key, int& index) const;
    // Inserts at i (0 <= i <= count is the caller's to respect), growing by delta when full.
    void at_insert(int i, void* item);
    // free_item on the item at i, then closes the gap.
    void at_remove(int i);
    // free_item on every item from the last to the first.
    void empty();
    // Takes the other's pointers, growing the limit to the other's limit when smaller.
    void copy_items_from(const GVoidPtrSortedArrayPrim& other);

protected:
    virtual void free_item(void* item);
    virtual const void* key_of(const void* item) const = 0;
    virtual int compare(const void* key1, const void* key2) const = 0;

private:
    void setLimit(int limit);

    void** m_items = nullptr;
    int m_count = 0;
    int m_limit = 0;
    int m_delta;
};
