// The shipyard ("Build Ship"): the ship models of the human player's race
// and buying one into the docks of the selected planet.
#pragma once

#include <vector>

#include "model/records.h"

namespace qv {

inline constexpr const char* kMessageNoGoldForShip = "You have not gold for this ship!";

// The models of the human player's race, head first (one row each).
std::vector<const ShipModel*> ShipyardModels();

// The model at the row (0 = head of the race's models), or null.
ShipModel* ShipyardModelAt(int row);

// Buys the model at the row for the planet's docks: when the human player
// can pay its cost (gold equal to the cost is enough), a new ship of the
// model heads the docks and "BldShip.wav" plays; otherwise the player is told
// there is not enough gold. A row outside the list buys nothing. Returns the
// new ship, or null.
Ship* BuyShip(Planet* planet, int row);

}  // namespace qv
