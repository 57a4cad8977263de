#include "orders/pointer_tracking.h"

#include <cstdlib>

#include "drawing/scroll.h"
#include "model/geometry.h"
#include "model/globals.h"
#include "model/map_rules.h"
#include "model/platform.h"
#include "orders/map_orders.h"

namespace qv {

namespace {

// The width of the scroll zones along the view's edges.
constexpr int kScrollZone = 20;

// The scroll zone under the pointer, scrolling that way; Standard when the
// pointer is in the inner area.
MapCursor ScrollZone(int px, int py, int W, int H) {
    constexpr int Z = kScrollZone;
    struct Zone {
        bool in;
        MapCursor cursor;
        ScrollDirection direction;
    };
    const Zone zones[] = {
        {px < Z && py < Z, MapCursor::ScrollUpLeft, ScrollDirection::UpLeft},
        {px > W - Z && py < Z, MapCursor::ScrollUpRight, ScrollDirection::UpRight},
        {px < Z && py > H - Z, MapCursor::ScrollDownLeft, ScrollDirection::DownLeft},
        {px > W - Z && py > H - Z, MapCursor::ScrollDownRight, ScrollDirection::DownRight},
        {px < Z, MapCursor::ScrollLeft, ScrollDirection::Left},
        {1 < py && py < Z, MapCursor::ScrollUp, ScrollDirection::Up},
        {px > W - Z, MapCursor::ScrollRight, ScrollDirection::Right},
        {H - Z < py && py < H - 1, MapCursor::ScrollDown, ScrollDirection::Down},
    };
    for (const Zone& z : zones) {
        if (!z.in) continue;
        // A corner leaves the other corners, an edge the other edges.
        StartScrolling(z.direction);
        return z.cursor;
    }
    return MapCursor::Standard;
}

void FindHover(int px, int py) {
    World* w = g_currentWorld;
    for (Ship* s = w->ships; s; s = s->next)
        if (PointerDistanceTo(s, px, py) < kShipHitRadius) return void(g_hoverShip = s);
    for (Planet* p = w->planets; p; p = p->next)
        if (PointerDistanceTo(p, px, py) < kPlanetHitRadius) return void(g_hoverPlanet = p);
    for (Asteroid* a = w->asteroids; a; a = a->next)
        if (PointerDistanceTo(a, px, py) < kAsteroidHitRadius) return void(g_hoverAsteroid = a);
}

// What a click would do here, as the cursor shows it. These tests knowingly
// differ from the click's own in places (reach, squares, the missile's
// readiness, an asteroid under the missile sight at the ship's radius): the
// cursor is a hint, the click decides.
MapCursor InnerCursor(int px, int py) {
    World* w = g_currentWorld;
    if (Planet* P = g_selPlanet) {
        if (PointerDistanceTo(P, px, py) < kPlanetHitRadius && OwnedByPlayer(P)) return MapCursor::Information;
        const bool armed = OwnedByPlayer(P) && P->weapon && P->weaponReady == 1;
        if (armed) {
            for (Ship* s = w->ships; s; s = s->next)
                if (PointerDistanceTo(s, px, py) < kShipHitRadius && !OwnedByPlayer(s) && DistanceBetween(*P, *s) <= P->weapon->range + kPlanetHitRadius)
                    return MapCursor::Attack;
            for (Planet* p = w->planets; p; p = p->next)
                if (PointerDistanceTo(p, px, py) < kPlanetHitRadius && !OwnedByPlayer(p) && DistanceBetween(*P, *p) <= P->weapon->range + kPlanetHitRadius)
                    return MapCursor::Attack;
        }
    }
    if (Asteroid* A = g_selAsteroid; A && PointerDistanceTo(A, px, py) < kAsteroidHitRadius) return MapCursor::Information;
    if (Ship* S = g_selShip) {
        if (g_jumpMode == 1) return MapCursor::HyperJump;
        if (g_rocketMode == 1) {
            for (Ship* s = w->ships; s; s = s->next)
                if (PointerDistanceTo(s, px, py) < kShipHitRadius && !OwnedByPlayer(s) && DistanceBetween(*S, *s) <= kMissileReach) return MapCursor::Missile;
            for (Planet* p = w->planets; p; p = p->next)
                if (PointerDistanceTo(p, px, py) < kPlanetHitRadius && !OwnedByPlayer(p) && DistanceBetween(*S, *p) <= kMissileReach) return MapCursor::Missile;
            for (Asteroid* a = w->asteroids; a; a = a->next)
                if (PointerDistanceTo(a, px, py) < kShipHitRadius && DistanceBetween(*S, *a) <= kMissileReach) return MapCursor::Missile;
        }
        const bool own = OwnedByPlayer(S);
        const double reach = PointerDistanceTo(S, px, py);
        if (reach < kShipHitRadius && own) return MapCursor::Information;
        if (own && S->weapon && S->weaponReady == 1) {
            for (Ship* s = w->ships; s; s = s->next)
                if (PointerDistanceTo(s, px, py) < kShipHitRadius && !OwnedByPlayer(s) && DistanceBetween(*S, *s) <= S->weapon->range + kShipHitRadius)
                    return MapCursor::Attack;
            for (Planet* p = w->planets; p; p = p->next)
                if (PointerDistanceTo(p, px, py) < kPlanetHitRadius && !OwnedByPlayer(p) && DistanceBetween(*S, *p) <= S->weapon->range + kPlanetHitRadius)
                    return MapCursor::Attack;
        }
        if (own && reach < S->actionPoints) {
            for (Planet* p = w->planets; p; p = p->next)
                if (OwnedByPlayer(p) && std::abs(p->x - g_viewLeft - px) < kPlanetHitRadius && std::abs(p->y - g_viewTop - py) < kPlanetHitRadius)
                    return MapCursor::Land;
            for (Asteroid* a = w->asteroids; a; a = a->next)
                if (std::abs(a->x - g_viewLeft - px) < kAsteroidHitRadius && std::abs(a->y - g_viewTop - py) < kAsteroidHitRadius)
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
        StopScrolling();
    }
    platform.setCursor(CursorNumber(cursor));
    return cursor;
}

void OnNcMouseMove() { StopScrolling(); }

}  // namespace qv
