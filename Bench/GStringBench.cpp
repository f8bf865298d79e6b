// GString against std::string on the operations the system leans on: copies (shared blocks), appends and
// formatting.

#include "Text/GString.h"

#include <benchmark/benchmark.h>

#include <string>

namespace {

const char* const Text = "A scene of a background and a few objects, each with its mask and effects";

void GStringCopy(benchmark::State& state) {
    const GString source(Text);
    for (auto _ : state) {
        GString copy(source);
        benchmark::DoNotOptimize(copy);
    }
}

void StdStringCopy(benchmark::State& state) {
    const std::string source(Text);
    for (auto _ : state) {
        std::string copy(source);
        benchmark::DoNotOptimize(copy);
    }
}

void GStringAppendChars(benchmark::State& state) {
    for (auto _ : state) {
        GString s;
        for (int i = 0; i < state.range(0); ++i)
            s += 'x';
        benchmark::DoNotOptimize(s);
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

void StdStringAppendChars(benchmark::State& state) {
    for (auto _ : state) {
        std::string s;
        for (int i = 0; i < state.range(0); ++i)
            s += 'x';
        benchmark::DoNotOptimize(s);
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

void GStringFormat(benchmark::State& state) {
    for (auto _ : state)
        benchmark::DoNotOptimize(GString::Format("Scrapbooks\\%04i", 42));
}

void GStringReplaceAll(benchmark::State& state) {
    const GString source = GString("<td>$NAME$</td>") * static_cast<unsigned>(state.range(0));
    for (auto _ : state) {
        GString s(source);
        benchmark::DoNotOptimize(s.replace("$NAME$", "picture.jpg", true));
    }
    state.SetBytesProcessed(state.iterations() * source.length());
}

} // namespace

BENCHMARK(GStringCopy);
BENCHMARK(StdStringCopy);
BENCHMARK(GStringAppendChars)->Arg(16)->Arg(1024);
BENCHMARK(StdStringAppendChars)->Arg(16)->Arg(1024);
BENCHMARK(GStringFormat);
BENCHMARK(GStringReplaceAll)->Arg(1000);
