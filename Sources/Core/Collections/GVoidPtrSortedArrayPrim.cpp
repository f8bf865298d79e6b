#include "Collections/GVoidPtrSortedArrayPrim.h"

#include "Collections/BinarySearch.h"

#include <algorithm>
#include <cstring>

GVoidPtrSortedArrayPrim::GVoidPtrSortedArrayPrim(int delta) : m_delta(std::max(delta, 1)) {}

GVoidPtrSortedArrayPrim::~GVoidPtrSortedArrayPrim() {
    delete[] m_items;
}

bool GVoidPtrSortedArrayPrim::search(const void* key, int& index) const {
    return GBinarySearch(
        m_count, false, [&](int i) { return compare(key_of(m_items[i]), key); }, index);
}

void GVoidPtrSortedArrayPrim::setLimit(int limit) {
    void** items = new void*[static_cast<std::size_t>(limit)]();
    std::copy_n(m_items, m_count, items);
    delete[] m_items;
    m_items = items;
    m_limit = limit;
}

void GVoidPtrSortedArrayPrim::at_insert(int i, void* item) {
    if (m_count == m_limit)
        setLimit(m_limit + m_delta);
    std::memmove(m_items + i + 1, m_items + i, sizeof(void*) * static_cast<std::size_t>(m_count - i));
    m_items[i] = item;
    ++m_count;
}

void GVoidPtrSortedArrayPrim::at_remove(int i) {
    free_item(m_items[i]);
    --m_count;
    std::memmove(m_items + i, m_items + i + 1, sizeof(void*) * static_cast<std::size_t>(m_count - i));
    m_items[m_count] = nullptr;
}

void GVoidPtrSortedArrayPrim::empty() {
    for (int i = m_count - 1; i >= 0; --i)
        free_item(m_items[i]);
    m_count = 0;
}

void GVoidPtrSortedArrayPrim::copy_items_from(const GVoidPtrSortedArrayPrim& other) {
    if (m_limit < other.m_limit)
        setLimit(other.m_limit);
    std::copy_n(other.m_items, other.m_count, m_items);
    m_count = other.m_count;
}

void GVoidPtrSortedArrayPrim::free_item(void*) {}
