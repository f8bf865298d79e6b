#pragma once
// GRegistryCache: the bytes of a registry value held by a variable; up to four bytes inline, more on the heap.

#include "win/Win32Types.h"

#include <memory>

class GRegistryCache {
public:
    GRegistryCache() = default;
    GRegistryCache(const GRegistryCache& other) { set(other.getBuffer(), other.getBufferSize()); }
    GRegistryCache& operator=(const GRegistryCache& other);

    // Copies `size` bytes; null or 0 leaves an empty buffer.
    void set(const void* data, DWORD size);
    // Room for `size` bytes, their content not defined.
    void* allocateBuffer(DWORD size);
    const void* getBuffer() const { return m_size <= sizeof m_inline ? m_inline : m_heap.get(); }
    void* getBuffer() { return m_size <= sizeof m_inline ? m_inline : m_heap.get(); }
    DWORD getBufferSize() const { return m_size; }

private:
    BYTE m_inline[4] = {};
    std::unique_ptr<BYTE[]> m_heap;
    DWORD m_size = 0;
};
