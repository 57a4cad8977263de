// One turn of a world's bodies: the orbit rotation's integer places, planets
// closer than 60 destroying each other, an asteroid closer than 47 to a
// planet costing it 450 shield points, asteroids closer than 34 destroying
// each other, drifting and wrapping asteroids, and the star swallowing
// asteroids closer than 97.
#include "hand_built_game.h"
#include "model/geometry.h"
#include "turn/orbits.h"

namespace qv {
namespace {

using testing::ClearPlanets;

TEST(OrbitRotation, RoundsUpAndUsesTheNewXForY) {
    // Worked by hand: angle 3.14159 / (108 x period), negative for direction
    // 1; x = ceil(dx cos + dy sin), y = ceil(dy cos - x sin) from the new x.
    struct Case {
        int x, y, period, direction, ex, ey;
    } cases[] = {{1150, 1000, 1, 0, 1150, 996}, {1150, 1000, 1, 1, 1150, 1005}, {700, 1333, 3, 0, 704, 1336}};
    for (const Case& c : cases) {
        int x = c.x, y = c.y;
        RotateAbout(x, y, 1000, 1000, PlanetOrbitAngle(c.period, c.direction));
        EXPECT_EQ(std::make_pair(x, y), std::make_pair(c.ex, c.ey)) << c.x << "," << c.y;
    }
}

// A world of size 2000 with its star at (1000, 1000), bodies placed by hand.
class OrbitsTest : public testing::HandBuiltGameTest {
protected:
    Planet* Orbiting(Player* owner, int x, int y, int period = 1, int direction = 0) {
        Planet* p = AddPlanet(world, owner, x, y);
        p->orbitPeriod = period;
        p->orbitDirection = direction;
        return p;
    }
    Asteroid* Drifting(int x, int y, int motion = 0, int rate = 1) {
        Asteroid* a = AddAsteroid(world, x, y, 50);
        a->motion = motion;
        a->motionRate = rate;
        return a;
    }
    void Clear() {
        ClearPlanets(world);
        FreeList(world->asteroids);
        human->planetCount = computer->planetCount = 0;
        platform.cues.clear();
        platform.explosions = 0;
    }
    int Booms() const {
        return static_cast<int>(std::count(platform.cues.begin(), platform.cues.end(), "Medexpl.wav"));
    }
    // Where a planet of period 1 at (x, y) is after this turn's rotation.
    static std::pair<int, int> AfterTurn(int x, int y) {
        RotateAbout(x, y, 1000, 1000, PlanetOrbitAngle(1, 0));
        return {x, y};
    }
};

// Two planets of period 1 starting at (1600, 1000) and near it, placed so
// that after the turn's rotation lower <= distance < upper.
std::pair<int, int> PartnerEndingApart(double lower, double upper) {
    int x1 = 1600, y1 = 1000;
    RotateAbout(x1, y1, 1000, 1000, PlanetOrbitAngle(1, 0));
    for (int dx = -70; dx <= 70; ++dx)
        for (int dy = -70; dy <= 70; ++dy) {
            int x2 = 1600 + dx, y2 = 1000 + dy;
            RotateAbout(x2, y2, 1000, 1000, PlanetOrbitAngle(1, 0));
            const double d = Distance(x1, y1, x2, y2);
            if (d >= lower && d < upper) return {1600 + dx, 1000 + dy};
        }
    return {0, 0};
}

TEST_F(OrbitsTest, PlanetsCloserThan60AfterMovingDestroyEachOtherWithTheirDockedShips) {
    const auto at60 = PartnerEndingApart(60.0, 60.0 + 1e-9);
    const auto at59 = PartnerEndingApart(59.0, 60.0);
    ASSERT_NE(at60.first, 0) << "no pair ends exactly 60 apart";
    ASSERT_NE(at59.first, 0);
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
    EXPECT_EQ(human->planetCount + computer->planetCount + human->shipCount, 0);
    EXPECT_EQ(g_selPlanet, nullptr);
    EXPECT_EQ(Booms(), 2);
    EXPECT_EQ(platform.explosions, 4);  // two frames each, on the world shown
}

TEST_F(OrbitsTest, AfterAPlanetCollisionThePassStartsAgain) {
    const auto partner = PartnerEndingApart(10.0, 59.0);
    Planet* first = Orbiting(human, 1000, 500, 2, 1);
    Orbiting(computer, 1600, 1000);
    Orbiting(computer, partner.first, partner.second);
    MoveWorldBodies(world);
    ASSERT_EQ(world->planets, first);
    EXPECT_EQ(first->next, nullptr);
    int x = 1000, y = 500;  // moved before the collision and again after it
    for (int i = 0; i < 2; ++i) RotateAbout(x, y, 1000, 1000, PlanetOrbitAngle(2, 1));
    EXPECT_EQ(std::make_pair(first->x, first->y), std::make_pair(x, y));
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
        Asteroid* a = Drifting(px, py + c.distance);
        g_hoverAsteroid = a;
        MoveWorldBodies(world);
        if (c.distance >= 47) {
            EXPECT_EQ(world->asteroids, a);
            EXPECT_EQ(Booms(), 0);
        } else {
            EXPECT_EQ(world->asteroids, nullptr);
            EXPECT_EQ(g_hoverAsteroid, nullptr);
            EXPECT_EQ(Booms(), c.left < 0 ? 2 : 1);
        }
        if (c.left >= 0) {
            ASSERT_EQ(world->planets, p);
            EXPECT_EQ(p->shieldPoints, c.left);
        } else {
            EXPECT_EQ(world->planets, nullptr);
            EXPECT_EQ(human->planetCount, 0);
        }
    }
    // On a world not shown nothing is seen or heard.
    Clear();
    AddPlanet(other, human, 1500, 1000)->orbitPeriod = 1;
    AddAsteroid(other, px, py + 5, 50);
    other->planets->shieldPoints = 100;
    MoveWorldBodies(other);
    EXPECT_EQ(other->planets, nullptr);
    EXPECT_EQ(Booms() + platform.explosions, 0);
}

TEST_F(OrbitsTest, AsteroidsDriftByTheirRateAndWrapAroundTheEdges) {
    struct Case {
        int x, y, motion, rate, ex, ey;
    } cases[] = {
        {1999, 500, 5, 3, 0, 500},      {1, 700, 9, 3, 2000, 700},
        {300, 1, 3, 2, 300, 2000},      {600, 2, 3, 2, 600, 0},
        {400, 1998, 7, 2, 400, 2000},   {1997, 900, 5, 3, 2000, 900},
        {200, 1500, 8, 3, 197, 1503},   {500, 300, 2, 1, 499, 299},
        {1500, 300, 4, 2, 1502, 298},   {300, 1300, 6, 3, 303, 1303},
        {1700, 1700, 0, 3, 1700, 1700}, {1000, 550, 1, 2, 1007, 551},  // circling turns the negative way
    };
    std::vector<Asteroid*> asteroids;
    for (const Case& c : cases) asteroids.push_back(Drifting(c.x, c.y, c.motion, c.rate));
    MoveWorldBodies(world);
    ASSERT_EQ(CountOf(world->asteroids), 12);
    for (std::size_t i = 0; i < asteroids.size(); ++i)
        EXPECT_EQ(std::make_pair(asteroids[i]->x, asteroids[i]->y), std::make_pair(cases[i].ex, cases[i].ey)) << i;
}

TEST_F(OrbitsTest, AsteroidsCloserThan34DestroyEachOtherButTheTailIsAPartnerOnlyAfterItsPredecessor) {
    for (const auto& [apart, destroyed] : {std::pair{34, false}, std::pair{33, true}}) {
        Clear();
        Drifting(500, 500);
        Drifting(500, 500 + apart);
        MoveWorldBodies(world);
        EXPECT_EQ(world->asteroids == nullptr, destroyed) << apart;
    }
    // The head's visit does not test the tail; the middle's does (missed);
    // the tail's visit takes the head as its first partner: both go.
    Clear();
    Asteroid* head = Drifting(310, 300);
    Asteroid* middle = Drifting(1700, 1700);
    Drifting(300, 300);
    g_selAsteroid = head;
    MoveWorldBodies(world);
    EXPECT_EQ(world->asteroids, middle);
    EXPECT_EQ(middle->next, nullptr);
    EXPECT_EQ(g_selAsteroid, nullptr);
    EXPECT_EQ(Booms(), 2);
    // So a tail 32 from the head drifts 35 away in its own visit and stays.
    Clear();
    Drifting(332, 300);
    Drifting(1700, 1700);
    Drifting(300, 300, 9, 3);
    MoveWorldBodies(world);
    EXPECT_EQ(CountOf(world->asteroids), 3);
}

TEST_F(OrbitsTest, TheStarSwallowsAsteroidsCloserThan97ThatHaveAPartner) {
    Asteroid* alone = Drifting(1010, 1000);
    MoveWorldBodies(world);
    EXPECT_EQ(world->asteroids, alone) << "an asteroid alone is never tested against the star";
    Asteroid* far = Drifting(100, 100);
    Drifting(1096, 1000);
    Asteroid* edge = Drifting(1000, 1097);
    MoveWorldBodies(world);
    EXPECT_EQ(world->asteroids, far);
    EXPECT_EQ(far->next, edge);
    EXPECT_EQ(edge->next, nullptr);
}

}  // namespace
}  // namespace qv
