// End Turn: the "Computer move" box first, income and the Global Bank
// System, the renewal of action points and weapons, the power record, the
// turn counter, the lost game; and the consistency check the soak relies on.
#include "game_fixture.h"
#include "turn/consistency.h"
#include "turn/end_turn.h"

namespace qv {
namespace {

// Notes, at each frame asked for, whether the box is up and the cursor.
class TurnWatcher : public HeadlessPlatform {
public:
    void waitForFrame() override {
        HeadlessPlatform::waitForFrame();
        frames.emplace_back(g_computerMove, cursor);
    }
    std::vector<std::pair<int, int>> frames;
};

class EndTurnTest : public testing::GameTest {
protected:
    void SetUp() override {
        GameTest::SetUp();
        NewGameOptions chosen;
        chosen.worldsQuantityOption = 2;
        chosen.worldsSizeOption = 2;
        chosen.aiPlayersOption = 2;
        chosen.unstabilityOption = 3;
        NewGame(chosen, 4);
        human = g_players;
    }
    Player* human = nullptr;
};

TEST_F(EndTurnTest, WithoutAGameNothingHappens) {
    DestroyGame();
    g_turn = 5;
    OnEndTurn();
    EXPECT_EQ(g_turn, 5);
    EXPECT_EQ(platform.cursor, 0);
}

TEST_F(EndTurnTest, IncomeIsAHundredAPlanetAndTheBankPaysAHundredFiftyOnRenewal) {
    Player* computer = human->next;
    Player* neutral = LastOf(g_players);
    human->planetCount = 3;  // the counter is what pays
    g_selPlanet->equip[kGlobalBankSystem] = 1;
    human->gold = 1000;
    computer->planetCount = 0;
    computer->gold = 70;
    neutral->planetCount = 2;
    CollectIncome();
    EXPECT_EQ(human->gold, 1300);
    EXPECT_EQ(computer->gold, 70);
    EXPECT_EQ(neutral->gold, 200);  // the neutral player earns too
    RenewWorlds();
    EXPECT_EQ(human->gold, 1450);
}

TEST_F(EndTurnTest, ActionPointsAreSetNotAddedAndRestingShipsDoubleWithAnAccelerator) {
    struct Case {
        int where;  // 0 in space, 1 docked, 2 landed
        bool weapon, accelerator, reactor;
        int expected;  // with a speed of 100
    };
    const Case cases[] = {
        {0, false, false, false, 100}, {0, true, true, false, 150},  {0, false, false, true, 150},
        {0, true, true, true, 200},    {1, true, true, true, 200},   {1, false, false, true, 100},
        {2, false, true, false, 200},  {2, true, false, false, 100},
    };
    human->race->shipModels->speed = 100;
    Ship** lists[] = {&g_currentWorld->ships, &g_selPlanet->docks, &g_currentWorld->asteroids->ships};
    std::vector<Ship*> ships;
    for (const Case& c : cases) {
        Ship* s = MakeShip(human, 1, c.weapon ? 1 : 0, 100, 100);
        std::fill(std::begin(s->equip), std::end(s->equip), 0);
        s->equip[kAccelerator] = c.accelerator;
        s->equip[kPowerReactor] = c.reactor;
        s->actionPoints = 999;
        s->weaponReady = 0;
        InsertAtHead(*lists[c.where], s);
        ships.push_back(s);
    }
    g_selPlanet->weapon = human->race->weapons;
    g_selPlanet->weaponReady = 0;
    RenewWorlds();
    for (std::size_t i = 0; i < ships.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(ships[i]->actionPoints, cases[i].expected);
        EXPECT_EQ(ships[i]->weaponReady, cases[i].weapon ? 1 : 0);
    }
    EXPECT_EQ(g_selPlanet->weaponReady, 1);
}

TEST_F(EndTurnTest, TheBoxIsDrawnBeforeTheComputerPlayersMoveAndTheTurnRecordsPower) {
    TurnWatcher watcher;
    SetPlatform(&watcher);
    const int gold = human->gold;
    OnEndTurn();
    SetPlatform(&platform);
    ASSERT_FALSE(watcher.frames.empty());
    EXPECT_EQ(watcher.frames.front(), (std::pair<int, int>{1, kCursorWait}));
    EXPECT_EQ(g_computerMove, 0);
    EXPECT_EQ(watcher.cursor, kCursorArrow);
    EXPECT_EQ(g_turn, 2);
    EXPECT_EQ(human->power[1], 1000 + gold);  // one planet, no ship, before the income
    EXPECT_EQ(human->gold, gold + 100);
    EXPECT_EQ(LastOf(g_players)->power[1], 0) << "the neutral player's power is never recorded";
    EXPECT_EQ(g_gameOver, 0);
    EXPECT_EQ(CheckConsistency(), "");
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
    EXPECT_EQ(CheckConsistency(), "");
    ++human->shipCount;
    EXPECT_NE(CheckConsistency().find("counts 1 ships but owns 0"), std::string::npos);
    --human->shipCount;
    Ship* stray = MakeShip(human, 1, 0, 5, 5);
    InsertAtHead(g_currentWorld->ships, stray);
    stray->weapon = (g_races == human->race ? g_races->next : g_races)->weapons;
    EXPECT_NE(CheckConsistency().find("weapon not of its owner's race"), std::string::npos);
    stray->weapon = nullptr;
    Ship ghost;
    g_hoverShip = &ghost;
    EXPECT_EQ(CheckConsistency(), "a ship pointer is stale");
    g_hoverShip = nullptr;
    EXPECT_EQ(CheckConsistency(), "");
}

}  // namespace
}  // namespace qv
