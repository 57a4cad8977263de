// Saved games: the layout pinned by a golden file, and damaged files refused with the reason.
#include <cstdint>
#include <fstream>
#include <iterator>
#include <tuple>

#include "game_fixture.h"
#include "model/saved_game.h"
#include "support/bytes.h"

namespace qv {
namespace {

using testing::GameTest;
using testsupport::SetLe32At;

std::vector<std::uint8_t> Fixture(const char* name) {
    std::ifstream in(std::string(QUORVANE_TEST_FIXTURES) + "/saved_games/" + name, std::ios::binary);
    return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), {});
}

class SavedGameTest : public GameTest {
protected:
    bool Load(const std::vector<std::uint8_t>& bytes, std::string* why = nullptr) {
        return LoadGameBytes(bytes.data(), bytes.size(), "game.zvq", options, why);
    }
    const std::vector<std::uint8_t> golden = Fixture("golden.zvq");
};

// golden.zvq is written from the layout, with no code of the game, by tests/fixtures/saved_games/make_golden.py.
TEST_F(SavedGameTest, TheGoldenFileLoadsFieldByFieldAndSavesBackInTheLayout) {
    const std::vector<std::uint8_t> resaved = Fixture("golden-resaved.zvq");
    ASSERT_EQ(golden.size(), 42846u);
    const int docCount = g_newDocCount;
    g_gameOver = 1;
    std::string why = "left over";
    ASSERT_TRUE(Load(golden, &why)) << why;
    // The drawing thread was kept off the lists while they were replaced.
    EXPECT_EQ(std::tuple(why, platform.pauses, platform.resumes, platform.messages.size()), std::tuple("", 1, 1, 0u));
    // A few fields (the round trip below pins the rest), and what the file does not carry.
    const Player* you = g_players;
    EXPECT_EQ(std::tuple(CountOf(g_players), you->colour, you->gold, you->race, you->next->race),
              std::tuple(3, 0x4080FFu, -35, RecordAt(g_races, 1), RecordAt(g_races, 2)));
    const Ship* armed = LastOf(g_worlds->ships);  // written first: what is inside a world comes back reversed
    EXPECT_EQ(std::tuple(armed->x, armed->y, armed->holdFull, armed->weaponReady, armed->equip[kHyperModule],
                         armed->pixels[19].x, armed->pixels[19].colour, armed->model, armed->weapon),
              std::tuple(1200, 1300, 0, 1, 1, 4, 0xFFFFFFu, RecordAt(you->race->shipModels, 2),
                         RecordAt(you->race->weapons, 2)));
    EXPECT_EQ(std::tuple(g_currentWorld, g_lastWorld, g_viewLeft, g_turn, g_worldSize, g_unstability, g_gameOver),
              std::tuple(g_worlds->next, g_worlds->next, 123, 17, 2000, 1, 0));
    EXPECT_EQ(std::tuple(options.unstabilityOption, g_selPlanet, g_selShip), std::tuple(1, nullptr, nullptr));
    for (const Player* p = g_players; p; p = p->next)
        for (int v : p->power) ASSERT_EQ(v, 0);
    // Saved, the inner lists in the order the load left them; again, the golden file. Each is a document step.
    EXPECT_EQ(SavedGameSize(), golden.size());
    ASSERT_EQ(SaveGameBytes(options), resaved);
    EXPECT_EQ(g_newDocCount, docCount + 2);
    ASSERT_TRUE(Load(resaved, &why)) << why;
    EXPECT_EQ(SaveGameBytes(options), golden);
    EXPECT_EQ(platform.pauses, 2);  // saving does not pause drawing
}

// In golden.zvq: 3 players of 20 bytes after their count; world 1 at 68 (star and number, 14 bytes), its 2
// ships from 86, its asteroid at 17062 (a ship landed at 17090), its planet at 25580 (2 docked ships from
// 25644); the 48 bytes of view and game values at 42798.
TEST_F(SavedGameTest, DamagedFilesAreRefusedWithTheReasonAndTheGameStays) {
    ASSERT_TRUE(Load(golden));
    constexpr std::size_t kShip = 86, kEnd = kSavedShipSize, kAsteroid = 17062, kPlanet = 25580, kValues = 42798;
    const std::string more = ", more than the rest of the file can hold", three = ", but the game has 3 players";
    const std::string ship1 = "ship 1 in the space of world 1 ", known = " (1 to 3 are known)";
    const std::string gamma = ", but the race \"Gamma\" has 4 ship models";  // race 1
    auto check = [&](const std::vector<std::uint8_t>& bytes, const std::string& reason) {
        const auto before = std::tuple(g_worlds, g_turn, platform.pauses);
        platform.messages.clear();
        std::string why;
        EXPECT_EQ(Load(bytes, &why), reason.empty()) << why;
        if (reason.empty()) return;
        EXPECT_EQ(why, reason);
        EXPECT_EQ(platform.messages, std::vector{"The saved game \"game.zvq\" cannot be loaded: " + reason + "."});
        EXPECT_EQ(std::tuple(g_worlds, g_turn, platform.pauses), before);  // nothing changed, drawing never paused
    };
    constexpr std::size_t kCut = SIZE_MAX;  // the file cut to (or padded with zeros up to) value bytes
    const struct {
        std::size_t at;
        std::int32_t value;
        std::string reason;  // empty: the file loads
    } cases[] = {
        {kCut, 0, "the file ends early, inside the players"},
        {kCut, 63, "it announces 3 players" + more},
        {kCut, 64, "the file ends early, inside the worlds"},
        {kCut, 68, "it announces 2 worlds" + more},
        {kCut, 17060, "the file ends early, inside the asteroids of world 1"},
        {kCut, 42845, "the file ends early, inside the view and game values"},
        {kCut, 42847, "it has 1 byte after the end of the game"},
        {0, -3, "it gives a negative number of players (-3)"},
        {0, 0x7FFFFFFF, "it announces 2147483647 players" + more},
        {20, 4, "player 1 is of race 4, but 3 races are loaded"},
        {40, 0, "player 2 is of race 0, but 3 races are loaded"},
        {64, 0, "it has no world"},
        {72, 1000001, "the star of world 1 lies far outside the map, at (1000001, 1000)"},
        {82, 6, "it announces 6 ships in the space of world 1" + more},
        {kShip, -1000001, ship1 + "lies far outside the map, at (-1000001, 1300)"},
        {kShip + 4, 1000001, ship1 + "lies far outside the map, at (1200, 1000001)"},
        {kShip, -1000000, ""},
        {kShip + 4, 1000000, ""},
        {kShip + kEnd - 4, 0, ship1 + "belongs to player 0" + three},
        {kShip + kEnd - 4, 4, ship1 + "belongs to player 4" + three},
        {kShip + kEnd - 12, 5, ship1 + "is of ship model 5" + gamma},
        {kShip + kEnd - 12, 4, ""},
        {kAsteroid + 8, 1000001, "asteroid 1 of world 1 lies far outside the map, at (400, 1000001)"},
        {kAsteroid + 20, 0, "asteroid 1 of world 1 moves at rate 0" + known},
        {kAsteroid + 20, 4, "asteroid 1 of world 1 moves at rate 4" + known},
        {kAsteroid + 20, 3, ""},
        {kAsteroid + 28 + kEnd - 12, 0, "ship 1 on asteroid 1 of world 1 is of ship model 0" + gamma},
        {kPlanet, -1000001, "planet 1 of world 1 lies far outside the map, at (-1000001, 1000)"},
        {kPlanet + 16, 0, "planet 1 of world 1 has orbit period 0" + known},
        {kPlanet + 16, 4, "planet 1 of world 1 has orbit period 4" + known},
        {kPlanet + 16, 1, ""},
        {kPlanet + 52, 0, "planet 1 of world 1 belongs to player 0" + three},
        {kPlanet + 52, 4, "planet 1 of world 1 belongs to player 4" + three},
        {kPlanet + 64 + kEnd - 4, 5, "ship 1 docked at planet 1 of world 1 belongs to player 5" + three},
        {kValues + 16, 0, "the world shown is world 0, but the game has 2 worlds"},
        {kValues + 16, 3, "the world shown is world 3, but the game has 2 worlds"},
        {kValues + 20, 7, "it says it has 7 worlds but holds 2"},
        {kValues + 20, 1, "it says it has 1 world but holds 2"},
        {kValues + 32, 50, "it says it has 50 players besides the neutral one but holds 2"},
        {kValues + 36, 0, "its turn is 0 (1 to 1000000 are known)"},
        {kValues + 36, 1000001, "its turn is 1000001 (1 to 1000000 are known)"},
        {kValues + 36, 1000000, ""},
        {kValues + 40, 999, "its map size is 999 (1000 to 3000 are known)"},
        {kValues + 40, 3001, "its map size is 3001 (1000 to 3000 are known)"},
        {kValues + 40, 3000, ""},
        {kValues + 44, -1, "its instability level is -1 (0 to 3 are known)"},
        {kValues + 44, 4, "its instability level is 4 (0 to 3 are known)"},
        {kValues + 44, 3, ""},
        {kValues + 44, 0, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.at) + " = " + std::to_string(c.value));
        std::vector<std::uint8_t> bytes = golden;
        c.at == kCut ? bytes.resize(static_cast<std::size_t>(c.value)) : SetLe32At(bytes, c.at, c.value);
        check(bytes, c.reason);
    }
    // One player and the neutral one are the least a game has.
    std::vector<std::uint8_t> lonely = golden;
    SetLe32At(lonely, 0, 1);
    lonely.erase(lonely.begin() + 24, lonely.begin() + 64);
    check(lonely, "it has 1 player; a game has at least two");
    std::vector<std::uint8_t> cut = golden;  // counts of one read "1 ship", not "1 ships"
    SetLe32At(cut, 82, 1);
    cut.resize(kShip + kEnd - 1);
    check(cut, "it announces 1 ship in the space of world 1" + more);
    for (std::size_t n = 1; n < golden.size(); n += 313)  // cut anywhere, refused
        ASSERT_FALSE(Load(std::vector<std::uint8_t>(golden.begin(), golden.begin() + static_cast<long>(n)))) << n;
}

}  // namespace
}  // namespace qv
