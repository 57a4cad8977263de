// Navigation: worlds in a ring, the next and previous own ship across worlds
// (also while a hyper jump waits in another world), centring on the
// selection, the right button, the arrow keys and the commands' enabling.
#include <tuple>

#include "orders/navigation.h"
#include "player_orders_fixture.h"

namespace qv {
namespace {

class NavigationTest : public testing::PlayerOrdersTest {
protected:
    // Worlds numbered from 1 in list order, with ships in open space owned as
    // the letters say (h human, c computer, n neutral), worlds split by '|'.
    void MakeWorlds(const std::string& ships) {
        std::size_t w = 0;
        for (World* x : worlds) FreeList(x->ships);
        for (char c : ships + "|") {
            if (worlds.size() <= w) worlds.push_back(w == 0 ? world : w == 1 ? other : AddWorld());
            if (c == '|') ++w;
            else AddShip(worlds[w], c == 'h' ? human : c == 'c' ? computer : neutral, scout, 0, 0);
        }
    }
    Ship* At(int w, int n) { return RecordAt(worlds[w - 1]->ships, n + 1); }
    std::vector<World*> worlds;
};

TEST_F(NavigationTest, WorldsFormARingAndASwitchClearsTheSelectionButAnArmedJumpsShip) {
    MakeWorlds("h||");
    Planet* planet = PlanetAt(human, 5, 5);
    g_viewLeft = 123;
    for (int n : {2, 3, 1}) {
        g_selPlanet = planet;
        g_selShip = At(1, 0);
        g_rocketMode = 1;
        NextWorld();
        EXPECT_EQ(g_currentWorld, worlds[n - 1]);
        EXPECT_EQ(g_selShip, nullptr);
        EXPECT_EQ(g_selPlanet, nullptr);
        EXPECT_EQ(g_rocketMode, 1);
    }
    PreviousWorld();
    EXPECT_EQ(g_currentWorld, worlds[2]);
    g_selAsteroid = AsteroidAt(5, 5);
    g_selShip = At(1, 0);
    g_jumpMode = 1;
    PreviousWorld();
    EXPECT_EQ(g_currentWorld, worlds[1]);
    EXPECT_EQ(g_selAsteroid, nullptr);
    EXPECT_EQ(g_selShip, At(1, 0));
    EXPECT_EQ(g_viewLeft, 123);
}

TEST_F(NavigationTest, NextAndPreviousShipWalkTheOwnShipsOfTheShownWorldThenTheOthersInRing) {
    // Ships, world shown, selected ship (world, index), next?, jump armed?, ship selected after (world, index).
    // In the last four the jumping ship waits in world 1: the shown world is searched once, then the others.
    const std::tuple<const char*, int, int, int, bool, bool, int, int> cases[] = {
        {"hch|h", 1, 1, 0, 1, 0, 1, 2},       {"hch|h", 1, 1, 2, 1, 0, 1, 0},
        {"hch|h", 1, 1, 0, 0, 0, 1, 2},       {"hch|h", 1, 1, 2, 0, 0, 1, 0},
        {"chc||cn|chh", 1, 1, 1, 1, 0, 4, 1}, {"chc||cn|chh", 4, 4, 1, 1, 0, 4, 2},
        {"chc||cn|chh", 4, 4, 2, 1, 0, 4, 1}, {"ch||h", 3, 3, 0, 1, 0, 1, 1},
        {"ch||h", 1, 1, 1, 0, 0, 3, 0},       {"c|chc|nc", 2, 2, 1, 1, 0, 2, 1},
        {"c|chc|nc", 2, 2, 1, 0, 0, 2, 1},    {"h|", 1, 1, 0, 1, 0, 1, 0},
        {"h|", 1, 1, 0, 0, 0, 1, 0},          {"h|hc|hhc|", 1, 1, 0, 0, 0, 3, 1},
        {"h|hc|hhc|", 1, 1, 0, 1, 0, 2, 0},   {"ch|chch|cc", 2, 1, 1, 1, 1, 2, 1},
        {"ch|chch|cc", 2, 1, 1, 0, 1, 2, 3},  {"ch|chch|cc", 3, 1, 1, 1, 1, 1, 1},
        {"ch|chch|cc", 3, 1, 1, 0, 1, 2, 3}};
    for (const auto& [ships, shown, selWorld, selIndex, next, jump, w, n] : cases) {
        SCOPED_TRACE(::testing::Message() << ships << " from " << selWorld << "/" << selIndex << " next " << next);
        MakeWorlds(ships);
        g_currentWorld = worlds[shown - 1];
        g_selShip = At(selWorld, selIndex);
        g_jumpMode = jump;
        g_rocketMode = 1;
        next ? NextShip() : PreviousShip();
        EXPECT_EQ(g_selShip, At(w, n));
        EXPECT_EQ(g_currentWorld, worlds[w - 1]);
        EXPECT_EQ(g_jumpMode + g_rocketMode, 1 + jump);  // the modes stay
        EXPECT_EQ(g_viewLeft, 1000);
    }
}

TEST_F(NavigationTest, CentringTakesTheShipBeforeTheAsteroidBeforeThePlanet) {
    EXPECT_FALSE(CanCenterOnSelection());
    CenterOnSelection();
    EXPECT_EQ(g_viewLeft, 1000);
    const std::pair<int, int> views[] = {{1100, 2200}, {2600, 400}, {3200, 0}};  // the last inside the world
    g_selPlanet = PlanetAt(human, 1500, 2500);
    for (const auto& view : views) {
        EXPECT_TRUE(CanCenterOnSelection());
        CenterOnSelection();
        EXPECT_EQ(std::make_pair(g_viewLeft, g_viewTop), view);
        if (!g_selAsteroid) g_selAsteroid = AsteroidAt(3000, 700);
        else g_selShip = ShipAt(human, 3990, 10);
    }
}

TEST_F(NavigationTest, TheRightButtonClearsTheSelectionAndBothModesOnly) {
    g_selShip = g_hoverShip = ShipAt(human, 1, 1);
    g_selPlanet = PlanetAt(human, 2, 2);
    g_selAsteroid = AsteroidAt(3, 3);
    g_rocketMode = g_jumpMode = 1;
    EXPECT_TRUE(CanNextShip() && CanPreviousShip());
    OnRButtonDown();
    EXPECT_EQ(g_selShip, nullptr);
    EXPECT_EQ(g_selPlanet, nullptr);
    EXPECT_EQ(g_selAsteroid, nullptr);
    EXPECT_EQ(g_rocketMode + g_jumpMode, 0);
    EXPECT_NE(g_hoverShip, nullptr);
    EXPECT_FALSE(CanNextShip() || CanPreviousShip());
    NextShip();  // without a selected ship: nothing
    PreviousShip();
    EXPECT_EQ(g_selShip, nullptr);
    EXPECT_TRUE(GameExists());
    g_currentWorld = nullptr;
    EXPECT_FALSE(GameExists());
    NextWorld();
    PreviousWorld();
    EXPECT_EQ(g_currentWorld, nullptr);
}

TEST_F(NavigationTest, ArrowKeysSetTheirEdgeFlagAndClearTheCornersAndAReleaseStopsAll) {
    // Up, down, left, right, then the corners.
    const std::pair<ScrollKey, std::vector<int>> cases[] = {{ScrollKey::Left, {0, 0, 1, 0, 0, 0, 0, 0}},
                                                            {ScrollKey::Up, {1, 0, 1, 0, 0, 0, 0, 0}},
                                                            {ScrollKey::Right, {1, 0, 1, 1, 0, 0, 0, 0}},
                                                            {ScrollKey::Down, {1, 1, 1, 1, 0, 0, 0, 0}}};
    for (const auto& [key, flags] : cases) {
        g_scrollUpRight = g_scrollDownRight = g_scrollUpLeft = g_scrollDownLeft = 1;
        OnKeyDown(key);
        EXPECT_EQ(ScrollFlags(), flags) << static_cast<int>(key);
    }
    g_scrollUpLeft = 1;
    OnKeyUp();
    EXPECT_EQ(ScrollFlags(), std::vector<int>(8, 0));
}

}  // namespace
}  // namespace qv
