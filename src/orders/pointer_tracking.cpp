#include "orders/pointer_tracking.h"

#include <atomic>
#include <cstdlib>
#include <initializer_list>

#include "model/globals.h"
#include "model/platform.h"
#include "orders/map_orders.h"
#include "presentation/core/drawing_flags.h"

namespace qv {

namespace {


void Set(std::initializer_list<std::atomic<int>*> flags, int value) {
    for (std::atomic<int>* f : flags) f->store(value);
}

void ClearCorners() { Set({&g_scrollUpLeft, &g_scrollUpRight, &g_scrollDownLeft, &g_scrollDownRight}, 0); }
void ClearEdges() { Set({&g_scrollLeft, &g_scrollUp, &g_scrollRight, &g_scrollDown}, 0); }

// The scroll zone under the pointer, its flag raised; Standard when the
// pointer is in the inner area.
MapCursor ScrollZone(int px, int py, int W, int H) {
    struct Zone {
        bool in;
        MapCursor cursor;
        std::atomic<int>* flag;
        bool corner;
    };
    const Zone zones[] = {
        {px < 20 && py < 20, MapCursor::ScrollUpLeft, &g_scrollUpLeft, true},
        {px > W - 20 && py < 20, MapCursor::ScrollUpRight, &g_scrollUpRight, true},
        {px < 20 && py > H - 20, MapCursor::ScrollDownLeft, &g_scrollDownLeft, true},
        {px > W - 20 && py > H - 20, MapCursor::ScrollDownRight, &g_scrollDownRight, true},
        {px < 20, MapCursor::ScrollLeft, &g_scrollLeft, false},
        {1 < py && py < 20, MapCursor::ScrollUp, &g_scrollUp, false},
        {px > W - 20, MapCursor::ScrollRight, &g_scrollRight, false},
        {H - 20 < py && py < H - 1, MapCursor::ScrollDown, &g_scrollDown, false},
    };
    for (const Zone& z : zones) {
        if (!z.in) continue;
        z.flag->store(1);
        // A corner leaves the other corners, an edge the other edges.
        if (z.corner) ClearEdges();
        else ClearCorners();
        return z.cursor;
    }
    return MapCursor::Standard;
}

void FindHover(int px, int py) {
    World* w = g_currentWorld;
    for (Ship* s = w->ships; s; s = s->next)
        if (PointerDistanceTo(s, px, py) < 15) return void(g_hoverShip = s);
    for (Planet* p = w->planets; p; p = p->next)
        if (PointerDistanceTo(p, px, py) < 30) return void(g_hoverPlanet = p);
    for (Asteroid* a = w->asteroids; a; a = a->next)
        if (PointerDistanceTo(a, px, py) < 17) return void(g_hoverAsteroid = a);
}

// What a click would do here, as the cursor shows it. These tests knowingly
// differ from the click's own in places (reach, squares, the missile's
// readiness): the cursor is a hint, the click decides.
MapCursor InnerCursor(int px, int py) {
    World* w = g_currentWorld;
    if (Planet* P = g_selPlanet) {
        if (PointerDistanceTo(P, px, py) < 30 && OwnedByPlayer(P)) return MapCursor::Information;
        const bool armed = OwnedByPlayer(P) && P->weapon && P->weaponReady == 1;
        if (armed) {
            for (Ship* s = w->ships; s; s = s->next)
                if (PointerDistanceTo(s, px, py) < 15 && !OwnedByPlayer(s) && MapDistanceBetween(P, s) <= P->weapon->range + 30)
                    return MapCursor::Attack;
            for (Planet* p = w->planets; p; p = p->next)
                if (PointerDistanceTo(p, px, py) < 30 && !OwnedByPlayer(p) && MapDistanceBetween(P, p) <= P->weapon->range + 30)
                    return MapCursor::Attack;
        }
    }
    if (Asteroid* A = g_selAsteroid; A && PointerDistanceTo(A, px, py) < 17) return MapCursor::Information;
    if (Ship* S = g_selShip) {
        if (g_jumpMode == 1) return MapCursor::HyperJump;
        if (g_rocketMode == 1) {
            for (Ship* s = w->ships; s; s = s->next)
                if (PointerDistanceTo(s, px, py) < 15 && !OwnedByPlayer(s) && MapDistanceBetween(S, s) <= 80) return MapCursor::Missile;
            for (Planet* p = w->planets; p; p = p->next)
                if (PointerDistanceTo(p, px, py) < 30 && !OwnedByPlayer(p) && MapDistanceBetween(S, p) <= 80) return MapCursor::Missile;
            for (Asteroid* a = w->asteroids; a; a = a->next)
                if (PointerDistanceTo(a, px, py) < 15 && MapDistanceBetween(S, a) <= 80) return MapCursor::Missile;
        }
        const bool own = OwnedByPlayer(S);
        const double reach = PointerDistanceTo(S, px, py);
        if (reach < 15 && own) return MapCursor::Information;
        if (own && S->weapon && S->weaponReady == 1) {
            for (Ship* s = w->ships; s; s = s->next)
                if (PointerDistanceTo(s, px, py) < 15 && !OwnedByPlayer(s) && MapDistanceBetween(S, s) <= S->weapon->range + 15)
                    return MapCursor::Attack;
            for (Planet* p = w->planets; p; p = p->next)
                if (PointerDistanceTo(p, px, py) < 30 && !OwnedByPlayer(p) && MapDistanceBetween(S, p) <= S->weapon->range + 30)
                    return MapCursor::Attack;
        }
        if (own && reach < S->actionPoints) {
            for (Planet* p = w->planets; p; p = p->next)
                if (OwnedByPlayer(p) && std::abs(p->x - g_viewLeft - px) < 30 && std::abs(p->y - g_viewTop - py) < 30)
                    return MapCursor::Land;
            for (Asteroid* a = w->asteroids; a; a = a->next)
                if (std::abs(a->x - g_viewLeft - px) < 17 && std::abs(a->y - g_viewTop - py) < 17)
                    return MapCursor::Land;
            return MapCursor::Move;
        }
        if (own && S->model && S->actionPoints >= S->model->speed && S->equip[kHyperModule] == 1)
            return MapCursor::Jump;
    }
    return MapCursor::Standard;
}

}  // namespace

MapCursor OnMouseMove(int px, int py, int width, int height) {
    g_hoverPlanet = nullptr;
    g_hoverAsteroid = nullptr;
    g_hoverShip = nullptr;
    Platform& platform = CurrentPlatform();
    if (g_newDocCount < 2 || !g_currentWorld) {
        platform.setCursor(CursorNumber(MapCursor::Standard));
        return MapCursor::Standard;
    }
    MapCursor cursor = ScrollZone(px, py, width, height);
    if (cursor == MapCursor::Standard) {
        FindHover(px, py);
        cursor = InnerCursor(px, py);
        ClearCorners();
        ClearEdges();
    }
    NotifyDrawingFlags();
    platform.setCursor(CursorNumber(cursor));
    return cursor;
}

void OnNcMouseMove() {
    ClearCorners();
    ClearEdges();
    NotifyDrawingFlags();
}

}  // namespace qv
