#include "Collections/GCollection.h"

#include "Errors/GLibraryExceptions.h"
#include "Streams/InvalidPStream_Exception.h"
#include "Streams/ipstream.h"
#include "Streams/opstream.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <new>
#include <optional>
#include <vector>

G_IMPLEMENT_CLASS(GCollection, GStreamable)

namespace {

void moveSlots(void** items, int to, int from, int n) {
    std::memmove(items + to, items + from, sizeof(void*) * static_cast<std::size_t>(n));
}

} // namespace

GCollection::GCollection() = default;

GCollection::GCollection(int limit, int delta, bool ownsItems) : m_ownsItems(ownsItems), m_delta(std::max(delta, 1)) {
    setLimit(limit);
}

GCollection::~GCollection() {
    std::free(m_items);
}

void GCollection::setDelta(int delta) {
    if (delta > 0)
        m_delta = delta;
}

void GCollection::check_index(int i) const {
    if (i < 0 || i >= m_count)
        throw new GCollection_IndexOutOfRange_Exception(i, 0, m_count - 1);
}

// Room for n items at i: the limit grows to the smallest multiple of delta that holds max(i, count) + n, and an
// index beyond the count extends the count with null slots.
void GCollection::makeRoom(int i, int n) {
    if (i < 0)
        throw new GCollection_IndexOutOfRange_Exception(i, 0, m_count - 1);
    const long long needed = static_cast<long long>(std::max(i, m_count)) + n;
    if (needed > m_limit) {
        const long long limit = (needed + m_delta - 1) / m_delta * m_delta;
        if (limit > 0x7FFFFFFF)
            throw std::bad_alloc();
        setLimit(static_cast<int>(limit));
    }
    if (i > m_count) {
        std::fill(m_items + m_count, m_items + i, nullptr);
        m_count = i;
    }
}

// The null slots come from calloc, whose large blocks the system maps in as they are first touched: a large limit
// costs address space, and memory only as items fill it.
void GCollection::setLimit(int n) {
    const int limit = std::max(n, m_count);
    if (limit == m_limit)
        return;
    void** items = nullptr;
    if (limit > 0 &&
        (items = static_cast<void**>(std::calloc(static_cast<std::size_t>(limit), sizeof(void*)))) == nullptr)
        throw std::bad_alloc();
    std::copy_n(m_items, m_count, items);
    std::free(m_items);
    m_items = items;
    m_limit = limit;
}

int GCollection::v_index_of(const void* item) const {
    for (int i = m_count - 1; i >= 0; --i)
        if (m_items[i] == item)
            return i;
    return -1;
}

void GCollection::v_at_insert(int i, void* item) {
    makeRoom(i, 1);
    moveSlots(m_items, i + 1, i, m_count - i);
    m_items[i] = item;
    ++m_count;
}

void GCollection::v_at_insert_range(int i, const GCollection& other, int from, int n) {
    if (i < 0)
        throw new GCollection_IndexOutOfRange_Exception(i, 0, m_count - 1);
    if (from < 0 || from > other.m_count)
        return;
    n = std::min(n, other.m_count - from);
    if (n <= 0)
        return;
    // Copied first: the source may be this collection, whose slots are about to move.
    const std::vector<void*> inserted(other.m_items + from, other.m_items + from + n);
    makeRoom(i, n);
    moveSlots(m_items, i + n, i, m_count - i);
    std::copy(inserted.begin(), inserted.end(), m_items + i);
    m_count += n;
}

void GCollection::v_at_put(int i, void* item) {
    check_index(i);
    m_items[i] = item;
}

int GCollection::v_insert(void* item) {
    const int index = m_count;
    at_insert(index, item);
    return index;
}

void GCollection::v_at_remove(int i) {
    if (i < 0 || i >= m_count)
        return;
    --m_count;
    moveSlots(m_items, i, i + 1, m_count - i);
    m_items[m_count] = nullptr;
}

void GCollection::v_at_remove_range(int i, int n) {
    if (i < 0)
        return;
    n = std::min(n, m_count - i);
    if (n <= 0)
        return;
    moveSlots(m_items, i, i + n, m_count - i - n);
    std::fill(m_items + m_count - n, m_items + m_count, nullptr);
    m_count -= n;
}

int GCollection::v_remove(void* item) {
    const int index = index_of(item);
    if (index >= 0)
        at_remove(index);
    return index;
}

int GCollection::free(void* item) {
    const int index = remove(item);
    if (index >= 0)
        freeItem(item);
    return index;
}

void GCollection::at_free(int i) {
    check_index(i);
    void* item = m_items[i];
    at_remove(i);
    freeItem(item);
}

void GCollection::remove_all() {
    std::fill(m_items, m_items + m_count, nullptr);
    m_count = 0;
}

void GCollection::free_all() {
    for (int i = m_count - 1; i >= 0; --i)
        freeItem(m_items[i]);
    remove_all();
}

void GCollection::empty() {
    if (m_ownsItems)
        free_all();
    else
        remove_all();
}

void GCollection::pack() {
    void** end = std::remove(m_items, m_items + m_count, nullptr);
    std::fill(end, m_items + m_count, nullptr);
    m_count = static_cast<int>(end - m_items);
}

void GCollection::freeItem(void* item) {
    ::operator delete(item);
}

// More items than any collection of the system holds: a stream that claims more is malformed.
constexpr DWORD MaxStreamedItems = 1 << 24;
// Free slots beyond the items that a stream may ask for (the stored limit is honoured up to this), the largest
// growth step it may set, and the number of items that take no bytes at all (a class that streams nothing of its
// items): so what a stream allocates follows what its data holds.
constexpr DWORD MaxStreamedSlack = 4096;
constexpr DWORD MaxStreamedDelta = 4096;
constexpr DWORD MaxEmptyItems = 4096;

void GCollection::write(opstream& stream) const {
    GStreamable::write(stream);
    stream.compat_writeDWord(static_cast<DWORD>(m_count));
    stream.compat_writeDWord(static_cast<DWORD>(m_limit));
    stream.compat_writeDWord(static_cast<DWORD>(m_delta));
    stream.writeByte(m_ownsItems ? 1 : 0);
    for (int i = 0; i < m_count; ++i)
        write_item(m_items[i], stream);
}

// The items are read before the array is made, so a malformed stream fails before anything large is allocated.
// An owning collection claims its items from the stream, which refuses any that already has an owner. Whatever
// happens, the items read so far end up in the collection, so that it releases what it owns and nothing else does.
void GCollection::read(ipstream& stream) {
    GStreamable::read(stream);
    empty();
    const long position = static_cast<long>(stream.countOfReadBytes());
    const DWORD count = stream.compat_readDWord();
    const DWORD limit = stream.compat_readDWord();
    const DWORD delta = stream.compat_readDWord();
    m_ownsItems = ownsItemsRead(stream.readByte() != 0);
    if (limit < count || count > MaxStreamedItems)
        RaiseStreamError("Invalid collection size: count %u, limit %u. Position=%li", count, limit, position);
    m_delta = static_cast<int>(std::clamp<DWORD>(delta, 1, MaxStreamedDelta));
    std::vector<void*> items;
    try {
        std::optional<ipstream::OwningScope> owning;
        if (m_ownsItems)
            owning.emplace(stream);
        DWORD emptyItems = 0;
        for (DWORD i = 0; i < count; ++i) {
            const unsigned long before = stream.countOfReadBytes();
            items.push_back(read_item(stream));
            if (stream.countOfReadBytes() == before && ++emptyItems > MaxEmptyItems)
                RaiseStreamError("Invalid collection size: count %u of items that take no bytes. Position=%li", count,
                                 position);
        }
    } catch (...) {
        adopt(items, items.size());
        throw;
    }
    adopt(items, std::min(limit, count + MaxStreamedSlack));
}

// Takes `items` as its whole content, with room for `limit` of them.
void GCollection::adopt(const std::vector<void*>& items, std::size_t limit) {
    setLimit(static_cast<int>(std::max(limit, items.size())));
    std::copy(items.begin(), items.end(), m_items);
    m_count = static_cast<int>(items.size());
}

void GCollection::write_item(void*, opstream&) const {}

void* GCollection::read_item(ipstream&) {
    return nullptr;
}
