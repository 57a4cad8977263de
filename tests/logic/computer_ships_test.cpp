// Computer ships: the step and the animated move, bombarding, capturing,
// firing before and after moving, landing at ore and docking at home.
#include "game_fixture.h"
#include "turn/computer_ships.h"

namespace qv {
namespace {

using Place = std::pair<int, int>;
using Log = std::vector<std::string>;

Place At(const Ship* s) { return {s->x, s->y}; }

class ComputerShipsTest : public testing::HandBuiltGameTest {
protected:
    void SetUp() override {
        HandBuiltGameTest::SetUp();
        platform.logFrames = true;
        wm = AddModel(red, 50, 100, 10, 0, 100);
        hauler = AddModel(red, 70, 100, 10, 4, 100);
        bm = AddModel(blue, 40, 500, 10, 0, 100);
        gun = AddWeapon(red, 100, 10, 11, 100);  // always 10
    }
    void Act() { ComputerShipsAct(world, computer); }
    void Reset() {
        testing::ClearPlanets(world);
        FreeList(world->ships);
        for (Asteroid* a = world->asteroids; a; a = a->next) FreeList(a->ships);
        FreeList(world->asteroids);
        platform.log.clear();
        computer->shipCount = computer->planetCount = rival->shipCount = rival->planetCount = 0;
    }
    ShipModel *wm = nullptr, *hauler = nullptr, *bm = nullptr;
    Weapon* gun = nullptr;
};

TEST_F(ComputerShipsTest, AStepHasTheModelsSpeedTowardsTheTargetWithTruncatedParts) {
    Ship s;
    s.model = AddModel(red, 100, 10, 10, 0, 10);
    s.actionPoints = 7;  // the step uses the model's speed, not the action points
    // The y part first, truncated, then the x part: (1, 1) gives 70 and sqrt(10000 - 4900) = 71.
    // clang-format off
    struct Case { int x, y, tx, ty; Place after; } cases[] = {
        {0, 0, 0, 30, {0, 100}}, {500, 500, 200, 100, {440, 420}}, {0, 0, -300, 0, {-100, 0}}, {0, 0, 1, 1, {71, 70}},
        {0, 0, 2000000000, 2000000000, {71, 70}}, {-2000000000, 0, 2000000000, 1, {-1999999900, 0}}};
    // clang-format on
    for (const Case& c : cases) {
        s.x = c.x;
        s.y = c.y;
        Place next{-1, -1};
        EXPECT_TRUE(StepTowards(s, c.tx, c.ty, next.first, next.second));
        EXPECT_EQ(next, c.after) << c.tx << "," << c.ty;
    }
    Place next{-1, -1};  // at its own place: no direction, it stays
    EXPECT_FALSE(StepTowards(s, s.x, s.y, next.first, next.second));
    EXPECT_EQ(next, At(&s));
}

TEST_F(ComputerShipsTest, AMoveOnTheShownWorldShowsThreePlacesInBetweenElsewhereItWaitsForIdleSilently) {
    Ship* s = AddShip(world, computer, wm, 0, 0);
    platform.watched = s;
    MoveShipTo(world, s, -3, -5);  // halvings truncate toward zero
    MoveShipTo(world, s, 57, 75);
    EXPECT_EQ(platform.places, (std::vector<Place>{{0, -1}, {-1, -2}, {-2, -3}, {12, 15}, {27, 35}, {42, 55}}));
    EXPECT_EQ(At(s), (Place{57, 75}));
    Ship* t = AddShip(other, computer, wm, 0, 0);
    platform.log.clear();
    MoveShipTo(other, t, 60, 80);
    EXPECT_EQ(At(t), (Place{60, 80}));
    EXPECT_EQ(platform.log, Log{"idle"});
    // Its shots there are not heard or shown either.
    t->weapon = gun;
    Ship* e = AddShip(other, rival, bm, 60, 100);
    ComputerShipsAct(other, computer);
    EXPECT_EQ(std::make_pair(e->shieldPoints, platform.log.size()), std::make_pair(490, std::size_t{1}));
}

TEST_F(ComputerShipsTest, AWarshipBombardsItsTargetUpToRangePlus30WhateverItsReadinessAndElseFlies) {
    // clang-format off
    struct Case { Place planet; Player* owner; Weapon* weapon; int shieldAfter; Place after; } cases[] = {
        {{78, 104}, rival, gun, 490, {0, 0}}, {{0, 131}, rival, gun, 500, {0, 50}},  // exactly 130, and 131
        {{92, 92}, rival, gun, 500, {35, 35}},                                       // 130.1
        {{0, 120}, computer, gun, 500, {0, 50}}, {{0, 120}, rival, nullptr, 500, {0, 50}}};  // its own; unarmed
    // clang-format on
    for (const Case& c : cases) {
        Reset();
        Planet* p = AddPlanet(world, c.owner, c.planet.first, c.planet.second);
        Ship* s = AddShip(world, computer, wm, 0, 0, c.weapon);
        s->weaponReady = 0;
        Act();
        EXPECT_EQ(std::make_pair(p->shieldPoints, At(s)), std::make_pair(c.shieldAfter, c.after)) << c.planet.second;
        EXPECT_EQ(platform.log.front(), c.shieldAfter < 500 ? "cue FirstW.wav" : "frame");
    }
}

TEST_F(ComputerShipsTest, APlanetLeftAt1To100IsCapturedWithItsDockedShipsAndAt0DestroyedWithThem) {
    Weapon* heavy = AddWeapon(red, 100, 60, 61, 100);  // always 60
    // clang-format off
    struct Case { int before; Player* owner; bool captured; } cases[] = {
        {161, rival, false}, {160, rival, true}, {61, rival, true}, {120, neutral, true}, {60, rival, false}};
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.before);
        Reset();
        neutral->planetCount = 0;
        Planet* p = AddPlanet(world, c.owner, 0, 100);
        p->shieldPoints = c.before;
        Ship* d = Dock(p, rival, bm);
        AddShip(world, computer, wm, 0, 0, heavy);
        g_selPlanet = g_hoverPlanet = p;
        Act();
        if (c.before == 60) {
            EXPECT_EQ(std::make_tuple(world->planets, g_selPlanet, g_hoverPlanet),
                      std::make_tuple(nullptr, nullptr, nullptr));
            EXPECT_EQ(rival->planetCount + rival->shipCount, 0);
            EXPECT_EQ(platform.log, (Log{"cue FirstW.wav", "explode planet", "explode planet"}));
            continue;
        }
        EXPECT_EQ(
            std::make_tuple(p->shieldPoints, p->owner, computer->planetCount, c.owner->planetCount, g_selPlanet),
            std::make_tuple(c.before - 60, c.captured ? computer : c.owner, c.captured ? 1 : 0, c.captured ? 0 : 1, p));
        EXPECT_EQ(std::make_pair(d->owner, computer->shipCount),
                  c.captured ? std::make_pair(computer, 2) : std::make_pair(rival, 1));
        EXPECT_EQ(platform.log.back(), c.captured ? "cue PCapture.wav" : "cue FirstW.wav");
    }
}

TEST_F(ComputerShipsTest, AWarshipFiresAtEveryEnemyBelowRangePlus15ThenMovesThenOnceBelowRangeIfStillReady) {
    AddPlanet(world, rival, 0, 1000);
    Ship* s = AddShip(world, computer, wm, 0, 0, gun);
    s->weaponReady = 0;  // pursuit fire needs no readiness
    Ship* e1 = AddShip(world, rival, bm, 50, 0);
    Ship* own = AddShip(world, computer, wm, 10, 0);
    Ship* e2 = AddShip(world, rival, bm, 0, -114);
    Ship* e3 = AddShip(world, rival, bm, 115, 0);  // exactly range + 15: out of reach
    Act();
    EXPECT_EQ(std::vector<int>({e1->shieldPoints, e2->shieldPoints, e3->shieldPoints, own->shieldPoints}),
              std::vector<int>({490, 490, 500, 100}));
    EXPECT_EQ(At(s), (Place{0, 50}));

    // After the move: one shot, below the range, when still ready.
    Reset();
    AddPlanet(world, rival, 0, 1000);
    s = AddShip(world, computer, wm, 0, 0, gun);
    Ship* edge = AddShip(world, rival, bm, 0, 150);  // exactly 100 after the move
    e1 = AddShip(world, rival, bm, 0, 140);
    e2 = AddShip(world, rival, bm, 0, 145);
    Act();
    EXPECT_EQ(std::vector<int>({edge->shieldPoints, e1->shieldPoints, e2->shieldPoints, s->weaponReady}),
              std::vector<int>({500, 490, 500, 0}));
    EXPECT_EQ(platform.log, (Log{"frame", "frame", "frame", "cue FirstW.wav", "explode ship", "explode ship"}));
    s->y = 0;
    Act();
    EXPECT_EQ(std::make_pair(At(s), e1->shieldPoints), std::make_pair(Place{0, 50}, 490));
}

TEST_F(ComputerShipsTest, AWarshipHuntsTheNearestOtherPlanetByTruncatedDistanceOrElseTheHead) {
    ShipModel* fast = AddModel(red, 100, 100, 10, 0, 100);
    // 300.52 truncates to 300 and ties with 300.0: the earlier stays.
    // clang-format off
    struct Case { std::vector<std::pair<Player*, Place>> planets; Place after; } cases[] = {
        {{{rival, {212, 213}}, {rival, {300, 0}}, {computer, {10, 0}}}, {71, 70}},
        {{{computer, {10, 0}}, {rival, {300, 0}}, {rival, {212, 213}}}, {100, 0}},
        {{{computer, {0, -300}}, {computer, {0, 30}}}, {0, -100}},  // all its owner's: the head
        {{}, {0, 0}}};                                              // no planet: it stays
    // clang-format on
    for (const Case& c : cases) {
        Reset();
        for (const auto& [owner, at] : c.planets) AddPlanet(world, owner, at.first, at.second);
        Ship* s = AddShip(world, computer, fast, 0, 0);
        Act();
        EXPECT_EQ(At(s), c.after);
    }
}

TEST_F(ComputerShipsTest, AnEmptyCargoShipLandsAtTheNearestAsteroidWithOreWithinItsActionPoints) {
    // clang-format off
    struct Case { std::vector<std::pair<Place, int>> asteroids; int landedAt; Place after; } cases[] = {  // place, ore
        {{{{0, 100}, 30}}, 1, {}}, {{{{0, 101}, 30}}, 0, {0, 70}}, {{}, 0, {0, 0}},  // none: it stays
        {{{{0, 50}, 0}, {{0, -300}, 10}}, 0, {0, -70}},  // the nearest with ore
        {{{{0, -300}, 0}, {{0, 150}, 0}}, 0, {0, -70}},  // no ore anywhere: the head
        {{{{0, 300}, 5}, {{0, -300}, 5}}, 0, {0, 70}},   // a tie keeps the earlier
        {{{{0, 50}, 0}, {{0, -90}, 10}}, 2, {}}};
    // clang-format on
    for (const Case& c : cases) {
        Reset();
        for (const auto& [at, ore] : c.asteroids) AddAsteroid(world, at.first, at.second, ore);
        Ship* s = AddShip(world, computer, hauler, 0, 0);
        s->actionPoints = 100;
        g_selShip = g_hoverShip = s;
        Act();
        if (!c.landedAt) {
            EXPECT_EQ(At(s), c.after);
            continue;
        }
        const Ship* landed = RecordAt(world->asteroids, c.landedAt)->ships;
        ASSERT_NE(landed, nullptr);
        EXPECT_EQ(std::vector<int>({landed->holds, landed->actionPoints, landed->x, landed->y, computer->shipCount,
                                    static_cast<int>(landed->pixels[0].colour)}),
                  std::vector<int>({4, 0, 0, 0, 1, 0}));
        EXPECT_TRUE(!world->ships && !g_selShip && !g_hoverShip);
    }
}

TEST_F(ComputerShipsTest, AFullCargoShipDocksAtTheLastPlanetOfItsOwnerWithinItsActionPoints) {
    // clang-format off
    struct Case { std::vector<std::pair<Player*, int>> planets; int dockedAt; int yAfter; } cases[] = {  // owner, y
        {{{computer, 50}, {computer, 90}, {rival, 10}}, 2, 0},  // the last of its own, whatever the distance
        {{{computer, 100}}, 1, 0}, {{{computer, 101}}, 0, 70}, {{}, 0, 0},  // no planet: it stays
        {{{rival, 50}, {rival, -500}}, 0, 70}};  // none its own: it flies at the head, never docks
    // clang-format on
    for (const Case& c : cases) {
        Reset();
        for (const auto& [owner, y] : c.planets) AddPlanet(world, owner, 0, y);
        Ship* s = AddShip(world, computer, hauler, 0, 0);
        s->holdFull = 1;
        s->actionPoints = 100;
        Act();
        if (!c.dockedAt) {
            EXPECT_EQ(At(s), (Place{0, c.yAfter}));
            continue;
        }
        EXPECT_EQ(world->ships, nullptr);
        for (int i = 1; i <= static_cast<int>(c.planets.size()); ++i)
            EXPECT_EQ(CountOf(RecordAt(world->planets, i)->docks), i == c.dockedAt ? 1 : 0);
        const Ship* docked = RecordAt(world->planets, c.dockedAt)->docks;
        EXPECT_EQ(std::make_pair(docked->holdFull, docked->actionPoints), std::make_pair(std::uint8_t{1}, 0));
    }
}

}  // namespace
}  // namespace qv
