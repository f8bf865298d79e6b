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

void GRegistryCache::set(const void* data, DWORD size) {
    if (data == nullptr || size == 0) {
        allocateBuffer(0);
        return;
    }
    std::memmove(allocateBuffer(size), data, size);
}
