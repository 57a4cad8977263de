// Navigation: worlds in a ring, the next and previous own ship across worlds
// (also while a hyper jump waits in another world), centring on the
// selection, the right button, the arrow keys and the commands' enabling.
#include "orders/navigation.h"
#include "player_orders_fixture.h"

namespace qv {
namespace {

class NavigationTest : public testing::PlayerOrdersTest {
protected:
    // n worlds, numbered from 1 in list order, with ships in open space
    // owned as the letters say (h human, c computer, n neutral).
    void MakeWorlds(std::vector<std::string> ships) {
        while (static_cast<int>(worlds.size()) < static_cast<int>(ships.size()))
            worlds.push_back(worlds.empty() ? world : worlds.size() == 1 ? other : AddWorld());
        for (std::size_t w = 0; w < ships.size(); ++w)
            for (char c : ships[w]) AddShip(worlds[w], c == 'h' ? human : c == 'c' ? computer : neutral, scout, 0, 0);
    }
    Ship* At(int w, int n) { return RecordAt(worlds[w - 1]->ships, n + 1); }
    std::vector<World*> worlds;
};

TEST_F(NavigationTest, WorldsFormARingAndASwitchClearsTheSelectionButAnArmedJumpsShip) {
    MakeWorlds({"h", "", ""});
    Planet* planet = PlanetAt(human, 5, 5);
    g_viewLeft = 123;
    const int expected[] = {2, 3, 1};
    for (int n : expected) {
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
    struct Case {
        std::vector<std::string> ships;
        int shown, selWorld, selIndex;
        bool next, jump;
        int world, index;  // the ship selected and shown after
    } cases[] = {
        {{"hch", "h"}, 1, 1, 0, true, false, 1, 2},
        {{"hch", "h"}, 1, 1, 2, true, false, 1, 0},
        {{"hch", "h"}, 1, 1, 0, false, false, 1, 2},
        {{"hch", "h"}, 1, 1, 2, false, false, 1, 0},
        {{"chc", "", "cn", "chh"}, 1, 1, 1, true, false, 4, 1},
        {{"chc", "", "cn", "chh"}, 4, 4, 1, true, false, 4, 2},
        {{"chc", "", "cn", "chh"}, 4, 4, 2, true, false, 4, 1},
        {{"ch", "", "h"}, 3, 3, 0, true, false, 1, 1},
        {{"ch", "", "h"}, 1, 1, 1, false, false, 3, 0},
        {{"c", "chc", "nc"}, 2, 2, 1, true, false, 2, 1},
        {{"c", "chc", "nc"}, 2, 2, 1, false, false, 2, 1},
        {{"h", ""}, 1, 1, 0, true, false, 1, 0},
        {{"h", ""}, 1, 1, 0, false, false, 1, 0},
        {{"h", "hc", "hhc", ""}, 1, 1, 0, false, false, 3, 1},
        {{"h", "hc", "hhc", ""}, 1, 1, 0, true, false, 2, 0},
        // The jumping ship waits in world 1: the shown world once, then the others.
        {{"ch", "chch", "cc"}, 2, 1, 1, true, true, 2, 1},
        {{"ch", "chch", "cc"}, 2, 1, 1, false, true, 2, 3},
        {{"ch", "chch", "cc"}, 3, 1, 1, true, true, 1, 1},
        {{"ch", "chch", "cc"}, 3, 1, 1, false, true, 2, 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.ships) + " from " + std::to_string(c.selWorld) + "/" +
                     std::to_string(c.selIndex) + (c.next ? " next" : " previous"));
        for (World* w : worlds) FreeList(w->ships);
        MakeWorlds(c.ships);
        g_currentWorld = worlds[c.shown - 1];
        g_selShip = At(c.selWorld, c.selIndex);
        g_jumpMode = c.jump;
        g_rocketMode = 1;
        g_viewLeft = 77;
        c.next ? NextShip() : PreviousShip();
        EXPECT_EQ(g_selShip, At(c.world, c.index));
        EXPECT_EQ(g_currentWorld, worlds[c.world - 1]);
        EXPECT_EQ(g_jumpMode, c.jump ? 1 : 0);
        EXPECT_EQ(g_rocketMode, 1);
        EXPECT_EQ(g_viewLeft, 77);
    }
}

TEST_F(NavigationTest, CentringTakesTheShipBeforeTheAsteroidBeforeThePlanet) {
    EXPECT_FALSE(CanCenterOnSelection());
    CenterOnSelection();
    EXPECT_EQ(g_viewLeft, 1000);
    g_selPlanet = PlanetAt(human, 1500, 2500);
    EXPECT_TRUE(CanCenterOnSelection());
    CenterOnSelection();
    EXPECT_EQ(std::make_pair(g_viewLeft, g_viewTop), std::make_pair(1100, 2200));
    g_selAsteroid = AsteroidAt(3000, 700);
    EXPECT_TRUE(CanCenterOnSelection());
    CenterOnSelection();
    EXPECT_EQ(std::make_pair(g_viewLeft, g_viewTop), std::make_pair(2600, 400));
    g_selShip = ShipAt(human, 3990, 10);  // the view stays inside the world
    CenterOnSelection();
    EXPECT_EQ(std::make_pair(g_viewLeft, g_viewTop), std::make_pair(3200, 0));
    g_selPlanet = nullptr;
    g_selAsteroid = nullptr;
    EXPECT_TRUE(CanCenterOnSelection());
}

TEST_F(NavigationTest, TheRightButtonClearsTheSelectionAndBothModesOnly) {
    g_selShip = ShipAt(human, 1, 1);
    g_selPlanet = PlanetAt(human, 2, 2);
    g_selAsteroid = AsteroidAt(3, 3);
    g_hoverShip = g_selShip;
    g_rocketMode = g_jumpMode = 1;
    EXPECT_TRUE(CanNextShip());
    EXPECT_TRUE(CanPreviousShip());
    OnRButtonDown();
    EXPECT_EQ(g_selShip, nullptr);
    EXPECT_EQ(g_selPlanet, nullptr);
    EXPECT_EQ(g_selAsteroid, nullptr);
    EXPECT_EQ(g_rocketMode + g_jumpMode, 0);
    EXPECT_NE(g_hoverShip, nullptr);
    EXPECT_EQ(g_viewLeft, 1000);
    EXPECT_FALSE(CanNextShip());
    EXPECT_FALSE(CanPreviousShip());
    NextShip();  // no ship selected: nothing
    PreviousShip();
    EXPECT_EQ(g_selShip, nullptr);
    EXPECT_TRUE(GameExists());
    g_currentWorld = nullptr;
    EXPECT_FALSE(GameExists());
    NextWorld();
    EXPECT_EQ(g_currentWorld, nullptr);
}

// Up, down, left, right, then the corners up-right, down-right, up-left, down-left.
std::vector<int> Flags() {
    return {g_scrollUp,      g_scrollDown,      g_scrollLeft,   g_scrollRight,
            g_scrollUpRight, g_scrollDownRight, g_scrollUpLeft, g_scrollDownLeft};
}

TEST_F(NavigationTest, ArrowKeysSetTheirEdgeFlagAndClearTheCornersAndAReleaseStopsAll) {
    const std::pair<ScrollKey, std::vector<int>> cases[] = {
        {ScrollKey::Left, {0, 0, 1, 0, 0, 0, 0, 0}},
        {ScrollKey::Up, {1, 0, 1, 0, 0, 0, 0, 0}},
        {ScrollKey::Right, {1, 0, 1, 1, 0, 0, 0, 0}},
        {ScrollKey::Down, {1, 1, 1, 1, 0, 0, 0, 0}},
    };
    for (const auto& [key, flags] : cases) {
        g_scrollUpRight = g_scrollDownRight = g_scrollUpLeft = g_scrollDownLeft = 1;
        OnKeyDown(key);
        EXPECT_EQ(Flags(), flags) << static_cast<int>(key);
    }
    g_scrollUpLeft = 1;
    OnKeyUp();
    EXPECT_EQ(Flags(), std::vector<int>(8, 0));
}

}  // namespace
}  // namespace qv
