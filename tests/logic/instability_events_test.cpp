// Instability: regions torn out of one world and thrown into another with
// what is in them, centres kept from the edges, bodies landing clear of the star.
#include <map>

#include "game_fixture.h"
#include "model/geometry.h"
#include "turn/instability.h"

namespace qv {
namespace {

class InstabilityTest : public testing::GameTest {
protected:
    void SetUp() override {
        GameTest::SetUp();
        NewGame({2, 4, 0}, 8);  // few worlds of 1000 x 1000, the star at (500, 500); many asteroids
    }
    // Every planet and asteroid record: whether it is a planet, and its place.
    static std::map<const void*, std::pair<bool, std::pair<int, int>>> Bodies() {
        std::map<const void*, std::pair<bool, std::pair<int, int>>> bodies;
        for (World* w = g_worlds; w; w = w->next) {
            for (Planet* p = w->planets; p; p = p->next) bodies[p] = {true, {p->x, p->y}};
            for (Asteroid* a = w->asteroids; a; a = a->next) bodies[a] = {false, {a->x, a->y}};
        }
        return bodies;
    }
};

TEST_F(InstabilityTest, CentresKeepTheirMarginAndBodiesLandClearOfTheStarAndNoneMovesNothing) {
    const auto start = Bodies();
    const std::uint32_t state = GameRandom().state();
    InstabilityEvents(3);  // "None"
    EXPECT_EQ(GameRandom().state(), state);
    EXPECT_EQ(Bodies(), start);
    EXPECT_EQ(platform.rings, 0);
    const int margins[] = {330, 230, 130};  // High, Medium, Low
    int moved = 0;
    for (int level = 0; level < 3; ++level) {
        for (int turn = 0; turn < 60; ++turn) {
            const auto before = Bodies();
            InstabilityEvents(level);
            for (int v : {g_eventX, g_eventY, g_eventDestX, g_eventDestY})
                EXPECT_TRUE(v >= margins[level] && v <= 1000 - margins[level]) << v << " at level " << level;
            const auto after = Bodies();
            EXPECT_EQ(after.size(), before.size()) << "bodies only move";
            // A moved body is a new record: a planet lands 150 from the star at least, an asteroid 100.
            for (const auto& [body, what] : after) {
                if (before.count(body)) continue;
                ++moved;
                EXPECT_GE(Distance(what.second.first, what.second.second, 500, 500), what.first ? 150.0 : 100.0);
            }
        }
    }
    EXPECT_GT(moved, 0);
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
