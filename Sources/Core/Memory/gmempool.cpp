#include "Memory/gmempool.h"

#include "Threads/GCriticalSection.h"
#include "Threads/ThreadPresence.h"
#include "win/VirtualMemory.h"

#include <cstdint>
#include <cstdlib>

// Under AddressSanitizer free blocks are poisoned, so a use after gmempool_free is reported like one after free.
#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/asan_interface.h>
#define POOL_POISON(p, n) ASAN_POISON_MEMORY_REGION(p, n)
#define POOL_UNPOISON(p, n) ASAN_UNPOISON_MEMORY_REGION(p, n)
#else
#define POOL_POISON(p, n) ((void)(p), (void)(n))
#define POOL_UNPOISON(p, n) ((void)(p), (void)(n))
#endif

namespace {

constexpr std::size_t RangeSize = 0x20000000; // 512 MB
constexpr std::size_t RegionSize = 0x1000000; // 16 MB, one per size class
constexpr std::size_t ClassCount = RangeSize / RegionSize;
constexpr std::size_t ClassStep = 8; // class k serves (k + 1) * 8 bytes
constexpr std::size_t Threshold = ClassCount * ClassStep;
constexpr std::size_t CommitStep = 0x10000; // 64 KB

// The first word of a free block holds the address of the next one.
struct FreeBlock {
    FreeBlock* next;
};

class Pool {
public:
    Pool() : m_range(static_cast<char*>(VirtualReserve(RangeSize))) {
        for (std::size_t k = 0; k < ClassCount; ++k) {
            m_heads[k] = m_range != nullptr ? reinterpret_cast<FreeBlock*>(m_range + k * RegionSize) : nullptr;
            m_committed[k] = m_heads[k];
        }
    }

    bool owns(const void* block) const {
        const auto address = reinterpret_cast<std::uintptr_t>(block);
        const auto start = reinterpret_cast<std::uintptr_t>(m_range);
        return m_range != nullptr && address >= start && address < start + RangeSize;
    }

    void* take(std::size_t k) {
        GSingleLock guard(m_lock);
        FreeBlock* block = m_heads[k];
        if (block != nullptr && block == m_committed[k] && !commitStep(k))
            return nullptr;
        if (block == nullptr)
            return nullptr; // the class's region is used up
        POOL_UNPOISON(block, blockSize(k));
        m_heads[k] = block->next;
        return block;
    }

    void give(void* block) {
        const std::size_t k = (static_cast<char*>(block) - m_range) / RegionSize;
        GSingleLock guard(m_lock);
        auto* freed = static_cast<FreeBlock*>(block);
        freed->next = m_heads[k];
        POOL_POISON(freed, blockSize(k));
        m_heads[k] = freed;
    }

private:
    static std::size_t blockSize(std::size_t k) { return (k + 1) * ClassStep; }

    // Commits the 64 KB step at the class's committed end and threads it into blocks. The last block leads to
    // the next step, or to null when that lies at or beyond the end of the region.
    bool commitStep(std::size_t k) {
        char* step = reinterpret_cast<char*>(m_committed[k]);
        if (!VirtualCommit(step, CommitStep))
            return false;
        const std::size_t size = blockSize(k);
        const std::size_t count = CommitStep / size;
        char* next = step + CommitStep;
        char* regionEnd = m_range + (k + 1) * RegionSize;
        for (std::size_t i = 0; i < count; ++i) {
            auto* block = reinterpret_cast<FreeBlock*>(step + i * size);
            block->next = i + 1 < count      ? reinterpret_cast<FreeBlock*>(step + (i + 1) * size)
                          : next < regionEnd ? reinterpret_cast<FreeBlock*>(next)
                                             : nullptr;
            POOL_POISON(block, size);
        }
        m_committed[k] = reinterpret_cast<FreeBlock*>(next);
        return true;
    }

    GCriticalSection m_lock;
    char* m_range;
    FreeBlock* m_heads[ClassCount];
    FreeBlock* m_committed[ClassCount]; // the first uncommitted step of each region
};

// Never destroyed: blocks may be returned by objects that die late in the process exit.
Pool& pool() {
    static Pool* instance = new Pool;
    return *instance;
}

} // namespace

void* gmempool_alloc(void*, std::size_t size) {
    ThreadPresence::NoteCurrentThread();
    if (size > Threshold)
        return std::malloc(size);
    const std::size_t k = size == 0 ? 0 : (size - 1) / ClassStep;
    return pool().take(k);
}

void gmempool_free(void*, void* block) {
    if (block == nullptr)
        return;
    if (pool().owns(block))
        pool().give(block);
    else
        std::free(block);
}

std::size_t gmempool_get_threshold() {
    return Threshold;
}

bool gmempool_set_threshold(std::size_t n) {
    return n <= Threshold;
}
