// Destroying the running game frees every record and clears every pointer
// into it, but keeps the races; a reset puts the start-up values back.
#include "game_fixture.h"

namespace qv {
namespace {

using DestroyGameTest = testing::GameTest;

// The program starts with no game: no turn, instability, gold or new game yet, no missile armed, no jump, no
// computer move, no lost game (read before anything runs).
const std::vector<int> kAtStart = {g_turn,       g_unstability, g_startGold,    g_newDocCount,
                                   g_rocketMode, g_jumpMode,    g_computerMove, g_gameOver};

TEST_F(DestroyGameTest, FreesEverythingClearsEveryPointerAndKeepsTheRaces) {
    NewGame(NewGameOptions{}, 3);
    World* w = g_currentWorld;
    InsertAtHead(g_selPlanet->docks, MakeShip(g_players, 1, 0, 0, 0));
    InsertAtHead(w->asteroids->ships, MakeShip(g_players, 1, 0, 0, 0));
    for (int i = 0; i < 2; ++i) InsertAtHead(w->ships, MakeShip(g_players, 1, 1, 10 * i, 0));
    g_selShip = w->ships;
    g_hoverShip = w->ships->next;
    g_selAsteroid = g_hoverAsteroid = w->asteroids;
    g_hoverPlanet = g_selPlanet;
    g_dockSelection = g_selPlanet->docks;
    Race* races = g_races;
    DestroyGame();  // the address sanitizer reports any record left behind
    DestroyGame();  // and without a game there is nothing to do
    for (const void* p :
         {(const void*)g_worlds, (const void*)g_lastWorld, (const void*)g_players, (const void*)g_currentWorld,
          (const void*)g_selPlanet, (const void*)g_selShip, (const void*)g_selAsteroid, (const void*)g_hoverPlanet,
          (const void*)g_hoverShip, (const void*)g_hoverAsteroid, (const void*)g_dockSelection})
        EXPECT_EQ(p, nullptr);
    ASSERT_EQ(g_races, races);
    EXPECT_EQ(CountOf(g_races), 3);
    EXPECT_NE(races->weapons, nullptr);

    g_worldSize = 3000;
    g_gameOver = g_rocketMode = g_jumpMode = g_computerMove = 1;
    g_worldCount = g_doubleWorldCount = g_playerCount = g_asteroidTotal = g_turn = g_newDocCount = g_viewLeft = 9;
    ResetGlobals();
    for (long long v : std::initializer_list<long long>{g_worldCount, g_doubleWorldCount, g_playerCount,
                                                        g_asteroidTotal, g_turn, g_newDocCount, g_gameOver, g_viewLeft,
                                                        g_rocketMode, g_jumpMode, g_computerMove})
        EXPECT_EQ(v, 0);
    EXPECT_EQ(std::vector<int>({g_worldSize, g_viewRight, g_viewBottom}), std::vector<int>({2000, 800, 600}));
    EXPECT_EQ(g_races, nullptr);
    EXPECT_EQ(kAtStart, std::vector<int>(8, 0));
}

}  // namespace
}  // namespace qv
