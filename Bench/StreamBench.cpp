// Object streams: writing and reading many small objects, plain and compressed.

#include "Collections/GSortedCollection.h"
#include "IO/GCompressionIO.h"
#include "IO/GMemoryIO.h"
#include "Streams/iopstream.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

namespace {

// A collection of empty sorted collections: a frame each, with a little data.
std::unique_ptr<GCollection> sample(int n) {
    auto list = std::make_unique<GCollection>(0, 64, false);
    for (int i = 0; i < n; ++i)
        list->insert(new GSortedCollection(0, 4, true));
    return list;
}

void writeAll(opstream& stream, const GCollection& list) {
    for (int i = 0; i < list.getCount(); ++i)
        stream.writePointer(static_cast<GStreamable*>(list.at(i)));
    stream.flush();
}

void readAll(ipstream& stream, int n) {
    for (int i = 0; i < n; ++i)
        delete static_cast<GStreamable*>(stream.readPointer(typeid(GStreamable)));
}

void StreamRoundTrip(benchmark::State& state, int level) {
    const int n = static_cast<int>(state.range(0));
    const auto list = sample(n);
    for (auto _ : state) {
        auto* device = new GCompressionIO(new GMemoryIO);
        device->compression_level(level);
        iopstream stream(device);
        writeAll(stream, *list);
        stream.seekg(0, GIO::FromBegin);
        readAll(stream, n);
    }
    state.SetItemsProcessed(state.iterations() * n);
    for (int i = 0; i < list->getCount(); ++i)
        delete static_cast<GSortedCollection*>(list->at(i));
}

void PlainStreamRoundTrip(benchmark::State& state) {
    StreamRoundTrip(state, 0);
}

void CompressedStreamRoundTrip(benchmark::State& state) {
    StreamRoundTrip(state, -1);
}

} // namespace

BENCHMARK(PlainStreamRoundTrip)->Arg(10000);
BENCHMARK(CompressedStreamRoundTrip)->Arg(10000);
