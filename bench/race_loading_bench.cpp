// Loading every shipped race with its ship pictures, beside the plain cost of
// reading the same files' bytes (the natural limit of any loader).
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "model/globals.h"
#include "model/platform.h"
#include "model/races.h"

namespace {

namespace fs = std::filesystem;

const fs::path kData = QUORVANE_DATA_OUT;

void LoadShippedRaces(benchmark::State& state) {
    qv::HeadlessPlatform quiet;
    qv::SetPlatform(&quiet);
    int races = 0;
    for (auto _ : state) {
        qv::LoadRaces(kData);
        races = 0;
        for (qv::Race* r = qv::g_races; r; r = r->next) ++races;
        qv::DestroyRaces();
    }
    qv::SetPlatform(nullptr);
    if (races == 0) state.SkipWithError("no race loaded from the data folder");
    state.counters["races"] = races;
}
BENCHMARK(LoadShippedRaces)->Unit(benchmark::kMicrosecond);

// Reads the bytes of every race file and every picture they use.
void ReadSameFilesOnly(benchmark::State& state) {
    std::vector<fs::path> files;
    for (const auto& e : fs::directory_iterator(kData)) {
        const auto ext = e.path().extension();
        if (ext == ".race" || ext == ".bmp") files.push_back(e.path());
    }
    std::size_t bytes = 0;
    for (auto _ : state) {
        bytes = 0;
        for (const fs::path& f : files) {
            std::ifstream in(f, std::ios::binary);
            std::vector<char> data((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
            bytes += data.size();
            benchmark::DoNotOptimize(data.data());
        }
    }
    state.counters["files"] = static_cast<double>(files.size());
    state.counters["bytes"] = static_cast<double>(bytes);
}
BENCHMARK(ReadSameFilesOnly)->Unit(benchmark::kMicrosecond);

}  // namespace
