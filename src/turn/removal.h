// Destroying planets, asteroids and ships, and moving them into other lists,
// with the players' counters kept right and every selection and hover pointer
// cleared or redirected. The game thread does all of it under the game lock,
// so the drawing thread never meets a record that is being freed.
#pragma once

#include "model/records.h"

namespace qv {

// One hit of a weapon: its least damage plus a draw below the span between
// least damage and bound. A weapon whose bound is not above its least damage
// deals its least damage and draws nothing.
int DamageRoll(const Weapon& weapon);

// Records the player's power (PlayerPower) for the turn, growing the history
// when the game runs past its end.
void RecordPower(Player& player, int turn);
// Grows the history, when needed, so that it holds the turn (zero there).
void KeepPowerRoom(Player& player, int turn);

// On the world shown, the explosion is drawn twice; elsewhere nothing.
void ShowExplosion(const World* world, Planet* planet);
void ShowExplosion(const World* world, Asteroid* asteroid);
void ShowExplosion(const World* world, Ship* ship);

// Clears every selection and hover pointer (and the dock selection) that
// refers to the record.
void ForgetPlanet(const Planet* planet);
void ForgetAsteroid(const Asteroid* asteroid);
void ForgetShip(const Ship* ship);

// Takes the record out of its list, clears every pointer to it and frees it.
void Discard(Planet*& list, Planet* planet);
void Discard(Asteroid*& list, Asteroid* asteroid);
void Discard(Ship*& list, Ship* ship);

// Explosion, then every docked ship freed (the owner's ship count lowered for
// each), the owner's planet count lowered and the planet discarded.
void DestroyPlanet(World* world, Planet* planet);
// The same without the explosion, and with every docked ship counted off its
// own owner: what the player's shot leaves of a planet.
void RemovePlanet(World* world, Planet* planet);
// Explosion, then every landed ship freed (each ship's own owner's count
// lowered), the asteroid unlinked and freed.
void DestroyAsteroid(World* world, Asteroid* asteroid);
// A ship in open space: unlinked, its owner's ship count lowered, freed. The
// combat that hit it shows the explosion.
void DestroyShip(World* world, Ship* ship);

// Instability: the object goes to the head of the target world's list at
// (x, y) keeping everything else (a planet its docked ships, an asteroid its
// landed ships); the old record is freed and pointers to it cleared. Returns
// the new record.
Planet* TransferPlanet(World* from, Planet* planet, World* to, int x, int y);
Asteroid* TransferAsteroid(World* from, Asteroid* asteroid, World* to, int x, int y);
Ship* TransferShipInSpace(World* from, Ship* ship, World* to, int x, int y);

// Landing at an asteroid or docking at a planet: the ship leaves the world's
// open space for the head of target (an asteroid's ships or a planet's
// docks) with no action points, no place and no sprite.
Ship* LandShip(World* world, Ship* ship, Ship*& target);

// Taking off from a planet or an asteroid at (bx, by): the ship leaves list
// for the head of the world's open space, on the launch circle around the
// body, with no action points, no equipment, no readiness, and its model's
// sprite. The player's own take-off keeps the ship's equipment and weapon
// readiness.
Ship* TakeOffShip(World* world, Ship* ship, Ship*& list, int bx, int by);
Ship* TakeOffShipEquipped(World* world, Ship* ship, Ship*& list, int bx, int by);

// A place on the launch circle (radius kLaunchRadius) around (bx, by): a
// sign draw, then k = rand() % (2 * radius);
// x = bx + sign * trunc(sqrt(radius^2 - (k - radius)^2)), y = by - radius + k.
void LaunchCirclePlace(int bx, int by, int& x, int& y);

// The captor takes the planet: the counters of both owners follow, every
// docked ship changes owner too, and each docked ship's model and weapon,
// and the planet's weapon, become the captor's race's records at the same
// positions in their lists (the last one when the captor's list is shorter).
void CapturePlanet(Planet* planet, Player* captor);

}  // namespace qv
