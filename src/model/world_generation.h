// Turning the seven New Game options into a complete new game.
#pragma once

#include <cstdint>
#include <optional>

#include "model/globals.h"

namespace qv {

inline constexpr int kColourCount = 20;
// The players' colours, each given to at most one player in a game.
extern const Colour kPlayerColours[kColourCount];

// The option tables.
std::int32_t StartGoldFor(std::int32_t creditsOption);
std::int32_t WorldSizeFor(std::int32_t worldsSizeOption);

// Centres the 800 x 600 view on the map point (x, y), then pushes it back
// inside the map where it sticks out.
void CentreViewOn(int x, int y);

// Generates a game into the empty game-wide state (the caller destroyed the
// previous one): sizes, the neutral player, every world with its star,
// planets and asteroids, the players with colours, gold, races and home
// planets, the human's home world shown and its home planet selected.
// The generator is seeded with seed when given, else with the clock. Needs a
// loaded race: without one nothing is done and false is returned.
bool GenerateWorld(const NewGameOptions& options, std::optional<std::uint32_t> seed = std::nullopt);

}  // namespace qv
