// The pointer over the map: the scroll zones 20 wide along the view's edges
// and their flags, the hover record, and the cursor telling what a click would do.
#include <tuple>

#include "orders/pointer_tracking.h"
#include "player_orders_fixture.h"

namespace qv {
namespace {

using C = MapCursor;
using Probes = std::vector<std::tuple<int, int, C>>;

class PointerTest : public testing::PlayerOrdersTest {
protected:
    // The cursor at each map place, also sent to the platform.
    void Expect(const Probes& probes, bool onMap = true) {
        for (const auto& [x, y, cursor] : probes) {
            EXPECT_EQ(onMap ? OnMouseMove(Px(x), Py(y)) : OnMouseMove(x, y), cursor) << x << "," << y;
            EXPECT_EQ(platform.cursor, CursorNumber(cursor));
        }
    }
};

TEST_F(PointerTest, TheScrollZonesLeaveTheTopRowAndTheBottomTwoRowsBetweenTheCornersInner) {
    const Probes zones = {{19, 300, C::ScrollLeft},       {20, 300, C::Standard},     {781, 300, C::ScrollRight},
                          {780, 300, C::Standard},        {400, 19, C::ScrollUp},     {400, 20, C::Standard},
                          {400, 2, C::ScrollUp},          {400, 1, C::Standard},      {400, 581, C::ScrollDown},
                          {400, 580, C::Standard},        {400, 598, C::ScrollDown},  {400, 599, C::Standard},
                          {19, 19, C::ScrollUpLeft},      {781, 1, C::ScrollUpRight}, {19, 599, C::ScrollDownLeft},
                          {781, 581, C::ScrollDownRight}, {20, 581, C::ScrollDown},   {780, 19, C::ScrollUp}};
    Expect(zones, false);
}

TEST_F(PointerTest, AnEdgeClearsTheCornersACornerTheEdgesAndTheInnerAreaAll) {
    const std::pair<std::pair<int, int>, std::vector<int>> moves[] = {
        {{10, 10}, {0, 0, 0, 0, 0, 0, 1, 0}},  {{400, 10}, {1, 0, 0, 0, 0, 0, 0, 0}},
        {{10, 300}, {1, 0, 1, 0, 0, 0, 0, 0}}, {{790, 590}, {0, 0, 0, 0, 0, 1, 0, 0}},
        {{790, 5}, {0, 0, 0, 0, 1, 1, 0, 0}},  {{400, 300}, {0, 0, 0, 0, 0, 0, 0, 0}}};
    for (const auto& [place, flags] : moves) {
        OnMouseMove(place.first, place.second);
        EXPECT_EQ(ScrollFlags(), flags) << place.first << "," << place.second;
    }
    OnMouseMove(10, 590);
    OnNcMouseMove();
    EXPECT_EQ(ScrollFlags(), std::vector<int>(8, 0));
    // On the title screen the arrow shows and no flag changes.
    g_newDocCount = 1;
    g_scrollLeft = 1;
    EXPECT_EQ(OnMouseMove(10, 10), C::Standard);
    EXPECT_EQ(ScrollFlags(), (std::vector<int>{0, 0, 1, 0, 0, 0, 0, 0}));
}

TEST_F(PointerTest, TheHoverRecordIsAShipBeforeAPlanetBeforeAnAsteroidWithinTheirRadii) {
    Planet* p = PlanetAt(computer, 1300, 1300);
    Asteroid* a = AsteroidAt(1500, 1300);
    Ship* s = ShipAt(computer, 1310, 1300);
    const std::tuple<int, Ship*, Planet*, Asteroid*> cases[] = {{1305, s, nullptr, nullptr},
                                                                {1271, nullptr, p, nullptr},
                                                                {1270, nullptr, nullptr, nullptr},
                                                                {1516, nullptr, nullptr, a},
                                                                {1517, nullptr, nullptr, nullptr}};
    for (const auto& [x, ship, planet, asteroid] : cases) {
        OnMouseMove(Px(x), Py(1300));
        EXPECT_EQ(std::make_tuple(g_hoverShip, g_hoverPlanet, g_hoverAsteroid), std::make_tuple(ship, planet, asteroid))
            << x;
    }
    OnMouseMove(Px(1516), Py(1300));
    OnMouseMove(5, 300);  // a scroll zone clears it
    EXPECT_EQ(g_hoverAsteroid, nullptr);
}

TEST_F(PointerTest, ASelectedPlanetOrAsteroidShowsInformationOverItselfAndAttackWithinReach) {
    Planet* own = g_selPlanet = PlanetAt(human, 1200, 1200);
    own->weapon = FixedWeapon(10, 100);
    own->weaponReady = 1;
    ShipAt(computer, 1330, 1200);    // range + 30
    PlanetAt(computer, 1200, 1331);  // range + 31
    PlanetAt(computer, 1200, 1070);  // range + 30
    const Probes armed = {{1229, 1200, C::Information}, {1230, 1200, C::Standard}, {1330, 1214, C::Attack},
                          {1330, 1215, C::Standard},    {1229, 1331, C::Standard}, {1229, 1070, C::Attack}};
    Expect(armed);
    own->weaponReady = 0;
    const Probes unready = {{1330, 1200, C::Standard}, {1200, 1070, C::Standard}};
    Expect(unready);
    g_selPlanet = nullptr;
    g_selAsteroid = AsteroidAt(1600, 1300);
    const Probes asteroid = {{1616, 1300, C::Information}, {1617, 1300, C::Standard}};
    Expect(asteroid);
}

TEST_F(PointerTest, ASelectedShipShowsWhatItsClickWouldDo) {
    // The ship at (1200, 1200) with 100 points and a ready weapon of range 50.
    Ship* ship = g_selShip = ShipAt(human, 1200, 1200, 100);
    ship->weapon = FixedWeapon(10, 50);
    ship->weaponReady = 1;
    ShipAt(computer, 1200, 1135);    // 65 away
    ShipAt(computer, 1266, 1200);    // 66
    ShipAt(computer, 1248, 1136);    // 80
    ShipAt(computer, 1248, 1265);    // 80.8
    PlanetAt(computer, 1152, 1136);  // 80
    PlanetAt(computer, 1152, 1265);  // 80.8
    PlanetAt(human, 1200, 1270);     // 70
    AsteroidAt(1120, 1200);          // 80
    // Moves closer than the points; landing in a square of 30 round an own
    // planet, 17 round an asteroid; attack within range + 15 of a ship, + 30 of a planet.
    const Probes ready = {{1214, 1200, C::Information}, {1215, 1200, C::Move},   {1299, 1200, C::Move},
                          {1300, 1200, C::Standard},    {1229, 1241, C::Land},   {1230, 1241, C::Move},
                          {1136, 1216, C::Land},        {1137, 1216, C::Move},   {1200, 1135, C::Attack},
                          {1266, 1200, C::Move},        {1152, 1136, C::Attack}, {1152, 1265, C::Move}};
    Expect(ready);
    // Beyond reach, the jump needs a Hyper Module and the model's whole speed (60).
    ship->equip[kHyperModule] = 1;
    ship->actionPoints = 59;
    EXPECT_EQ(OnMouseMove(Px(1300), Py(1200)), C::Standard);
    ship->actionPoints = 60;
    EXPECT_EQ(OnMouseMove(Px(1300), Py(1200)), C::Jump);
    // The armed missile: within 80 of the ship, ready or not; asteroids under 15 of the pointer.
    ship->actionPoints = 100;
    ship->weaponReady = 0;
    g_rocketMode = 1;
    const Probes missile = {{1248, 1136, C::Missile}, {1248, 1265, C::Move},    {1152, 1136, C::Missile},
                            {1152, 1265, C::Move},    {1134, 1200, C::Missile}, {1135, 1200, C::Land}};
    Expect(missile);
    // The armed hyper jump covers the whole inner area.
    g_jumpMode = 1;
    const Probes jumping = {{1214, 1200, C::HyperJump}, {1400, 1500, C::HyperJump}};
    Expect(jumping);
    EXPECT_EQ(OnMouseMove(10, 300), C::ScrollLeft);
}

}  // namespace
}  // namespace qv
