#pragma once
// Raw bytes of an image file read from an object stream, for the format readers: reads that report a short file
// instead of raising, and little-endian numbers taken from byte buffers whatever the stream's own byte order.

#include "Streams/ipstream.h"

#include <cstdint>
#include <cstring>
#include <vector>

class StreamBytes {
public:
    explicit StreamBytes(ipstream& stream) : m_stream(stream) {}

    // False when the data ends first.
    bool read(void* buffer, std::size_t n);
    bool skip(unsigned long long n);
    // What there is of n bytes: fewer at the end of the data.
    std::size_t readSome(void* buffer, std::size_t n);
    // Up to n bytes, fewer when the data ends first; what is allocated follows what arrives.
    std::vector<std::uint8_t> readUpTo(unsigned long long n);
    // Exactly n bytes, or false when the data ends first (what is allocated follows what arrives).
    bool readExactly(std::vector<std::uint8_t>& bytes, unsigned long long n);
    unsigned long consumed() const { return m_consumed; }
    // How many bytes follow, where the device can tell (files and memory blocks can, by seeking); -1 otherwise.
    long long remaining();

private:
    ipstream& m_stream;
    unsigned long m_consumed = 0;
};

inline std::uint16_t le16(const std::uint8_t* p) {
    return static_cast<std::uint16_t>(p[0] | p[1] << 8);
}

inline std::uint32_t le32(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
           static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

inline void putLe16(std::uint8_t* p, std::uint16_t v) {
    p[0] = static_cast<std::uint8_t>(v);
    p[1] = static_cast<std::uint8_t>(v >> 8);
}

inline void putLe32(std::uint8_t* p, std::uint32_t v) {
    for (int i = 0; i < 4; ++i)
        p[i] = static_cast<std::uint8_t>(v >> (8 * i));
}
