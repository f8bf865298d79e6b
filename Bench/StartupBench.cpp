// The desktop program's start to its first painted frame, as the program itself measures it (korvane
// --startup-time), with no plug-ins and with ten plug-ins that each announce a context. Needs a display: run it
// under xvfb-run (./korvane.sh bench does).

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

// The time the program reports, in seconds; negative when it reports none.
double startOnce(const std::string& settings) {
    const std::string command = "KORVANE_REGISTRY='" + settings + "' '" KORVANE "' --startup-time";
    FILE* output = popen(command.c_str(), "r");
    if (output == nullptr)
        return -1;
    char line[256] = {};
    double milliseconds = -1;
    while (std::fgets(line, sizeof line, output) != nullptr)
        std::sscanf(line, "korvane: the first frame was painted %lf", &milliseconds);
    pclose(output);
    return milliseconds / 1000;
}

void start(benchmark::State& state, const char* pluginDirectory) {
    if (std::getenv("DISPLAY") == nullptr) {
        state.SkipWithError("no display: run under xvfb-run");
        return;
    }
    const std::filesystem::path settings = std::filesystem::temp_directory_path() / "korvane-startup-bench.reg";
    {
        std::ofstream store(settings);
        store << "REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\Orvelcraft\\Korvane]\n";
        if (pluginDirectory != nullptr)
            store << "\"PluginDirs\"=\"" << pluginDirectory << "\"\n";
    }
    for (auto _ : state) {
        const double seconds = startOnce(settings.string());
        if (seconds < 0) {
            state.SkipWithError("the program reported no start-up time");
            break;
        }
        state.SetIterationTime(seconds);
    }
    std::filesystem::remove(settings);
}

void BM_StartToFirstFrame(benchmark::State& state) {
    start(state, nullptr);
}
BENCHMARK(BM_StartToFirstFrame)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(10);

void BM_StartToFirstFrameWithTenPlugins(benchmark::State& state) {
    start(state, KORVANE_STARTUP_MODULES);
}
BENCHMARK(BM_StartToFirstFrameWithTenPlugins)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(10);

} // namespace
