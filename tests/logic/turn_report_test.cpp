// The turn report: each kind of event that befalls the human player, only while a turn is being ended; and victory.
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

using Strings = std::vector<std::string>;

class TurnReportTest : public testing::HandBuiltGameTest {
protected:
    void SetUp() override {
        HandBuiltGameTest::SetUp();
        model = AddModel(red, 100, 200, 100, 0, 500);
        model->name = "Mule";
        gun = AddWeapon(red, 300, 30, 31, 100);  // always 30
        g_worldCount = 2;
        OpenTurnReport();
    }
    void TearDown() override {
        ClearTurnReport();
        HandBuiltGameTest::TearDown();
    }
    static Strings Lines() {  // each event's place and line
        Strings lines;
        for (const TurnEvent& e : LastTurnEvents())
            lines.push_back(std::to_string(e.x) + "," + std::to_string(e.y) + " " + DescribeEvent(e));
        return lines;
    }
    ShipModel* model = nullptr;
    Weapon* gun = nullptr;
};

TEST_F(TurnReportTest, ShotsAndCapturesThatConcernTheHumanAreRecordedWithWhoAndHowMuch) {
    Ship* raider = AddShip(world, computer, model, 500, 500, gun);
    Ship* mine = AddShip(world, human, model, 520, 500, gun);
    Ship* frail = AddShip(world, human, model, 540, 500);
    frail->shieldPoints = 20;
    ShipFiresAt(world, raider, mine);                                         // 200 -> 170
    ShipFiresAt(world, raider, frail);                                        // destroyed
    ShipFiresAt(world, AddShip(world, rival, model, 560, 500, gun), raider);  // not the human's business
    Planet* lost = AddPlanet(other, human, 600, 600);
    lost->shieldPoints = 120;
    BombardPlanet(other, raider, lost);  // 90: captured
    Planet* ruined = AddPlanet(world, human, 700, 600);
    ruined->shieldPoints = 10;
    for (int i = 0; i < 2; ++i) Dock(ruined, human, model);
    BombardPlanet(world, raider, ruined);  // destroyed with its two docked ships
    Planet* taken = AddPlanet(other, rival, 800, 600);
    taken->shieldPoints = 110;
    BombardPlanet(other, mine, taken);  // an autopilot turn's capture
    AddPlanet(world, computer, 900, 900, gun)->weaponReady = 1;
    AddShip(world, human, model, 950, 900);
    ComputerPlanetsAct(world, computer);  // the planet's defence hits the human's ship
    CloseTurnReport();                    // outside a turn (the player's own orders) nothing is recorded
    ShipFiresAt(world, raider, mine);

    EXPECT_EQ(Lines(), (Strings{"520,500 World 1: your Mule hit by Computer 1, 30 shield points lost",
                                "540,500 World 1: your Mule destroyed by Computer 1",
                                "600,600 World 2: your planet captured by Computer 1",
                                "700,600 World 1: your planet destroyed by Computer 1, 2 docked ships lost with it",
                                "800,600 World 2: a planet of Computer 2 captured",
                                "950,900 World 1: your Mule hit by Computer 1, 30 shield points lost"}));
    EXPECT_EQ(SummariseEvents(LastTurnEvents()),
              "3 ships lost, 2 ships hit, 1 planet lost, 1 planet destroyed, 1 planet captured");
    OpenTurnReport();
    EXPECT_EQ(SummariseEvents(LastTurnEvents()), "");
}

TEST_F(TurnReportTest, CollisionsAndOreUnloadedAtAHumanPlanet) {
    Planet* home = AddPlanet(world, human, 1000, 1000);  // on the star: they turn where they are
    AddPlanet(world, computer, 1000, 1000)->orbitPeriod = home->orbitPeriod = 1;
    Dock(home, human, model);
    Asteroid* a = AddAsteroid(world, 300, 300, 10);
    AddAsteroid(world, 305, 300, 10);
    for (Player* p : {human, computer, human}) Land(a, p, model);
    MoveWorldBodies(world);
    Dock(AddPlanet(other, human, 400, 400), human, AddModel(red, 100, 200, 100, 3, 500))->holdFull = 1;
    human->gold = 0;
    ComputerPlanetsAct(other, human);
    EXPECT_GE(human->gold, 3 * kOrePerHold);
    EXPECT_EQ(Lines(),
              (Strings{"1000,1000 World 1: your planet destroyed in a collision, 1 docked ship lost with it",
                       "300,300 World 1: an asteroid with 2 ships of yours destroyed in a collision",
                       "400,400 World 2: ore unloaded from your ship, " + std::to_string(human->gold) + " gold"}));
}

TEST_F(TurnReportTest, InstabilityMovesEveryHumanShipItThrowsAndOnlyThose) {
    std::multiset<std::tuple<int, int, int>> places;  // ships every 100 units: each region catches some
    for (int x = 100; x < 2000; x += 100)
        for (int y = 100; y < 2000; y += 100)
            if (AddShip(world, (x + y) % 300 ? human : computer, model, x, y)->owner == human) places.insert({1, x, y});
    for (int turn = 0; turn < 5; ++turn) InstabilityEvents(1);
    ASSERT_FALSE(LastTurnEvents().empty());
    for (const TurnEvent& e : LastTurnEvents()) {
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
    AddPlanet(other, neutral, 1600, 1600);  // the neutral player does not count
    g_unstability = kNoInstability;
    Ship* raider = AddShip(world, computer, model, 10, 10, gun);
    Ship* frail = AddShip(world, human, model, 20, 20);
    frail->shieldPoints = 5;  // destroyed: nothing left for the computer's turn to hit
    ShipFiresAt(world, raider, frail);
    SaveGameBytes(NewGameOptions{});  // an autosave keeps the report; another game drops it
    EXPECT_EQ(LastTurnEvents().size(), 1u);
    ++g_gameNumber;
    EXPECT_TRUE(LastTurnEvents().empty());
    OnEndTurn();  // a new report for the turn, where nothing befell the human, closed with the turn
    ShipFiresAt(world, raider, AddShip(world, human, model, raider->x, raider->y));
    EXPECT_TRUE(LastTurnEvents().empty());
    EXPECT_EQ(g_victory, 0);  // the computer still has a ship
    DestroyShip(world, raider);
    OnEndTurn();
    EXPECT_EQ(std::make_tuple(computer->shipCount, rival->planetCount, int(g_victory), int(g_gameOver)),
              std::make_tuple(0, 0, 1, 0));
    human->planetCount = human->shipCount = 0;  // a lost game is no victory
    OnEndTurn();
    EXPECT_EQ(std::make_pair(int(g_victory), int(g_gameOver)), std::make_pair(0, 1));
}

}  // namespace
}  // namespace qv
