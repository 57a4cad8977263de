// The left button on the map: selecting by hit radius and list order, the
// panels of the selected record, planet and ship shots, missiles, captures,
// moves, landing and docking, the in-world jump and the hyper jump, and the
// minimap.
#include "map_orders_fixture.h"
#include "orders/map_orders.h"

namespace qv {
namespace {

using testing::MapOrdersTest;

TEST_F(MapOrdersTest, NothingSelectedPicksOwnShipsThenOwnPlanetsThenAsteroidsByTheirRadii) {
    Planet* own = AddPlanet(human, 1300, 1300);
    AddPlanet(enemy, 1500, 1300);
    Asteroid* rock = AddAsteroid(1300, 1500);
    // A planet is taken at 30 exactly when nothing is selected.
    EXPECT_EQ(OnLButtonDown(Px(1330), Py(1300)), ClickOutcome::Nothing);
    EXPECT_EQ(g_selPlanet, own);
    g_selPlanet = nullptr;
    OnLButtonDown(Px(1331), Py(1300));
    EXPECT_EQ(g_selPlanet, nullptr);
    // Enemy planets are not selected; asteroids are, inside 17.
    OnLButtonDown(Px(1500), Py(1300));
    EXPECT_EQ(g_selPlanet, nullptr);
    OnLButtonDown(Px(1317), Py(1500));
    EXPECT_EQ(g_selAsteroid, nullptr);
    OnLButtonDown(Px(1316), Py(1500));
    EXPECT_EQ(g_selAsteroid, rock);
    g_selAsteroid = nullptr;
    // A ship over the planet wins; of two ships the one nearer the head.
    AddShip(human, 1305, 1300);
    Ship* head = AddShip(human, 1300, 1305);
    OnLButtonDown(Px(1302), Py(1302));
    EXPECT_EQ(g_selShip, head);
    EXPECT_EQ(g_selPlanet, nullptr);
    // An enemy ship is never selected.
    g_selShip = nullptr;
    AddShip(enemy, 1700, 1500);
    OnLButtonDown(Px(1700), Py(1500));
    EXPECT_EQ(g_selShip, nullptr);
    // An own ship is taken closer than 15.
    Ship* lone = AddShip(human, 1800, 1800);
    OnLButtonDown(Px(1815), Py(1800));
    EXPECT_EQ(g_selShip, nullptr);
    OnLButtonDown(Px(1814), Py(1800));
    EXPECT_EQ(g_selShip, lone);
}

TEST_F(MapOrdersTest, NothingHappensOnTheTitleScreenOrWithoutAGame) {
    Planet* own = AddPlanet(human, 1300, 1300);
    g_newDocCount = 1;
    OnLButtonDown(Px(1300), Py(1300));
    EXPECT_EQ(g_selPlanet, nullptr);
    g_newDocCount = 2;
    OnLButtonDown(Px(1300), Py(1300));
    EXPECT_EQ(g_selPlanet, own);
}

TEST_F(MapOrdersTest, AClickOnTheSelectedRecordOpensItsPanel) {
    Planet* own = AddPlanet(human, 1300, 1300);
    g_selPlanet = own;
    EXPECT_EQ(OnLButtonDown(Px(1329), Py(1300)), ClickOutcome::PlanetPanel);
    // With a planet selected another own planet needs less than 30.
    Planet* other = AddPlanet(human, 1500, 1300);
    OnLButtonDown(Px(1530), Py(1300));
    EXPECT_EQ(g_selPlanet, own);
    OnLButtonDown(Px(1529), Py(1300));
    EXPECT_EQ(g_selPlanet, other);

    // The asteroid's panel answers in a square: (16, 16) off is inside.
    Asteroid* rock = AddAsteroid(1200, 1500);
    g_selPlanet = nullptr;
    g_selAsteroid = rock;
    EXPECT_EQ(OnLButtonDown(Px(1216), Py(1516)), ClickOutcome::AsteroidPanel);
    EXPECT_EQ(OnLButtonDown(Px(1217), Py(1500)), ClickOutcome::Nothing);
    // With an asteroid selected an own ship is taken closer than 15.
    Ship* near = AddShip(human, 1250, 1600);
    OnLButtonDown(Px(1265), Py(1600));
    EXPECT_EQ(g_selShip, nullptr);
    EXPECT_EQ(g_selAsteroid, rock);
    OnLButtonDown(Px(1264), Py(1600));
    EXPECT_EQ(g_selShip, near);

    Ship* ship = AddShip(human, 1400, 1450);
    g_selAsteroid = nullptr;
    g_selShip = ship;
    EXPECT_EQ(OnLButtonDown(Px(1414), Py(1450)), ClickOutcome::ShipPanel);
    // Someone else's ship (left selected by a capture) opens nothing.
    ship->owner = enemy;
    EXPECT_EQ(OnLButtonDown(Px(1400), Py(1450)), ClickOutcome::Nothing);
    // The ship's own panel needs the pointer closer than 15.
    ship->owner = human;
    EXPECT_EQ(OnLButtonDown(Px(1415), Py(1450)), ClickOutcome::Nothing);
}

TEST_F(MapOrdersTest, APlanetShotThatLeavesItsTargetAliveLetsTheClickGoOn) {
    Planet* P = AddPlanet(human, 1200, 1200);
    P->weapon = FixedWeapon(40, 200);
    P->weaponReady = 1;
    Planet* target = AddPlanet(enemy, 1350, 1200, 300);
    Asteroid* rock = AddAsteroid(1360, 1200);
    g_selPlanet = P;
    OnLButtonDown(Px(1355), Py(1200));
    EXPECT_EQ(target->shieldPoints, 260);
    EXPECT_EQ(P->weaponReady, 0);
    EXPECT_EQ(platform.cues, std::vector<std::string>{"FirstW.wav"});
    EXPECT_EQ(g_selAsteroid, rock);  // the same click went on to the asteroid
    EXPECT_EQ(g_selPlanet, nullptr);

    // A planet out of range + 30 is not shot; a shot that destroys stops.
    g_selPlanet = P;
    g_selAsteroid = nullptr;
    P->weaponReady = 1;
    target->shieldPoints = 40;
    Dock(target, enemy);
    const int enemyShips = enemy->shipCount;
    const int enemyPlanets = enemy->planetCount;
    g_hoverPlanet = target;
    OnLButtonDown(Px(1350), Py(1200));
    EXPECT_EQ(IndexOf(world->planets, target), 0);
    EXPECT_EQ(enemy->planetCount, enemyPlanets - 1);
    EXPECT_EQ(enemy->shipCount, enemyShips - 1);
    EXPECT_EQ(g_hoverPlanet, nullptr);
    EXPECT_EQ(g_selAsteroid, nullptr);  // stopped before the asteroid
    EXPECT_EQ(g_selPlanet, P);
    EXPECT_EQ(platform.explosions, 0);  // a planet shot shows no explosion

    Planet* far = AddPlanet(enemy, 1200 + 231, 1300, 300);
    far->y = 1200;
    P->weaponReady = 1;
    OnLButtonDown(Px(1431), Py(1200));  // 231 = range + 31
    EXPECT_EQ(far->shieldPoints, 300);
    EXPECT_EQ(P->weaponReady, 1);
}

TEST_F(MapOrdersTest, APlanetShotAtAShipShowsTheExplosionAndAWeakShipIsDestroyed) {
    Planet* P = AddPlanet(human, 1200, 1200);
    P->weapon = FixedWeapon(100, 100);
    P->weaponReady = 1;
    Ship* strong = AddShip(enemy, 1300, 1200);
    g_selPlanet = P;
    OnLButtonDown(Px(1300), Py(1200));
    EXPECT_EQ(strong->shieldPoints, 400);
    EXPECT_EQ(platform.explosions, 2);
    Ship* weak = AddShip(enemy, 1250, 1250);
    weak->shieldPoints = 100;
    const int ships = enemy->shipCount;
    P->weaponReady = 1;
    OnLButtonDown(Px(1250), Py(1250));
    EXPECT_EQ(IndexOf(world->ships, weak), 0);
    EXPECT_EQ(enemy->shipCount, ships - 1);
}

TEST_F(MapOrdersTest, ShipShotsCaptureAPlanetLeftAtOneToAHundredAndDestroyOneAtNothing) {
    Ship* S = AddShip(human, 1200, 1200);
    S->weapon = FixedWeapon(50, 150);
    g_selShip = S;
    struct Case {
        int shield;
        bool captured, destroyed;
    } cases[] = {{150, true, false}, {151, false, false}, {50, false, true}, {51, true, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.shield);
        Planet* p = AddPlanet(enemy, 1300, 1200, c.shield);
        Ship* docked = Dock(p, enemy);
        const int humanPlanets = human->planetCount, humanShips = human->shipCount;
        const int enemyPlanets = enemy->planetCount, enemyShips = enemy->shipCount;
        S->weaponReady = 1;
        platform.cues.clear();
        g_selShip = S;
        OnLButtonDown(Px(1300), Py(1200));
        EXPECT_EQ(S->weaponReady, 0);
        ASSERT_FALSE(platform.cues.empty());
        EXPECT_EQ(platform.cues.front(), "FirstW.wav");
        if (c.destroyed) {
            EXPECT_EQ(IndexOf(world->planets, p), 0);
            EXPECT_EQ(enemy->planetCount, enemyPlanets - 1);
            EXPECT_EQ(enemy->shipCount, enemyShips - 1);
            continue;
        }
        EXPECT_EQ(p->shieldPoints, c.shield - 50);
        EXPECT_EQ(p->owner, c.captured ? human : enemy);
        EXPECT_EQ(docked->owner, c.captured ? human : enemy);
        EXPECT_EQ(human->planetCount, humanPlanets + (c.captured ? 1 : 0));
        EXPECT_EQ(human->shipCount, humanShips + (c.captured ? 1 : 0));
        EXPECT_EQ(enemy->shipCount, enemyShips - (c.captured ? 1 : 0));
        EXPECT_EQ(platform.cues.back(), c.captured ? "PCapture.wav" : "FirstW.wav");
        Unlink(world->planets, p);
        --p->owner->planetCount;
        FreeList(p->docks);
        delete p;
    }
    EXPECT_EQ(platform.explosions, 0);
}

TEST_F(MapOrdersTest, AShipShotReachesLessThanRangePlusFifteen) {
    Ship* S = AddShip(human, 1200, 1200);
    S->weapon = FixedWeapon(30, 100);
    S->weaponReady = 1;
    Ship* edge = AddShip(enemy, 1315, 1200);  // 115 = range + 15: out of reach
    g_selShip = S;
    OnLButtonDown(Px(1315), Py(1200));
    EXPECT_EQ(edge->shieldPoints, 500);
    EXPECT_EQ(S->weaponReady, 1);
    edge->x = 1314;
    OnLButtonDown(Px(1314), Py(1200));
    EXPECT_EQ(edge->shieldPoints, 470);
    EXPECT_EQ(S->weaponReady, 0);
    EXPECT_EQ(platform.explosions, 2);
    EXPECT_EQ(g_selShip, S);
}

TEST_F(MapOrdersTest, AMissileDestroysWhateverItsShieldButNeedsTheShipsReadiness) {
    Ship* S = AddShip(human, 1200, 1200);
    S->equip[kNuclearMissile] = 1;
    S->actionPoints = 200;
    Ship* target = AddShip(enemy, 1279, 1200);
    target->shieldPoints = 100000;
    g_selShip = S;
    g_rocketMode = 1;
    // Fired already this turn: no missile; the click moves the ship instead.
    S->weaponReady = 0;
    OnLButtonDown(Px(1279), Py(1200));
    EXPECT_NE(IndexOf(world->ships, target), 0);
    EXPECT_EQ(S->equip[kNuclearMissile], 1);
    EXPECT_EQ(g_rocketMode, 1);
    EXPECT_EQ(S->x, 1279);

    S->x = 1200;
    S->weaponReady = 1;
    const int ships = enemy->shipCount;
    OnLButtonDown(Px(1279), Py(1200));
    EXPECT_EQ(IndexOf(world->ships, target), 0);
    EXPECT_EQ(enemy->shipCount, ships - 1);
    EXPECT_EQ(S->equip[kNuclearMissile], 0);
    EXPECT_EQ(S->weaponReady, 0);
    EXPECT_EQ(g_rocketMode, 0);
    EXPECT_EQ(platform.cues, std::vector<std::string>{"Stinger.wav"});
    EXPECT_EQ(platform.explosions, 2);

    // At a planet and an asteroid, within 80.
    Planet* p = AddPlanet(enemy, 1240, 1250, 100000);  // 64 away
    S->weaponReady = 1;
    g_rocketMode = 1;
    OnLButtonDown(Px(1240), Py(1250));
    EXPECT_EQ(IndexOf(world->planets, p), 0);
    Asteroid* a = AddAsteroid(1150, 1150);
    S->weaponReady = 1;
    g_rocketMode = 1;
    OnLButtonDown(Px(1150), Py(1150));
    EXPECT_EQ(IndexOf(world->asteroids, a), 0);
    EXPECT_EQ(platform.explosions, 6);
}

TEST_F(MapOrdersTest, AMoveCostsItsDistanceRoundedDownInFourSteps) {
    Ship* S = AddShip(human, 1200, 1200);
    S->actionPoints = 22;
    g_selShip = S;
    OnLButtonDown(Px(1220), Py(1206));  // 20.88 away
    EXPECT_EQ(S->x, 1220);
    EXPECT_EQ(S->y, 1206);
    EXPECT_EQ(S->actionPoints, 2);
    EXPECT_EQ(platform.frameWaits, 3);
    // Beyond the points left: nothing (no module).
    OnLButtonDown(Px(1300), Py(1300));
    EXPECT_EQ(S->x, 1220);
    // Closer than 15 the click opens the ship's panel instead of moving it.
    EXPECT_EQ(OnLButtonDown(Px(1221), Py(1206)), ClickOutcome::ShipPanel);
    S->actionPoints = 0;
    OnLButtonDown(Px(1240), Py(1206));
    EXPECT_EQ(S->x, 1220);
    EXPECT_EQ(platform.frameWaits, 3);
}

// Records where the ship stands at every drawn frame of a move.
class StepWatcher : public HeadlessPlatform {
public:
    void waitForFrame() override {
        HeadlessPlatform::waitForFrame();
        places.emplace_back(ship->x, ship->y);
    }
    Ship* ship = nullptr;
    std::vector<std::pair<int, int>> places;
};

TEST_F(MapOrdersTest, TheFourStepsAreAQuarterHalfAndThreeQuartersOfTheWay) {
    Ship* S = AddShip(human, 1201, 1200);
    S->actionPoints = 300;
    g_selShip = S;
    StepWatcher watcher;
    watcher.ship = S;
    SetPlatform(&watcher);
    OnLButtonDown(Px(1400), Py(1000 + 75));  // to (1400, 1075)
    SetPlatform(&platform);
    // M = (1300, 1137), Q1 = (1250, 1168), Q3 = (1350, 1106), all truncated.
    const std::vector<std::pair<int, int>> expected = {{1250, 1168}, {1300, 1137}, {1350, 1106}};
    EXPECT_EQ(watcher.places, expected);
    EXPECT_EQ(S->x, 1400);
    EXPECT_EQ(S->y, 1075);
}

TEST_F(MapOrdersTest, LandingAndDockingReachAndTheCopyLeftBehind) {
    Ship* S = AddShip(human, 1200, 1200);
    S->actionPoints = 50;
    S->equip[kAccelerator] = 1;
    S->holds = 2;
    S->holdFull = 1;
    S->weaponReady = 1;
    const int ships = human->shipCount;
    // A planet 78 away (= 50 + 28) is only selected.
    Planet* far = AddPlanet(human, 1278, 1200);
    g_selShip = S;
    OnLButtonDown(Px(1278), Py(1200));
    EXPECT_EQ(g_selPlanet, far);
    EXPECT_NE(IndexOf(world->ships, S), 0);
    // At 77 the ship lands: a copy with no action points in the docks.
    far->x = 1277;
    g_selPlanet = nullptr;
    g_selShip = S;
    g_hoverShip = S;
    OnLButtonDown(Px(1290), Py(1200));  // pointer 13 from the planet
    EXPECT_EQ(IndexOf(world->ships, S), 0);
    EXPECT_EQ(g_hoverShip, nullptr);
    EXPECT_EQ(g_selShip, nullptr);
    EXPECT_EQ(g_selPlanet, far);
    ASSERT_NE(far->docks, nullptr);
    const Ship* landed = far->docks;
    EXPECT_EQ(landed->actionPoints, 0);
    EXPECT_EQ(landed->equip[kAccelerator], 1);
    EXPECT_EQ(landed->holds, 2);
    EXPECT_EQ(landed->holdFull, 1);
    EXPECT_EQ(landed->weaponReady, 1);
    EXPECT_EQ(landed->owner, human);
    EXPECT_EQ(human->shipCount, ships);
    EXPECT_EQ(platform.cues.back(), "Landing.wav");
    EXPECT_EQ(platform.frameWaits, 3);

    // Docking at an asteroid: within points + 15, less than.
    Ship* T = AddShip(human, 1500, 1500);
    T->actionPoints = 20;
    Asteroid* rock = AddAsteroid(1535, 1500);
    g_selShip = T;
    OnLButtonDown(Px(1535), Py(1500));
    EXPECT_EQ(g_selAsteroid, rock);
    EXPECT_NE(IndexOf(world->ships, T), 0);
    rock->x = 1534;
    g_selAsteroid = nullptr;
    g_selShip = T;
    OnLButtonDown(Px(1534), Py(1500));
    EXPECT_EQ(IndexOf(world->ships, T), 0);
    EXPECT_EQ(g_selAsteroid, rock);
    ASSERT_NE(rock->ships, nullptr);
    EXPECT_EQ(rock->ships->actionPoints, 0);
}

TEST_F(MapOrdersTest, AHyperModuleJumpsBeyondReachAtOnceAndIsKeptForAMoveWithinIt) {
    Ship* S = AddShip(human, 1200, 1200);
    S->actionPoints = 40;
    S->equip[kHyperModule] = 1;
    g_selShip = S;
    OnLButtonDown(Px(1230), Py(1200));
    EXPECT_EQ(S->x, 1230);
    EXPECT_EQ(S->actionPoints, 10);
    EXPECT_EQ(S->equip[kHyperModule], 1);
    OnLButtonDown(Px(1600), Py(1400));
    EXPECT_EQ(S->x, 1600);
    EXPECT_EQ(S->y, 1400);
    EXPECT_EQ(S->actionPoints, 0);
    EXPECT_EQ(S->equip[kHyperModule], 0);
    EXPECT_EQ(platform.frameWaits, 3);  // the jump itself is not animated
    EXPECT_TRUE(platform.cues.empty());
}

TEST_F(MapOrdersTest, TheHyperJumperBringsTheShipIntoTheWorldShownAndKeepsItSelected) {
    World* other = world->next ? world->next : g_worlds;
    ASSERT_NE(other, world);
    Ship* S = AddShip(human, 300, 300, other);
    S->equip[kHyperJumper] = 1;
    S->equip[kSpaceScanner] = 1;
    S->actionPoints = 30;
    S->weaponReady = 1;
    S->shieldPoints = 77;
    const Pixel firstPixel = S->pixels[0];
    g_selShip = S;
    g_jumpMode = 1;
    OnLButtonDown(400, 250);
    EXPECT_EQ(g_jumpMode, 0);
    EXPECT_EQ(IndexOf(other->ships, S), 0);
    Ship* arrived = world->ships;
    ASSERT_NE(arrived, nullptr);
    EXPECT_EQ(g_selShip, arrived);
    EXPECT_EQ(arrived->x, 1400);
    EXPECT_EQ(arrived->y, 1250);
    EXPECT_EQ(arrived->actionPoints, 0);
    EXPECT_EQ(arrived->equip[kHyperJumper], 0);
    EXPECT_EQ(arrived->equip[kSpaceScanner], 1);
    EXPECT_EQ(arrived->shieldPoints, 77);
    EXPECT_EQ(arrived->weaponReady, 1);
    EXPECT_EQ(arrived->pixels[0].colour, firstPixel.colour);

    // In its own world the armed jumper is only spent.
    arrived->equip[kHyperJumper] = 1;
    g_jumpMode = 1;
    OnLButtonDown(600, 500);
    EXPECT_EQ(g_jumpMode, 0);
    EXPECT_EQ(arrived->equip[kHyperJumper], 0);
    EXPECT_EQ(arrived->x, 1400);
    EXPECT_EQ(world->ships, arrived);
    EXPECT_EQ(g_selShip, arrived);
}

TEST_F(MapOrdersTest, TheMinimapRecentresTheViewInsideTheWorldAndKeepsTheSelection) {
    g_worldSize = 2000;  // the minimap is 100 wide, from x 685 to 785
    Planet* own = AddPlanet(human, 1300, 1300);
    g_selPlanet = own;
    OnLButtonDown(735, 60);  // the middle of the minimap
    EXPECT_EQ(g_viewLeft, 600);
    EXPECT_EQ(g_viewTop, 700);
    EXPECT_EQ(g_viewRight - g_viewLeft, 800);
    EXPECT_EQ(g_viewBottom - g_viewTop, 600);
    EXPECT_EQ(g_selPlanet, own);
    OnLButtonDown(686, 11);  // near the top-left corner
    EXPECT_EQ(g_viewLeft, 0);
    EXPECT_EQ(g_viewTop, 0);
    OnLButtonDown(784, 109);  // near the bottom-right corner
    EXPECT_EQ(g_viewLeft, 1200);
    EXPECT_EQ(g_viewTop, 1400);
    // Just outside it the click is an ordinary one.
    OnLButtonDown(785, 60);
    EXPECT_EQ(g_viewLeft, 1200);
}

}  // namespace
}  // namespace qv
