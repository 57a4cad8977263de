#include "economy/treasury.h"

#include <algorithm>
#include <limits>

#include "model/globals.h"

namespace qv {

Player* HumanPlayer() { return g_players; }

bool CanAfford(const Player* player, std::int64_t price) { return player && player->gold >= price; }

void AddGold(Player* player, std::int64_t amount) {
    if (!player) return;
    const std::int64_t sum = static_cast<std::int64_t>(player->gold) + amount;
    constexpr std::int64_t lo = std::numeric_limits<std::int32_t>::min();
    constexpr std::int64_t hi = std::numeric_limits<std::int32_t>::max();
    player->gold = static_cast<std::int32_t>(std::clamp(sum, lo, hi));
}

}  // namespace qv
