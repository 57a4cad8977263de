#include "economy/planet_panel.h"

#include "economy/equipment_trade.h"
#include "economy/treasury.h"
#include "model/catalogue.h"
#include "model/lists.h"
#include "model/platform.h"
#include "model/random.h"
#include "model/sound_cues.h"
#include "turn/removal.h"

namespace qv {

void OpenPlanetPanel() {
    g_dockSelection = nullptr;
    g_listSelection = 0;
}

PlanetFigures PlanetPanelFigures(const Planet& planet) {
    return {PlanetRaceName(&planet), planet.shieldPoints, PlanetBuildings(&planet)};
}

std::string PlanetRaceName(const Planet* planet) {
    if (!planet || !planet->owner || !planet->owner->race) return {};
    return planet->owner->race->name;
}

std::vector<std::string> PlanetBuildings(const Planet* planet) {
    std::vector<std::string> names;
    if (!planet) return names;
    const Race* race = planet->owner ? planet->owner->race : nullptr;
    for (int k = 0; k < kPlanetEquipSlots; ++k)
        if (planet->equip[k] == 1) names.push_back(PlanetItemName(race, k));
    return names;
}

std::vector<DockRow> DockRows(const Planet* planet) {
    if (!planet) return {};
    return DockRowsOf(planet->docks);
}

void ChooseDock(const Planet* planet, int row) {
    g_listSelection = row;
    g_dockSelection = planet ? RecordAt(planet->docks, row + 1) : nullptr;
}

Ship* ChosenDockedShip(const Planet* planet) {
    if (!planet || !g_dockSelection) return nullptr;
    return IndexOf(planet->docks, g_dockSelection) ? g_dockSelection : nullptr;
}

void RunPlanetStep(const std::function<void()>& step) {
    CurrentPlatform().playCue(kCueStepOpens);
    if (step) step();
    CurrentPlatform().playCue(kCueStepCloses);
}

bool RunDockedShipStep(const Planet* planet, const std::function<void()>& step) {
    if (!ChosenDockedShip(planet)) return false;
    RunPlanetStep(step);
    return true;
}

Ship* StartShip(Planet* planet, World* world) {
    Platform& platform = CurrentPlatform();
    SeedRand(static_cast<std::uint32_t>(platform.now()));
    Ship* docked = ChosenDockedShip(planet);
    if (!docked || docked->actionPoints == 0 || !world) return nullptr;

    Ship* ship = TakeOffShipEquipped(world, docked, planet->docks, planet->x, planet->y);
    g_dockSelection = nullptr;
    platform.playCue(kCueLanding);
    return ship;
}

bool SellShip(Planet* planet) {
    Ship* ship = ChosenDockedShip(planet);
    if (!ship) return false;
    Player* human = HumanPlayer();
    AddGold(human, ship->model ? ship->model->cost / 2 : 0);
    if (human) --human->shipCount;
    Discard(planet->docks, ship);
    g_dockSelection = nullptr;
    CurrentPlatform().playCue(kCueStepCloses);
    return true;
}

bool UnloadShip(Planet* planet) {
    Ship* ship = ChosenDockedShip(planet);
    if (!ship) return false;
    if (ship->holds == 0) {
        CurrentPlatform().messageBox(kMessageNoHold);
        return false;
    }
    if (!ship->holdFull) {
        CurrentPlatform().messageBox(kMessageEmptyHold);
        return false;
    }
    AddGold(HumanPlayer(), static_cast<std::int64_t>(ship->holds) * kOrePerHold + Rand() % kOreBonusDraw);
    ship->holdFull = 0;
    return true;
}

}  // namespace qv
