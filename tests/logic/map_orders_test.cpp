// The left button on the map: selecting by hit radius, opening panels,
// shots, captures, missiles, moves, landing, docking, jumps and the minimap.
#include "orders/map_orders.h"
#include "player_orders_fixture.h"

namespace qv {
namespace {

enum Kind { None, P, A, S };

class MapClickTest : public testing::PlayerOrdersTest {
protected:
    // The human's record of the kind at (x, y), selected.
    void* Select(Kind k, int x, int y) {
        if (k == P) return g_selPlanet = PlanetAt(human, x, y);
        if (k == A) return g_selAsteroid = AsteroidAt(x, y);
        if (k == S) return g_selShip = ShipAt(human, x, y);
        return nullptr;
    }
    // The target: the human's or the computer's (an asteroid is anyone's).
    void* Target(Kind k, bool own, int x, int y, int shield = 500) {
        if (k == P) return PlanetAt(own ? human : computer, x, y, shield);
        if (k == A) return AsteroidAt(x, y);
        Ship* s = ShipAt(own ? human : computer, x, y);
        s->shieldPoints = shield;
        return s;
    }
    static void* Selected() {
        if (g_selPlanet) return g_selPlanet;
        if (g_selAsteroid) return g_selAsteroid;
        return g_selShip;
    }
};

TEST_F(MapClickTest, AClickSelectsAnOwnShipOrPlanetOrAnyAsteroidWithinItsHitRadius) {
    // Planets at 30 with nothing selected, else closer than 30; asteroids 17, ships 15.
    struct Case {
        Kind selected, target;
        bool own;
        int dx;
        bool taken;
    } cases[] = {
        {None, P, true, 30, true},   {None, P, true, 31, false}, {None, P, false, 0, false}, {None, A, false, 16, true},
        {None, A, false, 17, false}, {None, S, true, 14, true},  {None, S, true, 15, false}, {None, S, false, 0, false},
        {P, P, true, 29, true},      {P, P, true, 30, false},    {P, P, false, 0, false},    {P, A, false, 16, true},
        {P, A, false, 17, false},    {P, S, true, 14, true},     {P, S, true, 15, false},    {P, S, false, 0, false},
        {A, P, true, 29, true},      {A, P, true, 30, false},    {A, P, false, 0, false},    {A, A, false, 16, true},
        {A, A, false, 17, false},    {A, S, true, 14, true},     {A, S, true, 15, false},    {A, S, false, 0, false},
        {S, S, true, 14, true},      {S, S, true, 15, false},    {S, P, true, 29, true},     {S, P, true, 30, false},
        {S, A, false, 16, true},     {S, A, false, 17, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.selected << " -> " << c.target << " own " << c.own << " at " << c.dx);
        ClearWorld();
        void* before = Select(c.selected, 1100, 1100);
        void* target = Target(c.target, c.own, 1500, 1300);
        EXPECT_EQ(OnLButtonDown(Px(1500 + c.dx), Py(1300)), ClickOutcome::Nothing);
        EXPECT_EQ(Selected(), c.taken ? target : before);
    }
    // A ship over a planet wins, and of two ships the one nearer the head.
    ClearWorld();
    PlanetAt(human, 1300, 1300);
    Ship* head = ShipAt(human, 1305, 1300);
    ShipAt(human, 1300, 1305);
    g_newDocCount = 1;  // the title screen: no orders
    OnLButtonDown(Px(1302), Py(1302));
    EXPECT_EQ(Selected(), nullptr);
    g_newDocCount = 2;
    OnLButtonDown(Px(1302), Py(1302));
    EXPECT_EQ(Selected(), head);
}

TEST_F(MapClickTest, AClickOnTheSelectedRecordOpensItsPanel) {
    struct Case {
        Kind selected;
        int dx, dy;
        bool own;
        ClickOutcome outcome;
    } cases[] = {
        {P, 29, 0, true, ClickOutcome::PlanetPanel},    {P, 30, 0, true, ClickOutcome::Nothing},
        {A, 16, 16, true, ClickOutcome::AsteroidPanel}, {A, 17, 0, true, ClickOutcome::Nothing},
        {A, 0, 17, true, ClickOutcome::Nothing},        {S, 14, 0, true, ClickOutcome::ShipPanel},
        {S, 15, 0, true, ClickOutcome::Nothing},        {S, 0, 0, false, ClickOutcome::Nothing},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.selected << " " << c.dx << "," << c.dy);
        ClearWorld();
        Select(c.selected, 1500, 1300);
        if (!c.own) g_selShip->owner = computer;  // left selected by a capture
        EXPECT_EQ(OnLButtonDown(Px(1500 + c.dx), Py(1300 + c.dy)), c.outcome);
    }
}

TEST_F(MapClickTest, ShotsReachTheirRangeAndAShipsShotCapturesAPlanetLeftWithAHundredOrLess) {
    // A planet shoots within range + 30; a ship within less than range + 15
    // at ships, less than range + 30 at planets. An asteroid under a planet
    // target is selected unless a shot stopped the click.
    struct Case {
        Kind shooter, target;
        int distance, shield, after;  // after -1: destroyed
        bool fired, captured, goesOn;
        int explosions;
    } cases[] = {
        {P, P, 130, 300, 250, true, false, true, 0},   {P, P, 131, 300, 300, false, false, true, 0},
        {P, P, 130, 50, -1, true, false, false, 0},    {P, P, 100, 60, 10, true, false, true, 0},
        {P, S, 130, 300, 250, true, false, false, 2},  {P, S, 131, 300, 300, false, false, false, 0},
        {P, S, 100, 50, -1, true, false, false, 2},    {S, S, 114, 300, 250, true, false, false, 2},
        {S, S, 115, 300, 300, false, false, false, 0}, {S, S, 100, 50, -1, true, false, false, 2},
        {S, P, 129, 151, 101, true, false, false, 0},  {S, P, 129, 150, 100, true, true, false, 0},
        {S, P, 129, 51, 1, true, true, false, 0},      {S, P, 129, 50, -1, true, false, false, 0},
        {S, P, 130, 300, 300, false, false, true, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.shooter << " at " << c.target << " " << c.distance << " " << c.shield);
        ClearWorld();
        Select(c.shooter, 1200, 1200);
        std::uint8_t& ready = c.shooter == P ? g_selPlanet->weaponReady : g_selShip->weaponReady;
        (c.shooter == P ? g_selPlanet->weapon : g_selShip->weapon) = FixedWeapon(50, 100);
        ready = 1;
        Planet* tp = c.target == P ? PlanetAt(computer, 1200 + c.distance, 1200, c.shield) : nullptr;
        Ship* ts = c.target == S ? ShipAt(computer, 1200 + c.distance, 1200) : nullptr;
        if (ts) ts->shieldPoints = c.shield;
        Ship* docked = tp ? Dock(tp, computer, scout) : nullptr;
        Asteroid* rock = tp ? AsteroidAt(1205 + c.distance, 1200) : nullptr;
        OnLButtonDown(Px(1200 + c.distance), Py(1200));
        const bool gone = tp ? IndexOf(world->planets, tp) == 0 : IndexOf(world->ships, ts) == 0;
        EXPECT_EQ(gone, c.after < 0);
        if (!gone) {
            EXPECT_EQ(tp ? tp->shieldPoints : ts->shieldPoints, c.after);
            EXPECT_EQ(tp ? tp->owner : computer, c.captured ? human : computer);
            EXPECT_EQ(docked ? docked->owner : computer, c.captured ? human : computer);
        }
        EXPECT_EQ(ready, c.fired ? 0 : 1);
        std::vector<std::string> cues;
        if (c.fired) cues.push_back("FirstW.wav");
        if (c.captured) cues.push_back("PCapture.wav");
        EXPECT_EQ(platform.cues, cues);
        EXPECT_EQ(platform.explosions, c.explosions);
        EXPECT_EQ(rock && g_selAsteroid == rock, c.goesOn);
    }
}

TEST_F(MapClickTest, AnArmedMissileDestroysWhateverIsCloserThanEightyToAReadyShip) {
    struct Case {
        Kind target;
        int distance;
        bool ready, destroyed;
    } cases[] = {{S, 79, true, true},  {S, 80, true, false}, {S, 79, false, false}, {P, 79, true, true},
                 {P, 80, true, false}, {A, 79, true, true},  {A, 80, true, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.target << " " << c.distance << " ready " << c.ready);
        ClearWorld();
        Ship* ship = static_cast<Ship*>(Select(S, 1200, 1200));
        ship->equip[kNuclearMissile] = 1;
        ship->weaponReady = c.ready;
        g_rocketMode = 1;
        void* target = Target(c.target, false, 1200, 1200 + c.distance, 100000);
        OnLButtonDown(Px(1200), Py(1200 + c.distance));
        const bool gone = c.target == P   ? IndexOf(world->planets, static_cast<Planet*>(target)) == 0
                          : c.target == A ? IndexOf(world->asteroids, static_cast<Asteroid*>(target)) == 0
                                          : IndexOf(world->ships, static_cast<Ship*>(target)) == 0;
        EXPECT_EQ(gone, c.destroyed);
        EXPECT_EQ(ship->equip[kNuclearMissile], c.destroyed ? 0 : 1);
        EXPECT_EQ(g_rocketMode, c.destroyed ? 0 : 1);
        EXPECT_EQ(ship->weaponReady, c.destroyed ? 0 : c.ready);
        EXPECT_EQ(platform.cues, c.destroyed ? std::vector<std::string>{"Stinger.wav"} : std::vector<std::string>{});
        EXPECT_EQ(platform.explosions, c.destroyed ? 2 : 0);
    }
}

TEST_F(MapClickTest, AMoveWithinTheActionPointsCostsItsDistanceRoundedDownInFourDrawnSteps) {
    // (1201, 1200) to (1400, 1075) is 235.002 away: 235 points are too few.
    Ship* ship = ShipAt(human, 1201, 1200, 235);
    g_selShip = ship;
    platform.watched = ship;
    OnLButtonDown(Px(1400), Py(1075));
    EXPECT_EQ(ship->x, 1201);
    EXPECT_EQ(platform.frameWaits, 0);
    ship->actionPoints = 236;
    OnLButtonDown(Px(1400), Py(1075));
    EXPECT_EQ(ship->actionPoints, 1);
    EXPECT_EQ(ship->x, 1400);
    EXPECT_EQ(ship->y, 1075);
    // A quarter, half and three quarters of the way, truncated.
    EXPECT_EQ(platform.places, (std::vector<std::pair<int, int>>{{1250, 1168}, {1300, 1137}, {1350, 1106}}));

    // A Hyper Module is kept for a move within reach and spent on a jump beyond it.
    ship->equip[kHyperModule] = 1;
    ship->actionPoints = 40;
    OnLButtonDown(Px(1430), Py(1075));
    EXPECT_EQ(ship->actionPoints, 10);
    EXPECT_EQ(ship->equip[kHyperModule], 1);
    OnLButtonDown(Px(1700), Py(1400));
    EXPECT_EQ(ship->x, 1700);
    EXPECT_EQ(ship->y, 1400);
    EXPECT_EQ(ship->actionPoints, 0);
    EXPECT_EQ(ship->equip[kHyperModule], 0);
    EXPECT_EQ(platform.frameWaits, 6);  // the jump itself is not drawn
}

TEST_F(MapClickTest, AShipLandsCloserThanItsPointsPlus28AndDocksCloserThanItsPointsPlus15) {
    struct Case {
        Kind body;
        int distance, points;
        bool lands;
    } cases[] = {{P, 78, 50, false}, {P, 77, 50, true}, {A, 35, 20, false}, {A, 34, 20, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.body << " " << c.distance);
        ClearWorld();
        Ship* ship = ShipAt(human, 1200, 1200, c.points);
        g_selShip = g_hoverShip = ship;
        void* body = Target(c.body, true, 1200 + c.distance, 1200);
        OnLButtonDown(Px(1210 + c.distance), Py(1200));  // 10 past the body's centre
        EXPECT_EQ(Selected(), body);
        EXPECT_EQ(IndexOf(world->ships, ship) == 0, c.lands);
        if (!c.lands) continue;
        const Ship* landed = c.body == P ? static_cast<Planet*>(body)->docks : static_cast<Asteroid*>(body)->ships;
        ASSERT_NE(landed, nullptr);
        EXPECT_EQ(landed->actionPoints, 0);
        EXPECT_EQ(g_hoverShip, nullptr);
        EXPECT_EQ(platform.cues, std::vector<std::string>{"Landing.wav"});
        EXPECT_EQ(platform.frameWaits, 3);
    }
}

TEST_F(MapClickTest, AnArmedHyperJumperBringsTheShipIntoTheWorldShownAndIsSpentAtHome) {
    Ship* ship = AddShip(other, human, scout, 300, 300);
    ship->equip[kHyperJumper] = ship->equip[kSpaceScanner] = 1;
    ship->shieldPoints = 77;
    g_selShip = ship;
    g_jumpMode = 1;
    OnLButtonDown(400, 250);
    EXPECT_EQ(g_jumpMode, 0);
    EXPECT_EQ(other->ships, nullptr);
    Ship* arrived = world->ships;
    ASSERT_NE(arrived, nullptr);
    EXPECT_EQ(g_selShip, arrived);
    EXPECT_EQ(std::make_pair(arrived->x, arrived->y), std::make_pair(1400, 1250));
    EXPECT_EQ(arrived->actionPoints, 0);
    EXPECT_EQ(arrived->equip[kHyperJumper], 0);
    EXPECT_EQ(arrived->equip[kSpaceScanner], 1);
    EXPECT_EQ(arrived->shieldPoints, 77);
    arrived->equip[kHyperJumper] = 1;
    g_jumpMode = 1;
    OnLButtonDown(600, 500);
    EXPECT_EQ(g_jumpMode, 0);
    EXPECT_EQ(arrived->equip[kHyperJumper], 0);
    EXPECT_EQ(arrived->x, 1400);
    EXPECT_EQ(world->ships, arrived);
}

TEST_F(MapClickTest, TheMinimapRecentresTheViewInsideTheWorldAndKeepsTheSelection) {
    g_worldSize = 2000;  // the minimap spans x 685..785, y 10..110, exclusive
    struct Case {
        int px, py, left, top;
    } cases[] = {{735, 60, 600, 700}, {686, 11, 0, 0},   {784, 109, 1200, 1400}, {685, 60, -1, -1},
                 {785, 60, -1, -1},   {735, 10, -1, -1}, {735, 110, -1, -1}};
    Planet* own = PlanetAt(human, 300, 300);
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.px << "," << c.py);
        g_viewLeft = g_viewTop = 500;
        g_viewRight = 1300;
        g_viewBottom = 1100;
        g_selPlanet = own;
        OnLButtonDown(c.px, c.py);
        EXPECT_EQ(g_viewLeft, c.left < 0 ? 500 : c.left);
        EXPECT_EQ(g_viewTop, c.top < 0 ? 500 : c.top);
        EXPECT_EQ(g_viewRight - g_viewLeft, 800);
        EXPECT_EQ(g_viewBottom - g_viewTop, 600);
        EXPECT_EQ(g_selPlanet, own);
    }
}

}  // namespace
}  // namespace qv
