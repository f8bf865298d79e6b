#pragma once
// Reserved address space: a range is reserved without access, parts of it are committed (made readable and
// writable) later, and the whole range is released at once.

#include <cstddef>

// Null when the range cannot be reserved.
void* VirtualReserve(std::size_t size);
// False when the pages cannot be committed.
bool VirtualCommit(void* address, std::size_t size);
void VirtualRelease(void* address, std::size_t size);
