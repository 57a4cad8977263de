// The Ship Options and Asteroid Options panels: the figures and equipment
// lines shown, arming the hyper jump and the missile, launching a landed ship
// back into space and loading ore into its holds.
#include <cmath>
#include <iterator>
#include <optional>

#include "game_fixture.h"
#include "model/random.h"
#include "orders/asteroid_panel.h"
#include "orders/ship_panel.h"
#include "turn/end_turn.h"

namespace qv {
namespace {

using testing::GameTest;

class ShipAsteroidPanelTest : public GameTest {
protected:
    void SetUp() override {
        GameTest::SetUp();
        NewGameOptions chosen;
        chosen.worldsQuantityOption = 2;
        chosen.worldsSizeOption = 4;
        chosen.aiPlayersOption = 2;
        NewGame(chosen, 33);
        human = g_players;
        computer = g_players->next;
        world = g_currentWorld;
        asteroid = world->asteroids;
        ASSERT_NE(asteroid, nullptr);
        FreeList(asteroid->ships);
        g_selPlanet = nullptr;
        g_selAsteroid = asteroid;
        g_listSelection = 0;
    }

    // A ship of the owner's model n landed on the asteroid (at the head of
    // its list), with the figures given.
    Ship* Land(Player* owner, int model, int actionPoints, int holds, std::uint8_t holdFull = 0) {
        Ship* s = MakeShip(owner, model, 1, 0, 0);
        s->actionPoints = actionPoints;
        s->holds = holds;
        s->holdFull = holdFull;
        std::fill(std::begin(s->pixels), std::end(s->pixels), Pixel{});
        InsertAtHead(asteroid->ships, s);
        return s;
    }

    Player* human = nullptr;
    Player* computer = nullptr;
    World* world = nullptr;
    Asteroid* asteroid = nullptr;
};

// --- Ship Options -------------------------------------------------------

TEST_F(ShipAsteroidPanelTest, ShipPanelShowsTheFiguresAndTheInstalledEquipment) {
    Ship* s = MakeShip(human, 2, 3, 100, 100);
    ASSERT_NE(s->weapon, nullptr);
    InsertAtHead(world->ships, s);
    std::fill(std::begin(s->equip), std::end(s->equip), 0);
    s->actionPoints = 117;
    s->shieldPoints = -4;
    s->viewPoints = 250;
    s->holds = 6;
    s->holdFull = 1;
    s->equip[kSpaceScanner] = 1;
    s->equip[kHyperModule] = 1;
    s->equip[kPowerReactor] = 1;
    s->equip[kShipRaceWeapon2] = 1;
    s->equip[kNuclearMissile] = 2;  // only 1 counts as installed
    g_selShip = s;

    ShipFigures expected;
    expected.modelName = s->model->name;
    expected.actionPoints = 117;
    expected.shieldPoints = -4;
    expected.viewPoints = 250;
    expected.holds = 6;
    expected.holdState = "(full)";
    expected.equipment = {"Space Scanner", "Hyper Modul", "Power reactor", s->weapon->name};
    EXPECT_EQ(SelectedShipFigures(), expected);

    s->holdFull = 0;
    EXPECT_EQ(ShipPanelFigures(*s).holdState, "(empty)");
    s->holdFull = 2;
    EXPECT_EQ(ShipPanelFigures(*s).holdState, "(empty)");

    g_selShip = nullptr;
    EXPECT_EQ(SelectedShipFigures(), std::nullopt);
}

TEST_F(ShipAsteroidPanelTest, AllElevenSlotsListElevenLinesTheLastThreeTheShipsWeapon) {
    Ship* s = MakeShip(human, 1, 2, 0, 0);
    InsertAtHead(world->ships, s);
    std::fill(std::begin(s->equip), std::end(s->equip), 1);
    const std::vector<std::string> lines = ShipEquipmentLines(*s);
    const std::vector<std::string> expected = {
        "Accelerator",   "Space Scanner", "Additional Hold", "Hyper Modul", "Hyper Jumper",
        "Protective Screen", "Power reactor", "Destructive Nuclear Missile", s->weapon->name,
        s->weapon->name, s->weapon->name,
    };
    EXPECT_EQ(lines, expected);
    EXPECT_EQ(ShipPanelFigures(*s).equipment, expected);

    // A weapon slot on a ship without a weapon names the race weapon the
    // slot stands for, in the owner's race.
    s->weapon = nullptr;
    const Race* race = human->race;
    EXPECT_EQ(ShipEquipmentLine(*s, kShipRaceWeapon1), RecordAt(race->weapons, 1)->name);
    EXPECT_EQ(ShipEquipmentLine(*s, kShipRaceWeapon3), RecordAt(race->weapons, 3)->name);
    EXPECT_NE(ShipEquipmentLine(*s, kShipRaceWeapon1), ShipEquipmentLine(*s, kShipRaceWeapon3));
    EXPECT_EQ(ShipEquipmentLine(*s, 11), "");
    EXPECT_EQ(ShipEquipmentLine(*s, -1), "");
    s->owner = nullptr;
    EXPECT_EQ(ShipEquipmentLine(*s, kShipRaceWeapon2), "");
    s->owner = human;
    s->model = nullptr;
    EXPECT_EQ(ShipPanelFigures(*s).modelName, "");
}

TEST_F(ShipAsteroidPanelTest, ShmAndStartRocketArmOnlyWithTheirDevice) {
    Ship* s = MakeShip(human, 1, 1, 0, 0);
    InsertAtHead(world->ships, s);
    std::fill(std::begin(s->equip), std::end(s->equip), 0);
    g_selShip = s;

    // Without the devices nothing is armed and the panel stays open.
    EXPECT_FALSE(ArmHyperJump());
    EXPECT_FALSE(ArmMissile());
    EXPECT_EQ(g_jumpMode, 0);
    EXPECT_EQ(g_rocketMode, 0);
    // Each device arms its own mode only; arming spends nothing.
    s->equip[kHyperJumper] = 1;
    EXPECT_FALSE(ArmMissile());
    EXPECT_TRUE(ArmHyperJump());
    EXPECT_EQ(g_jumpMode, 1);
    EXPECT_EQ(g_rocketMode, 0);
    EXPECT_EQ(s->equip[kHyperJumper], 1);
    g_jumpMode = 0;
    s->equip[kHyperJumper] = 0;
    s->equip[kNuclearMissile] = 1;
    EXPECT_FALSE(ArmHyperJump());
    EXPECT_TRUE(ArmMissile());
    EXPECT_EQ(g_rocketMode, 1);
    EXPECT_EQ(g_jumpMode, 0);
    EXPECT_EQ(s->equip[kNuclearMissile], 1);
    EXPECT_EQ(s->weaponReady, 1);

    // No ship selected: nothing to arm.
    g_rocketMode = 0;
    g_selShip = nullptr;
    EXPECT_FALSE(ArmHyperJump());
    EXPECT_FALSE(ArmMissile());
    EXPECT_EQ(g_jumpMode, 0);
    EXPECT_EQ(g_rocketMode, 0);
    EXPECT_TRUE(platform.messages.empty());
}

// --- Asteroid Options: the list ------------------------------------------

TEST_F(ShipAsteroidPanelTest, AsteroidRowsCountFromOneAlongTheListBesideTheOre) {
    EXPECT_TRUE(SelectedAsteroidDockRows().empty());
    Ship* c = Land(human, 1, 10, 0);
    Ship* b = Land(computer, 2, 10, 0);
    Ship* a = Land(human, 2, 10, 0);
    ASSERT_NE(a->model->name, c->model->name);
    const std::vector<DockRow> expected = {{"1", a->model->name}, {"2", b->model->name}, {"3", c->model->name}};
    EXPECT_EQ(SelectedAsteroidDockRows(), expected);
    asteroid->resources = -7;
    EXPECT_EQ(SelectedAsteroidResources(), -7);
    g_selAsteroid = nullptr;
    EXPECT_TRUE(SelectedAsteroidDockRows().empty());
    EXPECT_EQ(SelectedAsteroidResources(), std::nullopt);
}

TEST_F(ShipAsteroidPanelTest, TheChosenShipIsTheRowOfTheLastListNotificationOrNone) {
    Ship* second = Land(human, 1, 10, 0);
    Ship* first = Land(human, 2, 10, 0);
    g_listSelection = 0;
    EXPECT_EQ(ChosenLandedShip(), first);
    g_listSelection = 1;
    EXPECT_EQ(ChosenLandedShip(), second);
    for (int row : {2, 3, -1, 1 << 30}) {
        g_listSelection = row;
        EXPECT_EQ(ChosenLandedShip(), nullptr) << row;
    }
    g_listSelection = 0;
    g_selAsteroid = nullptr;
    EXPECT_EQ(ChosenLandedShip(), nullptr);
}

// --- Asteroid Options: Start Ship ----------------------------------------

TEST_F(ShipAsteroidPanelTest, StartShipPutsTheChosenShipOnTheCircleAroundTheAsteroidWithItsEquipment) {
    ShipModel* model = RecordAt(human->race->shipModels, 2);
    for (int i = 0; i < kPixelListSize; ++i) model->pixels[i] = Pixel{i % 30, i / 30, static_cast<Colour>(0x200000 + i)};
    Land(human, 1, 40, 0);  // row 1
    Ship* d = Land(human, 2, 55, 4, 1);
    d->shieldPoints = 321;
    d->viewPoints = 222;
    d->reserved = 9;
    d->weaponReady = 1;
    for (int k = 0; k < kShipEquipSlots; ++k) d->equip[k] = (k % 3 == 0);
    Ship* const wasHead = world->ships;
    const int shipsInSpace = CountOf(world->ships);
    const int shipCount = human->shipCount;
    const Ship copy = *d;
    g_listSelection = 0;
    g_hoverAsteroid = asteroid;

    SeedRand(4242);
    Random draws = GameRandom();
    const int sign = draws.sign();
    const int k = draws.next() % 100;
    const int dy = k - 50;
    const int expectedX = asteroid->x + sign * static_cast<int>(std::sqrt(2500.0 - dy * dy));

    ASSERT_TRUE(StartShipFromAsteroid());
    Ship* n = world->ships;
    ASSERT_EQ(CountOf(world->ships), shipsInSpace + 1);
    EXPECT_EQ(n->next, wasHead);
    EXPECT_EQ(n->x, expectedX);
    EXPECT_EQ(n->y, asteroid->y + dy);
    const int ddx = n->x - asteroid->x, ddy = n->y - asteroid->y;
    EXPECT_LE(ddx * ddx + ddy * ddy, 2500);
    EXPECT_GT(ddx * ddx + ddy * ddy, 49 * 49 - 100);
    EXPECT_EQ(GameRandom().state(), draws.state());  // exactly two draws

    EXPECT_EQ(n->owner, human);
    EXPECT_EQ(n->model, copy.model);
    EXPECT_EQ(n->shieldPoints, 321);
    EXPECT_EQ(n->viewPoints, 222);
    EXPECT_EQ(n->holds, 4);
    EXPECT_EQ(n->holdFull, 1);
    EXPECT_EQ(n->reserved, 9);
    EXPECT_EQ(n->weapon, copy.weapon);
    EXPECT_EQ(n->weaponReady, 1);
    EXPECT_EQ(n->actionPoints, 0);
    for (int s = 0; s < kShipEquipSlots; ++s) EXPECT_EQ(n->equip[s], copy.equip[s]) << s;
    for (int i = 0; i < kPixelListSize; ++i) {
        ASSERT_EQ(n->pixels[i].colour, model->pixels[i].colour) << i;
        ASSERT_EQ(n->pixels[i].x, model->pixels[i].x) << i;
        ASSERT_EQ(n->pixels[i].y, model->pixels[i].y) << i;
    }

    // The landed record is gone; the other one is now row 0.
    ASSERT_EQ(CountOf(asteroid->ships), 1);
    EXPECT_EQ(asteroid->ships->model, RecordAt(human->race->shipModels, 1));
    EXPECT_EQ(human->shipCount, shipCount);
    EXPECT_EQ(platform.cues, std::vector<std::string>{"Landing.wav"});
    // The asteroid stays selected, the new ship is not, the row is kept.
    EXPECT_EQ(g_selAsteroid, asteroid);
    EXPECT_EQ(g_selShip, nullptr);
    EXPECT_EQ(g_hoverAsteroid, asteroid);
    EXPECT_EQ(g_listSelection, 0);
}

TEST_F(ShipAsteroidPanelTest, LaunchesFallOnBothSidesOfTheAsteroid) {
    bool left = false, right = false;
    for (std::uint32_t seed = 1; seed <= 12; ++seed) {
        Land(human, 1, 30, 0);
        g_listSelection = 0;
        SeedRand(seed);
        ASSERT_TRUE(StartShipFromAsteroid());
        const Ship* n = world->ships;
        const int dx = n->x - asteroid->x, dy = n->y - asteroid->y;
        EXPECT_GE(dy, -50);
        EXPECT_LE(dy, 49);
        EXPECT_EQ(std::abs(dx), static_cast<int>(std::sqrt(2500.0 - dy * dy)));
        (dx < 0 ? left : right) = true;
    }
    EXPECT_TRUE(left);
    EXPECT_TRUE(right);
    EXPECT_EQ(asteroid->ships, nullptr);
}

TEST_F(ShipAsteroidPanelTest, LaunchingTheFirstOfTwoKeepsRowZeroSoTheNextPressLaunchesTheOther) {
    Ship* other = Land(human, 1, 20, 0);
    Land(human, 2, 20, 0);
    const int before = CountOf(world->ships);
    g_listSelection = 0;
    ASSERT_TRUE(StartShipFromAsteroid());
    ASSERT_EQ(asteroid->ships, other);
    EXPECT_EQ(g_listSelection, 0);
    ASSERT_TRUE(StartShipFromAsteroid());
    EXPECT_EQ(asteroid->ships, nullptr);
    EXPECT_EQ(CountOf(world->ships), before + 2);
    // Models, head first: the last launched is the head.
    EXPECT_EQ(world->ships->model, RecordAt(human->race->shipModels, 1));
    EXPECT_EQ(world->ships->next->model, RecordAt(human->race->shipModels, 2));
    // An empty asteroid launches nothing.
    EXPECT_FALSE(StartShipFromAsteroid());
    EXPECT_EQ(platform.cues.size(), 2u);
}

TEST_F(ShipAsteroidPanelTest, StartShipDoesNothingForAShipWithoutActionPointsUntilTheTurnEnds) {
    Ship* landed = Land(human, 2, 0, 0);
    const int before = CountOf(world->ships);
    EXPECT_FALSE(StartShipFromAsteroid());
    EXPECT_EQ(asteroid->ships, landed);
    EXPECT_EQ(CountOf(world->ships), before);
    EXPECT_TRUE(platform.cues.empty());

    RenewWorlds();  // the end of turn refills the landed ship's action points
    ASSERT_GT(asteroid->ships->actionPoints, 0);
    ASSERT_TRUE(StartShipFromAsteroid());
    EXPECT_EQ(world->ships->actionPoints, 0);
    EXPECT_EQ(asteroid->ships, nullptr);
}

TEST_F(ShipAsteroidPanelTest, StartShipIgnoresOtherPlayersShipsRowsBeyondTheListAndNoAsteroid) {
    Ship* theirs = Land(computer, 1, 50, 0);
    const int before = CountOf(world->ships);
    g_listSelection = 0;
    EXPECT_FALSE(StartShipFromAsteroid());
    EXPECT_EQ(asteroid->ships, theirs);
    Ship* mine = Land(human, 1, 50, 0);
    for (int row : {2, 5, -1}) {
        g_listSelection = row;
        EXPECT_FALSE(StartShipFromAsteroid()) << row;
    }
    g_listSelection = 0;
    g_selAsteroid = nullptr;
    EXPECT_FALSE(StartShipFromAsteroid());
    EXPECT_EQ(asteroid->ships, mine);
    EXPECT_EQ(CountOf(asteroid->ships), 2);
    EXPECT_EQ(CountOf(world->ships), before);
    EXPECT_TRUE(platform.cues.empty());
    EXPECT_TRUE(platform.messages.empty());
}

// --- Asteroid Options: Load Hold ------------------------------------------

TEST_F(ShipAsteroidPanelTest, LoadHoldTakesTheHoldsWorthOfOreEvenBelowZeroThenGivesNothingMore) {
    Ship* second = Land(human, 1, 10, 3);
    Ship* first = Land(human, 2, 10, 10);
    asteroid->resources = 5;
    g_listSelection = 0;
    EXPECT_EQ(LoadHold(), LoadHoldResult::Loaded);
    EXPECT_EQ(first->holdFull, 1);
    EXPECT_EQ(asteroid->resources, -5);
    // The spent asteroid gives the second ship nothing, silently.
    g_listSelection = 1;
    EXPECT_EQ(LoadHold(), LoadHoldResult::Nothing);
    EXPECT_EQ(second->holdFull, 0);
    EXPECT_EQ(asteroid->resources, -5);
    asteroid->resources = 0;
    EXPECT_EQ(LoadHold(), LoadHoldResult::Nothing);
    EXPECT_EQ(second->holdFull, 0);
    EXPECT_TRUE(platform.messages.empty());
    // Loading does not need action points and does not move the ship.
    asteroid->resources = 40;
    second->actionPoints = 0;
    EXPECT_EQ(LoadHold(), LoadHoldResult::Loaded);
    EXPECT_EQ(second->holdFull, 1);
    EXPECT_EQ(asteroid->resources, 37);
    EXPECT_EQ(CountOf(asteroid->ships), 2);
}

TEST_F(ShipAsteroidPanelTest, LoadHoldTellsOfFullOrMissingHoldsAndChangesNothing) {
    Ship* full = Land(human, 1, 10, 6, 1);
    Ship* none = Land(human, 2, 10, 0, 0);
    asteroid->resources = 30;
    g_listSelection = 0;
    EXPECT_EQ(LoadHold(), LoadHoldResult::NoHolds);
    EXPECT_EQ(none->holdFull, 0);
    g_listSelection = 1;
    EXPECT_EQ(LoadHold(), LoadHoldResult::FullHolds);
    EXPECT_EQ(full->holdFull, 1);
    EXPECT_EQ(asteroid->resources, 30);
    EXPECT_EQ(platform.messages, (std::vector<std::string>{"This ship hasn't holds!", "This ship has full holds!"}));
    // holdFull other than 0 or 1 counts as empty: the holds are loaded.
    full->holdFull = 2;
    EXPECT_EQ(LoadHold(), LoadHoldResult::Loaded);
    EXPECT_EQ(full->holdFull, 1);
    EXPECT_EQ(asteroid->resources, 24);
}

TEST_F(ShipAsteroidPanelTest, LoadHoldIgnoresOtherPlayersShipsAndRowsBeyondTheList) {
    Ship* theirs = Land(computer, 2, 10, 5);
    asteroid->resources = 30;
    g_listSelection = 0;
    EXPECT_EQ(LoadHold(), LoadHoldResult::Nothing);
    EXPECT_EQ(theirs->holdFull, 0);
    for (int row : {1, 7, -3}) {
        g_listSelection = row;
        EXPECT_EQ(LoadHold(), LoadHoldResult::Nothing) << row;
    }
    g_listSelection = 0;
    g_selAsteroid = nullptr;
    EXPECT_EQ(LoadHold(), LoadHoldResult::Nothing);
    EXPECT_EQ(asteroid->resources, 30);
    EXPECT_TRUE(platform.messages.empty());
}

}  // namespace
}  // namespace qv
