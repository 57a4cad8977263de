// Saving and loading a large game: the largest generated game with 500 ships
// added (in open space, docked and landed, each with a full pixel list), its
// bytes per second beside a plain memcpy of as many bytes (the natural limit).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <vector>

#include "model/globals.h"
#include "model/lists.h"
#include "model/new_game.h"
#include "model/platform.h"
#include "model/saved_game.h"
#include "model/world_generation.h"

namespace {

const std::filesystem::path kData = QUORVANE_DATA_OUT;
constexpr int kAddedShips = 500;

template <typename T>
std::vector<T*> Records(T* head) {
    std::vector<T*> records;
    for (T* p = head; p; p = p->next) records.push_back(p);
    return records;
}

// A ship of owner, of one of its race's models and weapons, as the shipyard
// would deliver it.
qv::Ship* MakeShip(qv::Player* owner, int n, int x, int y) {
    const qv::Race* race = owner->race;
    auto* ship = new qv::Ship;
    ship->owner = owner;
    ship->model = qv::RecordAt(race->shipModels, 1 + n % race->shipModelCount);
    ship->weapon = qv::RecordAt(race->weapons, 1 + n % race->weaponCount);
    ship->x = x;
    ship->y = y;
    ship->actionPoints = ship->model->speed;
    ship->shieldPoints = ship->model->defence;
    ship->viewPoints = ship->model->survey;
    ship->holds = ship->model->hold;
    ship->weaponReady = 1;
    for (int slot = 0; slot < qv::kShipEquipSlots; ++slot) ship->equip[slot] = (n + slot) % 3;
    std::copy(std::begin(ship->model->pixels), std::end(ship->model->pixels), std::begin(ship->pixels));
    ++owner->shipCount;
    return ship;
}

// Generates the largest game and adds the ships, a third each in open space,
// in planets' docks and on asteroids, owned in turn by every player but the
// neutral one. Returns the options to save it with; false when there is no
// race to play.
bool MakeLargeGame(qv::NewGameOptions& options) {
    qv::ResetGlobals();
    if (!qv::StartUp(kData) || !qv::g_races) return false;
    options = qv::NewGameOptions();
    options.worldsQuantityOption = 0;  // Lots
    options.worldsSizeOption = 0;      // Huge
    options.resourcesOption = 0;       // Lots
    options.aiPlayersOption = 0;       // Lots
    if (!qv::StartNewGame(options, qv::NewGameOptions(options), 2024u)) return false;

    std::vector<qv::Player*> owners = Records(qv::g_players);
    owners.pop_back();  // the neutral player
    std::vector<qv::World*> worlds = Records(qv::g_worlds);
    std::vector<qv::Planet*> planets;
    std::vector<qv::Asteroid*> asteroids;
    for (qv::World* w : worlds) {
        for (qv::Planet* p : Records(w->planets)) planets.push_back(p);
        for (qv::Asteroid* a : Records(w->asteroids)) asteroids.push_back(a);
    }
    for (int n = 0; n < kAddedShips; ++n) {
        qv::Player* owner = owners[static_cast<std::size_t>(n) % owners.size()];
        switch (n % 3) {
            case 0: {
                qv::World* w = worlds[static_cast<std::size_t>(n) % worlds.size()];
                qv::InsertAtHead(w->ships, MakeShip(owner, n, 100 + n, 200 + n));
                break;
            }
            case 1: {
                qv::Planet* p = planets[static_cast<std::size_t>(n) % planets.size()];
                qv::InsertAtHead(p->docks, MakeShip(owner, n, p->x, p->y));
                break;
            }
            default: {
                qv::Asteroid* a = asteroids[static_cast<std::size_t>(n) % asteroids.size()];
                qv::InsertAtHead(a->ships, MakeShip(owner, n, a->x, a->y));
                break;
            }
        }
    }
    return true;
}

// Sets up the large game for a benchmark; false (and the benchmark skipped)
// when it cannot be made.
bool Prepare(benchmark::State& state, qv::HeadlessPlatform& quiet, qv::NewGameOptions& options) {
    qv::SetPlatform(&quiet);
    if (MakeLargeGame(options)) return true;
    state.SkipWithError("no race loaded from the data folder");
    qv::ResetGlobals();
    qv::SetPlatform(nullptr);
    return false;
}

void Finish() {
    qv::ResetGlobals();
    qv::SetPlatform(nullptr);
}

void SaveLargeGame(benchmark::State& state) {
    qv::HeadlessPlatform quiet;
    qv::NewGameOptions options;
    if (!Prepare(state, quiet, options)) return;
    std::size_t size = 0;
    for (auto _ : state) {
        const std::vector<std::uint8_t> bytes = qv::SaveGameBytes(options);
        size = bytes.size();
        benchmark::DoNotOptimize(bytes.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * size));
    state.counters["bytes"] = static_cast<double>(size);
    Finish();
}
BENCHMARK(SaveLargeGame)->Unit(benchmark::kMicrosecond);

// Every load replaces the running game with the saved one (the old one is
// freed inside the measured time, as in the game).
void LoadLargeGame(benchmark::State& state) {
    qv::HeadlessPlatform quiet;
    qv::NewGameOptions options;
    if (!Prepare(state, quiet, options)) return;
    const std::vector<std::uint8_t> bytes = qv::SaveGameBytes(options);
    for (auto _ : state) {
        if (!qv::LoadGameBytes(bytes.data(), bytes.size(), "bench.zvq", options)) {
            state.SkipWithError("the saved game was refused");
            break;
        }
        benchmark::DoNotOptimize(qv::g_worlds);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes.size()));
    state.counters["bytes"] = static_cast<double>(bytes.size());
    Finish();
}
BENCHMARK(LoadLargeGame)->Unit(benchmark::kMicrosecond);

// A plain copy of as many bytes as the large game saves to.
void CopyLargeGameBytes(benchmark::State& state) {
    qv::HeadlessPlatform quiet;
    qv::NewGameOptions options;
    if (!Prepare(state, quiet, options)) return;
    const std::size_t size = qv::SavedGameSize();
    Finish();
    std::vector<std::uint8_t> from(size, 0x5A), to(size);
    for (auto _ : state) {
        std::memcpy(to.data(), from.data(), size);
        benchmark::DoNotOptimize(to.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * size));
    state.counters["bytes"] = static_cast<double>(size);
}
BENCHMARK(CopyLargeGameBytes)->Unit(benchmark::kMicrosecond);

}  // namespace
