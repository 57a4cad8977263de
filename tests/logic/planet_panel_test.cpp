// The planet panel: the owner's race, the buildings, the docks, choosing a
// docked ship, the cues framing each step, and Start Ship.
#include "economy/planet_panel.h"
#include "player_orders_fixture.h"

namespace qv {
namespace {

using PlanetPanelTest = testing::HomePlanetTest;

TEST_F(PlanetPanelTest, ShowsTheOwnersRaceTheBuildingsInSlotOrderAndTheDocksHeadFirst) {
    planet->shieldPoints = 437;
    EXPECT_EQ(PlanetPanelFigures(*planet), (PlanetFigures{"Green", 437, {}}));
    for (int slot : {5, 2, 1, 0, 3}) planet->equip[slot] = 1;
    planet->equip[4] = 2;  // only 1 is installed
    const std::vector<std::string> buildings = {"Hyper Stabilizer", "Protective Shield", "Global Bank System",
                                                "Green gun 1", "Green gun 3"};
    EXPECT_EQ(PlanetPanelFigures(*planet), (PlanetFigures{"Green", 437, buildings}));
    planet->owner = computer;  // taken by another race: its name and weapons
    EXPECT_EQ(PlanetRaceName(planet), "Red");
    EXPECT_EQ(PlanetBuildings(planet).back(), "Red gun 3");
    Dock(planet, human, scout);
    Dock(planet, human, hauler);
    EXPECT_EQ(DockRows(planet), (std::vector<DockRow>{{"1", "Scout"}, {"2", "Hauler"}}));
}

TEST_F(PlanetPanelTest, ChoosingADockTakesTheShipAtThatRowOfThisPlanetAndAStepNeedsOne) {
    Ship* first = Dock(planet, human, scout);
    Ship* second = Dock(planet, human, scout);
    const std::pair<int, Ship*> rows[] = {{1, second}, {0, first}, {2, nullptr}, {-1, nullptr}};
    for (const auto& [row, ship] : rows) {
        ChooseDock(planet, row);
        EXPECT_EQ(g_listSelection, row);
        EXPECT_EQ(ChosenDockedShip(planet), ship) << row;
    }
    ChooseDock(planet, 1);
    g_listSelection = 3;
    OpenPlanetPanel();
    EXPECT_EQ(g_dockSelection, nullptr);
    EXPECT_EQ(g_listSelection, 0);
    g_dockSelection = Dock(PlanetAt(human, 900, 900), human, scout);  // docked elsewhere
    EXPECT_EQ(ChosenDockedShip(planet), nullptr);
    // A step opens and closes with its cues; a ship's step needs a chosen ship.
    std::vector<std::string> heard = {"not run"};
    EXPECT_FALSE(RunDockedShipStep(planet, [&] { heard = platform.cues; }));
    EXPECT_EQ(heard.front(), "not run");
    EXPECT_TRUE(platform.cues.empty());
    ChooseDock(planet, 0);
    EXPECT_TRUE(RunDockedShipStep(planet, [&] { heard = platform.cues; }));
    EXPECT_EQ(heard, std::vector<std::string>{"Feedbk04.wav"});
    EXPECT_EQ(platform.cues, (std::vector<std::string>{"Feedbk04.wav", "Feedbk03.wav"}));
}

TEST_F(PlanetPanelTest, StartShipLaunchesTheChosenShipWithItsEquipmentAndNoActionPoints) {
    Ship* docked = Dock(planet, human, hauler);
    Ship* behind = Dock(planet, human, scout);
    docked->weapon = RaceWeapon(1);
    docked->weaponReady = docked->equip[kHyperModule] = 1;
    docked->shieldPoints = 77;
    const int ships = human->shipCount;
    platform.fixedNow = 999;
    EXPECT_EQ(StartShip(planet), nullptr);  // nothing chosen; the clock reseeds all the same
    EXPECT_EQ(GameRandom().state(), 999u);
    ChooseDock(planet, 0);
    docked->actionPoints = 0;
    EXPECT_EQ(StartShip(planet), nullptr);
    EXPECT_EQ(planet->docks, docked);
    EXPECT_TRUE(platform.cues.empty());
    docked->actionPoints = 5;
    Ship* launched = StartShip(planet);
    ASSERT_NE(launched, nullptr);
    EXPECT_EQ(world->ships, launched);
    EXPECT_EQ(planet->docks, behind);
    EXPECT_EQ(g_dockSelection, nullptr);
    EXPECT_TRUE(OnLaunchCircle(launched, 700, 400)) << launched->x << "," << launched->y;
    EXPECT_EQ(launched->model, hauler);
    EXPECT_EQ(launched->weapon, RaceWeapon(1));
    EXPECT_EQ((std::vector<int>{launched->weaponReady, launched->equip[kHyperModule], launched->shieldPoints,
                                launched->actionPoints, human->shipCount - ships, human->gold}),
              (std::vector<int>{1, 1, 77, 0, 0, 20000}));
    EXPECT_EQ(platform.cues, std::vector<std::string>{"Landing.wav"});
}

}  // namespace
}  // namespace qv
