#include "orders/map_orders.h"

#include <cstdlib>

#include "model/geometry.h"
#include "model/globals.h"
#include "model/lists.h"
#include "model/map_rules.h"
#include "model/overview_geometry.h"
#include "model/platform.h"
#include "model/sound_cues.h"
#include "model/world_generation.h"
#include "turn/removal.h"

namespace qv {

namespace {

Refusal g_refusal = Refusal::None;

// The reason a shot at a target under the pointer was not fired: the first
// one met is kept, the click may still do something else.
void NoteRefusal(Refusal why) {
    if (g_refusal == Refusal::None) g_refusal = why;
}

void SelectPlanet(Planet* p) {
    g_refusal = Refusal::None;  // a new selection is an answer too
    g_selPlanet = p;
    g_selShip = nullptr;
    g_selAsteroid = nullptr;
}
void SelectShip(Ship* s) {
    g_refusal = Refusal::None;  // a new selection is an answer too
    g_selShip = s;
    g_selPlanet = nullptr;
    g_selAsteroid = nullptr;
}
void SelectAsteroid(Asteroid* a) {
    g_refusal = Refusal::None;  // a new selection is an answer too
    g_selAsteroid = a;
    g_selShip = nullptr;
    g_selPlanet = nullptr;
}

// The world whose open space holds the ship (the current world first).
World* WorldHolding(const Ship* ship) {
    if (g_currentWorld && IndexOf(g_currentWorld->ships, ship) != 0) return g_currentWorld;
    for (World* w = g_worlds; w; w = w->next)
        if (IndexOf(w->ships, ship) != 0) return w;
    return nullptr;
}

// The ship goes to (tx, ty) in four steps, a drawn frame after each of the
// first three.
void FourStepMove(Ship* s, int tx, int ty) {
    const int mx = (s->x + tx) / 2, my = (s->y + ty) / 2;
    const int q1x = (s->x + mx) / 2, q1y = (s->y + my) / 2;
    const int q3x = (mx + tx) / 2, q3y = (my + ty) / 2;
    Platform& platform = CurrentPlatform();
    s->x = q1x;
    s->y = q1y;
    platform.waitForFrame();
    s->x = mx;
    s->y = my;
    platform.waitForFrame();
    s->x = q3x;
    s->y = q3y;
    platform.waitForFrame();
    s->x = tx;
    s->y = ty;
}

// The ship lands on the planet or docks at the asteroid: a copy of it with
// no action points goes into the body's list, the body is selected.
void DockAt(Ship* s, Ship*& list) {
    World* world = WorldHolding(s);
    if (!world) return;
    LandShip(world, s, list);
    g_selShip = nullptr;
    CurrentPlatform().playCue(kCueLanding);
}

// The missile is spent with the ship's readiness.
void SpendMissile(Ship* s) {
    g_rocketMode = 0;
    s->equip[kNuclearMissile] = 0;
    s->weaponReady = 0;
    CurrentPlatform().playCue(kCueMissile);
}

void Fire(std::uint8_t& ready) {
    ready = 0;
    CurrentPlatform().playCue(kCueShot);
}

// Nothing selected: an own ship, an own planet, any asteroid.
ClickOutcome NothingSelected(int px, int py) {
    World* w = g_currentWorld;
    for (Ship* s = w->ships; s; s = s->next)
        if (PointerDistanceTo(s, px, py) < kShipHitRadius && OwnedByPlayer(s)) return SelectShip(s), ClickOutcome::Nothing;
    for (Planet* p = w->planets; p; p = p->next)
        if (PointerDistanceTo(p, px, py) <= kPlanetHitRadius && OwnedByPlayer(p)) return SelectPlanet(p), ClickOutcome::Nothing;
    for (Asteroid* a = w->asteroids; a; a = a->next)
        if (PointerDistanceTo(a, px, py) < kAsteroidHitRadius) return SelectAsteroid(a), ClickOutcome::Nothing;
    return ClickOutcome::Nothing;
}

// A planet selected: its panel, another own planet, its weapon on an enemy
// planet or ship (a target that survives lets the walk go on), an asteroid.
ClickOutcome PlanetSelected(Planet* P, int px, int py) {
    World* w = g_currentWorld;
    if (PointerDistanceTo(P, px, py) < kPlanetHitRadius) return ClickOutcome::PlanetPanel;
    for (Planet* p = w->planets; p; p = p->next) {
        if (PointerDistanceTo(p, px, py) >= kPlanetHitRadius) continue;
        if (OwnedByPlayer(p)) return SelectPlanet(p), ClickOutcome::Nothing;
        if (P->weapon && !P->weaponReady) NoteRefusal(Refusal::WeaponNotReady);
        else if (P->weapon && DistanceBetween(*P, *p) > P->weapon->range + kPlanetHitRadius)
            NoteRefusal(Refusal::OutOfRange);
        if (P->weapon && P->weaponReady && DistanceBetween(*P, *p) <= P->weapon->range + kPlanetHitRadius) {
            g_refusal = Refusal::None;
            Fire(P->weaponReady);
            p->shieldPoints -= DamageRoll(*P->weapon);
            if (p->shieldPoints <= 0) {
                RemovePlanet(w, p);
                return ClickOutcome::Nothing;
            }
        }
    }
    for (Asteroid* a = w->asteroids; a; a = a->next)
        if (PointerDistanceTo(a, px, py) < kAsteroidHitRadius) return SelectAsteroid(a), ClickOutcome::Nothing;
    for (Ship* s = w->ships; s; s = s->next) {
        if (PointerDistanceTo(s, px, py) >= kShipHitRadius) continue;
        if (OwnedByPlayer(s)) return SelectShip(s), ClickOutcome::Nothing;
        if (P->weapon && !P->weaponReady) NoteRefusal(Refusal::WeaponNotReady);
        else if (P->weapon && DistanceBetween(*P, *s) > P->weapon->range + kPlanetHitRadius)
            NoteRefusal(Refusal::OutOfRange);
        if (P->weapon && P->weaponReady && DistanceBetween(*P, *s) <= P->weapon->range + kPlanetHitRadius) {
            g_refusal = Refusal::None;
            Fire(P->weaponReady);
            s->shieldPoints -= DamageRoll(*P->weapon);
            ShowExplosion(w, s);
            if (s->shieldPoints <= 0) {
                DestroyShip(w, s);
                return ClickOutcome::Nothing;
            }
        }
    }
    return ClickOutcome::Nothing;
}

// An asteroid selected: its panel (a square around it), an own planet,
// another asteroid, an own ship.
ClickOutcome AsteroidSelected(Asteroid* A, int px, int py) {
    World* w = g_currentWorld;
    if (std::abs(A->x - g_viewLeft - px) < kAsteroidHitRadius && std::abs(A->y - g_viewTop - py) < kAsteroidHitRadius)
        return ClickOutcome::AsteroidPanel;
    for (Planet* p = w->planets; p; p = p->next)
        if (PointerDistanceTo(p, px, py) < kPlanetHitRadius && OwnedByPlayer(p)) return SelectPlanet(p), ClickOutcome::Nothing;
    for (Asteroid* a = w->asteroids; a; a = a->next)
        if (PointerDistanceTo(a, px, py) < kAsteroidHitRadius) return SelectAsteroid(a), ClickOutcome::Nothing;
    for (Ship* s = w->ships; s; s = s->next)
        if (PointerDistanceTo(s, px, py) < kShipHitRadius && OwnedByPlayer(s)) return SelectShip(s), ClickOutcome::Nothing;
    return ClickOutcome::Nothing;
}

// A ship selected: its panel, another own ship, missiles and shots, landing
// and docking, a move, the in-world jump and the hyper jump.
ClickOutcome ShipSelected(Ship* S, int px, int py) {
    World* w = g_currentWorld;
    const bool own = OwnedByPlayer(S);
    const int mapX = px + g_viewLeft, mapY = py + g_viewTop;
    if (PointerDistanceTo(S, px, py) < kShipHitRadius && own) return ClickOutcome::ShipPanel;

    for (Ship* s = w->ships; s; s = s->next) {
        const double d = PointerDistanceTo(s, px, py);
        if (d >= kShipHitRadius) continue;
        if (OwnedByPlayer(s)) return SelectShip(s), ClickOutcome::Nothing;
        if (g_rocketMode == 1 && S->weaponReady && own && DistanceBetween(*S, *s) < kMissileReach) {
            SpendMissile(S);
            ShowExplosion(w, s);
            DestroyShip(w, s);
            return ClickOutcome::Nothing;
        }
        if (own && (g_rocketMode == 1 || S->weapon)) {
            if (!S->weaponReady) NoteRefusal(Refusal::WeaponNotReady);
            else if (!S->weapon || DistanceBetween(*S, *s) >= S->weapon->range + kShipHitRadius)
                NoteRefusal(Refusal::OutOfRange);
        }
        if (S->weapon && S->weaponReady && own && DistanceBetween(*S, *s) < S->weapon->range + kShipHitRadius) {
            g_refusal = Refusal::None;
            Fire(S->weaponReady);
            s->shieldPoints -= DamageRoll(*S->weapon);
            ShowExplosion(w, s);
            if (s->shieldPoints <= 0) DestroyShip(w, s);
            return ClickOutcome::Nothing;
        }
    }

    for (Planet* p = w->planets; p; p = p->next) {
        const double d = PointerDistanceTo(p, px, py);
        if (OwnedByPlayer(p)) {
            if (d >= kPlanetHitRadius) continue;
            if (DistanceBetween(*p, *S) < S->actionPoints + kLandingReach) {
                FourStepMove(S, mapX, mapY);
                SelectPlanet(p);
                DockAt(S, p->docks);
            } else {
                SelectPlanet(p);
            }
            return ClickOutcome::Nothing;
        }
        if (g_rocketMode == 1 && d < kPlanetHitRadius && S->weaponReady && own && DistanceBetween(*S, *p) < kMissileReach) {
            g_refusal = Refusal::None;
            SpendMissile(S);
            ShowExplosion(w, p);
            RemovePlanet(w, p);
            return ClickOutcome::Nothing;
        }
        if (d < kPlanetHitRadius && own && (g_rocketMode == 1 || S->weapon)) {
            if (!S->weaponReady) NoteRefusal(Refusal::WeaponNotReady);
            else if (!S->weapon || DistanceBetween(*S, *p) >= S->weapon->range + kPlanetHitRadius)
                NoteRefusal(Refusal::OutOfRange);
        }
        if (d < kPlanetHitRadius && S->weapon && S->weaponReady && own && DistanceBetween(*S, *p) < S->weapon->range + kPlanetHitRadius) {
            g_refusal = Refusal::None;
            p->shieldPoints -= DamageRoll(*S->weapon);
            Fire(S->weaponReady);
            if (p->shieldPoints <= 0) {
                RemovePlanet(w, p);
            } else if (p->shieldPoints <= kCaptureShieldPoints) {
                CapturePlanet(p, g_players);
                CurrentPlatform().playCue(kCueCapture);
            }
            return ClickOutcome::Nothing;
        }
    }

    for (Asteroid* a = w->asteroids; a; a = a->next) {
        const double d = PointerDistanceTo(a, px, py);
        if (g_rocketMode == 1 && d < kAsteroidHitRadius && S->weaponReady && own && DistanceBetween(*S, *a) < kMissileReach) {
            g_refusal = Refusal::None;
            SpendMissile(S);
            DestroyAsteroid(w, a);  // shows the explosion first
            return ClickOutcome::Nothing;
        }
        if (d < kAsteroidHitRadius) {
            if (DistanceBetween(*a, *S) < S->actionPoints + kDockingReach && own) {
                FourStepMove(S, mapX, mapY);
                SelectAsteroid(a);
                DockAt(S, a->ships);
            } else {
                SelectAsteroid(a);
            }
            return ClickOutcome::Nothing;
        }
    }

    // A move within reach; the click goes on to the jumps.
    if (const double d = PointerDistanceTo(S, px, py); d < S->actionPoints && own) {
        g_refusal = Refusal::None;
        S->actionPoints -= static_cast<std::int32_t>(d);
        FourStepMove(S, mapX, mapY);
    } else if (own && S->equip[kHyperModule] != 1 && g_jumpMode != 1) {
        // Out of the move's reach: said only when the pointer was on no target.
        NoteRefusal(S->actionPoints <= 0 ? Refusal::NoActionPoints : Refusal::OutOfRange);
    }

    // Beyond reach with a Hyper Module: there at once.
    if (const double d = PointerDistanceTo(S, px, py); S->actionPoints < d && S->equip[kHyperModule] == 1 && own) {
        g_refusal = Refusal::None;
        S->equip[kHyperModule] = 0;
        S->actionPoints = 0;
        S->x = mapX;
        S->y = mapY;
        return ClickOutcome::Nothing;
    }

    // The armed Hyper Jumper: into the world shown, from another one.
    if (g_jumpMode == 1) {
        g_refusal = Refusal::None;
        g_jumpMode = 0;
        S->equip[kHyperJumper] = 0;
        World* from = WorldHolding(S);
        if (!from || from == w) return ClickOutcome::Nothing;
        Ship* arrived = TransferShipInSpace(from, S, w, g_viewRight - kViewWidth + px, g_viewBottom - kViewHeight + py);
        arrived->actionPoints = 0;
        g_selShip = arrived;
    }
    return ClickOutcome::Nothing;
}

}  // namespace

bool OwnedByPlayer(const Ship* ship) { return ship->owner == g_players; }
bool OwnedByPlayer(const Planet* planet) { return planet->owner == g_players; }

double PointerDistance(std::int32_t x, std::int32_t y, int px, int py) {
    // The pointer's place on the map.
    return Distance(x, y, static_cast<std::int64_t>(px) + g_viewLeft, static_cast<std::int64_t>(py) + g_viewTop);
}

bool MinimapClick(int px, int py) {
    const auto left = OverviewLeft(g_worldSize), bottom = OverviewBottom(g_worldSize);
    if (!(left < px && px < kOverviewRight && kOverviewTop < py && py < bottom)) return false;
    CentreViewOn(static_cast<int>((px - left) * kOverviewScale), (py - kOverviewTop) * kOverviewScale);
    return true;
}

Refusal LastClickRefusal() { return g_refusal; }

std::string RefusalText(Refusal refusal) {
    switch (refusal) {
        case Refusal::None: return "";
        case Refusal::NoActionPoints: return "No action points left this turn.";
        case Refusal::OutOfRange: return "Out of range.";
        case Refusal::WeaponNotReady: return "The weapon is not ready yet.";
    }
    return "";
}

ClickOutcome OnLButtonDown(int px, int py) {
    g_refusal = Refusal::None;
    if (g_newDocCount < 2 || !g_currentWorld || !g_players) return ClickOutcome::Nothing;
    if (MinimapClick(px, py)) return ClickOutcome::Nothing;
    if (g_selPlanet) return PlanetSelected(g_selPlanet, px, py);
    if (g_selAsteroid) return AsteroidSelected(g_selAsteroid, px, py);
    if (g_selShip) return ShipSelected(g_selShip, px, py);
    return NothingSelected(px, py);
}

}  // namespace qv
