// Computer-against-computer matches on autopilot on the largest, the
// smallest and a crowded New Game setting, the consistency checked after
// every turn; each seed's new game and its game after 400 turns are pinned
// by a fingerprint of the saved bytes (a change of the rules made on purpose
// updates the pins: the failure prints the new values).
#include "game_fixture.h"
#include "model/saved_game.h"
#include "turn/consistency.h"
#include "turn/end_turn.h"

namespace qv::testing {
namespace {

// Races of the shape of real ones: a hauler, a cheap raider, a line ship and
// a heavy one; weapons from a cheap short gun to a costly long-range one.
// clang-format off
struct ModelSpec { const char* name; std::int32_t speed, defence, survey, hold, cost; };
struct WeaponSpec { const char* name; std::int32_t range, minDamage, maxDamage, cost; };
struct RaceSpec { const char* file; const char* name; ModelSpec models[4]; WeaponSpec weapons[4]; };
const RaceSpec kRaces[] = {
    {"guild.race", "Tessar Guild",
     {{"Hauler", 110, 160, 100, 3, 750}, {"Skiff", 200, 90, 120, 0, 480},
      {"Frigate", 150, 210, 160, 0, 1300}, {"Carrier", 110, 340, 180, 0, 2600}},
     {{"Beam", 125, 20, 45, 420}, {"Railgun", 170, 30, 62, 880}, {"Lance", 100, 60, 105, 1450},
      {"Torpedo", 220, 45, 92, 2150}}},
    {"horde.race", "Krell Horde",
     {{"Barge", 85, 250, 70, 5, 950}, {"Claw", 140, 220, 80, 0, 780}, {"Ram", 100, 370, 100, 0, 2150},
      {"Fortress", 80, 420, 120, 0, 3400}},
     {{"Cannon", 70, 50, 88, 680}, {"Hammer", 90, 70, 128, 1380}, {"Maul", 60, 90, 148, 1950},
      {"Mortar", 150, 60, 118, 2480}}},
    {"reach.race", "Ondrai Reach",
     {{"Pod", 150, 90, 210, 2, 820}, {"Glint", 235, 70, 290, 0, 640}, {"Prism", 180, 165, 270, 0, 1750},
      {"Spire", 150, 245, 300, 0, 3250}},
     {{"Ray", 195, 15, 40, 690}, {"Needle", 150, 40, 74, 990}, {"Arc", 255, 25, 61, 1480},
      {"Chorus", 300, 35, 81, 2380}}},
    {"swarm.race", "Mirith Swarm",
     {{"Drone", 175, 70, 90, 1, 250}, {"Sting", 255, 60, 105, 0, 230}, {"Wasp", 195, 130, 140, 0, 640},
      {"Matron", 130, 255, 175, 0, 1580}},
     {{"Dart", 90, 10, 29, 245}, {"Spit", 70, 25, 51, 455}, {"Volley", 140, 20, 41, 745},
      {"Sting", 120, 40, 86, 1190}}},
};
// clang-format on

std::vector<std::uint8_t> RaceFile(const RaceSpec& race) {
    RaceBytes r;
    r.line(std::string("Test race ") + race.name).line(race.name).u16(4).u16(4);
    for (const ModelSpec& m : race.models)
        r.model(m.name, std::string(m.name) + ".bmp", m.speed, m.defence, m.survey, m.hold, m.cost);
    for (const WeaponSpec& w : race.weapons) r.weapon(w.name, w.range, w.minDamage, w.maxDamage, w.cost);
    return r.bytes();
}

// FNV-1a over the saved game.
std::uint64_t Fingerprint(const NewGameOptions& document) {
    std::uint64_t h = 14695981039346656037ull;
    for (std::uint8_t b : SaveGameBytes(document)) h = (h ^ b) * 1099511628211ull;
    return h;
}

// Numbers each new ship in the reserved field, which the game carries from
// list to list but never reads: the fingerprint then also follows each ship.
void NumberNewShips(std::int32_t& last) {
    auto number = [&](Ship* head) {
        for (Ship* s = head; s; s = s->next)
            if (s->reserved == 0) s->reserved = ++last;
    };
    for (World* w = g_worlds; w; w = w->next) {
        number(w->ships);
        for (Asteroid* a = w->asteroids; a; a = a->next) number(a->ships);
        for (Planet* p = w->planets; p; p = p->next) number(p->docks);
    }
}

// clang-format off
struct Pinned { std::uint32_t seed; std::uint64_t newGame, afterMatch; };
// clang-format on

class ComputerMatches : public ::testing::Test {
protected:
    void SetUp() override {
        ResetGlobals();
        SetPlatform(&platform);
        for (const RaceSpec& race : kRaces) WriteBytes(dir / race.file, RaceFile(race));
        ASSERT_TRUE(StartUp(dir.path()));
        ASSERT_EQ(CountOf(g_races), 4);
    }
    void TearDown() override {
        SetPlatform(nullptr);
        ResetGlobals();
    }

    // 400 turns on autopilot; stops at the first inconsistency with the seed
    // and the turn.
    void Play(const NewGameOptions& chosen, std::initializer_list<Pinned> games) {
        for (const Pinned& pinned : games) {
            const std::uint32_t seed = pinned.seed;
            NewGameOptions document;
            ASSERT_TRUE(StartNewGame(document, chosen, seed));
            const std::uint64_t newGame = Fingerprint(document);
            ASSERT_EQ(CheckConsistency(), "") << "seed " << seed << ", the new game";
            std::int32_t numbered = 0;
            for (int t = 0; t < 400; ++t) {
                const int turn = g_turn;
                OnEndTurn(true);
                ASSERT_EQ(CheckConsistency(), "") << "seed " << seed << ", turn " << turn;
                ASSERT_EQ(g_turn, turn + 1);
                NumberNewShips(numbered);
            }
            const std::uint64_t afterMatch = Fingerprint(document);
            EXPECT_TRUE(newGame == pinned.newGame && afterMatch == pinned.afterMatch)
                << "seed " << seed << " now makes {" << seed << "u, 0x" << std::hex << newGame << "ull, 0x"
                << afterMatch << "ull}";
        }
    }

    HeadlessPlatform platform;
    TempDir dir;
};

// The options are worlds quantity, worlds size, resources, instability and
// computer players: 0 is the most (instability "High"), 2 the fewest.
TEST_F(ComputerMatches, LargestGamesHoldTogetherForHundredsOfTurns) {
    // Seed 11 makes the largest game there is: 10 worlds, 20 players.
    Play({0, 0, 0, 0, 0}, {{11u, 0x8450ced5a6047915ull, 0x399c7a15f4473f76ull},
                           {2024u, 0xb974c2d4b5a84196ull, 0xcfa42f6dc5dabadfull},
                           {777777u, 0x9d268838711c97dcull, 0xe695a915e3c53665ull}});
}

TEST_F(ComputerMatches, SmallestGamesHoldTogetherForHundredsOfTurns) {
    Play({2, 4, 2, 0, 2}, {{1u, 0xbd81e556c62c1bc1ull, 0xa10e23fcd5107935ull},
                           {5u, 0xfb2ee14659639cecull, 0x844c080f25aedd64ull},
                           {99u, 0x5706d5dd003ea60full, 0x36380774cea610ddull},
                           {4242u, 0x8ef61da7996ff0efull, 0x9b3b178c643c6eceull},
                           {3000000000u, 0x2f1d5fee066cba7cull, 0x9f7726a062f70833ull}});
}

// Many players packed into few tiny worlds: the most fights and collisions.
TEST_F(ComputerMatches, CrowdedGamesHoldTogetherForHundredsOfTurns) {
    Play({2, 4, 0, 0, 0}, {{3u, 0x89149bc225632dbdull, 0x72d2822dbd8a5c9ull},
                           {17u, 0x28f17920914d869bull, 0xb2bad0f426af6a09ull},
                           {123456u, 0x7d00d66058a913ccull, 0xbe30887101f2dfebull},
                           {4000000000u, 0x1b8a136bff6fa406ull, 0xcbe0f50b4908fcdbull}});
}

}  // namespace
}  // namespace qv::testing
