#pragma once
// Object streams in memory: a 4096-byte buffer over a memory device, either a growable block of the stream's
// own or the caller's block.

#include "IO/GMemoryIO.h"
#include "Streams/iopstream.h"

class mpbase : public virtual pstream {
public:
    // An empty growable block.
    mpbase();
    // The caller's block of `size` bytes.
    mpbase(void* buffer, std::size_t size, GIO::IOOpenMode mode);

    // Each flushes first. `detach` hands an own block to the caller (released with free).
    const void* data();
    std::size_t length();
    void* detach();
    GMemoryIO* getMemoryIO() const { return m_memory; }

private:
    GMemoryIO* m_memory; // owned by the buffered device
};

class impstream : public mpbase, public ipstream {
public:
    impstream() = default;
    impstream(const void* buffer, std::size_t size) : mpbase(const_cast<void*>(buffer), size, GIO::ReadOnly) {}
};

class ompstream : public mpbase, public opstream {
public:
    ompstream() = default;
    ompstream(void* buffer, std::size_t size) : mpbase(buffer, size, GIO::WriteOnly) {}
};

class mpstream : public mpbase, public iopstream {
public:
    mpstream() = default;
    mpstream(void* buffer, std::size_t size, GIO::IOOpenMode mode = GIO::ReadWrite) : mpbase(buffer, size, mode) {}
};
