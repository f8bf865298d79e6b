#pragma once
// GCollection: an ordered, growable array of untyped pointers, the base of every list of objects. When it owns
// its items, empty() destroys them (the typed collections also do so when they are destroyed); this base's own
// destructor frees only the array.

#include "Streams/GStreamable.h"

#include <vector>

class GCollection : public GStreamable {
    G_CLASS(GCollection)

    // Owns its items, limit 0, delta 4.
    GCollection();
    // A delta below 1 becomes 1.
    GCollection(int limit, int delta, bool ownsItems);
    ~GCollection() override;
    GCollection(const GCollection&) = delete;
    GCollection& operator=(const GCollection&) = delete;

    int getCount() const { return m_count; }
    int getLimit() const { return m_limit; }
    int getDelta() const { return m_delta; }
    void setDelta(int delta);
    bool ownsItems() const { return m_ownsItems; }
    void ownsItems(bool flag) { m_ownsItems = flag; }

    // The item at i; 0 <= i < count is the caller's to respect.
    void* at(int i) const { return m_items[i]; }
    int index_of(const void* item) const { return v_index_of(item); }
    // Inserting beyond the count first extends the count with null slots. A negative index is an error.
    void at_insert(int i, void* item) { v_at_insert(i, item); }
    void at_insert_range(int i, const GCollection& other, int from, int n) { v_at_insert_range(i, other, from, n); }
    void at_insert_collection(int i, const GCollection& other) { at_insert_range(i, other, 0, other.getCount()); }
    void at_put(int i, void* item) { v_at_put(i, item); }
    int insert(void* item) { return v_insert(item); }
    // Out-of-range removals are ignored; removed items are not destroyed.
    void at_remove(int i) { v_at_remove(i); }
    void at_remove_range(int i, int n) { v_at_remove_range(i, n); }
    int remove(void* item) { return v_remove(item); }
    // remove, then freeItem when the item was found; returns its index or -1.
    int free(void* item);
    void at_free(int i);
    void remove_all();
    void free_all();
    // free_all when the collection owns its items, else remove_all.
    void empty();
    void check_index(int i) const;

    // Drops the null slots, keeping the order; the limit stays.
    virtual void pack();
    // The limit becomes max(n, count).
    virtual void setLimit(int n);
    // Destroys one item. Here: frees its memory.
    virtual void freeItem(void* item);
    // Count, limit, delta and the owning flag, then every item through write_item. Reading empties the
    // collection first and rejects sizes that cannot be right.
    void read(ipstream& stream) override;
    void write(opstream& stream) const override;
    // Streaming of single items; here nothing is written and nothing is read.
    virtual void write_item(void* item, opstream& stream) const;
    virtual void* read_item(ipstream& stream);

protected:
    // Whether the collection owns what it reads, given the owning flag of its stream. A collection whose read_item
    // builds its items (not objects of the stream) owns them whatever the flag says: nobody else could.
    virtual bool ownsItemsRead(bool streamSays) const { return streamSays; }
    virtual int v_index_of(const void* item) const;
    virtual void v_at_insert(int i, void* item);
    virtual void v_at_insert_range(int i, const GCollection& other, int from, int n);
    virtual void v_at_put(int i, void* item);
    virtual int v_insert(void* item);
    virtual void v_at_remove(int i);
    virtual void v_at_remove_range(int i, int n);
    virtual int v_remove(void* item);

private:
    void makeRoom(int i, int n);
    void adopt(const std::vector<void*>& items, std::size_t limit);

    bool m_ownsItems = true;
    void** m_items = nullptr;
    int m_count = 0;
    int m_limit = 0;
    int m_delta = 4;
};
