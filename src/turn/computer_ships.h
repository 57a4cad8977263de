// A computer player's ships in open space: warships hunt the nearest planet
// that is not their owner's, fire at enemy ships on the way and bombard the
// planet until it falls; cargo ships fly to ore and back home.
#pragma once

#include <cstdint>

#include "model/records.h"

namespace qv {

inline constexpr int kFarAway = 1000000;       // starting best distance of a target search
inline constexpr int kBombardMargin = 30;      // a warship bombards up to range + 30
inline constexpr int kPursuitMargin = 15;      // before moving it fires below range + 15

// Distance for nearest-target searches: the root truncated toward zero
// (reach tests compare the exact root, Distance).
std::int64_t SearchDistance(int x1, int y1, int x2, int y2);

// Every ship of the player in the world's open space acts once; a landing or
// docking starts the visit again from the head of the list.
void ComputerShipsAct(World* world, Player* player);

// One step of the ship towards (tx, ty) with its model's speed: the new
// place in (nx, ny). A target at the ship's own place gives no direction:
// false, and the ship stays.
bool StepTowards(const Ship& ship, int tx, int ty, int& nx, int& ny);

// Puts the ship at (nx, ny). On the world shown it is first shown at three
// places in between, one drawn frame each; elsewhere the move only waits
// until no frame is pending.
void MoveShipTo(World* world, Ship* ship, int nx, int ny);

// The shooter's weapon hits the target: damage, no readiness left, the shot
// heard and the explosion shown on the world shown; a target left with no
// shield points is destroyed. True when it was.
bool ShipFiresAt(World* world, Ship* shooter, Ship* target);

// The warship's weapon hits the planet: destroyed with no shield points
// left, captured with kCaptureShieldPoints or fewer.
void BombardPlanet(World* world, Ship* ship, Planet* planet);

}  // namespace qv
