#pragma once
// GMemoryIO: a device over a memory block, either its own (growable, freed by the device) or the caller's
// (fixed: never grown nor freed).

#include "IO/GIO.h"

class GMemoryIO : public GIO {
public:
    GMemoryIO() = default;
    ~GMemoryIO() override;

    // An own block of `size` bytes (none for 0), empty, read and write.
    void open(std::size_t size);
    // The caller's block holding `size` bytes of data, in the given mode.
    void open(void* buffer, std::size_t size, IOOpenMode mode);
    void close();
    // Hands the block to the caller (to be released with free) and forgets it.
    void* detach();

    std::size_t length() const { return m_length; }
    bool expandable() const { return m_expandable; }
    const void* buffer() const { return m_buffer; }

    IOOpenMode open_mode() const override { return m_mode; }
    // Targets outside 0 to length give -1 and leave the position.
    long gseek(long offset, IOSeekDirection direction) override;
    long gtell() override { return static_cast<long>(m_position); }
    // An own block grows to twice the needed size; a block that cannot grow takes what fits.
    std::size_t gwrite(const void* data, std::size_t count) override;
    std::size_t gread(void* buffer, std::size_t count) override;
    void* cast_to_(const std::type_info& type) const override;

protected:
    // The memory of an own block: C realloc and free here; subclasses may supply other memory (and then close
    // the device in their own destructor, since this one can no longer reach their free_buffer).
    virtual void* realloc_buffer(void* old, std::size_t size);
    virtual void free_buffer(void* p);

private:
    char* m_buffer = nullptr;
    std::size_t m_position = 0;
    std::size_t m_length = 0;
    std::size_t m_capacity = 0;
    bool m_expandable = true;
    IOOpenMode m_mode = ReadWrite;
};
