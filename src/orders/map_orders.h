// The left mouse button on the map: the minimap, selecting, opening the
// selected record's panel, moving, landing and docking, shooting, missiles,
// capturing planets, the in-world jump and the hyper jump to another world.
#pragma once

#include <cstdint>
#include <string>

#include "model/records.h"

namespace qv {

// What the caller (the view) has to open after a click; the orders
// themselves are carried out by OnLButtonDown.
enum class ClickOutcome { Nothing, PlanetPanel, ShipPanel, AsteroidPanel };

// The left button pressed at (px, py) of the view (client pixels). Runs on
// the game thread with the game lock held; waits for drawn frames while a
// ship moves and for explosions.
ClickOutcome OnLButtonDown(int px, int py);

// Why the last left click gave no order although a ship or planet of the
// human's was selected, when the click handler knows it: the selected ship
// has no action points left for a move out of its reach; the target is out
// of the weapon's or the move's reach; the weapon (or the missile) is not
// ready. None after a click that did something, or that the rules simply
// ignore.
enum class Refusal { None, NoActionPoints, OutOfRange, WeaponNotReady };
Refusal LastClickRefusal();
// The status line's words for it ("" for None).
std::string RefusalText(Refusal refusal);

// Distance between the pointer at (px, py) of the view and a map place (the
// map distance between two places is Distance).
double PointerDistance(std::int32_t x, std::int32_t y, int px, int py);

// The same for a record, and whether the human player owns a ship or planet.
template <typename T>
double PointerDistanceTo(const T* record, int px, int py) {
    return PointerDistance(record->x, record->y, px, py);
}
bool OwnedByPlayer(const Ship* ship);
bool OwnedByPlayer(const Planet* planet);

// The minimap in the top-right corner: true when (px, py) lies on it, and
// the view is then centred on the map point it stands for.
bool MinimapClick(int px, int py);

}  // namespace qv
