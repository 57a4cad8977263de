// Repairs of the selected planet and of the chosen docked ship: full values,
// prices, the payment confirmation, refusals, messages and cues.
#include <gtest/gtest.h>

#include "economy/planet_panel.h"
#include "economy/repairs.h"
#include "economy_fixture.h"
#include "model/platform.h"

namespace qv {
namespace {

using testing::EconomyTest;

class RepairsTest : public EconomyTest {
protected:
    // Agrees (or not) and notes every amount it was shown.
    ConfirmPayment answer(bool yes) {
        return [this, yes](std::int32_t amount) {
            asked.push_back(amount);
            EXPECT_EQ(g_payAmount, amount);
            return yes;
        };
    }
    std::vector<std::int32_t> asked;
};

TEST_F(RepairsTest, APlanetIsRepairedToItsFullShieldAtFiveGoldAPoint) {
    planet->shieldPoints = 420;
    human->gold = 1000;
    EXPECT_EQ(RepairPlanetShield(planet, answer(true)), RepairOutcome::Repaired);
    EXPECT_EQ(asked, std::vector<std::int32_t>{400});
    EXPECT_EQ(planet->shieldPoints, 500);
    EXPECT_EQ(human->gold, 600);
    EXPECT_EQ(platform.cues, std::vector<std::string>{"Feedbk04.wav"});

    // With the Protective Shield the full value is 800.
    planet->equip[kProtectiveShield] = 1;
    human->gold = 1500;  // exactly enough
    EXPECT_EQ(PlanetRepairPrice(*planet), 1500);
    EXPECT_EQ(RepairPlanetShield(planet, answer(true)), RepairOutcome::Repaired);
    EXPECT_EQ(planet->shieldPoints, 800);
    EXPECT_EQ(human->gold, 0);
    EXPECT_TRUE(platform.messages.empty());
}

TEST_F(RepairsTest, AnUndamagedPlanetSaysSoByItsFullValueWithoutAsking) {
    planet->shieldPoints = 500;
    EXPECT_EQ(RepairPlanetShield(planet, answer(true)), RepairOutcome::NotDamaged);
    planet->shieldPoints = 720;  // above 500 after the shield was sold
    EXPECT_EQ(RepairPlanetShield(planet, answer(true)), RepairOutcome::NotDamaged);
    planet->equip[kProtectiveShield] = 1;
    planet->shieldPoints = 800;
    EXPECT_EQ(RepairPlanetShield(planet, answer(true)), RepairOutcome::NotDamaged);
    EXPECT_EQ(platform.messages, (std::vector<std::string>{"Protection does not have damages!",
                                                           "Protection does not have damages!",
                                                           "Shield does not have damages!"}));
    EXPECT_TRUE(asked.empty());
    EXPECT_EQ(platform.cues, (std::vector<std::string>(3, "Feedbk04.wav")));
    EXPECT_EQ(human->gold, 20000);
}

TEST_F(RepairsTest, ARepairTooDearOrRefusedChangesNothing) {
    planet->shieldPoints = 100;  // 2000 gold
    human->gold = 1999;
    EXPECT_EQ(RepairPlanetShield(planet, answer(true)), RepairOutcome::NotEnoughGold);
    EXPECT_EQ(platform.messages, std::vector<std::string>{"You do not have so much gold!"});
    EXPECT_TRUE(asked.empty());
    EXPECT_EQ(planet->shieldPoints, 100);
    EXPECT_EQ(human->gold, 1999);

    human->gold = 5000;
    platform.cues.clear();
    EXPECT_EQ(RepairPlanetShield(planet, answer(false)), RepairOutcome::Refused);
    EXPECT_EQ(asked, std::vector<std::int32_t>{2000});
    EXPECT_EQ(planet->shieldPoints, 100);
    EXPECT_EQ(human->gold, 5000);
    EXPECT_EQ(platform.cues, (std::vector<std::string>{"Feedbk04.wav", "Feedbk03.wav"}));
}

TEST_F(RepairsTest, AShipIsRepairedToItsModelsDefenceOrOneHundredMoreWithTheScreen) {
    Ship* ship = Dock(1);
    ship->model->defence = 150;
    ship->equip[kProtectiveScreen] = 0;
    ship->shieldPoints = 90;
    human->gold = 1000;
    ChooseDock(planet, 0);
    EXPECT_EQ(ShipRepairPrice(*ship), 120);
    ship->equip[kProtectiveScreen] = 1;
    EXPECT_EQ(ShipFullShield(*ship), 250);
    EXPECT_EQ(RepairDockedShip(planet, answer(true)), RepairOutcome::Repaired);
    EXPECT_EQ(asked, std::vector<std::int32_t>{320});
    EXPECT_EQ(ship->shieldPoints, 250);
    EXPECT_EQ(human->gold, 680);
    EXPECT_EQ(platform.cues, std::vector<std::string>{"Feedbk04.wav"});

    // Without the screen: 120 gold; refused, nothing changes.
    ship->equip[kProtectiveScreen] = 0;
    ship->shieldPoints = 90;
    EXPECT_EQ(RepairDockedShip(planet, answer(false)), RepairOutcome::Refused);
    EXPECT_EQ(asked.back(), 120);
    EXPECT_EQ(ship->shieldPoints, 90);
    EXPECT_EQ(human->gold, 680);
    EXPECT_EQ(platform.cues.back(), "Feedbk03.wav");

    // Too dear.
    human->gold = 119;
    EXPECT_EQ(RepairDockedShip(planet, answer(true)), RepairOutcome::NotEnoughGold);
    EXPECT_EQ(platform.messages.back(), "You do not have so much gold!");
    EXPECT_EQ(ship->shieldPoints, 90);
}

TEST_F(RepairsTest, AShipAtOrAboveItsFullValueOrNoShipChosenIsNotRepaired) {
    Ship* ship = Dock(1);
    ship->model->defence = 150;
    ship->equip[kProtectiveScreen] = 0;
    ship->shieldPoints = 250;  // a Power Reactor bought: above the full value
    EXPECT_EQ(RepairDockedShip(planet, answer(true)), RepairOutcome::NothingChosen);
    EXPECT_TRUE(platform.cues.empty());
    EXPECT_TRUE(platform.messages.empty());

    ChooseDock(planet, 0);
    EXPECT_EQ(RepairDockedShip(planet, answer(true)), RepairOutcome::NotDamaged);
    ship->shieldPoints = 150;
    EXPECT_EQ(RepairDockedShip(planet, answer(true)), RepairOutcome::NotDamaged);
    EXPECT_EQ(platform.messages, (std::vector<std::string>(2, "Shielding is not damaged!")));
    EXPECT_TRUE(asked.empty());
    EXPECT_EQ(ShipRepairPrice(*ship), 0);

    // A ship left without a model (captured by a race that has none) has no
    // full value to be repaired to.
    ship->model = nullptr;
    ship->shieldPoints = 0;
    EXPECT_EQ(ShipFullShield(*ship), 0);
    EXPECT_EQ(RepairDockedShip(planet, answer(true)), RepairOutcome::NotDamaged);
}

}  // namespace
}  // namespace qv
