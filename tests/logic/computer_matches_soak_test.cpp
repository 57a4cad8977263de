// Long computer-against-computer matches (every side on autopilot) on the
// largest and the smallest New Game options, the game's consistency checked
// after every turn. The races are written here with the shape of real ones
// (a cargo model among four ship models, four weapons of different reach,
// damage and price), and each match keeps a tally of what happened, so a
// match in which nobody builds, fights, captures or trades fails too.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "model/globals.h"
#include "model/lists.h"
#include "model/new_game.h"
#include "model/platform.h"
#include "race_test_files.h"
#include "turn/consistency.h"
#include "model/saved_game.h"
#include "turn/end_turn.h"

namespace qv::testing {
namespace {

struct ModelSpec {
    const char* name;
    std::int32_t speed, defence, survey, hold, cost;
};

struct WeaponSpec {
    const char* name;
    std::int32_t range, minDamage, maxDamage, cost;
};

struct RaceSpec {
    const char* file;
    const char* name;
    ModelSpec models[4];
    WeaponSpec weapons[4];
};

// A hauler, a cheap raider, a line ship and a heavy one; weapons from a
// cheap short gun to a costly long-range one.
const RaceSpec kRaces[] = {
    {"guild.race",
     "Tessar Guild",
     {{"Hauler", 110, 160, 100, 3, 750},
      {"Skiff", 200, 90, 120, 0, 480},
      {"Frigate", 150, 210, 160, 0, 1300},
      {"Carrier", 110, 340, 180, 0, 2600}},
     {{"Beam", 125, 20, 45, 420},
      {"Railgun", 170, 30, 62, 880},
      {"Lance", 100, 60, 105, 1450},
      {"Torpedo", 220, 45, 92, 2150}}},
    {"horde.race",
     "Krell Horde",
     {{"Barge", 85, 250, 70, 5, 950},
      {"Claw", 140, 220, 80, 0, 780},
      {"Ram", 100, 370, 100, 0, 2150},
      {"Fortress", 80, 420, 120, 0, 3400}},
     {{"Cannon", 70, 50, 88, 680},
      {"Hammer", 90, 70, 128, 1380},
      {"Maul", 60, 90, 148, 1950},
      {"Mortar", 150, 60, 118, 2480}}},
    {"reach.race",
     "Ondrai Reach",
     {{"Pod", 150, 90, 210, 2, 820},
      {"Glint", 235, 70, 290, 0, 640},
      {"Prism", 180, 165, 270, 0, 1750},
      {"Spire", 150, 245, 300, 0, 3250}},
     {{"Ray", 195, 15, 40, 690},
      {"Needle", 150, 40, 74, 990},
      {"Arc", 255, 25, 61, 1480},
      {"Chorus", 300, 35, 81, 2380}}},
    {"swarm.race",
     "Mirith Swarm",
     {{"Drone", 175, 70, 90, 1, 250},
      {"Sting", 255, 60, 105, 0, 230},
      {"Wasp", 195, 130, 140, 0, 640},
      {"Matron", 130, 255, 175, 0, 1580}},
     {{"Dart", 90, 10, 29, 245},
      {"Spit", 70, 25, 51, 455},
      {"Volley", 140, 20, 41, 745},
      {"Sting", 120, 40, 86, 1190}}},
};

std::vector<std::uint8_t> RaceFile(const RaceSpec& race) {
    RaceBytes r;
    r.line(std::string("Test race ") + race.name).line(race.name).u16(4).u16(4);
    for (const ModelSpec& m : race.models)
        r.model(m.name, std::string(m.name) + ".bmp", m.speed, m.defence, m.survey, m.hold, m.cost);
    for (const WeaponSpec& w : race.weapons) r.weapon(w.name, w.range, w.minDamage, w.maxDamage, w.cost);
    return r.bytes();
}

// What a match did, seen between turns.
struct Tally {
    long long turns = 0;
    long long shipsBuilt = 0;
    long long shipsLost = 0;       // destroyed in fights, or with their planet or asteroid
    long long unloads = 0;         // cargo ships that came home full and were emptied
    long long captures = 0;        // planet counters that rose (a lower bound)
    long long planetsLost = 0;     // bombarded away or broken in collisions
    long long asteroidsLost = 0;   // broken in collisions
    long long worldChanges = 0;    // asteroids that left or reached a world
    long long cargoShipsSeen = 0;  // ships with holds, when first seen

    void add(const Tally& t) {
        turns += t.turns;
        shipsBuilt += t.shipsBuilt;
        shipsLost += t.shipsLost;
        unloads += t.unloads;
        captures += t.captures;
        planetsLost += t.planetsLost;
        asteroidsLost += t.asteroidsLost;
        worldChanges += t.worldChanges;
        cargoShipsSeen += t.cargoShipsSeen;
    }
};

std::string Describe(const Tally& t) {
    return std::to_string(t.turns) + " turns: " + std::to_string(t.shipsBuilt) + " ships built (" +
           std::to_string(t.cargoShipsSeen) + " cargo), " + std::to_string(t.shipsLost) + " lost, " +
           std::to_string(t.unloads) + " unloads, " + std::to_string(t.captures) + " captures, " +
           std::to_string(t.planetsLost) + " planets and " + std::to_string(t.asteroidsLost) +
           " asteroids destroyed, " + std::to_string(t.worldChanges) + " asteroid moves between worlds";
}

// The state between two turns. A ship record is made anew whenever the ship
// lands, takes off or is thrown into another world, but its reserved value
// goes with it and the game never reads it: the soak writes a number there
// to follow each ship from turn to turn. Only a new ship has none.
struct Snapshot {
    std::map<std::int32_t, bool> holdFull;   // by ship number
    std::vector<std::int32_t> planetCounts;  // the players but the neutral one
    std::vector<int> asteroidsPerWorld;
    long long planets = 0;
    long long asteroids = 0;
};

class MatchObserver {
public:
    Snapshot take(Tally& tally) {
        Snapshot s;
        for (const Player* p = g_players; p && p->next; p = p->next) s.planetCounts.push_back(p->planetCount);
        for (World* w = g_worlds; w; w = w->next) {
            follow(w->ships, s, tally);
            int asteroids = 0;
            for (Asteroid* a = w->asteroids; a; a = a->next, ++asteroids) follow(a->ships, s, tally);
            for (Planet* p = w->planets; p; p = p->next, ++s.planets) follow(p->docks, s, tally);
            s.asteroidsPerWorld.push_back(asteroids);
            s.asteroids += asteroids;
        }
        return s;
    }

    static void compare(const Snapshot& before, const Snapshot& after, Tally& tally) {
        for (const auto& [number, full] : before.holdFull) {
            const auto now = after.holdFull.find(number);
            if (now == after.holdFull.end()) ++tally.shipsLost;
            else if (full && !now->second) ++tally.unloads;
        }
        // A planet counter rises only by a capture.
        for (std::size_t i = 0; i < before.planetCounts.size() && i < after.planetCounts.size(); ++i)
            if (after.planetCounts[i] > before.planetCounts[i])
                tally.captures += after.planetCounts[i] - before.planetCounts[i];
        tally.planetsLost += before.planets - after.planets;
        tally.asteroidsLost += before.asteroids - after.asteroids;
        // Only collisions remove asteroids; the rest of a change in one
        // world's count is instability moving them.
        long long moved = 0;
        for (std::size_t i = 0; i < before.asteroidsPerWorld.size(); ++i) {
            const int d = after.asteroidsPerWorld[i] - before.asteroidsPerWorld[i];
            moved += d < 0 ? -d : d;
        }
        const long long broken = before.asteroids - after.asteroids;
        if (moved > broken) tally.worldChanges += moved - broken;
    }

private:
    void follow(Ship* head, Snapshot& s, Tally& tally) {
        for (Ship* ship = head; ship; ship = ship->next) {
            if (ship->reserved == 0) {
                ship->reserved = ++lastNumber_;
                ++tally.shipsBuilt;
                if (ship->holds > 0) ++tally.cargoShipsSeen;
            }
            s.holdFull[ship->reserved] = ship->holdFull != 0;
        }
    }

    std::int32_t lastNumber_ = 0;
};

NewGameOptions Largest() {
    NewGameOptions o;
    o.worldsQuantityOption = 0;  // Lots
    o.worldsSizeOption = 0;      // Huge
    o.resourcesOption = 0;       // Lots
    o.aiPlayersOption = 0;       // Lots
    o.unstabilityOption = 0;     // High
    return o;
}

NewGameOptions Smallest() {
    NewGameOptions o;
    o.worldsQuantityOption = 2;  // Few
    o.worldsSizeOption = 4;      // Tiny
    o.resourcesOption = 2;       // Few
    o.aiPlayersOption = 2;       // Few
    o.unstabilityOption = 0;     // High
    return o;
}

// Many players packed into few tiny worlds: the most fights and collisions.
NewGameOptions Crowded() {
    NewGameOptions o = Smallest();
    o.resourcesOption = 0;  // Lots
    o.aiPlayersOption = 0;  // Lots
    return o;
}

// FNV-1a over the saved game: two games with the same fingerprint are, for
// every practical purpose, the same game.
std::uint64_t Fingerprint(const NewGameOptions& document) {
    std::uint64_t h = 14695981039346656037ull;
    for (std::uint8_t b : SaveGameBytes(document)) h = (h ^ b) * 1099511628211ull;
    return h;
}

// The game a seed makes, pinned: the new game and the same match after its
// turns. Any change to generation, the computer players, fights, moves,
// orbits, collisions, instability or the economy changes these; a change
// of the rules made on purpose updates them (the failure prints the new
// values), and nothing else may.
struct Pinned {
    std::uint32_t seed;
    std::uint64_t newGame, afterMatch;
};

class ComputerMatches : public ::testing::Test {
protected:
    void SetUp() override {
        ResetGlobals();
        SetPlatform(&platform);
        for (const RaceSpec& race : kRaces) WriteBytes(dir / race.file, RaceFile(race));
        ASSERT_TRUE(StartUp(dir.path()));
        ASSERT_EQ(CountOf(g_races), 4);
        platform.messages.clear();  // the ship pictures are not there
    }
    void TearDown() override {
        SetPlatform(nullptr);
        ResetGlobals();
    }

    // One match on autopilot, checked after every turn. Stops the test at the
    // first break with the seed and the turn.
    void Play(const NewGameOptions& chosen, const Pinned& pinned, int turns, Tally& total) {
        const std::uint32_t seed = pinned.seed;
        SCOPED_TRACE("seed " + std::to_string(seed));
        NewGameOptions document;
        ASSERT_TRUE(StartNewGame(document, chosen, seed));
        const std::uint64_t newGame = Fingerprint(document);
        ASSERT_EQ(CheckConsistency(), "") << "seed " << seed << ", the new game";
        MatchObserver observer;
        Tally tally;
        Snapshot before = observer.take(tally);
        for (int t = 0; t < turns; ++t) {
            const int turn = g_turn;
            OnEndTurn(true);
            const std::string report = CheckConsistency();
            ASSERT_EQ(report, "") << "seed " << seed << ", turn " << turn;
            ASSERT_EQ(g_turn, turn + 1);
            Snapshot after = observer.take(tally);
            MatchObserver::compare(before, after, tally);
            before = std::move(after);
            ++tally.turns;
        }
        // Matches that did nothing would pass every check: each one must
        // have built, fought and traded.
        EXPECT_GT(tally.shipsBuilt, 0) << Describe(tally);
        EXPECT_GT(tally.shipsLost, 0) << Describe(tally);
        EXPECT_GT(tally.captures + tally.planetsLost, 0) << Describe(tally);
        EXPECT_GT(tally.unloads, 0) << Describe(tally);
        const std::uint64_t afterMatch = Fingerprint(document);
        EXPECT_TRUE(newGame == pinned.newGame && afterMatch == pinned.afterMatch)
            << "seed " << seed << " now makes {" << seed << "u, 0x" << std::hex << newGame << "ull, 0x" << afterMatch
            << "ull}";
        total.add(tally);
        platform.cues.clear();
        platform.messages.clear();
    }

    HeadlessPlatform platform;
    TempDir dir;
};

TEST_F(ComputerMatches, LargestGamesHoldTogetherForHundredsOfTurns) {
    Tally total;
    // Seed 11 makes the largest game there is: 10 worlds, 20 players.
    for (const Pinned& pinned : {Pinned{11u, 0x8450ced5a6047915ull, 0x399c7a15f4473f76ull},
                                 Pinned{2024u, 0xb974c2d4b5a84196ull, 0xcfa42f6dc5dabadfull},
                                 Pinned{777777u, 0x9d268838711c97dcull, 0xe695a915e3c53665ull}}) {
        Play(Largest(), pinned, 400, total);
        if (HasFatalFailure()) return;
    }
    // Over the matches every kind of event turned up: cargo ships among the
    // builds, captures, instability moving asteroids, collisions.
    EXPECT_GT(total.cargoShipsSeen, 0) << Describe(total);
    EXPECT_GT(total.captures, 0) << Describe(total);
    EXPECT_GT(total.worldChanges, 0) << Describe(total);
    EXPECT_GT(total.asteroidsLost + total.planetsLost, 0) << Describe(total);
    std::printf("[ largest  ] %s\n", Describe(total).c_str());
}

TEST_F(ComputerMatches, SmallestGamesHoldTogetherForHundredsOfTurns) {
    Tally total;
    for (const Pinned& pinned : {Pinned{1u, 0xbd81e556c62c1bc1ull, 0xa10e23fcd5107935ull},
                                 Pinned{5u, 0xfb2ee14659639cecull, 0x844c080f25aedd64ull},
                                 Pinned{99u, 0x5706d5dd003ea60full, 0x36380774cea610ddull},
                                 Pinned{4242u, 0x8ef61da7996ff0efull, 0x9b3b178c643c6eceull},
                                 Pinned{3000000000u, 0x2f1d5fee066cba7cull, 0x9f7726a062f70833ull}}) {
        Play(Smallest(), pinned, 400, total);
        if (HasFatalFailure()) return;
    }
    EXPECT_GT(total.cargoShipsSeen, 0) << Describe(total);
    EXPECT_GT(total.captures, 0) << Describe(total);
    EXPECT_GT(total.worldChanges, 0) << Describe(total);
    EXPECT_GT(total.asteroidsLost + total.planetsLost, 0) << Describe(total);
    std::printf("[ smallest ] %s\n", Describe(total).c_str());
}

TEST_F(ComputerMatches, CrowdedGamesHoldTogetherForHundredsOfTurns) {
    Tally total;
    for (const Pinned& pinned : {Pinned{3u, 0x89149bc225632dbdull, 0x72d2822dbd8a5c9ull},
                                 Pinned{17u, 0x28f17920914d869bull, 0xb2bad0f426af6a09ull},
                                 Pinned{123456u, 0x7d00d66058a913ccull, 0xbe30887101f2dfebull},
                                 Pinned{4000000000u, 0x1b8a136bff6fa406ull, 0xcbe0f50b4908fcdbull}}) {
        Play(Crowded(), pinned, 400, total);
        if (HasFatalFailure()) return;
    }
    EXPECT_GT(total.worldChanges, 0) << Describe(total);
    EXPECT_GT(total.asteroidsLost, 0) << Describe(total);
    EXPECT_GT(total.planetsLost, 0) << Describe(total);
    std::printf("[ crowded  ] %s\n", Describe(total).c_str());
}

}  // namespace
}  // namespace qv::testing
