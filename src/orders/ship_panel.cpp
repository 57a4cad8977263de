#include "orders/ship_panel.h"

#include "model/globals.h"
#include "model/lists.h"

namespace qv {

namespace {

// Where the figures stand: the first column of values and the rows.
constexpr int kValueX = 90;
constexpr int kHoldStateX = 120;
constexpr int kLabelX = 10;
constexpr int kNameY = 10;
constexpr int kActionY = 30;
constexpr int kShieldY = 50;
constexpr int kViewY = 69;
constexpr int kHoldsY = 88;
constexpr int kEquipmentLabelY = 106;
constexpr int kEquipmentX = 20;
constexpr int kEquipmentY = 125;
constexpr int kEquipmentStep = 15;

// The devices' lines, slots 0..7.
constexpr const char* kDeviceLines[] = {
    "Accelerator",  "Space Scanner",     "Additional Hold", "Hyper Modul",
    "Hyper Jumper", "Protective Screen", "Power reactor",   "Destructive Nuclear Missile",
};

}  // namespace

std::vector<PanelText> ShipPanelLabels() {
    return {
        {kLabelX, kNameY, "Ship Type:"},        {kLabelX, kActionY, "Action Points:"},
        {kLabelX, kShieldY, "Shield Points:"},  {kLabelX, kViewY, "View Points:"},
        {kLabelX, kHoldsY, "Holds:"},           {kLabelX, kEquipmentLabelY, "Equipment:"},
    };
}

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

std::vector<PanelText> ShipPanelTexts(const Ship& ship) {
    std::vector<PanelText> texts = {
        {kValueX, kNameY, ship.model ? ship.model->name : std::string()},
        {kValueX, kActionY, std::to_string(ship.actionPoints)},
        {kValueX, kShieldY, std::to_string(ship.shieldPoints)},
        {kValueX, kViewY, std::to_string(ship.viewPoints)},
        {kValueX, kHoldsY, std::to_string(ship.holds)},
        {kHoldStateX, kHoldsY, ship.holdFull == 1 ? "(full)" : "(empty)"},
    };
    int y = kEquipmentY;
    for (const std::string& line : ShipEquipmentLines(ship)) {
        texts.push_back({kEquipmentX, y, line});
        y += kEquipmentStep;
    }
    return texts;
}

std::vector<PanelText> SelectedShipPanelTexts() {
    if (!g_selShip) return {};
    return ShipPanelTexts(*g_selShip);
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
