// The shipped races by the computer players' own choices: a planet earning
// 100 gold a turn builds a cargo ship at once and arms itself in the end.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "model/globals.h"
#include "model/platform.h"
#include "model/races.h"
#include "turn/computer_players.h"

namespace qv {
namespace {

// An armed warship: the chosen model and weapon together cost less than the gold.
const ShipModel* ArmedWarship(Race& race, int gold) {
    ShipModel* war = ChooseWarModel(&race, gold);
    const Weapon* weapon = war ? ChooseWeapon(&race, gold, *war) : nullptr;
    if (!war || !weapon || static_cast<std::int64_t>(war->cost) + weapon->cost >= gold) return nullptr;
    return war;
}

// A cargo ship: the chosen cargo model has a hold and costs less than half the gold.
const ShipModel* CargoShip(Race& race, int gold) {
    const ShipModel* cargo = ChooseCargoModel(&race, gold);
    return cargo && cargo->hold != 0 && cargo->cost < gold / 2 ? cargo : nullptr;
}

struct LoadedRaces {
    LoadedRaces() { ResetGlobals(), SetPlatform(&platform); }
    ~LoadedRaces() { SetPlatform(nullptr), ResetGlobals(); }
    HeadlessPlatform platform;
};

TEST(ShippedRaces, ComputerPlayersBuildCargoShipsAtOnceAndArmThemselvesInTheEnd) {
    LoadedRaces loaded;
    ASSERT_TRUE(LoadRaces(QUORVANE_DATA_OUT));
    int races = 0;
    // The choice starts from the head of a list, the last model and weapon of
    // the race file: the flagship and the dearest weapon, so a computer player
    // arms itself once it can pay for both, and carries ore until then.
    for (Race* r = g_races; r; r = r->next, ++races) {
        for (int start : {500, 1000, 2000, 3000, 5000}) {
            SCOPED_TRACE(r->name + " starting with " + std::to_string(start));
            int armedTurn = -1, cargoTurn = -1;
            for (int turn = 0; turn <= 80 && (armedTurn < 0 || cargoTurn < 0); ++turn) {
                const int gold = start + 100 * turn;
                if (armedTurn < 0 && ArmedWarship(*r, gold)) armedTurn = turn;
                if (cargoTurn < 0 && CargoShip(*r, gold)) cargoTurn = turn;
            }
            EXPECT_GE(armedTurn, 0);
            EXPECT_LE(armedTurn, 60);
            EXPECT_GE(cargoTurn, 0);
            EXPECT_LE(cargoTurn, start >= 2000 ? 0 : 15);
        }
        // The warship a computer player arms is never its cargo model.
        for (int gold = 500; gold <= 10000; gold += 50)
            if (const ShipModel* ship = ArmedWarship(*r, gold)) {
                EXPECT_EQ(ship->hold, 0) << r->name << " with " << gold << " gold arms " << ship->name;
            }
    }
    EXPECT_EQ(races, 4);
}

}  // namespace
}  // namespace qv
