// The hand-built game on show: the human's race has two named models and three named weapons (the computer's race
// three weapons), the human a planet at (700, 400); the view is at (1000, 1000) on a world of side 4000.
#pragma once

#include <cstdlib>
#include <string>
#include <tuple>
#include <vector>

#include "drawing/drawing_flags.h"
#include "hand_built_game.h"
#include "model/world_generation.h"

namespace qv::testing {

class PlayerOrdersTest : public HandBuiltGameTest {
protected:
    void SetUp() override {
        HandBuiltGameTest::SetUp();
        ResetDrawingFlags();
        scout = AddModel(human->race, 60, 150, 40, 2, 900);
        hauler = AddModel(human->race, 30, 250, 20, 5, 1700);
        scout->name = "Scout";
        hauler->name = "Hauler";
        for (Race* r : {human->race, red})
            for (int n = 1; n <= 3; ++n)
                AddWeapon(r, 100, 10, 20, 300 * n + 1)->name = r->name + " gun " + std::to_string(n);
        ClearWorld();
        human->gold = 20000;
        g_newDocCount = 2;
        g_worldSize = 4000;
        CentreViewOn(1400, 1300);  // the view at (1000, 1000)
    }
    void TearDown() override { ResetDrawingFlags(), HandBuiltGameTest::TearDown(); }

    Weapon* RaceWeapon(int n) const { return RecordAt(human->race->weapons, n); }
    Planet* PlanetAt(Player* owner, int x, int y, int shield = 500) {
        Planet* p = AddPlanet(world, owner, x, y);
        p->shieldPoints = shield;
        return p;
    }
    Ship* ShipAt(Player* owner, int x, int y, int actionPoints = 0, int shield = 500) {
        Ship* s = AddShip(world, owner, scout, x, y);
        s->shieldPoints = shield;
        s->actionPoints = actionPoints;
        return s;
    }
    Asteroid* AsteroidAt(int x, int y) { return AddAsteroid(world, x, y, 10); }
    // A shown world with only the human's planet, nothing selected, armed, heard or shown yet.
    void ClearWorld() {
        ClearPlanets(world);
        for (Asteroid* a = world->asteroids; a; a = a->next) FreeList(a->ships);
        FreeList(world->asteroids);
        FreeList(world->ships);
        g_selPlanet = nullptr, g_selShip = nullptr, g_selAsteroid = nullptr, g_dockSelection = nullptr;
        g_rocketMode = g_jumpMode = 0;
        platform.cues.clear(), platform.messages.clear(), platform.explosions = platform.frameWaits = 0;
        planet = PlanetAt(human, 700, 400);
    }
    // A weapon of the human's race that always deals `damage` over `range`.
    Weapon* FixedWeapon(int damage, int range) { return AddWeapon(human->race, range, damage, damage, 0); }
    // Where a launch puts a ship round (x, y): y off by -50..49, x by the whole part of the rest of the radius 50.
    static bool OnLaunchCircle(const Ship* s, int x, int y) {
        const int dx = std::abs(s->x - x), dy = s->y - y;
        return dy >= -50 && dy < 50 && dx * dx + dy * dy <= 2500 && (dx + 1) * (dx + 1) + dy * dy > 2500;
    }
    // The scroll flags up, down, left, right, then up-right, down-right, up-left, down-left.
    static std::string ScrollFlags() {
        std::string s;
        for (const auto* f : {&g_scrollUp, &g_scrollDown, &g_scrollLeft, &g_scrollRight, &g_scrollUpRight,
                              &g_scrollDownRight, &g_scrollUpLeft, &g_scrollDownLeft})
            s += std::to_string(f->load());
        return s;
    }
    // A list shown or heard, joined by '|'.
    static std::string Join(const std::vector<std::string>& v) {
        std::string s;
        for (std::size_t i = 0; i < v.size(); ++i) s += (i ? "|" : "") + v[i];
        return s;
    }
    // The pointer over the map place (x, y).
    static int Px(int x) { return x - g_viewLeft; }
    static int Py(int y) { return y - g_viewTop; }

    ShipModel* scout = nullptr;
    ShipModel* hauler = nullptr;
    Planet* planet = nullptr;
};

}  // namespace qv::testing
