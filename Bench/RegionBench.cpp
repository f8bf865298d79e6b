// Region set operations on regions of 1,000 rectangles, point tests, and the bounding rectangle of a
// 4096 x 4096 mask.

#include "Regions/GIPLMask.h"
#include "Regions/GRegion.h"

#include <benchmark/benchmark.h>

#include <random>
#include <vector>

namespace {

// `count` rectangles with sides from `least` to `most` pixels scattered over 2000 x 2000.
std::vector<RECT> scatteredRects(int count, unsigned seed, int least, int most) {
    std::mt19937 random(seed);
    std::vector<RECT> rects;
    for (int i = 0; i < count; ++i) {
        const int x = static_cast<int>(random() % 2000), y = static_cast<int>(random() % 2000);
        const int w = least + static_cast<int>(random() % static_cast<unsigned>(most - least + 1));
        const int h = least + static_cast<int>(random() % static_cast<unsigned>(most - least + 1));
        rects.push_back({x, y, x + w, y + h});
    }
    return rects;
}

GRegion scattered(int count, unsigned seed) {
    return GRegion::united(scatteredRects(count, seed, 5, 60));
}

// 1,000 squares of 40 pixels.
std::vector<RECT> squares() {
    return scatteredRects(1000, 3, 40, 40);
}

void countShape(benchmark::State& state, const GRegion& a) {
    state.counters["rects"] = a.rectangleCount();
}

void RegionUnion(benchmark::State& state) {
    const GRegion a = scattered(1000, 1), b = scattered(1000, 2);
    for (auto _ : state)
        benchmark::DoNotOptimize(a | b);
    countShape(state, a);
}

void RegionDifference(benchmark::State& state) {
    const GRegion a = scattered(1000, 1), b = scattered(1000, 2);
    for (auto _ : state)
        benchmark::DoNotOptimize(a - b);
    countShape(state, a);
}

// Uniting them one at a time into a growing region, as a dirty area collects while dragging.
void RegionGrowByRectangles(benchmark::State& state) {
    const std::vector<RECT> rects = squares();
    for (auto _ : state) {
        GRegion region;
        for (const RECT& r : rects)
            region |= r;
        benchmark::DoNotOptimize(region);
    }
}

// The same rectangles united at once (a stream of rectangles in any order is read this way).
void RegionUniteRectangles(benchmark::State& state) {
    const std::vector<RECT> rects = squares();
    for (auto _ : state)
        benchmark::DoNotOptimize(GRegion::united(rects));
}

void RegionContains(benchmark::State& state) {
    const GRegion a = scattered(1000, 1);
    std::mt19937 random(4);
    std::vector<POINT> points(1024);
    for (POINT& p : points)
        p = {static_cast<LONG>(random() % 2000), static_cast<LONG>(random() % 2000)};
    for (auto _ : state)
        for (const POINT& p : points)
            benchmark::DoNotOptimize(a.contains(p));
    state.SetItemsProcessed(state.iterations() * 1024);
}

// Bits at two far corners: no row is skipped and every row is ORed into the column test.
void MaskBoundingRect(benchmark::State& state) {
    GIPLMask mask(4096, 4096);
    iplSet(mask.get_image(), 0);
    mask.setBit(100, 100, true);
    if (state.range(0) != 0)
        mask.setBit(4000, 4000, true);
    RECT r;
    for (auto _ : state) {
        mask.getBoundingRect(r);
        benchmark::DoNotOptimize(r);
    }
    state.SetBytesProcessed(state.iterations() * 4096LL * 4096 / 8);
}

} // namespace

BENCHMARK(RegionUnion);
BENCHMARK(RegionDifference);
BENCHMARK(RegionGrowByRectangles);
BENCHMARK(RegionUniteRectangles);
BENCHMARK(RegionContains);
BENCHMARK(MaskBoundingRect)->Arg(0)->Arg(1);
