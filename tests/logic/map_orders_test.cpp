// The left button on the map: selecting, panels, shots, captures, missiles, moves, landing, jumps and the minimap.
#include "orders/map_orders.h"
#include "player_orders_fixture.h"

namespace qv {
namespace {

enum Kind { None, P, A, S };
using O = ClickOutcome;

class MapClickTest : public testing::PlayerOrdersTest {
protected:
    // The human's record of the kind at (x, y), selected.
    void* Select(Kind k, int x, int y) {
        if (k == P) return g_selPlanet = PlanetAt(human, x, y);
        if (k == A) return g_selAsteroid = AsteroidAt(x, y);
        return k == S ? g_selShip = ShipAt(human, x, y) : nullptr;
    }
    // A target of the human's or the computer's (an asteroid is anyone's).
    void* Target(Kind k, bool own, int x, int y, int shield = 500) {
        if (k == P) return PlanetAt(own ? human : computer, x, y, shield);
        return k == A ? static_cast<void*>(AsteroidAt(x, y)) : ShipAt(own ? human : computer, x, y, 0, shield);
    }
    bool Gone(Kind k, void* r) {
        return k == P   ? !IndexOf(world->planets, static_cast<Planet*>(r))
               : k == A ? !IndexOf(world->asteroids, static_cast<Asteroid*>(r))
                        : !IndexOf(world->ships, static_cast<Ship*>(r));
    }
    static void* Selected() { return g_selPlanet ? g_selPlanet : g_selAsteroid ? (void*)g_selAsteroid : g_selShip; }
};

TEST_F(MapClickTest, AClickSelectsAnOwnShipOrPlanetOrAnyAsteroidWithinItsHitRadiusOrOpensTheSelectedOnesPanel) {
    // Planets at 30 with nothing selected, else closer than 30; asteroids 17, ships 15.
    const std::tuple<Kind, Kind, bool, int, bool> cases[] = {
        {None, P, 1, 30, 1}, {None, P, 1, 31, 0}, {None, P, 0, 0, 0}, {None, A, 0, 16, 1}, {None, A, 0, 17, 0},
        {None, S, 1, 14, 1}, {None, S, 1, 15, 0}, {None, S, 0, 0, 0}, {P, P, 1, 29, 1},    {P, P, 1, 30, 0},
        {P, P, 0, 0, 0},     {P, A, 0, 16, 1},    {P, A, 0, 17, 0},   {P, S, 1, 14, 1},    {P, S, 1, 15, 0},
        {P, S, 0, 0, 0},     {A, P, 1, 29, 1},    {A, P, 1, 30, 0},   {A, P, 0, 0, 0},     {A, A, 0, 16, 1},
        {A, A, 0, 17, 0},    {A, S, 1, 14, 1},    {A, S, 1, 15, 0},   {A, S, 0, 0, 0},     {S, S, 1, 14, 1},
        {S, S, 1, 15, 0},    {S, P, 1, 29, 1},    {S, P, 1, 30, 0},   {S, A, 0, 16, 1},    {S, A, 0, 17, 0}};
    for (const auto& [selected, kind, own, dx, taken] : cases) {
        SCOPED_TRACE(::testing::Message() << selected << " -> " << kind << " own " << own << " at " << dx);
        ClearWorld();
        void* before = Select(selected, 1100, 1100);
        void* target = Target(kind, own, 1500, 1300);
        EXPECT_EQ(OnLButtonDown(Px(1500 + dx), Py(1300)), O::Nothing);
        EXPECT_EQ(Selected(), taken ? target : before);
    }
    // Of two own ships under the pointer the one nearer the head; nothing on the title screen.
    ClearWorld();
    Ship* head = ShipAt(human, 1305, 1300);
    ShipAt(human, 1300, 1305);
    for (int count : {1, 2}) {
        g_newDocCount = count;
        OnLButtonDown(Px(1302), Py(1302));
        EXPECT_EQ(Selected(), count == 2 ? head : nullptr);
    }
    const std::tuple<Kind, int, int, bool, O> panels[] = {
        {P, 29, 0, 1, O::PlanetPanel}, {P, 30, 0, 1, O::Nothing}, {A, 16, 16, 1, O::AsteroidPanel},
        {A, 17, 0, 1, O::Nothing},     {A, 0, 17, 1, O::Nothing}, {S, 14, 0, 1, O::ShipPanel},
        {S, 15, 0, 1, O::Nothing},     {S, 0, 0, 0, O::Nothing}};  // someone else's ship, left selected by a capture
    for (const auto& [selected, dx, dy, own, outcome] : panels) {
        ClearWorld();
        Select(selected, 1500, 1300);
        if (!own) g_selShip->owner = computer;
        EXPECT_EQ(OnLButtonDown(Px(1500 + dx), Py(1300 + dy)), outcome) << selected << " " << dx << "," << dy;
    }
}

TEST_F(MapClickTest, ShotsReachTheirRangeAndAShipsShotCapturesAPlanetLeftWithAHundredOrLess) {
    // A planet shoots within range + 30; a ship within less than range + 15 at ships, + 30 at planets; the click goes
    // on to an asteroid unless a shot stopped it. Shooter, target, distance, shield, after (-1 gone), fired, captured,
    // goes on, explosions:
    const std::tuple<Kind, Kind, int, int, int, bool, bool, bool, int> cases[] = {
        {P, P, 130, 300, 250, 1, 0, 1, 0}, {P, P, 131, 300, 300, 0, 0, 1, 0}, {P, P, 130, 50, -1, 1, 0, 0, 0},
        {P, P, 100, 60, 10, 1, 0, 1, 0},   {P, S, 130, 300, 250, 1, 0, 0, 2}, {P, S, 131, 300, 300, 0, 0, 0, 0},
        {P, S, 100, 50, -1, 1, 0, 0, 2},   {S, S, 114, 300, 250, 1, 0, 0, 2}, {S, S, 115, 300, 300, 0, 0, 0, 0},
        {S, S, 100, 50, -1, 1, 0, 0, 2},   {S, P, 129, 151, 101, 1, 0, 0, 0}, {S, P, 129, 150, 100, 1, 1, 0, 0},
        {S, P, 129, 51, 1, 1, 1, 0, 0},    {S, P, 129, 50, -1, 1, 0, 0, 0},   {S, P, 130, 300, 300, 0, 0, 1, 0}};
    for (const auto& [shooter, kind, distance, shield, after, fired, captured, goesOn, explosions] : cases) {
        SCOPED_TRACE(::testing::Message() << shooter << " at " << kind << " " << distance << " " << shield);
        ClearWorld();
        Select(shooter, 1200, 1200);
        std::uint8_t& ready = shooter == P ? g_selPlanet->weaponReady : g_selShip->weaponReady;
        (shooter == P ? g_selPlanet->weapon : g_selShip->weapon) = FixedWeapon(50, 100), ready = 1;
        void* target = Target(kind, false, 1200 + distance, 1200, shield);
        auto* planet = kind == P ? static_cast<Planet*>(target) : nullptr;
        Asteroid* rock = planet ? AsteroidAt(1205 + distance, 1200) : nullptr;
        OnLButtonDown(Px(1200 + distance), Py(1200));
        EXPECT_EQ(Gone(kind, target), after < 0);
        EXPECT_EQ(after < 0 ? -1 : planet ? planet->shieldPoints : static_cast<Ship*>(target)->shieldPoints, after);
        EXPECT_EQ(after < 0 || !planet ? computer : planet->owner, captured ? human : computer);
        EXPECT_EQ(ready, !fired);
        EXPECT_EQ(Join(platform.cues), captured ? "FirstW.wav|PCapture.wav" : fired ? "FirstW.wav" : "");
        EXPECT_EQ(std::make_pair(platform.explosions, rock && g_selAsteroid == rock),
                  std::make_pair(explosions, goesOn));
    }
}

TEST_F(MapClickTest, AMissileDestroysAnythingCloserThan80AndAShipLandsCloserThanItsPointsPlus28OrDocksPlus15) {
    const std::tuple<Kind, int, bool, bool> cases[] = {{S, 79, 1, 1}, {S, 80, 1, 0}, {S, 79, 0, 0}, {P, 79, 1, 1},
                                                       {P, 80, 1, 0}, {A, 79, 1, 1}, {A, 80, 1, 0}};
    for (const auto& [kind, distance, ready, destroyed] : cases) {
        SCOPED_TRACE(::testing::Message() << kind << " " << distance << " ready " << ready);
        ClearWorld();
        Ship* ship = static_cast<Ship*>(Select(S, 1200, 1200));
        ship->equip[kNuclearMissile] = g_rocketMode = 1;
        ship->weaponReady = ready;
        void* target = Target(kind, false, 1200, 1200 + distance, 100000);
        OnLButtonDown(Px(1200), Py(1200 + distance));
        EXPECT_EQ((std::vector<int>{Gone(kind, target), ship->equip[kNuclearMissile], g_rocketMode, ship->weaponReady,
                                    platform.explosions}),
                  (std::vector<int>{destroyed, !destroyed, !destroyed, ready && !destroyed, destroyed ? 2 : 0}));
        EXPECT_EQ(Join(platform.cues), destroyed ? "Stinger.wav" : "");
    }
    const std::tuple<Kind, int, int, bool> landings[] = {
        {P, 78, 50, 0}, {P, 77, 50, 1}, {A, 35, 20, 0}, {A, 34, 20, 1}};
    for (const auto& [kind, distance, points, lands] : landings) {
        SCOPED_TRACE(::testing::Message() << kind << " " << distance);
        ClearWorld();
        Ship* ship = g_selShip = g_hoverShip = ShipAt(human, 1200, 1200, points);
        void* body = Target(kind, true, 1200 + distance, 1200);
        OnLButtonDown(Px(1210 + distance), Py(1200));  // 10 past the body's centre
        EXPECT_EQ(Selected(), body);
        const Ship* landed = kind == P ? static_cast<Planet*>(body)->docks : static_cast<Asteroid*>(body)->ships;
        EXPECT_EQ(IndexOf(world->ships, ship) == 0 && landed && landed->actionPoints == 0 && !g_hoverShip, lands);
        EXPECT_EQ(Join(platform.cues) + std::to_string(platform.frameWaits), lands ? "Landing.wav3" : "0");
    }
}

TEST_F(MapClickTest, AMoveCostsItsDistanceRoundedDownInFourDrawnStepsJumpsCostAllPointsAndTheMinimapRecentres) {
    // (1201, 1200) to (1400, 1075) is 235.002 away: 235 points are too few.
    Ship* ship = g_selShip = ShipAt(human, 1201, 1200, 235);
    platform.watched = ship;
    for (int points : {235, 236}) {
        ship->actionPoints = points;
        OnLButtonDown(Px(1400), Py(1075));
    }
    EXPECT_EQ(platform.places, (std::vector<std::pair<int, int>>{{1250, 1168}, {1300, 1137}, {1350, 1106}}));
    EXPECT_EQ((std::vector<int>{ship->x, ship->y, ship->actionPoints}), (std::vector<int>{1400, 1075, 1}));
    // A Hyper Module is kept for a move within reach and spent on a jump beyond it, not drawn.
    ship->equip[kHyperModule] = 1;
    ship->actionPoints = 40;
    OnLButtonDown(Px(1430), Py(1075));
    EXPECT_EQ(ship->actionPoints + ship->equip[kHyperModule], 11);
    OnLButtonDown(Px(1700), Py(1400));
    EXPECT_EQ((std::vector<int>{ship->x, ship->y, ship->actionPoints, ship->equip[kHyperModule], platform.frameWaits}),
              (std::vector<int>{1700, 1400, 0, 0, 6}));
    // An armed Hyper Jumper brings a ship of another world into the world shown; at home it is only spent.
    ship = g_selShip = AddShip(other, human, scout, 300, 300);
    ship->equip[kHyperJumper] = ship->equip[kSpaceScanner] = g_jumpMode = 1;
    OnLButtonDown(400, 250);
    Ship* arrived = world->ships;
    ASSERT_TRUE(arrived && !other->ships && g_selShip == arrived);
    EXPECT_EQ((std::vector<int>{arrived->x, arrived->y, g_jumpMode, arrived->actionPoints, arrived->equip[kHyperJumper],
                                arrived->equip[kSpaceScanner]}),
              (std::vector<int>{1400, 1250, 0, 0, 0, 1}));
    arrived->equip[kHyperJumper] = g_jumpMode = 1;
    OnLButtonDown(600, 500);
    EXPECT_EQ((std::vector<int>{arrived->x, g_jumpMode, arrived->equip[kHyperJumper]}), (std::vector<int>{1400, 0, 0}));
    // The minimap recentres the view inside the world and keeps the selection.
    g_worldSize = 2000;  // the minimap spans x 685..785, y 10..110, exclusive
    const std::tuple<int, int, int, int> cases[] = {{735, 60, 600, 700}, {686, 11, 0, 0},     {784, 109, 1200, 1400},
                                                    {685, 60, 500, 500}, {785, 60, 500, 500}, {735, 10, 500, 500},
                                                    {735, 110, 500, 500}};
    for (const auto& [px, py, left, top] : cases) {
        g_selPlanet = planet;
        CentreViewOn(900, 800);  // the view at (500, 500)
        OnLButtonDown(px, py);
        EXPECT_EQ((std::vector<int>{g_viewLeft, g_viewTop, g_viewRight, g_viewBottom}),
                  (std::vector<int>{left, top, left + 800, top + 600}))
            << px << "," << py;
        EXPECT_EQ(g_selPlanet, planet);
    }
}

}  // namespace
}  // namespace qv
