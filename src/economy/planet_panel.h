// The planet panel ("Planet Options"): what it shows of the selected planet
// (race, shield, buildings, the docks) and what its buttons do with the
// docked ship chosen in the docks list: launch it, sell it, unload its ore,
// and the cues that frame the further steps it opens.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "model/dock_rows.h"
#include "model/globals.h"
#include "model/records.h"

namespace qv {

inline constexpr const char* kMessageNoHold = "This ship haven't hold!";
inline constexpr const char* kMessageEmptyHold = "This ship have empty hold!";

// The panel opens with no docked ship chosen and the list row index at 0.
void OpenPlanetPanel();

// What the panel shows of a planet.
struct PlanetFigures {
    std::string raceName;                // "Race:"
    std::int32_t shieldPoints = 0;       // "Shield Points:"
    std::vector<std::string> buildings;  // "Buildings:", one line each

    bool operator==(const PlanetFigures&) const = default;
};

// The planet's figures: its race name, shield points and buildings as
// PlanetRaceName and PlanetBuildings give them.
PlanetFigures PlanetPanelFigures(const Planet& planet);

// The name of the planet owner's race ("Race:"); empty without one.
std::string PlanetRaceName(const Planet* planet);

// "Buildings:": the names of the installed planet equipment in slot order,
// without gaps.
std::vector<std::string> PlanetBuildings(const Planet* planet);

// The docks list, head first: "Dock #" (1, 2, ...) and "Space Ship" (the
// model's name).
std::vector<DockRow> DockRows(const Planet* planet);

// The docks list reported a row: it becomes the list row index and the ship
// at that row (0 = head) the chosen docked ship; a row without a ship
// chooses none.
void ChooseDock(const Planet* planet, int row);

// The chosen docked ship when it lies in the planet's docks, else null.
Ship* ChosenDockedShip(const Planet* planet);

// A further step of the panel (a dialog) framed by its cues: the opening cue,
// the step, the closing cue.
void RunPlanetStep(const std::function<void()>& step);

// "Equip Ship": the framed step only when a docked ship is chosen; false
// (nothing played, nothing opened) otherwise.
bool RunDockedShipStep(const Planet* planet, const std::function<void()>& step);

// "Start Ship": the random generator is reseeded from the clock; a chosen
// docked ship with action points left goes to the head of the world's open
// space on the launch circle around the planet, with everything but its
// action points (0) kept and its model's picture; the docked record is
// freed and the choice cleared. Returns the ship in space, or null when
// nothing was launched.
Ship* StartShip(Planet* planet, World* world = g_currentWorld);

// "Sell Ship": the human player earns half the model's cost and owns one
// ship less; the docked ship is freed. False when no ship is chosen.
bool SellShip(Planet* planet);

// "Unload Ship": full holds are sold for 100 gold a hold plus a draw below
// 50; a ship without holds or with empty ones says so. True when gold was
// earned.
bool UnloadShip(Planet* planet);

}  // namespace qv
