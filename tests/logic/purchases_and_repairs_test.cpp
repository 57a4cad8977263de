// What the human pays and is paid at a planet: equipment, ships, ore and repairs; the refusals and their messages.
#include "economy/equipment_trade.h"
#include "economy/planet_panel.h"
#include "economy/repairs.h"
#include "economy/shipyard.h"
#include "player_orders_fixture.h"

namespace qv {
namespace {

class PurchaseTest : public testing::PlayerOrdersTest {
protected:
    static std::string Listed(const std::vector<EquipRow>& rows) {
        std::vector<std::string> out;
        for (const EquipRow& r : rows) out.push_back(r.name + " " + std::to_string(r.price));
        return Join(out);
    }
};

TEST_F(PurchaseTest, EquipmentIsOfferedAtItsPriceBoughtBackForHalfAndAPlanetKeepsOnlyTheShieldItsItemsAdded) {
    Planet* full = PlanetAt(human, 900, 900);
    Ship* bare = Dock(planet, human, scout);
    Ship* equipped = Dock(planet, human, scout);
    for (int& e : full->equip) e = 1;
    for (int& e : equipped->equip) e = 1;
    EXPECT_EQ(Listed(EquipmentTrade::ForPlanet(planet).buyRows()),
              "Hyper Stabilizer 5000|Protective Shield 3100|Global Bank System 6900|Green gun 1 301|Green gun 2 601|"
              "Green gun 3 901");
    EXPECT_EQ(Listed(EquipmentTrade::ForPlanet(full).sellRows()),
              "Hyper Stabilizer 2500|Protective Shield 1550|Global Bank System 3450|Green gun 1 150|Green gun 2 300|"
              "Green gun 3 450");
    EXPECT_EQ(Listed(EquipmentTrade::ForShip(bare).buyRows()),
              "Accelerator 1500|Space Scanner 1100|Additional Hold 1900|Hyper Module 1000|Hyper Jumper 1500|"
              "Protective Screen 2000|Power Reactor 3000|Destructive Nuclear Missile 3900|Green gun 1 301|"
              "Green gun 2 601|Green gun 3 901");
    EXPECT_EQ(Listed(EquipmentTrade::ForShip(equipped).sellRows()),
              "Accelerator 750|Space Scanner 550|Additional Hold 950|Hyper Module 500|Hyper Jumper 750|"
              "Protective Screen 1000|Power Reactor 1500|Destructive Nuclear Missile 1950|Green gun 1 150|"
              "Green gun 2 300|Green gun 3 450");
    ClearWorld();  // a planet's shield and weapons come with their items; selling keeps the shield only
    planet->shieldPoints = 420;
    EquipmentTrade trade = EquipmentTrade::ForPlanet(planet);
    ASSERT_TRUE(trade.buy(1) && trade.buy(2));  // the Protective Shield, Green gun 1
    EXPECT_EQ(planet->weapon, RaceWeapon(1));
    planet->weaponReady = 0;
    ASSERT_TRUE(trade.buy(3));  // Green gun 3: the last bought is the one fired
    EXPECT_TRUE(planet->weapon == RaceWeapon(3) && planet->weaponReady == 1 && planet->shieldPoints == 720);
    ASSERT_TRUE(trade.sell(1));  // Green gun 1: the planet is disarmed
    EXPECT_EQ(planet->weapon, nullptr);
    ASSERT_TRUE(trade.sell(0));
    EXPECT_EQ((std::vector<int>{planet->shieldPoints, planet->equip[kProtectiveShield],
                                planet->equip[kPlanetRaceWeapon1 + 2], human->gold}),
              (std::vector<int>{720, 0, 1, 20000 - 3100 - 301 - 901 + 150 + 1550}));
    EXPECT_EQ(Listed(trade.sellRows()) + " / " + Listed(trade.buyRows()),
              "Green gun 3 450 / Hyper Stabilizer 5000|Global Bank System 6900|Green gun 2 601|Green gun 1 301|"
              "Protective Shield 3100");
}

TEST_F(PurchaseTest, AShipsItemsRaiseItsFiguresForGoodAndGoldShortOfThePriceBuysNothing) {
    Ship* ship = Dock(planet, human, scout);  // 2 holds, 150 shield, 40 view, 60 points
    EquipmentTrade trade = EquipmentTrade::ForShip(ship);
    for (int row : {2, 4, 4, 4}) ASSERT_TRUE(trade.buy(row));  // hold, screen, reactor, missile
    EXPECT_EQ(ship->weaponReady, 1);
    ship->weaponReady = 0;
    ASSERT_TRUE(trade.buy(6));  // Green gun 3
    EXPECT_EQ(ship->weaponReady, 1);
    while (!trade.sellRows().empty()) ASSERT_TRUE(trade.sell(0));
    EXPECT_EQ(std::count(ship->equip, ship->equip + kShipEquipSlots, 0), kShipEquipSlots);
    EXPECT_EQ(human->gold, 20000 - (1900 + 2000 + 3000 + 3900 + 901) + (950 + 1000 + 1500 + 1950 + 450));
    EXPECT_EQ((std::vector<int>{ship->holds, ship->shieldPoints, ship->viewPoints, ship->actionPoints}),
              (std::vector<int>{3, 350, 90, 110}));
    EXPECT_EQ(ship->weapon, RaceWeapon(3));
    // Gold short of the price buys nothing; the first item has its own message.
    const char* first = "Not enough gold for this equipment!";
    const char* other = "You havn't gold for this equipment!";
    // Ship or planet, row, gold, the message (none: bought).
    const std::tuple<bool, int, int, const char*> cases[] = {
        {1, 0, 1499, first},  {1, 0, 1500, nullptr}, {1, 4, 1499, other},   {1, 8, 300, other},
        {1, 8, 301, nullptr}, {0, 0, 4999, first},   {0, 0, 5000, nullptr}, {0, 2, 6899, other}};
    for (const auto& [onShip, row, gold, message] : cases) {
        SCOPED_TRACE(::testing::Message() << onShip << " row " << row << " gold " << gold);
        ClearWorld();
        EquipmentTrade trade =
            onShip ? EquipmentTrade::ForShip(Dock(planet, human, scout)) : EquipmentTrade::ForPlanet(planet);
        human->gold = gold;
        EXPECT_EQ(trade.buy(row), message == nullptr);
        EXPECT_EQ(std::make_pair(human->gold, trade.sellRows().size()),
                  std::make_pair(message ? gold : 0, message ? 0ul : 1ul));
        EXPECT_EQ(Join(platform.messages), message ? message : "");
    }
    trade = EquipmentTrade::ForPlanet(planet);  // rows outside the lists trade nothing
    EXPECT_FALSE(trade.buy(-1) || trade.buy(6) || trade.sell(-1) || trade.sell(0));
}

TEST_F(PurchaseTest, ShipsBoughtForTheirCostSoldForHalfUnloadedForAHundredAHoldPlusUpTo49AndRepairsAt5Or2APoint) {
    EXPECT_EQ(ShipyardModels(), (std::vector<const ShipModel*>{scout, hauler}));
    EXPECT_TRUE(ShipyardModelAt(1) == hauler && !ShipyardModelAt(2) && !ShipyardModelAt(-1));
    Ship* older = Dock(planet, human, scout);
    const int ships = human->shipCount;
    human->gold = 1700;  // exactly the hauler's cost
    Ship* bought = BuyShip(planet, 1);
    ASSERT_TRUE(bought && planet->docks == bought && bought->next == older && bought->model == hauler);
    EXPECT_EQ((std::vector<int>{bought->actionPoints, bought->shieldPoints, bought->viewPoints, bought->holds,
                                human->shipCount - ships, human->gold}),
              (std::vector<int>{30, 250, 20, 5, 1, 0}));
    EXPECT_FALSE(BuyShip(planet, 0) || BuyShip(planet, 2) || SellShip(planet) || UnloadShip(planet));
    ChooseDock(planet, 0);
    EXPECT_TRUE(SellShip(planet));
    EXPECT_EQ((std::vector<int>{human->gold, human->shipCount - ships}), (std::vector<int>{850, 0}));
    EXPECT_TRUE(planet->docks == older && !older->prev && !g_dockSelection);
    EXPECT_EQ(Join(platform.cues), "BldShip.wav|Feedbk03.wav");
    ChooseDock(planet, 0);
    for (int holds : {0, 3}) {  // no hold, then an empty one
        older->holds = holds;
        older->holdFull = holds == 0;
        EXPECT_FALSE(UnloadShip(planet));
    }
    EXPECT_EQ(Join(platform.messages),
              "You have not gold for this ship!|This ship haven't hold!|This ship have empty hold!");
    older->holdFull = 1;
    human->gold = 0;
    EXPECT_TRUE(UnloadShip(planet));
    EXPECT_EQ(older->holdFull, 0);
    EXPECT_TRUE(human->gold >= 300 && human->gold <= 349) << human->gold;
    ClearWorld();
    // Full: a planet 500 (800 with the Protective Shield), a ship its model's defence 150 (250 with the Screen).
    // Ship?, shield or screen?, shield, gold, agree?; outcome, amount asked, shield after.
    using R = RepairOutcome;
    const std::tuple<bool, bool, int, int, bool, R, int, int> cases[] = {
        {0, 0, 420, 1000, 1, R::Repaired, 400, 500},    {0, 1, 500, 1500, 1, R::Repaired, 1500, 800},
        {0, 1, 500, 1499, 1, R::NotEnoughGold, 0, 500}, {0, 0, 100, 5000, 0, R::Refused, 2000, 100},
        {0, 0, 500, 9000, 1, R::NotDamaged, 0, 500},    {0, 0, 720, 9000, 1, R::NotDamaged, 0, 720},
        {0, 1, 800, 9000, 1, R::NotDamaged, 0, 800},    {1, 0, 90, 1000, 1, R::Repaired, 120, 150},
        {1, 1, 90, 320, 1, R::Repaired, 320, 250},      {1, 0, 90, 119, 1, R::NotEnoughGold, 0, 90},
        {1, 0, 90, 120, 0, R::Refused, 120, 90},        {1, 0, 150, 9000, 1, R::NotDamaged, 0, 150},
        {1, 0, 250, 9000, 1, R::NotDamaged, 0, 250}};
    for (const auto& [isShip, extra, shield, gold, agree, outcome, asked, after] : cases) {
        SCOPED_TRACE(::testing::Message() << (isShip ? "ship " : "planet ") << extra << " " << shield);
        ClearWorld();
        Ship* ship = g_dockSelection = Dock(planet, human, scout);
        planet->equip[kProtectiveShield] = !isShip && extra;
        ship->equip[kProtectiveScreen] = isShip && extra;
        std::int32_t& points = isShip ? ship->shieldPoints : planet->shieldPoints;
        points = shield;
        human->gold = gold;
        std::vector<int> shown;
        const ConfirmPayment confirm = [&, agree = agree](std::int32_t amount) {
            shown.push_back(g_payAmount);
            return amount == g_payAmount && agree;
        };
        EXPECT_EQ(isShip ? RepairDockedShip(planet, confirm) : RepairPlanetShield(planet, confirm), outcome);
        EXPECT_EQ(shown, std::vector<int>(asked ? 1 : 0, asked));
        EXPECT_EQ(points, after);
        EXPECT_EQ(human->gold, gold - (outcome == R::Repaired ? asked : 0));
        const char* message = outcome == R::NotEnoughGold ? "You do not have so much gold!"
                              : outcome != R::NotDamaged  ? nullptr
                              : isShip                    ? "Shielding is not damaged!"
                              : extra                     ? "Shield does not have damages!"
                                                          : "Protection does not have damages!";
        EXPECT_EQ(Join(platform.messages), message ? message : "");
        EXPECT_EQ(Join(platform.cues), outcome == R::Refused ? "Feedbk04.wav|Feedbk03.wav" : "Feedbk04.wav");
    }
    // A ship without a model is full at no shield points: nothing to repair.
    ClearWorld();
    g_dockSelection = Dock(planet, human, scout);
    g_dockSelection->model = nullptr;
    g_dockSelection->shieldPoints = 0;
    EXPECT_EQ(RepairDockedShip(planet, [](std::int32_t) { return true; }), R::NotDamaged);
}

}  // namespace
}  // namespace qv
