#include "win/VirtualMemory.h"

#include <sys/mman.h>

void* VirtualReserve(std::size_t size) {
    void* range = mmap(nullptr, size, PROT_NONE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
    return range == MAP_FAILED ? nullptr : range;
}

bool VirtualCommit(void* address, std::size_t size) {
    return mprotect(address, size, PROT_READ | PROT_WRITE) == 0;
}

void VirtualRelease(void* address, std::size_t size) {
    munmap(address, size);
}
