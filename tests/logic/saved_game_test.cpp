// Saving and loading games: the byte layout and its size, the order of the
// lists after loading, and refused files leaving the running game alone.
#include <cstring>
#include <fstream>
#include <iterator>

#include "game_fixture.h"
#include "model/saved_game.h"
#include "support/bytes.h"

namespace qv {
namespace {

using testing::GameTest;

using testsupport::Le32At;
using testsupport::SetLe32At;

class SavedGameTest : public GameTest {
protected:
    // A small game with ships in open space, docked and landed, armed and
    // unarmed, and an armed planet.
    void SetUp() override {
        GameTest::SetUp();
        NewGameOptions chosen;
        chosen.worldsQuantityOption = 2;
        chosen.worldsSizeOption = 4;
        chosen.resourcesOption = 2;
        chosen.aiPlayersOption = 2;
        chosen.unstabilityOption = 2;
        NewGame(chosen, 11);
        Player* human = g_players;
        Player* computer = g_players->next;
        World* second = g_worlds->next;
        InsertAtHead(g_worlds->ships, MakeShip(human, 1, 2, 100, 200));
        InsertAtHead(g_worlds->ships, MakeShip(computer, 2, 0, 300, 400));
        InsertAtHead(g_worlds->ships, MakeShip(human, 2, 3, 500, 600));
        InsertAtHead(second->ships, MakeShip(computer, 1, 1, 700, 800));
        InsertAtHead(g_selPlanet->docks, MakeShip(human, 1, 0, 0, 0));
        InsertAtHead(g_selPlanet->docks, MakeShip(human, 2, 1, 0, 0));
        InsertAtHead(second->asteroids->ships, MakeShip(computer, 2, 2, 0, 0));
        InsertAtHead(second->asteroids->ships, MakeShip(human, 1, 3, 0, 0));
        g_selPlanet->weapon = RecordAt(human->race->weapons, 2);
        g_selPlanet->weaponReady = 1;
        g_selPlanet->equip[kPlanetRaceWeapon2] = 1;
        g_selPlanet->equip[kProtectiveShield] = 1;
        g_selPlanet->shieldPoints = 720;
        human->gold = -35;  // gold may go negative
        g_turn = 17;
        g_currentWorld = second;
        g_viewLeft = 123;
        g_viewRight = 923;
        g_viewTop = 45;
        g_viewBottom = 645;
    }

    // What the running game looks like, to tell that nothing changed.
    struct Snapshot {
        World* worlds;
        World* current;
        Player* players;
        Planet* selPlanet;
        Ship* selShip;
        int left, top, right, bottom, turn, docCount, unstability;
        bool operator==(const Snapshot&) const = default;
    };
    Snapshot Take() const {
        return {g_worlds, g_currentWorld, g_players, g_selPlanet, g_selShip, g_viewLeft, g_viewTop,
                g_viewRight, g_viewBottom, g_turn, g_newDocCount, g_unstability};
    }

    bool Load(const std::vector<std::uint8_t>& bytes, std::string* why = nullptr) {
        return LoadGameBytes(bytes.data(), bytes.size(), "game.zvq", options, why);
    }
};

// Fields of every record, world by world, inner lists reversed when asked.
std::vector<std::string> Describe(bool reverseInner) {
    std::vector<std::string> out;
    auto ship = [&](const Ship* s) {
        std::string d = "ship " + std::to_string(s->x) + "," + std::to_string(s->y) + " owner " +
                        std::to_string(IndexOf(g_players, s->owner)) + " model " + s->model->name + " weapon " +
                        (s->weapon ? s->weapon->name : "-") + " " + std::to_string(s->actionPoints) + " " +
                        std::to_string(s->shieldPoints) + " " + std::to_string(s->viewPoints) + " " +
                        std::to_string(s->holds) + " " + std::to_string(s->holdFull) + " " +
                        std::to_string(s->weaponReady) + " eq";
        for (int e : s->equip) d += std::to_string(e);
        d += " px" + std::to_string(s->pixels[0].colour) + "," + std::to_string(s->pixels[699].colour) + "," +
             std::to_string(s->pixels[699].x) + "," + std::to_string(s->pixels[699].y);
        out.push_back(d);
    };
    auto ships = [&](Ship* head) {
        std::vector<const Ship*> v;
        for (Ship* s = head; s; s = s->next) v.push_back(s);
        if (reverseInner) std::reverse(v.begin(), v.end());
        for (const Ship* s : v) ship(s);
    };
    for (const Player* p = g_players; p; p = p->next)
        out.push_back("player " + std::to_string(p->colour) + " " + std::to_string(p->gold) + " " +
                      std::to_string(p->planetCount) + " " + std::to_string(p->shipCount) + " " + p->race->name);
    for (World* w = g_worlds; w; w = w->next) {
        out.push_back("world " + std::to_string(w->number) + " star " + std::to_string(w->star->kind) + " " +
                      std::to_string(w->star->x) + "," + std::to_string(w->star->y));
        ships(w->ships);
        std::vector<Asteroid*> as;
        for (Asteroid* a = w->asteroids; a; a = a->next) as.push_back(a);
        if (reverseInner) std::reverse(as.begin(), as.end());
        for (Asteroid* a : as) {
            out.push_back("asteroid " + std::to_string(a->kind) + " " + std::to_string(a->x) + "," +
                          std::to_string(a->y) + " " + std::to_string(a->resources) + " " +
                          std::to_string(a->motion) + " " + std::to_string(a->motionRate));
            ships(a->ships);
        }
        std::vector<Planet*> ps;
        for (Planet* p = w->planets; p; p = p->next) ps.push_back(p);
        if (reverseInner) std::reverse(ps.begin(), ps.end());
        for (Planet* p : ps) {
            std::string d = "planet " + std::to_string(p->x) + "," + std::to_string(p->y) + " " +
                            std::to_string(p->picture) + " " + std::to_string(p->orbitDirection) + " " +
                            std::to_string(p->orbitPeriod) + " " + std::to_string(p->shieldPoints) + " " +
                            std::to_string(p->reserved) + " owner " + std::to_string(IndexOf(g_players, p->owner)) +
                            " weapon " + (p->weapon ? p->weapon->name : "-") + " eq";
            for (int e : p->equip) d += std::to_string(e);
            out.push_back(d);
            ships(p->docks);
        }
    }
    return out;
}

std::vector<std::uint8_t> Fixture(const char* name) {
    std::ifstream in(std::string(QUORVANE_TEST_FIXTURES) + "/saved_games/" + name, std::ios::binary);
    return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), {});
}

// golden.zvq is written field by field from the file's layout by
// tests/fixtures/saved_games/make_golden.py, with no code of the game; see
// there for the game it holds.
TEST_F(SavedGameTest, TheGoldenFileLoadsFieldByFieldAndSavesBackInTheLayout) {
    const std::vector<std::uint8_t> golden = Fixture("golden.zvq");
    const std::vector<std::uint8_t> resaved = Fixture("golden-resaved.zvq");
    ASSERT_EQ(golden.size(), 42846u);
    const int docCount = g_newDocCount;
    const int pauses = platform.pauses;
    g_gameOver = 1;
    std::string why;
    ASSERT_TRUE(Load(golden, &why)) << why;
    // The drawing thread was kept off the lists while they were replaced.
    EXPECT_EQ(platform.pauses, pauses + 1);
    EXPECT_EQ(platform.resumes, platform.pauses);

    // Players in file order, each with its race by position.
    ASSERT_EQ(CountOf(g_players), 3);
    const Player* you = g_players;
    const Player* computer = you->next;
    EXPECT_EQ(you->colour, 0x4080FFu);
    EXPECT_EQ(you->gold, -35);
    EXPECT_EQ(you->shipCount, 4);
    EXPECT_EQ(you->race, RecordAt(g_races, 1));
    EXPECT_EQ(computer->gold, 2500);
    EXPECT_EQ(computer->race, RecordAt(g_races, 2));
    EXPECT_EQ(LastOf(g_players)->colour, 0xFFFFFFu);
    for (const Player* p = g_players; p; p = p->next)
        for (int v : p->power) ASSERT_EQ(v, 0);

    // Worlds in file order; what is inside a world comes back reversed.
    ASSERT_EQ(CountOf(g_worlds), 2);
    World* first = g_worlds;
    EXPECT_EQ(first->number, 1);
    EXPECT_EQ(first->star->kind, 1);
    EXPECT_EQ(first->star->x, 1000);
    ASSERT_EQ(CountOf(first->ships), 2);
    const Ship* armed = first->ships->next;  // written first, so now last
    EXPECT_EQ(armed->x, 1200);
    EXPECT_EQ(armed->y, 1300);
    EXPECT_EQ(armed->actionPoints, 150);
    EXPECT_EQ(armed->weaponReady, 1);
    EXPECT_EQ(armed->shieldPoints, 210);
    EXPECT_EQ(armed->viewPoints, 90);
    EXPECT_EQ(armed->equip[kAccelerator], 1);
    EXPECT_EQ(armed->equip[kHyperModule], 1);
    EXPECT_EQ(armed->equip[kShipRaceWeapon2], 1);
    EXPECT_EQ(armed->model, RecordAt(you->race->shipModels, 2));
    EXPECT_EQ(armed->weapon, RecordAt(you->race->weapons, 2));
    EXPECT_EQ(armed->owner, you);
    EXPECT_EQ(armed->pixels[19].x, 4);
    EXPECT_EQ(armed->pixels[19].y, 3);
    EXPECT_EQ(armed->pixels[19].colour, 0xFFFFFFu);
    EXPECT_EQ(armed->pixels[20].colour, 0u);
    const Ship* cargo = first->ships;
    EXPECT_EQ(cargo->owner, computer);
    EXPECT_EQ(cargo->model, RecordAt(computer->race->shipModels, 1));
    EXPECT_EQ(cargo->weapon, nullptr);
    EXPECT_EQ(cargo->holds, 3);
    EXPECT_EQ(cargo->holdFull, 1);

    ASSERT_NE(first->asteroids, nullptr);
    EXPECT_EQ(first->asteroids->resources, 350);
    EXPECT_EQ(first->asteroids->motion, 4);
    EXPECT_EQ(first->asteroids->motionRate, 2);
    ASSERT_EQ(CountOf(first->asteroids->ships), 1);
    EXPECT_EQ(first->asteroids->ships->model, RecordAt(you->race->shipModels, 3));

    const Planet* home = first->planets;
    ASSERT_NE(home, nullptr);
    EXPECT_EQ(home->shieldPoints, 720);
    EXPECT_EQ(home->picture, 3);
    EXPECT_EQ(home->orbitDirection, 1);
    EXPECT_EQ(home->orbitPeriod, 2);
    EXPECT_EQ(home->equip[kProtectiveShield], 1);
    EXPECT_EQ(home->equip[kPlanetRaceWeapon2], 1);
    EXPECT_EQ(home->owner, you);
    EXPECT_EQ(home->weapon, RecordAt(you->race->weapons, 2));
    ASSERT_EQ(CountOf(home->docks), 2);
    EXPECT_EQ(home->docks->shieldPoints, 90);        // written second
    EXPECT_EQ(home->docks->next->shieldPoints, 300);  // written first
    EXPECT_EQ(home->docks->next->equip[kNuclearMissile], 1);

    World* second = first->next;
    EXPECT_EQ(second->number, 2);
    ASSERT_EQ(CountOf(second->planets), 2);
    EXPECT_EQ(second->planets->owner, LastOf(g_players));
    EXPECT_EQ(second->planets->next->owner, computer);
    EXPECT_EQ(second->planets->next->weapon, nullptr);

    // The view and game values.
    EXPECT_EQ(g_currentWorld, second);
    EXPECT_EQ(g_lastWorld, second);
    EXPECT_EQ(g_viewLeft, 123);
    EXPECT_EQ(g_viewRight, 923);
    EXPECT_EQ(g_viewTop, 45);
    EXPECT_EQ(g_viewBottom, 645);
    EXPECT_EQ(g_worldCount, 2);
    EXPECT_EQ(g_asteroidTotal, 2);
    EXPECT_EQ(g_playerCount, 2);
    EXPECT_EQ(g_turn, 17);
    EXPECT_EQ(g_worldSize, 2000);
    EXPECT_EQ(options.unstabilityOption, 1);
    EXPECT_EQ(g_unstability, 1);
    EXPECT_EQ(g_gameOver, 0);
    EXPECT_EQ(g_newDocCount, docCount + 1);
    EXPECT_EQ(g_selPlanet, nullptr);
    EXPECT_EQ(g_selShip, nullptr);
    EXPECT_TRUE(platform.messages.empty());

    // Saved again, it is the same game with the inner lists in the order the
    // load left them; loaded and saved once more, it is the golden file.
    EXPECT_EQ(SavedGameSize(), golden.size());
    ASSERT_EQ(SaveGameBytes(options), resaved);
    ASSERT_TRUE(Load(resaved, &why)) << why;
    EXPECT_EQ(SaveGameBytes(options), golden);
}

TEST_F(SavedGameTest, OrbitPeriodsAndDriftRatesOutsideOneToThreeAreRefused) {
    const std::vector<std::uint8_t> golden = Fixture("golden.zvq");
    // In golden.zvq, after 3 players (64 bytes with their count), the world
    // count, world 1's star and number (14 bytes) and its 2 ships in space,
    // stands world 1's asteroid; after its landed ship, world 1's planet.
    const std::size_t asteroid = 64 + 4 + 14 + 4 + 2 * kSavedShipSize + 4;
    const std::size_t planet = asteroid + 24 + 4 + kSavedShipSize + 4;
    const std::size_t rateAt = asteroid + 20, periodAt = planet + 16;
    ASSERT_EQ(Le32At(golden, rateAt), 2);
    ASSERT_EQ(Le32At(golden, periodAt), 2);
    for (const std::size_t at : {rateAt, periodAt}) {
        for (const std::int32_t value : {0, 4}) {
            const Snapshot before = Take();
            std::vector<std::uint8_t> bytes = golden;
            SetLe32At(bytes, at, value);
            std::string why;
            EXPECT_FALSE(Load(bytes, &why)) << at << " " << value;
            EXPECT_NE(why.find(std::to_string(value) + " (1 to 3 are known)"), std::string::npos) << why;
            ASSERT_TRUE(Take() == before);
        }
        std::vector<std::uint8_t> bytes = golden;
        SetLe32At(bytes, at, 3);
        std::string why;
        EXPECT_TRUE(Load(bytes, &why)) << why;
    }
}

TEST_F(SavedGameTest, WeaponIndexesOfNoneOrPastTheListLoadAsNoWeapon) {
    std::vector<std::uint8_t> bytes = SaveGameBytes(options);
    // The last ship of the first world's open space is written first; its
    // weapon index sits 8 bytes before the end of its entry.
    const std::size_t firstShip = 4 + 20 * static_cast<std::size_t>(CountOf(g_players)) + 4 + 14 + 4;
    const std::size_t weaponAt = firstShip + kSavedShipSize - 8;
    ASSERT_GT(Le32At(bytes, weaponAt), 0);
    SetLe32At(bytes, weaponAt, 99);
    ASSERT_TRUE(Load(bytes));
    EXPECT_EQ(LastOf(g_worlds->ships)->weapon, nullptr);
    EXPECT_NE(LastOf(g_worlds->ships)->model, nullptr);
}

TEST_F(SavedGameTest, AFileCutAnywhereIsRefusedAndTheRunningGameStays) {
    const std::vector<std::uint8_t> whole = SaveGameBytes(options);
    const Snapshot before = Take();
    const std::vector<std::string> records = Describe(false);
    std::vector<std::size_t> lengths;
    for (std::size_t n = 0; n < 300; ++n) lengths.push_back(n);
    for (std::size_t n = 300; n < whole.size(); n += 997) lengths.push_back(n);
    for (std::size_t n = whole.size() - 60; n < whole.size(); ++n) lengths.push_back(n);
    for (std::size_t n : lengths) {
        std::vector<std::uint8_t> part(whole.begin(), whole.begin() + static_cast<long>(n));
        std::string why;
        ASSERT_FALSE(Load(part, &why)) << "length " << n;
        EXPECT_FALSE(why.empty());
        ASSERT_TRUE(Take() == before) << "length " << n;
    }
    EXPECT_EQ(Describe(false), records);
    EXPECT_EQ(platform.messages.size(), lengths.size());
    EXPECT_EQ(platform.pauses, 1);  // drawing was never paused for a refused file
    EXPECT_EQ(platform.messages.back().rfind("The saved game \"game.zvq\" cannot be loaded: ", 0), 0u);
}

TEST_F(SavedGameTest, ForeignCountsAndIndexesAreRefusedWithTheReason) {
    const std::vector<std::uint8_t> whole = SaveGameBytes(options);
    const Snapshot before = Take();
    const int players = CountOf(g_players);
    const std::size_t worldsAt = 4 + 20 * static_cast<std::size_t>(players);
    const std::size_t firstShip = worldsAt + 4 + 14 + 4;
    const std::size_t ship = kSavedShipSize;
    const std::size_t values = whole.size() - 48;
    struct Case {
        const char* what;
        std::size_t at;
        std::int32_t value;
        const char* reason;
    } cases[] = {
        {"huge player count", 0, 0x7FFFFFFF, "more than the rest of the file can hold"},
        {"negative player count", 0, -3, "negative number of players"},
        {"race past the list", 4 + 16, 4, "is of race 4, but 3 races are loaded"},
        {"race zero", 4 + 20 + 16, 0, "is of race 0"},
        {"huge world count", worldsAt, 1000000, "more than the rest of the file can hold"},
        {"huge ship count", worldsAt + 4 + 14, 1000, "more than the rest of the file can hold"},
        {"ship owner zero", firstShip + ship - 4, 0, "belongs to player 0"},
        {"ship owner past the list", firstShip + ship - 4, players + 1, "but the game has"},
        {"ship model past the list", firstShip + ship - 12, 9, "is of ship model 9"},
        {"ship model zero", firstShip + ship - 12, 0, "is of ship model 0"},
        {"current world zero", values + 16, 0, "the world shown is world 0"},
        {"current world past the list", values + 16, 99, "the world shown is world 99"},
        {"world count unlike the worlds", values + 20, 7, "says it has 7 worlds"},
        {"player count unlike the players", values + 32, 50, "says it has 50 players"},
        {"turn zero", values + 36, 0, "its turn is 0"},
        {"turn far beyond any game", values + 36, 2000000000, "its turn is 2000000000"},
        {"map size zero", values + 40, 0, "map size is 0"},
        {"map size too small for the view", values + 40, 700, "map size is 700"},
        {"ship far outside the map", firstShip, -2000000, "lies far outside the map"},
        {"unknown instability", values + 44, 4, "instability level is 4"},
    };
    for (const Case& c : cases) {
        std::vector<std::uint8_t> bytes = whole;
        SetLe32At(bytes, c.at, c.value);
        std::string why;
        EXPECT_FALSE(Load(bytes, &why)) << c.what;
        EXPECT_NE(why.find(c.reason), std::string::npos) << c.what << ": " << why;
        ASSERT_TRUE(Take() == before) << c.what;
    }
    std::vector<std::uint8_t> longer = whole;
    longer.push_back(0);
    std::string why;
    EXPECT_FALSE(Load(longer, &why));
    EXPECT_NE(why.find("1 bytes after the end"), std::string::npos) << why;
    EXPECT_TRUE(Take() == before);
}

TEST_F(SavedGameTest, SavingCountsAsADocumentStepAndOnlyReads) {
    const int docCount = g_newDocCount;
    const std::vector<std::string> records = Describe(false);
    const std::vector<std::uint8_t> a = SaveGameBytes(options);
    const std::vector<std::uint8_t> b = SaveGameBytes(options);
    EXPECT_EQ(a, b);
    EXPECT_EQ(g_newDocCount, docCount + 2);
    EXPECT_EQ(Describe(false), records);
    EXPECT_EQ(platform.pauses, 1);  // saving does not pause drawing
}

}  // namespace
}  // namespace qv
