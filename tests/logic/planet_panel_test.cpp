// The planet panel: what it shows (race, buildings, docks), choosing a
// docked ship, and Start Ship, Sell Ship and Unload Ship with their cues,
// messages and gold.
#include <gtest/gtest.h>

#include "economy/planet_panel.h"
#include "economy_fixture.h"
#include "model/platform.h"
#include "turn/removal.h"

namespace qv {
namespace {

using testing::EconomyTest;
using PlanetPanelTest = EconomyTest;

TEST_F(PlanetPanelTest, ShowsTheOwnersRaceTheInstalledBuildingsInSlotOrderAndTheDocksHeadFirst) {
    EXPECT_EQ(PlanetRaceName(planet), race()->name);
    EXPECT_TRUE(PlanetBuildings(planet).empty());

    planet->equip[kPlanetRaceWeapon2] = 1;
    planet->equip[kHyperStabilizer] = 1;
    planet->equip[kGlobalBankSystem] = 1;
    EXPECT_EQ(PlanetBuildings(planet),
              (std::vector<std::string>{"Hyper Stabilizer", "Global Bank System", raceWeapon(2)->name}));
    planet->equip[kProtectiveShield] = 1;
    planet->equip[kPlanetRaceWeapon1] = 1;
    planet->equip[kPlanetRaceWeapon3] = 1;
    EXPECT_EQ(PlanetBuildings(planet),
              (std::vector<std::string>{"Hyper Stabilizer", "Protective Shield", "Global Bank System",
                                        raceWeapon(1)->name, raceWeapon(2)->name, raceWeapon(3)->name}));

    planet->shieldPoints = 437;
    const PlanetFigures figures = PlanetPanelFigures(*planet);
    EXPECT_EQ(figures.raceName, race()->name);
    EXPECT_EQ(figures.shieldPoints, 437);
    EXPECT_EQ(figures.buildings,
              (std::vector<std::string>{"Hyper Stabilizer", "Protective Shield", "Global Bank System",
                                        raceWeapon(1)->name, raceWeapon(2)->name, raceWeapon(3)->name}));

    // A planet taken by another race names that race and its weapons.
    planet->owner = computer;
    EXPECT_EQ(PlanetRaceName(planet), computer->race->name);
    EXPECT_EQ(PlanetBuildings(planet).back(), RecordAt(computer->race->weapons, 3)->name);
    EXPECT_EQ(PlanetPanelFigures(*planet).raceName, computer->race->name);

    EXPECT_TRUE(DockRows(planet).empty());
    Dock(1);
    Dock(3);
    const std::vector<DockRow> rows = DockRows(planet);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].dock, "1");
    EXPECT_EQ(rows[0].ship, RecordAt(race()->shipModels, 3)->name);
    EXPECT_EQ(rows[1].dock, "2");
    EXPECT_EQ(rows[1].ship, RecordAt(race()->shipModels, 1)->name);
}

TEST_F(PlanetPanelTest, ChoosingADockTakesTheShipAtThatRowAndOpeningClearsTheChoice) {
    Ship* second = Dock(1);
    Ship* first = Dock(2);
    ChooseDock(planet, 1);
    EXPECT_EQ(g_listSelection, 1);
    EXPECT_EQ(g_dockSelection, second);
    EXPECT_EQ(ChosenDockedShip(planet), second);
    ChooseDock(planet, 0);
    EXPECT_EQ(g_dockSelection, first);
    ChooseDock(planet, 2);  // no ship at that row
    EXPECT_EQ(g_listSelection, 2);
    EXPECT_EQ(g_dockSelection, nullptr);
    ChooseDock(planet, -1);
    EXPECT_EQ(g_dockSelection, nullptr);

    ChooseDock(planet, 0);
    g_listSelection = 5;
    OpenPlanetPanel();
    EXPECT_EQ(g_dockSelection, nullptr);
    EXPECT_EQ(g_listSelection, 0);

    // A ship docked somewhere else is never the planet's chosen ship.
    auto* other = new Planet;
    InsertAtHead(world->planets, other);
    Ship* elsewhere = MakeShip(human, 1, 0, 0, 0);
    InsertAtHead(other->docks, elsewhere);
    g_dockSelection = elsewhere;
    EXPECT_EQ(ChosenDockedShip(planet), nullptr);
    EXPECT_FALSE(SellShip(planet));
    EXPECT_EQ(other->docks, elsewhere);
}

TEST_F(PlanetPanelTest, StepsAreFramedByTheirCuesAndEquipShipNeedsAChosenShip) {
    std::vector<std::string> seen;
    RunPlanetStep([&] { seen = platform.cues; });
    EXPECT_EQ(seen, std::vector<std::string>{"Feedbk04.wav"});
    EXPECT_EQ(platform.cues, (std::vector<std::string>{"Feedbk04.wav", "Feedbk03.wav"}));

    platform.cues.clear();
    bool ran = false;
    Dock(1);
    EXPECT_FALSE(RunDockedShipStep(planet, [&] { ran = true; }));
    EXPECT_FALSE(ran);
    EXPECT_TRUE(platform.cues.empty());
    ChooseDock(planet, 0);
    EXPECT_TRUE(RunDockedShipStep(planet, [&] { ran = true; }));
    EXPECT_TRUE(ran);
    EXPECT_EQ(platform.cues, (std::vector<std::string>{"Feedbk04.wav", "Feedbk03.wav"}));
}

TEST_F(PlanetPanelTest, StartShipLaunchesTheChosenShipOnTheCircleWithEverythingButItsActionPoints) {
    Ship* behind = Dock(1);
    Ship* docked = Dock(2, 1);
    docked->equip[kHyperModule] = 1;
    docked->equip[kPowerReactor] = 1;
    docked->equip[kAccelerator] = 0;
    docked->shieldPoints = 77;
    docked->viewPoints = 333;
    docked->holds = 4;
    docked->holdFull = 1;
    docked->reserved = 9;
    docked->weaponReady = 1;
    docked->actionPoints = 5;
    for (auto& p : docked->pixels) p = Pixel{};
    for (int i = 0; i < kPixelListSize; ++i)
        docked->model->pixels[i] = Pixel{i % 30, i / 30, static_cast<Colour>(0x300 + i)};
    const int ships = human->shipCount;
    const std::int32_t gold = human->gold;
    ChooseDock(planet, 0);
    platform.fixedNow = 123456;

    Ship* launched = StartShip(planet);
    ASSERT_NE(launched, nullptr);
    EXPECT_EQ(world->ships, launched);
    EXPECT_EQ(planet->docks, behind);
    EXPECT_EQ(behind->prev, nullptr);
    EXPECT_EQ(g_dockSelection, nullptr);
    EXPECT_EQ(launched->owner, human);
    EXPECT_EQ(launched->model, RecordAt(race()->shipModels, 2));
    EXPECT_EQ(launched->weapon, raceWeapon(1));
    EXPECT_EQ(launched->weaponReady, 1);
    EXPECT_EQ(launched->equip[kHyperModule], 1);
    EXPECT_EQ(launched->equip[kPowerReactor], 1);
    EXPECT_EQ(launched->equip[kAccelerator], 0);
    EXPECT_EQ(launched->shieldPoints, 77);
    EXPECT_EQ(launched->viewPoints, 333);
    EXPECT_EQ(launched->holds, 4);
    EXPECT_EQ(launched->holdFull, 1);
    EXPECT_EQ(launched->reserved, 9);
    EXPECT_EQ(launched->actionPoints, 0);
    for (int i = 0; i < kPixelListSize; ++i) {
        EXPECT_EQ(launched->pixels[i].colour, launched->model->pixels[i].colour) << i;
        EXPECT_EQ(launched->pixels[i].x, launched->model->pixels[i].x) << i;
    }
    // Launching neither pays nor counts.
    EXPECT_EQ(human->shipCount, ships);
    EXPECT_EQ(human->gold, gold);

    // The place comes from the generator reseeded with the clock: a sign
    // draw, then k below 100, on the circle of radius 50.
    Random r(123456);
    const int sign = r.next() % 2 == 0 ? -1 : 1;
    const int k = r.next() % 100;
    EXPECT_EQ(launched->x, planet->x + sign * static_cast<int>(std::sqrt(2500.0 - (k - 50) * (k - 50))));
    EXPECT_EQ(launched->y, planet->y - 50 + k);
    EXPECT_EQ(GameRandom().state(), r.state());
    EXPECT_EQ(platform.cues, std::vector<std::string>{"Landing.wav"});
}

TEST_F(PlanetPanelTest, StartShipDoesNothingWithoutAChosenShipOrWithoutActionPointsButReseedsAlways) {
    Ship* docked = Dock(1);
    docked->actionPoints = 0;
    platform.fixedNow = 4242;
    GameRandom().seed(7);
    EXPECT_EQ(StartShip(planet), nullptr);  // nothing chosen
    EXPECT_EQ(GameRandom().state(), 4242u);

    ChooseDock(planet, 0);
    platform.fixedNow = 999;
    EXPECT_EQ(StartShip(planet), nullptr);  // no action points left
    EXPECT_EQ(GameRandom().state(), 999u);
    EXPECT_EQ(planet->docks, docked);
    EXPECT_EQ(g_dockSelection, docked);
    EXPECT_EQ(world->ships, nullptr);
    EXPECT_TRUE(platform.cues.empty());
}

TEST_F(PlanetPanelTest, SellShipPaysHalfTheModelsCostAndFreesTheShip) {
    Ship* keep = Dock(1);
    Ship* sold = Dock(2);
    sold->model->cost = 1001;
    human->gold = 10;
    const int ships = human->shipCount;
    EXPECT_FALSE(SellShip(planet));  // nothing chosen
    EXPECT_EQ(human->gold, 10);
    EXPECT_TRUE(platform.cues.empty());

    ChooseDock(planet, 0);
    EXPECT_TRUE(SellShip(planet));
    EXPECT_EQ(human->gold, 510);
    EXPECT_EQ(human->shipCount, ships - 1);
    EXPECT_EQ(planet->docks, keep);
    EXPECT_EQ(keep->prev, nullptr);
    EXPECT_EQ(g_dockSelection, nullptr);
    EXPECT_EQ(platform.cues, std::vector<std::string>{"Feedbk03.wav"});
    EXPECT_FALSE(SellShip(planet));  // the choice went with the ship
    EXPECT_EQ(human->gold, 510);
}

TEST_F(PlanetPanelTest, UnloadShipSellsFullHoldsAndNamesAMissingOrEmptyHold) {
    Ship* ship = Dock(1);
    EXPECT_FALSE(UnloadShip(planet));  // nothing chosen
    EXPECT_TRUE(platform.messages.empty());

    ChooseDock(planet, 0);
    ship->holds = 0;
    ship->holdFull = 1;
    human->gold = 0;
    EXPECT_FALSE(UnloadShip(planet));
    EXPECT_EQ(platform.messages, std::vector<std::string>{"This ship haven't hold!"});

    ship->holds = 3;
    ship->holdFull = 0;
    EXPECT_FALSE(UnloadShip(planet));
    EXPECT_EQ(platform.messages.back(), "This ship have empty hold!");
    EXPECT_EQ(human->gold, 0);

    for (std::uint32_t seed : {1u, 2u, 77u, 31337u}) {
        ship->holdFull = 1;
        human->gold = 1000;
        SeedRand(seed);
        Random r(seed);
        const int expected = 1000 + 300 + r.next() % 50;
        EXPECT_TRUE(UnloadShip(planet));
        EXPECT_EQ(human->gold, expected) << seed;
        EXPECT_GE(human->gold - 1000, 300);
        EXPECT_LE(human->gold - 1000, 349);
        EXPECT_EQ(ship->holdFull, 0);
    }
    EXPECT_EQ(platform.messages.size(), 2u);
}

}  // namespace
}  // namespace qv
