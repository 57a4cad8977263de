// The Ship Options and Asteroid Options panels: the figures and equipment
// lines, arming the hyper jump and the missile, the landed ships, launching
// one back into space and loading ore into its holds.
#include "orders/asteroid_panel.h"
#include "orders/ship_panel.h"
#include "player_orders_fixture.h"

namespace qv {
namespace {

using ShipPanelTest = testing::PlayerOrdersTest;

TEST_F(ShipPanelTest, ShowsTheFiguresAndOneLinePerInstalledSlotInSlotOrder) {
    EXPECT_EQ(SelectedShipFigures(), std::nullopt);
    Ship* s = g_selShip = ShipAt(human, 100, 100, 117);
    s->shieldPoints = -4;
    s->viewPoints = 250;
    s->holdFull = 1;
    for (int& slot : s->equip) slot = 1;
    s->equip[kAccelerator] = 2;  // only 1 is installed
    const std::vector<std::string> lines = {"Space Scanner",
                                            "Additional Hold",
                                            "Hyper Modul",
                                            "Hyper Jumper",
                                            "Protective Screen",
                                            "Power reactor",
                                            "Destructive Nuclear Missile",
                                            "Green gun 1",
                                            "Green gun 2",
                                            "Green gun 3"};
    EXPECT_EQ(SelectedShipFigures(), (ShipFigures{"Scout", 117, -4, 250, 2, "(full)", lines}));
    // With a weapon every weapon slot names it; a hold state but 1 is empty.
    s->weapon = RaceWeapon(2);
    s->equip[kAccelerator] = 1;
    s->holdFull = 2;
    const ShipFigures figures = ShipPanelFigures(*s);
    EXPECT_EQ(figures.holdState, "(empty)");
    EXPECT_EQ(figures.equipment.front(), "Accelerator");
    EXPECT_EQ(std::vector<std::string>(figures.equipment.end() - 3, figures.equipment.end()),
              std::vector<std::string>(3, "Green gun 2"));
    EXPECT_EQ(ShipEquipmentLine(*s, kShipEquipSlots), "");
    EXPECT_EQ(ShipEquipmentLine(*s, -1), "");
}

TEST_F(ShipPanelTest, EachDeviceArmsItsOwnModeOnlyAndSpendsNothing) {
    EXPECT_FALSE(ArmHyperJump());  // no ship selected
    Ship* s = g_selShip = ShipAt(human, 0, 0);
    EXPECT_FALSE(ArmHyperJump());
    EXPECT_FALSE(ArmMissile());
    s->equip[kHyperJumper] = 1;
    EXPECT_FALSE(ArmMissile());
    EXPECT_TRUE(ArmHyperJump());
    EXPECT_EQ(g_jumpMode, 1);
    EXPECT_EQ(g_rocketMode, 0);
    g_jumpMode = 0;
    s->equip[kHyperJumper] = 0;
    s->equip[kNuclearMissile] = 1;
    EXPECT_FALSE(ArmHyperJump());
    EXPECT_TRUE(ArmMissile());
    EXPECT_EQ(g_jumpMode, 0);
    EXPECT_EQ(g_rocketMode, 1);
    EXPECT_EQ(s->equip[kNuclearMissile], 1);
}

class AsteroidPanelTest : public testing::PlayerOrdersTest {
protected:
    void SetUp() override {
        PlayerOrdersTest::SetUp();
        g_selAsteroid = asteroid = AsteroidAt(1500, 1300);
    }
    Asteroid* asteroid = nullptr;
};

TEST_F(AsteroidPanelTest, ListsTheLandedShipsFromOneAndTheOreAndChoosesByRow) {
    EXPECT_TRUE(SelectedAsteroidDockRows().empty());
    Ship* first = Land(asteroid, human, hauler);
    Ship* second = Land(asteroid, computer, scout);
    asteroid->resources = -7;
    EXPECT_EQ(SelectedAsteroidDockRows(), (std::vector<DockRow>{{"1", "Hauler"}, {"2", "Scout"}}));
    EXPECT_EQ(SelectedAsteroidResources(), -7);
    const std::pair<int, Ship*> rows[] = {{0, first}, {1, second}, {2, nullptr}, {-1, nullptr}};
    for (const auto& [row, ship] : rows) {
        g_listSelection = row;
        EXPECT_EQ(ChosenLandedShip(), ship) << row;
    }
    g_listSelection = 0;
    g_selAsteroid = nullptr;
    EXPECT_EQ(ChosenLandedShip(), nullptr);
    EXPECT_TRUE(SelectedAsteroidDockRows().empty());
    EXPECT_EQ(SelectedAsteroidResources(), std::nullopt);
}

TEST_F(AsteroidPanelTest, StartShipLaunchesTheChosenOwnShipWithActionPointsKeepingItsEquipment) {
    Ship* theirs = Land(asteroid, computer, scout);
    Ship* spent = Land(asteroid, human, scout);
    Ship* ready = Land(asteroid, human, hauler);
    spent->actionPoints = 0;
    ready->equip[kPowerReactor] = 1;
    ready->weapon = RaceWeapon(3);
    ready->weaponReady = 1;
    ready->holdFull = 1;
    for (int row : {0, 1, 3, -1}) {
        g_listSelection = row;
        EXPECT_FALSE(StartShipFromAsteroid()) << row;
    }
    EXPECT_EQ(CountOf(asteroid->ships), 3);
    EXPECT_TRUE(platform.cues.empty());
    g_listSelection = 2;
    ASSERT_TRUE(StartShipFromAsteroid());
    const Ship* up = world->ships;
    ASSERT_NE(up, nullptr);
    EXPECT_TRUE(OnLaunchCircle(up, 1500, 1300)) << up->x << "," << up->y;
    EXPECT_EQ(up->model, hauler);
    EXPECT_EQ(up->actionPoints, 0);
    EXPECT_EQ(up->equip[kPowerReactor], 1);
    EXPECT_EQ(up->weapon, RaceWeapon(3));
    EXPECT_EQ(up->weaponReady, 1);
    EXPECT_EQ(up->holdFull, 1);
    EXPECT_EQ(g_listSelection, 2);
    EXPECT_EQ(asteroid->ships->next, spent);
    EXPECT_EQ(asteroid->ships, theirs);
    EXPECT_EQ(g_selAsteroid, asteroid);
    EXPECT_EQ(g_selShip, nullptr);
    EXPECT_EQ(platform.cues, std::vector<std::string>{"Landing.wav"});
}

TEST_F(AsteroidPanelTest, LoadHoldFillsAnEmptyHoldFromAnyOreLeftOrTellsWhyNot) {
    struct Case {
        bool own;
        int row, holds, holdFull, ore;
        LoadHoldResult result;
        int holdFullAfter, oreAfter;
        const char* message;
    } cases[] = {
        {true, 0, 10, 0, 5, LoadHoldResult::Loaded, 1, -5, nullptr},
        {true, 0, 3, 2, 1, LoadHoldResult::Loaded, 1, -2, nullptr},
        {true, 0, 3, 0, 0, LoadHoldResult::Nothing, 0, 0, nullptr},
        {true, 1, 3, 0, 9, LoadHoldResult::Nothing, 0, 9, nullptr},
        {false, 0, 3, 0, 9, LoadHoldResult::Nothing, 0, 9, nullptr},
        {true, 0, 0, 0, 9, LoadHoldResult::NoHolds, 0, 9, "This ship hasn't holds!"},
        {true, 0, 6, 1, 9, LoadHoldResult::FullHolds, 1, 9, "This ship has full holds!"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << "holds " << c.holds << " full " << c.holdFull << " ore " << c.ore);
        FreeList(asteroid->ships);
        platform.messages.clear();
        Ship* ship = Land(asteroid, c.own ? human : computer, scout);
        ship->actionPoints = 0;  // loading needs none
        ship->holds = c.holds;
        ship->holdFull = static_cast<std::uint8_t>(c.holdFull);
        asteroid->resources = c.ore;
        g_listSelection = c.row;
        EXPECT_EQ(LoadHold(), c.result);
        EXPECT_EQ(ship->holdFull, c.holdFullAfter);
        EXPECT_EQ(asteroid->resources, c.oreAfter);
        EXPECT_EQ(platform.messages, c.message ? std::vector<std::string>{c.message} : std::vector<std::string>{});
    }
}

}  // namespace
}  // namespace qv
