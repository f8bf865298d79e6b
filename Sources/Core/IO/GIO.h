#pragma once
// GIO: the abstract byte device through which all persistent data passes (files, memory blocks, buffers over
// them, compressed streams).

#include <cstddef>
#include <typeinfo>

class GIO {
public:
    // A bit set: bit 0 readable, bit 1 writable.
    enum IOOpenMode { ReadOnly = 1, WriteOnly = 2, ReadWrite = 3 };
    enum IOSeekDirection { FromBegin = 0, FromCurrent = 1, FromEnd = 2 };

    GIO() = default;
    virtual ~GIO();
    GIO(const GIO&) = delete;
    GIO& operator=(const GIO&) = delete;

    virtual IOOpenMode open_mode() const = 0;
    // Moves the position; returns the new one, or -1 where the device says so.
    virtual long gseek(long offset, IOSeekDirection direction) = 0;
    virtual long gtell();
    // Writes what the device takes and returns that count.
    virtual std::size_t gwrite(const void* data, std::size_t count) = 0;
    // Returns the bytes read, 0 at the end.
    virtual std::size_t gread(void* buffer, std::size_t count) = 0;
    virtual void flush();
    // This device's address as `type` when that is its class or any base, else null.
    virtual void* cast_to_(const std::type_info& type) const;

    static bool canRead(IOOpenMode mode) { return (mode & ReadOnly) != 0; }
    static bool canWrite(IOOpenMode mode) { return (mode & WriteOnly) != 0; }
};
