// The small-block pool against the general heap, and writing through a buffered device.

#include "IO/GBufferedIO.h"
#include "IO/GMemoryIO.h"
#include "Memory/gmempool.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <vector>

namespace {

// Takes and returns `count` blocks of one size, the way region run lists do.
void PoolBlocks(benchmark::State& state) {
    const auto count = static_cast<std::size_t>(state.range(0));
    std::vector<void*> blocks(count);
    for (auto _ : state) {
        for (void*& block : blocks)
            block = gmempool_alloc(nullptr, 48);
        for (void* block : blocks)
            gmempool_free(nullptr, block);
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

void HeapBlocks(benchmark::State& state) {
    const auto count = static_cast<std::size_t>(state.range(0));
    std::vector<void*> blocks(count);
    for (auto _ : state) {
        for (void*& block : blocks)
            block = std::malloc(48);
        for (void* block : blocks)
            std::free(block);
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

void BufferedDWords(benchmark::State& state) {
    for (auto _ : state) {
        GBufferedIO io(new GMemoryIO);
        for (DWORD i = 0; i < 1 << 16; ++i)
            io.writeDWord(i);
        io.flush();
    }
    state.SetBytesProcessed(state.iterations() * 4 * (1 << 16));
}

} // namespace

BENCHMARK(PoolBlocks)->Arg(1000)->Arg(100000);
BENCHMARK(HeapBlocks)->Arg(1000)->Arg(100000);
BENCHMARK(BufferedDWords);
