// End Turn on the largest games the New Game dialog makes (Lots of worlds,
// Huge, Lots of resources, Lots of computer players, High instability) with
// the shipped races, every side on autopilot:
//
// - EndTurnOfALargeGame: one End Turn of a game of 10 worlds and 20 players
//   after 100 turns of play. The game after those turns is kept as saved
//   bytes (saved twice through a load, which gives the lists back in their
//   played order) together with the generator's state; every iteration
//   loads it and restores the generator with the clock paused, then times
//   the one turn. So every iteration plays the very same turn 101, instead
//   of drifting further into a match whose size keeps changing.
// - WholeMatchOfTheLargestGame: generation and 200 turns of the same game
//   of 10 worlds and 20 players, from its seed.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "model/globals.h"
#include "model/lists.h"
#include "model/new_game.h"
#include "model/platform.h"
#include "model/random.h"
#include "model/saved_game.h"
#include "turn/end_turn.h"

namespace {

const std::filesystem::path kData = QUORVANE_DATA_OUT;

// Keeps nothing of what the turns show or play (a long run would otherwise
// pile up its sound cues).
class QuietPlatform : public qv::HeadlessPlatform {
public:
    void playCue(const std::string&) override {}
    void messageBox(const std::string&) override {}
};

qv::NewGameOptions LargestGame() {
    qv::NewGameOptions options;
    options.worldsQuantityOption = 0;  // Lots
    options.worldsSizeOption = 0;      // Huge
    options.resourcesOption = 0;       // Lots
    options.aiPlayersOption = 0;       // Lots
    options.unstabilityOption = 0;     // High
    return options;
}

// Loads the shipped races; false (with the benchmark skipped) without any.
bool StartWithShippedRaces(benchmark::State& state) {
    qv::ResetGlobals();
    if (qv::StartUp(kData) && qv::g_races) return true;
    state.SkipWithError("no race loaded from the data folder");
    return false;
}

// The first seed from which the largest options give 10 worlds and 20
// players (the most they can give).
std::optional<std::uint32_t> FullSizeSeed(qv::NewGameOptions& document) {
    for (std::uint32_t seed = 1; seed < 10000; ++seed) {
        if (!qv::StartNewGame(document, LargestGame(), seed)) return std::nullopt;
        if (qv::g_worldCount == 10 && qv::g_playerCount == 20) return seed;
    }
    return std::nullopt;
}

long long ShipsInGame() {
    long long ships = 0;
    for (const qv::Player* p = qv::g_players; p; p = p->next) ships += p->shipCount;
    return ships;
}

long long PlanetsInGame() {
    long long planets = 0;
    for (const qv::World* w = qv::g_worlds; w; w = w->next) planets += qv::CountOf(w->planets);
    return planets;
}

void EndTurnOfALargeGame(benchmark::State& state) {
    QuietPlatform quiet;
    qv::SetPlatform(&quiet);
    if (!StartWithShippedRaces(state)) {
        qv::SetPlatform(nullptr);
        return;
    }
    qv::NewGameOptions document;
    const std::optional<std::uint32_t> seed = FullSizeSeed(document);
    if (!seed) {
        state.SkipWithError("no seed gives 10 worlds and 20 players");
        qv::ResetGlobals();
        qv::SetPlatform(nullptr);
        return;
    }
    for (int turn = 0; turn < 100; ++turn) qv::OnEndTurn(true);
    const std::uint32_t generator = qv::GameRandom().state();
    const std::vector<std::uint8_t> played = qv::SaveGameBytes(document);
    bool loaded = qv::LoadGameBytes(played.data(), played.size(), "played.zvq", document);
    const std::vector<std::uint8_t> bytes = qv::SaveGameBytes(document);
    const long long ships = ShipsInGame();
    const long long planets = PlanetsInGame();

    for (auto _ : state) {
        state.PauseTiming();
        loaded = loaded && qv::LoadGameBytes(bytes.data(), bytes.size(), "turn101.zvq", document);
        qv::SeedRand(generator);
        state.ResumeTiming();
        if (!loaded) {
            state.SkipWithError("the played game does not load again");
            break;
        }
        qv::OnEndTurn(true);
        benchmark::DoNotOptimize(qv::g_turn);
    }
    state.counters["seed"] = *seed;
    state.counters["ships"] = static_cast<double>(ships);
    state.counters["planets"] = static_cast<double>(planets);
    qv::ResetGlobals();
    qv::SetPlatform(nullptr);
}
BENCHMARK(EndTurnOfALargeGame)->Unit(benchmark::kMicrosecond);

void WholeMatchOfTheLargestGame(benchmark::State& state) {
    QuietPlatform quiet;
    qv::SetPlatform(&quiet);
    if (!StartWithShippedRaces(state)) {
        qv::SetPlatform(nullptr);
        return;
    }
    qv::NewGameOptions document;
    const std::optional<std::uint32_t> seed = FullSizeSeed(document);
    if (!seed) {
        state.SkipWithError("no seed gives 10 worlds and 20 players");
        qv::ResetGlobals();
        qv::SetPlatform(nullptr);
        return;
    }
    long long ships = 0;
    for (auto _ : state) {
        if (!qv::StartNewGame(document, LargestGame(), *seed)) {
            state.SkipWithError("StartNewGame refused");
            break;
        }
        for (int turn = 0; turn < 200; ++turn) qv::OnEndTurn(true);
        benchmark::DoNotOptimize(qv::g_turn);
        ships = ShipsInGame();
    }
    state.counters["seed"] = *seed;
    state.counters["shipsAtEnd"] = static_cast<double>(ships);
    qv::ResetGlobals();
    qv::SetPlatform(nullptr);
}
BENCHMARK(WholeMatchOfTheLargestGame)->Unit(benchmark::kMillisecond);

}  // namespace
