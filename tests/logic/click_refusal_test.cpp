// Why a left click gave no order: known only where the click handler decides, silent when the click did something.
#include "orders/map_orders.h"
#include "player_orders_fixture.h"

namespace qv {
namespace {

using ClickRefusalTest = testing::PlayerOrdersTest;

TEST_F(ClickRefusalTest, AClickThatGivesNoOrderSaysWhyAndOneThatActsSaysNothing) {
    enum Selected { AShip, APlanet };
    const std::string noPoints = "No action points left this turn.", range = "Out of range.",
                      notReady = "The weapon is not ready yet.";
    // Selected at (1100, 1100), action points, armed, ready, Hyper Module, enemy right of the click (-1 none), click.
    const std::tuple<Selected, int, bool, bool, bool, int, int, std::string> cases[] = {
        {AShip, 50, false, false, false, -1, 200, range},
        {AShip, 50, false, false, false, -1, 40, ""},  // a move
        {AShip, 50, false, false, true, -1, 200, ""},  // the Hyper Module takes it there
        {AShip, 0, true, true, false, 0, 150, range},
        {AShip, 300, true, true, false, 0, 150, ""},  // out of the weapon's reach, but a move
        {AShip, 0, true, false, false, 0, 50, notReady},
        {AShip, 0, true, true, false, 0, 50, ""},  // a shot
        {APlanet, 0, true, false, false, 0, 50, notReady},
        {APlanet, 0, true, true, false, 0, 200, range},
        {APlanet, 0, true, true, false, 0, 100, ""},   // a shot
        {APlanet, 0, true, true, false, -1, 100, ""},  // empty space: nothing to say
        {AShip, 0, false, false, false, -1, 200, noPoints},
    };
    Weapon* gun = FixedWeapon(10, 100);
    for (auto [selected, actionPoints, armed, ready, hyper, enemyDx, clickDx, expected] : cases) {
        ClearWorld();
        if (selected == APlanet) {
            Planet* p = g_selPlanet = PlanetAt(human, 1100, 1100);
            p->weapon = armed ? gun : nullptr, p->weaponReady = ready;
        } else {
            Ship* s = g_selShip = ShipAt(human, 1100, 1100, actionPoints);
            s->weapon = armed ? gun : nullptr, s->weaponReady = ready, s->equip[kHyperModule] = hyper;
        }
        if (enemyDx >= 0) ShipAt(computer, 1100 + clickDx + enemyDx, 1100);
        OnLButtonDown(Px(1100 + clickDx), Py(1100));
        EXPECT_EQ(RefusalText(LastClickRefusal()), expected) << selected << ' ' << actionPoints << ' ' << clickDx;
    }
    OnLButtonDown(Px(700), Py(400));  // the next click that selects something clears it
    EXPECT_EQ(std::make_pair(LastClickRefusal(), g_selPlanet), std::make_pair(Refusal::None, planet));
}

}  // namespace
}  // namespace qv
