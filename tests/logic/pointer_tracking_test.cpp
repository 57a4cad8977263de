// The pointer over the map: the scroll zones 20 wide along the view's edges
// and their flags, the hover record, and the cursor telling what a click would do.
#include <tuple>

#include "orders/pointer_tracking.h"
#include "player_orders_fixture.h"

namespace qv {
namespace {

using PointerTest = testing::PlayerOrdersTest;
using C = MapCursor;

// Up, down, left, right, then the corners up-right, down-right, up-left, down-left.
std::vector<int> Flags() {
    return {g_scrollUp,      g_scrollDown,      g_scrollLeft,   g_scrollRight,
            g_scrollUpRight, g_scrollDownRight, g_scrollUpLeft, g_scrollDownLeft};
}

TEST_F(PointerTest, TheScrollZonesOfAnEightHundredBySixHundredView) {
    // The top row and the bottom two rows between the corners are inner.
    const std::tuple<int, int, C> cases[] = {
        {19, 300, C::ScrollLeft},       {20, 300, C::Standard},     {781, 300, C::ScrollRight},
        {780, 300, C::Standard},        {400, 19, C::ScrollUp},     {400, 20, C::Standard},
        {400, 2, C::ScrollUp},          {400, 1, C::Standard},      {400, 581, C::ScrollDown},
        {400, 580, C::Standard},        {400, 598, C::ScrollDown},  {400, 599, C::Standard},
        {19, 19, C::ScrollUpLeft},      {781, 1, C::ScrollUpRight}, {19, 599, C::ScrollDownLeft},
        {781, 581, C::ScrollDownRight}, {20, 581, C::ScrollDown},   {780, 19, C::ScrollUp},
    };
    for (const auto& [x, y, cursor] : cases) {
        SCOPED_TRACE(::testing::Message() << x << "," << y);
        EXPECT_EQ(OnMouseMove(x, y), cursor);
        EXPECT_EQ(platform.cursor, CursorNumber(cursor));
    }
}

TEST_F(PointerTest, AnEdgeClearsTheCornersACornerTheEdgesAndTheInnerAreaAll) {
    OnMouseMove(10, 10);
    EXPECT_EQ(Flags(), (std::vector<int>{0, 0, 0, 0, 0, 0, 1, 0}));
    OnMouseMove(400, 10);
    EXPECT_EQ(Flags(), (std::vector<int>{1, 0, 0, 0, 0, 0, 0, 0}));
    OnMouseMove(10, 300);
    EXPECT_EQ(Flags(), (std::vector<int>{1, 0, 1, 0, 0, 0, 0, 0}));
    OnMouseMove(790, 590);
    OnMouseMove(790, 5);
    EXPECT_EQ(Flags(), (std::vector<int>{0, 0, 0, 0, 1, 1, 0, 0}));
    OnMouseMove(400, 300);
    EXPECT_EQ(Flags(), std::vector<int>(8, 0));
    OnMouseMove(10, 590);
    OnNcMouseMove();
    EXPECT_EQ(Flags(), std::vector<int>(8, 0));
    // On the title screen the arrow shows and no flag changes.
    g_newDocCount = 1;
    g_scrollLeft = 1;
    EXPECT_EQ(OnMouseMove(10, 10), C::Standard);
    EXPECT_EQ(Flags(), (std::vector<int>{0, 0, 1, 0, 0, 0, 0, 0}));
    EXPECT_EQ(platform.cursor, CursorNumber(C::Standard));
}

TEST_F(PointerTest, TheHoverRecordIsAShipBeforeAPlanetBeforeAnAsteroidWithinTheirRadii) {
    Planet* p = PlanetAt(computer, 1300, 1300);
    Asteroid* a = AsteroidAt(1500, 1300);
    Ship* s = ShipAt(computer, 1310, 1300);
    OnMouseMove(Px(1305), Py(1300));
    EXPECT_EQ(g_hoverShip, s);
    EXPECT_EQ(g_hoverPlanet, nullptr);
    OnMouseMove(Px(1271), Py(1300));
    EXPECT_EQ(g_hoverShip, nullptr);
    EXPECT_EQ(g_hoverPlanet, p);
    OnMouseMove(Px(1270), Py(1300));
    EXPECT_EQ(g_hoverPlanet, nullptr);
    OnMouseMove(Px(1516), Py(1300));
    EXPECT_EQ(g_hoverAsteroid, a);
    OnMouseMove(Px(1517), Py(1300));
    EXPECT_EQ(g_hoverAsteroid, nullptr);
    OnMouseMove(Px(1516), Py(1300));
    OnMouseMove(5, 300);  // a scroll zone clears it
    EXPECT_EQ(g_hoverAsteroid, nullptr);
}

TEST_F(PointerTest, ASelectedPlanetOrAsteroidShowsInformationOverItselfAndAttackWithinReach) {
    Planet* own = PlanetAt(human, 1200, 1200);
    own->weapon = FixedWeapon(10, 100);
    own->weaponReady = 1;
    ShipAt(computer, 1330, 1200);  // exactly range + 30
    Planet* far = PlanetAt(computer, 1200, 1331);
    g_selPlanet = own;
    EXPECT_EQ(OnMouseMove(Px(1229), Py(1200)), C::Information);
    EXPECT_EQ(OnMouseMove(Px(1230), Py(1200)), C::Standard);
    EXPECT_EQ(OnMouseMove(Px(1330), Py(1214)), C::Attack);
    EXPECT_EQ(OnMouseMove(Px(1330), Py(1215)), C::Standard);
    EXPECT_EQ(OnMouseMove(Px(1229), Py(1331)), C::Standard);
    far->y = 1330;
    EXPECT_EQ(OnMouseMove(Px(1229), Py(1330)), C::Attack);
    own->weaponReady = 0;
    EXPECT_EQ(OnMouseMove(Px(1330), Py(1200)), C::Standard);
    g_selPlanet = nullptr;
    g_selAsteroid = AsteroidAt(1600, 1300);
    EXPECT_EQ(OnMouseMove(Px(1616), Py(1300)), C::Information);
    EXPECT_EQ(OnMouseMove(Px(1617), Py(1300)), C::Standard);
}

TEST_F(PointerTest, ASelectedShipShowsWhatItsClickWouldDo) {
    Ship* ship = ShipAt(human, 1200, 1200, 100);
    ship->weapon = FixedWeapon(10, 50);
    ship->weaponReady = 1;
    g_selShip = ship;
    EXPECT_EQ(OnMouseMove(Px(1214), Py(1200)), C::Information);
    EXPECT_EQ(OnMouseMove(Px(1215), Py(1200)), C::Move);
    EXPECT_EQ(OnMouseMove(Px(1299), Py(1200)), C::Move);
    EXPECT_EQ(OnMouseMove(Px(1300), Py(1200)), C::Standard);
    // Beyond reach, the jump needs a Hyper Module and the model's whole speed (60).
    ship->equip[kHyperModule] = 1;
    ship->actionPoints = 60;
    EXPECT_EQ(OnMouseMove(Px(1300), Py(1200)), C::Jump);
    ship->actionPoints = 59;
    EXPECT_EQ(OnMouseMove(Px(1300), Py(1200)), C::Standard);
    ship->actionPoints = 100;
    ship->equip[kHyperModule] = 0;
    // Landing within reach: own planets in a square of 30, asteroids of 17.
    PlanetAt(human, 1250, 1200);
    EXPECT_EQ(OnMouseMove(Px(1279), Py(1229)), C::Land);
    EXPECT_EQ(OnMouseMove(Px(1280), Py(1229)), C::Move);
    Asteroid* rock = AsteroidAt(1200, 1250);
    EXPECT_EQ(OnMouseMove(Px(1216), Py(1266)), C::Land);
    EXPECT_EQ(OnMouseMove(Px(1217), Py(1266)), C::Move);
    // Attack within range + 15 of an enemy ship, range + 30 of an enemy planet.
    Ship* foe = ShipAt(computer, 1200, 1135);
    EXPECT_EQ(OnMouseMove(Px(1200), Py(1135)), C::Attack);
    foe->y = 1134;
    EXPECT_EQ(OnMouseMove(Px(1200), Py(1134)), C::Move);
    Planet* enemy = PlanetAt(computer, 1152, 1135);  // 80.6 away
    EXPECT_EQ(OnMouseMove(Px(1152), Py(1135)), C::Move);
    enemy->y = 1136;  // exactly 80 away
    EXPECT_EQ(OnMouseMove(Px(1152), Py(1136)), C::Attack);
    // The armed missile: within 80, ready or not; asteroids under 15 of the pointer.
    g_rocketMode = 1;
    ship->weaponReady = 0;
    EXPECT_EQ(OnMouseMove(Px(1152), Py(1136)), C::Missile);
    foe->x = 1248;
    foe->y = 1135;  // 80.6 away
    EXPECT_EQ(OnMouseMove(Px(1248), Py(1135)), C::Move);
    foe->y = 1136;  // exactly 80 away
    EXPECT_EQ(OnMouseMove(Px(1248), Py(1136)), C::Missile);
    rock->x = 1280;
    rock->y = 1200;  // exactly 80 away
    EXPECT_EQ(OnMouseMove(Px(1294), Py(1200)), C::Missile);
    EXPECT_EQ(OnMouseMove(Px(1295), Py(1200)), C::Land);
    // The armed hyper jump covers the whole inner area.
    g_jumpMode = 1;
    EXPECT_EQ(OnMouseMove(Px(1210), Py(1200)), C::HyperJump);
    EXPECT_EQ(OnMouseMove(10, 300), C::ScrollLeft);
}

}  // namespace
}  // namespace qv
