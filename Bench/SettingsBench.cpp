// Settings: reading a cached registry variable, and writing one through to a store of 2000 values (each write
// rewrites the whole store file and renames it into place).

#include "Settings/GRegistryDWord.h"
#include "win/RegistryStore.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

// A store of its own in the temporary folder, with `values` values in 20 keys.
void useStore(const char* name, int values) {
    const auto path = std::filesystem::temp_directory_path() / name;
    std::filesystem::remove(path);
    setenv("KORVANE_REGISTRY", path.c_str(), 1);
    setenv("KORVANE_REGISTRY_DEFAULTS", "/nonexistent", 1);
    RegistryStore::Instance().reset();
    RegistryStore::Instance().change([&](RegistryKeys& keys) {
        for (int i = 0; i < values; ++i) {
            const std::string path = "HKEY_CURRENT_USER\\Software\\Bench\\Key" + std::to_string(i % 20);
            RegistryKey& key = keys[FoldedRegistryName(path)];
            key.path = path;
            key.values.push_back({"Value" + std::to_string(i), 4, {1, 2, 3, 4}});
        }
    });
}

void CachedSettingRead(benchmark::State& state) {
    useStore("korvane-bench-read.reg", 0);
    GRegistryDWord setting(HKEY_CURRENT_USER, "Software\\Bench", "Read", 5);
    setting = 9;
    for (auto _ : state)
        benchmark::DoNotOptimize(static_cast<DWORD>(setting));
}

void SettingWriteThrough(benchmark::State& state) {
    useStore("korvane-bench-write.reg", 2000);
    GRegistryDWord setting(HKEY_CURRENT_USER, "Software\\Bench\\Key3", "Written", 0);
    DWORD value = 0;
    for (auto _ : state)
        setting = ++value;
    RegistryStore::Instance().sync();
}

BENCHMARK(CachedSettingRead);
BENCHMARK(SettingWriteThrough)->Unit(benchmark::kMillisecond)->Iterations(1000);

} // namespace
