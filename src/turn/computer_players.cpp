#include "turn/computer_players.h"

#include "model/catalogue.h"
#include "model/geometry.h"
#include "model/globals.h"
#include "model/lists.h"
#include "model/platform.h"
#include "model/random.h"
#include "model/sound_cues.h"
#include "turn/computer_ships.h"
#include "turn/removal.h"
#include "turn/turn_report.h"

namespace qv {

namespace {

// Gold is a 32-bit amount; sums are taken wide so that no race's prices
// can make the arithmetic itself overflow.
void Pay(Player* player, std::int64_t amount) {
    player->gold = static_cast<std::int32_t>(static_cast<std::int64_t>(player->gold) - amount);
}

std::int64_t ModelWorth(const ShipModel& m) {
    return static_cast<std::int64_t>(m.speed) + m.defence + m.survey;
}

// Starts from the head as the best, affordable or not; only a strictly
// better affordable candidate replaces it.
template <typename T, typename Affordable, typename Worth>
T* ChooseFrom(T* head, Affordable affordable, Worth worth) {
    T* best = head;
    for (T* c = head; c; c = c->next)
        if (affordable(*c) && worth(*c) > worth(*best)) best = c;
    return best;
}

// A planet's shield is repaired to its maximum when the whole repair can be
// paid; a partial repair is never made.
void RepairPlanet(Planet* planet, Player* player) {
    const int max = PlanetFullShield(*planet);
    if (planet->shieldPoints >= max) return;
    const std::int64_t price = (static_cast<std::int64_t>(max) - planet->shieldPoints) * kRepairPricePerPoint;
    if (price > player->gold) return;
    Pay(player, price);
    planet->shieldPoints = max;
}

void BuyPlanetWeapon(Planet* planet, Player* player, Weapon* choice) {
    if (!planet->weapon) {
        // Bought whatever the gold: the one purchase that can leave it negative.
        planet->weapon = choice;
        Pay(player, choice->cost);
        planet->weaponReady = 1;
    } else if (WeaponWorth(*choice) > WeaponWorth(*planet->weapon)) {
        Pay(player, -(planet->weapon->cost / 2));  // the old weapon is sold at half price
        planet->weapon = choice;
        Pay(player, choice->cost);
        planet->weaponReady = 1;
    }
}

void BuyPlanetEquipment(Planet* planet, Player* player) {
    if (g_unstability != kNoInstability && g_turn > 1 && player->gold > kHyperStabilizerPrice - 1 &&
        !planet->equip[kHyperStabilizer]) {
        Pay(player, kHyperStabilizerPrice);
        planet->equip[kHyperStabilizer] = 1;
    }
    if (player->gold > kGlobalBankSystemPrice - 1 && !planet->equip[kGlobalBankSystem]) {
        Pay(player, kGlobalBankSystemPrice);
        planet->equip[kGlobalBankSystem] = 1;
    }
    if (player->gold > kProtectiveShieldPrice - 1 && !planet->equip[kProtectiveShield] && g_turn > 1) {
        // The shield points are raised by a later repair.
        Pay(player, kProtectiveShieldPrice);
        planet->equip[kProtectiveShield] = 1;
    }
}

bool ReadyToLeave(const Ship& ship) { return ship.model && ship.actionPoints == ship.model->speed; }

// The player's docked ships are unloaded, and those with their full action
// points take off; after a take-off the walk starts again from the head.
void ServeDocks(World* world, Planet* planet, Player* player) {
    Ship* ship = planet->docks;
    while (ship) {
        if (ship->owner != player) {
            ship = ship->next;
            continue;
        }
        if (ship->holds != 0 && ship->holdFull != 0) {
            ship->holdFull = 0;
            const std::int64_t ore = static_cast<std::int64_t>(ship->holds) * kOrePerHold + Rand() % kOreBonusDraw;
            Pay(player, -ore);
            RecordOreUnloaded(world, *planet, *ship, static_cast<int>(ore));
        }
        if (ReadyToLeave(*ship)) {
            TakeOffShip(world, ship, planet->docks, planet->x, planet->y);
            ship = planet->docks;
            continue;
        }
        ship = ship->next;
    }
}

// A planet fires at most once per turn, at the first enemy ship in reach.
void DefendPlanet(World* world, Planet* planet) {
    if (!planet->weapon || planet->weaponReady != 1) return;
    const double reach = static_cast<double>(planet->weapon->range) + kPlanetDefenceMargin;
    for (Ship* e = world->ships; e; e = e->next) {
        if (e->owner == planet->owner) continue;
        if (Distance(planet->x, planet->y, e->x, e->y) > reach) continue;
        planet->weaponReady = 0;
        if (world == g_currentWorld) CurrentPlatform().playCue(kCueShot);
        const int damage = DamageRoll(*planet->weapon);
        e->shieldPoints -= damage;
        ShowExplosion(world, e);
        RecordShipHit(world, *e, planet->owner, damage);
        if (e->shieldPoints < 1) DestroyShip(world, e);
        return;
    }
}

void PlanetActs(World* world, Planet* planet, Player* player) {
    RepairPlanet(planet, player);

    // A race without ship models or without weapons has nothing to build or
    // buy; the draw of the random build is made all the same.
    Race* race = player->race;
    const bool stocked = race && race->shipModels && race->weapons;

    ShipModel* cargo = stocked ? ChooseCargoModel(race, player->gold) : nullptr;
    const bool randomBuild = Rand() % 3 == 0;
    if (cargo && randomBuild && player->shipCount < kCargoShipLimit && cargo->cost < player->gold / 2 &&
        cargo->hold != 0)
        BuildShip(planet, player, cargo);

    ShipModel* war = stocked ? ChooseWarModel(race, player->gold) : nullptr;
    Weapon* weapon = war ? ChooseWeapon(race, player->gold, *war) : nullptr;

    if (weapon) BuyPlanetWeapon(planet, player, weapon);

    if (war && weapon && static_cast<std::int64_t>(war->cost) + weapon->cost < player->gold) {
        Ship* ship = BuildShip(planet, player, war);
        ship->weapon = weapon;
        ship->weaponReady = 1;
        Pay(player, weapon->cost);
    } else if (cargo && cargo->cost < player->gold && cargo->hold != 0) {
        BuildShip(planet, player, cargo);
    }

    BuyPlanetEquipment(planet, player);
    ServeDocks(world, planet, player);
    DefendPlanet(world, planet);
}

}  // namespace

std::int64_t WeaponWorth(const Weapon& weapon) {
    return static_cast<std::int64_t>(weapon.range) + weapon.maxDamage - weapon.minDamage;
}

ShipModel* ChooseCargoModel(Race* race, std::int32_t gold) {
    if (!race) return nullptr;
    const std::int32_t bound = gold / 2;
    return ChooseFrom(
        race->shipModels, [&](const ShipModel& m) { return m.cost < bound; },
        [](const ShipModel& m) { return static_cast<std::int64_t>(m.hold); });
}

ShipModel* ChooseWarModel(Race* race, std::int32_t gold) {
    if (!race) return nullptr;
    const std::int32_t bound = gold / 2;
    return ChooseFrom(
        race->shipModels, [&](const ShipModel& m) { return m.cost < bound; }, ModelWorth);
}

Weapon* ChooseWeapon(Race* race, std::int32_t gold, const ShipModel& warModel) {
    if (!race) return nullptr;
    const std::int64_t bound = static_cast<std::int64_t>(gold) - warModel.cost;
    return ChooseFrom(
        race->weapons, [&](const Weapon& w) { return w.cost < bound; }, WeaponWorth);
}

void ComputerPlanetsAct(World* world, Player* player) {
    if (!world || !player) return;
    // Nothing here adds or removes planets, so the walk is a plain one.
    for (Planet* p = world->planets; p; p = p->next)
        if (p->owner == player) PlanetActs(world, p, player);
}

void ComputerAsteroidsAct(World* world, Player* player) {
    if (!world || !player) return;
    for (Asteroid* a = world->asteroids; a; a = a->next) {
        Ship* ship = a->ships;
        while (ship) {
            if (ship->owner != player) {
                ship = ship->next;
                continue;
            }
            if (ship->holds != 0 && ship->holdFull == 0 && a->resources > 0) {
                ship->holdFull = 1;
                a->resources -= ship->holds;
                if (a->resources < 0) a->resources = 0;
            }
            if (ReadyToLeave(*ship)) {
                TakeOffShip(world, ship, a->ships, a->x, a->y);
                ship = a->ships;
                continue;
            }
            ship = ship->next;
        }
    }
}

void PlayerActsInEveryWorld(Player* player) {
    for (World* w = g_worlds; w; w = w->next) {
        ComputerShipsAct(w, player);
        ComputerPlanetsAct(w, player);
        ComputerAsteroidsAct(w, player);
    }
}

void ComputerPlayersTurn(bool autopilot) {
    Player* human = g_players;
    if (!human) return;
    // The last record is the neutral player, which never acts.
    if (autopilot && human->next) PlayerActsInEveryWorld(human);
    Player* r = human->next;
    for (; r && r->next; r = r->next) {
        PlayerActsInEveryWorld(r);
        RecordPower(*r, g_turn);
    }
    RecordPower(*human, g_turn);
    // The neutral player's history stays at zero, as long as everyone's.
    if (r) KeepPowerRoom(*r, g_turn);
}

}  // namespace qv
