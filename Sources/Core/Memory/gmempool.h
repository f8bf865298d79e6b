#pragma once
// The small-block memory pool: blocks of up to 256 bytes in 32 size classes of 8 bytes, taken and returned in
// constant time under one lock, without a heap call. Larger blocks come from the general heap. The pool is safe
// for any number of threads.

#include <cstddef>

void* gmempool_alloc(void* handle, std::size_t size);
// Returns a block from gmempool_alloc (pool or heap); null is ignored.
void gmempool_free(void* handle, void* block);
// The largest size served by the pool: always 256.
std::size_t gmempool_get_threshold();
// The threshold cannot change: true when n is within it.
bool gmempool_set_threshold(std::size_t n);
