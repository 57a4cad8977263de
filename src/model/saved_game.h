// Saved games: a flat little-endian layout of players, worlds (with their
// ships, asteroids and planets) and the view and game values. Records refer
// to each other and to the races by 1-based list positions, 0 for none.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "model/globals.h"

namespace qv {

inline constexpr std::size_t kSavedShipSize = 8486;

// The bytes of the running game (adds 1 to g_newDocCount). Only reads the
// records.
std::vector<std::uint8_t> SaveGameBytes(const NewGameOptions& options);

// The size SaveGameBytes gives for the running game.
std::size_t SavedGameSize();

// Reads a saved game into a new game and, only when the whole file was
// sound, replaces the running game with it (drawing paused meanwhile):
// players and worlds in saved order, the ships, asteroids and planets inside
// each world reversed, every power history zero, nothing selected,
// g_unstability and the document's unstabilityOption from the file,
// g_gameOver 0, g_newDocCount + 1. A file that ends early, holds more or
// fewer bytes than its counts say, or names a player, race, ship model or
// current world that does not exist is refused: a message naming fileName
// and the problem is shown, the reason goes to error when given, and the
// running game is left exactly as it was. A weapon index beyond its list
// loads as no weapon.
bool LoadGameBytes(const std::uint8_t* data, std::size_t size, const std::string& fileName,
                   NewGameOptions& options, std::string* error = nullptr);

}  // namespace qv
