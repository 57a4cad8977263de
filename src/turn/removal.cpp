#include "turn/removal.h"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <type_traits>

#include "model/globals.h"
#include "model/lists.h"
#include "model/map_rules.h"
#include "model/platform.h"
#include "model/random.h"

namespace qv {

int DamageRoll(const Weapon& weapon) {
    const int span = weapon.maxDamage - weapon.minDamage;
    if (span <= 0) return weapon.minDamage;
    return weapon.minDamage + Rand() % span;
}

void KeepPowerRoom(Player& player, int turn) {
    if (turn < 0) return;
    const auto at = static_cast<std::size_t>(turn);
    if (at >= player.power.size()) player.power.resize(std::max(at + 1, player.power.size() * 2), 0);
}

void RecordPower(Player& player, int turn) {
    if (turn < 0) return;
    KeepPowerRoom(player, turn);
    player.power[static_cast<std::size_t>(turn)] = static_cast<std::int32_t>(PlayerPower(player));
}

namespace {

template <typename T>
void ShowTwice(const World* world, T* object) {
    if (!world || world != g_currentWorld) return;
    Platform& platform = CurrentPlatform();
    platform.showExplosion(object);
    platform.showExplosion(object);
}

// Frees every ship of the list, lowering the ship count of counted, or of
// each ship's own owner when counted is null.
void FreeShips(Ship*& head, Player* counted) {
    while (Ship* s = head) {
        head = s->next;
        ForgetShip(s);
        if (Player* p = counted ? counted : s->owner) --p->shipCount;
        delete s;
    }
}

// A fresh record for a ship that moves to another list, with the fields a
// ship keeps whatever list it moves to.
Ship* MovedShip(const Ship& from) {
    auto* to = new Ship;
    to->owner = from.owner;
    to->model = from.model;
    to->shieldPoints = from.shieldPoints;
    to->viewPoints = from.viewPoints;
    to->holds = from.holds;
    to->holdFull = from.holdFull;
    to->reserved = from.reserved;
    to->weapon = from.weapon;
    return to;
}

void CopyEquipment(const Ship& from, Ship& to) {
    std::copy(std::begin(from.equip), std::end(from.equip), std::begin(to.equip));
    to.weaponReady = from.weaponReady;
}

// The record of newList at the position rec has in oldList; the last of
// newList when it is shorter.
template <typename T>
T* SamePlace(T* oldList, T* rec, T* newList) {
    if (!rec || oldList == newList) return rec;
    const int at = IndexOf(oldList, rec);
    if (at == 0) return rec;
    T* same = RecordAt(newList, at);
    return same ? same : LastOf(newList);
}

template <typename T>
void DiscardRecord(T*& list, T* record) {
    Unlink(list, record);
    if constexpr (std::is_same_v<T, Planet>) ForgetPlanet(record);
    else if constexpr (std::is_same_v<T, Asteroid>) ForgetAsteroid(record);
    else ForgetShip(record);
    delete record;
}

// A planet leaves the game: its docked ships are freed first, its owner
// counts one planet less.
void DiscardPlanet(World* world, Planet* planet, Player* dockedCountedOff) {
    FreeShips(planet->docks, dockedCountedOff);
    if (planet->owner) --planet->owner->planetCount;
    Discard(world->planets, planet);
}

Ship* TakeOff(World* world, Ship* ship, Ship*& list, int bx, int by, bool keepEquipment) {
    Ship* moved = MovedShip(*ship);
    if (keepEquipment) CopyEquipment(*ship, *moved);
    moved->actionPoints = 0;
    LaunchCirclePlace(bx, by, moved->x, moved->y);
    if (moved->model)
        std::copy(std::begin(moved->model->pixels), std::end(moved->model->pixels), std::begin(moved->pixels));
    InsertAtHead(world->ships, moved);
    Discard(list, ship);
    return moved;
}

}  // namespace

void ShowExplosion(const World* world, Planet* planet) { ShowTwice(world, planet); }
void ShowExplosion(const World* world, Asteroid* asteroid) { ShowTwice(world, asteroid); }
void ShowExplosion(const World* world, Ship* ship) { ShowTwice(world, ship); }

void ForgetPlanet(const Planet* planet) {
    if (g_selPlanet == planet) g_selPlanet = nullptr;
    if (g_hoverPlanet == planet) g_hoverPlanet = nullptr;
}

void ForgetAsteroid(const Asteroid* asteroid) {
    if (g_selAsteroid == asteroid) g_selAsteroid = nullptr;
    if (g_hoverAsteroid == asteroid) g_hoverAsteroid = nullptr;
}

void ForgetShip(const Ship* ship) {
    if (g_selShip == ship) g_selShip = nullptr;
    if (g_hoverShip == ship) g_hoverShip = nullptr;
    if (g_dockSelection == ship) g_dockSelection = nullptr;
}

void Discard(Planet*& list, Planet* planet) { DiscardRecord(list, planet); }
void Discard(Asteroid*& list, Asteroid* asteroid) { DiscardRecord(list, asteroid); }
void Discard(Ship*& list, Ship* ship) { DiscardRecord(list, ship); }

void DestroyPlanet(World* world, Planet* planet) {
    ShowExplosion(world, planet);
    // Docked ships are counted off the planet's owner.
    DiscardPlanet(world, planet, planet->owner);
}

void RemovePlanet(World* world, Planet* planet) { DiscardPlanet(world, planet, nullptr); }

void DestroyAsteroid(World* world, Asteroid* asteroid) {
    ShowExplosion(world, asteroid);
    FreeShips(asteroid->ships, nullptr);
    Discard(world->asteroids, asteroid);
}

void DestroyShip(World* world, Ship* ship) {
    if (ship->owner) --ship->owner->shipCount;
    Discard(world->ships, ship);
}

Planet* TransferPlanet(World* from, Planet* planet, World* to, int x, int y) {
    auto* moved = new Planet;
    moved->shieldPoints = planet->shieldPoints;
    moved->picture = planet->picture;
    moved->owner = planet->owner;
    moved->orbitDirection = planet->orbitDirection;
    moved->orbitPeriod = planet->orbitPeriod;
    std::copy(std::begin(planet->equip), std::end(planet->equip), std::begin(moved->equip));
    moved->weapon = planet->weapon;
    moved->weaponReady = planet->weaponReady;
    moved->docks = planet->docks;
    planet->docks = nullptr;
    moved->x = x;
    moved->y = y;
    InsertAtHead(to->planets, moved);
    Discard(from->planets, planet);
    return moved;
}

Asteroid* TransferAsteroid(World* from, Asteroid* asteroid, World* to, int x, int y) {
    auto* moved = new Asteroid;
    moved->kind = asteroid->kind;
    moved->resources = asteroid->resources;
    moved->motion = asteroid->motion;
    moved->motionRate = asteroid->motionRate;
    moved->ships = asteroid->ships;
    asteroid->ships = nullptr;
    moved->x = x;
    moved->y = y;
    InsertAtHead(to->asteroids, moved);
    Discard(from->asteroids, asteroid);
    return moved;
}

Ship* TransferShipInSpace(World* from, Ship* ship, World* to, int x, int y) {
    Ship* moved = MovedShip(*ship);
    CopyEquipment(*ship, *moved);
    moved->actionPoints = ship->actionPoints;
    std::copy(std::begin(ship->pixels), std::end(ship->pixels), std::begin(moved->pixels));
    moved->x = x;
    moved->y = y;
    InsertAtHead(to->ships, moved);
    Discard(from->ships, ship);
    return moved;
}

Ship* LandShip(World* world, Ship* ship, Ship*& target) {
    Ship* moved = MovedShip(*ship);
    CopyEquipment(*ship, *moved);
    moved->actionPoints = 0;
    InsertAtHead(target, moved);
    Discard(world->ships, ship);
    return moved;
}

void LaunchCirclePlace(int bx, int by, int& x, int& y) {
    constexpr int r = kLaunchRadius;
    const int sign = Rand() % 2 == 0 ? -1 : 1;
    const int k = Rand() % (2 * r);
    x = bx + sign * static_cast<int>(std::sqrt(static_cast<double>(r * r - (k - r) * (k - r))));
    y = by - r + k;
}

Ship* TakeOffShip(World* world, Ship* ship, Ship*& list, int bx, int by) {
    return TakeOff(world, ship, list, bx, by, false);
}

Ship* TakeOffShipEquipped(World* world, Ship* ship, Ship*& list, int bx, int by) {
    return TakeOff(world, ship, list, bx, by, true);
}

void CapturePlanet(Planet* planet, Player* captor) {
    Race* newRace = captor->race;
    for (Ship* s = planet->docks; s; s = s->next) {
        Player* old = s->owner;
        if (old) --old->shipCount;
        Race* oldRace = old ? old->race : nullptr;
        if (oldRace && newRace) {
            s->model = SamePlace(oldRace->shipModels, s->model, newRace->shipModels);
            s->weapon = SamePlace(oldRace->weapons, s->weapon, newRace->weapons);
        }
        s->owner = captor;
        ++captor->shipCount;
    }
    Player* old = planet->owner;
    if (old && old->race && newRace) planet->weapon = SamePlace(old->race->weapons, planet->weapon, newRace->weapons);
    if (old) --old->planetCount;
    ++captor->planetCount;
    planet->owner = captor;
}

}  // namespace qv
