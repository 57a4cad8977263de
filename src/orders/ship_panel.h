// The Ship Options panel of the selected ship (g_selShip): the figures and
// equipment lines it shows, and the two one-shot devices it arms, the Hyper
// Jumper ("SHM") and the Destructive Nuclear Missile ("Start Rocket").
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "model/records.h"

namespace qv {

// What the panel shows of a ship.
struct ShipFigures {
    std::string modelName;  // "Ship Type:"; empty without a model
    std::int32_t actionPoints = 0;
    std::int32_t shieldPoints = 0;
    std::int32_t viewPoints = 0;
    std::int32_t holds = 0;
    std::string holdState;               // "(full)" or "(empty)", beside the holds
    std::vector<std::string> equipment;  // "Equipment:", one line per installed slot

    bool operator==(const ShipFigures&) const = default;
};

// The line the panel shows for an installed equipment slot (0..10): the
// device's name, or for a race-weapon slot (8..10) the name of the weapon the
// ship carries. A weapon slot set on a ship without a weapon shows the race
// weapon the slot stands for (race weapon 1..3 of the owner's race); an empty
// line when even that does not exist.
std::string ShipEquipmentLine(const Ship& ship, int slot);

// The equipment lines of the ship, slot by slot, one per installed slot.
std::vector<std::string> ShipEquipmentLines(const Ship& ship);

// The ship's figures; the holds are "(full)" only when holdFull is 1.
ShipFigures ShipPanelFigures(const Ship& ship);
// The same for g_selShip; nothing when no ship is selected.
std::optional<ShipFigures> SelectedShipFigures();

// "SHM": arms the hyper jump (g_jumpMode = 1) when the selected ship carries
// a Hyper Jumper, and tells the panel to close; otherwise nothing happens and
// the panel stays open.
bool ArmHyperJump();

// "Start Rocket": arms the missile (g_rocketMode = 1) when the selected ship
// carries a Destructive Nuclear Missile, and tells the panel to close;
// otherwise nothing happens.
bool ArmMissile();

}  // namespace qv
