#include "economy/repairs.h"

#include "economy/planet_panel.h"
#include "economy/treasury.h"
#include "model/catalogue.h"
#include "model/globals.h"
#include "model/platform.h"
#include "model/sound_cues.h"

namespace qv {

int ShipFullShield(const Ship& ship) {
    const int defence = ship.model ? ship.model->defence : 0;
    return ship.equip[kProtectiveScreen] ? defence + kScreenBonus : defence;
}

namespace {

std::int64_t Missing(std::int64_t full, std::int32_t shield) { return full > shield ? full - shield : 0; }

// Steps shared by both repairs once the damage is known: the price against
// the gold, the confirmation, the payment.
RepairOutcome PayAndRepair(std::int64_t price, std::int32_t& shield, int full, const ConfirmPayment& confirm) {
    Platform& platform = CurrentPlatform();
    Player* human = HumanPlayer();
    if (!CanAfford(human, price)) {
        platform.messageBox(kMessageRepairTooDear);
        return RepairOutcome::NotEnoughGold;
    }
    g_payAmount = static_cast<std::int32_t>(price);
    if (!confirm || !confirm(g_payAmount)) {
        platform.playCue(kCueStepCloses);
        return RepairOutcome::Refused;
    }
    AddGold(human, -static_cast<std::int64_t>(g_payAmount));
    shield = full;
    return RepairOutcome::Repaired;
}

}  // namespace

std::int64_t PlanetRepairPrice(const Planet& planet) {
    return Missing(PlanetFullShield(planet), planet.shieldPoints) * kRepairPricePerPoint;
}

std::int64_t ShipRepairPrice(const Ship& ship) {
    return Missing(static_cast<std::int64_t>(ShipFullShield(ship)), ship.shieldPoints) * kShipRepairPricePerPoint;
}

RepairOutcome RepairPlanetShield(Planet* planet, const ConfirmPayment& confirm) {
    Platform& platform = CurrentPlatform();
    platform.playCue(kCueStepOpens);
    if (!planet) return RepairOutcome::NothingChosen;
    const int full = PlanetFullShield(*planet);
    if (planet->shieldPoints >= full) {
        platform.messageBox(full == kPlanetShieldMax ? kMessagePlanetNotDamaged : kMessageShieldedPlanetNotDamaged);
        return RepairOutcome::NotDamaged;
    }
    return PayAndRepair(PlanetRepairPrice(*planet), planet->shieldPoints, full, confirm);
}

RepairOutcome RepairDockedShip(Planet* planet, const ConfirmPayment& confirm) {
    Ship* ship = ChosenDockedShip(planet);
    if (!ship) return RepairOutcome::NothingChosen;
    Platform& platform = CurrentPlatform();
    platform.playCue(kCueStepOpens);
    const int full = ShipFullShield(*ship);
    if (ship->shieldPoints >= full) {
        platform.messageBox(kMessageShipNotDamaged);
        return RepairOutcome::NotDamaged;
    }
    return PayAndRepair(ShipRepairPrice(*ship), ship->shieldPoints, full, confirm);
}

}  // namespace qv
