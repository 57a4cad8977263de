// Equipment trade for planets and docked ships: the catalogues and the lists
// they start with, buying and selling with their effects and prices, the two
// refusal messages, names shared by a fixed item and a race weapon, and rows
// outside the lists.
#include <gtest/gtest.h>

#include "economy/equipment_trade.h"
#include "economy_fixture.h"
#include "model/platform.h"

namespace qv {
namespace {

using testing::EconomyTest;
using EquipmentTradeTest = EconomyTest;

std::vector<std::string> Names(const std::vector<EquipRow>& rows) {
    std::vector<std::string> out;
    for (const EquipRow& r : rows) out.push_back(r.name);
    return out;
}

std::vector<std::int32_t> Prices(const std::vector<EquipRow>& rows) {
    std::vector<std::int32_t> out;
    for (const EquipRow& r : rows) out.push_back(r.price);
    return out;
}

int RowOf(const std::vector<EquipRow>& rows, const std::string& name) {
    for (std::size_t i = 0; i < rows.size(); ++i)
        if (rows[i].name == name) return static_cast<int>(i);
    return -1;
}

TEST_F(EquipmentTradeTest, APlanetStartsWithWhatIsMissingForBuyingAndWhatIsInstalledForSellingInSlotOrder) {
    planet->equip[kProtectiveShield] = 1;
    planet->equip[kPlanetRaceWeapon2] = 1;
    const EquipmentTrade trade = EquipmentTrade::ForPlanet(planet);
    const Weapon* w1 = raceWeapon(1);
    const Weapon* w2 = raceWeapon(2);
    const Weapon* w3 = raceWeapon(3);
    EXPECT_EQ(Names(trade.buyRows()),
              (std::vector<std::string>{"Hyper Stabilizer", "Global Bank System", w1->name, w3->name}));
    EXPECT_EQ(Prices(trade.buyRows()), (std::vector<std::int32_t>{5000, 6900, w1->cost, w3->cost}));
    EXPECT_EQ(Names(trade.sellRows()), (std::vector<std::string>{"Protective Shield", w2->name}));
    EXPECT_EQ(Prices(trade.sellRows()), (std::vector<std::int32_t>{1550, w2->cost / 2}));
}

TEST_F(EquipmentTradeTest, TheShipCatalogueHasElevenItemsAndAFullyEquippedShipHasNothingToBuy) {
    const std::vector<EquipItem> items = ShipCatalogue(race());
    ASSERT_EQ(items.size(), 11u);
    const std::pair<const char*, int> fixed[] = {
        {"Accelerator", 1500},  {"Space Scanner", 1100},     {"Additional Hold", 1900},
        {"Hyper Module", 1000}, {"Hyper Jumper", 1500},      {"Protective Screen", 2000},
        {"Power Reactor", 3000}, {"Destructive Nuclear Missile", 3900}};
    for (int k = 0; k < 8; ++k) {
        EXPECT_EQ(items[k].slot, k);
        EXPECT_EQ(items[k].name, fixed[k].first);
        EXPECT_EQ(items[k].buyPrice, fixed[k].second);
        EXPECT_EQ(items[k].sellPrice, fixed[k].second / 2);
    }
    for (int n = 1; n <= 3; ++n) {
        EXPECT_EQ(items[7 + n].slot, 7 + n);
        EXPECT_EQ(items[7 + n].name, raceWeapon(n)->name);
        EXPECT_EQ(items[7 + n].buyPrice, raceWeapon(n)->cost);
    }

    Ship* ship = Dock(1);
    for (int& slot : ship->equip) slot = 1;
    const EquipmentTrade trade = EquipmentTrade::ForShip(ship);
    EXPECT_TRUE(trade.buyRows().empty());
    EXPECT_EQ(trade.sellRows().size(), 11u);
}

TEST_F(EquipmentTradeTest, TheProtectiveShieldAddsThreeHundredAndSellingItTakesNothingBack) {
    planet->shieldPoints = 420;
    human->gold = 10000;
    EquipmentTrade trade = EquipmentTrade::ForPlanet(planet);
    ASSERT_TRUE(trade.buy(RowOf(trade.buyRows(), "Protective Shield")));
    EXPECT_EQ(planet->shieldPoints, 720);
    EXPECT_EQ(planet->equip[kProtectiveShield], 1);
    EXPECT_EQ(human->gold, 6900);
    // The bought item moves to the end of the sell list at its sell price.
    EXPECT_EQ(trade.buyRows().size(), 5u);
    EXPECT_EQ(RowOf(trade.buyRows(), "Protective Shield"), -1);
    ASSERT_EQ(trade.sellRows().size(), 1u);
    EXPECT_EQ(trade.sellRows().back().name, "Protective Shield");
    EXPECT_EQ(trade.sellRows().back().price, 1550);

    ASSERT_TRUE(trade.sell(0));
    EXPECT_EQ(planet->shieldPoints, 720);
    EXPECT_EQ(planet->equip[kProtectiveShield], 0);
    EXPECT_EQ(human->gold, 6900 + 1550);
    EXPECT_TRUE(trade.sellRows().empty());
    EXPECT_EQ(trade.buyRows().back().name, "Protective Shield");
    EXPECT_EQ(trade.buyRows().back().price, 3100);
    EXPECT_TRUE(platform.messages.empty());
}

TEST_F(EquipmentTradeTest, APlanetFiresTheLastWeaponBoughtAndSellingAnyWeaponDisarmsIt) {
    human->gold = 100000;
    EquipmentTrade trade = EquipmentTrade::ForPlanet(planet);
    ASSERT_TRUE(trade.buy(RowOf(trade.buyRows(), raceWeapon(1)->name)));
    EXPECT_EQ(planet->weapon, raceWeapon(1));
    EXPECT_EQ(planet->weaponReady, 1);
    planet->weaponReady = 0;
    ASSERT_TRUE(trade.buy(RowOf(trade.buyRows(), raceWeapon(2)->name)));
    EXPECT_EQ(planet->weapon, raceWeapon(2));
    EXPECT_EQ(planet->weaponReady, 1);
    EXPECT_EQ(human->gold, 100000 - raceWeapon(1)->cost - raceWeapon(2)->cost);

    ASSERT_TRUE(trade.sell(RowOf(trade.sellRows(), raceWeapon(1)->name)));
    EXPECT_EQ(planet->weapon, nullptr);
    EXPECT_EQ(planet->equip[kPlanetRaceWeapon1], 0);
    EXPECT_EQ(planet->equip[kPlanetRaceWeapon2], 1);
    EXPECT_EQ(human->gold, 100000 - raceWeapon(1)->cost - raceWeapon(2)->cost + raceWeapon(1)->cost / 2);

    // Weapons of a planet taken from another race are that race's.
    planet->owner = computer;
    EquipmentTrade theirs = EquipmentTrade::ForPlanet(planet);
    Weapon* their3 = RecordAt(computer->race->weapons, 3);
    ASSERT_TRUE(theirs.buy(RowOf(theirs.buyRows(), their3->name)));
    EXPECT_EQ(planet->weapon, their3);
}

TEST_F(EquipmentTradeTest, ShipItemsRaiseTheirValuesAndSellingKeepsWhatBuyingAdded) {
    Ship* ship = Dock(1);
    ship->holds = 2;
    ship->shieldPoints = 100;
    ship->viewPoints = 40;
    ship->actionPoints = 10;
    ship->weapon = nullptr;
    ship->weaponReady = 0;
    for (int& slot : ship->equip) slot = 0;
    human->gold = 100000;
    EquipmentTrade trade = EquipmentTrade::ForShip(ship);
    ASSERT_EQ(trade.buyRows().size(), 11u);

    ASSERT_TRUE(trade.buy(RowOf(trade.buyRows(), "Additional Hold")));
    EXPECT_EQ(ship->holds, 3);
    ASSERT_TRUE(trade.buy(RowOf(trade.buyRows(), "Protective Screen")));
    EXPECT_EQ(ship->shieldPoints, 200);
    ASSERT_TRUE(trade.buy(RowOf(trade.buyRows(), "Power Reactor")));
    EXPECT_EQ(ship->shieldPoints, 300);
    EXPECT_EQ(ship->viewPoints, 90);
    EXPECT_EQ(ship->actionPoints, 60);
    ASSERT_TRUE(trade.buy(RowOf(trade.buyRows(), "Destructive Nuclear Missile")));
    EXPECT_EQ(ship->weaponReady, 1);
    EXPECT_EQ(ship->weapon, nullptr);
    ship->weaponReady = 0;
    ASSERT_TRUE(trade.buy(RowOf(trade.buyRows(), raceWeapon(3)->name)));
    EXPECT_EQ(ship->weapon, raceWeapon(3));
    EXPECT_EQ(ship->weaponReady, 1);
    EXPECT_EQ(human->gold, 100000 - 1900 - 2000 - 3000 - 3900 - raceWeapon(3)->cost);
    EXPECT_EQ(Names(trade.sellRows()), (std::vector<std::string>{"Additional Hold", "Protective Screen",
                                                                 "Power Reactor", "Destructive Nuclear Missile",
                                                                 raceWeapon(3)->name}));

    while (!trade.sellRows().empty()) ASSERT_TRUE(trade.sell(0));
    EXPECT_EQ(ship->holds, 3);
    EXPECT_EQ(ship->shieldPoints, 300);
    EXPECT_EQ(ship->viewPoints, 90);
    EXPECT_EQ(ship->actionPoints, 60);
    EXPECT_EQ(ship->weapon, raceWeapon(3));  // a ship keeps its weapon
    for (int k = 0; k < kShipEquipSlots; ++k) EXPECT_EQ(ship->equip[k], 0) << k;
    EXPECT_EQ(human->gold, 100000 - (1900 + 2000 + 3000 + 3900 + raceWeapon(3)->cost) +
                               (950 + 1000 + 1500 + 1950 + raceWeapon(3)->cost / 2));
    EXPECT_EQ(trade.buyRows().size(), 11u);
}

TEST_F(EquipmentTradeTest, NotEnoughGoldNamesTheFirstItemApartAndChangesNothing) {
    Ship* ship = Dock(1);
    for (int& slot : ship->equip) slot = 0;
    EquipmentTrade trade = EquipmentTrade::ForShip(ship);
    human->gold = 1499;
    EXPECT_FALSE(trade.buy(RowOf(trade.buyRows(), "Accelerator")));
    EXPECT_FALSE(trade.buy(RowOf(trade.buyRows(), "Hyper Jumper")));
    EXPECT_EQ(platform.messages, (std::vector<std::string>{"Not enough gold for this equipment!",
                                                           "You havn't gold for this equipment!"}));
    EXPECT_EQ(human->gold, 1499);
    EXPECT_EQ(ship->equip[kAccelerator], 0);
    EXPECT_EQ(trade.buyRows().size(), 11u);
    EXPECT_TRUE(trade.sellRows().empty());

    // Gold equal to the price is enough.
    human->gold = 1500;
    EXPECT_TRUE(trade.buy(RowOf(trade.buyRows(), "Accelerator")));
    EXPECT_EQ(human->gold, 0);
    EXPECT_EQ(ship->equip[kAccelerator], 1);

    // The planet's first item has the first message too.
    EquipmentTrade planetTrade = EquipmentTrade::ForPlanet(planet);
    human->gold = 4999;
    EXPECT_FALSE(planetTrade.buy(RowOf(planetTrade.buyRows(), "Hyper Stabilizer")));
    EXPECT_FALSE(planetTrade.buy(RowOf(planetTrade.buyRows(), "Global Bank System")));
    EXPECT_EQ(platform.messages.at(2), "Not enough gold for this equipment!");
    EXPECT_EQ(platform.messages.at(3), "You havn't gold for this equipment!");
    EXPECT_EQ(planet->equip[kHyperStabilizer], 0);
}

TEST_F(EquipmentTradeTest, ARaceWeaponNamedLikeAFixedItemIsTakenForTheFixedItem) {
    raceWeapon(1)->name = "Accelerator";
    raceWeapon(1)->cost = 10;
    Ship* ship = Dock(1);
    for (int& slot : ship->equip) slot = 0;
    ship->equip[kAccelerator] = 1;
    ship->weapon = nullptr;
    human->gold = 1600;
    EquipmentTrade trade = EquipmentTrade::ForShip(ship);
    // The weapon's row shows the weapon's own price...
    const int row = RowOf(trade.buyRows(), "Accelerator");
    ASSERT_GE(row, 0);
    EXPECT_EQ(trade.buyRows()[row].price, 10);
    // ...but buying it finds the fixed item, its price and its slot.
    EXPECT_EQ(trade.find("Accelerator")->slot, kAccelerator);
    ASSERT_TRUE(trade.buy(row));
    EXPECT_EQ(human->gold, 100);
    EXPECT_EQ(ship->equip[kShipRaceWeapon1], 0);
    EXPECT_EQ(ship->weapon, nullptr);
    EXPECT_EQ(trade.sellRows().back().price, 750);
}

TEST_F(EquipmentTradeTest, ARowBelowTheFirstLeavesTheRowsAroundItInTheirOrder) {
    planet->equip[kHyperStabilizer] = 1;
    planet->equip[kProtectiveShield] = 1;
    planet->equip[kGlobalBankSystem] = 1;
    human->gold = 100000;
    EquipmentTrade trade = EquipmentTrade::ForPlanet(planet);
    ASSERT_TRUE(trade.sell(1));
    EXPECT_EQ(Names(trade.sellRows()), (std::vector<std::string>{"Hyper Stabilizer", "Global Bank System"}));
    EXPECT_EQ(planet->equip[kProtectiveShield], 0);
    EXPECT_EQ(planet->equip[kGlobalBankSystem], 1);
    // The sold item goes to the end of the buy list; buying the row before
    // it takes that item and leaves the others in their order.
    const std::vector<std::string> offered = Names(trade.buyRows());
    ASSERT_EQ(offered.back(), "Protective Shield");
    const int bought = static_cast<int>(offered.size()) - 2;
    ASSERT_TRUE(trade.buy(bought));
    std::vector<std::string> left = offered;
    left.erase(left.begin() + bought);
    EXPECT_EQ(Names(trade.buyRows()), left);
}

TEST_F(EquipmentTradeTest, RowsOutsideTheListsTradeNothing) {
    planet->equip[kGlobalBankSystem] = 1;
    EquipmentTrade trade = EquipmentTrade::ForPlanet(planet);
    const std::int32_t gold = human->gold;
    for (int row : {-1, 5, 6, 100}) EXPECT_FALSE(trade.buy(row)) << row;
    for (int row : {-1, 1, 2}) EXPECT_FALSE(trade.sell(row)) << row;
    EXPECT_EQ(human->gold, gold);
    EXPECT_EQ(trade.buyRows().size(), 5u);
    EXPECT_EQ(trade.sellRows().size(), 1u);
    EXPECT_TRUE(platform.messages.empty());
    EXPECT_EQ(trade.find("No Such Thing"), nullptr);
}

}  // namespace
}  // namespace qv
