#include "economy/shipyard.h"

#include "economy/treasury.h"
#include "model/catalogue.h"
#include "model/lists.h"
#include "model/platform.h"
#include "model/sound_cues.h"

namespace qv {

namespace {

Race* HumanRace() {
    Player* human = HumanPlayer();
    return human ? human->race : nullptr;
}

}  // namespace

std::vector<const ShipModel*> ShipyardModels() {
    std::vector<const ShipModel*> models;
    if (const Race* race = HumanRace())
        for (const ShipModel* m = race->shipModels; m; m = m->next) models.push_back(m);
    return models;
}

ShipModel* ShipyardModelAt(int row) {
    Race* race = HumanRace();
    if (!race || row < 0) return nullptr;
    return RecordAt(race->shipModels, row + 1);
}

Ship* BuyShip(Planet* planet, int row) {
    ShipModel* model = ShipyardModelAt(row);
    Player* human = HumanPlayer();
    if (!model || !planet || !human) return nullptr;
    if (!CanAfford(human, model->cost)) {
        CurrentPlatform().messageBox(kMessageNoGoldForShip);
        return nullptr;
    }
    // The same new ship as the computer players build: the model's speed,
    // defence, survey and hold, paid for and counted.
    Ship* ship = BuildShip(planet, human, model);
    CurrentPlatform().playCue(kCueShipBuilt);
    return ship;
}

}  // namespace qv
