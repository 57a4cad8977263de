// The game's catalogue: the equipment a planet or a ship can carry, with its
// prices and what it adds, the shields and repairs of planets, the price of
// ore, and building a ship of a race's model. The player's shipyard and
// equipment trade and the computer players buy from the same catalogue.
#pragma once

#include <array>
#include <cstdint>

#include "model/records.h"

namespace qv {

struct CatalogueItem {
    const char* name;
    std::int32_t price;  // sold back for half
};

// The planet equipment of slots 0..2, in slot order; the owner race's first
// three weapons follow in slots 3..5 at their own costs.
inline constexpr std::array<CatalogueItem, 3> kPlanetEquipment = {{
    {"Hyper Stabilizer", 5000},
    {"Protective Shield", 3100},
    {"Global Bank System", 6900},
}};

// The ship equipment of slots 0..7, in slot order; the owner race's first
// three weapons follow in slots 8..10.
inline constexpr std::array<CatalogueItem, 8> kShipEquipment = {{
    {"Accelerator", 1500},
    {"Space Scanner", 1100},
    {"Additional Hold", 1900},
    {"Hyper Module", 1000},
    {"Hyper Jumper", 1500},
    {"Protective Screen", 2000},
    {"Power Reactor", 3000},
    {"Destructive Nuclear Missile", 3900},
}};

// How many of the race's weapons are offered after the fixed items.
inline constexpr int kRaceWeaponsOffered = 3;

inline constexpr std::int32_t kHyperStabilizerPrice = kPlanetEquipment[kHyperStabilizer].price;
inline constexpr std::int32_t kProtectiveShieldPrice = kPlanetEquipment[kProtectiveShield].price;
inline constexpr std::int32_t kGlobalBankSystemPrice = kPlanetEquipment[kGlobalBankSystem].price;

// What an item adds when it is bought (and keeps adding when it is sold).
inline constexpr int kShieldBonus = 300;        // Protective Shield: planet shield points
inline constexpr int kScreenBonus = 100;        // Protective Screen: ship shield points
inline constexpr int kReactorShieldBonus = 100;  // Power Reactor: shield points,
inline constexpr int kReactorViewBonus = 50;     // view points
inline constexpr int kReactorActionBonus = 50;   // and action points

// A planet's full shield, and what a repair costs per missing point.
inline constexpr int kPlanetShieldMax = 500;
inline constexpr int kPlanetShieldMaxProtected = 800;  // with a Protective Shield
inline constexpr int kRepairPricePerPoint = 5;
int PlanetFullShield(const Planet& planet);

// A ship's repair costs this per missing point.
inline constexpr int kShipRepairPricePerPoint = 2;

// Unloaded ore sells for this much a full hold, plus a draw below kOreBonusDraw.
inline constexpr int kOrePerHold = 100;
inline constexpr int kOreBonusDraw = 50;

// A new ship of the model at the head of the planet's docks, owned by the
// player, with the model's speed, defence, survey and hold; the player pays
// the model's cost (whatever the gold: the callers check it) and owns one
// ship more.
Ship* BuildShip(Planet* planet, Player* owner, ShipModel* model);

}  // namespace qv
