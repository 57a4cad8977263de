#include "orders/ship_panel.h"

#include "model/globals.h"
#include "model/lists.h"

namespace qv {

namespace {

// The devices' lines, slots 0..7.
constexpr const char* kDeviceLines[] = {
    "Accelerator",  "Space Scanner",     "Additional Hold", "Hyper Modul",
    "Hyper Jumper", "Protective Screen", "Power reactor",   "Destructive Nuclear Missile",
};

}  // namespace

std::string ShipEquipmentLine(const Ship& ship, int slot) {
    if (slot >= 0 && slot < kShipRaceWeapon1) return kDeviceLines[slot];
    if (slot < kShipRaceWeapon1 || slot >= kShipEquipSlots) return {};
    if (ship.weapon) return ship.weapon->name;
    // A weapon slot without a weapon: name the race weapon the slot stands for.
    if (ship.owner && ship.owner->race)
        if (const Weapon* w = RecordAt(ship.owner->race->weapons, slot - kShipRaceWeapon1 + 1)) return w->name;
    return {};
}

std::vector<std::string> ShipEquipmentLines(const Ship& ship) {
    std::vector<std::string> lines;
    for (int slot = 0; slot < kShipEquipSlots; ++slot)
        if (ship.equip[slot] == 1) lines.push_back(ShipEquipmentLine(ship, slot));
    return lines;
}

ShipFigures ShipPanelFigures(const Ship& ship) {
    ShipFigures figures;
    figures.modelName = ship.model ? ship.model->name : std::string();
    figures.actionPoints = ship.actionPoints;
    figures.shieldPoints = ship.shieldPoints;
    figures.viewPoints = ship.viewPoints;
    figures.holds = ship.holds;
    figures.holdState = ship.holdFull == 1 ? "(full)" : "(empty)";
    figures.equipment = ShipEquipmentLines(ship);
    return figures;
}

std::optional<ShipFigures> SelectedShipFigures() {
    if (!g_selShip) return std::nullopt;
    return ShipPanelFigures(*g_selShip);
}

bool ArmHyperJump() {
    if (!g_selShip || g_selShip->equip[kHyperJumper] == 0) return false;
    g_jumpMode = 1;
    return true;
}

bool ArmMissile() {
    if (!g_selShip || g_selShip->equip[kNuclearMissile] == 0) return false;
    g_rocketMode = 1;
    return true;
}

}  // namespace qv
