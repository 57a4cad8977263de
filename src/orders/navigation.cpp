#include "orders/navigation.h"

#include "model/globals.h"
#include "model/lists.h"
#include "model/records.h"
#include "model/world_generation.h"
#include "drawing/scroll.h"

namespace qv {

namespace {

bool IsOwn(const Ship* ship) { return ship->owner != nullptr && ship->owner == g_players; }

// The world after w in world order, the first one after the last.
World* WorldAfter(World* w) { return w == g_lastWorld || !w->next ? g_worlds : w->next; }
// The world before w, the last one before the first.
World* WorldBefore(World* w) { return w == g_worlds || !w->prev ? g_lastWorld : w->prev; }

void ShowWorld(World* world) {
    g_currentWorld = world;
    g_selPlanet = nullptr;
    g_selAsteroid = nullptr;
    // An armed hyper jump keeps its ship selected while other worlds are
    // shown: the jump is made by a click in the world it goes to.
    if (g_jumpMode != 1) g_selShip = nullptr;
}

// Step 3 of both ship commands: an own ship ahead of the selected one in the
// shown world's list. Also ends at the end of the list, for a selected ship
// that is not in it.
Ship* OwnShipBefore(World* shown, const Ship* selected) {
    for (Ship* p = shown->ships; p && p != selected; p = p->next)
        if (IsOwn(p)) return p;
    return nullptr;
}

// The other worlds are walked at most once each, also should the world list
// not close on itself.
int OtherWorldLimit() { return CountOf(g_worlds); }

}  // namespace

void NextWorld() {
    if (!g_currentWorld) return;
    ShowWorld(WorldAfter(g_currentWorld));
}

void PreviousWorld() {
    if (!g_currentWorld) return;
    ShowWorld(WorldBefore(g_currentWorld));
}

void CenterOnSelection() {
    int cx = 0;
    int cy = 0;
    bool found = false;
    if (const Planet* p = g_selPlanet) {
        cx = p->x;
        cy = p->y;
        found = true;
    }
    if (const Asteroid* a = g_selAsteroid) {
        cx = a->x;
        cy = a->y;
        found = true;
    }
    if (const Ship* s = g_selShip) {
        cx = s->x;
        cy = s->y;
        found = true;
    }
    if (!found) return;
    CentreViewOn(cx, cy);
}

void NextShip() {
    Ship* const selected = g_selShip;
    World* const shown = g_currentWorld;
    if (!selected || !shown) return;

    // 1. The shown world, from the ship after the selected one round to it.
    if (IndexOf(shown->ships, selected) != 0) {
        Ship* p = selected->next;
        for (;;) {
            if (!p) {
                // A list of one ship has nothing after the selected one.
                if (!shown->ships->next) break;
                p = shown->ships;
            }
            if (p == selected) break;
            if (IsOwn(p)) {
                g_selShip = p;
                return;
            }
            p = p->next;
        }
    } else {
        // The selected ship waits in another world for its hyper jump: every
        // ship of the shown world once, from the first.
        for (Ship* p = shown->ships; p; p = p->next)
            if (IsOwn(p)) {
                g_selShip = p;
                return;
            }
    }

    // 2. The following worlds, each from its first ship.
    World* w = WorldAfter(shown);
    for (int n = OtherWorldLimit(); w && w != shown && n > 0; w = WorldAfter(w), --n) {
        for (Ship* p = w->ships; p; p = p->next)
            if (IsOwn(p)) {
                g_selShip = p;
                g_currentWorld = w;
                return;
            }
    }

    // 3. An own ship ahead of the selected one.
    if (Ship* p = OwnShipBefore(shown, selected)) g_selShip = p;
}

void PreviousShip() {
    Ship* const selected = g_selShip;
    World* const shown = g_currentWorld;
    if (!selected || !shown) return;

    // 1. The shown world, backwards from the ship before the selected one
    // round to it.
    if (IndexOf(shown->ships, selected) != 0) {
        Ship* p = selected->prev;
        for (;;) {
            if (!p) p = LastOf(shown->ships);
            if (p == selected) break;
            if (IsOwn(p)) {
                g_selShip = p;
                return;
            }
            p = p->prev;
        }
    } else {
        // As in NextShip: every ship of the shown world once, from the last.
        for (Ship* p = LastOf(shown->ships); p; p = p->prev)
            if (IsOwn(p)) {
                g_selShip = p;
                return;
            }
    }

    // 2. The worlds before, each backwards from its last ship.
    World* w = WorldBefore(shown);
    for (int n = OtherWorldLimit(); w && w != shown && n > 0; w = WorldBefore(w), --n) {
        for (Ship* p = LastOf(w->ships); p; p = p->prev)
            if (IsOwn(p)) {
                g_selShip = p;
                g_currentWorld = w;
                return;
            }
    }

    // 3. As in NextShip.
    if (Ship* p = OwnShipBefore(shown, selected)) g_selShip = p;
}

void OnRButtonDown() {
    g_rocketMode = 0;
    g_jumpMode = 0;
    g_selPlanet = nullptr;
    g_selAsteroid = nullptr;
    g_selShip = nullptr;
}

void OnKeyDown(ScrollKey key) {
    switch (key) {
        case ScrollKey::Left: return StartScrolling(ScrollDirection::Left);
        case ScrollKey::Up: return StartScrolling(ScrollDirection::Up);
        case ScrollKey::Right: return StartScrolling(ScrollDirection::Right);
        case ScrollKey::Down: return StartScrolling(ScrollDirection::Down);
    }
}

void OnKeyUp() { StopScrolling(); }

bool CanNextShip() { return g_selShip != nullptr; }

bool CanPreviousShip() { return g_selShip != nullptr; }

bool CanCenterOnSelection() { return g_selPlanet != nullptr || g_selShip != nullptr || g_selAsteroid != nullptr; }

bool GameExists() { return g_currentWorld != nullptr; }

}  // namespace qv
