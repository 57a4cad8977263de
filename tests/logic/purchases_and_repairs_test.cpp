// What the human pays and is paid at a planet: equipment bought and sold,
// ships bought, sold and unloaded, repairs; the refusals and their messages.
#include "economy/equipment_trade.h"
#include "economy/planet_panel.h"
#include "economy/repairs.h"
#include "economy/shipyard.h"
#include "player_orders_fixture.h"

namespace qv {
namespace {

using PurchaseTest = testing::HomePlanetTest;

std::vector<std::string> Listed(const std::vector<EquipRow>& rows) {
    std::vector<std::string> out;
    for (const EquipRow& r : rows) out.push_back(r.name + " " + std::to_string(r.price));
    return out;
}

TEST_F(PurchaseTest, WhatIsMissingIsOfferedAtItsPriceAndWhatIsInstalledBoughtBackForHalf) {
    const std::vector<std::string> planetBuy = {"Hyper Stabilizer 5000",   "Protective Shield 3100",
                                                "Global Bank System 6900", "Green gun 1 301",
                                                "Green gun 2 601",         "Green gun 3 901"};
    const std::vector<std::string> planetSell = {"Hyper Stabilizer 2500",   "Protective Shield 1550",
                                                 "Global Bank System 3450", "Green gun 1 150",
                                                 "Green gun 2 300",         "Green gun 3 450"};
    const std::vector<std::string> shipBuy = {
        "Accelerator 1500",  "Space Scanner 1100",     "Additional Hold 1900", "Hyper Module 1000",
        "Hyper Jumper 1500", "Protective Screen 2000", "Power Reactor 3000",   "Destructive Nuclear Missile 3900",
        "Green gun 1 301",   "Green gun 2 601",        "Green gun 3 901"};
    const std::vector<std::string> shipSell = {
        "Accelerator 750",  "Space Scanner 550",      "Additional Hold 950", "Hyper Module 500",
        "Hyper Jumper 750", "Protective Screen 1000", "Power Reactor 1500",  "Destructive Nuclear Missile 1950",
        "Green gun 1 150",  "Green gun 2 300",        "Green gun 3 450"};
    Planet* full = PlanetAt(human, 900, 900);
    Ship* bare = Dock(planet, human, scout);
    Ship* equipped = Dock(planet, human, scout);
    for (int& e : full->equip) e = 1;
    for (int& e : equipped->equip) e = 1;
    EXPECT_EQ(Listed(EquipmentTrade::ForPlanet(planet).buyRows()), planetBuy);
    EXPECT_TRUE(EquipmentTrade::ForPlanet(planet).sellRows().empty());
    EXPECT_EQ(Listed(EquipmentTrade::ForPlanet(full).sellRows()), planetSell);
    EXPECT_TRUE(EquipmentTrade::ForPlanet(full).buyRows().empty());
    EXPECT_EQ(Listed(EquipmentTrade::ForShip(bare).buyRows()), shipBuy);
    EXPECT_EQ(Listed(EquipmentTrade::ForShip(equipped).sellRows()), shipSell);
    EXPECT_TRUE(EquipmentTrade::ForShip(equipped).buyRows().empty());
}

TEST_F(PurchaseTest, APlanetsShieldAndWeaponsComeWithTheirItemsAndSellingKeepsTheShieldOnly) {
    planet->shieldPoints = 420;
    EquipmentTrade trade = EquipmentTrade::ForPlanet(planet);
    ASSERT_TRUE(trade.buy(1));  // the Protective Shield
    EXPECT_EQ(planet->shieldPoints, 720);
    EXPECT_EQ(human->gold, 16900);
    ASSERT_TRUE(trade.buy(2));  // Green gun 1
    EXPECT_EQ(planet->weapon, RaceWeapon(1));
    EXPECT_EQ(planet->weaponReady, 1);
    planet->weaponReady = 0;
    ASSERT_TRUE(trade.buy(3));  // Green gun 3: the last bought is the one fired
    EXPECT_EQ(planet->weapon, RaceWeapon(3));
    EXPECT_EQ(planet->weaponReady, 1);
    EXPECT_EQ(Listed(trade.buyRows()),
              (std::vector<std::string>{"Hyper Stabilizer 5000", "Global Bank System 6900", "Green gun 2 601"}));
    ASSERT_TRUE(trade.sell(1));  // Green gun 1: the planet is disarmed
    EXPECT_EQ(planet->weapon, nullptr);
    EXPECT_EQ(planet->equip[kPlanetRaceWeapon1 + 2], 1);
    ASSERT_TRUE(trade.sell(0));
    EXPECT_EQ(planet->shieldPoints, 720);
    EXPECT_EQ(planet->equip[kProtectiveShield], 0);
    EXPECT_EQ(human->gold, 20000 - 3100 - 301 - 901 + 150 + 1550);
    EXPECT_EQ(Listed(trade.sellRows()), std::vector<std::string>{"Green gun 3 450"});
    EXPECT_EQ(Listed(trade.buyRows()).back(), "Protective Shield 3100");
    // A planet taken from another race trades that race's weapons.
    planet->owner = computer;
    EquipmentTrade theirs = EquipmentTrade::ForPlanet(planet);
    ASSERT_TRUE(theirs.buy(static_cast<int>(theirs.buyRows().size()) - 1));
    EXPECT_EQ(planet->weapon, RecordAt(red->weapons, 2));
}

TEST_F(PurchaseTest, AShipsItemsRaiseItsFiguresForGoodAndItKeepsItsWeapon) {
    Ship* ship = Dock(planet, human, scout);  // 2 holds, 150 shield, 40 view, 60 points
    EquipmentTrade trade = EquipmentTrade::ForShip(ship);
    for (int row : {2, 4, 4, 4}) ASSERT_TRUE(trade.buy(row));  // hold, screen, reactor, missile
    EXPECT_EQ(ship->weaponReady, 1);
    ship->weaponReady = 0;
    ASSERT_TRUE(trade.buy(6));  // Green gun 3
    EXPECT_EQ(ship->weapon, RaceWeapon(3));
    EXPECT_EQ(ship->weaponReady, 1);
    EXPECT_EQ(Listed(trade.buyRows()),
              (std::vector<std::string>{"Accelerator 1500", "Space Scanner 1100", "Hyper Module 1000",
                                        "Hyper Jumper 1500", "Green gun 1 301", "Green gun 2 601"}));
    EXPECT_EQ(human->gold, 20000 - 1900 - 2000 - 3000 - 3900 - 901);
    ASSERT_TRUE(trade.sell(1));
    EXPECT_EQ(Listed(trade.sellRows()),
              (std::vector<std::string>{"Additional Hold 950", "Power Reactor 1500", "Destructive Nuclear Missile 1950",
                                        "Green gun 3 450"}));
    while (!trade.sellRows().empty()) ASSERT_TRUE(trade.sell(0));
    EXPECT_EQ(human->gold, 8299 + 950 + 1000 + 1500 + 1950 + 450);
    EXPECT_EQ((std::vector<int>{ship->holds, ship->shieldPoints, ship->viewPoints, ship->actionPoints}),
              (std::vector<int>{3, 350, 90, 110}));
    EXPECT_EQ(ship->weapon, RaceWeapon(3));
    for (int e : ship->equip) EXPECT_EQ(e, 0);
}

TEST_F(PurchaseTest, GoldShortOfThePriceBuysNothingAndTheFirstItemHasItsOwnMessage) {
    struct Case {
        bool ship;
        int row, gold;
        const char* message;  // null: bought
    } cases[] = {
        {true, 0, 1499, "Not enough gold for this equipment!"},
        {true, 0, 1500, nullptr},
        {true, 4, 1499, "You havn't gold for this equipment!"},
        {true, 8, 300, "You havn't gold for this equipment!"},
        {true, 8, 301, nullptr},
        {false, 0, 4999, "Not enough gold for this equipment!"},
        {false, 0, 5000, nullptr},
        {false, 2, 6899, "You havn't gold for this equipment!"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.ship << " row " << c.row << " gold " << c.gold);
        platform.messages.clear();
        FreeList(planet->docks);
        for (int& e : planet->equip) e = 0;
        EquipmentTrade trade =
            c.ship ? EquipmentTrade::ForShip(Dock(planet, human, scout)) : EquipmentTrade::ForPlanet(planet);
        const std::size_t offered = trade.buyRows().size();
        human->gold = c.gold;
        EXPECT_EQ(trade.buy(c.row), c.message == nullptr);
        EXPECT_EQ(human->gold, c.message ? c.gold : 0);
        EXPECT_EQ(trade.buyRows().size(), offered - (c.message ? 0 : 1));
        EXPECT_EQ(platform.messages, c.message ? std::vector<std::string>{c.message} : std::vector<std::string>{});
    }
    // Rows outside the lists trade nothing.
    EquipmentTrade trade = EquipmentTrade::ForPlanet(planet);
    human->gold = 100000;
    EXPECT_FALSE(trade.buy(-1));
    EXPECT_FALSE(trade.buy(6));
    EXPECT_FALSE(trade.sell(-1));
    EXPECT_FALSE(trade.sell(0));
    EXPECT_EQ(human->gold, 100000);
    // A race weapon named like a fixed item is bought as the fixed item.
    RaceWeapon(1)->name = "Accelerator";
    EquipmentTrade clash = EquipmentTrade::ForShip(Dock(planet, human, scout));
    ASSERT_TRUE(clash.buy(8));
    EXPECT_EQ(human->gold, 100000 - 1500);
}

TEST_F(PurchaseTest, TheShipyardSellsTheHumansModelsForTheirCostIntoTheDocks) {
    EXPECT_EQ(ShipyardModels(), (std::vector<const ShipModel*>{scout, hauler}));
    EXPECT_EQ(ShipyardModelAt(1), hauler);
    EXPECT_EQ(ShipyardModelAt(2), nullptr);
    EXPECT_EQ(ShipyardModelAt(-1), nullptr);
    Ship* older = Dock(planet, human, scout);
    const int ships = human->shipCount;
    human->gold = 1700;  // exactly the hauler's cost
    Ship* bought = BuyShip(planet, 1);
    ASSERT_NE(bought, nullptr);
    EXPECT_EQ(human->gold, 0);
    EXPECT_EQ(human->shipCount, ships + 1);
    EXPECT_EQ(planet->docks, bought);
    EXPECT_EQ(bought->next, older);
    EXPECT_EQ(bought->model, hauler);
    EXPECT_EQ((std::vector<int>{bought->actionPoints, bought->shieldPoints, bought->viewPoints, bought->holds}),
              (std::vector<int>{30, 250, 20, 5}));
    EXPECT_EQ(bought->weapon, nullptr);
    for (int e : bought->equip) EXPECT_EQ(e, 0);
    EXPECT_EQ(BuyShip(planet, 0), nullptr);
    EXPECT_EQ(BuyShip(planet, 2), nullptr);
    EXPECT_EQ(platform.messages, std::vector<std::string>{"You have not gold for this ship!"});
    EXPECT_EQ(platform.cues, std::vector<std::string>{"BldShip.wav"});
    EXPECT_EQ(CountOf(planet->docks), 2);
}

TEST_F(PurchaseTest, ASoldShipFetchesHalfItsModelsCostAndAFullHoldAHundredAHoldPlusUpTo49) {
    hauler->cost = 1701;
    Ship* kept = Dock(planet, human, scout);
    Ship* sold = Dock(planet, human, hauler);
    human->gold = 10;
    EXPECT_FALSE(SellShip(planet));  // nothing chosen
    ChooseDock(planet, 1);
    ASSERT_EQ(g_dockSelection, sold);
    const int ships = human->shipCount;
    EXPECT_TRUE(SellShip(planet));
    EXPECT_EQ(human->gold, 860);
    EXPECT_EQ(human->shipCount, ships - 1);
    EXPECT_EQ(planet->docks, kept);
    EXPECT_EQ(kept->next, nullptr);
    EXPECT_EQ(g_dockSelection, nullptr);
    EXPECT_EQ(platform.cues, std::vector<std::string>{"Feedbk03.wav"});

    EXPECT_FALSE(UnloadShip(planet));  // nothing chosen
    ChooseDock(planet, 0);
    kept->holds = 0;
    kept->holdFull = 1;
    EXPECT_FALSE(UnloadShip(planet));
    kept->holds = 3;
    kept->holdFull = 0;
    EXPECT_FALSE(UnloadShip(planet));
    EXPECT_EQ(platform.messages, (std::vector<std::string>{"This ship haven't hold!", "This ship have empty hold!"}));
    EXPECT_EQ(human->gold, 860);
    for (std::uint32_t seed : {1u, 2u, 77u, 31337u}) {
        kept->holdFull = 1;
        human->gold = 0;
        SeedRand(seed);
        EXPECT_TRUE(UnloadShip(planet));
        EXPECT_GE(human->gold, 300) << seed;
        EXPECT_LE(human->gold, 349) << seed;
        EXPECT_EQ(kept->holdFull, 0);
    }
}

TEST_F(PurchaseTest, RepairsCostFiveAPointForAPlanetAndTwoForAShipToTheirFullShield) {
    // Full: a planet 500, 800 with the Protective Shield; a ship its model's
    // defence (150 for the scout), 100 more with the Protective Screen.
    struct Case {
        bool ship, extra;
        int shield, gold;
        bool agree;
        RepairOutcome outcome;
        int asked, shieldAfter;
        const char* message;
    } cases[] = {
        {false, false, 420, 1000, true, RepairOutcome::Repaired, 400, 500, nullptr},
        {false, true, 500, 1500, true, RepairOutcome::Repaired, 1500, 800, nullptr},
        {false, true, 500, 1499, true, RepairOutcome::NotEnoughGold, 0, 500, "You do not have so much gold!"},
        {false, false, 100, 5000, false, RepairOutcome::Refused, 2000, 100, nullptr},
        {false, false, 500, 9000, true, RepairOutcome::NotDamaged, 0, 500, "Protection does not have damages!"},
        {false, false, 720, 9000, true, RepairOutcome::NotDamaged, 0, 720, "Protection does not have damages!"},
        {false, true, 800, 9000, true, RepairOutcome::NotDamaged, 0, 800, "Shield does not have damages!"},
        {true, false, 90, 1000, true, RepairOutcome::Repaired, 120, 150, nullptr},
        {true, true, 90, 320, true, RepairOutcome::Repaired, 320, 250, nullptr},
        {true, false, 90, 119, true, RepairOutcome::NotEnoughGold, 0, 90, "You do not have so much gold!"},
        {true, false, 90, 120, false, RepairOutcome::Refused, 120, 90, nullptr},
        {true, false, 150, 9000, true, RepairOutcome::NotDamaged, 0, 150, "Shielding is not damaged!"},
        {true, false, 250, 9000, true, RepairOutcome::NotDamaged, 0, 250, "Shielding is not damaged!"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << (c.ship ? "ship " : "planet ") << c.extra << " " << c.shield);
        platform.cues.clear();
        platform.messages.clear();
        FreeList(planet->docks);
        Ship* ship = Dock(planet, human, scout);
        ChooseDock(planet, 0);
        planet->equip[kProtectiveShield] = c.ship ? 0 : c.extra;
        ship->equip[kProtectiveScreen] = c.ship ? c.extra : 0;
        std::int32_t& shield = c.ship ? ship->shieldPoints : planet->shieldPoints;
        shield = c.shield;
        human->gold = c.gold;
        std::vector<int> asked;
        const ConfirmPayment confirm = [&](std::int32_t amount) {
            asked.push_back(amount);
            EXPECT_EQ(g_payAmount, amount);
            return c.agree;
        };
        EXPECT_EQ(c.ship ? RepairDockedShip(planet, confirm) : RepairPlanetShield(planet, confirm), c.outcome);
        EXPECT_EQ(asked, c.asked ? std::vector<int>{c.asked} : std::vector<int>{});
        EXPECT_EQ(shield, c.shieldAfter);
        EXPECT_EQ(human->gold, c.gold - (c.outcome == RepairOutcome::Repaired ? c.asked : 0));
        EXPECT_EQ(platform.messages, c.message ? std::vector<std::string>{c.message} : std::vector<std::string>{});
        std::vector<std::string> cues{"Feedbk04.wav"};
        if (c.outcome == RepairOutcome::Refused) cues.push_back("Feedbk03.wav");
        EXPECT_EQ(platform.cues, cues);
    }
    // No chosen ship: nothing at all; a ship without a model has no full shield.
    platform.cues.clear();
    g_dockSelection = nullptr;
    EXPECT_EQ(RepairDockedShip(planet, nullptr), RepairOutcome::NothingChosen);
    EXPECT_TRUE(platform.cues.empty());
    ChooseDock(planet, 0);
    planet->docks->model = nullptr;
    planet->docks->shieldPoints = 0;
    EXPECT_EQ(RepairDockedShip(planet, nullptr), RepairOutcome::NotDamaged);
}

}  // namespace
}  // namespace qv
