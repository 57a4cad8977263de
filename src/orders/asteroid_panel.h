// The Asteroid Options panel of the selected asteroid (g_selAsteroid): its
// ore, the ships landed on it, launching one of them back into space ("Start
// Ship") and filling one's holds with ore ("Load Hold"). The ship the buttons
// act on is the one at row g_listSelection of the list (row 0 = the head of
// the asteroid's ships); a row the list does not have chooses nothing.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "model/dock_rows.h"
#include "model/records.h"

namespace qv {

// The ore of g_selAsteroid ("Resources:"); nothing when no asteroid is
// selected.
std::optional<std::int32_t> SelectedAsteroidResources();
// The rows of the list for g_selAsteroid's landed ships, head first; nothing
// when no asteroid is selected.
std::vector<DockRow> SelectedAsteroidDockRows();

// The ship at row g_listSelection of the selected asteroid's list, or null.
Ship* ChosenLandedShip();

// "Start Ship": the chosen ship, when it is the human player's and has action
// points left, takes off onto the circle of radius 50 around the asteroid (a
// sign draw, then a draw below 100), at the head of the open space of the
// asteroid's world, with 0 action points, its equipment, weapon readiness and
// ore, and its model's picture; the landed record is freed and "Landing.wav"
// played. The asteroid stays selected, the new ship is not selected and
// g_listSelection keeps its value. Returns true when a ship took off (the
// panel then drops row g_listSelection from its list).
bool StartShipFromAsteroid();

enum class LoadHoldResult {
    Nothing,    // a spent asteroid, or no chosen ship of the player's
    Loaded,     // the holds were filled, the ore taken off the asteroid
    NoHolds,    // "This ship hasn't holds!"
    FullHolds,  // "This ship has full holds!"
};

// "Load Hold": fills the chosen ship's holds with ore when the asteroid has
// any left and the ship is the player's; the asteroid loses ore worth the
// ship's holds (it may fall below 0). A ship without holds or with its holds
// already full gets a message and nothing changes.
LoadHoldResult LoadHold();

}  // namespace qv
