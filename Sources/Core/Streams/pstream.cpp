#include "Streams/pstream.h"

pstream::~pstream() {
    delete m_io;
}

void pstream::setIO(GAbstractBufferedIO* io) {
    if (io == m_io)
        return;
    delete m_io;
    m_io = io;
}

void pstream::flush() {
    if (m_io != nullptr)
        m_io->flush();
}

pstream::EndianType pstream::endian(EndianType type) {
    const EndianType previous = m_endian;
    m_endian = type;
    return previous;
}
