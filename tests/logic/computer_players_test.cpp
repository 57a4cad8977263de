// The computer players' choices and planets: the model and weapon bought,
// repairs, ships built, planet weapons and equipment, unloading and
// launching, planet defence, loading ore, and who acts and is recorded.
#include "hand_built_game.h"
#include "model/catalogue.h"
#include "turn/computer_players.h"

namespace qv {
namespace {

using testing::ClearPlanets;

// A seed whose first draw is (or is not) a multiple of three: the random
// cargo build happens (or not).
std::uint32_t SeedWithFirstDraw(bool multipleOfThree) {
    for (std::uint32_t seed = 1;; ++seed)
        if ((Random(seed).next() % 3 == 0) == multipleOfThree) return seed;
}

class ComputerPlayersTest : public testing::HandBuiltGameTest {
protected:
    // Stock no test's gold reaches: an armed planet buys and builds nothing.
    static void ExpensiveStock(Race* race) {
        AddModel(race, 100, 100, 100, 0, 1000000);
        AddWeapon(race, 100, 10, 20, 1000000);
    }
    // The computer's planet at (1000, 1000) acts once with the gold.
    Planet* Act(int gold, Weapon* weapon = nullptr) {
        ClearPlanets(world);
        FreeList(world->ships);
        Planet* p = AddPlanet(world, computer, 1000, 1000, weapon);
        computer->gold = gold;
        ComputerPlanetsAct(world, computer);
        return p;
    }
};

TEST_F(ComputerPlayersTest, ChoicesStartFromTheHeadAndTakeOnlyStrictlyBetterOnesCostingBelowTheBound) {
    //                      speed defence survey hold cost
    ShipModel* a = AddModel(red, 10, 10, 10, 2, 5000);  // the head, never affordable here
    ShipModel* b = AddModel(red, 50, 25, 25, 2, 100);   // its hold ties the head's
    ShipModel* c = AddModel(red, 100, 100, 100, 5, 499);
    ShipModel* d = AddModel(red, 100, 100, 100, 5, 120);  // ties c in hold and worth
    ShipModel* e = AddModel(red, 20, 20, 10, 9, 500);     // the largest hold
    // Cargo: the largest hold costing below half the gold.
    const std::pair<int, ShipModel*> cargo[] = {{1000, c}, {1001, c}, {1002, e}, {0, a}, {-400, a}};
    for (const auto& [gold, model] : cargo) EXPECT_EQ(ChooseCargoModel(red, gold), model) << gold;
    // War: the largest speed + defence + survey costing below half the gold.
    const std::pair<int, ShipModel*> war[] = {{1000, c}, {250, d}, {201, a}, {202, b}, {242, d}};
    for (const auto& [gold, model] : war) EXPECT_EQ(ChooseWarModel(red, gold), model) << gold;

    //                     range min max cost       worth range + max - min
    Weapon* w1 = AddWeapon(red, 10, 1, 2, 10);       //  11, the head
    Weapon* w2 = AddWeapon(red, 100, 10, 110, 600);  // 200
    Weapon* w3 = AddWeapon(red, 150, 10, 60, 100);   // 200, ties w2
    Weapon* w4 = AddWeapon(red, 400, 10, 110, 900);  // 500
    // Weapon: the most worth costing below the gold the war model leaves.
    const std::tuple<int, int, Weapon*> weapons[] = {{1000, 100, w2}, {1000, 99, w4}, {1000, 1000, w1}, {400, 0, w3}};
    for (const auto& [gold, modelCost, weapon] : weapons) {
        ShipModel model;
        model.cost = modelCost;
        EXPECT_EQ(ChooseWeapon(red, gold, model), weapon) << gold << " less " << modelCost;
    }
    Race empty;
    EXPECT_EQ(ChooseCargoModel(&empty, 100000), nullptr);
    EXPECT_EQ(ChooseWarModel(&empty, 100000), nullptr);
    EXPECT_EQ(ChooseWeapon(&empty, 100000, *a), nullptr);
    EXPECT_EQ(ChooseCargoModel(nullptr, 100000), nullptr);
}

TEST_F(ComputerPlayersTest, RepairIsAllOrNothingAtFiveGoldAPointUpTo500Or800WithAShield) {
    ExpensiveStock(red);
    struct Case {
        int shield, gold;
        bool shielded;
        int shieldAfter, goldAfter;
    } cases[] = {{420, 1000, false, 500, 600}, {420, 400, false, 500, 0},   {420, 399, false, 420, 399},
                 {420, 2000, true, 800, 100},  {500, 2000, true, 800, 500}, {500, 1000, false, 500, 1000}};
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.shield << " with " << c.gold);
        ClearPlanets(world);
        Planet* p = AddPlanet(world, computer, 1000, 1000, red->weapons);
        p->shieldPoints = c.shield;
        p->equip[kProtectiveShield] = c.shielded;
        computer->gold = c.gold;
        ComputerPlanetsAct(world, computer);
        EXPECT_EQ(p->shieldPoints, c.shieldAfter);
        EXPECT_EQ(computer->gold, c.goldAfter);
    }
}

TEST_F(ComputerPlayersTest, ShipsAreBuiltWhenCargoCostsBelowHalfTheGoldOrWarshipAndWeaponBelowIt) {
    // The random cargo build needs the draw, fewer than six ships and the
    // cost below half the gold; the second build, the war model and its
    // weapon below the gold, or else the cargo model below it.
    ShipModel* hauler = AddModel(red, 50, 30, 20, 3, 100);
    AddWeapon(red, 100, 10, 20, 1000000);
    struct Case {
        bool lucky;
        int ships, gold, built;
    } cases[] = {{true, 0, 1000, 2}, {true, 5, 1000, 2}, {true, 6, 1000, 1}, {false, 0, 1000, 1},
                 {true, 0, 200, 1},  {true, 0, 202, 2},  {true, 0, 100, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.ships << " ships, " << c.gold << " gold");
        computer->shipCount = c.ships;
        SeedRand(SeedWithFirstDraw(c.lucky));
        Planet* p = Act(c.gold, red->weapons);
        // Ships built take off in the same turn.
        EXPECT_EQ(CountOf(world->ships), c.built);
        EXPECT_EQ(p->docks, nullptr);
        EXPECT_EQ(computer->shipCount, c.ships + c.built);
        EXPECT_EQ(computer->gold, c.gold - 100 * c.built);
        for (Ship* s = world->ships; s; s = s->next) EXPECT_EQ(s->model, hauler);
    }

    ClearPlanets(world);
    FreeList(red->shipModels);
    FreeList(red->weapons);
    ShipModel* war = AddModel(red, 80, 200, 60, 0, 1000);  // no hold: never a cargo build
    Weapon* gun = AddWeapon(red, 120, 30, 50, 500);
    for (int gold : {1500, 1501}) {
        SCOPED_TRACE(gold);
        computer->shipCount = 0;
        Act(gold, gun);
        ASSERT_EQ(CountOf(world->ships), gold - 1500);
        if (gold == 1500) continue;
        const Ship* s = world->ships;
        EXPECT_EQ(std::make_pair(s->model, s->weapon), std::make_pair(war, gun));
        EXPECT_EQ(std::vector<int>({s->weaponReady, s->actionPoints, s->shieldPoints, computer->gold}),
                  std::vector<int>({0, 0, 200, 1}));  // taking off spent its readiness
    }
}

TEST_F(ComputerPlayersTest, PlanetWeaponIsBoughtWhateverTheGoldAndReplacedOnlyByOneWorthMore) {
    AddModel(red, 50, 50, 50, 0, 500);
    Weapon* strong = AddWeapon(red, 100, 50, 100, 400);  // worth 150, the head
    Weapon* weak = AddWeapon(red, 10, 1, 2, 301);        // worth 11
    Weapon* twin = AddWeapon(blue, 120, 10, 40, 10);     // worth 150 too
    Planet* p = Act(100);
    EXPECT_EQ(p->weapon, strong);
    EXPECT_EQ(computer->gold, -300);
    EXPECT_EQ(p->weaponReady, 1);
    p = Act(100, weak);  // the old one sells at half its cost
    EXPECT_EQ(p->weapon, strong);
    EXPECT_EQ(computer->gold, 100 + 150 - 400);
    for (Weapon* held : {twin, strong}) {
        p = Act(800, held);
        EXPECT_EQ(p->weapon, held);
        EXPECT_EQ(computer->gold, 800);
        EXPECT_EQ(p->weaponReady, 0);
    }
}

TEST_F(ComputerPlayersTest, EquipmentIsBoughtInOrderWithItsThresholdsAndTurnRules) {
    ExpensiveStock(red);
    struct Case {
        int turn, unstability, gold;
        bool hyper, bank, shield;
        int goldAfter;
    } cases[] = {
        {5, 1, 15000, true, true, true, 0},      {5, 1, 14999, true, true, false, 3099},  // the shield comes last
        {5, 3, 15000, false, true, true, 5000},   // instability "None": no Hyper Stabilizer
        {1, 1, 15000, false, true, false, 8100},  // turn 1: only the Global Bank System
        {2, 1, 5000, true, false, false, 0},     {2, 1, 4999, false, false, true, 1899},
        {2, 1, 3100, false, false, true, 0},     {2, 1, 3099, false, false, false, 3099},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message()
                     << "turn " << c.turn << ", instability " << c.unstability << ", gold " << c.gold);
        g_turn = c.turn;
        g_unstability = c.unstability;
        Planet* p = Act(c.gold, red->weapons);
        EXPECT_EQ(std::vector<bool>({p->equip[kHyperStabilizer] != 0, p->equip[kGlobalBankSystem] != 0,
                                     p->equip[kProtectiveShield] != 0}),
                  std::vector<bool>({c.hyper, c.bank, c.shield}));
        EXPECT_EQ(computer->gold, c.goldAfter);
        EXPECT_EQ(p->shieldPoints, 500);  // a new shield is charged by a later repair
    }
    // Equipment carried is not bought again; the repair brings a shielded
    // planet up to 800.
    Planet* p = world->planets;
    p->equip[kHyperStabilizer] = p->equip[kGlobalBankSystem] = p->equip[kProtectiveShield] = 1;
    computer->gold = 16500;
    ComputerPlanetsAct(world, computer);
    EXPECT_EQ(p->shieldPoints, 800);
    EXPECT_EQ(computer->gold, 15000);
}

TEST_F(ComputerPlayersTest, DockedShipsAreUnloadedAndThoseWithFullPointsLaunched) {
    ExpensiveStock(red);
    ShipModel* hauler = AddModel(red, 60, 40, 30, 3, 1000000);
    Planet* p = AddPlanet(world, computer, 1000, 1000, red->weapons);
    Ship* full = Dock(p, computer, hauler);
    full->holdFull = 1;
    full->actionPoints = 0;     // landed this turn: stays
    Dock(p, computer, hauler);  // empty, full action points: leaves
    Ship* visitor = Dock(p, rival, AddModel(blue, 45, 200, 10, 2, 10));
    visitor->holdFull = 1;  // another player's: neither unloaded nor launched
    computer->gold = 0;
    ComputerPlanetsAct(world, computer);
    EXPECT_GE(computer->gold, 300);  // 100 an ore unit and 0 to 49 more
    EXPECT_LE(computer->gold, 349);
    EXPECT_EQ(full->holdFull, 0);
    EXPECT_EQ(visitor->holdFull, 1);
    ASSERT_EQ(CountOf(p->docks), 2);
    EXPECT_EQ(p->docks, full);
    ASSERT_EQ(CountOf(world->ships), 1);
    EXPECT_EQ(world->ships->model, hauler);
}

TEST_F(ComputerPlayersTest, APlanetFiresOnceAtTheFirstEnemyWithinRangePlus30) {
    ExpensiveStock(red);
    Weapon* gun = AddWeapon(red, 110, 50, 51, 1000000);  // always 50, worth more than the stock's
    ShipModel* bm = AddModel(blue, 50, 40, 10, 0, 100);
    Planet* p = AddPlanet(world, computer, 1000, 1000, gun);
    p->weaponReady = 1;
    Ship* mine = AddShip(world, computer, red->shipModels, 1000, 1010);
    Ship* victim = AddShip(world, rival, bm, 1084, 1112);  // exactly 140 away
    Ship* second = AddShip(world, rival, bm, 1000, 1050);
    g_selShip = g_hoverShip = victim;
    computer->gold = 0;
    ComputerPlanetsAct(world, computer);
    EXPECT_EQ(world->ships, mine);
    EXPECT_EQ(mine->next, second);
    EXPECT_EQ(rival->shipCount, 1);
    EXPECT_EQ(second->shieldPoints, 40);
    EXPECT_EQ(mine->shieldPoints, 100);
    EXPECT_EQ(p->weaponReady, 0);
    EXPECT_TRUE(!g_selShip && !g_hoverShip);
    EXPECT_EQ(platform.log, (std::vector<std::string>{"cue FirstW.wav", "explode ship", "explode ship"}));
    ComputerPlanetsAct(world, computer);  // not ready: no shot
    EXPECT_EQ(second->shieldPoints, 40);
    second->y = 1141;  // 141 away
    p->weaponReady = 1;
    ComputerPlanetsAct(world, computer);
    EXPECT_EQ(second->shieldPoints, 40);
    EXPECT_EQ(p->weaponReady, 1);
    // On a world not shown, silently.
    AddPlanet(other, computer, 0, 0, gun)->weaponReady = 1;
    AddShip(other, rival, bm, 0, 140);
    platform.log.clear();
    ComputerPlanetsAct(other, computer);
    EXPECT_EQ(other->ships, nullptr);
    EXPECT_TRUE(platform.log.empty());
}

TEST_F(ComputerPlayersTest, ARaceWithoutModelsOrWithoutWeaponsBuildsAndBuysNothing) {
    for (int stock : {0, 1, 2}) {  // nothing, a model only, a weapon only
        SCOPED_TRACE(stock);
        FreeList(red->shipModels);
        FreeList(red->weapons);
        if (stock == 1) AddModel(red, 50, 50, 50, 3, 100);
        if (stock == 2) AddWeapon(red, 100, 10, 20, 100);
        computer->shipCount = 0;
        ClearPlanets(world);
        Planet* p = AddPlanet(world, computer, 1000, 1000);
        p->shieldPoints = 480;
        computer->gold = 1000;
        ComputerPlanetsAct(world, computer);
        EXPECT_EQ(p->weapon, nullptr);
        EXPECT_EQ(world->ships, nullptr);
        EXPECT_EQ(p->shieldPoints, 500);  // the repair is not a purchase of the race
        EXPECT_EQ(computer->gold, 900);
    }
}

TEST_F(ComputerPlayersTest, OnlyTheActingPlayersEmptyShipsLoadOreDownToZeroAndThoseWithFullPointsLeave) {
    ShipModel* hauler = AddModel(red, 60, 40, 30, 8, 100);
    Asteroid* a = AddAsteroid(world, 500, 700, 20);
    Ship* staying = Land(a, computer, hauler);
    staying->actionPoints = 0;
    Ship* loaded = Land(a, computer, hauler);
    loaded->holdFull = 1;
    loaded->actionPoints = 10;
    Ship* foreign = Land(a, rival, AddModel(blue, 60, 40, 30, 4, 100));
    Asteroid* poor = AddAsteroid(world, 100, 100, 5);
    Land(poor, computer, hauler);
    Asteroid* bare = AddAsteroid(world, 900, 900, 0);
    Land(bare, computer, hauler);
    ComputerAsteroidsAct(world, computer);
    EXPECT_EQ(std::vector<int>({a->resources, staying->holdFull, foreign->holdFull, CountOf(a->ships)}),
              std::vector<int>({12, 1, 0, 3}));
    EXPECT_EQ(std::make_pair(poor->resources, poor->ships), std::make_pair(0, (Ship*)nullptr));
    EXPECT_EQ(bare->ships, nullptr);
    ASSERT_EQ(CountOf(world->ships), 2);
    EXPECT_EQ(world->ships->holdFull, 0);  // from the bare asteroid, launched last
    EXPECT_EQ(world->ships->next->holdFull, 1);
    EXPECT_EQ(world->ships->actionPoints, 0);
}

TEST_F(ComputerPlayersTest, ComputerPlayersActThenTheHumanOnAutopilotAndAllButTheNeutralAreRecorded) {
    ExpensiveStock(red);
    ExpensiveStock(blue);
    ExpensiveStock(human->race);
    AddPlanet(world, computer, 1000, 1000, red->weapons);
    AddPlanet(other, rival, 1500, 1000, blue->weapons);
    Planet* humans = AddPlanet(world, human, 500, 1000);  // unarmed
    Planet* neutrals = AddPlanet(world, neutral, 500, 500);
    computer->gold = 1000;
    rival->gold = 50;
    human->gold = 777;
    neutral->gold = 5;
    ComputerPlayersTurn();
    EXPECT_EQ(std::vector<int>({computer->power[5], rival->power[5], human->power[5], neutral->power[5]}),
              std::vector<int>({2000, 1050, 1777, 0}));
    EXPECT_EQ(computer->power[4], 0);
    EXPECT_TRUE(!humans->weapon && !neutrals->weapon);
    // On autopilot the human's planet buys like a computer's.
    g_turn = 450;  // and the history grows past its first 400 turns
    ComputerPlayersTurn(true);
    EXPECT_EQ(humans->weapon, human->race->weapons);
    EXPECT_EQ(human->gold, 777 - 1000000);
    EXPECT_EQ(human->power[450], 1000 + 777 - 1000000);
    EXPECT_EQ(computer->power[450], 2000);
    EXPECT_EQ(neutrals->weapon, nullptr);
}

}  // namespace
}  // namespace qv
