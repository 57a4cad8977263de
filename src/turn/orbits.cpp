#include "turn/orbits.h"

#include <cmath>

#include "model/geometry.h"
#include "model/globals.h"
#include "model/platform.h"
#include "model/sound_cues.h"
#include "turn/removal.h"
#include "turn/turn_report.h"

namespace qv {

namespace {

// Not full-precision pi: stored games depend on this value.
constexpr double kAngleNumerator = 3.14159;
constexpr int kAngleDivisor = 108;

void Boom(const World* world) {
    if (world == g_currentWorld) CurrentPlatform().playCue(kCueCollision);
}

void DestroyPlanetLoudly(World* world, Planet* planet) {
    RecordCollision(world, BodyKind::Planet, planet->x, planet->y, planet->owner && planet->owner == g_players,
                    HumanShipsIn(planet->docks));
    DestroyPlanet(world, planet);
    Boom(world);
}

void DestroyAsteroidLoudly(World* world, Asteroid* asteroid) {
    RecordCollision(world, BodyKind::Asteroid, asteroid->x, asteroid->y, false, HumanShipsIn(asteroid->ships));
    DestroyAsteroid(world, asteroid);
    Boom(world);
}

void MovePlanets(World* world) {
    const int cx = world->star->x;
    const int cy = world->star->y;
    Planet* p = world->planets;
    while (p) {
        RotateAbout(p->x, p->y, cx, cy, PlanetOrbitAngle(p->orbitPeriod, p->orbitDirection));

        Planet* other = world->planets;
        while (other && (other == p || Distance(p->x, p->y, other->x, other->y) >= kPlanetCollision))
            other = other->next;
        if (other) {
            DestroyPlanetLoudly(world, other);
            DestroyPlanetLoudly(world, p);
            // The pass starts again: planets earlier in the list move again.
            p = world->planets;
            continue;
        }

        Asteroid* a = world->asteroids;
        while (a && Distance(p->x, p->y, a->x, a->y) >= kPlanetAsteroidCollision) a = a->next;
        Planet* next = p->next;
        if (a) {
            p->shieldPoints -= kAsteroidHit;
            DestroyAsteroidLoudly(world, a);
            if (p->shieldPoints <= 0) DestroyPlanetLoudly(world, p);
        }
        p = next;
    }
}

void Drift(Asteroid& a, const World& world) {
    const int v = a.motionRate;
    switch (a.motion) {
        case 1: RotateAbout(a.x, a.y, world.star->x, world.star->y, -kAngleNumerator / (kAngleDivisor * v)); break;
        case 2: a.x -= v; a.y -= v; break;
        case 3: a.y -= v; break;
        case 4: a.x += v; a.y -= v; break;
        case 5: a.x += v; break;
        case 6: a.x += v; a.y += v; break;
        case 7: a.y += v; break;
        case 8: a.x -= v; a.y += v; break;
        case 9: a.x -= v; break;
        default: break;
    }
    // Off one edge, on at the other.
    const int size = g_worldSize;
    if (a.x < 0) a.x = size;
    if (a.x > size) a.x = 0;
    if (a.y < 0) a.y = size;
    if (a.y > size) a.y = 0;
}

void MoveAsteroids(World* world) {
    const int centre = g_worldSize / 2;
    Asteroid* a = world->asteroids;
    while (a) {
        Drift(*a, *world);
        // Partner and star test. The tail of the list is a partner only when
        // it follows a itself; the star test comes after each partner missed.
        Asteroid* b = world->asteroids;
        Asteroid* next = a->next;
        bool destroyed = false;
        while (b) {
            if (b == a) {
                if (!a->next) break;
                b = a->next;
            } else if (!b->next) {
                break;
            }
            if (Distance(a->x, a->y, b->x, b->y) < kAsteroidCollision) {
                DestroyAsteroidLoudly(world, b);
                next = a->next;  // taken after b's removal
                DestroyAsteroidLoudly(world, a);
                destroyed = true;
                break;
            }
            b = b->next;
            if (Distance(a->x, a->y, centre, centre) < kStarCapture) {
                next = a->next;
                DestroyAsteroidLoudly(world, a);
                destroyed = true;
                break;
            }
        }
        a = destroyed ? next : a->next;
    }
}

}  // namespace

void RotateAbout(int& x, int& y, int cx, int cy, double theta) {
    const double dx = x - cx;
    const double dy = y - cy;
    const double c = std::cos(theta);
    const double s = std::sin(theta);
    const int x1 = static_cast<int>(std::ceil(dx * c + dy * s));
    const int y1 = static_cast<int>(std::ceil(dy * c - x1 * s));
    x = x1 + cx;
    y = y1 + cy;
}

double PlanetOrbitAngle(int orbitPeriod, int orbitDirection) {
    const double theta = kAngleNumerator / (kAngleDivisor * orbitPeriod);
    return orbitDirection != 0 ? -theta : theta;
}

void MoveWorldBodies(World* world) {
    MovePlanets(world);
    MoveAsteroids(world);
}

}  // namespace qv
