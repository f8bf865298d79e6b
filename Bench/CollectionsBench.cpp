// Sorted collections, class lookups by name and the index sorts against the standard library.

#include "Classes/GMetaClass.h"
#include "Collections/GSortedCollection.h"
#include "Collections/MSort.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <random>
#include <vector>

namespace {

std::vector<int> randomValues(std::size_t n) {
    std::mt19937 random(42);
    std::vector<int> values(n);
    for (int& v : values)
        v = static_cast<int>(random());
    return values;
}

void SortedCollectionInsert(benchmark::State& state) {
    const std::vector<int> values = randomValues(static_cast<std::size_t>(state.range(0)));
    for (auto _ : state) {
        GSortedCollection c(0, 64, false);
        for (int v : values)
            c.insert(reinterpret_cast<void*>(static_cast<std::uintptr_t>(static_cast<unsigned>(v))));
        benchmark::DoNotOptimize(c.getCount());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

void ClassFindByName(benchmark::State& state) {
    for (auto _ : state)
        benchmark::DoNotOptimize(GMetaClass::FindByName("GSortedCollection"));
}

int lessAt(long i, long j, void* context) {
    const auto& v = *static_cast<std::vector<int>*>(context);
    return v[static_cast<std::size_t>(i)] < v[static_cast<std::size_t>(j)];
}

void swapAt(long i, long j, void* context) {
    auto& v = *static_cast<std::vector<int>*>(context);
    std::swap(v[static_cast<std::size_t>(i)], v[static_cast<std::size_t>(j)]);
}

template <void (*Sort)(long, void*, MSort::LessWith, MSort::SwapWith)>
void IndexSort(benchmark::State& state) {
    const std::vector<int> values = randomValues(static_cast<std::size_t>(state.range(0)));
    for (auto _ : state) {
        std::vector<int> copy = values;
        Sort(static_cast<long>(copy.size()), &copy, lessAt, swapAt);
        benchmark::DoNotOptimize(copy.data());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

void StdSort(benchmark::State& state) {
    const std::vector<int> values = randomValues(static_cast<std::size_t>(state.range(0)));
    for (auto _ : state) {
        std::vector<int> copy = values;
        std::sort(copy.begin(), copy.end());
        benchmark::DoNotOptimize(copy.data());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

} // namespace

BENCHMARK(SortedCollectionInsert)->Arg(10000);
BENCHMARK(ClassFindByName);
BENCHMARK(IndexSort<MSort::QSort>)->Name("MSortQSort")->Arg(100000);
BENCHMARK(IndexSort<MSort::HSort>)->Name("MSortHSort")->Arg(100000);
BENCHMARK(StdSort)->Arg(100000);
