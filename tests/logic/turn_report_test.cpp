// The turn report: each kind of event that befalls the human player, only
// while a turn is being ended, its lines and summary; and victory.
#include <set>
#include <tuple>

#include "game_fixture.h"
#include "model/catalogue.h"
#include "model/saved_game.h"
#include "turn/computer_players.h"
#include "turn/computer_ships.h"
#include "turn/end_turn.h"
#include "turn/instability.h"
#include "turn/orbits.h"
#include "turn/removal.h"
#include "turn/turn_report.h"

namespace qv {
namespace {

class TurnReportTest : public testing::HandBuiltGameTest {
protected:
    void SetUp() override {
        HandBuiltGameTest::SetUp();
        model = AddModel(red, 100, 200, 100, 0, 500);
        model->name = "Mule";
        cargo = AddModel(red, 100, 200, 100, 3, 500);
        gun = AddWeapon(red, 300, 30, 31, 100);  // always 30
        g_worldCount = 2;
        OpenTurnReport();
    }
    void TearDown() override {
        ClearTurnReport();
        HandBuiltGameTest::TearDown();
    }
    std::vector<TurnEventKind> Kinds() const {
        std::vector<TurnEventKind> kinds;
        for (const TurnEvent& e : LastTurnEvents()) kinds.push_back(e.kind);
        return kinds;
    }
    ShipModel *model = nullptr, *cargo = nullptr;
    Weapon* gun = nullptr;
};

using K = TurnEventKind;

TEST_F(TurnReportTest, ShotsAndCapturesThatConcernTheHumanAreRecordedWithWhoAndHowMuch) {
    Ship* raider = AddShip(world, computer, model, 500, 500, gun);
    Ship* mine = AddShip(world, human, model, 520, 500, gun);
    Ship* frail = AddShip(world, human, model, 540, 500);
    frail->shieldPoints = 20;
    Ship* foreign = AddShip(world, rival, model, 560, 500, gun);
    ShipFiresAt(world, raider, mine);     // 200 -> 170
    ShipFiresAt(world, raider, frail);    // destroyed
    ShipFiresAt(world, foreign, raider);  // not the human's business
    Planet* lost = AddPlanet(other, human, 600, 600);
    lost->shieldPoints = 120;
    BombardPlanet(other, raider, lost);  // 90: captured
    Planet* ruined = AddPlanet(world, human, 700, 600);
    ruined->shieldPoints = 10;
    Dock(ruined, human, model);
    Dock(ruined, human, model);
    BombardPlanet(world, raider, ruined);  // destroyed with its two docked ships
    Planet* taken = AddPlanet(other, rival, 800, 600);
    taken->shieldPoints = 110;
    BombardPlanet(other, mine, taken);  // an autopilot turn's capture
    Planet* fort = AddPlanet(world, computer, 900, 900, gun);
    fort->weaponReady = 1;
    Ship* near = AddShip(world, human, model, 950, 900);
    ComputerPlanetsAct(world, computer);  // the planet's defence hits the human's ship

    ASSERT_EQ(Kinds(), (std::vector<K>{K::ShipDamaged, K::ShipDestroyed, K::PlanetLost, K::PlanetDestroyed,
                                       K::PlanetCaptured, K::ShipDamaged}));
    const auto& e = LastTurnEvents();
    using Fields = std::tuple<int, int, int, int, int, std::string>;  // world, x, y, by, amount, model
    const std::vector<Fields> expected = {{1, 520, 500, 2, 30, "Mule"}, {1, 540, 500, 2, 0, "Mule"},
                                          {2, 600, 600, 2, 0, ""},      {1, 700, 600, 2, 2, ""},
                                          {2, 800, 600, 3, 0, ""},      {1, 950, 900, 2, 30, "Mule"}};
    for (std::size_t i = 0; i < e.size(); ++i)
        EXPECT_EQ(Fields(e[i].world, e[i].x, e[i].y, e[i].by, e[i].amount, e[i].model), expected[i]) << i;
    EXPECT_EQ(near->shieldPoints, 170);
    EXPECT_EQ(DescribeEvent(e[0]), "World 1: your Mule hit by Computer 1, 30 shield points lost");
    EXPECT_EQ(DescribeEvent(e[1]), "World 1: your Mule destroyed by Computer 1");
    EXPECT_EQ(DescribeEvent(e[3]), "World 1: your planet destroyed by Computer 1, 2 docked ships lost with it");
    EXPECT_EQ(DescribeEvent(e[4]), "World 2: a planet of Computer 2 captured");
    EXPECT_EQ(SummariseEvents(e), "3 ships lost, 2 ships hit, 1 planet lost, 1 planet destroyed, 1 planet captured");

    // Outside a turn (the player's own orders) nothing is recorded.
    CloseTurnReport();
    ShipFiresAt(world, raider, mine);
    EXPECT_EQ(LastTurnEvents().size(), 6u);
    OpenTurnReport();
    EXPECT_TRUE(LastTurnEvents().empty());
    EXPECT_EQ(SummariseEvents(LastTurnEvents()), "");
}

TEST_F(TurnReportTest, CollisionsAndOreUnloadedAtAHumanPlanet) {
    Planet* home = AddPlanet(world, human, 1500, 1000);
    Planet* theirs = AddPlanet(world, computer, 1500, 1000);
    home->orbitPeriod = theirs->orbitPeriod = 1;
    Dock(home, human, model);
    Asteroid* a = AddAsteroid(world, 300, 300, 10);
    AddAsteroid(world, 305, 300, 10);
    Land(a, human, model);
    Land(a, computer, model);
    Land(a, human, model);
    MoveWorldBodies(world);
    ASSERT_EQ(Kinds(), (std::vector<K>{K::Collision, K::Collision}));
    EXPECT_EQ(DescribeEvent(LastTurnEvents()[0]),
              "World 1: your planet destroyed in a collision, 1 docked ship lost with it");
    EXPECT_EQ(DescribeEvent(LastTurnEvents()[1]),
              "World 1: an asteroid with 2 ships of yours destroyed in a collision");

    OpenTurnReport();
    Planet* base = AddPlanet(other, human, 400, 400);
    Ship* hauler = Dock(base, human, cargo);
    hauler->holdFull = 1;
    human->gold = 0;
    ComputerPlanetsAct(other, human);
    ASSERT_EQ(Kinds(), std::vector<K>{K::OreUnloaded});
    const TurnEvent& ore = LastTurnEvents()[0];
    EXPECT_GE(ore.amount, 3 * kOrePerHold);
    EXPECT_EQ(std::make_tuple(ore.world, ore.x, ore.y, ore.amount), std::make_tuple(2, 400, 400, human->gold));
}

TEST_F(TurnReportTest, InstabilityMovesEveryHumanShipItThrowsAndOnlyThose) {
    // Ships every 100 units: each region catches some.
    std::multiset<std::tuple<int, int, int>> places;
    for (int x = 100; x < 2000; x += 100)
        for (int y = 100; y < 2000; y += 100) {
            AddShip(world, (x + y) % 300 ? human : computer, model, x, y);
            if ((x + y) % 300) places.insert({1, x, y});
        }
    for (int turn = 0; turn < 5; ++turn) InstabilityEvents(1);
    ASSERT_FALSE(LastTurnEvents().empty());
    for (const TurnEvent& e : LastTurnEvents()) {
        ASSERT_EQ(e.kind, K::BodyMoved);
        const std::string to = e.toWorld == e.world ? "to another place of this world"  // a region may land at home
                                                    : "into world " + std::to_string(e.toWorld);
        EXPECT_TRUE(DescribeEvent(e).ends_with(" thrown " + to)) << DescribeEvent(e);
        ASSERT_EQ(places.count({e.world, e.x, e.y}), 1u) << e.x << "," << e.y;
        places.erase(places.find({e.world, e.x, e.y}));
        places.insert({e.toWorld, e.toX, e.toY});
    }
    std::multiset<std::tuple<int, int, int>> now;
    for (World* w = g_worlds; w; w = w->next)
        for (Ship* s = w->ships; s; s = s->next)
            if (s->owner == human) now.insert({w->number, s->x, s->y});
    EXPECT_EQ(now, places);
}

TEST_F(TurnReportTest, EndTurnReplacesTheReportAndFindsVictoryWhenNoComputerHoldsAnything) {
    AddPlanet(world, human, 400, 400);
    Planet* last = AddPlanet(other, computer, 400, 400);
    AddPlanet(other, neutral, 1600, 1600);  // the neutral player does not count
    g_unstability = kNoInstability;
    Ship* raider = AddShip(world, computer, model, 10, 10, gun);
    Ship* frail = AddShip(world, human, model, 20, 20);
    frail->shieldPoints = 5;
    ShipFiresAt(world, raider, frail);
    ASSERT_EQ(LastTurnEvents().size(), 1u);
    SaveGameBytes(NewGameOptions{});  // an autosave keeps the report; another game drops it
    EXPECT_EQ(LastTurnEvents().size(), 1u);
    ++g_gameNumber;
    EXPECT_TRUE(LastTurnEvents().empty());
    OnEndTurn();
    EXPECT_TRUE(LastTurnEvents().empty());  // a new report for the turn: nothing befell the human
    EXPECT_EQ(g_victory, 0);                // the computer still has a planet and a ship
    ShipFiresAt(world, raider, AddShip(world, human, model, raider->x, raider->y));
    EXPECT_TRUE(LastTurnEvents().empty());  // closed with the turn
    last->owner = neutral;
    computer->planetCount = 0;
    DestroyShip(world, raider);
    OnEndTurn();
    EXPECT_EQ(std::make_tuple(computer->shipCount, rival->planetCount, int(g_victory), int(g_gameOver)),
              std::make_tuple(0, 0, 1, 0));
    // A lost game is no victory.
    human->planetCount = 0;
    human->shipCount = 0;
    OnEndTurn();
    EXPECT_EQ(std::make_pair(int(g_victory), int(g_gameOver)), std::make_pair(0, 1));
}

}  // namespace
}  // namespace qv
