// A world's turn: planets closer than 60 collide, an asteroid closer than 47
// costs a planet 450, asteroids closer than 34 collide, the star takes them at 97.
#include "game_fixture.h"
#include "model/geometry.h"
#include "turn/orbits.h"

namespace qv {
namespace {

// Where a planet of period 1 at (x, y) is after this turn's rotation.
std::pair<int, int> AfterTurn(int x, int y) {
    RotateAbout(x, y, 1000, 1000, PlanetOrbitAngle(1, 0));
    return {x, y};
}

// A world of size 2000 with its star at (1000, 1000), bodies placed by hand.
class OrbitsTest : public testing::HandBuiltGameTest {
protected:
    Planet* Orbiting(Player* owner, int x, int y, World* w = nullptr) {
        Planet* p = AddPlanet(w ? w : world, owner, x, y);
        p->orbitPeriod = 1;
        return p;
    }
    Asteroid* Still(int x, int y) { return AddAsteroid(world, x, y, 50); }
    void Clear() {
        testing::ClearPlanets(world);
        FreeList(world->asteroids);
        human->planetCount = computer->planetCount = platform.explosions = 0;
        platform.cues.clear();
    }
    int Booms() const {
        return static_cast<int>(std::count(platform.cues.begin(), platform.cues.end(), "Medexpl.wav"));
    }
};

TEST_F(OrbitsTest, PlanetsCloserThan60AfterMovingDestroyEachOtherWithTheirDockedShips) {
    // Partners of a planet starting at (1600, 1000) that end exactly 60 and
    // between 59 and 60 away from it.
    const auto [x1, y1] = AfterTurn(1600, 1000);
    std::pair<int, int> at60{}, at59{};
    for (int x = 1530; x <= 1670; ++x)
        for (int y = 930; y <= 1070; ++y) {
            const auto [x2, y2] = AfterTurn(x, y);
            const double d = Distance(x1, y1, x2, y2);
            if (d == 60.0) at60 = {x, y};
            if (d >= 59.0 && d < 60.0) at59 = {x, y};
        }
    ASSERT_TRUE(at60.first && at59.first);
    Orbiting(human, 1600, 1000);
    Orbiting(computer, at60.first, at60.second);
    MoveWorldBodies(world);
    EXPECT_EQ(CountOf(world->planets), 2);
    EXPECT_EQ(Booms(), 0);

    Clear();
    Planet* a = Orbiting(human, 1600, 1000);
    Dock(a, human, AddModel(red, 10, 10, 10, 0, 10));
    g_selPlanet = a;
    Orbiting(computer, at59.first, at59.second);
    MoveWorldBodies(world);
    EXPECT_EQ(world->planets, nullptr);
    EXPECT_EQ(
        std::vector<int>({human->planetCount, computer->planetCount, human->shipCount, Booms(), platform.explosions}),
        std::vector<int>({0, 0, 0, 2, 4}));  // two frames each, on the world shown
    EXPECT_EQ(g_selPlanet, nullptr);
}

TEST_F(OrbitsTest, AnAsteroidCloserThan47CostsThePlanet450ShieldPoints) {
    const auto [px, py] = AfterTurn(1500, 1000);
    struct Case {
        int distance, shield, left;  // left < 0: destroyed
    } cases[] = {{47, 500, 500}, {46, 500, 50}, {10, 800, 350}, {10, 451, 1}, {10, 450, -1}};
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.distance << " away, shield " << c.shield);
        Clear();
        Planet* p = Orbiting(human, 1500, 1000);
        p->shieldPoints = c.shield;
        g_hoverAsteroid = Still(px, py + c.distance);
        MoveWorldBodies(world);
        EXPECT_EQ(CountOf(world->asteroids), c.distance >= 47 ? 1 : 0);
        EXPECT_EQ(Booms(), c.distance >= 47 ? 0 : c.left < 0 ? 2 : 1);
        EXPECT_EQ(g_hoverAsteroid != nullptr, c.distance >= 47);
        EXPECT_EQ(human->planetCount, c.left < 0 ? 0 : 1);
        if (c.left >= 0) {
            EXPECT_EQ(p->shieldPoints, c.left);
        }
    }
    // On a world not shown nothing is seen or heard.
    Clear();
    Orbiting(human, 1500, 1000, other)->shieldPoints = 100;
    AddAsteroid(other, px, py + 5, 50);
    MoveWorldBodies(other);
    EXPECT_EQ(other->planets, nullptr);
    EXPECT_EQ(Booms() + platform.explosions, 0);
}

TEST_F(OrbitsTest, AsteroidsCloserThan34DestroyEachOtherAndTheStarThoseCloserThan97ThatHaveAPartner) {
    for (const auto& [apart, destroyed] : {std::pair{34, false}, {33, true}}) {
        Clear();
        Still(500, 500);
        Still(500, 500 + apart);
        MoveWorldBodies(world);
        EXPECT_EQ(world->asteroids == nullptr, destroyed) << apart;
    }
    Clear();
    Asteroid* alone = Still(1010, 1000);
    MoveWorldBodies(world);
    EXPECT_EQ(world->asteroids, alone) << "an asteroid alone is never tested against the star";
    Asteroid* far = Still(100, 100);
    Still(1096, 1000);
    Asteroid* edge = Still(1000, 1097);
    MoveWorldBodies(world);
    EXPECT_EQ(std::vector<Asteroid*>({world->asteroids, far->next, edge->next}),
              std::vector<Asteroid*>({far, edge, nullptr}));
}

}  // namespace
}  // namespace qv
