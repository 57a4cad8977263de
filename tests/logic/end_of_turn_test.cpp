// End Turn: the "Computer move" box first, income and the bank, renewal,
// the power record, the lost game, and the consistency check.
#include "game_fixture.h"
#include "turn/consistency.h"
#include "turn/end_turn.h"

namespace qv {
namespace {

// Notes, at each frame asked for, whether the box is up and the cursor.
class TurnWatcher : public HeadlessPlatform {
public:
    void waitForFrame() override { frames.emplace_back(g_computerMove, cursor); }
    std::vector<std::pair<int, int>> frames;
};

class EndTurnTest : public testing::GameTest {
protected:
    void SetUp() override {
        GameTest::SetUp();
        NewGame({2, 2, 1, 3, 2}, 4);  // few worlds, medium size, no instability, few players
        human = g_players;
    }
    Player* human = nullptr;
};

TEST_F(EndTurnTest, TheBoxComesFirstThenPowerIsRecordedAndIncomeIsAHundredAPlanetAndTheBankPays150) {
    TurnWatcher watcher;
    SetPlatform(&watcher);
    g_selPlanet->equip[kGlobalBankSystem] = 1;
    LastOf(g_players)->planetCount = 2;  // the neutral player earns too
    const int gold = human->gold;
    OnEndTurn();
    ASSERT_FALSE(watcher.frames.empty());
    EXPECT_EQ(watcher.frames.front(), (std::pair<int, int>{1, kCursorWait}));
    EXPECT_EQ(std::vector<int>({g_computerMove, watcher.cursor, g_turn, g_gameOver}),
              std::vector<int>({0, kCursorArrow, 2, 0}));
    EXPECT_EQ(human->power[1], 1000 + gold);  // one planet, no ship, before the income
    EXPECT_EQ(human->gold, gold + 100 + 150);
    EXPECT_EQ(std::make_pair(LastOf(g_players)->gold, LastOf(g_players)->power[1]), std::make_pair(200, 0));
    EXPECT_EQ(CheckConsistency(), "");
    DestroyGame();  // without a game nothing happens
    OnEndTurn();
    EXPECT_EQ(g_turn, 2);
}

TEST_F(EndTurnTest, ActionPointsAreSetNotAddedAndRestingShipsDoubleWithAnAccelerator) {
    struct Case {
        int where;  // 0 in space, 1 docked, 2 landed
        bool weapon, accelerator, reactor;
        int expected;  // with a speed of 100
    } cases[] = {{0, false, false, false, 100}, {0, true, true, false, 150}, {0, false, false, true, 150},
                 {0, true, true, true, 200},    {1, true, true, true, 200},  {1, false, false, true, 100},
                 {2, false, true, false, 200},  {2, true, false, false, 100}};
    human->race->shipModels->speed = 100;
    Ship** lists[] = {&g_currentWorld->ships, &g_selPlanet->docks, &g_currentWorld->asteroids->ships};
    std::vector<Ship*> ships;
    for (const Case& c : cases) {
        Ship* s = ships.emplace_back(MakeShip(human, 1, c.weapon ? 1 : 0, 100, 100));
        std::fill(std::begin(s->equip), std::end(s->equip), 0);
        s->equip[kAccelerator] = c.accelerator;
        s->equip[kPowerReactor] = c.reactor;
        s->weaponReady = 0;
        InsertAtHead(*lists[c.where], s);
    }
    g_selPlanet->weapon = human->race->weapons;
    RenewWorlds();
    for (std::size_t i = 0; i < ships.size(); ++i) {
        EXPECT_EQ(ships[i]->actionPoints, cases[i].expected) << i;
        EXPECT_EQ(ships[i]->weaponReady, cases[i].weapon ? 1 : 0) << i;
    }
    EXPECT_EQ(g_selPlanet->weaponReady, 1);
}

TEST_F(EndTurnTest, TheGameIsLostWithNeitherPlanetNorShip) {
    g_selPlanet->owner = LastOf(g_players);
    human->planetCount = 0;
    Ship* last = MakeShip(human, 1, 0, 300, 300);
    InsertAtHead(g_currentWorld->ships, last);
    OnEndTurn();
    EXPECT_EQ(g_gameOver, 0);  // one ship left
    Unlink(g_currentWorld->ships, last);
    delete last;
    human->shipCount = 0;
    OnEndTurn();
    EXPECT_EQ(g_gameOver, 1);
    OnEndTurn();  // still playable
    EXPECT_EQ(g_turn, 4);
}

TEST_F(EndTurnTest, ConsistencyCheckFindsBrokenCountersForeignWeaponsAndStalePointers) {
    ++human->shipCount;
    EXPECT_NE(CheckConsistency().find("counts 1 ship but owns 0"), std::string::npos);
    Ship* stray = MakeShip(human, 1, 0, 5, 5);
    InsertAtHead(g_currentWorld->ships, stray);
    stray->weapon = (g_races == human->race ? g_races->next : g_races)->weapons;
    EXPECT_NE(CheckConsistency().find("weapon not of its owner's race"), std::string::npos);
    stray->weapon = nullptr;
    --human->shipCount;
    // Each pointer alone, beside a selected planet that is sound.
    Planet ghostPlanet;
    Asteroid ghostAsteroid;
    Ship ghost;
    g_hoverPlanet = &ghostPlanet;
    EXPECT_EQ(CheckConsistency(), "a planet pointer is stale");
    g_hoverPlanet = nullptr, g_hoverAsteroid = &ghostAsteroid;
    EXPECT_EQ(CheckConsistency(), "an asteroid pointer is stale");
    g_hoverAsteroid = nullptr, g_hoverShip = &ghost;
    EXPECT_EQ(CheckConsistency(), "a ship pointer is stale");
    g_hoverShip = nullptr, g_dockSelection = &ghost;
    EXPECT_EQ(CheckConsistency(), "a ship pointer is stale");
    g_dockSelection = nullptr;
    EXPECT_EQ(CheckConsistency(), "");
}

}  // namespace
}  // namespace qv
