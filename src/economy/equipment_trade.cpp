#include "economy/equipment_trade.h"

#include "economy/treasury.h"
#include "model/catalogue.h"
#include "model/lists.h"
#include "model/platform.h"

namespace qv {

namespace {

constexpr int kFixedPlanetItems = static_cast<int>(kPlanetEquipment.size());

template <std::size_t N>
std::vector<EquipItem> Catalogue(const std::array<CatalogueItem, N>& fixed, const Race* race) {
    std::vector<EquipItem> items;
    int slot = 0;
    for (const CatalogueItem& f : fixed) {
        items.push_back(EquipItem{slot, f.name, f.price, f.price / 2});
        ++slot;
    }
    for (int n = 1; n <= kRaceWeaponsOffered; ++n, ++slot) {
        if (const Weapon* w = RaceWeapon(race, n)) items.push_back(EquipItem{slot, w->name, w->cost, w->cost / 2});
    }
    return items;
}

const Race* OwnerRace(const Player* owner) { return owner ? owner->race : nullptr; }

}  // namespace

Weapon* RaceWeapon(const Race* race, int n) {
    if (!race || n < 1 || n > kRaceWeaponsOffered) return nullptr;
    return RecordAt(race->weapons, n);
}

std::vector<EquipItem> PlanetCatalogue(const Race* race) { return Catalogue(kPlanetEquipment, race); }

std::vector<EquipItem> ShipCatalogue(const Race* race) { return Catalogue(kShipEquipment, race); }

std::string PlanetItemName(const Race* race, int slot) {
    if (slot >= 0 && slot < kFixedPlanetItems) return kPlanetEquipment[static_cast<std::size_t>(slot)].name;
    const Weapon* w = RaceWeapon(race, slot - kFixedPlanetItems + 1);
    return w ? w->name : std::string();
}

EquipmentTrade::EquipmentTrade(Planet* planet, Ship* ship, std::vector<EquipItem> catalogue)
    : planet_(planet), ship_(ship), catalogue_(std::move(catalogue)) {
    const std::int32_t* installed = installedSlots();
    if (!installed) return;
    for (const EquipItem& item : catalogue_) {
        if (installed[item.slot] == 1)
            sellRows_.push_back(EquipRow{item.name, item.sellPrice});
        else if (installed[item.slot] == 0)
            buyRows_.push_back(EquipRow{item.name, item.buyPrice});
    }
}

EquipmentTrade EquipmentTrade::ForPlanet(Planet* planet) {
    return EquipmentTrade(planet, nullptr, planet ? PlanetCatalogue(OwnerRace(planet->owner)) : std::vector<EquipItem>{});
}

EquipmentTrade EquipmentTrade::ForShip(Ship* ship) {
    return EquipmentTrade(nullptr, ship, ship ? ShipCatalogue(OwnerRace(ship->owner)) : std::vector<EquipItem>{});
}

std::int32_t* EquipmentTrade::installedSlots() const {
    if (planet_) return planet_->equip;
    if (ship_) return ship_->equip;
    return nullptr;
}

const EquipItem* EquipmentTrade::find(const std::string& name) const {
    for (const EquipItem& item : catalogue_)
        if (item.name == name) return &item;
    return nullptr;
}

bool EquipmentTrade::buy(int row) {
    if (row < 0 || row >= static_cast<int>(buyRows_.size())) return false;
    const EquipItem* item = find(buyRows_[static_cast<std::size_t>(row)].name);
    if (!item) return false;
    Player* human = HumanPlayer();
    if (!CanAfford(human, item->buyPrice)) {
        CurrentPlatform().messageBox(item->slot == 0 ? kMessageNoGoldFirstItem : kMessageNoGoldOtherItem);
        return false;
    }
    sellRows_.push_back(EquipRow{item->name, item->sellPrice});
    AddGold(human, -static_cast<std::int64_t>(item->buyPrice));
    buyRows_.erase(buyRows_.begin() + row);
    applyBuying(item->slot);
    return true;
}

bool EquipmentTrade::sell(int row) {
    if (row < 0 || row >= static_cast<int>(sellRows_.size())) return false;
    const EquipItem* item = find(sellRows_[static_cast<std::size_t>(row)].name);
    if (!item) return false;
    buyRows_.push_back(EquipRow{item->name, item->buyPrice});
    AddGold(HumanPlayer(), item->sellPrice);
    sellRows_.erase(sellRows_.begin() + row);
    applySelling(item->slot);
    return true;
}

void EquipmentTrade::applyBuying(int slot) const {
    if (planet_) {
        planet_->equip[slot] = 1;
        if (slot == kProtectiveShield) planet_->shieldPoints += kShieldBonus;
        if (slot >= kPlanetRaceWeapon1) {
            planet_->weapon = RaceWeapon(OwnerRace(planet_->owner), slot - kPlanetRaceWeapon1 + 1);
            planet_->weaponReady = 1;
        }
        return;
    }
    if (!ship_) return;
    ship_->equip[slot] = 1;
    switch (slot) {
        case kAdditionalHold:
            ship_->holds += 1;
            break;
        case kProtectiveScreen:
            ship_->shieldPoints += kScreenBonus;
            break;
        case kPowerReactor:
            ship_->shieldPoints += kReactorShieldBonus;
            ship_->viewPoints += kReactorViewBonus;
            ship_->actionPoints += kReactorActionBonus;
            break;
        case kNuclearMissile:
            ship_->weaponReady = 1;
            break;
        default:
            if (slot >= kShipRaceWeapon1) {
                ship_->weapon = RaceWeapon(OwnerRace(ship_->owner), slot - kShipRaceWeapon1 + 1);
                ship_->weaponReady = 1;
            }
            break;
    }
}

void EquipmentTrade::applySelling(int slot) const {
    // What buying added to the shield, view, action points or holds stays;
    // a ship keeps its weapon, a planet loses it.
    if (planet_) {
        planet_->equip[slot] = 0;
        if (slot >= kPlanetRaceWeapon1) planet_->weapon = nullptr;
        return;
    }
    if (ship_) ship_->equip[slot] = 0;
}

}  // namespace qv
