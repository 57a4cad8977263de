// The planet panel and the dialogs it opens: the panel shows the selected
// planet with the game lock lent out, each button reaches its step of the
// game (the steps' prices and effects are the logic's own tests), and the
// nested dialogs pass the player's choices on.
#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>

#include <algorithm>

#include "economy/planet_panel.h"
#include "model/lists.h"
#include "shell/build_ship_dialog.h"
#include "shell/equip_dialog.h"
#include "shell/payment_dialog.h"
#include "shell/planet_options_dialog.h"
#include "shell_fixture.h"

namespace qv::shell::test {
namespace {

QStringList Column(const QTreeWidget* list, int column) {
    QStringList out;
    for (int i = 0; i < list->topLevelItemCount(); ++i) out << list->topLevelItem(i)->text(column);
    return out;
}

// Picks a row as the player does (a click on it).
void Pick(QTreeWidget* list, int row) {
    QTreeWidgetItem* item = list->topLevelItem(row);
    ASSERT_NE(item, nullptr);
    list->setCurrentItem(item);
    emit list->itemClicked(item, 0);
}

bool Has(const std::vector<PanelText>& texts, const PanelText& t) {
    return std::find(texts.begin(), texts.end(), t) != texts.end();
}

class PlanetDialogsTest : public ShellTest {
protected:
    void SetUp() override {
        ShellTest::SetUp();
        ASSERT_TRUE(started_);
        ASSERT_TRUE(NewGame());
        GameLockGuard lock;
        human = g_players;
        planet = g_selPlanet;
        ASSERT_NE(planet, nullptr);
        human->shipCount -= CountOf(planet->docks);
        FreeList(planet->docks);
        human->gold = 20000;
        platform().cues.clear();
        platform().messages.clear();
    }

    void TearDown() override {
        PlanetDialogHook() = nullptr;
        ShellTest::TearDown();
    }

    Ship* Dock(int model) {
        GameLockGuard lock;
        auto* s = new Ship;
        s->owner = human;
        s->model = RecordAt(human->race->shipModels, model);
        s->actionPoints = 40;
        s->shieldPoints = s->model->defence;
        s->holds = 2;
        InsertAtHead(planet->docks, s);
        ++human->shipCount;
        return s;
    }

    Player* human = nullptr;
    Planet* planet = nullptr;
};

TEST_F(PlanetDialogsTest, ThePanelOfTheSelectedPlanetIsModalWithTheLockLentAndShowsItsFigures) {
    {
        GameLockGuard lock;
        g_selPlanet = nullptr;
        EXPECT_EQ(RunPlanetOptions(&frame()), QDialog::Rejected);
        g_selPlanet = planet;
        planet->shieldPoints = 431;
        planet->equip[kGlobalBankSystem] = 1;
    }
    bool lockLent = false, drawnBehind = false;
    std::vector<PanelText> texts;
    ModalDialog panel;
    panel.whenOpen<PlanetOptionsDialog>([&](PlanetOptionsDialog& dialog) {
        EXPECT_EQ(dialog.windowTitle(), "Planet Options");
        lockLent = !GameLock().heldByThisThread();
        const std::uint64_t serial = view().frameSerial();
        drawnBehind = SpinUntil([&] { return view().frameSerial() > serial + 1; });
        dialog.grab();
        texts = dialog.paintedTexts();
        dialog.button(PlanetOptionsDialog::Ok)->click();
    });
    int answer = -1;
    {
        GameLockGuard lock;  // the map's click handler holds it
        answer = RunPlanetOptions(&frame());
        EXPECT_TRUE(GameLock().heldByThisThread());
    }
    EXPECT_EQ(panel.acted(), 1);
    EXPECT_EQ(answer, QDialog::Accepted);
    EXPECT_TRUE(lockLent);
    EXPECT_TRUE(drawnBehind);
    // The figures stand right of their labels, the buildings below them.
    EXPECT_TRUE(Has(texts, {50, 10, human->race->name}));
    EXPECT_TRUE(Has(texts, {85, 32, "431"}));
    EXPECT_TRUE(Has(texts, {20, 70, "Global Bank System"}));
}

TEST_F(PlanetDialogsTest, TheDockButtonsActOnTheRowChosenInTheDocksList) {
    Ship* second = Dock(1);
    Ship* first = Dock(2);
    PlanetOptionsDialog panel(planet, &frame());
    QTreeWidget* docks = panel.docksList();
    EXPECT_EQ(Column(docks, 1), QStringList({QString::fromStdString(first->model->name),
                                             QString::fromStdString(second->model->name)}));
    Pick(docks, 1);
    EXPECT_EQ(g_dockSelection, second);
    panel.button(PlanetOptionsDialog::UnloadShip)->click();
    EXPECT_EQ(platform().messages, std::vector<std::string>{"This ship have empty hold!"});

    // Sell: the ship goes, the gold grows, the row goes.
    const std::int32_t gold = human->gold;
    panel.button(PlanetOptionsDialog::SellShip)->click();
    EXPECT_GT(human->gold, gold);
    EXPECT_EQ(planet->docks, first);
    EXPECT_EQ(Column(docks, 0), QStringList({"1"}));

    // Start: the other one goes into space.
    const ShipModel* model = first->model;
    const int inSpace = CountOf(g_currentWorld->ships);
    Pick(docks, 0);
    panel.button(PlanetOptionsDialog::StartShip)->click();
    EXPECT_EQ(planet->docks, nullptr);
    ASSERT_EQ(CountOf(g_currentWorld->ships), inSpace + 1);
    EXPECT_EQ(g_currentWorld->ships->model, model);
    EXPECT_EQ(docks->topLevelItemCount(), 0);

    // Ships docked behind the panel's back show at its next paint.
    Dock(1);
    panel.grab();
    EXPECT_EQ(Column(docks, 0), QStringList({"1"}));
}

TEST_F(PlanetDialogsTest, BuildShipAndTheEquipButtonsTradeWhatIsChosenInTheirLists) {
    QStringList opened;
    PlanetDialogHook() = [&](QDialog& d) {
        opened << d.windowTitle();
        if (auto* yard = qobject_cast<BuildShipDialog*>(&d)) {
            EXPECT_EQ(yard->modelList()->topLevelItemCount(), human->race->shipModelCount);
            Pick(yard->modelList(), 1);
            yard->buyButton()->click();
        } else if (auto* equip = qobject_cast<EquipDialog*>(&d); equip && equip->kind() == EquipDialog::ForShip) {
            EXPECT_EQ(Column(equip->sellList(), 0), QStringList({"Space Scanner"}));
            Pick(equip->sellList(), 0);
            equip->sellButton()->click();
        } else if (auto* equip = qobject_cast<EquipDialog*>(&d)) {
            const int row = Column(equip->buyList(), 0).indexOf("Protective Shield");
            Pick(equip->buyList(), row);
            equip->buyButton()->click();
            EXPECT_EQ(Column(equip->sellList(), 0), QStringList({"Protective Shield"}));
        }
        return int(QDialog::Accepted);
    };
    PlanetOptionsDialog panel(planet, &frame());
    panel.button(PlanetOptionsDialog::BuildShip)->click();
    EXPECT_EQ(platform().cues, (std::vector<std::string>{"Feedbk04.wav", "BldShip.wav", "Feedbk03.wav"}));
    ASSERT_NE(planet->docks, nullptr);
    EXPECT_EQ(planet->docks->model, RecordAt(human->race->shipModels, 2));  // the second row
    EXPECT_EQ(Column(panel.docksList(), 0), QStringList({"1"}));

    panel.button(PlanetOptionsDialog::EquipPlanet)->click();
    EXPECT_EQ(planet->equip[kProtectiveShield], 1);

    // Equip Ship opens only for a chosen docked ship, with that ship's trade.
    Ship* ship = planet->docks;
    {
        GameLockGuard lock;
        ship->equip[kSpaceScanner] = 1;
        g_dockSelection = nullptr;
    }
    panel.button(PlanetOptionsDialog::EquipShip)->click();
    EXPECT_EQ(opened.size(), 2);
    Pick(panel.docksList(), 0);
    panel.button(PlanetOptionsDialog::EquipShip)->click();
    EXPECT_EQ(ship->equip[kSpaceScanner], 0);
    EXPECT_EQ(opened, QStringList({"Build Ship", "Equip Planet", "Equip Ship"}));
}

TEST_F(PlanetDialogsTest, RepairsShowThePriceAndPayOnlyWhenAgreed) {
    {
        GameLockGuard lock;
        planet->shieldPoints = 420;
    }
    QString amount;
    bool agree = false;
    PlanetDialogHook() = [&](QDialog& d) {
        auto* pay = qobject_cast<PaymentDialog*>(&d);
        if (!pay) return int(QDialog::Rejected);
        EXPECT_EQ(pay->questionLabel()->text(), "Do you agree to pay:");
        amount = pay->amountLabel()->text();
        (agree ? pay->okButton() : pay->cancelButton())->click();
        return pay->result();
    };
    PlanetOptionsDialog panel(planet, &frame());
    const std::int32_t gold = human->gold;
    panel.button(PlanetOptionsDialog::RepairPlanet)->click();
    EXPECT_FALSE(amount.isEmpty());
    EXPECT_EQ(planet->shieldPoints, 420);
    EXPECT_EQ(human->gold, gold);

    agree = true;
    panel.button(PlanetOptionsDialog::RepairPlanet)->click();
    EXPECT_GT(planet->shieldPoints, 420);
    EXPECT_EQ(human->gold, gold - amount.toInt());  // the price shown is the price paid

    // A docked ship's repair asks the same way.
    Ship* ship = Dock(1);
    {
        GameLockGuard lock;
        ship->shieldPoints -= 30;
    }
    panel.refresh();
    Pick(panel.docksList(), 0);
    amount.clear();
    const std::int32_t before = human->gold;
    panel.button(PlanetOptionsDialog::RepairShip)->click();
    EXPECT_EQ(ship->shieldPoints, ship->model->defence);
    EXPECT_EQ(human->gold, before - amount.toInt());
}

}  // namespace
}  // namespace qv::shell::test
