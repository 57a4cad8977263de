#include "model/catalogue.h"

#include "model/lists.h"

namespace qv {

int PlanetFullShield(const Planet& planet) {
    return planet.equip[kProtectiveShield] ? kPlanetShieldMaxProtected : kPlanetShieldMax;
}

Ship* BuildShip(Planet* planet, Player* owner, ShipModel* model) {
    auto* ship = new Ship;
    ship->owner = owner;
    ship->model = model;
    ship->actionPoints = model->speed;
    ship->shieldPoints = model->defence;
    ship->viewPoints = model->survey;
    ship->holds = model->hold;
    ship->holdFull = 0;
    InsertAtHead(planet->docks, ship);
    // Gold is a 32-bit amount; the price is taken off wide and wraps as the
    // computer players' purchases do.
    owner->gold = static_cast<std::int32_t>(static_cast<std::int64_t>(owner->gold) - model->cost);
    ++owner->shipCount;
    return ship;
}

}  // namespace qv
