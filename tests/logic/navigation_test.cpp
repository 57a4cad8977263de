// Navigation: worlds in a ring, the selection a world switch keeps, the next
// and previous own ship within the world shown and across worlds (also while
// a hyper jump waits in another world), centring clamped to the world, the
// right button, the arrow keys and the commands' enabling rules.
#include <gtest/gtest.h>

#include <initializer_list>
#include <vector>

#include "model/globals.h"
#include "model/lists.h"
#include "orders/navigation.h"
#include "drawing/drawing_flags.h"

namespace qv {
namespace {

class NavigationTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetGlobals();
        ResetDrawingFlags();
        // Player list: human, one computer player, neutral.
        neutral = AddPlayer(0xFFFFFF);
        computer = AddPlayer(0x008000);
        human = AddPlayer(0x80FF00);
    }
    void TearDown() override {
        ResetGlobals();
        ResetDrawingFlags();
    }

    Player* AddPlayer(Colour colour) {
        auto* p = new Player;
        p->colour = colour;
        InsertAtHead(g_players, p);
        return p;
    }

    // n worlds numbered 1..n in list order; world 1 is shown.
    void MakeWorlds(int n) {
        worlds.clear();
        for (int i = n; i >= 1; --i) {
            auto* w = new World;
            w->number = static_cast<std::uint16_t>(i);
            InsertAtHead(g_worlds, w);
            worlds.insert(worlds.begin(), w);
        }
        g_lastWorld = worlds.back();
        g_currentWorld = worlds.front();
        g_worldCount = n;
    }

    // Ships in open space of world w, head first, owned as given; returns
    // them in list order.
    static std::vector<Ship*> SetShips(World* w, std::initializer_list<Player*> owners) {
        std::vector<Player*> list(owners);
        std::vector<Ship*> ships(list.size());
        for (std::size_t i = list.size(); i-- > 0;) {
            auto* s = new Ship;
            s->owner = list[i];
            s->x = 100 + static_cast<int>(i);
            s->y = 200;
            InsertAtHead(w->ships, s);
            ships[i] = s;
        }
        return ships;
    }

    World* W(int number) { return worlds[static_cast<std::size_t>(number - 1)]; }

    Player* human = nullptr;
    Player* computer = nullptr;
    Player* neutral = nullptr;
    std::vector<World*> worlds;
};

TEST_F(NavigationTest, WorldsFormARingInBothDirectionsAndTheViewKeepsItsPlace) {
    MakeWorlds(3);
    g_viewLeft = 123;
    g_viewTop = 456;
    g_viewRight = 923;
    g_viewBottom = 1056;

    NextWorld();
    EXPECT_EQ(g_currentWorld, W(2));
    NextWorld();
    EXPECT_EQ(g_currentWorld, W(3));
    NextWorld();
    EXPECT_EQ(g_currentWorld, W(1)) << "the first world follows the last";
    PreviousWorld();
    EXPECT_EQ(g_currentWorld, W(3)) << "the last world comes before the first";
    PreviousWorld();
    EXPECT_EQ(g_currentWorld, W(2));

    EXPECT_EQ(g_viewLeft, 123);
    EXPECT_EQ(g_viewTop, 456);
    EXPECT_EQ(g_viewRight, 923);
    EXPECT_EQ(g_viewBottom, 1056);
}

TEST_F(NavigationTest, OneWorldStaysShownAndWithoutAGameNothingHappens) {
    NextWorld();
    PreviousWorld();
    EXPECT_EQ(g_currentWorld, nullptr);

    MakeWorlds(1);
    NextWorld();
    EXPECT_EQ(g_currentWorld, W(1));
    PreviousWorld();
    EXPECT_EQ(g_currentWorld, W(1));
}

TEST_F(NavigationTest, AWorldSwitchClearsTheSelectionButAnArmedHyperJumpKeepsItsShip) {
    MakeWorlds(2);
    auto ships = SetShips(W(1), {human});
    Planet planet;
    Asteroid asteroid;

    g_selPlanet = &planet;
    NextWorld();
    EXPECT_EQ(g_selPlanet, nullptr);
    g_selAsteroid = &asteroid;
    PreviousWorld();
    EXPECT_EQ(g_selAsteroid, nullptr);

    // An armed missile does not keep the ship; the mode stays as it was.
    g_selShip = ships[0];
    g_rocketMode = 1;
    NextWorld();
    EXPECT_EQ(g_selShip, nullptr);
    EXPECT_EQ(g_rocketMode, 1);

    // An armed hyper jump keeps its ship through both commands.
    g_rocketMode = 0;
    g_selShip = ships[0];
    g_jumpMode = 1;
    NextWorld();
    EXPECT_EQ(g_selShip, ships[0]);
    PreviousWorld();
    EXPECT_EQ(g_selShip, ships[0]);
    EXPECT_EQ(g_jumpMode, 1);
}

TEST_F(NavigationTest, NextShipAlternatesBetweenTwoOwnShipsAndNeverLeavesTheWorld) {
    MakeWorlds(2);
    auto here = SetShips(W(1), {human, computer, human});
    SetShips(W(2), {human});
    g_selShip = here[0];

    NextShip();
    EXPECT_EQ(g_selShip, here[2]) << "the enemy ship is passed over";
    NextShip();
    EXPECT_EQ(g_selShip, here[0]) << "after the end of the list the walk goes on at its first ship";
    NextShip();
    EXPECT_EQ(g_selShip, here[2]);
    EXPECT_EQ(g_currentWorld, W(1));

    PreviousShip();
    EXPECT_EQ(g_selShip, here[0]);
    PreviousShip();
    EXPECT_EQ(g_selShip, here[2]) << "before the first ship the walk goes on at the last";
    EXPECT_EQ(g_currentWorld, W(1));
}

TEST_F(NavigationTest, NextShipMovesOnToTheFirstOwnShipOfTheNextWorldThatHasOne) {
    MakeWorlds(4);
    auto here = SetShips(W(1), {computer, human, computer});
    // World 2 has no ships, world 3 only enemies; world 4 two own ships.
    SetShips(W(3), {computer, neutral});
    auto far = SetShips(W(4), {computer, human, human});
    g_selShip = here[1];
    g_viewLeft = 77;
    g_rocketMode = 1;

    NextShip();
    EXPECT_EQ(g_selShip, far[1]);
    EXPECT_EQ(g_currentWorld, W(4)) << "the world of the ship found is shown";
    EXPECT_EQ(g_viewLeft, 77) << "the view does not move";
    EXPECT_EQ(g_rocketMode, 1) << "the modes stay";

    // From world 4 the walk stays there while it has another own ship...
    NextShip();
    EXPECT_EQ(g_selShip, far[2]);
    EXPECT_EQ(g_currentWorld, W(4));
    NextShip();
    EXPECT_EQ(g_selShip, far[1]);
}

TEST_F(NavigationTest, AfterTheLastWorldTheSearchGoesOnAtTheFirst) {
    MakeWorlds(3);
    auto first = SetShips(W(1), {computer, human});
    auto last = SetShips(W(3), {human});
    g_currentWorld = W(3);
    g_selShip = last[0];

    NextShip();
    EXPECT_EQ(g_selShip, first[1]);
    EXPECT_EQ(g_currentWorld, W(1));
    // And back: before the first world comes the last.
    PreviousShip();
    EXPECT_EQ(g_selShip, last[0]);
    EXPECT_EQ(g_currentWorld, W(3));
}

TEST_F(NavigationTest, WithNoOtherOwnShipAnywhereTheSelectionStays) {
    MakeWorlds(3);
    auto here = SetShips(W(2), {computer, human, computer});
    SetShips(W(1), {computer});
    SetShips(W(3), {neutral, computer});
    g_currentWorld = W(2);
    g_selShip = here[1];

    NextShip();
    EXPECT_EQ(g_selShip, here[1]);
    EXPECT_EQ(g_currentWorld, W(2));
    PreviousShip();
    EXPECT_EQ(g_selShip, here[1]);
    EXPECT_EQ(g_currentWorld, W(2));
}

TEST_F(NavigationTest, TheOnlyShipOfTheGameStaysSelected) {
    MakeWorlds(2);
    auto alone = SetShips(W(1), {human});
    g_selShip = alone[0];
    NextShip();
    EXPECT_EQ(g_selShip, alone[0]);
    EXPECT_EQ(g_currentWorld, W(1));
    PreviousShip();
    EXPECT_EQ(g_selShip, alone[0]);
    EXPECT_EQ(g_currentWorld, W(1));
}

TEST_F(NavigationTest, PreviousShipSearchesEveryListFromItsEndInReverseWorldOrder) {
    MakeWorlds(4);
    auto here = SetShips(W(1), {human});
    auto second = SetShips(W(2), {human, computer});
    // World 4 (the one before world 1) has no ships and is passed over;
    // world 3 comes next, searched from its last ship.
    auto third = SetShips(W(3), {human, human, computer});
    g_selShip = here[0];

    PreviousShip();
    EXPECT_EQ(g_selShip, third[1]) << "the last own ship of the list, not the first";
    EXPECT_EQ(g_currentWorld, W(3));

    // Next Ship from world 1 instead finds the first own ship of world 2.
    g_currentWorld = W(1);
    g_selShip = here[0];
    NextShip();
    EXPECT_EQ(g_selShip, second[0]);
    EXPECT_EQ(g_currentWorld, W(2));
}

TEST_F(NavigationTest, WhileAHyperJumpWaitsInAnotherWorldTheShownWorldIsSearchedOnce) {
    MakeWorlds(3);
    auto jumper = SetShips(W(1), {computer, human});
    auto shown = SetShips(W(2), {computer, human, computer, human});
    g_selShip = jumper[1];
    g_jumpMode = 1;
    NextWorld();
    ASSERT_EQ(g_currentWorld, W(2));
    ASSERT_EQ(g_selShip, jumper[1]);

    // The shown world's first own ship (next) and last own ship (previous).
    NextShip();
    EXPECT_EQ(g_selShip, shown[1]);
    EXPECT_EQ(g_currentWorld, W(2));
    g_selShip = jumper[1];
    PreviousShip();
    EXPECT_EQ(g_selShip, shown[3]);
    EXPECT_EQ(g_jumpMode, 1) << "the jump stays armed";

    // A shown world without own ships: the search ends and goes on in the
    // other worlds, which bring back the waiting ship itself.
    SetShips(W(3), {computer, computer});
    g_currentWorld = W(3);
    g_selShip = jumper[1];
    NextShip();
    EXPECT_EQ(g_selShip, jumper[1]);
    EXPECT_EQ(g_currentWorld, W(1));
    g_currentWorld = W(3);
    PreviousShip();
    EXPECT_EQ(g_selShip, shown[3]) << "world 2 comes before world 3";
    EXPECT_EQ(g_currentWorld, W(2));
}

TEST_F(NavigationTest, ShipCommandsDoNothingWithoutASelectedShip) {
    MakeWorlds(2);
    SetShips(W(2), {human});
    Planet planet;
    g_selPlanet = &planet;
    NextShip();
    PreviousShip();
    EXPECT_EQ(g_selShip, nullptr);
    EXPECT_EQ(g_selPlanet, &planet);
    EXPECT_EQ(g_currentWorld, W(1));
    g_selPlanet = nullptr;
}

TEST_F(NavigationTest, CentringKeepsTheViewInsideTheWorld) {
    MakeWorlds(1);
    struct Case {
        const char* what;
        int size, x, y;
        int left, top;
    };
    const Case cases[] = {
        {"in the middle", 2000, 1000, 1000, 600, 700},
        {"near the bottom-left corner", 3000, 50, 3000, 0, 2400},
        {"near the top-right corner", 2000, 1990, 10, 1200, 0},
        {"exactly half a view from the top-left", 2000, 400, 300, 0, 0},
        {"exactly half a view from the bottom-right", 1000, 600, 700, 200, 400},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        g_worldSize = c.size;
        Ship ship;
        ship.x = c.x;
        ship.y = c.y;
        g_selShip = &ship;
        CenterOnSelection();
        EXPECT_EQ(g_viewLeft, c.left);
        EXPECT_EQ(g_viewTop, c.top);
        EXPECT_EQ(g_viewRight, c.left + 800);
        EXPECT_EQ(g_viewBottom, c.top + 600);
        g_selShip = nullptr;
    }
}

TEST_F(NavigationTest, CentringFindsPlanetAsteroidOrShipAndNothingWithoutASelection) {
    MakeWorlds(1);
    g_worldSize = 4000;
    g_viewLeft = 11;
    g_viewTop = 22;
    g_viewRight = 811;
    g_viewBottom = 622;
    CenterOnSelection();
    EXPECT_EQ(g_viewLeft, 11);
    EXPECT_EQ(g_viewTop, 22);
    EXPECT_EQ(g_viewRight, 811);
    EXPECT_EQ(g_viewBottom, 622);

    Planet planet;
    planet.x = 1500;
    planet.y = 2500;
    g_selPlanet = &planet;
    CenterOnSelection();
    EXPECT_EQ(g_viewLeft, 1100);
    EXPECT_EQ(g_viewTop, 2200);

    Asteroid asteroid;
    asteroid.x = 3000;
    asteroid.y = 700;
    g_selPlanet = nullptr;
    g_selAsteroid = &asteroid;
    CenterOnSelection();
    EXPECT_EQ(g_viewLeft, 2600);
    EXPECT_EQ(g_viewTop, 400);

    // Should both be set, the ship wins over the asteroid.
    Ship ship;
    ship.x = 2000;
    ship.y = 2000;
    g_selShip = &ship;
    CenterOnSelection();
    EXPECT_EQ(g_viewLeft, 1600);
    EXPECT_EQ(g_viewTop, 1700);
    g_selShip = nullptr;
    g_selAsteroid = nullptr;
}

TEST_F(NavigationTest, TheRightButtonClearsTheSelectionAndBothModesOnly) {
    MakeWorlds(2);
    auto ships = SetShips(W(1), {human, computer});
    Planet planet;
    Asteroid asteroid;
    g_selShip = ships[0];
    g_selPlanet = &planet;
    g_selAsteroid = &asteroid;
    g_hoverShip = ships[1];
    g_rocketMode = 1;
    g_jumpMode = 1;
    g_viewLeft = 300;

    OnRButtonDown();
    EXPECT_EQ(g_selShip, nullptr);
    EXPECT_EQ(g_selPlanet, nullptr);
    EXPECT_EQ(g_selAsteroid, nullptr);
    EXPECT_EQ(g_rocketMode, 0);
    EXPECT_EQ(g_jumpMode, 0);
    // Nothing else.
    EXPECT_EQ(g_hoverShip, ships[1]);
    EXPECT_EQ(g_currentWorld, W(1));
    EXPECT_EQ(g_viewLeft, 300);
    g_hoverShip = nullptr;
}

TEST_F(NavigationTest, TheRightButtonWorksWithoutAGame) {
    Ship stray;
    g_selShip = &stray;
    g_jumpMode = 1;
    OnRButtonDown();
    EXPECT_EQ(g_selShip, nullptr);
    EXPECT_EQ(g_jumpMode, 0);
}

std::vector<int> Flags() {
    return {g_scrollUp.load(),      g_scrollDown.load(),      g_scrollLeft.load(),   g_scrollRight.load(),
            g_scrollUpRight.load(), g_scrollDownRight.load(), g_scrollUpLeft.load(), g_scrollDownLeft.load()};
}

TEST_F(NavigationTest, ArrowKeysSetTheirEdgeFlagAndClearTheCorners) {
    struct Case {
        ScrollKey key;
        std::vector<int> flags;  // up, down, left, right, then the corners
    };
    const Case cases[] = {
        {ScrollKey::Left, {0, 0, 1, 0, 0, 0, 0, 0}},
        {ScrollKey::Up, {1, 0, 0, 0, 0, 0, 0, 0}},
        {ScrollKey::Right, {0, 0, 0, 1, 0, 0, 0, 0}},
        {ScrollKey::Down, {0, 1, 0, 0, 0, 0, 0, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.key));
        // Every corner set, as the pointer could have left them.
        g_scrollUpRight = g_scrollDownRight = g_scrollUpLeft = g_scrollDownLeft = 1;
        OnKeyDown(c.key);
        EXPECT_EQ(Flags(), c.flags);
        g_scrollUp = g_scrollDown = g_scrollLeft = g_scrollRight = 0;
    }
}

TEST_F(NavigationTest, TwoArrowKeysHeldSetTwoEdgeFlags) {
    OnKeyDown(ScrollKey::Up);
    OnKeyDown(ScrollKey::Left);
    EXPECT_EQ(Flags(), (std::vector<int>{1, 0, 1, 0, 0, 0, 0, 0}));
}

TEST_F(NavigationTest, ReleasingAKeyStopsEveryScrolling) {
    // As the pointer at the view's edges and a held arrow key left them.
    g_scrollUp = g_scrollDown = g_scrollLeft = g_scrollRight = 1;
    g_scrollUpRight = g_scrollDownRight = g_scrollUpLeft = g_scrollDownLeft = 1;
    OnKeyUp();
    EXPECT_EQ(Flags(), std::vector<int>(8, 0));
}

TEST_F(NavigationTest, CommandsAreEnabledByTheirRules) {
    EXPECT_FALSE(GameExists());
    EXPECT_FALSE(CanNextShip());
    EXPECT_FALSE(CanPreviousShip());
    EXPECT_FALSE(CanCenterOnSelection());

    MakeWorlds(1);
    EXPECT_TRUE(GameExists());
    EXPECT_FALSE(CanCenterOnSelection());

    Planet planet;
    g_selPlanet = &planet;
    EXPECT_TRUE(CanCenterOnSelection());
    EXPECT_FALSE(CanNextShip()) << "a planet is not a ship";
    g_selPlanet = nullptr;

    Asteroid asteroid;
    g_selAsteroid = &asteroid;
    EXPECT_TRUE(CanCenterOnSelection());
    EXPECT_FALSE(CanPreviousShip());
    g_selAsteroid = nullptr;

    auto ships = SetShips(W(1), {human});
    g_selShip = ships[0];
    EXPECT_TRUE(CanNextShip());
    EXPECT_TRUE(CanPreviousShip());
    EXPECT_TRUE(CanCenterOnSelection());
}

}  // namespace
}  // namespace qv
