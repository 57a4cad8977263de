// Equipment trade ("Equip Planet", "Equip Ship"): the catalogues of planet
// and ship equipment with their prices, and the two lists of a trade — what
// can still be bought and what can be sold — with Buy and Sell. Every item is
// one slot of the record's equipment, one of each at most; the human player
// pays and is paid. Besides the fixed items each race offers its three race
// weapons under their own names and prices.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "model/records.h"

namespace qv {

inline constexpr const char* kMessageNoGoldFirstItem = "Not enough gold for this equipment!";
inline constexpr const char* kMessageNoGoldOtherItem = "You havn't gold for this equipment!";

// One item of a catalogue.
struct EquipItem {
    int slot = 0;
    std::string name;
    std::int32_t buyPrice = 0;
    std::int32_t sellPrice = 0;  // the buy price halved
};

// One row of a trade list: the item's name and the price it is shown with.
struct EquipRow {
    std::string name;
    std::int32_t price = 0;
};

// The planet catalogue (slots 0..5) and the ship catalogue (slots 0..10), in
// slot order: the fixed items, then race weapons 1, 2, 3 of the race. A race
// weapon the race does not have is left out.
std::vector<EquipItem> PlanetCatalogue(const Race* race);
std::vector<EquipItem> ShipCatalogue(const Race* race);

// The name of a planet slot ("Buildings:"); a race weapon's name for slots
// 3..5, empty when the race lacks it.
std::string PlanetItemName(const Race* race, int slot);

// Race weapon n (1..3) of the race: the n-th of its weapon list, or null.
Weapon* RaceWeapon(const Race* race, int n);

// One open trade, for the selected planet or for a docked ship. The lists
// start in slot order (what is not installed for buying, at its buy price;
// what is installed for selling, at its sell price) and then change as the
// trade goes: a bought item moves to the end of the sell list, a sold one to
// the end of the buy list.
class EquipmentTrade {
public:
    static EquipmentTrade ForPlanet(Planet* planet);
    static EquipmentTrade ForShip(Ship* ship);

    const std::vector<EquipRow>& buyRows() const { return buyRows_; }
    const std::vector<EquipRow>& sellRows() const { return sellRows_; }
    const std::vector<EquipItem>& catalogue() const { return catalogue_; }

    // The item of that name: the first match in slot order, so a fixed
    // item's name hides a race weapon of the same name. Null for none.
    const EquipItem* find(const std::string& name) const;

    // Buys the item named in row `row` of the buy list when the human player
    // can pay its price (gold equal to the price is enough); otherwise says
    // there is not enough gold. A row outside the list buys nothing. True
    // when the item was bought.
    bool buy(int row);
    // Sells the item named in row `row` of the sell list. A row outside the
    // list sells nothing. True when the item was sold.
    bool sell(int row);

private:
    EquipmentTrade(Planet* planet, Ship* ship, std::vector<EquipItem> catalogue);
    std::int32_t* installedSlots() const;
    void applyBuying(int slot) const;
    void applySelling(int slot) const;

    Planet* planet_ = nullptr;
    Ship* ship_ = nullptr;
    std::vector<EquipItem> catalogue_;
    std::vector<EquipRow> buyRows_;
    std::vector<EquipRow> sellRows_;
};

}  // namespace qv
