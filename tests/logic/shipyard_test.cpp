// The shipyard: the models of the human player's race, buying one into the
// planet's docks, the refusal without enough gold, and rows outside the list.
#include <gtest/gtest.h>

#include "economy/planet_panel.h"
#include "economy/shipyard.h"
#include "economy_fixture.h"
#include "model/platform.h"

namespace qv {
namespace {

using testing::EconomyTest;
using ShipyardTest = EconomyTest;

TEST_F(ShipyardTest, ListsTheModelsOfTheHumansRaceHeadFirst) {
    const std::vector<const ShipModel*> models = ShipyardModels();
    ASSERT_EQ(static_cast<int>(models.size()), race()->shipModelCount);
    int n = 1;
    for (const ShipModel* m : models) EXPECT_EQ(m, RecordAt(race()->shipModels, n++));
    EXPECT_EQ(ShipyardModelAt(0), race()->shipModels);
    const int count = race()->shipModelCount;
    ASSERT_GE(count, 2);
    EXPECT_EQ(ShipyardModelAt(count - 1), LastOf(race()->shipModels));
    EXPECT_EQ(ShipyardModelAt(count), nullptr);
    EXPECT_EQ(ShipyardModelAt(-1), nullptr);

    // Another race for the human: its models are listed.
    human->race = RecordAt(g_races, 2);
    EXPECT_EQ(static_cast<int>(ShipyardModels().size()), human->race->shipModelCount);
    EXPECT_EQ(ShipyardModels().front(), human->race->shipModels);
}

TEST_F(ShipyardTest, BuyingFillsANewShipAtTheHeadOfTheDocksAndPlaysTheCue) {
    Ship* older = Dock(1);
    ShipModel* model = RecordAt(race()->shipModels, 2);
    const int ships = human->shipCount;
    human->gold = model->cost;  // exactly enough
    Ship* bought = BuyShip(planet, 1);
    ASSERT_NE(bought, nullptr);
    EXPECT_EQ(human->gold, 0);
    EXPECT_EQ(human->shipCount, ships + 1);
    EXPECT_EQ(planet->docks, bought);
    EXPECT_EQ(bought->next, older);
    EXPECT_EQ(DockRows(planet).front().dock, "1");
    EXPECT_EQ(DockRows(planet).front().ship, model->name);
    EXPECT_EQ(bought->owner, human);
    EXPECT_EQ(bought->model, model);
    EXPECT_EQ(bought->actionPoints, model->speed);
    EXPECT_EQ(bought->shieldPoints, model->defence);
    EXPECT_EQ(bought->viewPoints, model->survey);
    EXPECT_EQ(bought->holds, model->hold);
    EXPECT_EQ(bought->holdFull, 0);
    EXPECT_EQ(bought->weapon, nullptr);
    EXPECT_EQ(bought->weaponReady, 0);
    EXPECT_EQ(bought->reserved, 0);
    for (int k = 0; k < kShipEquipSlots; ++k) EXPECT_EQ(bought->equip[k], 0) << k;
    EXPECT_EQ(bought->pixels[0].colour, 0u);
    EXPECT_EQ(platform.cues, std::vector<std::string>{"BldShip.wav"});
    EXPECT_TRUE(platform.messages.empty());
}

TEST_F(ShipyardTest, TheSecondPurchaseWithoutEnoughGoldIsRefusedWithoutACue) {
    ShipModel* model = race()->shipModels;
    model->cost = 1000;
    human->gold = 1500;
    EXPECT_NE(BuyShip(planet, 0), nullptr);
    EXPECT_EQ(BuyShip(planet, 0), nullptr);
    EXPECT_EQ(human->gold, 500);
    EXPECT_EQ(CountOf(planet->docks), 1);
    EXPECT_EQ(platform.messages, std::vector<std::string>{"You have not gold for this ship!"});
    EXPECT_EQ(platform.cues, std::vector<std::string>{"BldShip.wav"});

    // A bought ship launched at once arrives with no action points.
    ChooseDock(planet, 0);
    Ship* launched = StartShip(planet);
    ASSERT_NE(launched, nullptr);
    EXPECT_EQ(launched->actionPoints, 0);
}

TEST_F(ShipyardTest, ARowOutsideTheListBuysNothing) {
    const std::int32_t gold = human->gold;
    for (int row : {-1, race()->shipModelCount, 1000}) EXPECT_EQ(BuyShip(planet, row), nullptr) << row;
    EXPECT_EQ(BuyShip(nullptr, 0), nullptr);
    EXPECT_EQ(human->gold, gold);
    EXPECT_EQ(planet->docks, nullptr);
    EXPECT_TRUE(platform.messages.empty());
    EXPECT_TRUE(platform.cues.empty());
}

}  // namespace
}  // namespace qv
