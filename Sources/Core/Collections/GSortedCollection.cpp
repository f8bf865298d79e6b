#include "Collections/GSortedCollection.h"

#include "Collections/BinarySearch.h"
#include "Collections/MSort.h"
#include "Streams/ipstream.h"
#include "Streams/opstream.h"

#include <functional>

G_IMPLEMENT_CLASS(GSortedCollection, GCollection)

bool GSortedCollection::search(const void* key, int& index) const {
    return GBinarySearch(
        getCount(), m_duplicates, [&](int i) { return compare(keyOf(at(i)), key); }, index);
}

int GSortedCollection::v_insert(void* item) {
    int index = 0;
    if (search(keyOf(item), index) && !m_duplicates) {
        if (ownsItems())
            freeItem(item);
        return index;
    }
    at_insert(index, item);
    return index;
}

int GSortedCollection::v_index_of(const void* item) const {
    int index = 0;
    if (!search(keyOf(item), index))
        return -1;
    if (!m_duplicates)
        return index;
    for (; index < getCount(); ++index)
        if (at(index) == item)
            return index;
    return -1;
}

void GSortedCollection::resort() {
    MSort::HSort(
        getCount(), this,
        [](long i, long j, void* context) {
            const auto* c = static_cast<const GSortedCollection*>(context);
            return c->compare(c->keyOf(c->at(static_cast<int>(i))), c->keyOf(c->at(static_cast<int>(j)))) < 0 ? 1 : 0;
        },
        [](long i, long j, void* context) {
            auto* c = static_cast<GSortedCollection*>(context);
            void* first = c->at(static_cast<int>(i));
            c->at_put(static_cast<int>(i), c->at(static_cast<int>(j)));
            c->at_put(static_cast<int>(j), first);
        });
}

void GSortedCollection::write(opstream& stream) const {
    GCollection::write(stream);
    stream.writeByte(m_duplicates ? 1 : 0);
}

// Items are stored in the order they were written; they are not sorted again.
void GSortedCollection::read(ipstream& stream) {
    GCollection::read(stream);
    m_duplicates = stream.readByte() != 0;
}

const void* GSortedCollection::keyOf(const void* item) const {
    return item;
}

// Whole addresses are compared: their difference need not fit the result.
int GSortedCollection::compare(const void* key1, const void* key2) const {
    if (std::less<const void*>()(key1, key2))
        return -1;
    return std::less<const void*>()(key2, key1) ? 1 : 0;
}
