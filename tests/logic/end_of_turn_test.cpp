// End Turn: income, the Global Bank System, the renewal of action points and
// weapons, the power record, the turn counter and the lost game.
#include "game_fixture.h"
#include "turn/consistency.h"
#include "turn/end_turn.h"

namespace qv {
namespace {

using testing::GameTest;

class EndTurnTest : public GameTest {
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

TEST_F(EndTurnTest, IncomeIsAHundredAPlanetAndTheBankPaysAfterIt) {
    // Give the human two more planets; one of its three has a bank.
    Player* neutral = LastOf(g_players);
    int given = 0;
    for (World* w = g_worlds; w && given < 2; w = w->next)
        for (Planet* p = w->planets; p && given < 2; p = p->next)
            if (p->owner == neutral) {
                p->owner = human;
                ++given;
            }
    human->planetCount = 3;
    g_selPlanet->equip[kGlobalBankSystem] = 1;
    human->gold = 1000;
    Player* computer = human->next;
    computer->planetCount = 0;  // a player without planets earns nothing
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
    Ship* bare = MakeShip(human, 1, 0, 100, 100);
    Ship* both = MakeShip(human, 1, 1, 120, 100);
    Ship* docked = MakeShip(human, 1, 1, 0, 0);
    Ship* landed = MakeShip(human, 1, 0, 0, 0);
    Ship* plainDocked = MakeShip(human, 1, 0, 0, 0);
    for (Ship* s : {bare, both, docked, landed, plainDocked}) {
        std::fill(std::begin(s->equip), std::end(s->equip), 0);
        s->actionPoints = 999;
        s->weaponReady = 0;
    }
    for (Ship* s : {both, docked, landed}) {
        s->equip[kAccelerator] = 1;
        s->equip[kPowerReactor] = 1;
    }
    InsertAtHead(g_currentWorld->ships, bare);
    InsertAtHead(g_currentWorld->ships, both);
    InsertAtHead(g_selPlanet->docks, docked);
    InsertAtHead(g_selPlanet->docks, plainDocked);
    InsertAtHead(g_currentWorld->asteroids->ships, landed);
    g_selPlanet->weapon = human->race->weapons;
    g_selPlanet->weaponReady = 0;
    const int speed = bare->model->speed;
    RenewWorlds();
    EXPECT_EQ(bare->actionPoints, speed);
    EXPECT_EQ(both->actionPoints, speed + 100);
    EXPECT_EQ(docked->actionPoints, speed * 2);
    EXPECT_EQ(landed->actionPoints, speed * 2);
    EXPECT_EQ(plainDocked->actionPoints, speed);
    EXPECT_EQ(bare->weaponReady, 0);  // no weapon, no readiness
    EXPECT_EQ(both->weaponReady, 1);
    EXPECT_EQ(docked->weaponReady, 1);
    EXPECT_EQ(g_selPlanet->weaponReady, 1);
}

TEST_F(EndTurnTest, ATurnRecordsPowerAndCountsOn) {
    const int gold = human->gold;
    OnEndTurn();
    EXPECT_EQ(g_turn, 2);
    EXPECT_EQ(human->power[1], human->planetCount * 1000 + human->shipCount * 100 + gold);
    EXPECT_EQ(LastOf(g_players)->power[1], 0) << "the neutral player's power is never recorded";
    EXPECT_EQ(g_computerMove, 0);
    EXPECT_EQ(platform.cursor, kCursorArrow);
    EXPECT_EQ(g_gameOver, 0);
    EXPECT_EQ(CheckConsistency(), "");
}

TEST_F(EndTurnTest, TheGameIsLostWithNeitherPlanetNorShip) {
    // The human's home goes to the neutral player; one ship is left.
    g_selPlanet->owner = LastOf(g_players);
    human->planetCount = 0;
    Ship* last = MakeShip(human, 1, 0, 300, 300);
    InsertAtHead(g_currentWorld->ships, last);
    OnEndTurn();
    EXPECT_EQ(g_gameOver, 0);
    for (World* w = g_worlds; w; w = w->next)
        while (w->ships && w->ships->owner == human) {
            Ship* s = w->ships;
            Unlink(w->ships, s);
            --human->shipCount;
            delete s;
        }
    ASSERT_EQ(human->shipCount, 0);
    OnEndTurn();
    EXPECT_EQ(g_gameOver, 1);
    OnEndTurn();  // still playable
    EXPECT_EQ(g_turn, 4);
}

TEST_F(EndTurnTest, ConsistencyCheckFindsBrokenCounters) {
    EXPECT_EQ(CheckConsistency(), "");
    ++human->shipCount;
    EXPECT_NE(CheckConsistency().find("counts 1 ships but owns 0"), std::string::npos);
    --human->shipCount;
    Ship* stray = MakeShip(human, 1, 0, 5, 5);
    InsertAtHead(g_currentWorld->ships, stray);
    Race* foreign = g_races == human->race ? g_races->next : g_races;
    stray->weapon = foreign->weapons;
    EXPECT_NE(CheckConsistency().find("weapon not of its owner's race"), std::string::npos);
    stray->weapon = nullptr;
    Ship ghost;  // not a ship of the game
    g_hoverShip = &ghost;
    EXPECT_EQ(CheckConsistency(), "a ship pointer is stale");
    g_hoverShip = nullptr;
    EXPECT_EQ(CheckConsistency(), "");
}

}  // namespace
}  // namespace qv

namespace qv {
namespace {

// Records what the frames asked for during a turn would show.
class TurnWatcher : public HeadlessPlatform {
public:
    void waitForFrame() override {
        HeadlessPlatform::waitForFrame();
        boxShown.push_back(g_computerMove);
        cursorThen.push_back(cursor);
    }
    std::vector<int> boxShown;
    std::vector<int> cursorThen;
};

TEST_F(EndTurnTest, TheComputerMoveBoxIsDrawnBeforeTheComputerPlayersMove) {
    TurnWatcher watcher;
    SetPlatform(&watcher);
    const std::int32_t turn = g_turn;
    OnEndTurn();
    SetPlatform(&platform);
    ASSERT_FALSE(watcher.boxShown.empty());
    // The first frame asked for is the one with the box, under the hour-glass.
    EXPECT_EQ(watcher.boxShown.front(), 1);
    EXPECT_EQ(watcher.cursorThen.front(), kCursorWait);
    EXPECT_EQ(g_computerMove, 0);
    EXPECT_EQ(watcher.cursor, kCursorArrow);
    EXPECT_EQ(g_turn, turn + 1);
}

}  // namespace
}  // namespace qv
