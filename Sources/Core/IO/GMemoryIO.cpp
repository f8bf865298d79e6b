#include "IO/GMemoryIO.h"

#include "Classes/GClassBoilerplate.h"
#include "IO/GIOException.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <limits>

G_IMPLEMENT_CAST(GMemoryIO, GIO)

GMemoryIO::~GMemoryIO() {
    close();
}

void GMemoryIO::open(std::size_t size) {
    close();
    m_buffer = size > 0 ? static_cast<char*>(realloc_buffer(nullptr, size)) : nullptr;
    m_position = 0;
    m_length = 0;
    m_capacity = m_buffer != nullptr ? size : 0;
    m_expandable = true;
    m_mode = ReadWrite;
}

void GMemoryIO::open(void* buffer, std::size_t size, IOOpenMode mode) {
    close();
    m_buffer = static_cast<char*>(buffer);
    m_position = 0;
    m_length = size;
    m_capacity = size;
    m_expandable = false;
    m_mode = mode;
}

void GMemoryIO::close() {
    if (m_expandable && m_buffer != nullptr)
        free_buffer(m_buffer);
    m_buffer = nullptr;
    m_position = m_length = m_capacity = 0;
}

void* GMemoryIO::detach() {
    void* buffer = m_buffer;
    m_buffer = nullptr;
    m_position = m_length = m_capacity = 0;
    return buffer;
}

long GMemoryIO::gseek(long offset, IOSeekDirection direction) {
    const long base = direction == FromBegin ? 0 : direction == FromCurrent ? gtell() : static_cast<long>(m_length);
    if ((offset > 0 && base > std::numeric_limits<long>::max() - offset))
        return -1;
    const long target = base + offset;
    if (target < 0 || target > static_cast<long>(m_length))
        return -1;
    m_position = static_cast<std::size_t>(target);
    return target;
}

std::size_t GMemoryIO::gwrite(const void* data, std::size_t count) {
    if (!canWrite(m_mode))
        throw new GWriteToReadOnlyException();
    const bool fits = count <= m_capacity - m_position;
    if (!fits && m_expandable && count <= std::numeric_limits<std::size_t>::max() / 2 - m_position) {
        const std::size_t capacity = 2 * (m_position + count);
        if (void* grown = realloc_buffer(m_buffer, capacity)) {
            m_buffer = static_cast<char*>(grown);
            m_capacity = capacity;
        }
    }
    count = std::min(count, m_capacity - m_position);
    if (count > 0)
        std::memcpy(m_buffer + m_position, data, count);
    m_position += count;
    m_length = std::max(m_length, m_position);
    return count;
}

std::size_t GMemoryIO::gread(void* buffer, std::size_t count) {
    if (!canRead(m_mode))
        throw new GReadFromWriteOnlyException();
    count = std::min(count, m_length - m_position);
    if (count > 0)
        std::memcpy(buffer, m_buffer + m_position, count);
    m_position += count;
    return count;
}

void* GMemoryIO::realloc_buffer(void* old, std::size_t size) {
    return std::realloc(old, size);
}

void GMemoryIO::free_buffer(void* p) {
    std::free(p);
}
