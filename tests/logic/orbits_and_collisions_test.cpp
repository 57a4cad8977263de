// One turn of a world's bodies: the orbit rotation's integer positions,
// planet and asteroid collisions, drifting and wrapping asteroids, and the
// star that swallows asteroids.
#include "game_fixture.h"
#include "model/geometry.h"
#include "turn/orbits.h"

namespace qv {
namespace {

using testing::GameTest;

TEST(OrbitRotation, RoundsUpAndUsesTheNewXForY) {
    // Worked out by hand from the rotation rule (angle 3.14159 / (108 x
    // period), ceilings, y from the new x).
    struct Case { int x, y, period, direction, ex, ey; } cases[] = {
        {1150, 1000, 1, 0, 1150, 996},
        {1150, 1000, 1, 1, 1150, 1005},
        {700, 1333, 3, 0, 704, 1336},
    };
    for (const Case& c : cases) {
        int x = c.x, y = c.y;
        RotateAbout(x, y, 1000, 1000, PlanetOrbitAngle(c.period, c.direction));
        EXPECT_EQ(x, c.ex) << c.x << "," << c.y;
        EXPECT_EQ(y, c.ey) << c.x << "," << c.y;
    }
    // 216 turns of period 1 are about one orbit; the ceilings make the path
    // drift inwards a little.
    int x = 1150, y = 1000;
    for (int i = 0; i < 216; ++i) RotateAbout(x, y, 1000, 1000, PlanetOrbitAngle(1, 0));
    EXPECT_EQ(x, 1139);
    EXPECT_EQ(y, 986);
}

class OrbitsTest : public GameTest {
protected:
    // An empty world 1 shown on the map, of size 2000, with a human and a
    // computer player; the bodies of each test are placed by hand.
    void SetUp() override {
        GameTest::SetUp();
        NewGameOptions chosen;
        chosen.worldsSizeOption = 2;
        chosen.worldsQuantityOption = 2;
        NewGame(chosen, 5);
        world = g_worlds;
        g_currentWorld = world;
        for (World* w = g_worlds; w; w = w->next) ClearWorld(w);
        human = g_players;
        computer = g_players->next;
        for (Player* p = g_players; p; p = p->next) p->planetCount = 0;
        platform.cues.clear();
    }
    static void ClearWorld(World* w) {
        while (w->planets) {
            Planet* p = w->planets;
            Unlink(w->planets, p);
            delete p;
        }
        while (w->asteroids) {
            Asteroid* a = w->asteroids;
            Unlink(w->asteroids, a);
            delete a;
        }
        g_selPlanet = nullptr;
    }
    // Inserted at the head: add the list's last planet first.
    Planet* AddPlanet(int x, int y, Player* owner, int period = 1, int direction = 0) {
        auto* p = new Planet;
        p->x = x;
        p->y = y;
        p->owner = owner;
        p->orbitPeriod = period;
        p->orbitDirection = direction;
        ++owner->planetCount;
        InsertAtHead(world->planets, p);
        return p;
    }
    Asteroid* AddAsteroid(int x, int y, int motion = 0, int rate = 1) {
        auto* a = new Asteroid;
        a->x = x;
        a->y = y;
        a->motion = motion;
        a->motionRate = rate;
        a->resources = 50;
        InsertAtHead(world->asteroids, a);
        return a;
    }
    int Booms() const { return static_cast<int>(std::count(platform.cues.begin(), platform.cues.end(), "Medexpl.wav")); }

    World* world = nullptr;
    Player* human = nullptr;
    Player* computer = nullptr;
};

// Two planets of one orbit class on one side of the star, placed so that
// after this turn's rotation their distance d is lower <= d < upper.
std::pair<std::pair<int, int>, std::pair<int, int>> PairEndingApart(double lower, double upper) {
    for (int dx = -70; dx <= 70; ++dx) {
        for (int dy = -70; dy <= 70; ++dy) {
            int x1 = 1600, y1 = 1000, x2 = 1600 + dx, y2 = 1000 + dy;
            RotateAbout(x1, y1, 1000, 1000, PlanetOrbitAngle(1, 0));
            RotateAbout(x2, y2, 1000, 1000, PlanetOrbitAngle(1, 0));
            const double d = Distance(x1, y1, x2, y2);
            if (d >= lower && d < upper) return {{1600, 1000}, {1600 + dx, 1000 + dy}};
        }
    }
    return {{0, 0}, {0, 0}};
}

TEST_F(OrbitsTest, PlanetsCloserThan60AfterMovingDestroyEachOther) {
    const auto at60 = PairEndingApart(60.0, 60.0 + 1e-9);
    const auto at59 = PairEndingApart(59.0, 60.0);
    ASSERT_NE(at60.first.first, 0) << "no pair ends exactly 60 apart";
    ASSERT_NE(at59.first.first, 0);

    AddPlanet(at60.first.first, at60.first.second, human);
    AddPlanet(at60.second.first, at60.second.second, computer);
    MoveWorldBodies(world);
    EXPECT_EQ(CountOf(world->planets), 2);
    EXPECT_EQ(Booms(), 0);

    ClearWorld(world);
    human->planetCount = computer->planetCount = 0;
    Planet* a = AddPlanet(at59.first.first, at59.first.second, human);
    auto* docked = new Ship;
    docked->owner = human;
    human->shipCount = 1;
    InsertAtHead(a->docks, docked);
    g_selPlanet = a;
    AddPlanet(at59.second.first, at59.second.second, computer);
    MoveWorldBodies(world);
    EXPECT_EQ(world->planets, nullptr);
    EXPECT_EQ(human->planetCount, 0);
    EXPECT_EQ(computer->planetCount, 0);
    EXPECT_EQ(human->shipCount, 0);  // the docked ship went with its planet
    EXPECT_EQ(g_selPlanet, nullptr);
    EXPECT_EQ(Booms(), 2);
    EXPECT_EQ(platform.explosions, 4);  // two frames each, on the world shown
}

TEST_F(OrbitsTest, AfterAPlanetCollisionThePassStartsAgain) {
    // List order: first, then the colliding pair. The first planet is moved
    // once before the collision and once more after the restart.
    const auto pair = PairEndingApart(10.0, 59.0);
    ASSERT_NE(pair.first.first, 0);
    AddPlanet(pair.second.first, pair.second.second, computer);
    AddPlanet(pair.first.first, pair.first.second, computer);
    Planet* first = AddPlanet(1000, 500, human, 2, 1);
    MoveWorldBodies(world);
    ASSERT_EQ(world->planets, first);
    EXPECT_EQ(first->next, nullptr);
    int x = 1000, y = 500;
    RotateAbout(x, y, 1000, 1000, PlanetOrbitAngle(2, 1));
    RotateAbout(x, y, 1000, 1000, PlanetOrbitAngle(2, 1));
    EXPECT_EQ(first->x, x);
    EXPECT_EQ(first->y, y);
}

TEST_F(OrbitsTest, AnAsteroidWearsDownAPlanetsShield) {
    struct Case { int shield, left; bool survives; } cases[] = {{500, 50, true}, {800, 350, true}, {450, 0, false}};
    for (const Case& c : cases) {
        ClearWorld(world);
        human->planetCount = 0;
        Planet* p = AddPlanet(1500, 1000, human);
        p->shieldPoints = c.shield;
        Asteroid* a = AddAsteroid(1500, 990);
        g_hoverAsteroid = a;
        const int booms = Booms();
        MoveWorldBodies(world);
        EXPECT_EQ(world->asteroids, nullptr);
        EXPECT_EQ(g_hoverAsteroid, nullptr);
        if (c.survives) {
            ASSERT_EQ(world->planets, p);
            EXPECT_EQ(p->shieldPoints, c.left);
            EXPECT_EQ(Booms(), booms + 1);
        } else {
            EXPECT_EQ(world->planets, nullptr);
            EXPECT_EQ(human->planetCount, 0);
            EXPECT_EQ(Booms(), booms + 2);
        }
    }
}

TEST_F(OrbitsTest, DriftingAsteroidsWrapAroundTheEdges) {
    const int s = g_worldSize;
    Asteroid* right = AddAsteroid(s - 1, 500, 5, 3);
    Asteroid* left = AddAsteroid(1, 700, 9, 3);
    Asteroid* up = AddAsteroid(300, 1, 3, 2);
    Asteroid* zero = AddAsteroid(600, 2, 3, 2);  // reaches 0 and stays
    Asteroid* edge = AddAsteroid(400, s - 2, 7, 2);  // reaches the edge and stays
    Asteroid* diagonal = AddAsteroid(200, 1500, 8, 3);
    Asteroid* still = AddAsteroid(1700, 1700, 0, 3);
    Asteroid* rim = AddAsteroid(s - 3, 900, 5, 3);  // reaches the edge and stays
    MoveWorldBodies(world);
    EXPECT_EQ(right->x, 0);
    EXPECT_EQ(left->x, s);
    EXPECT_EQ(up->y, s);
    EXPECT_EQ(zero->y, 0);
    EXPECT_EQ(edge->y, s);
    EXPECT_EQ(diagonal->x, 197);
    EXPECT_EQ(diagonal->y, 1503);
    EXPECT_EQ(still->x, 1700);
    EXPECT_EQ(still->y, 1700);
    EXPECT_EQ(rim->x, s);
    EXPECT_EQ(CountOf(world->asteroids), 8);
}

TEST_F(OrbitsTest, CirclingAsteroidsTurnTheNegativeWay) {
    Asteroid* a = AddAsteroid(1000, 550, 1, 2);
    AddAsteroid(1800, 1800);
    MoveWorldBodies(world);
    EXPECT_EQ(a->x, 1007);
    EXPECT_EQ(a->y, 551);
}

TEST_F(OrbitsTest, TheTailIsAPartnerOnlyWhenItFollowsTheAsteroidMoved) {
    // List: head, middle, tail; head and tail touch, the middle is far.
    AddAsteroid(300, 300);  // the tail
    Asteroid* middle = AddAsteroid(1700, 1700);
    Asteroid* head = AddAsteroid(310, 300);
    g_selAsteroid = head;
    // Visiting the head, its partners are the middle (missed) and then no
    // more: the tail is not tested. Visiting the middle, the tail follows it
    // and is tested (missed). Visiting the tail, the head is its first
    // partner: both go.
    MoveWorldBodies(world);
    EXPECT_EQ(world->asteroids, middle);
    EXPECT_EQ(middle->next, nullptr);
    EXPECT_EQ(g_selAsteroid, nullptr);
    EXPECT_EQ(Booms(), 2);

    // The tail drifts away in its own visit: had the head's visit tested it
    // (32 apart then), both would be gone.
    ClearWorld(world);
    AddAsteroid(300, 300, 9, 3);  // the tail: to (297, 300), 35 from the head
    AddAsteroid(1700, 1700);
    AddAsteroid(332, 300);
    MoveWorldBodies(world);
    EXPECT_EQ(CountOf(world->asteroids), 3);

    // Two asteroids touching: the second one is tested as the successor.
    ClearWorld(world);
    AddAsteroid(500, 520);
    AddAsteroid(500, 500);
    MoveWorldBodies(world);
    EXPECT_EQ(world->asteroids, nullptr);
}

TEST_F(OrbitsTest, TheStarSwallowsAsteroidsThatHaveAPartner) {
    const int c = g_worldSize / 2;
    Asteroid* alone = AddAsteroid(c + 10, c);
    MoveWorldBodies(world);
    EXPECT_EQ(world->asteroids, alone) << "an asteroid alone is never tested against the star";

    AddAsteroid(100, 100);  // a far partner
    AddAsteroid(c + 96, c);  // closer than 97
    AddAsteroid(c, c + 97);  // exactly 97: stays
    MoveWorldBodies(world);
    // The one at 97 stays, the one at 96 falls, and the one at 10, now with
    // partners to miss, falls too.
    int left = 0;
    for (Asteroid* a = world->asteroids; a; a = a->next) {
        ++left;
        EXPECT_GE(Distance(a->x, a->y, c, c), 97.0);
    }
    EXPECT_EQ(left, 2);
}

TEST_F(OrbitsTest, OnOtherWorldsNothingIsShownOrHeard) {
    g_currentWorld = g_worlds->next;
    AddPlanet(1500, 1000, human)->shieldPoints = 100;
    AddAsteroid(1500, 995);
    MoveWorldBodies(world);
    EXPECT_EQ(world->planets, nullptr);
    EXPECT_EQ(Booms(), 0);
    EXPECT_EQ(platform.explosions, 0);
}

}  // namespace
}  // namespace qv
