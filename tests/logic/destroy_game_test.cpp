// Destroying the running game frees every record and clears every pointer
// into it, but keeps the races.
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

    // Two worlds, each with planets holding docked ships, asteroids holding
    // landed ships and ships in open space; two players and one race.
    void BuildSmallGame() {
        auto* race = new Race;
        race->name = "Test";
        InsertAtHead(race->weapons, new Weapon);
        InsertAtHead(g_races, race);

        auto* neutral = new Player;
        neutral->colour = kNeutralColour;
        InsertAtHead(g_players, neutral);
        auto* human = new Player;
        human->race = race;
        InsertAtHead(g_players, human);

        for (int n = 2; n >= 1; --n) {
            auto* w = new World;
            w->number = static_cast<std::uint16_t>(n);
            w->star = new Star{1000, 1000, 1};
            for (int i = 0; i < 3; ++i) {
                auto* p = new Planet;
                p->owner = human;
                for (int k = 0; k < 2; ++k) InsertAtHead(p->docks, new Ship);
                InsertAtHead(w->planets, p);
                auto* a = new Asteroid;
                InsertAtHead(a->ships, new Ship);
                InsertAtHead(w->asteroids, a);
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

TEST_F(DestroyGameTest, FreesEverythingAndClearsEveryPointer) {
    BuildSmallGame();
    Race* race = g_races;
    DestroyGame();  // the address sanitizer reports any record left behind
    EXPECT_EQ(g_currentWorld, nullptr);
    EXPECT_EQ(g_worlds, nullptr);
    EXPECT_EQ(g_lastWorld, nullptr);
    EXPECT_EQ(g_players, nullptr);
    EXPECT_EQ(g_selPlanet, nullptr);
    EXPECT_EQ(g_selShip, nullptr);
    EXPECT_EQ(g_selAsteroid, nullptr);
    EXPECT_EQ(g_hoverPlanet, nullptr);
    EXPECT_EQ(g_hoverShip, nullptr);
    EXPECT_EQ(g_hoverAsteroid, nullptr);
    EXPECT_EQ(g_dockSelection, nullptr);
    // Races outlive every game.
    ASSERT_EQ(g_races, race);
    EXPECT_EQ(race->name, "Test");
    EXPECT_NE(race->weapons, nullptr);
}

TEST_F(DestroyGameTest, DestroyingWithoutAGameIsHarmlessAndRepeatable) {
    DestroyGame();
    DestroyGame();
    EXPECT_EQ(g_worlds, nullptr);
    BuildSmallGame();
    DestroyGame();
    DestroyGame();
    EXPECT_EQ(g_players, nullptr);
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
    for (std::int32_t counted : {g_worldCount, g_doubleWorldCount, g_playerCount, g_asteroidTotal})
        EXPECT_EQ(counted, 0);
    EXPECT_EQ(g_races, nullptr);
    EXPECT_EQ(g_turn, 0);
    EXPECT_EQ(g_worldSize, 2000);
    EXPECT_EQ(g_newDocCount, 0);
    EXPECT_EQ(g_gameOver, 0);
    EXPECT_EQ(g_viewLeft, 0);
    EXPECT_EQ(g_viewRight, 800);
    EXPECT_EQ(g_viewBottom, 600);
}

}  // namespace
}  // namespace qv
