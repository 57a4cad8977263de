// The computer players' turn: the driver that walks the players and worlds,
// and the rules by which a computer player runs its planets (repairs,
// shipbuilding, weapons, equipment, unloading ore, launching ships, planet
// defence) and its ships landed at asteroids (loading ore, taking off).
// Ships in open space are turn/computer_ships.h.
#pragma once

#include <cstdint>

#include "model/records.h"

namespace qv {

// The random cargo build is made only while the player owns fewer ships.
inline constexpr int kCargoShipLimit = 6;
inline constexpr int kPlanetDefenceMargin = 30;  // a planet fires up to range + 30
inline constexpr int kNoInstability = 3;         // g_unstability of "None"

// The computer players act, each over every world in world order (ships in
// open space, then planets, then ships at asteroids), and each one's power
// is recorded for g_turn; the human player's power is recorded last. With
// autopilot the human player first acts by the same rules.
void ComputerPlayersTurn(bool autopilot = false);

// One player's whole pass: every world in order, ships, planets, asteroids.
void PlayerActsInEveryWorld(Player* player);

// The player's planets of the world, in list order.
void ComputerPlanetsAct(World* world, Player* player);

// The player's ships landed at the world's asteroids: loading and take-off.
void ComputerAsteroidsAct(World* world, Player* player);

// What a weapon is worth to a computer player: range + bound - least damage.
std::int64_t WeaponWorth(const Weapon& weapon);

// The three choices. Each starts from the head of the race's list as the
// best (affordable or not) and replaces it only by a strictly better
// affordable candidate, so ties keep the earlier entry. Null when the race
// has nothing to choose from.
// Cargo model: cost < gold / 2, the largest hold.
ShipModel* ChooseCargoModel(Race* race, std::int32_t gold);
// War model: cost < gold / 2, the largest speed + defence + survey.
ShipModel* ChooseWarModel(Race* race, std::int32_t gold);
// Weapon: cost < gold - the war model's cost, the largest worth.
Weapon* ChooseWeapon(Race* race, std::int32_t gold, const ShipModel& warModel);

}  // namespace qv
