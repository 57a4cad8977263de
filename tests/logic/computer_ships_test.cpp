// Computer ships in open space: the step towards a target, the animated
// move, warships bombarding, capturing and destroying planets and firing at
// ships, cargo ships landing at ore and docking at home, and the walk of the
// list with its restarts.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <utility>
#include <vector>

#include "model/globals.h"
#include "model/lists.h"
#include "model/platform.h"
#include "model/random.h"
#include "model/records.h"
#include "hand_built_game.h"
#include "turn/computer_ships.h"

namespace qv {
namespace {

using testing::Append;
using testing::ClearPlanets;

class ComputerShipsTest : public testing::HandBuiltGameTest {
protected:
    void SetUp() override {
        HandBuiltGameTest::SetUp();
        platform.logFrames = true;
    }
};

using ComputerStepTest = ComputerShipsTest;
using ComputerWarshipTest = ComputerShipsTest;
using ComputerCargoShipTest = ComputerShipsTest;

using Place = std::pair<int, int>;

Place At(const Ship* s) { return {s->x, s->y}; }

// ------------------------------------------------------- step and move

TEST_F(ComputerStepTest, StepHasTheModelsSpeedTowardsTheTargetWithTruncatedParts) {
    ShipModel* m = AddModel(red, 100, 10, 10, 0, 10);
    Ship s;
    s.model = m;
    s.actionPoints = 7;  // the step uses the model's speed, not the action points
    auto step = [&](int x, int y, int tx, int ty) {
        s.x = x;
        s.y = y;
        int nx = -1, ny = -1;
        EXPECT_TRUE(StepTowards(s, tx, ty, nx, ny));
        return Place{nx, ny};
    };
    EXPECT_EQ(step(0, 0, 0, 500), (Place{0, 100}));
    EXPECT_EQ(step(0, 0, 300, 400), (Place{60, 80}));
    EXPECT_EQ(step(500, 500, 200, 100), (Place{440, 420}));  // both signs towards the target
    EXPECT_EQ(step(0, 0, -300, 0), (Place{-100, 0}));
    EXPECT_EQ(step(0, 0, 1, 1), (Place{71, 70}));    // dy part 70.7 -> 70, then dx sqrt(5100) -> 71
    EXPECT_EQ(step(0, 0, 1, 2), (Place{45, 89}));    // 40000 / 5 = 8000 -> 89, sqrt(2079) -> 45
    EXPECT_EQ(step(0, 0, 0, 30), (Place{0, 100}));   // a nearer target is passed
    // Far targets keep the exact integer division.
    EXPECT_EQ(step(0, 0, 2000000000, 2000000000), (Place{71, 70}));
    EXPECT_EQ(step(-2000000000, 0, 2000000000, 1), (Place{-1999999900, 0}));

    // A target at the ship's own place gives no direction: it stays.
    s.x = 10;
    s.y = 20;
    int nx = -1, ny = -1;
    EXPECT_FALSE(StepTowards(s, 10, 20, nx, ny));
    EXPECT_EQ((Place{nx, ny}), (Place{10, 20}));
}

TEST_F(ComputerStepTest, MoveOnTheShownWorldShowsThreePlacesInBetweenOneFrameEach) {
    ShipModel* m = AddModel(red, 100, 10, 10, 0, 10);
    Ship* s = AddShip(world, computer, m, 0, 0);
    platform.watched = s;
    MoveShipTo(world, s, 60, 80);
    EXPECT_EQ(platform.places, (std::vector<Place>{{15, 20}, {30, 40}, {45, 60}}));
    EXPECT_EQ(At(s), (Place{60, 80}));
    EXPECT_EQ(platform.frameWaits, 3);
    EXPECT_EQ(platform.idleWaits, 0);

    // Halvings truncate toward zero.
    platform.places.clear();
    s->x = 0;
    s->y = 0;
    MoveShipTo(world, s, -3, -5);
    EXPECT_EQ(platform.places, (std::vector<Place>{{0, -1}, {-1, -2}, {-2, -3}}));
    EXPECT_EQ(At(s), (Place{-3, -5}));
}

TEST_F(ComputerStepTest, MoveElsewhereOnlyWaitsUntilNoFrameIsPending) {
    ShipModel* m = AddModel(red, 100, 10, 10, 0, 10);
    Ship* s = AddShip(other, computer, m, 0, 0);
    platform.watched = s;
    MoveShipTo(other, s, 60, 80);
    EXPECT_EQ(At(s), (Place{60, 80}));
    EXPECT_EQ(platform.frameWaits, 0);
    EXPECT_EQ(platform.idleWaits, 1);
    EXPECT_TRUE(platform.places.empty());
}

// -------------------------------------------------------------- warships

TEST_F(ComputerWarshipTest, BombardsAtRangePlusThirtyMeasuredExactlyAndFliesBeyond) {
    ShipModel* wm = AddModel(red, 50, 100, 10, 0, 100);
    Weapon* gun = AddWeapon(red, 100, 20, 45, 100);
    Planet* p = AddPlanet(world, rival, 78, 104);  // exactly 130 away
    Ship* s = AddShip(world, computer, wm, 0, 0, gun);
    s->weaponReady = 0;  // bombarding needs no readiness

    ComputerShipsAct(world, computer);
    Random mirror(seed);
    EXPECT_EQ(p->shieldPoints, 500 - (20 + mirror.next() % 25));
    EXPECT_EQ(GameRandom().state(), mirror.state());
    EXPECT_EQ(At(s), (Place{0, 0}));
    EXPECT_EQ(s->weaponReady, 0);
    EXPECT_EQ(p->owner, rival);
    EXPECT_EQ(platform.log, std::vector<std::string>{"cue FirstW.wav"});

    // 131 away: it flies and the planet is untouched.
    struct Case {
        Place planet, shipAfter;
    };
    for (const Case& c : {Case{{0, 131}, {0, 50}}, Case{{92, 92}, {35, 35}}}) {  // 130.1 away
        s->x = 0;
        s->y = 0;
        p->x = c.planet.first;
        p->y = c.planet.second;
        p->shieldPoints = 500;
        platform.log.clear();
        ComputerShipsAct(world, computer);
        EXPECT_EQ(p->shieldPoints, 500);
        EXPECT_EQ(At(s), c.shipAfter);
        EXPECT_EQ(platform.log, (std::vector<std::string>{"frame", "frame", "frame"}));
    }
}

TEST_F(ComputerWarshipTest, PlanetLeftAtOneToOneHundredIsCapturedWithItsDockedShips) {
    ShipModel* wm = AddModel(red, 50, 100, 10, 0, 100);
    ShipModel* redFirst = wm;
    Weapon* gun = AddWeapon(red, 100, 60, 61, 100);  // always 60
    ShipModel* blueFirst = AddModel(blue, 40, 80, 10, 0, 100);
    Planet* p = AddPlanet(world, rival, 0, 100);
    p->shieldPoints = 150;
    Ship* d1 = Dock(p, rival, blueFirst);
    Ship* d2 = Dock(p, rival, blueFirst);
    Ship* s = AddShip(world, computer, wm, 0, 0, gun);
    g_selPlanet = p;

    ComputerShipsAct(world, computer);

    EXPECT_EQ(p->shieldPoints, 90);
    EXPECT_EQ(p->owner, computer);
    EXPECT_EQ(d1->owner, computer);
    EXPECT_EQ(d2->owner, computer);
    EXPECT_EQ(d1->model, redFirst);  // docked ships become the captor's race's
    EXPECT_EQ(rival->planetCount, 0);
    EXPECT_EQ(rival->shipCount, 0);
    EXPECT_EQ(computer->planetCount, 1);
    EXPECT_EQ(computer->shipCount, 3);
    EXPECT_EQ(g_selPlanet, p);
    EXPECT_EQ(At(s), (Place{0, 0}));
    EXPECT_EQ(platform.log, (std::vector<std::string>{"cue FirstW.wav", "cue PCapture.wav"}));

    // Where the 60 points leave the planet decides its fate.
    struct Case {
        int before;
        bool captured, destroyed;
    };
    for (const Case& c : {Case{161, false, false}, Case{160, true, false}, Case{61, true, false},
                          Case{60, false, true}}) {
        SCOPED_TRACE(c.before);
        ClearPlanets(world);
        rival->planetCount = 0;
        computer->planetCount = 0;
        Planet* q = AddPlanet(world, rival, 0, 100);
        q->shieldPoints = c.before;
        ComputerShipsAct(world, computer);
        if (c.destroyed) {
            EXPECT_EQ(world->planets, nullptr);
            EXPECT_EQ(rival->planetCount, 0);
        } else {
            ASSERT_EQ(world->planets, q);
            EXPECT_EQ(q->shieldPoints, c.before - 60);
            EXPECT_EQ(q->owner, c.captured ? computer : rival);
            EXPECT_EQ(computer->planetCount, c.captured ? 1 : 0);
        }
    }
}

TEST_F(ComputerWarshipTest, PlanetHitForItsShieldOrMoreIsDestroyedWithItsDockedShips) {
    ShipModel* wm = AddModel(red, 50, 100, 10, 0, 100);
    Weapon* gun = AddWeapon(red, 100, 150, 151, 100);
    ShipModel* bm = AddModel(blue, 40, 80, 10, 0, 100);
    Planet* p = AddPlanet(world, rival, 0, 100);
    p->shieldPoints = 150;
    Dock(p, rival, bm);
    Dock(p, rival, bm);
    AddShip(world, rival, bm, 3000, 3000);
    Ship* s = AddShip(world, computer, wm, 0, 0, gun);
    g_selPlanet = p;
    g_hoverPlanet = p;

    ComputerShipsAct(world, computer);

    EXPECT_EQ(world->planets, nullptr);
    EXPECT_EQ(rival->planetCount, 0);
    EXPECT_EQ(rival->shipCount, 1);
    EXPECT_EQ(computer->planetCount, 0);
    EXPECT_EQ(g_selPlanet, nullptr);
    EXPECT_EQ(g_hoverPlanet, nullptr);
    EXPECT_EQ(At(s), (Place{0, 0}));  // its turn ends with the shot
    EXPECT_EQ(platform.log, (std::vector<std::string>{"cue FirstW.wav", "explode planet", "explode planet"}));
}

TEST_F(ComputerWarshipTest, NeutralPlanetCaptureMovesTheCountFromTheNeutralPlayer) {
    ShipModel* wm = AddModel(red, 50, 100, 10, 0, 100);
    Weapon* gun = AddWeapon(red, 100, 60, 61, 100);
    Planet* p = AddPlanet(world, neutral, 0, 100);
    p->shieldPoints = 120;
    AddShip(world, computer, wm, 0, 0, gun);

    ComputerShipsAct(world, computer);

    EXPECT_EQ(p->owner, computer);
    EXPECT_EQ(p->shieldPoints, 60);
    EXPECT_EQ(neutral->planetCount, 0);
    EXPECT_EQ(computer->planetCount, 1);
}

TEST_F(ComputerWarshipTest, PursuitFireHitsEveryEnemyInReachWhateverTheReadiness) {
    ShipModel* wm = AddModel(red, 50, 100, 10, 0, 100);
    Weapon* gun = AddWeapon(red, 100, 10, 20, 100);
    ShipModel* bm = AddModel(blue, 40, 500, 10, 0, 100);
    AddPlanet(world, rival, 0, 1000);
    Ship* s = AddShip(world, computer, wm, 0, 0, gun);
    s->weaponReady = 0;
    Ship* e1 = AddShip(world, rival, bm, 50, 0);
    Ship* own = AddShip(world, computer, wm, 10, 0);
    Ship* e2 = AddShip(world, rival, bm, 0, -110);
    Ship* e3 = AddShip(world, rival, bm, 115, 0);  // exactly range + 15: out of reach
    own->holds = 1;
    own->holdFull = 1;   // a cargo ship with no home: it flies to the head planet too
    own->actionPoints = 0;

    ComputerShipsAct(world, computer);

    Random mirror(seed);
    EXPECT_EQ(e1->shieldPoints, 500 - (10 + mirror.next() % 10));
    EXPECT_EQ(e2->shieldPoints, 500 - (10 + mirror.next() % 10));
    EXPECT_EQ(GameRandom().state(), mirror.state());
    EXPECT_EQ(e3->shieldPoints, 500);
    EXPECT_EQ(own->shieldPoints, 100);
    EXPECT_EQ(At(s), (Place{0, 50}));
    EXPECT_EQ(s->weaponReady, 0);
    const std::vector<std::string> shot = {"cue FirstW.wav", "explode ship", "explode ship"};
    std::vector<std::string> expected = shot;
    expected.insert(expected.end(), shot.begin(), shot.end());
    for (int i = 0; i < 6; ++i) expected.push_back("frame");  // the warship's move, then the cargo ship's
    EXPECT_EQ(platform.log, expected);
}

TEST_F(ComputerWarshipTest, PursuitFireStopsAfterTheFirstShipItDestroys) {
    ShipModel* wm = AddModel(red, 50, 100, 10, 0, 100);
    Weapon* gun = AddWeapon(red, 100, 10, 20, 100);
    ShipModel* bm = AddModel(blue, 40, 500, 10, 0, 100);
    AddPlanet(world, rival, 0, 1000);
    Ship* s = AddShip(world, computer, wm, 0, 0, gun);
    Ship* e1 = AddShip(world, rival, bm, 50, 0);
    e1->shieldPoints = 5;
    Ship* e2 = AddShip(world, rival, bm, 0, -110);
    g_selShip = e1;
    g_hoverShip = e1;

    ComputerShipsAct(world, computer);

    EXPECT_EQ(CountOf(world->ships), 2);
    EXPECT_EQ(s->next, e2);
    EXPECT_EQ(e2->shieldPoints, 500);  // and no after-move shot: the readiness is spent
    EXPECT_EQ(rival->shipCount, 1);
    EXPECT_EQ(g_selShip, nullptr);
    EXPECT_EQ(g_hoverShip, nullptr);
    EXPECT_EQ(At(s), (Place{0, 50}));
    Random mirror(seed);
    mirror.next();
    EXPECT_EQ(GameRandom().state(), mirror.state());
}

TEST_F(ComputerWarshipTest, AfterMoveFireHitsOneEnemyBelowRangeOnlyWhenReady) {
    ShipModel* wm = AddModel(red, 50, 100, 10, 0, 100);
    Weapon* gun = AddWeapon(red, 100, 10, 20, 100);
    ShipModel* bm = AddModel(blue, 40, 500, 10, 0, 100);
    AddPlanet(world, rival, 0, 1000);
    Ship* s = AddShip(world, computer, wm, 0, 0, gun);
    Ship* edge = AddShip(world, rival, bm, 0, 150);  // exactly 100 after the move
    Ship* e1 = AddShip(world, rival, bm, 0, 140);
    Ship* e2 = AddShip(world, rival, bm, 0, 145);

    ComputerShipsAct(world, computer);

    EXPECT_EQ(At(s), (Place{0, 50}));
    Random mirror(seed);
    EXPECT_EQ(e1->shieldPoints, 500 - (10 + mirror.next() % 10));
    EXPECT_EQ(GameRandom().state(), mirror.state());
    EXPECT_EQ(edge->shieldPoints, 500);
    EXPECT_EQ(e2->shieldPoints, 500);
    EXPECT_EQ(s->weaponReady, 0);
    EXPECT_EQ(platform.log, (std::vector<std::string>{"frame", "frame", "frame", "cue FirstW.wav",
                                                      "explode ship", "explode ship"}));

    // Not ready: it moves and holds its fire.
    s->x = 0;
    s->y = 0;
    e1->shieldPoints = 500;
    ComputerShipsAct(world, computer);
    EXPECT_EQ(At(s), (Place{0, 50}));
    EXPECT_EQ(e1->shieldPoints, 500);
}

TEST_F(ComputerWarshipTest, WarshipWithoutWeaponNeverFiresButStepsTowardsItsTarget) {
    ShipModel* wm = AddModel(red, 50, 100, 10, 0, 100);
    ShipModel* bm = AddModel(blue, 40, 500, 10, 0, 100);
    Planet* p = AddPlanet(world, rival, 0, 100);
    Ship* s = AddShip(world, computer, wm, 0, 0);
    Ship* e = AddShip(world, rival, bm, 0, 20);

    ComputerShipsAct(world, computer);

    EXPECT_EQ(At(s), (Place{0, 50}));
    EXPECT_EQ(p->shieldPoints, 500);
    EXPECT_EQ(e->shieldPoints, 500);
    EXPECT_EQ(GameRandom().state(), Random(seed).state());
    EXPECT_TRUE(platform.cues.empty());
}

TEST_F(ComputerWarshipTest, TargetIsTheNearestOtherPlanetByTruncatedDistanceOrElseTheHead) {
    ShipModel* wm = AddModel(red, 100, 100, 10, 0, 100);
    struct Case {
        std::vector<std::pair<Player*, Place>> planets;
        Place after;
    };
    const Case cases[] = {
        // 300.52 truncates to 300 and ties with 300.0: the earlier stays.
        {{{rival, {212, 213}}, {rival, {300, 0}}, {computer, {10, 0}}}, {71, 70}},
        {{{rival, {300, 0}}, {rival, {212, 213}}, {computer, {10, 0}}}, {100, 0}},
        {{{computer, {10, 0}}, {neutral, {0, -400}}, {rival, {0, 500}}}, {0, -100}},
        // Every planet the owner's: the head.
        {{{computer, {0, -300}}, {computer, {0, 30}}}, {0, -100}},
    };
    for (const Case& c : cases) {
        ClearPlanets(world);
        FreeList(world->ships);
        for (const auto& [owner, at] : c.planets) AddPlanet(world, owner, at.first, at.second);
        Ship* s = AddShip(world, computer, wm, 0, 0);
        ComputerShipsAct(world, computer);
        EXPECT_EQ(At(s), c.after);
    }

    // An own planet in bombarding reach is not bombarded.
    ClearPlanets(world);
    FreeList(world->ships);
    Weapon* gun = AddWeapon(red, 100, 10, 20, 100);
    Planet* home = AddPlanet(world, computer, 0, 120);
    Ship* s = AddShip(world, computer, wm, 0, 0, gun);
    ComputerShipsAct(world, computer);
    EXPECT_EQ(home->shieldPoints, 500);
    EXPECT_EQ(At(s), (Place{0, 100}));
    EXPECT_TRUE(platform.cues.empty());
}

TEST_F(ComputerWarshipTest, WorldWithoutPlanetsKeepsTheWarshipInPlaceButItStillFires) {
    ShipModel* wm = AddModel(red, 50, 100, 10, 0, 100);
    Weapon* gun = AddWeapon(red, 100, 10, 20, 100);
    ShipModel* bm = AddModel(blue, 40, 500, 10, 0, 100);
    Ship* s = AddShip(world, computer, wm, 0, 0, gun);
    Ship* e = AddShip(world, rival, bm, 0, 110);

    ComputerShipsAct(world, computer);

    EXPECT_EQ(At(s), (Place{0, 0}));
    Random mirror(seed);
    EXPECT_EQ(e->shieldPoints, 500 - (10 + mirror.next() % 10));
    EXPECT_EQ(GameRandom().state(), mirror.state());
    EXPECT_EQ(platform.frameWaits, 0);
    EXPECT_EQ(platform.idleWaits, 0);

    // Out of pursuit reach but in reach of the after-move fire.
    e->y = 90;
    e->shieldPoints = 500;
    s->weaponReady = 1;
    SeedRand(seed);
    ComputerShipsAct(world, computer);
    EXPECT_EQ(e->shieldPoints, 500 - (10 + Random(seed).next() % 10));
}

TEST_F(ComputerWarshipTest, ShotsOnAnotherWorldAreSilentAndAFixedDamageWeaponDrawsNothing) {
    ShipModel* wm = AddModel(red, 50, 100, 10, 0, 100);
    Weapon* fixed = AddWeapon(red, 100, 50, 50, 100);
    ShipModel* bm = AddModel(blue, 40, 500, 10, 0, 100);
    Planet* p = AddPlanet(other, rival, 0, 1000);
    Ship* s = AddShip(other, computer, wm, 0, 0, fixed);
    Ship* e = AddShip(other, rival, bm, 0, 100);

    ComputerShipsAct(other, computer);
    EXPECT_EQ(e->shieldPoints, 450);
    EXPECT_EQ(At(s), (Place{0, 50}));
    EXPECT_EQ(platform.log, std::vector<std::string>{"idle"});

    s->y = 900;
    ComputerShipsAct(other, computer);
    EXPECT_EQ(p->shieldPoints, 450);
    EXPECT_TRUE(platform.cues.empty());
    EXPECT_EQ(GameRandom().state(), Random(seed).state());
}

// ----------------------------------------------------------- cargo ships

TEST_F(ComputerCargoShipTest, EmptyShipLandsWithinItsActionPointsAndElseStepsByItsSpeed) {
    ShipModel* hauler = AddModel(red, 70, 100, 10, 4, 100);
    Asteroid* a = AddAsteroid(world, 0, 80, 30);
    Ship* s = AddShip(world, computer, hauler, 0, 0);
    s->actionPoints = 100;
    g_selShip = s;
    g_hoverShip = s;

    ComputerShipsAct(world, computer);

    EXPECT_EQ(world->ships, nullptr);
    ASSERT_NE(a->ships, nullptr);
    Ship* landed = a->ships;
    EXPECT_EQ(landed->owner, computer);
    EXPECT_EQ(landed->holds, 4);
    EXPECT_EQ(landed->actionPoints, 0);
    EXPECT_EQ(At(landed), (Place{0, 0}));
    EXPECT_EQ(landed->pixels[0].colour, 0u);
    EXPECT_EQ(g_selShip, nullptr);
    EXPECT_EQ(g_hoverShip, nullptr);
    EXPECT_EQ(computer->shipCount, 1);
    EXPECT_EQ(platform.frameWaits, 0);

    for (const auto& [distance, landsThere] : {std::pair{120, false}, std::pair{100, true}}) {
        FreeList(a->ships);
        Ship* t = AddShip(world, computer, hauler, 0, 0);
        t->actionPoints = 100;
        a->y = distance;
        ComputerShipsAct(world, computer);
        if (landsThere) {
            EXPECT_EQ(world->ships, nullptr);
            EXPECT_NE(a->ships, nullptr);
        } else {
            ASSERT_EQ(world->ships, t);
            EXPECT_EQ(At(t), (Place{0, 70}));
            EXPECT_EQ(a->ships, nullptr);
        }
    }
}

TEST_F(ComputerCargoShipTest, EmptyShipSeeksTheNearestAsteroidWithOreOrElseTheHead) {
    ShipModel* hauler = AddModel(red, 70, 100, 10, 4, 100);
    struct Case {
        std::vector<std::pair<Place, int>> asteroids;  // place, resources
        Place after;
    };
    const Case cases[] = {
        {{{{0, 150}, 0}, {{0, -300}, 10}}, {0, -70}},
        {{{{0, -300}, 0}, {{0, 150}, 0}}, {0, -70}},  // no ore anywhere: the head
        {{{{0, 300}, 5}, {{0, -300}, 5}}, {0, 70}},    // a tie keeps the earlier
    };
    for (const Case& c : cases) {
        FreeList(world->asteroids);
        FreeList(world->ships);
        for (const auto& [at, ore] : c.asteroids) AddAsteroid(world, at.first, at.second, ore);
        Ship* s = AddShip(world, computer, hauler, 0, 0);
        ComputerShipsAct(world, computer);
        EXPECT_EQ(At(s), c.after);
    }
}

TEST_F(ComputerCargoShipTest, FullShipDocksAtTheLastPlanetOfItsOwnerWhateverTheDistance) {
    ShipModel* hauler = AddModel(red, 70, 100, 10, 4, 100);
    Planet* nearHome = AddPlanet(world, computer, 0, 50);
    Planet* lastHome = AddPlanet(world, computer, 0, 90);
    AddPlanet(world, rival, 0, 10);
    Ship* s = AddShip(world, computer, hauler, 0, 0);
    s->holdFull = 1;
    s->actionPoints = 100;

    ComputerShipsAct(world, computer);

    EXPECT_EQ(world->ships, nullptr);
    EXPECT_EQ(nearHome->docks, nullptr);
    ASSERT_NE(lastHome->docks, nullptr);
    EXPECT_EQ(lastHome->docks->holdFull, 1);
    EXPECT_EQ(lastHome->docks->actionPoints, 0);
    EXPECT_EQ(lastHome->docks->owner, computer);

    // Out of its action points it steps towards that planet.
    Ship* t = AddShip(world, computer, hauler, 0, 300);
    t->holdFull = 1;
    t->actionPoints = 100;
    ComputerShipsAct(world, computer);
    EXPECT_EQ(At(t), (Place{0, 230}));
    EXPECT_EQ(CountOf(lastHome->docks), 1);
}

TEST_F(ComputerCargoShipTest, FullShipDocksAtExactlyItsActionPointsAway) {
    ShipModel* hauler = AddModel(red, 70, 100, 10, 4, 100);
    Planet* home = AddPlanet(world, computer, 0, 100);
    Ship* s = AddShip(world, computer, hauler, 0, 0);
    s->holdFull = 1;
    s->actionPoints = 100;
    ComputerShipsAct(world, computer);
    EXPECT_EQ(world->ships, nullptr);
    EXPECT_EQ(CountOf(home->docks), 1);
}

TEST_F(ComputerCargoShipTest, FullShipWithoutAHomePlanetFliesAtTheHeadPlanetAndNeverDocks) {
    ShipModel* hauler = AddModel(red, 70, 100, 10, 4, 100);
    Planet* head = AddPlanet(world, rival, 0, 50);
    AddPlanet(world, rival, 0, -500);
    Ship* s = AddShip(world, computer, hauler, 0, 0);
    s->holdFull = 1;
    s->actionPoints = 100;

    ComputerShipsAct(world, computer);

    EXPECT_EQ(world->ships, s);
    EXPECT_EQ(At(s), (Place{0, 70}));
    EXPECT_EQ(head->docks, nullptr);
}

TEST_F(ComputerCargoShipTest, CargoShipsStayInAWorldWithoutTheirTarget) {
    ShipModel* hauler = AddModel(red, 70, 100, 10, 4, 100);
    AddPlanet(world, computer, 0, 50);  // planets but no asteroid
    Ship* empty = AddShip(world, computer, hauler, 0, 0);
    ComputerShipsAct(world, computer);
    EXPECT_EQ(At(empty), (Place{0, 0}));
    EXPECT_EQ(world->ships, empty);

    AddAsteroid(other, 0, 50, 10);  // an asteroid but no planet
    Ship* full = AddShip(other, computer, hauler, 0, 0);
    full->holdFull = 1;
    ComputerShipsAct(other, computer);
    EXPECT_EQ(At(full), (Place{0, 0}));
    EXPECT_EQ(other->ships, full);
    EXPECT_EQ(platform.frameWaits + platform.idleWaits, 0);
}

// ------------------------------------------------------------ the walk

TEST_F(ComputerShipsTest, LandingStartsTheVisitAgainSoEarlierShipsActOnceMore) {
    ShipModel* wm = AddModel(red, 50, 100, 10, 0, 100);
    ShipModel* hauler = AddModel(red, 70, 100, 10, 4, 100);
    ShipModel* bm = AddModel(blue, 50, 100, 10, 0, 100);
    AddPlanet(world, rival, 0, 1000);
    Asteroid* a = AddAsteroid(world, 500, 560, 30);
    Ship* before = AddShip(world, computer, wm, 0, 0);
    AddShip(world, computer, hauler, 500, 500);  // lands
    Ship* after = AddShip(world, computer, wm, 1000, 0);
    Ship* foreign = AddShip(world, rival, bm, 2000, 0);
    Ship* full = AddShip(world, computer, hauler, 3000, 1000);  // docks nowhere: no home
    full->holdFull = 1;

    ComputerShipsAct(world, computer);

    EXPECT_EQ(CountOf(a->ships), 1);
    EXPECT_EQ(At(before), (Place{0, 100}));  // stepped before and after the restart
    Ship once = *after;
    once.x = 1000;
    once.y = 0;
    int nx = 0, ny = 0;
    ASSERT_TRUE(StepTowards(once, 0, 1000, nx, ny));
    EXPECT_EQ(At(after), (Place{nx, ny}));
    EXPECT_EQ(At(foreign), (Place{2000, 0}));
    EXPECT_EQ(At(full), (Place{2930, 1000}));  // flew once, towards the head planet
    EXPECT_EQ(platform.frameWaits, 4 * 3);
}

TEST_F(ComputerShipsTest, DockingStartsTheVisitAgainToo) {
    ShipModel* wm = AddModel(red, 50, 100, 10, 0, 100);
    ShipModel* hauler = AddModel(red, 70, 100, 10, 4, 100);
    Planet* home = AddPlanet(world, computer, 500, 550);
    Ship* before = AddShip(world, computer, wm, 500, 0);  // no other planet: hunts the head, its own
    Ship* full = AddShip(world, computer, hauler, 500, 500);
    full->holdFull = 1;

    ComputerShipsAct(world, computer);

    EXPECT_EQ(CountOf(home->docks), 1);
    EXPECT_EQ(At(before), (Place{500, 100}));
}

TEST_F(ComputerShipsTest, OtherPlayersShipsAreLeftAlone) {
    ShipModel* bm = AddModel(blue, 50, 100, 10, 0, 100);
    Weapon* bw = AddWeapon(blue, 100, 10, 20, 100);
    Planet* p = AddPlanet(world, computer, 0, 100);
    Ship* e = AddShip(world, rival, bm, 0, 0, bw);

    ComputerShipsAct(world, computer);

    EXPECT_EQ(At(e), (Place{0, 0}));
    EXPECT_EQ(p->shieldPoints, 500);
    EXPECT_TRUE(platform.log.empty());
}

}  // namespace
}  // namespace qv
