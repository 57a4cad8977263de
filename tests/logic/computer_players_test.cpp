// Computer players: the model and weapon bought, repairs, ships built, planet
// weapons and equipment, planet defence, who acts and is recorded.
#include "game_fixture.h"
#include "model/catalogue.h"
#include "turn/computer_players.h"

namespace qv {
namespace {

class ComputerPlayersTest : public testing::HandBuiltGameTest {
protected:
    // Stock no test's gold reaches: an armed planet buys and builds nothing.
    static void ExpensiveStock(Race* race) {
        AddModel(race, 100, 100, 100, 0, 1000000);
        AddWeapon(race, 100, 10, 20, 1000000);
    }
    // The computer's only planet acts once with the gold.
    Planet* Act(int gold, Weapon* weapon = nullptr, int shield = 500, bool shielded = false) {
        testing::ClearPlanets(world);
        FreeList(world->ships);
        Planet* p = AddPlanet(world, computer, 1000, 1000, weapon);
        p->shieldPoints = shield;
        p->equip[kProtectiveShield] = shielded;
        computer->gold = gold;
        ComputerPlanetsAct(world, computer);
        return p;
    }
};

TEST_F(ComputerPlayersTest, ChoicesStartFromTheHeadAndTakeOnlyStrictlyBetterOnesCostingBelowTheBound) {
    //                      speed defence survey hold cost
    ShipModel* a = AddModel(red, 10, 10, 10, 2, 5000);    // the head, never affordable here
    ShipModel* b = AddModel(red, 50, 25, 25, 2, 100);     // its hold ties the head's
    ShipModel* c = AddModel(red, 100, 100, 100, 5, 499);  // worth speed + defence + survey
    ShipModel* d = AddModel(red, 100, 100, 100, 5, 120);  // ties c in hold and worth
    ShipModel* e = AddModel(red, 20, 20, 10, 9, 500);     // the largest hold
    // Cargo: the largest hold, war: the most worth, costing below half the gold.
    for (auto [gold, model] : {std::pair{1000, c}, {1001, c}, {1002, e}, {0, a}, {-400, a}})
        EXPECT_EQ(ChooseCargoModel(red, gold), model) << gold;
    for (auto [gold, model] : {std::pair{1000, c}, {250, d}, {201, a}, {202, b}, {242, d}})
        EXPECT_EQ(ChooseWarModel(red, gold), model) << gold;
    //                     range min max cost       worth range + max - min
    Weapon* w1 = AddWeapon(red, 10, 1, 2, 10);       //  11, the head
    Weapon* w2 = AddWeapon(red, 100, 10, 110, 600);  // 200
    Weapon* w3 = AddWeapon(red, 150, 10, 60, 100);   // 200, ties w2
    Weapon* w4 = AddWeapon(red, 400, 10, 110, 900);  // 500
    // Weapon: the most worth costing below the gold the war model leaves.
    for (auto [gold, model, weapon] : {std::tuple{1000, b, w2}, {1001, b, w4}, {5000, a, w1}, {400, b, w3}})
        EXPECT_EQ(ChooseWeapon(red, gold, *model), weapon) << gold;
    Race empty;
    EXPECT_TRUE(!ChooseCargoModel(&empty, 100000) && !ChooseWarModel(&empty, 100000) &&
                !ChooseWeapon(&empty, 100000, *a) && !ChooseCargoModel(nullptr, 100000));
}

TEST_F(ComputerPlayersTest, RepairIsAllOrNothingAtFiveGoldAPointUpTo500Or800WithAShield) {
    ExpensiveStock(red);
    // clang-format off
    struct Case { int shield, gold; bool shielded; int shieldAfter, goldAfter; } cases[] = {
        {420, 1000, false, 500, 600}, {420, 400, false, 500, 0}, {420, 399, false, 420, 399},
        {420, 2000, true, 800, 100},  {500, 2000, true, 800, 500}, {500, 1000, false, 500, 1000}};
    // clang-format on
    for (const Case& c : cases) {
        Planet* p = Act(c.gold, red->weapons, c.shield, c.shielded);
        EXPECT_EQ(std::make_pair(p->shieldPoints, computer->gold), std::make_pair(c.shieldAfter, c.goldAfter))
            << c.shield << " with " << c.gold;
    }
}

TEST_F(ComputerPlayersTest, ShipsAreBuiltWhenCargoCostsBelowHalfTheGoldOrWarshipAndWeaponBelowIt) {
    // The random cargo build needs a draw that is a multiple of three, fewer
    // than six ships and the cost below half the gold; the second build, the
    // war model and its weapon below the gold, or else a cargo model below it.
    ShipModel* hauler = AddModel(red, 50, 30, 20, 3, 100);
    AddWeapon(red, 100, 10, 20, 1000000);
    // clang-format off
    struct Case { bool lucky; int ships, gold, built; } cases[] = {
        {true, 0, 1000, 2}, {true, 5, 1000, 2}, {true, 6, 1000, 1}, {false, 0, 1000, 1},
        {true, 0, 200, 1},  {true, 0, 202, 2},  {true, 0, 100, 0}};
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.ships << " ships, " << c.gold << " gold");
        computer->shipCount = c.ships;
        std::uint32_t seed = 1;
        while ((Random(seed).next() % 3 == 0) != c.lucky) ++seed;
        SeedRand(seed);
        Planet* p = Act(c.gold, red->weapons);
        // Ships built take off in the same turn.
        EXPECT_EQ(std::vector<int>({CountOf(world->ships), CountOf(p->docks), computer->shipCount, computer->gold}),
                  std::vector<int>({c.built, 0, c.ships + c.built, c.gold - 100 * c.built}));
        for (Ship* s = world->ships; s; s = s->next) EXPECT_EQ(s->model, hauler);
    }
    FreeList(red->shipModels);
    FreeList(red->weapons);
    ShipModel* war = AddModel(red, 80, 200, 60, 0, 1000);  // no hold: never a cargo build
    Weapon* gun = AddWeapon(red, 120, 30, 50, 500);
    Act(1500, gun);
    EXPECT_EQ(world->ships, nullptr);
    Act(1501, gun);
    ASSERT_EQ(CountOf(world->ships), 1);
    const Ship* s = world->ships;
    EXPECT_TRUE(s->model == war && s->weapon == gun);
    EXPECT_EQ(std::vector<int>({s->weaponReady, s->actionPoints, s->shieldPoints, computer->gold}),
              std::vector<int>({0, 0, 200, 1}));  // taking off spent its readiness
}

TEST_F(ComputerPlayersTest, APlanetWeaponIsBoughtWhateverTheGoldAndReplacedOnlyByOneWorthMore) {
    AddModel(red, 50, 50, 50, 0, 500);
    Weapon* strong = AddWeapon(red, 100, 50, 100, 400);  // worth 150, the head
    Weapon* weak = AddWeapon(red, 10, 1, 2, 301);        // worth 11
    Weapon* twin = AddWeapon(blue, 120, 10, 40, 10);     // worth 150 too
    Planet* p = Act(100);
    EXPECT_EQ(std::make_tuple(p->weapon, computer->gold, p->weaponReady), std::make_tuple(strong, -300, 1));
    p = Act(100, weak);  // the old one sells at half its cost
    EXPECT_EQ(std::make_tuple(p->weapon, computer->gold, p->weaponReady), std::make_tuple(strong, 100 + 150 - 400, 1));
    for (Weapon* held : {twin, strong}) {
        p = Act(800, held);
        EXPECT_EQ(std::make_tuple(p->weapon, computer->gold, p->weaponReady), std::make_tuple(held, 800, 0));
    }
}

TEST_F(ComputerPlayersTest, EquipmentIsBoughtInOrderWithItsThresholdsAndTurnRules) {
    ExpensiveStock(red);
    // clang-format off
    struct Case { int turn, unstability, gold; bool hyper, bank, shield; int goldAfter; } cases[] = {
        {5, 1, 15000, true, true, true, 0},      {5, 1, 14999, true, true, false, 3099},  // the shield comes last
        {5, 3, 15000, false, true, true, 5000},  // instability "None": no Hyper Stabilizer
        {1, 1, 15000, false, true, false, 8100}, // turn 1: only the Global Bank System
        {2, 1, 5000, true, false, false, 0},     {2, 1, 4999, false, false, true, 1899},
        {2, 1, 3100, false, false, true, 0},     {2, 1, 3099, false, false, false, 3099}};
    // clang-format on
    for (const Case& c : cases) {
        g_turn = c.turn;
        g_unstability = c.unstability;
        Planet* p = Act(c.gold, red->weapons);
        EXPECT_EQ(std::vector<int>({p->equip[kHyperStabilizer], p->equip[kGlobalBankSystem],
                                    p->equip[kProtectiveShield], computer->gold, p->shieldPoints}),
                  std::vector<int>({c.hyper, c.bank, c.shield, c.goldAfter, 500}))  // charged by a later repair
            << "turn " << c.turn << ", instability " << c.unstability << ", gold " << c.gold;
    }
    // Equipment carried is not bought again.
    Planet* p = world->planets;
    p->equip[kHyperStabilizer] = p->equip[kGlobalBankSystem] = p->equip[kProtectiveShield] = 1;
    computer->gold = 16500;
    ComputerPlanetsAct(world, computer);
    EXPECT_EQ(std::make_pair(p->shieldPoints, computer->gold), std::make_pair(800, 15000));
}

TEST_F(ComputerPlayersTest, APlanetFiresOnceAtTheFirstEnemyWithinRangePlus30AndSilentlyElsewhere) {
    ExpensiveStock(red);
    Weapon* gun = AddWeapon(red, 110, 50, 51, 1000000);  // always 50, worth more than the stock's
    ShipModel* bm = AddModel(blue, 50, 40, 10, 0, 100);
    Planet* p = AddPlanet(world, computer, 1000, 1000, gun);
    p->weaponReady = 1;
    Ship* mine = AddShip(world, computer, red->shipModels, 1000, 1010);
    g_selShip = g_hoverShip = AddShip(world, rival, bm, 1084, 1112);  // exactly 140 away
    Ship* second = AddShip(world, rival, bm, 1000, 1050);
    ComputerPlanetsAct(world, computer);
    EXPECT_EQ(std::vector<Ship*>({world->ships, mine->next, g_selShip, g_hoverShip}),
              std::vector<Ship*>({mine, second, nullptr, nullptr}));
    EXPECT_EQ(std::vector<int>({rival->shipCount, second->shieldPoints, mine->shieldPoints, p->weaponReady}),
              std::vector<int>({1, 40, 100, 0}));
    EXPECT_EQ(platform.log, (std::vector<std::string>{"cue FirstW.wav", "explode ship", "explode ship"}));
    ComputerPlanetsAct(world, computer);  // not ready: no shot
    second->y = 1141;                     // 141 away
    p->weaponReady = 1;
    ComputerPlanetsAct(world, computer);
    EXPECT_EQ(std::make_pair(second->shieldPoints, (int)p->weaponReady), std::make_pair(40, 1));
    AddPlanet(other, computer, 0, 0, gun)->weaponReady = 1;
    AddShip(other, rival, bm, 0, 140);
    platform.log.clear();
    ComputerPlanetsAct(other, computer);
    EXPECT_EQ(other->ships, nullptr);
    EXPECT_TRUE(platform.log.empty());
}

TEST_F(ComputerPlayersTest, ARaceWithoutModelsOrWithoutWeaponsBuildsAndBuysNothingButRepairs) {
    for (int stock : {0, 1, 2}) {  // nothing, a model only, a weapon only
        FreeList(red->shipModels);
        FreeList(red->weapons);
        if (stock == 1) AddModel(red, 50, 50, 50, 3, 100);
        if (stock == 2) AddWeapon(red, 100, 10, 20, 100);
        Planet* p = Act(1000, nullptr, 480);
        EXPECT_EQ(std::make_tuple(p->weapon, world->ships, p->shieldPoints, computer->gold),
                  std::make_tuple((Weapon*)nullptr, (Ship*)nullptr, 500, 900))
            << stock;
    }
}

TEST_F(ComputerPlayersTest, ComputerPlayersActThenTheHumanOnAutopilotAndAllButTheNeutralAreRecorded) {
    for (Race* r : {red, blue, human->race}) ExpensiveStock(r);
    AddPlanet(world, computer, 1000, 1000, red->weapons);
    AddPlanet(other, rival, 1500, 1000, blue->weapons);
    Planet* humans = AddPlanet(world, human, 500, 1000);  // unarmed
    Planet* neutrals = AddPlanet(world, neutral, 500, 500);
    computer->gold = 1000;
    rival->gold = 50;
    human->gold = 777;
    neutral->gold = 5;
    ComputerPlayersTurn();
    EXPECT_EQ(
        std::vector<int>({computer->power[5], rival->power[5], human->power[5], neutral->power[5], computer->power[4]}),
        std::vector<int>({2000, 1050, 1777, 0, 0}));
    EXPECT_TRUE(!humans->weapon && !neutrals->weapon);
    g_turn = 450;  // the history grows past its first 400 turns
    ComputerPlayersTurn(true);
    EXPECT_EQ(humans->weapon, human->race->weapons);  // bought like a computer's, whatever the gold
    EXPECT_EQ(std::vector<int>({human->gold, human->power[450], computer->power[450]}),
              std::vector<int>({777 - 1000000, 1000 + 777 - 1000000, 2000}));
    EXPECT_EQ(neutrals->weapon, nullptr);
    ASSERT_EQ(neutral->power.size(), human->power.size());  // every history holds each turn played
    EXPECT_EQ(neutral->power[450], 0);
}

}  // namespace
}  // namespace qv
