// Once a turn every body of a world moves: planets circle the star, asteroids
// stand, circle or drift; bodies too close destroy each other.
#pragma once

#include "model/records.h"

namespace qv {

// Planets closer than this to each other are both destroyed.
inline constexpr int kPlanetCollision = 60;
// An asteroid closer than this to a planet is destroyed and the planet loses
// kAsteroidHit shield points.
inline constexpr int kPlanetAsteroidCollision = 47;
inline constexpr int kAsteroidHit = 450;
// Asteroids closer than this to each other are both destroyed.
inline constexpr int kAsteroidCollision = 34;
// An asteroid closer than this to the star falls into it.
inline constexpr int kStarCapture = 97;

// Rotates (x, y) about (cx, cy) by theta radians; both results are rounded
// up, and the new y is computed from the new x.
void RotateAbout(int& x, int& y, int cx, int cy, double theta);

// The angle a planet of the period turns by each turn (negative for
// direction 1).
double PlanetOrbitAngle(int orbitPeriod, int orbitDirection);

// One turn of the world's bodies: planets first, then asteroids.
void MoveWorldBodies(World* world);

}  // namespace qv
