// The distances and limits the rules on the map share: how near the pointer
// (or a shot) must come to a body, how far a missile, a landing and a
// launch reach, and when a planet changes hands.
#pragma once

namespace qv {

// Hit radii: a body lies under the pointer closer than these (a planet also
// at exactly its radius when nothing is selected).
inline constexpr int kShipHitRadius = 15;
inline constexpr int kPlanetHitRadius = 30;
inline constexpr int kAsteroidHitRadius = 17;

// The nuclear missile hits a target closer than this to its ship.
inline constexpr int kMissileReach = 80;

// A ship lands on an own planet closer than its action points plus this, and
// docks at an asteroid closer than its action points plus its own hit radius.
inline constexpr int kLandingReach = 28;
inline constexpr int kDockingReach = kShipHitRadius;

// A ship taking off from a planet or an asteroid is put on the circle of
// this radius around it.
inline constexpr int kLaunchRadius = 50;

// A planet left with this many shield points or fewer (but more than none)
// by a ship's shot is captured by the ship's owner; with none left it is
// destroyed.
inline constexpr int kCaptureShieldPoints = 100;

}  // namespace qv
