// The pointer over the map: the scroll zones and their flags, the hover
// record, and the cursor that tells what a click would do (with the places
// where it knowingly differs from the click).
#include <atomic>

#include "map_orders_fixture.h"
#include "orders/pointer_tracking.h"

namespace qv {
namespace {

using testing::MapOrdersTest;

struct Flags {
    int ul, ur, dl, dr, l, u, r, d;
    bool operator==(const Flags&) const = default;
};

Flags Read() {
    return {g_scrollUpLeft.load(), g_scrollUpRight.load(), g_scrollDownLeft.load(), g_scrollDownRight.load(),
            g_scrollLeft.load(),   g_scrollUp.load(),      g_scrollRight.load(),    g_scrollDown.load()};
}

std::ostream& operator<<(std::ostream& os, const Flags& f) {
    return os << "ul" << f.ul << " ur" << f.ur << " dl" << f.dl << " dr" << f.dr << " l" << f.l << " u" << f.u << " r"
              << f.r << " d" << f.d;
}

class PointerTest : public MapOrdersTest {};

TEST_F(PointerTest, ScrollZonesRaiseTheirFlagAndTheInnerAreaClearsThemAll) {
    EXPECT_EQ(OnMouseMove(10, 10), MapCursor::ScrollUpLeft);
    EXPECT_EQ(Read(), (Flags{1, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(OnMouseMove(400, 10), MapCursor::ScrollUp);
    // An edge leaves the corners' flags cleared and other edges as they are.
    EXPECT_EQ(Read(), (Flags{0, 0, 0, 0, 0, 1, 0, 0}));
    EXPECT_EQ(OnMouseMove(10, 300), MapCursor::ScrollLeft);
    EXPECT_EQ(Read(), (Flags{0, 0, 0, 0, 1, 1, 0, 0}));  // up stays on
    EXPECT_EQ(OnMouseMove(795, 595), MapCursor::ScrollDownRight);
    EXPECT_EQ(Read(), (Flags{0, 0, 0, 1, 0, 0, 0, 0}));
    EXPECT_EQ(OnMouseMove(790, 5), MapCursor::ScrollUpRight);
    EXPECT_EQ(Read(), (Flags{0, 1, 0, 1, 0, 0, 0, 0}));  // another corner stays on
    EXPECT_EQ(OnMouseMove(5, 590), MapCursor::ScrollDownLeft);
    EXPECT_EQ(OnMouseMove(790, 300), MapCursor::ScrollRight);
    EXPECT_EQ(OnMouseMove(400, 590), MapCursor::ScrollDown);
    EXPECT_EQ(Read(), (Flags{0, 0, 0, 0, 0, 0, 1, 1}));
    // The two top rows and the bottom row between the corners are inner.
    EXPECT_EQ(OnMouseMove(400, 1), MapCursor::Standard);
    EXPECT_EQ(Read(), (Flags{}));
    OnMouseMove(400, 10);
    EXPECT_EQ(OnMouseMove(400, 599), MapCursor::Standard);
    EXPECT_EQ(Read(), (Flags{}));
    // The cursor reaches the platform as a map cursor number.
    OnMouseMove(10, 10);
    EXPECT_EQ(platform.cursor, CursorNumber(MapCursor::ScrollUpLeft));
    OnNcMouseMove();
    EXPECT_EQ(Read(), (Flags{}));
}

TEST_F(PointerTest, OnTheTitleScreenTheArrowShowsAndNoFlagChanges) {
    g_newDocCount = 1;
    g_scrollLeft = 1;
    EXPECT_EQ(OnMouseMove(10, 10), MapCursor::Standard);
    EXPECT_EQ(Read(), (Flags{0, 0, 0, 0, 1, 0, 0, 0}));
    EXPECT_EQ(platform.cursor, CursorNumber(MapCursor::Standard));
}

TEST_F(PointerTest, TheHoverRecordFollowsThePointerWhateverIsSelected) {
    Planet* p = AddPlanet(enemy, 1300, 1300);
    Asteroid* a = AddAsteroid(1500, 1300);
    Ship* s = AddShip(enemy, 1310, 1300);
    EXPECT_EQ(OnMouseMove(Px(1305), Py(1300)), MapCursor::Standard);  // nothing selected
    EXPECT_EQ(g_hoverShip, s);  // a ship before the planet under it
    EXPECT_EQ(g_hoverPlanet, nullptr);
    OnMouseMove(Px(1285), Py(1300));
    EXPECT_EQ(g_hoverShip, nullptr);
    EXPECT_EQ(g_hoverPlanet, p);
    OnMouseMove(Px(1516), Py(1300));
    EXPECT_EQ(g_hoverAsteroid, a);
    OnMouseMove(Px(1517), Py(1300));
    EXPECT_EQ(g_hoverAsteroid, nullptr);
    // A scroll zone clears the hover record.
    OnMouseMove(Px(1516), Py(1300));
    OnMouseMove(5, 300);
    EXPECT_EQ(g_hoverAsteroid, nullptr);
}

TEST_F(PointerTest, ASelectedPlanetShowsInformationAndAttack) {
    Planet* P = AddPlanet(human, 1200, 1200);
    P->weapon = FixedWeapon(10, 100);
    P->weaponReady = 1;
    Ship* foe = AddShip(enemy, 1330, 1200);  // exactly range + 30: the cursor says yes
    Planet* far = AddPlanet(enemy, 1200, 1331);
    g_selPlanet = P;
    EXPECT_EQ(OnMouseMove(Px(1229), Py(1200)), MapCursor::Information);
    EXPECT_EQ(OnMouseMove(Px(1330), Py(1200)), MapCursor::Attack);
    EXPECT_EQ(OnMouseMove(Px(1200), Py(1331)), MapCursor::Standard);
    far->y = 1330;
    EXPECT_EQ(OnMouseMove(Px(1200), Py(1330)), MapCursor::Attack);
    P->weaponReady = 0;
    EXPECT_EQ(OnMouseMove(Px(1330), Py(1200)), MapCursor::Standard);
    (void)foe;
}

TEST_F(PointerTest, ASelectedShipShowsWhatItsClickWouldDo) {
    Ship* S = AddShip(human, 1200, 1200);
    S->actionPoints = 100;
    S->weapon = FixedWeapon(10, 50);
    S->weaponReady = 1;
    g_selShip = S;
    EXPECT_EQ(OnMouseMove(Px(1210), Py(1200)), MapCursor::Information);
    EXPECT_EQ(OnMouseMove(Px(1250), Py(1200)), MapCursor::Move);
    // Beyond reach: the jump only with a module and the model's whole speed left.
    EXPECT_EQ(OnMouseMove(Px(1400), Py(1200)), MapCursor::Standard);
    S->equip[kHyperModule] = 1;
    S->actionPoints = S->model->speed;
    EXPECT_EQ(OnMouseMove(Px(1200 + S->model->speed + 50), Py(1200)), MapCursor::Jump);
    S->actionPoints = S->model->speed - 1;
    EXPECT_EQ(OnMouseMove(Px(1200 + S->model->speed + 50), Py(1200)), MapCursor::Standard);
    S->actionPoints = 100;

    // Land: own planets in a square of 30, asteroids in a square of 17,
    // within the ship's own reach.
    AddPlanet(human, 1260, 1200);
    EXPECT_EQ(OnMouseMove(Px(1260 + 29), Py(1200 + 29)), MapCursor::Land);  // 41 off: a square, not a circle
    Asteroid* a = AddAsteroid(1200, 1260);
    EXPECT_EQ(OnMouseMove(Px(1216), Py(1276)), MapCursor::Land);
    a->x = 1150;
    // Attack at exactly range + 15 from a ship (the click needs less).
    Ship* foe = AddShip(enemy, 1265, 1200);
    EXPECT_EQ(OnMouseMove(Px(1265), Py(1200)), MapCursor::Attack);
    foe->x = 1266;
    EXPECT_NE(OnMouseMove(Px(1266), Py(1200)), MapCursor::Attack);

    // The armed missile: within 80 exactly, whether or not the ship is ready.
    g_rocketMode = 1;
    S->weaponReady = 0;
    foe->x = 1280;
    EXPECT_EQ(OnMouseMove(Px(1280), Py(1200)), MapCursor::Missile);
    foe->x = 1281;
    EXPECT_NE(OnMouseMove(Px(1281), Py(1200)), MapCursor::Missile);
    // Asteroids count at 15 for the missile cursor, where the click takes 17.
    a->x = 1216;
    a->y = 1250;
    EXPECT_EQ(OnMouseMove(Px(1216 + 14), Py(1250)), MapCursor::Missile);
    EXPECT_NE(OnMouseMove(Px(1216 + 16), Py(1250)), MapCursor::Missile);
    // An asteroid, too, at exactly 80 from the ship.
    a->x = 1200;
    a->y = 1280;
    EXPECT_EQ(OnMouseMove(Px(1200), Py(1280)), MapCursor::Missile);

    // The armed hyper jump covers the whole inner area.
    g_jumpMode = 1;
    EXPECT_EQ(OnMouseMove(Px(1210), Py(1200)), MapCursor::HyperJump);
    EXPECT_EQ(OnMouseMove(400, 300), MapCursor::HyperJump);
    EXPECT_EQ(OnMouseMove(10, 300), MapCursor::ScrollLeft);
}

TEST_F(PointerTest, ASelectedAsteroidShowsInformationOverItself) {
    Asteroid* A = AddAsteroid(1300, 1300);
    g_selAsteroid = A;
    EXPECT_EQ(OnMouseMove(Px(1316), Py(1300)), MapCursor::Information);
    EXPECT_EQ(OnMouseMove(Px(1317), Py(1300)), MapCursor::Standard);
}

}  // namespace
}  // namespace qv
