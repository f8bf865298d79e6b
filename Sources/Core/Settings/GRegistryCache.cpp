#include "Settings/GRegistryCache.h"

#include <cstring>

GRegistryCache& GRegistryCache::operator=(const GRegistryCache& other) {
    if (&other != this)
        set(other.getBuffer(), other.getBufferSize());
    return *this;
}

void* GRegistryCache::allocateBuffer(DWORD size) {
    m_heap.reset(size > sizeof m_inline ? new BYTE[size] : nullptr);
    m_size = size;
    return getBuffer();
}

// The data may be this cache's own bytes (a text assigned from itself), so the old block goes only after the copy.
void GRegistryCache::set(const void* data, DWORD size) {
    if (data == nullptr || size == 0) {
        allocateBuffer(0);
        return;
    }
    std::unique_ptr<BYTE[]> heap(size > sizeof m_inline ? new BYTE[size] : nullptr);
    std::memmove(heap ? heap.get() : m_inline, data, size);
    m_heap = std::move(heap);
    m_size = size;
}
