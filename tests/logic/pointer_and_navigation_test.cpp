// The pointer over the map (scroll zones, hover, the cursor telling what a click would do), the arrow keys, the
// scroll moves, the world ring, the next and previous own ship, centring and the right button.
#include "drawing/scroll.h"
#include "orders/navigation.h"
#include "orders/pointer_tracking.h"
#include "player_orders_fixture.h"

namespace qv {
namespace {

using C = MapCursor;
using D = ScrollDirection;
using Probes = std::vector<std::tuple<int, int, C>>;

class PointerTest : public testing::PlayerOrdersTest {
protected:
    // The cursor at each place of the view (or of the map), also sent to the platform.
    void Expect(const Probes& probes, bool onMap = true) {
        for (const auto& [x, y, cursor] : probes) {
            EXPECT_EQ(onMap ? OnMouseMove(Px(x), Py(y)) : OnMouseMove(x, y), cursor) << x << "," << y;
            EXPECT_EQ(platform.cursor, CursorNumber(cursor));
        }
    }
    // Worlds numbered from 1, split by '|', with ships owned as the letters say (h human, c computer, n neutral).
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

TEST_F(PointerTest, ScrollZonesAndKeysSetTheirFlagsAndAMoveIsImpossibleAtTheEdgeAFullStepIfItFitsElseToTheEdge) {
    // The top row and the bottom two rows between the corners are inner.
    const Probes zones = {{19, 300, C::ScrollLeft},       {20, 300, C::Standard},     {781, 300, C::ScrollRight},
                          {780, 300, C::Standard},        {400, 19, C::ScrollUp},     {400, 20, C::Standard},
                          {400, 2, C::ScrollUp},          {400, 1, C::Standard},      {400, 581, C::ScrollDown},
                          {400, 580, C::Standard},        {400, 598, C::ScrollDown},  {400, 599, C::Standard},
                          {19, 19, C::ScrollUpLeft},      {781, 1, C::ScrollUpRight}, {19, 599, C::ScrollDownLeft},
                          {781, 581, C::ScrollDownRight}, {20, 581, C::ScrollDown},   {780, 19, C::ScrollUp}};
    Expect(zones, false);
    const std::tuple<int, int, std::string> moves[] = {{10, 10, "00000010"},  {400, 10, "10000000"},
                                                       {10, 300, "10100000"}, {790, 590, "00000100"},
                                                       {790, 5, "00001100"},  {400, 300, "00000000"}};
    for (const auto& [x, y, flags] : moves) {
        OnMouseMove(x, y);
        EXPECT_EQ(ScrollFlags(), flags) << x << "," << y;
    }
    OnMouseMove(10, 590);
    OnNcMouseMove();
    EXPECT_EQ(ScrollFlags(), "00000000");
    // An arrow key sets its edge's flag and clears the corners; a release stops all.
    const ScrollKey keys[] = {ScrollKey::Left, ScrollKey::Up, ScrollKey::Right, ScrollKey::Down};
    const char* flags[] = {"00100000", "10100000", "10110000", "11110000"};
    for (int i = 0; i < 4; ++i) {
        g_scrollUpRight = g_scrollDownRight = g_scrollUpLeft = g_scrollDownLeft = 1;
        OnKeyDown(keys[i]);
        EXPECT_EQ(ScrollFlags(), flags[i]) << i;
    }
    OnKeyUp();
    EXPECT_EQ(ScrollFlags(), "00000000");
    g_newDocCount = 1;  // the title screen: the arrow, and no flag changes
    g_scrollLeft = 1;
    Expect({{10, 10, C::Standard}}, false);
    EXPECT_EQ(ScrollFlags(), "00100000");
    // Steps of 30 on a world of side 2000; a diagonal with one axis short of a step sends both axes to their edges.
    constexpr D U = D::Up, Dn = D::Down, L = D::Left, R = D::Right, UR = D::UpRight, DR = D::DownRight;
    constexpr D UL = D::UpLeft, DL = D::DownLeft;
    const std::tuple<D, int, int, bool, int, int> cases[] = {
        {U, 500, 0, 0, 0, 0},         {U, 500, 30, 1, 0, -30},     {U, 500, 10, 1, 0, -10},
        {U, 1200, 300, 1, 0, -30},    {Dn, 500, 1400, 0, 0, 0},    {Dn, 500, 1370, 1, 0, 30},
        {L, 0, 300, 0, 0, 0},         {L, 7, 300, 1, -7, 0},       {R, 1200, 300, 0, 0, 0},
        {R, 1199, 300, 1, 1, 0},      {UR, 500, 300, 1, 30, -30},  {DR, 500, 300, 1, 30, 30},
        {UL, 30, 30, 1, -30, -30},    {DL, 500, 300, 1, -30, 30},  {UR, 500, 0, 0, 0, 0},
        {UR, 1200, 300, 0, 0, 0},     {UL, 500, 0, 0, 0, 0},       {UR, 500, 10, 1, 700, -10},
        {DR, 1180, 100, 1, 20, 1300}, {UL, 400, 29, 1, -400, -29}, {DL, 12, 200, 1, -12, 1200}};
    for (const auto& [direction, left, top, possible, dx, dy] : cases) {
        SCOPED_TRACE(::testing::Message() << static_cast<int>(direction) << " from " << left << "," << top);
        ViewRect view{left, top, left + 800, top + 600};
        EXPECT_EQ(ApplyScrollMove(view, direction, 30, 2000), (ScrollMove{possible, dx, dy}));
        EXPECT_EQ(view, (ViewRect{left + dx, top + dy, left + dx + 800, top + dy + 600}));
    }
    ViewRect view{500, 0, 1300, 600};  // a step below 0 counts as 0
    EXPECT_EQ(ApplyScrollMove(view, L, -15, 2000), (ScrollMove{true, 0, 0}));
    EXPECT_EQ(ApplyScrollMove(view, U, 0, 2000), ScrollMove{});
}

TEST_F(PointerTest, TheHoverIsAShipBeforeAPlanetBeforeAnAsteroidAndTheCursorShowsWhatAClickWouldDo) {
    Planet* p = PlanetAt(computer, 1300, 1300);
    Asteroid* a = AsteroidAt(1500, 1300);
    Ship* s = ShipAt(computer, 1310, 1300);
    const std::pair<int, void*> cases[] = {{1305, s}, {1271, p}, {1270, nullptr}, {1516, a}, {1517, nullptr}};
    for (const auto& [x, hovered] : cases) {
        OnMouseMove(Px(x), Py(1300));
        EXPECT_EQ(g_hoverShip ? g_hoverShip : g_hoverPlanet ? (void*)g_hoverPlanet : g_hoverAsteroid, hovered) << x;
        EXPECT_EQ(!!g_hoverShip + !!g_hoverPlanet + !!g_hoverAsteroid, hovered != nullptr) << x;
    }
    ClearWorld();
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
    Expect({{1330, 1200, C::Standard}, {1200, 1070, C::Standard}});
    g_selPlanet = nullptr;
    g_selAsteroid = AsteroidAt(1600, 1300);
    Expect({{1616, 1300, C::Information}, {1617, 1300, C::Standard}});
    ClearWorld();
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
    // Moves under the points, landing in squares of 30 (own planet) and 17 (asteroid), attack at range + 15 or + 30.
    const Probes ready = {{1214, 1200, C::Information}, {1215, 1200, C::Move}, {1299, 1200, C::Move},
                          {1300, 1200, C::Standard},    {1229, 1241, C::Land}, {1230, 1241, C::Move},
                          {1229, 1240, C::Move},        {1136, 1216, C::Land}, {1137, 1216, C::Move},
                          {1200, 1135, C::Attack},      {1266, 1200, C::Move}, {1152, 1136, C::Attack},
                          {1152, 1265, C::Move}};
    Expect(ready);
    // Beyond reach, the jump needs a Hyper Module and the model's whole speed (60).
    ship->equip[kHyperModule] = 1;
    ship->actionPoints = 59;
    Expect({{1300, 1200, C::Standard}});
    ship->actionPoints = 60;
    Expect({{1300, 1200, C::Jump}});
    // The armed missile: within 80 of the ship, ready or not; asteroids under 15 of the pointer.
    ship->actionPoints = 100;
    ship->weaponReady = 0;
    g_rocketMode = 1;
    const Probes missile = {{1248, 1136, C::Missile}, {1248, 1265, C::Move},    {1152, 1136, C::Missile},
                            {1152, 1265, C::Move},    {1134, 1200, C::Missile}, {1135, 1200, C::Land}};
    Expect(missile);
    g_jumpMode = 1;  // the armed hyper jump covers the whole inner area
    Expect({{1214, 1200, C::HyperJump}, {1400, 1500, C::HyperJump}});
    Expect({{10, 300, C::ScrollLeft}}, false);
}

using NavigationTest = PointerTest;

TEST_F(NavigationTest, WorldsRingShipsWalkCentringTakesTheShipBeforeTheAsteroidBeforeThePlanetAndTheRightButtonClears) {
    MakeWorlds("h||");
    const std::pair<bool, int> steps[] = {{true, 2}, {true, 3}, {true, 1}, {false, 3}};  // next?, the world shown
    for (const auto& [next, n] : steps) {
        g_selPlanet = planet;
        g_selAsteroid = AsteroidAt(5, 5);
        g_selShip = At(1, 0);
        next ? NextWorld() : PreviousWorld();
        EXPECT_EQ(std::vector<void*>({g_currentWorld, g_selPlanet, g_selAsteroid, g_selShip}),
                  std::vector<void*>({worlds[n - 1], nullptr, nullptr, nullptr}));
    }
    g_selShip = At(1, 0);
    g_jumpMode = 1;
    PreviousWorld();
    EXPECT_TRUE(g_currentWorld == worlds[1] && g_selShip == At(1, 0));
    // Ships, world shown, selected ship (world, index), next?, jump armed?, ship selected after (world, index); in
    // the last four the jumping ship waits in world 1: the shown world is searched once, then the others.
    const std::tuple<const char*, int, int, int, bool, bool, int, int> cases[] = {
        {"hch|h", 1, 1, 2, 1, 0, 1, 0},       {"hch|h", 1, 1, 0, 0, 0, 1, 2},      {"chc||cn|chh", 1, 1, 1, 1, 0, 4, 1},
        {"chc||cn|chh", 4, 4, 2, 1, 0, 4, 1}, {"ch||h", 3, 3, 0, 1, 0, 1, 1},      {"ch||h", 1, 1, 1, 0, 0, 3, 0},
        {"c|chc|nc", 2, 2, 1, 1, 0, 2, 1},    {"h|", 1, 1, 0, 1, 0, 1, 0},         {"h|hc|hhc|", 1, 1, 0, 0, 0, 3, 1},
        {"h|hc|hhc|", 1, 1, 0, 1, 0, 2, 0},   {"ch|chch|cc", 2, 1, 1, 1, 1, 2, 1}, {"ch|chch|cc", 2, 1, 1, 0, 1, 2, 3},
        {"ch|chch|cc", 3, 1, 1, 1, 1, 1, 1},  {"ch|chch|cc", 3, 1, 1, 0, 1, 2, 3}};
    for (const auto& [ships, shown, selWorld, selIndex, next, jump, w, n] : cases) {
        SCOPED_TRACE(::testing::Message() << ships << " from " << selWorld << "/" << selIndex << " next " << next);
        MakeWorlds(ships);
        g_currentWorld = worlds[shown - 1];
        g_selShip = At(selWorld, selIndex);
        g_jumpMode = jump;
        g_rocketMode = 1;
        next ? NextShip() : PreviousShip();
        EXPECT_TRUE(g_selShip == At(w, n) && g_currentWorld == worlds[w - 1]);
        EXPECT_EQ(std::make_pair(g_jumpMode + g_rocketMode, g_viewLeft), std::make_pair(1 + jump, 1000));  // they stay
    }
    // Centring takes the ship before the asteroid before the planet.
    g_selShip = nullptr;
    g_selPlanet = PlanetAt(human, 1500, 2500);
    const std::pair<int, int> views[] = {{1100, 2200}, {2600, 400}, {3200, 0}};  // the last inside the world
    for (const auto& view : views) {
        EXPECT_TRUE(CanCenterOnSelection());
        CenterOnSelection();
        EXPECT_EQ(std::make_pair(g_viewLeft, g_viewTop), view);
        if (!g_selAsteroid) g_selAsteroid = AsteroidAt(3000, 700);
        else g_selShip = g_hoverShip = ShipAt(human, 3990, 10);
    }
    g_rocketMode = g_jumpMode = 1;
    OnRButtonDown();
    EXPECT_EQ(std::vector<void*>({g_selPlanet, g_selAsteroid, g_selShip}), std::vector<void*>(3, nullptr));
    EXPECT_TRUE(g_rocketMode + g_jumpMode == 0 && g_hoverShip);
    EXPECT_FALSE(CanNextShip() || CanPreviousShip() || CanCenterOnSelection());
    CenterOnSelection();  // without a selection nothing moves or is selected
    NextShip();
    PreviousShip();
    EXPECT_EQ(std::make_pair(g_viewLeft, (void*)g_selShip), std::make_pair(3200, (void*)nullptr));
    EXPECT_TRUE(GameExists());
    g_currentWorld = nullptr;
    NextWorld();
    PreviousWorld();
    EXPECT_FALSE(GameExists());
}

}  // namespace
}  // namespace qv
