#include "IO/GBufferedIO.h"

#include "Classes/GClassBoilerplate.h"

G_IMPLEMENT_CAST(GBufferedIO, GAbstractBufferedIO)

GBufferedIO::GBufferedIO(long size)
    : m_size(size > 0 ? size : 4), m_buffer(new char[static_cast<std::size_t>(m_size)]) {}

GBufferedIO::GBufferedIO(GIO* io, long size) : GBufferedIO(size) {
    setIO(io);
}

GBufferedIO::~GBufferedIO() {
    flushQuietly();
}

void GBufferedIO::startWrite() {
    GAbstractBufferedIO::startWrite();
    setWPointers(m_buffer.get(), m_buffer.get(), m_buffer.get() + m_size);
}

void GBufferedIO::writeBuffer() {
    char* begin = getWBegin();
    if (getWCurrent() > begin && getIO() != nullptr)
        getIO()->gwrite(begin, static_cast<std::size_t>(getWCurrent() - begin));
    setWPointers(m_buffer.get(), m_buffer.get(), m_buffer.get() + m_size);
}

void GBufferedIO::stopWrite() {
    writeBuffer();
    setState(Idle);
}

void GBufferedIO::startRead() {
    GAbstractBufferedIO::startRead();
    readBuffer();
}

void GBufferedIO::readBuffer() {
    const std::size_t count = getIO() != nullptr ? getIO()->gread(m_buffer.get(), static_cast<std::size_t>(m_size)) : 0;
    setRPointers(m_buffer.get(), m_buffer.get(), m_buffer.get() + count);
}

void GBufferedIO::stopRead() {
    const long unread = static_cast<long>(getREnd() - getRCurrent());
    if (unread > 0 && getIO() != nullptr)
        getIO()->gseek(-unread, FromCurrent);
    setState(Idle);
}
