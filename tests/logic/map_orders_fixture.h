// A game whose shown world is emptied and then furnished by each test with
// exactly the planets, asteroids and ships it needs, with a view at
// (1000, 1000) on a world of side 4000.
#pragma once

#include "game_fixture.h"
#include "drawing/drawing_flags.h"

namespace qv::testing {

class MapOrdersTest : public GameTest {
protected:
    void SetUp() override {
        GameTest::SetUp();
        NewGameOptions chosen;
        chosen.worldsQuantityOption = 2;
        chosen.aiPlayersOption = 2;
        NewGame(chosen, 9);
        human = g_players;
        enemy = human->next;
        neutral = LastOf(g_players);
        ASSERT_NE(enemy, neutral);
        world = g_currentWorld;
        Empty(world);
        g_worldSize = 4000;
        g_viewLeft = 1000;
        g_viewTop = 1000;
        g_viewRight = 1800;
        g_viewBottom = 1600;
        g_selPlanet = nullptr;
        g_selShip = nullptr;
        g_selAsteroid = nullptr;
        ResetDrawingFlags();
        platform.cues.clear();
    }

    static void Empty(World* w) {
        for (Planet* p = w->planets; p; p = p->next) FreeList(p->docks);
        for (Asteroid* a = w->asteroids; a; a = a->next) FreeList(a->ships);
        FreeList(w->planets);
        FreeList(w->asteroids);
        FreeList(w->ships);
        for (Player* p = g_players; p; p = p->next) p->planetCount = p->shipCount = 0;
    }

    // Records at map places; the newest is at the head of its list.
    Planet* AddPlanet(Player* owner, int x, int y, int shield = 500) {
        auto* p = new Planet;
        p->owner = owner;
        p->x = x;
        p->y = y;
        p->shieldPoints = shield;
        InsertAtHead(world->planets, p);
        ++owner->planetCount;
        return p;
    }
    Asteroid* AddAsteroid(int x, int y) {
        auto* a = new Asteroid;
        a->x = x;
        a->y = y;
        a->resources = 10;
        InsertAtHead(world->asteroids, a);
        return a;
    }
    Ship* AddShip(Player* owner, int x, int y, World* in = nullptr) {
        Ship* s = MakeShip(owner, 1, 0, x, y);
        for (int k = 0; k < kShipEquipSlots; ++k) s->equip[k] = 0;
        s->actionPoints = 0;
        s->weaponReady = 0;
        s->shieldPoints = 500;
        InsertAtHead((in ? in : world)->ships, s);
        return s;
    }
    // A ship docked at a planet.
    Ship* Dock(Planet* p, Player* owner) {
        Ship* s = MakeShip(owner, 1, 0, 0, 0);
        InsertAtHead(p->docks, s);
        return s;
    }

    // A weapon that always deals `damage` (its least damage equals its
    // bound) over `range`.
    Weapon* FixedWeapon(int damage, int range) {
        fixed.minDamage = damage;
        fixed.maxDamage = damage;
        fixed.range = range;
        return &fixed;
    }

    // The pointer on the map place (x, y).
    static int Px(int x) { return x - g_viewLeft; }
    static int Py(int y) { return y - g_viewTop; }

    Player* human = nullptr;
    Player* enemy = nullptr;
    Player* neutral = nullptr;
    World* world = nullptr;
    Weapon fixed;
};

}  // namespace qv::testing
