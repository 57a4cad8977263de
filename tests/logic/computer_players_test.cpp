// The computer players' driver and economy: the model and weapon choices,
// repairs, shipbuilding, weapons and equipment of their planets, unloading
// and launching docked ships, planet defence, loading ore at asteroids and
// the order in which players, worlds and lists are walked.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "model/catalogue.h"
#include "model/globals.h"
#include "model/lists.h"
#include "model/platform.h"
#include "model/random.h"
#include "model/records.h"
#include "game_fixture.h"
#include "hand_built_game.h"
#include "turn/computer_players.h"

namespace qv {
namespace {

using testing::Append;
using testing::ClearPlanets;

// The launch place the removal code computes from two draws of a mirror
// generator, worked out here on its own.
std::pair<int, int> LaunchPlace(Random& mirror, int bx, int by) {
    const int sign = mirror.next() % 2 == 0 ? -1 : 1;
    const int k = mirror.next() % 100;
    return {bx + sign * static_cast<int>(std::sqrt(2500.0 - (k - 50) * (k - 50))), by - 50 + k};
}

// A seed whose first draw is (or is not) a multiple of three.
std::uint32_t SeedWithFirstDraw(bool multipleOfThree) {
    for (std::uint32_t seed = 1;; ++seed) {
        Random r(seed);
        if ((r.next() % 3 == 0) == multipleOfThree) return seed;
    }
}

class ComputerPlayersTest : public testing::HandBuiltGameTest {
protected:
    // A stock nothing of which a test's gold can reach: a planet armed with
    // the weapon buys nothing and builds nothing.
    static void ExpensiveStock(Race* race) {
        AddModel(race, 100, 100, 100, 0, 1000000);
        AddWeapon(race, 100, 10, 20, 1000000);
    }
};

using ComputerChoicesTest = ComputerPlayersTest;
using ComputerPlanetsTest = ComputerPlayersTest;
using ComputerAsteroidsTest = ComputerPlayersTest;
using ComputerDriverTest = ComputerPlayersTest;

// ---------------------------------------------------------------- choices

TEST_F(ComputerChoicesTest, ModelsStartFromTheHeadAndTakeOnlyStrictlyBetterAffordableOnes) {
    //                      speed defence survey hold cost
    ShipModel* a = AddModel(red, 10, 10, 10, 2, 5000);    // head, never affordable here
    ShipModel* b = AddModel(red, 50, 25, 25, 2, 100);     // its hold ties the head's
    ShipModel* c = AddModel(red, 100, 100, 100, 5, 499);
    ShipModel* d = AddModel(red, 100, 100, 100, 5, 120);  // ties c in hold and worth
    ShipModel* e = AddModel(red, 20, 20, 10, 9, 500);     // the largest hold

    EXPECT_EQ(ChooseCargoModel(red, 1000), c);  // e's 500 is not below 1000 / 2; d only ties c
    EXPECT_EQ(ChooseCargoModel(red, 1001), c);  // 1001 / 2 is still 500
    EXPECT_EQ(ChooseCargoModel(red, 1002), e);
    EXPECT_EQ(ChooseCargoModel(red, 0), a);     // nothing affordable: the head
    EXPECT_EQ(ChooseCargoModel(red, -400), a);  // negative gold: the head

    EXPECT_EQ(ChooseWarModel(red, 1000), c);  // b, then c; d ties c and e is too dear
    EXPECT_EQ(ChooseWarModel(red, 250), d);   // bound 125: b, then d; c is too dear
    EXPECT_EQ(ChooseWarModel(red, 201), a);   // bound 100: b's 100 is not below it
    EXPECT_EQ(ChooseWarModel(red, 202), b);   // bound 101: only b
    EXPECT_EQ(ChooseWarModel(red, 242), d);   // bound 121: b, then d

    Race empty;
    EXPECT_EQ(ChooseCargoModel(&empty, 100000), nullptr);
    EXPECT_EQ(ChooseWarModel(&empty, 100000), nullptr);
    EXPECT_EQ(ChooseCargoModel(nullptr, 100000), nullptr);
}

TEST_F(ComputerChoicesTest, WeaponIsPaidFromWhatTheWarModelLeaves) {
    //                     range min max cost         worth
    Weapon* w1 = AddWeapon(red, 10, 1, 2, 10);       //  11, the head
    Weapon* w2 = AddWeapon(red, 100, 10, 110, 600);  // 200
    Weapon* w3 = AddWeapon(red, 150, 10, 60, 100);   // 200, ties w2
    Weapon* w4 = AddWeapon(red, 400, 10, 110, 900);  // 500
    ShipModel war;
    war.cost = 100;
    EXPECT_EQ(WeaponWorth(*w2), 200);
    EXPECT_EQ(ChooseWeapon(red, 1000, war), w2);  // bound 900: w4 is not below it, w3 only ties
    war.cost = 99;
    EXPECT_EQ(ChooseWeapon(red, 1000, war), w4);
    war.cost = 1000;
    EXPECT_EQ(ChooseWeapon(red, 1000, war), w1);  // nothing affordable: the head
    war.cost = 0;
    EXPECT_EQ(ChooseWeapon(red, 400, war), w3);
    Race empty;
    EXPECT_EQ(ChooseWeapon(&empty, 100000, war), nullptr);
}

// ---------------------------------------------------------------- planets

TEST_F(ComputerPlanetsTest, RepairIsAllOrNothingAtFiveGoldAPoint) {
    ExpensiveStock(red);
    Planet* p = AddPlanet(world, computer, 1000, 1000, red->weapons);
    auto repair = [&](int shield, int gold, bool shielded) {
        p->shieldPoints = shield;
        p->equip[kProtectiveShield] = shielded;
        computer->gold = gold;
        ComputerPlanetsAct(world, computer);
        return std::pair<int, int>{p->shieldPoints, computer->gold};
    };
    EXPECT_EQ(repair(420, 1000, false), (std::pair<int, int>{500, 600}));
    EXPECT_EQ(repair(420, 300, false), (std::pair<int, int>{420, 300}));
    EXPECT_EQ(repair(420, 400, false), (std::pair<int, int>{500, 0}));
    EXPECT_EQ(repair(420, 399, false), (std::pair<int, int>{420, 399}));
    EXPECT_EQ(repair(420, 2000, true), (std::pair<int, int>{800, 100}));
    EXPECT_EQ(repair(500, 2000, true), (std::pair<int, int>{800, 500}));
    EXPECT_EQ(repair(500, 1000, false), (std::pair<int, int>{500, 1000}));
    EXPECT_TRUE(platform.log.empty());
}

TEST_F(ComputerPlanetsTest, RandomCargoBuildNeedsTheDrawFewerThanSixShipsAndHalfTheGold) {
    ShipModel* hauler = AddModel(red, 50, 30, 20, 3, 100);
    AddWeapon(red, 100, 10, 20, 1000000);
    Planet* p = AddPlanet(world, computer, 1000, 1000, red->weapons);
    const std::uint32_t lucky = SeedWithFirstDraw(true);
    const std::uint32_t unlucky = SeedWithFirstDraw(false);
    // Ships built at the planet take off in the same turn: count them in space.
    auto built = [&](std::uint32_t s, int ownedBefore, int gold) {
        FreeList(world->ships);
        computer->shipCount = ownedBefore;
        computer->gold = gold;
        SeedRand(s);
        ComputerPlanetsAct(world, computer);
        const int n = CountOf(world->ships);
        EXPECT_EQ(computer->shipCount, ownedBefore + n);
        EXPECT_EQ(computer->gold, gold - 100 * n);
        for (Ship* ship = world->ships; ship; ship = ship->next) EXPECT_EQ(ship->model, hauler);
        return n;
    };
    EXPECT_EQ(built(lucky, 0, 1000), 2);    // the random build and the one of step 5
    EXPECT_EQ(built(lucky, 5, 1000), 2);
    EXPECT_EQ(built(lucky, 6, 1000), 1);    // six ships: only step 5 builds
    EXPECT_EQ(built(unlucky, 0, 1000), 1);
    EXPECT_EQ(built(lucky, 0, 200), 1);     // 100 is not below 200 / 2
    EXPECT_EQ(built(lucky, 0, 202), 2);
    EXPECT_EQ(built(lucky, 0, 100), 0);     // step 5 needs the cost below the gold
    EXPECT_EQ(p->docks, nullptr);
}

TEST_F(ComputerPlanetsTest, BuildShipFillsTheNewShipFromItsModel) {
    ShipModel* m = AddModel(red, 70, 150, 90, 4, 300);
    ShipModel* bm = AddModel(blue, 10, 10, 10, 0, 10);
    Planet* p = AddPlanet(world, computer, 1000, 1000);
    Ship* old = Dock(p, rival, bm);
    computer->gold = 1000;
    computer->shipCount = 2;
    Ship* s = BuildShip(p, computer, m);
    EXPECT_EQ(p->docks, s);
    EXPECT_EQ(s->next, old);
    EXPECT_EQ(old->prev, s);
    EXPECT_EQ(s->owner, computer);
    EXPECT_EQ(s->model, m);
    EXPECT_EQ(s->actionPoints, 70);
    EXPECT_EQ(s->shieldPoints, 150);
    EXPECT_EQ(s->viewPoints, 90);
    EXPECT_EQ(s->holds, 4);
    EXPECT_EQ(s->holdFull, 0);
    EXPECT_EQ(s->weapon, nullptr);
    EXPECT_EQ(s->weaponReady, 0);
    EXPECT_EQ(s->pixels[0].colour, 0u);
    EXPECT_EQ(computer->gold, 700);
    EXPECT_EQ(computer->shipCount, 3);
    EXPECT_EQ(rival->shipCount, 1);
}

TEST_F(ComputerPlanetsTest, WarshipIsBuiltOnlyWhenModelAndWeaponCostLessThanTheGold) {
    ShipModel* war = AddModel(red, 80, 200, 60, 0, 1000);
    Weapon* x = AddWeapon(red, 120, 30, 50, 500);
    AddPlanet(world, computer, 1000, 1000, x);

    computer->gold = 1500;  // 1000 + 500 is not below it, and the model has no hold
    ComputerPlanetsAct(world, computer);
    EXPECT_EQ(world->ships, nullptr);
    EXPECT_EQ(computer->gold, 1500);

    computer->gold = 1501;
    SeedRand(seed);
    ComputerPlanetsAct(world, computer);
    ASSERT_EQ(CountOf(world->ships), 1);
    Ship* s = world->ships;
    EXPECT_EQ(s->model, war);
    EXPECT_EQ(s->weapon, x);
    EXPECT_EQ(s->weaponReady, 0);  // it took off at once, and take-off spends readiness
    EXPECT_EQ(s->actionPoints, 0);
    EXPECT_EQ(s->shieldPoints, 200);
    EXPECT_EQ(s->holds, 0);
    EXPECT_EQ(computer->gold, 1);
    EXPECT_EQ(computer->shipCount, 1);
    Random mirror(seed);
    mirror.next();  // the random build's draw
    EXPECT_EQ(std::make_pair(s->x, s->y), LaunchPlace(mirror, 1000, 1000));
    EXPECT_EQ(GameRandom().state(), mirror.state());
}

TEST_F(ComputerPlanetsTest, PlanetWeaponIsBoughtWhateverTheGoldAndReplacedOnlyByOneWorthMore) {
    AddModel(red, 50, 50, 50, 0, 500);
    Weapon* strong = AddWeapon(red, 100, 50, 100, 400);  // worth 150, the head
    Weapon* weak = AddWeapon(red, 10, 1, 2, 301);        // worth 11
    Weapon* twin = AddWeapon(blue, 120, 10, 40, 10);     // worth 150 too
    ShipModel* bm = AddModel(blue, 50, 1000, 10, 0, 10);
    Planet* p = AddPlanet(world, computer, 1000, 1000);
    Ship* enemy = AddShip(world, rival, bm, 1000, 1030);

    // Unarmed, with gold for no choice at all: it takes the head anyway and
    // the gold goes negative; the new weapon is ready and fires this turn.
    computer->gold = 100;
    ComputerPlanetsAct(world, computer);
    EXPECT_EQ(p->weapon, strong);
    EXPECT_EQ(computer->gold, -300);
    EXPECT_EQ(p->weaponReady, 0);
    Random mirror(seed);
    mirror.next();  // the random build
    EXPECT_EQ(enemy->shieldPoints, 1000 - (50 + mirror.next() % 50));
    EXPECT_EQ(platform.cues, std::vector<std::string>{"FirstW.wav"});

    // A weapon worth more: the old one sells at half its cost.
    enemy->x = 5000;
    p->weapon = weak;
    p->weaponReady = 0;
    computer->gold = 100;
    ComputerPlanetsAct(world, computer);
    EXPECT_EQ(p->weapon, strong);
    EXPECT_EQ(computer->gold, 100 + 150 - 400);
    EXPECT_EQ(p->weaponReady, 1);

    // Worth no more (the same worth, or the same weapon): nothing changes.
    for (Weapon* held : {twin, strong}) {
        p->weapon = held;
        p->weaponReady = 0;
        computer->gold = 800;
        ComputerPlanetsAct(world, computer);
        EXPECT_EQ(p->weapon, held);
        EXPECT_EQ(computer->gold, 800);
        EXPECT_EQ(p->weaponReady, 0);
    }
}

TEST_F(ComputerPlanetsTest, EquipmentIsBoughtInOrderWithItsThresholdsAndTurnRules) {
    ExpensiveStock(red);
    struct Case {
        int turn, unstability, gold;
        bool hyper, bank, shield;
        int goldAfter;
    };
    const Case cases[] = {
        {5, 1, 15000, true, true, true, 0},
        {5, 1, 14999, true, true, false, 3099},  // the shield comes last
        {5, 3, 15000, false, true, true, 5000},  // instability "None": no Hyper Stabilizer
        {1, 1, 15000, false, true, false, 8100}, // turn 1: only the Global Bank System
        {2, 1, 5000, true, false, false, 0},
        {2, 1, 4999, false, false, true, 1899},
        {2, 1, 3100, false, false, true, 0},
        {2, 1, 3099, false, false, false, 3099},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << "turn " << c.turn << ", instability " << c.unstability
                                          << ", gold " << c.gold);
        ClearPlanets(world);
        Planet* p = AddPlanet(world, computer, 1000, 1000, red->weapons);
        g_turn = c.turn;
        g_unstability = c.unstability;
        computer->gold = c.gold;
        ComputerPlanetsAct(world, computer);
        EXPECT_EQ(p->equip[kHyperStabilizer] != 0, c.hyper);
        EXPECT_EQ(p->equip[kGlobalBankSystem] != 0, c.bank);
        EXPECT_EQ(p->equip[kProtectiveShield] != 0, c.shield);
        EXPECT_EQ(computer->gold, c.goldAfter);
        EXPECT_EQ(p->shieldPoints, 500);  // a new shield is not charged at once
    }

    // Equipment already carried is not bought again; the next turn's repair
    // brings a shielded planet up to 800.
    Planet* p = world->planets;
    p->equip[kHyperStabilizer] = p->equip[kGlobalBankSystem] = p->equip[kProtectiveShield] = 1;
    g_turn = 6;
    computer->gold = 16500;
    ComputerPlanetsAct(world, computer);
    EXPECT_EQ(p->shieldPoints, 800);
    EXPECT_EQ(computer->gold, 15000);
}

TEST_F(ComputerPlanetsTest, DockedShipsAreUnloadedAndLaunchedAndThePlanetFiresInDrawOrder) {
    ShipModel* hauler = AddModel(red, 60, 40, 30, 3, 1000000);
    Weapon* gun = AddWeapon(red, 100, 50, 60, 1000000);
    ShipModel* bm = AddModel(blue, 45, 200, 10, 2, 10);
    Planet* p = AddPlanet(world, computer, 1000, 1000, gun);
    p->weaponReady = 1;
    Ship* full = Dock(p, computer, hauler);
    full->holdFull = 1;
    full->actionPoints = 0;  // landed this turn: stays
    Dock(p, computer, hauler);  // empty, full action points: leaves
    Ship* visitor = Dock(p, rival, bm);
    visitor->holdFull = 1;  // another player's: neither unloaded nor launched
    Ship* enemy = AddShip(world, rival, bm, 1000, 1130);
    computer->gold = 1000;

    ComputerPlanetsAct(world, computer);

    Random mirror(seed);
    mirror.next();                          // the random build
    const int ore = mirror.next() % 50;     // unloading
    const auto place = LaunchPlace(mirror, 1000, 1000);
    const int damage = 50 + mirror.next() % 10;
    EXPECT_EQ(GameRandom().state(), mirror.state());

    EXPECT_EQ(computer->gold, 1000 + 300 + ore);
    EXPECT_EQ(full->holdFull, 0);
    ASSERT_EQ(CountOf(p->docks), 2);
    EXPECT_EQ(p->docks, full);
    EXPECT_EQ(full->next, visitor);
    EXPECT_EQ(visitor->holdFull, 1);
    ASSERT_EQ(CountOf(world->ships), 2);
    Ship* launched = world->ships;
    EXPECT_EQ(launched->owner, computer);
    EXPECT_EQ(launched->model, hauler);
    EXPECT_EQ(std::make_pair(launched->x, launched->y), place);
    EXPECT_EQ(launched->actionPoints, 0);
    // The planet passed over its own ship and hit the enemy at exactly 130.
    EXPECT_EQ(launched->next, enemy);
    EXPECT_EQ(enemy->shieldPoints, 200 - damage);
    EXPECT_EQ(p->weaponReady, 0);
    EXPECT_EQ(platform.log, (std::vector<std::string>{"cue FirstW.wav", "explode ship", "explode ship"}));
    EXPECT_EQ(computer->shipCount, 2);
    EXPECT_EQ(rival->shipCount, 2);
}

TEST_F(ComputerPlanetsTest, FullHoldsOfThreeUnitsYieldThreeHundredToThreeHundredFortyNine) {
    ExpensiveStock(red);
    ShipModel* hauler = AddModel(red, 60, 40, 30, 3, 10);
    Planet* p = AddPlanet(world, computer, 1000, 1000, red->weapons);
    int least = 1000, most = 0;
    for (std::uint32_t s = 1; s <= 300; ++s) {
        Ship* docked = p->docks ? p->docks : Dock(p, computer, hauler);
        docked->holdFull = 1;
        docked->actionPoints = 0;
        computer->gold = 0;
        SeedRand(s);
        ComputerPlanetsAct(world, computer);
        least = std::min(least, computer->gold);
        most = std::max(most, computer->gold);
        EXPECT_EQ(docked->holdFull, 0);
    }
    EXPECT_EQ(least, 300);
    EXPECT_EQ(most, 349);
}

TEST_F(ComputerPlanetsTest, PlanetShotRemovesAFortyPointShipAndFiresOnceAtTheFirstEnemyInReach) {
    ExpensiveStock(red);
    Weapon* gun = AddWeapon(red, 100, 50, 60, 1000000);
    ShipModel* rm = red->shipModels;
    ShipModel* bm = AddModel(blue, 50, 40, 10, 0, 100);
    Planet* p = AddPlanet(world, computer, 1000, 1000, gun);
    p->weaponReady = 1;
    Ship* mine = AddShip(world, computer, rm, 1000, 1010);
    Ship* victim = AddShip(world, rival, bm, 1078, 1104);  // exactly 130 away
    Ship* second = AddShip(world, rival, bm, 1000, 1050);
    g_selShip = victim;
    g_hoverShip = victim;
    computer->gold = 0;

    ComputerPlanetsAct(world, computer);

    EXPECT_EQ(CountOf(world->ships), 2);
    EXPECT_EQ(world->ships, mine);
    EXPECT_EQ(mine->next, second);
    EXPECT_EQ(rival->shipCount, 1);
    EXPECT_EQ(second->shieldPoints, 40);
    EXPECT_EQ(mine->shieldPoints, 100);
    EXPECT_EQ(p->weaponReady, 0);
    EXPECT_EQ(g_selShip, nullptr);
    EXPECT_EQ(g_hoverShip, nullptr);
    EXPECT_EQ(platform.log, (std::vector<std::string>{"cue FirstW.wav", "explode ship", "explode ship"}));

    // Not ready: no shot.
    platform.log.clear();
    ComputerPlanetsAct(world, computer);
    EXPECT_EQ(second->shieldPoints, 40);
    EXPECT_TRUE(platform.log.empty());

    // 131 away is out of reach.
    second->x = 1000;
    second->y = 1131;
    p->weaponReady = 1;
    ComputerPlanetsAct(world, computer);
    EXPECT_EQ(second->shieldPoints, 40);
    EXPECT_EQ(p->weaponReady, 1);
}

TEST_F(ComputerPlanetsTest, PlanetShotOnAnotherWorldIsSilentAndAFixedDamageWeaponDrawsNothing) {
    ExpensiveStock(red);
    Weapon* fixed = AddWeapon(red, 200, 50, 50, 1000000);  // no span between least damage and bound
    ShipModel* bm = AddModel(blue, 50, 200, 10, 0, 100);
    Planet* p = AddPlanet(other, computer, 1000, 1000, fixed);
    p->weaponReady = 1;
    Ship* enemy = AddShip(other, rival, bm, 1000, 1100);

    ComputerPlanetsAct(other, computer);

    EXPECT_EQ(enemy->shieldPoints, 150);
    EXPECT_EQ(p->weaponReady, 0);
    EXPECT_TRUE(platform.log.empty());
    EXPECT_EQ(platform.explosions, 0);
    Random mirror(seed);
    mirror.next();  // only the random build's draw
    EXPECT_EQ(GameRandom().state(), mirror.state());
}

TEST_F(ComputerPlanetsTest, RaceWithoutModelsOrWithoutWeaponsBuildsAndBuysNothing) {
    struct Stock {
        int models, weapons;
    };
    for (const Stock& stock : {Stock{0, 0}, Stock{1, 0}, Stock{0, 1}}) {
        SCOPED_TRACE(::testing::Message() << stock.models << " models, " << stock.weapons << " weapons");
        FreeList(red->shipModels);
        FreeList(red->weapons);
        ClearPlanets(world);
        if (stock.models) AddModel(red, 50, 50, 50, 3, 100);
        if (stock.weapons) AddWeapon(red, 100, 10, 20, 100);
        Planet* p = AddPlanet(world, computer, 1000, 1000);
        p->shieldPoints = 480;
        computer->gold = 1000;
        computer->shipCount = 0;
        SeedRand(seed);
        ComputerPlanetsAct(world, computer);
        EXPECT_EQ(p->weapon, nullptr);
        EXPECT_EQ(p->docks, nullptr);
        EXPECT_EQ(world->ships, nullptr);
        EXPECT_EQ(computer->shipCount, 0);
        EXPECT_EQ(p->shieldPoints, 500);  // the repair is not a purchase of the race
        EXPECT_EQ(computer->gold, 900);
        Random mirror(seed);
        mirror.next();  // the random build's draw is made all the same
        EXPECT_EQ(GameRandom().state(), mirror.state());
    }

    // A race with a single weapon and a single model is served normally.
    ClearPlanets(world);
    AddModel(red, 50, 50, 50, 3, 100);  // now one of each
    Planet* p = AddPlanet(world, computer, 1000, 1000);
    computer->gold = 1000;
    ComputerPlanetsAct(world, computer);
    EXPECT_EQ(p->weapon, red->weapons);
    EXPECT_GE(CountOf(world->ships), 1);
}

// -------------------------------------------------------------- asteroids

TEST_F(ComputerAsteroidsTest, LoadingClampsTheOreAtZeroAndAShipWithFullPointsTakesOff) {
    ShipModel* hauler = AddModel(red, 60, 40, 30, 8, 100);
    Asteroid* a = AddAsteroid(world, 500, 700, 5);
    Land(a, computer, hauler);  // action points = speed: leaves after loading

    ComputerAsteroidsAct(world, computer);

    EXPECT_EQ(a->resources, 0);
    EXPECT_EQ(a->ships, nullptr);
    ASSERT_NE(world->ships, nullptr);
    Ship* s = world->ships;
    EXPECT_EQ(s->holdFull, 1);
    EXPECT_EQ(s->holds, 8);
    EXPECT_EQ(s->actionPoints, 0);
    EXPECT_EQ(s->pixels[0].colour, 0x123456u);  // the model's sprite
    Random mirror(seed);
    EXPECT_EQ(std::make_pair(s->x, s->y), LaunchPlace(mirror, 500, 700));
    EXPECT_EQ(GameRandom().state(), mirror.state());
    EXPECT_EQ(computer->shipCount, 1);
}

TEST_F(ComputerAsteroidsTest, OnlyTheActingPlayersEmptyShipsLoadAndOnlyThoseWithFullPointsLeave) {
    ShipModel* hauler = AddModel(red, 60, 40, 30, 8, 100);
    ShipModel* bm = AddModel(blue, 60, 40, 30, 4, 100);
    Asteroid* a = AddAsteroid(world, 500, 700, 20);
    Ship* staying = Land(a, computer, hauler);
    staying->actionPoints = 0;
    Ship* loaded = Land(a, computer, hauler);
    loaded->holdFull = 1;
    loaded->actionPoints = 10;
    Ship* foreign = Land(a, rival, bm);  // full points, empty, but not the acting player's

    ComputerAsteroidsAct(world, computer);

    EXPECT_EQ(a->resources, 12);
    EXPECT_EQ(staying->holdFull, 1);
    EXPECT_EQ(foreign->holdFull, 0);
    EXPECT_EQ(CountOf(a->ships), 3);
    EXPECT_EQ(world->ships, nullptr);

    // An asteroid without ore fills no hold; the ship still leaves.
    Asteroid* bare = AddAsteroid(world, 100, 100, 0);
    Land(bare, computer, hauler);
    ComputerAsteroidsAct(world, computer);
    ASSERT_EQ(CountOf(world->ships), 1);
    EXPECT_EQ(world->ships->holdFull, 0);
    EXPECT_EQ(bare->resources, 0);
    EXPECT_EQ(a->resources, 12);
}

TEST_F(ComputerAsteroidsTest, ShipsLeaveInListOrderEachOnItsOwnDraws) {
    ShipModel* small = AddModel(red, 60, 40, 30, 2, 100);
    ShipModel* large = AddModel(red, 60, 40, 30, 7, 100);
    Asteroid* a = AddAsteroid(world, 500, 700, 100);
    Land(a, computer, small);
    Land(a, computer, large);

    ComputerAsteroidsAct(world, computer);

    EXPECT_EQ(a->resources, 91);
    ASSERT_EQ(CountOf(world->ships), 2);
    Random mirror(seed);
    const auto first = LaunchPlace(mirror, 500, 700);
    const auto second = LaunchPlace(mirror, 500, 700);
    // The later take-off is at the head of open space.
    EXPECT_EQ(world->ships->holds, 7);
    EXPECT_EQ(std::make_pair(world->ships->x, world->ships->y), second);
    EXPECT_EQ(world->ships->next->holds, 2);
    EXPECT_EQ(std::make_pair(world->ships->next->x, world->ships->next->y), first);
}

// ----------------------------------------------------------------- driver

TEST_F(ComputerDriverTest, PowerIsRecordedForTheComputerPlayersAndTheHumanButNotTheNeutral) {
    ExpensiveStock(red);
    ExpensiveStock(blue);
    ExpensiveStock(human->race);
    AddPlanet(world, computer, 1000, 1000, red->weapons);
    AddPlanet(world, rival, 1500, 1000, blue->weapons);
    AddPlanet(other, rival, 1500, 1000, blue->weapons);
    Planet* humans = AddPlanet(world, human, 500, 1000);  // unarmed
    Planet* neutrals = AddPlanet(world, neutral, 500, 500);
    Asteroid* a = AddAsteroid(world, 200, 200, 0);
    Land(a, computer, red->shipModels)->actionPoints = 0;
    computer->gold = 1000;
    rival->gold = 50;
    human->gold = 777;
    neutral->gold = 5;

    ComputerPlayersTurn();

    EXPECT_EQ(computer->power[5], 1000 + 100 + 1000);
    EXPECT_EQ(rival->power[5], 2000 + 50);
    EXPECT_EQ(human->power[5], 1000 + 777);
    EXPECT_EQ(neutral->power[5], 0);
    EXPECT_EQ(computer->power[4], 0);
    // Without the autopilot the human's and the neutral's planets do nothing.
    EXPECT_EQ(humans->weapon, nullptr);
    EXPECT_EQ(neutrals->weapon, nullptr);
    EXPECT_EQ(human->gold, 777);

    // Past the first 400 turns the history grows.
    g_turn = 450;
    ComputerPlayersTurn();
    ASSERT_GT(computer->power.size(), 450u);
    ASSERT_GT(human->power.size(), 450u);
    EXPECT_EQ(computer->power[450], 2100);
    EXPECT_EQ(human->power[450], 1777);
}

TEST_F(ComputerDriverTest, PlayersActInListOrderEachOverTheWorldsInListOrder) {
    // Two warships in reach of each other in a world without planets: the
    // one whose owner acts first destroys the other.
    ExpensiveStock(red);  // the planets' choices: nothing affordable
    ShipModel* rm = AddModel(red, 50, 40, 10, 0, 100);
    Weapon* rw = AddWeapon(red, 100, 50, 51, 100);
    ShipModel* bm = AddModel(blue, 50, 40, 10, 0, 100);
    Weapon* bw = AddWeapon(blue, 100, 50, 51, 100);
    Ship* mine = AddShip(other, computer, rm, 0, 0);
    mine->weapon = rw;
    Ship* theirs = AddShip(other, rival, bm, 0, 50);
    theirs->weapon = bw;
    // A Hyper Stabilizer the gold pays only once: the first world's planet
    // gets it, though another world is the one shown.
    Planet* first = AddPlanet(world, computer, 1000, 1000, red->weapons);
    Planet* second = AddPlanet(other, computer, 1000, 1000, red->weapons);
    computer->gold = 5000;
    g_currentWorld = other;

    ComputerPlayersTurn();

    EXPECT_EQ(other->ships, mine);
    EXPECT_EQ(mine->next, nullptr);
    EXPECT_EQ(rival->shipCount, 0);
    EXPECT_EQ(first->equip[kHyperStabilizer], 1);
    EXPECT_EQ(second->equip[kHyperStabilizer], 0);
    EXPECT_EQ(computer->gold, 0);
}

TEST_F(ComputerDriverTest, WithinAWorldShipsActThenPlanetsThenAsteroids) {
    ExpensiveStock(red);
    ShipModel* hauler = AddModel(red, 100, 40, 30, 3, 10);
    Planet* home = AddPlanet(world, computer, 1000, 1000, red->weapons);
    Ship* cargo = AddShip(world, computer, hauler, 1000, 1080);
    cargo->holdFull = 1;  // docks, then is unloaded by its planet in the same turn
    Asteroid* a = AddAsteroid(world, 400, 400, 50);
    Land(a, computer, hauler);  // loads and takes off after the ships have moved
    computer->gold = 0;

    ComputerPlayersTurn();

    Random mirror(seed);
    mirror.next();  // the random build
    const int ore = mirror.next() % 50;
    const auto place = LaunchPlace(mirror, 400, 400);
    EXPECT_EQ(GameRandom().state(), mirror.state());
    ASSERT_NE(home->docks, nullptr);
    EXPECT_EQ(home->docks->holdFull, 0);
    EXPECT_EQ(home->docks->actionPoints, 0);  // it does not take off again this turn
    EXPECT_EQ(computer->gold, 300 + ore);
    ASSERT_EQ(CountOf(world->ships), 1);
    EXPECT_EQ(std::make_pair(world->ships->x, world->ships->y), place);
    EXPECT_EQ(world->ships->holdFull, 1);
    EXPECT_EQ(a->resources, 47);
}

TEST_F(ComputerDriverTest, AutopilotLetsTheHumanActFirstByTheSameRules) {
    ExpensiveStock(red);
    Race* green = human->race;
    ShipModel* gm = AddModel(green, 50, 100, 10, 0, 1000000);
    Weapon* gw = AddWeapon(green, 100, 20, 30, 400);
    Planet* target = AddPlanet(world, computer, 1000, 1000, red->weapons);
    Ship* raider = AddShip(world, human, gm, 1000, 1100);
    raider->weapon = gw;
    Planet* humans = AddPlanet(other, human, 300, 300);  // unarmed
    computer->gold = 1000;
    human->gold = 1000;

    ComputerPlayersTurn(false);
    EXPECT_EQ(target->shieldPoints, 500);
    EXPECT_EQ(humans->weapon, nullptr);
    EXPECT_EQ(computer->gold, 1000);

    SeedRand(seed);
    ComputerPlayersTurn(true);
    // The human's warship bombarded first, and the computer repaired the
    // damage in the same turn.
    Random mirror(seed);
    const int damage = 20 + mirror.next() % 10;
    EXPECT_EQ(target->shieldPoints, 500);
    EXPECT_EQ(computer->gold, 1000 - 5 * damage);
    EXPECT_EQ(raider->weaponReady, 0);
    // The human's planet bought its weapon like a computer's would.
    EXPECT_EQ(humans->weapon, gw);
    EXPECT_EQ(human->gold, 600);
    EXPECT_EQ(human->power[5], 1000 + 100 + 600);
    EXPECT_EQ(platform.cues, std::vector<std::string>{"FirstW.wav"});
}

TEST_F(ComputerDriverTest, NoComputerPlayersOrNoPlayersAtAll) {
    // Only the human and the neutral player.
    Player* c = computer;
    Player* r = rival;
    Unlink(g_players, c);
    Unlink(g_players, r);
    delete c;
    delete r;
    computer = rival = nullptr;
    human->gold = 42;
    ComputerPlayersTurn();
    EXPECT_EQ(human->power[5], 42);
    EXPECT_EQ(neutral->power[5], 0);

    FreeList(g_players);
    ComputerPlayersTurn(true);  // nothing to do, and no crash
    EXPECT_EQ(g_players, nullptr);
}

// ------------------------------------------------------- a long game

// A generated game played by the computer on every side: after every turn
// each player's counters match the records it owns in every list (the
// neutral player's planet count starts at 0 beside the free planets and
// falls by one for each it loses).
using ComputerLongGameTest = testing::GameTest;

struct Owned {
    int planets = 0, ships = 0;
};

std::map<const Player*, Owned> CountOwned() {
    std::map<const Player*, Owned> owned;
    auto ships = [&](const Ship* head) {
        for (const Ship* s = head; s; s = s->next) ++owned[s->owner].ships;
    };
    for (const World* w = g_worlds; w; w = w->next) {
        ships(w->ships);
        for (const Planet* p = w->planets; p; p = p->next) {
            ++owned[p->owner].planets;
            ships(p->docks);
        }
        for (const Asteroid* a = w->asteroids; a; a = a->next) ships(a->ships);
    }
    return owned;
}

// The end-of-turn renewal and income, enough to keep the game going.
void RestAndEarn() {
    auto rest = [](Ship* head) {
        for (Ship* s = head; s; s = s->next) {
            s->actionPoints = s->model ? s->model->speed : 0;
            if (s->weapon) s->weaponReady = 1;
        }
    };
    for (World* w = g_worlds; w; w = w->next) {
        rest(w->ships);
        for (Planet* p = w->planets; p; p = p->next) {
            if (p->weapon) p->weaponReady = 1;
            rest(p->docks);
        }
        for (Asteroid* a = w->asteroids; a; a = a->next) rest(a->ships);
    }
    for (Player* p = g_players; p; p = p->next) p->gold += p->planetCount * 100;
}

TEST_F(ComputerLongGameTest, CountersFollowTheListsThroughCapturesDestructionsLandingsAndDockings) {
    // The test races' best war model carries holds; without holds it makes
    // warships that hunt planets.
    // One race's best weapon hits hard enough to destroy planets as well.
    for (Race* r = g_races; r; r = r->next) r->shipModels->hold = 0;
    g_races->weapons->minDamage = 120;
    g_races->weapons->maxDamage = 260;
    int landings = 0, ownerChanges = 0, planetsLost = 0;
    for (std::uint32_t gameSeed : {11u, 12u, 13u}) {
        SCOPED_TRACE(gameSeed);
        NewGameOptions chosen;
        chosen.worldsQuantityOption = gameSeed % 2;
        chosen.worldsSizeOption = 0;
        chosen.aiPlayersOption = 2;
        chosen.creditsOption = 4;
        NewGame(chosen, gameSeed);
        ASSERT_NE(g_worlds, nullptr);
        int planetsAtStart = 0;
        for (World* w = g_worlds; w; w = w->next) planetsAtStart += CountOf(w->planets);
        Player* neutral = LastOf(g_players);
        const int freeAtStart = CountOwned()[neutral].planets;
        for (int turn = 0; turn < 300; ++turn) {
            std::map<const Planet*, const Player*> before;
            for (World* w = g_worlds; w; w = w->next)
                for (Planet* p = w->planets; p; p = p->next) before[p] = p->owner;
            ComputerPlayersTurn(true);
            for (World* w = g_worlds; w; w = w->next) {
                for (Planet* p = w->planets; p; p = p->next) {
                    auto was = before.find(p);
                    if (was != before.end() && was->second != p->owner) ++ownerChanges;
                }
                for (Asteroid* a = w->asteroids; a; a = a->next) landings += CountOf(a->ships);
            }
            const auto owned = CountOwned();
            for (Player* p = g_players; p; p = p->next) {
                auto it = owned.find(p);
                const Owned o = it == owned.end() ? Owned{} : it->second;
                ASSERT_EQ(p->planetCount, p == neutral ? o.planets - freeAtStart : o.planets) << "turn " << g_turn;
                ASSERT_EQ(p->shipCount, o.ships) << "turn " << g_turn;
            }
            // The human's power is recorded after every other player has acted.
            {
                const Player* p = g_players;
                ASSERT_EQ(p->power[static_cast<std::size_t>(g_turn)],
                          p->planetCount * 1000 + p->shipCount * 100 + p->gold);
            }
            ASSERT_EQ(owned.count(nullptr), 0u);
            RestAndEarn();
            ++g_turn;
        }
        int planetsAtEnd = 0;
        for (World* w = g_worlds; w; w = w->next) planetsAtEnd += CountOf(w->planets);
        planetsLost += planetsAtStart - planetsAtEnd;
    }
    // The games went through what the counters are tested against.
    EXPECT_GT(landings, 0);
    EXPECT_GT(ownerChanges, 0);
    EXPECT_GT(planetsLost, 0);
}

}  // namespace
}  // namespace qv
