#include "Memory/gmem.h"

#include <algorithm>
#include <cstring>
#include <zlib.h>

namespace {

// Elements are read with memcpy, so the data need not be aligned.
template <class T>
T element(const void* p, std::size_t i) {
    T value;
    std::memcpy(&value, static_cast<const char*>(p) + i * sizeof(T), sizeof(T));
    return value;
}

template <class T, class Matches>
const void* findElement(const void* p, std::size_t count, Matches matches) {
    for (std::size_t i = 0; i < count; ++i)
        if (matches(element<T>(p, i)))
            return static_cast<const char*>(p) + i * sizeof(T);
    return nullptr;
}

} // namespace

DWORD g_mem_CRC32(const void* data, std::size_t length, DWORD crc) {
    return static_cast<DWORD>(crc32_z(crc, static_cast<const Bytef*>(data), length));
}

void g_mem_set_2(void* dst, WORD value, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i)
        std::memcpy(static_cast<char*>(dst) + i * sizeof value, &value, sizeof value);
}

const void* g_mem_find_equal_2(const void* p, WORD value, std::size_t count) {
    return findElement<WORD>(p, count, [value](WORD e) { return e == value; });
}

const void* g_mem_find_equal_4(const void* p, DWORD value, std::size_t count) {
    return findElement<DWORD>(p, count, [value](DWORD e) { return e == value; });
}

const void* g_mem_find_not_equal_1(const void* p, BYTE value, std::size_t count) {
    return findElement<BYTE>(p, count, [value](BYTE e) { return e != value; });
}

const void* g_mem_find_not_equal_2(const void* p, WORD value, std::size_t count) {
    return findElement<WORD>(p, count, [value](WORD e) { return e != value; });
}

const void* g_mem_find_not_equal_4(const void* p, DWORD value, std::size_t count) {
    return findElement<DWORD>(p, count, [value](DWORD e) { return e != value; });
}

void g_mem_right_shift(BYTE* dst, const BYTE* src, unsigned shift, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i) {
        const unsigned value = (unsigned{src[i]} << 8) >> shift;
        dst[i] |= static_cast<BYTE>(value >> 8);
        dst[i + 1] |= static_cast<BYTE>(value);
    }
}

void g_mem_reversed_copy(void* dst, const void* src, std::size_t n) {
    std::reverse_copy(static_cast<const BYTE*>(src), static_cast<const BYTE*>(src) + n, static_cast<BYTE*>(dst));
}

void g_mem_reverse(void* p, std::size_t n) {
    std::reverse(static_cast<BYTE*>(p), static_cast<BYTE*>(p) + n);
}
