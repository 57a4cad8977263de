// The planet, ship and asteroid panels: figures, buildings, equipment and docks shown, choosing a docked or landed
// ship, the cues framing a step, launching a ship back into space, arming devices and loading ore.
#include "economy/planet_panel.h"
#include "orders/asteroid_panel.h"
#include "orders/ship_panel.h"
#include "player_orders_fixture.h"

namespace qv {
namespace {

using PanelTest = testing::PlayerOrdersTest;

TEST_F(PanelTest, APlanetShowsItsRaceBuildingsAndDocksAndStartShipLaunchesTheChosenDockedShip) {
    planet->shieldPoints = 437;
    for (int slot : {5, 2, 1, 0, 3}) planet->equip[slot] = 1;
    planet->equip[4] = 2;  // only 1 is installed
    const PlanetFigures figures = PlanetPanelFigures(*planet);
    EXPECT_EQ(figures.raceName + " " + std::to_string(figures.shieldPoints), "Green 437");
    EXPECT_EQ(Join(figures.buildings), "Hyper Stabilizer|Protective Shield|Global Bank System|Green gun 1|Green gun 3");
    planet->owner = computer;  // taken by another race: its name and weapons
    EXPECT_EQ(PlanetRaceName(planet) + " " + PlanetBuildings(planet).back(), "Red Red gun 3");
    Dock(planet, human, scout);
    Ship* second = Dock(planet, human, hauler);
    EXPECT_EQ(DockRows(planet), (std::vector<DockRow>{{"1", "Scout"}, {"2", "Hauler"}}));
    ChooseDock(planet, 1);
    EXPECT_EQ(std::make_pair(ChosenDockedShip(planet), g_listSelection), std::make_pair(second, 1));
    OpenPlanetPanel();
    EXPECT_EQ(std::make_pair(g_dockSelection, g_listSelection), std::make_pair((Ship*)nullptr, 0));
    g_dockSelection = Dock(PlanetAt(human, 900, 900), human, scout);  // docked elsewhere
    EXPECT_EQ(ChosenDockedShip(planet), nullptr);
    std::string heard = "not run";  // a step opens and closes with its cues
    EXPECT_FALSE(RunDockedShipStep(planet, [&] { heard = Join(platform.cues); }));
    EXPECT_EQ(heard + Join(platform.cues), "not run");
    ChooseDock(planet, 0);
    EXPECT_TRUE(RunDockedShipStep(planet, [&] { heard = Join(platform.cues); }));
    EXPECT_EQ(heard + " " + Join(platform.cues), "Feedbk04.wav Feedbk04.wav|Feedbk03.wav");
    ClearWorld();
    Ship* docked = Dock(planet, human, hauler);
    Ship* behind = Dock(planet, human, scout);
    docked->weaponReady = docked->equip[kHyperModule] = 1;
    const int ships = human->shipCount;
    platform.fixedNow = 999;
    EXPECT_EQ(StartShip(planet), nullptr);  // nothing chosen; the clock reseeds all the same
    EXPECT_EQ(GameRandom().state(), 999u);
    ChooseDock(planet, 0);
    docked->actionPoints = 0;
    EXPECT_EQ(StartShip(planet), nullptr);
    docked->actionPoints = 5;
    Ship* launched = StartShip(planet);
    ASSERT_TRUE(launched && world->ships == launched && launched->model == hauler);
    EXPECT_TRUE(planet->docks == behind && !g_dockSelection);
    EXPECT_TRUE(OnLaunchCircle(launched, 700, 400)) << launched->x << "," << launched->y;
    EXPECT_EQ((std::vector<int>{launched->weaponReady, launched->equip[kHyperModule], launched->actionPoints,
                                human->shipCount - ships, human->gold}),
              (std::vector<int>{1, 1, 0, 0, 20000}));
    EXPECT_EQ(Join(platform.cues), "Landing.wav");
}

TEST_F(PanelTest, AShipShowsItsFiguresAndArmsADeviceAndAnAsteroidLaunchesItsShipsAndLoadsOre) {
    Ship* s = g_selShip = ShipAt(human, 100, 100, 117, -4);
    s->viewPoints = 250;
    s->holdFull = 1;
    for (int& slot : s->equip) slot = 1;
    s->equip[kAccelerator] = 2;  // only 1 is installed
    const ShipFigures f = SelectedShipFigures().value();
    EXPECT_EQ((std::vector<int>{f.actionPoints, f.shieldPoints, f.viewPoints, f.holds}),
              (std::vector<int>{117, -4, 250, 2}));
    EXPECT_EQ(f.modelName + " " + f.holdState, "Scout (full)");
    EXPECT_EQ(Join(f.equipment),
              "Space Scanner|Additional Hold|Hyper Modul|Hyper Jumper|Protective Screen|Power reactor|"
              "Destructive Nuclear Missile|Green gun 1|Green gun 2|Green gun 3");
    s->weapon = RaceWeapon(2);  // a weapon names every weapon slot; a hold state but 1 is empty
    s->equip[kAccelerator] = 1;
    s->holdFull = 2;
    const ShipFigures figures = ShipPanelFigures(*s);
    EXPECT_EQ(figures.holdState + " " + Join(figures.equipment),
              "(empty) Accelerator|Space Scanner|Additional Hold|Hyper Modul|Hyper Jumper|Protective Screen|"
              "Power reactor|Destructive Nuclear Missile|Green gun 2|Green gun 2|Green gun 2");
    EXPECT_EQ(ShipEquipmentLine(*s, kShipEquipSlots) + ShipEquipmentLine(*s, -1), "");
    // Each device arms its own mode only and spends nothing.
    g_selShip = nullptr;
    EXPECT_FALSE(ArmHyperJump() || ArmMissile() || SelectedShipFigures());
    s = g_selShip = ShipAt(human, 0, 0);
    EXPECT_FALSE(ArmHyperJump() || ArmMissile());
    s->equip[kHyperJumper] = 1;
    EXPECT_TRUE(!ArmMissile() && ArmHyperJump());
    EXPECT_EQ(g_jumpMode - g_rocketMode, 1);
    std::swap(s->equip[kHyperJumper], s->equip[kNuclearMissile]);
    g_jumpMode = 0;
    EXPECT_TRUE(!ArmHyperJump() && ArmMissile());
    EXPECT_EQ(g_rocketMode - g_jumpMode + s->equip[kNuclearMissile], 2);
    // An asteroid launches the chosen own ship with points and loads ore into an empty hold, or tells why not.
    Asteroid* asteroid = g_selAsteroid = AsteroidAt(1500, 1300);
    Ship* theirs = Land(asteroid, computer, scout);
    Ship* spent = Land(asteroid, human, scout);
    Ship* ready = Land(asteroid, human, hauler);
    spent->actionPoints = 0;
    ready->weapon = RaceWeapon(3);
    ready->equip[kPowerReactor] = ready->weaponReady = ready->holdFull = 1;
    asteroid->resources = -7;
    EXPECT_EQ(SelectedAsteroidDockRows(), (std::vector<DockRow>{{"1", "Scout"}, {"2", "Scout"}, {"3", "Hauler"}}));
    EXPECT_EQ(SelectedAsteroidResources(), -7);
    for (int row : {0, 1, 3, -1}) {  // someone else's, without points, and no ship
        g_listSelection = row;
        EXPECT_FALSE(StartShipFromAsteroid()) << row;
    }
    g_listSelection = 2;
    ASSERT_TRUE(StartShipFromAsteroid());
    const Ship* up = world->ships;
    EXPECT_TRUE(OnLaunchCircle(up, 1500, 1300)) << up->x << "," << up->y;
    EXPECT_TRUE(up->model == hauler && up->weapon == RaceWeapon(3));
    EXPECT_EQ((std::vector<int>{up->actionPoints, up->equip[kPowerReactor], up->weaponReady, up->holdFull}),
              (std::vector<int>{0, 1, 1, 1}));
    EXPECT_TRUE(asteroid->ships == theirs && theirs->next == spent && !spent->next);
    EXPECT_TRUE(g_selAsteroid == asteroid && g_listSelection == 2);
    EXPECT_EQ(Join(platform.cues), "Landing.wav");
    g_selAsteroid = nullptr;
    EXPECT_FALSE(StartShipFromAsteroid() || LoadHold() != LoadHoldResult::Nothing || SelectedAsteroidResources() ||
                 ChosenLandedShip() || !SelectedAsteroidDockRows().empty());
    g_selAsteroid = asteroid;
    using R = LoadHoldResult;
    const char* noHolds = "This ship hasn't holds!";
    const char* fullHolds = "This ship has full holds!";
    // Own?, row, holds, hold full, ore; result, hold full and ore after, message.
    const std::tuple<bool, int, int, int, int, R, int, int, const char*> cases[] = {
        {1, 0, 10, 0, 5, R::Loaded, 1, -5, ""},        {1, 0, 3, 2, 1, R::Loaded, 1, -2, ""},
        {1, 0, 3, 0, 0, R::Nothing, 0, 0, ""},         {1, 1, 3, 0, 9, R::Nothing, 0, 9, ""},
        {0, 0, 3, 0, 9, R::Nothing, 0, 9, ""},         {1, 0, 0, 0, 9, R::NoHolds, 0, 9, noHolds},
        {1, 0, 6, 1, 9, R::FullHolds, 1, 9, fullHolds}};
    for (const auto& [own, row, holds, full, ore, result, fullAfter, oreAfter, message] : cases) {
        SCOPED_TRACE(::testing::Message() << "holds " << holds << " full " << full << " ore " << ore);
        FreeList(asteroid->ships);
        platform.messages.clear();
        Ship* ship = Land(asteroid, own ? human : computer, scout);
        ship->actionPoints = 0;  // loading needs none
        ship->holds = holds;
        ship->holdFull = static_cast<std::uint8_t>(full);
        asteroid->resources = ore;
        g_listSelection = row;
        EXPECT_EQ(LoadHold(), result);
        EXPECT_EQ((std::vector<int>{ship->holdFull, asteroid->resources}), (std::vector<int>{fullAfter, oreAfter}));
        EXPECT_EQ(Join(platform.messages), message);
    }
}

}  // namespace
}  // namespace qv
