// Instability: regions torn out of one world and thrown into another, with
// what was in them; protected planets stay; the selection follows.
#include <set>

#include "game_fixture.h"
#include "model/random.h"
#include "turn/instability.h"
#include "model/geometry.h"
#include "turn/orbits.h"

namespace qv {
namespace {

using testing::GameTest;

class InstabilityTest : public GameTest {
protected:
    void SetUp() override {
        GameTest::SetUp();
        NewGameOptions chosen;
        chosen.worldsQuantityOption = 2;
        chosen.worldsSizeOption = 4;  // 1000 x 1000
        chosen.resourcesOption = 0;
        NewGame(chosen, 8);
    }
    static int Bodies() {
        int n = 0;
        for (World* w = g_worlds; w; w = w->next) n += CountOf(w->planets) + CountOf(w->asteroids) + CountOf(w->ships);
        return n;
    }
};

// Every body's place, world by world.
std::vector<std::pair<int, int>> Places() {
    std::vector<std::pair<int, int>> v;
    for (World* w = g_worlds; w; w = w->next) {
        for (Planet* p = w->planets; p; p = p->next) v.push_back({p->x, p->y});
        for (Asteroid* a = w->asteroids; a; a = a->next) v.push_back({a->x, a->y});
        v.push_back({-1, -1});
    }
    return v;
}

TEST_F(InstabilityTest, LevelNoneDrawsNothingAndMovesNothing) {
    const std::uint32_t state = GameRandom().state();
    const auto before = Places();
    InstabilityEvents(3);
    EXPECT_EQ(GameRandom().state(), state);
    EXPECT_EQ(Places(), before);
    EXPECT_EQ(platform.rings, 0);
}

TEST_F(InstabilityTest, CentresKeepTheirMarginAndBodiesLandClearOfTheStar) {
    for (int level = 0; level < 3; ++level) {
        const InstabilityLevel l = LevelOf(level);
        for (int turn = 0; turn < 60; ++turn) {
            std::set<const void*> old;
            for (World* w = g_worlds; w; w = w->next) {
                for (Planet* p = w->planets; p; p = p->next) old.insert(p);
                for (Asteroid* a = w->asteroids; a; a = a->next) old.insert(a);
            }
            const int bodies = Bodies();
            InstabilityEvents(level);
            EXPECT_EQ(Bodies(), bodies) << "bodies only move";
            for (int v : {g_eventX, g_eventY, g_eventDestX, g_eventDestY}) {
                EXPECT_GE(v, l.margin);
                EXPECT_LE(v, 1000 - l.margin);
            }
            // Records made by this turn's events are bodies that landed.
            for (World* w = g_worlds; w; w = w->next) {
                for (Planet* p = w->planets; p; p = p->next)
                    if (!old.count(p)) {
                        EXPECT_GE(Distance(p->x, p->y, 500, 500), 150.0);
                    }
                for (Asteroid* a = w->asteroids; a; a = a->next)
                    if (!old.count(a)) {
                        EXPECT_GE(Distance(a->x, a->y, 500, 500), 100.0);
                    }
            }
        }
    }
}

TEST_F(InstabilityTest, ProtectedPlanetsStayAndTheSelectionFollowsItsShip) {
    // Every planet of every world carries a Protective Shield but one; one
    // ship of the human player is selected. Events run until the unprotected
    // planet and the ship have both moved at least once.
    Planet* loose = nullptr;
    for (World* w = g_worlds; w; w = w->next)
        for (Planet* p = w->planets; p; p = p->next) {
            p->equip[kProtectiveShield] = 1;
            if (!loose && p != g_selPlanet) loose = p;
        }
    loose->equip[kProtectiveShield] = 0;
    auto* docked = MakeShip(g_players, 1, 0, 0, 0);
    InsertAtHead(loose->docks, docked);
    std::set<std::pair<int, int>> shielded;
    for (World* w = g_worlds; w; w = w->next)
        for (Planet* p = w->planets; p; p = p->next)
            if (p->equip[kProtectiveShield]) shielded.insert({p->x, p->y});

    Ship* ship = MakeShip(g_players, 1, 1, 500, 300);
    InsertAtHead(g_worlds->ships, ship);
    g_selShip = ship;
    g_hoverShip = ship;
    bool planetMoved = false, shipMoved = false;
    for (int i = 0; i < 400 && !(planetMoved && shipMoved); ++i) {
        const int px = loose->x, py = loose->y;
        Ship* was = g_selShip;
        InstabilityEvents(0);
        // The loose planet's record is replaced when it moves.
        bool found = false;
        for (World* w = g_worlds; w; w = w->next)
            for (Planet* p = w->planets; p; p = p->next)
                if (!p->equip[kProtectiveShield]) {
                    found = true;
                    if (p != loose || p->x != px || p->y != py) planetMoved = true;
                    loose = p;
                }
        ASSERT_TRUE(found);
        EXPECT_EQ(loose->docks, docked) << "docked ships travel with their planet";
        EXPECT_GE(Distance(loose->x, loose->y, 500, 500), planetMoved ? 150.0 : 0.0);
        ASSERT_NE(g_selShip, nullptr) << "the selected ship stays selected";
        if (g_selShip != was) {
            shipMoved = true;
            EXPECT_EQ(IndexOf(g_currentWorld->ships, g_selShip) > 0, true) << "shown on its new world";
            EXPECT_GE(g_selShip->x, g_viewLeft);
            EXPECT_LE(g_selShip->x, g_viewRight);
            EXPECT_GE(g_selShip->y, g_viewTop);
            EXPECT_LE(g_selShip->y, g_viewBottom);
            EXPECT_EQ(g_hoverShip, nullptr);
        }
    }
    EXPECT_TRUE(planetMoved);
    EXPECT_TRUE(shipMoved);
    std::set<std::pair<int, int>> after;
    for (World* w = g_worlds; w; w = w->next)
        for (Planet* p = w->planets; p; p = p->next)
            if (p->equip[kProtectiveShield]) after.insert({p->x, p->y});
    EXPECT_EQ(after, shielded) << "protected planets never move";
    EXPECT_GT(platform.rings, 0);
}

TEST(InstabilityLanding, ARegionRightAtTheStarMayHoldNoPlanet) {
    g_worldSize = 1000;
    // "Low" regions reach 99 on each axis: at the star the farthest corner
    // is 140 away, short of the 150 a planet needs.
    EXPECT_FALSE(LandingPossible(500, 500, 100, kPlanetStarMargin));
    EXPECT_FALSE(LandingPossible(505, 494, 100, kPlanetStarMargin));
    EXPECT_TRUE(LandingPossible(520, 500, 100, kPlanetStarMargin));
    EXPECT_TRUE(LandingPossible(500, 500, 100, kAsteroidStarMargin));
    EXPECT_TRUE(LandingPossible(500, 500, 200, kPlanetStarMargin));
    ResetGlobals();
}

}  // namespace
}  // namespace qv
