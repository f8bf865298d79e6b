#pragma once
// Byte reversal of multi-byte values.

#include <cstdint>

inline std::uint16_t ByteSwap(std::uint16_t v) {
    return __builtin_bswap16(v);
}
inline std::uint32_t ByteSwap(std::uint32_t v) {
    return __builtin_bswap32(v);
}
inline std::uint64_t ByteSwap(std::uint64_t v) {
    return __builtin_bswap64(v);
}
