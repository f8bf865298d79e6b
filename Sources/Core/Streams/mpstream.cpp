#include "Streams/mpstream.h"

#include "IO/GBufferedIO.h"

mpbase::mpbase() : m_memory(new GMemoryIO) {
    setIO(new GBufferedIO(m_memory, 4096));
}

mpbase::mpbase(void* buffer, std::size_t size, GIO::IOOpenMode mode) : mpbase() {
    m_memory->open(buffer, size, mode);
}

const void* mpbase::data() {
    flush();
    return m_memory->buffer();
}

std::size_t mpbase::length() {
    flush();
    return m_memory->length();
}

void* mpbase::detach() {
    flush();
    return m_memory->detach();
}
