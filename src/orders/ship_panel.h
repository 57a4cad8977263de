// The Ship Options panel of the selected ship (g_selShip): its figures and
// equipment as texts at their places in the panel, and the two one-shot
// devices it arms, the Hyper Jumper ("SHM") and the Destructive Nuclear
// Missile ("Start Rocket").
#pragma once

#include <string>
#include <vector>

#include "model/records.h"

namespace qv {

// A text written at (x, y), in pixels of a panel's client area (the top-left
// corner of the text's line).
struct PanelText {
    int x = 0;
    int y = 0;
    std::string text;

    bool operator==(const PanelText&) const = default;
};

// The panel's static labels, in order, each on the line of the figure it
// names ("Equipment:" above the first equipment line).
std::vector<PanelText> ShipPanelLabels();

// The line the panel shows for an installed equipment slot (0..10): the
// device's name, or for a race-weapon slot (8..10) the name of the weapon the
// ship carries. A weapon slot set on a ship without a weapon shows the race
// weapon the slot stands for (race weapon 1..3 of the owner's race); an empty
// line when even that does not exist.
std::string ShipEquipmentLine(const Ship& ship, int slot);

// The equipment lines of the ship, slot by slot, one per installed slot.
std::vector<std::string> ShipEquipmentLines(const Ship& ship);

// Everything written on the panel for the ship: model name at (90, 10);
// action, shield and view points at (90, 30), (90, 50), (90, 69); holds at
// (90, 88) with "(full)" or "(empty)" at (120, 88); then one equipment line
// per installed slot from (20, 125) down, 15 pixels apart.
std::vector<PanelText> ShipPanelTexts(const Ship& ship);
// The same for g_selShip; nothing when no ship is selected.
std::vector<PanelText> SelectedShipPanelTexts();

// "SHM": arms the hyper jump (g_jumpMode = 1) when the selected ship carries
// a Hyper Jumper, and tells the panel to close; otherwise nothing happens and
// the panel stays open.
bool ArmHyperJump();

// "Start Rocket": arms the missile (g_rocketMode = 1) when the selected ship
// carries a Destructive Nuclear Missile, and tells the panel to close;
// otherwise nothing happens.
bool ArmMissile();

}  // namespace qv
