#include "turn/computer_ships.h"

#include <cmath>
#include <cstdint>

#include "model/geometry.h"
#include "model/globals.h"
#include "model/map_rules.h"
#include "model/platform.h"
#include "model/sound_cues.h"
#include "turn/removal.h"
#include "turn/turn_report.h"

namespace qv {

namespace {

// Squares of map differences (up to 2^32 - 1) fit unsigned 64 bits.
std::uint64_t Square(std::int64_t d) {
    const std::uint64_t m = d < 0 ? 0 - static_cast<std::uint64_t>(d) : static_cast<std::uint64_t>(d);
    return m * m;
}

void CueOnShownWorld(const World* world, const char* cue) {
    if (world == g_currentWorld) CurrentPlatform().playCue(cue);
}

// floor(vv * dyy / (dxx + dyy)), exact for every value a map can hold.
std::uint64_t StepShare(std::uint64_t vv, std::uint64_t dxx, std::uint64_t dyy) {
#ifdef __SIZEOF_INT128__
    __extension__ typedef unsigned __int128 Wide;
    return static_cast<std::uint64_t>(static_cast<Wide>(vv) * dyy / (static_cast<Wide>(dxx) + dyy));
#else
    if (dyy == 0) return 0;
    if (vv <= UINT64_MAX / dyy && dxx <= UINT64_MAX - dyy) return vv * dyy / (dxx + dyy);
    return static_cast<std::uint64_t>(std::floor(static_cast<long double>(vv) * dyy /
                                                 (static_cast<long double>(dxx) + dyy)));
#endif
}

// The nearest record of the list that qualifies (ties keep the earlier), or
// the head of the list when none does.
template <typename T, typename Qualifies>
T* NearestOrHead(T* head, const Ship& ship, Qualifies qualifies) {
    T* target = nullptr;
    std::int64_t best = kFarAway;
    for (T* r = head; r; r = r->next) {
        if (!qualifies(*r)) continue;
        const std::int64_t d = SearchDistance(ship.x, ship.y, r->x, r->y);
        if (d < best) {
            best = d;
            target = r;
        }
    }
    return target ? target : head;
}

// The planet a warship hunts: the nearest one not its owner's, or the head
// of the list when every planet is its owner's.
Planet* TargetPlanet(World* world, const Ship& ship) {
    return NearestOrHead(world->planets, ship, [&](const Planet& p) { return p.owner != ship.owner; });
}

// The asteroid an empty cargo ship flies to: the nearest one with ore, or
// the head of the list when none has any.
Asteroid* TargetAsteroid(World* world, const Ship& ship) {
    return NearestOrHead(world->asteroids, ship, [](const Asteroid& a) { return a.resources > 0; });
}

// The planet a full cargo ship goes home to: the last of its owner's in the
// list, whatever the distance, or the head of the list when it has none.
Planet* HomePlanet(World* world, const Ship& ship) {
    Planet* home = nullptr;
    for (Planet* p = world->planets; p; p = p->next)
        if (p->owner == ship.owner) home = p;
    return home ? home : world->planets;
}

void StepAndMove(World* world, Ship* ship, int tx, int ty) {
    int nx = 0, ny = 0;
    if (StepTowards(*ship, tx, ty, nx, ny)) MoveShipTo(world, ship, nx, ny);
}

// A warship's turn. A warship never leaves open space.
void WarshipActs(World* world, Ship* ship) {
    Player* owner = ship->owner;
    const Weapon* weapon = ship->weapon;
    // A world without planets leaves it where it is; it may still fire.
    Planet* target = TargetPlanet(world, *ship);

    if (target && weapon && target->owner != owner &&
        Distance(ship->x, ship->y, target->x, target->y) <=
            static_cast<double>(weapon->range) + kBombardMargin) {
        BombardPlanet(world, ship, target);
        return;
    }

    // Pursuit fire, readiness or not, at every enemy in reach; stops after
    // the first ship it destroys.
    if (weapon) {
        const double reach = static_cast<double>(weapon->range) + kPursuitMargin;
        for (Ship* e = world->ships; e;) {
            Ship* next = e->next;
            if (e->owner != owner && Distance(ship->x, ship->y, e->x, e->y) < reach) {
                if (ShipFiresAt(world, ship, e)) break;
            }
            e = next;
        }
    }

    if (target) StepAndMove(world, ship, target->x, target->y);

    // After-move fire: one shot if still ready (a shot spends the readiness).
    if (weapon) {
        const double reach = static_cast<double>(weapon->range);
        for (Ship* e = world->ships; e && ship->weaponReady == 1; e = e->next) {
            if (e->owner != owner && Distance(ship->x, ship->y, e->x, e->y) < reach) {
                if (ShipFiresAt(world, ship, e)) break;
            }
        }
    }
}

// A cargo ship's turn; true when it landed or docked (it has left open
// space and the record is gone).
bool CargoShipActs(World* world, Ship* ship) {
    if (ship->holdFull == 0) {
        Asteroid* target = TargetAsteroid(world, *ship);
        if (!target) return false;  // no asteroid in this world: it stays
        if (Distance(ship->x, ship->y, target->x, target->y) > ship->actionPoints) {
            StepAndMove(world, ship, target->x, target->y);
            return false;
        }
        LandShip(world, ship, target->ships);
        return true;
    }
    Planet* home = HomePlanet(world, *ship);
    if (!home) return false;  // no planet in this world: it stays
    if (home->owner == ship->owner &&
        Distance(ship->x, ship->y, home->x, home->y) <= ship->actionPoints) {
        LandShip(world, ship, home->docks);
        return true;
    }
    StepAndMove(world, ship, home->x, home->y);
    return false;
}

}  // namespace

std::int64_t SearchDistance(int x1, int y1, int x2, int y2) {
    return static_cast<std::int64_t>(Distance(x1, y1, x2, y2));
}

bool StepTowards(const Ship& ship, int tx, int ty, int& nx, int& ny) {
    nx = ship.x;
    ny = ship.y;
    const std::int64_t dx = static_cast<std::int64_t>(tx) - ship.x;
    const std::int64_t dy = static_cast<std::int64_t>(ty) - ship.y;
    if (dx == 0 && dy == 0) return false;
    const std::int64_t v = ship.model ? ship.model->speed : 0;
    const auto stepY = static_cast<std::int64_t>(
        std::sqrt(static_cast<double>(StepShare(Square(v), Square(dx), Square(dy)))));
    std::int64_t rest = v * v - stepY * stepY;
    if (rest < 0) rest = 0;
    const auto stepX = static_cast<std::int64_t>(std::sqrt(static_cast<double>(rest)));
    nx = static_cast<int>(ship.x + (dx > 0 ? stepX : dx < 0 ? -stepX : 0));
    ny = static_cast<int>(ship.y + (dy > 0 ? stepY : dy < 0 ? -stepY : 0));
    return true;
}

void MoveShipTo(World* world, Ship* ship, int nx, int ny) {
    Platform& platform = CurrentPlatform();
    if (world == g_currentWorld) {
        // Integer halvings truncate toward zero.
        const std::int64_t x = ship->x, y = ship->y;
        const std::int64_t mx = (x + nx) / 2, my = (y + ny) / 2;
        const std::int64_t between[3][2] = {{(x + mx) / 2, (y + my) / 2}, {mx, my}, {(mx + nx) / 2, (my + ny) / 2}};
        for (const auto& place : between) {
            ship->x = static_cast<int>(place[0]);
            ship->y = static_cast<int>(place[1]);
            platform.waitForFrame();
        }
    } else {
        platform.waitFrameIdle();
    }
    ship->x = nx;
    ship->y = ny;
}

bool ShipFiresAt(World* world, Ship* shooter, Ship* target) {
    if (!shooter->weapon) return false;
    const int damage = DamageRoll(*shooter->weapon);
    target->shieldPoints -= damage;
    shooter->weaponReady = 0;
    CueOnShownWorld(world, kCueShot);
    ShowExplosion(world, target);
    RecordShipHit(world, *target, shooter->owner, damage);
    if (target->shieldPoints > 0) return false;
    DestroyShip(world, target);
    return true;
}

void BombardPlanet(World* world, Ship* ship, Planet* planet) {
    if (!ship->weapon) return;
    planet->shieldPoints -= DamageRoll(*ship->weapon);
    ship->weaponReady = 0;
    CueOnShownWorld(world, kCueShot);
    if (planet->shieldPoints <= 0) {
        RecordPlanetHit(world, *planet, ship->owner, planet->owner, true, HumanShipsIn(planet->docks));
        DestroyPlanet(world, planet);
    } else if (planet->shieldPoints <= kCaptureShieldPoints) {
        RecordPlanetHit(world, *planet, ship->owner, planet->owner, false, 0);
        CapturePlanet(planet, ship->owner);
        CueOnShownWorld(world, kCueCapture);
    }
}

void ComputerShipsAct(World* world, Player* player) {
    if (!world || !player) return;
    Ship* ship = world->ships;
    while (ship) {
        if (ship->owner != player) {
            ship = ship->next;
            continue;
        }
        if (ship->holds == 0) {
            WarshipActs(world, ship);
            ship = ship->next;  // read after the turn: its shots may have removed the old successor
        } else if (CargoShipActs(world, ship)) {
            ship = world->ships;  // it left open space: the visit starts again
        } else {
            ship = ship->next;
        }
    }
}

}  // namespace qv
