#pragma once
// Raw memory routines.

#include "win/Win32Types.h"

#include <cstddef>

// The standard CRC-32 (zlib's) of `length` bytes, continuing from `crc` (0 to start).
DWORD g_mem_CRC32(const void* data, std::size_t length, DWORD crc);
// Fills `count` 16-bit words with `value`.
void g_mem_set_2(void* dst, WORD value, std::size_t count);
// The first 16-bit / 32-bit element equal to `value` among `count`, or null.
const void* g_mem_find_equal_2(const void* p, WORD value, std::size_t count);
const void* g_mem_find_equal_4(const void* p, DWORD value, std::size_t count);
// The first 8/16/32-bit element different from `value` among `count`, or null.
const void* g_mem_find_not_equal_1(const void* p, BYTE value, std::size_t count);
const void* g_mem_find_not_equal_2(const void* p, WORD value, std::size_t count);
const void* g_mem_find_not_equal_4(const void* p, DWORD value, std::size_t count);
// Shifts a run of bytes right by `shift` bits (0 to 8) into dst, which spans count + 1 bytes: each source byte
// s at i ORs the 16-bit value (s << 8) >> shift into dst[i] (high byte) and dst[i + 1] (low byte).
void g_mem_right_shift(BYTE* dst, const BYTE* src, unsigned shift, std::size_t count);
// dst[n - 1 - i] = src[i].
void g_mem_reversed_copy(void* dst, const void* src, std::size_t n);
// Reverses n bytes in place.
void g_mem_reverse(void* p, std::size_t n);
