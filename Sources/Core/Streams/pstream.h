#pragma once
// pstream: the common part of the persistent object streams, shared by readers and writers as a virtual base:
// the buffered device (owned) and the byte order of multi-byte values.

#include "IO/GAbstractBufferedIO.h"

class pstream {
public:
    // LittleEndian is the native order (no swapping); in BigEndian multi-byte values are byte-reversed.
    enum EndianType { LittleEndian = 0, BigEndian = 1 };

    pstream() = default;
    explicit pstream(GAbstractBufferedIO* io) : m_io(io) {}
    virtual ~pstream();
    pstream(const pstream&) = delete;
    pstream& operator=(const pstream&) = delete;

    // Destroys a previous device and takes ownership of `io`.
    void setIO(GAbstractBufferedIO* io);
    GAbstractBufferedIO* getIO() const { return m_io; }
    void flush();
    EndianType endian() const { return m_endian; }
    // Sets the byte order; returns the previous one.
    EndianType endian(EndianType type);
    bool need_swap_bytes() const { return m_endian != LittleEndian; }

private:
    GAbstractBufferedIO* m_io = nullptr;
    EndianType m_endian = LittleEndian;
};

// Sets a byte order for its own lifetime and restores the previous one when it goes.
class PStreamEndianSwitcher {
public:
    PStreamEndianSwitcher(pstream& stream, pstream::EndianType type)
        : m_stream(stream), m_previous(stream.endian(type)) {}
    ~PStreamEndianSwitcher() { m_stream.endian(m_previous); }
    PStreamEndianSwitcher(const PStreamEndianSwitcher&) = delete;
    PStreamEndianSwitcher& operator=(const PStreamEndianSwitcher&) = delete;

private:
    pstream& m_stream;
    pstream::EndianType m_previous;
};
