#include "IO/GAbstractBufferedIO.h"

#include "Classes/GClassBoilerplate.h"
#include "IO/GIOException.h"

#include <algorithm>
#include <cstring>

G_IMPLEMENT_CAST(GAbstractBufferedIO, GIO)

GAbstractBufferedIO::~GAbstractBufferedIO() {
    flushQuietly();
    delete m_io;
}

void GAbstractBufferedIO::flushQuietly() noexcept {
    try {
        flush();
    } catch (CException* e) {
        CExceptionPtr<> held(e);
    }
}

void GAbstractBufferedIO::setIO(GIO* io) {
    flush();
    delete m_io;
    m_io = io;
}

GIO::IOOpenMode GAbstractBufferedIO::open_mode() const {
    return m_io != nullptr ? m_io->open_mode() : ReadOnly;
}

void GAbstractBufferedIO::setState(SBState state) {
    m_state = state;
    if (state == Idle) {
        setWPointers(nullptr, nullptr, nullptr);
        setRPointers(nullptr, nullptr, nullptr);
    }
}

void GAbstractBufferedIO::setWPointers(char* begin, char* current, char* end) {
    m_wBegin = begin;
    m_wCurrent = current;
    m_wEnd = end;
}

void GAbstractBufferedIO::setRPointers(char* begin, char* current, char* end) {
    m_rBegin = begin;
    m_rCurrent = current;
    m_rEnd = end;
}

void GAbstractBufferedIO::startWrite() {
    flush();
    if (!canWrite(open_mode()))
        throw new GWriteToReadOnlyException();
    m_state = Writing;
}

void GAbstractBufferedIO::startRead() {
    flush();
    if (!canRead(open_mode()))
        throw new GReadFromWriteOnlyException();
    m_state = Reading;
}

void GAbstractBufferedIO::stopWrite() {
    setState(Idle);
}

void GAbstractBufferedIO::stopRead() {
    setState(Idle);
}

void GAbstractBufferedIO::flush() {
    if (m_state == Reading)
        stopRead();
    else if (m_state == Writing)
        stopWrite();
    if (m_io != nullptr)
        m_io->flush();
}

long GAbstractBufferedIO::gseek(long offset, IOSeekDirection direction) {
    flush();
    return m_io != nullptr ? m_io->gseek(offset, direction) : -1;
}

std::size_t GAbstractBufferedIO::gwrite(const void* data, std::size_t count) {
    if (m_state != Writing)
        startWrite();
    const char* source = static_cast<const char*>(data);
    std::size_t written = 0;
    while (written < count) {
        if (m_wCurrent == m_wEnd) {
            writeBuffer();
            if (m_wCurrent == m_wEnd)
                break; // the device takes no more
        }
        const std::size_t chunk = std::min(count - written, static_cast<std::size_t>(m_wEnd - m_wCurrent));
        std::memcpy(m_wCurrent, source + written, chunk);
        m_wCurrent += chunk;
        written += chunk;
    }
    return written;
}

std::size_t GAbstractBufferedIO::gread(void* buffer, std::size_t count) {
    if (m_state != Reading)
        startRead();
    char* target = static_cast<char*>(buffer);
    std::size_t read = 0;
    while (read < count) {
        if (m_rCurrent == m_rEnd) {
            readBuffer();
            if (m_rCurrent == m_rEnd)
                break; // the end of the data
        }
        const std::size_t chunk = std::min(count - read, static_cast<std::size_t>(m_rEnd - m_rCurrent));
        std::memcpy(target + read, m_rCurrent, chunk);
        m_rCurrent += chunk;
        read += chunk;
    }
    return read;
}

int GAbstractBufferedIO::writeAdditionalByte(BYTE b) {
    if (m_state != Writing)
        startWrite();
    if (m_wCurrent == m_wEnd)
        writeBuffer();
    if (m_wCurrent == m_wEnd)
        return -1;
    *m_wCurrent++ = static_cast<char>(b);
    return b;
}

int GAbstractBufferedIO::readAdditionalByte() {
    if (m_state != Reading)
        startRead();
    if (m_rCurrent == m_rEnd)
        readBuffer();
    if (m_rCurrent == m_rEnd)
        return -1;
    return static_cast<BYTE>(*m_rCurrent++);
}

// Values go straight into the buffer when they fit; otherwise byte by byte through the slow path.
template <class T>
void GAbstractBufferedIO::writeValue(T value) {
    if (m_state == Writing && m_wEnd - m_wCurrent >= static_cast<std::ptrdiff_t>(sizeof(T))) {
        for (std::size_t i = 0; i < sizeof(T); ++i)
            m_wCurrent[i] = static_cast<char>(value >> (8 * i));
        m_wCurrent += sizeof(T);
        return;
    }
    for (std::size_t i = 0; i < sizeof(T); ++i)
        writeAdditionalByte(static_cast<BYTE>(value >> (8 * i)));
}

template <class T>
T GAbstractBufferedIO::readValue() {
    T value = 0;
    if (m_state == Reading && m_rEnd - m_rCurrent >= static_cast<std::ptrdiff_t>(sizeof(T))) {
        for (std::size_t i = 0; i < sizeof(T); ++i)
            value |= static_cast<T>(static_cast<T>(static_cast<BYTE>(m_rCurrent[i])) << (8 * i));
        m_rCurrent += sizeof(T);
        return value;
    }
    for (std::size_t i = 0; i < sizeof(T); ++i)
        value |= static_cast<T>(static_cast<T>(readAdditionalByte() & 0xFF) << (8 * i));
    return value;
}

void GAbstractBufferedIO::writeByte(BYTE b) {
    writeValue(b);
}

void GAbstractBufferedIO::writeWord(WORD w) {
    writeValue(w);
}

void GAbstractBufferedIO::writeDWord(DWORD d) {
    writeValue(d);
}

int GAbstractBufferedIO::readByte() {
    if (m_state == Reading && m_rCurrent != m_rEnd)
        return static_cast<BYTE>(*m_rCurrent++);
    return readAdditionalByte();
}

WORD GAbstractBufferedIO::readWord() {
    return readValue<WORD>();
}

DWORD GAbstractBufferedIO::readDWord() {
    return readValue<DWORD>();
}
