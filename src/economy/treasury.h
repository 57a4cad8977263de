// The human player's treasury: who pays at the planet panel, and how gold
// is paid and earned there.
#pragma once

#include <cstdint>

#include "model/records.h"

namespace qv {

// The human player (the head of the player list); null when no game exists.
Player* HumanPlayer();

// A price is affordable when the gold is at least the price.
bool CanAfford(const Player* player, std::int64_t price);

// Adds the amount (negative to pay) to the player's gold. The sum is taken
// wide and kept within the 32-bit range of a treasury.
void AddGold(Player* player, std::int64_t amount);

}  // namespace qv
