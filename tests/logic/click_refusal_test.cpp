// Why a left click gave no order: known only where the click handler decides, silent when the click did something.
#include "orders/map_orders.h"
#include "player_orders_fixture.h"

namespace qv {
namespace {

using R = Refusal;

class ClickRefusalTest : public testing::PlayerOrdersTest {};

TEST_F(ClickRefusalTest, AClickThatGivesNoOrderSaysWhyAndOneThatActsSaysNothing) {
    enum Selected { Ship, Planet };
    struct Case {
        Selected selected;
        int actionPoints;
        bool armed, ready, hyper;
        int enemyDx;  // an enemy ship this far right of the click's place, -1 none
        int clickDx;  // the click, right of the selected record at (1100, 1100)
        R expected;
    };
    const Case cases[] = {
        {Ship, 0, false, false, false, -1, 200, R::NoActionPoints},
        {Ship, 50, false, false, false, -1, 200, R::OutOfRange},
        {Ship, 50, false, false, false, -1, 40, R::None},  // a move
        {Ship, 50, false, false, true, -1, 200, R::None},  // the Hyper Module takes it there
        {Ship, 0, true, true, false, 0, 150, R::OutOfRange},
        {Ship, 300, true, true, false, 0, 150, R::None},  // out of the weapon's reach, but a move
        {Ship, 0, true, false, false, 0, 50, R::WeaponNotReady},
        {Ship, 0, true, true, false, 0, 50, R::None},  // a shot
        {Planet, 0, true, false, false, 0, 50, R::WeaponNotReady},
        {Planet, 0, true, true, false, 0, 200, R::OutOfRange},
        {Planet, 0, true, true, false, 0, 100, R::None},   // a shot
        {Planet, 0, true, true, false, -1, 100, R::None},  // empty space: nothing to say
    };
    Weapon* gun = FixedWeapon(10, 100);
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << (c.selected == Ship ? "ship" : "planet") << " click at " << c.clickDx);
        ClearWorld();
        if (c.selected == Ship) {
            qv::Ship* s = g_selShip = ShipAt(human, 1100, 1100, c.actionPoints);
            s->weapon = c.armed ? gun : nullptr;
            s->weaponReady = c.ready;
            s->equip[kHyperModule] = c.hyper;
        } else {
            qv::Planet* p = g_selPlanet = PlanetAt(human, 1100, 1100);
            p->weapon = c.armed ? gun : nullptr;
            p->weaponReady = c.ready;
        }
        if (c.enemyDx >= 0) ShipAt(computer, 1100 + c.clickDx + c.enemyDx, 1100);
        OnLButtonDown(Px(1100 + c.clickDx), Py(1100));
        EXPECT_EQ(LastClickRefusal(), c.expected);
    }
    // The next click that selects something clears it; the words for each.
    ClearWorld();
    g_selShip = ShipAt(human, 1100, 1100, 0);
    OnLButtonDown(Px(1300), Py(1100));
    ASSERT_EQ(LastClickRefusal(), R::NoActionPoints);
    OnLButtonDown(Px(700), Py(400));
    EXPECT_EQ(std::make_pair(LastClickRefusal(), g_selPlanet), std::make_pair(R::None, planet));
    EXPECT_EQ(RefusalText(R::NoActionPoints), "No action points left this turn.");
    EXPECT_EQ(RefusalText(R::OutOfRange), "Out of range.");
    EXPECT_EQ(RefusalText(R::WeaponNotReady), "The weapon is not ready yet.");
    EXPECT_EQ(RefusalText(R::None), "");
}

}  // namespace
}  // namespace qv
