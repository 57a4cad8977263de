// Generating the largest game the New Game dialog allows: Lots of worlds,
// Huge, Lots of resources, Lots of computer players, from races loaded once;
// alone, and as the New Game command does it (freeing the previous game).
#include <benchmark/benchmark.h>

#include <cstdint>
#include <filesystem>

#include "model/globals.h"
#include "model/lists.h"
#include "model/new_game.h"
#include "model/platform.h"
#include "model/world_generation.h"

namespace {

const std::filesystem::path kData = QUORVANE_DATA_OUT;

qv::NewGameOptions LargestGame() {
    qv::NewGameOptions options;
    options.worldsQuantityOption = 0;  // Lots
    options.worldsSizeOption = 0;      // Huge
    options.resourcesOption = 0;       // Lots
    options.aiPlayersOption = 0;       // Lots
    return options;
}

void GenerateLargestWorld(benchmark::State& state) {
    qv::HeadlessPlatform quiet;
    qv::SetPlatform(&quiet);
    qv::ResetGlobals();
    if (!qv::StartUp(kData) || !qv::g_races) {
        state.SkipWithError("no race loaded from the data folder");
        qv::SetPlatform(nullptr);
        return;
    }
    const qv::NewGameOptions options = LargestGame();
    std::uint32_t seed = 1;
    long long planets = 0, asteroids = 0, worlds = 0, players = 0;
    for (auto _ : state) {
        state.PauseTiming();
        qv::DestroyGame();
        state.ResumeTiming();
        if (!qv::GenerateWorld(options, seed++)) {
            state.SkipWithError("GenerateWorld refused");
            break;
        }
        benchmark::DoNotOptimize(qv::g_worlds);
        worlds += qv::g_worldCount;
        players += qv::g_playerCount;
        for (const qv::World* w = qv::g_worlds; w; w = w->next) {
            planets += qv::CountOf(w->planets);
            asteroids += qv::CountOf(w->asteroids);
        }
    }
    const auto n = static_cast<double>(state.iterations() ? state.iterations() : 1);
    state.counters["worlds"] = static_cast<double>(worlds) / n;
    state.counters["players"] = static_cast<double>(players) / n;
    state.counters["planets"] = static_cast<double>(planets) / n;
    state.counters["asteroids"] = static_cast<double>(asteroids) / n;
    qv::ResetGlobals();
    qv::SetPlatform(nullptr);
}
BENCHMARK(GenerateLargestWorld)->Unit(benchmark::kMicrosecond);

void StartLargestNewGame(benchmark::State& state) {
    qv::HeadlessPlatform quiet;
    qv::SetPlatform(&quiet);
    qv::ResetGlobals();
    if (!qv::StartUp(kData) || !qv::g_races) {
        state.SkipWithError("no race loaded from the data folder");
        qv::SetPlatform(nullptr);
        return;
    }
    const qv::NewGameOptions chosen = LargestGame();
    qv::NewGameOptions document;
    std::uint32_t seed = 1;
    for (auto _ : state) {
        if (!qv::StartNewGame(document, chosen, seed++)) {
            state.SkipWithError("StartNewGame refused");
            break;
        }
        benchmark::DoNotOptimize(qv::g_worlds);
    }
    qv::ResetGlobals();
    qv::SetPlatform(nullptr);
}
BENCHMARK(StartLargestNewGame)->Unit(benchmark::kMicrosecond);

}  // namespace
