// Destroying the running game frees every record and clears every pointer
// into it, but keeps the races; a reset puts the start-up values back.
#include <gtest/gtest.h>

#include "model/globals.h"
#include "model/lists.h"
#include "model/records.h"

namespace qv {
namespace {

class DestroyGameTest : public ::testing::Test {
protected:
    void SetUp() override { ResetGlobals(); }
    void TearDown() override { ResetGlobals(); }

    // Two worlds of three planets with docked ships, three asteroids with a
    // landed ship each and three ships in space; a human, the neutral player.
    static void BuildSmallGame() {
        auto* race = new Race;
        race->name = "Test";
        InsertAtHead(race->weapons, new Weapon);
        InsertAtHead(g_races, race);
        InsertAtHead(g_players, new Player{.colour = kNeutralColour});
        InsertAtHead(g_players, new Player{.race = race});
        for (int n = 2; n >= 1; --n) {
            auto* w = new World{.star = new Star{1000, 1000, 1}, .number = static_cast<std::uint16_t>(n)};
            for (int i = 0; i < 3; ++i) {
                auto* p = new Planet{.owner = g_players};
                for (int k = 0; k < 2; ++k) InsertAtHead(p->docks, new Ship);
                InsertAtHead(w->planets, p);
                InsertAtHead(w->asteroids, new Asteroid);
                InsertAtHead(w->asteroids->ships, new Ship);
                InsertAtHead(w->ships, new Ship);
            }
            if (!g_lastWorld) g_lastWorld = w;
            InsertAtHead(g_worlds, w);
        }
        g_currentWorld = g_worlds;
        g_selPlanet = g_worlds->planets;
        g_selShip = g_worlds->ships;
        g_selAsteroid = g_worlds->asteroids;
        g_hoverPlanet = g_worlds->planets->next;
        g_hoverShip = g_worlds->ships->next;
        g_hoverAsteroid = g_worlds->asteroids->next;
        g_dockSelection = g_worlds->planets->docks;
    }
};

TEST_F(DestroyGameTest, FreesEverythingClearsEveryPointerAndKeepsTheRaces) {
    DestroyGame();  // without a game: nothing to do
    BuildSmallGame();
    Race* race = g_races;
    DestroyGame();  // the address sanitizer reports any record left behind
    DestroyGame();
    EXPECT_EQ(g_worlds, nullptr);
    EXPECT_EQ(g_lastWorld, nullptr);
    EXPECT_EQ(g_players, nullptr);
    for (const void* p : {(const void*)g_currentWorld, (const void*)g_selPlanet, (const void*)g_selShip,
                          (const void*)g_selAsteroid, (const void*)g_hoverPlanet, (const void*)g_hoverShip,
                          (const void*)g_hoverAsteroid, (const void*)g_dockSelection})
        EXPECT_EQ(p, nullptr);
    ASSERT_EQ(g_races, race);
    EXPECT_EQ(race->name, "Test");
    EXPECT_NE(race->weapons, nullptr);
}

TEST_F(DestroyGameTest, ResetPutsStartUpValuesBack) {
    BuildSmallGame();
    g_turn = 57;
    g_worldSize = 3000;
    g_newDocCount = 4;
    g_gameOver = 1;
    g_viewLeft = 1200;
    g_worldCount = g_doubleWorldCount = g_playerCount = g_asteroidTotal = 9;
    ResetGlobals();
    for (long long v : std::initializer_list<long long>{g_worldCount, g_doubleWorldCount, g_playerCount,
                                                        g_asteroidTotal, g_turn, g_newDocCount, g_gameOver, g_viewLeft})
        EXPECT_EQ(v, 0);
    EXPECT_EQ(g_races, nullptr);
    EXPECT_EQ(g_worldSize, 2000);
    EXPECT_EQ(g_viewRight, 800);
    EXPECT_EQ(g_viewBottom, 600);
}

}  // namespace
}  // namespace qv
