// Repairs at the planet panel: the selected planet's shield, or the chosen
// docked ship's, is restored to its full value for a price per missing point,
// once the player has agreed to pay in the payment confirmation.
#pragma once

#include <cstdint>
#include <functional>

#include "model/records.h"

namespace qv {

inline constexpr const char* kMessagePlanetNotDamaged = "Protection does not have damages!";
inline constexpr const char* kMessageShieldedPlanetNotDamaged = "Shield does not have damages!";
inline constexpr const char* kMessageShipNotDamaged = "Shielding is not damaged!";
inline constexpr const char* kMessageRepairTooDear = "You do not have so much gold!";
inline constexpr const char* kPaymentQuestion = "Do you agree to pay:";

// A ship's full shield: the model's defence, plus 100 with the Protective Screen (the Power
// Reactor's bonus does not count).
int ShipFullShield(const Ship& ship);

// What a repair costs: 5 gold a missing point for a planet, 2 for a ship;
// 0 when nothing is missing.
std::int64_t PlanetRepairPrice(const Planet& planet);
std::int64_t ShipRepairPrice(const Ship& ship);

// The payment confirmation: shown with the amount (also in g_payAmount);
// true when the player agrees.
using ConfirmPayment = std::function<bool(std::int32_t amount)>;

enum class RepairOutcome { NothingChosen, NotDamaged, NotEnoughGold, Refused, Repaired };

// "Repair Planet": the opening cue, then the planet is repaired when it is
// damaged, the human player can pay and agrees. A refusal plays the closing
// cue.
RepairOutcome RepairPlanetShield(Planet* planet, const ConfirmPayment& confirm);

// "Repair Ship": the same for the chosen docked ship of the planet; nothing
// at all (no cue) without one.
RepairOutcome RepairDockedShip(Planet* planet, const ConfirmPayment& confirm);

}  // namespace qv
