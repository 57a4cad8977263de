// The planet panel and the dialogs it opens, in the window: what they show,
// what their buttons do to the game, the messages and cues, and the nested
// dialogs answered through the planet dialogs' runner.
#include <QApplication>
#include <QFontMetrics>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>

#include <algorithm>

#include "economy/planet_panel.h"
#include "model/lists.h"
#include "shell/build_ship_dialog.h"
#include "shell/equip_dialog.h"
#include "shell/planet_options_dialog.h"
#include "shell/payment_dialog.h"
#include "shell_fixture.h"

namespace qv::shell::test {
namespace {

QStringList Headings(const QTreeWidget* list) {
    QStringList out;
    for (int i = 0; i < list->columnCount(); ++i) out << list->headerItem()->text(i);
    return out;
}

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

int RowNamed(const QTreeWidget* list, const QString& name) { return Column(list, 0).indexOf(name); }

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
        ASSERT_EQ(planet->owner, human);
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
        s->viewPoints = s->model->survey;
        s->holds = 2;
        InsertAtHead(planet->docks, s);
        ++human->shipCount;
        return s;
    }

    // The texts a fresh paint of the panel writes.
    static std::vector<PanelText> Painted(PlanetOptionsDialog& dialog) {
        dialog.grab();
        return dialog.paintedTexts();
    }

    static bool Has(const std::vector<PanelText>& texts, const PanelText& t) {
        return std::find(texts.begin(), texts.end(), t) != texts.end();
    }

    std::vector<std::string> cues() { return platform().cues; }

    Player* human = nullptr;
    Planet* planet = nullptr;
};

TEST_F(PlanetDialogsTest, RunPlanetOptionsShowsThePanelOfTheSelectedPlanetAndClearsTheDockChoice) {
    {
        GameLockGuard lock;
        g_selPlanet = nullptr;
        EXPECT_EQ(RunPlanetOptions(&frame()), QDialog::Rejected);
        g_selPlanet = planet;
    }
    Ship* ship = Dock(1);
    {
        GameLockGuard lock;
        planet->shieldPoints = 431;
        planet->equip[kGlobalBankSystem] = 1;
        planet->equip[kPlanetRaceWeapon1] = 1;
        g_dockSelection = ship;
        g_listSelection = 3;
    }
    bool shown = false;
    PlanetDialogHook() = [&](QDialog& d) {
        auto* panel = qobject_cast<PlanetOptionsDialog*>(&d);
        if (!panel) return int(QDialog::Rejected);
        shown = true;
        EXPECT_EQ(panel->windowTitle(), "Planet Options");
        EXPECT_EQ(g_dockSelection, nullptr);
        EXPECT_EQ(g_listSelection, 0);
        for (int i = 0; i < PlanetOptionsDialog::kButtonCount; ++i) {
            QPushButton* b = panel->button(static_cast<PlanetOptionsDialog::Button>(i));
            EXPECT_FALSE(b->icon().isNull()) << i;
            EXPECT_EQ(b->toolTip(), PlanetOptionsDialog::Caption(static_cast<PlanetOptionsDialog::Button>(i)));
        }
        EXPECT_EQ(Headings(panel->docksList()), QStringList({"Dock #", "Space Ship"}));
        EXPECT_EQ(panel->docksList()->columnWidth(0), 50);
        EXPECT_EQ(panel->docksList()->columnWidth(1), 80);
        const std::vector<PanelText> texts = Painted(*panel);
        EXPECT_TRUE(Has(texts, {50, 10, human->race->name}));
        EXPECT_TRUE(Has(texts, {85, 32, "431"}));
        EXPECT_TRUE(Has(texts, {20, 70, "Global Bank System"}));
        EXPECT_TRUE(Has(texts, {20, 85, human->race->weapons->name}));
        for (const char* label : {"Race:", "Shield Points:", "Buildings:"})
            EXPECT_TRUE(std::any_of(texts.begin(), texts.end(), [&](const PanelText& t) { return t.text == label; }))
                << label;
        panel->button(PlanetOptionsDialog::Ok)->click();
        return panel->result();
    };
    int answer = -1;
    {
        GameLockGuard lock;  // the map's click handler holds it
        answer = RunPlanetOptions(&frame());
        EXPECT_TRUE(GameLock().heldByThisThread());
    }
    EXPECT_TRUE(shown);
    EXPECT_EQ(answer, QDialog::Accepted);
    EXPECT_EQ(g_dockSelection, nullptr);
}

TEST_F(PlanetDialogsTest, ThePanelWritesItsLabelsBesideTheFiguresAndEveryBuildingFifteenPixelsApart) {
    {
        GameLockGuard lock;
        planet->shieldPoints = 437;
        for (int k = 0; k < kPlanetEquipSlots; ++k) planet->equip[k] = 1;
    }
    PlanetOptionsDialog panel(planet, &frame());
    const std::vector<PanelText> texts = Painted(panel);
    const Race* race = human->race;
    EXPECT_TRUE(Has(texts, {50, 10, race->name}));
    EXPECT_TRUE(Has(texts, {85, 32, "437"}));
    const std::string buildings[] = {"Hyper Stabilizer",          "Protective Shield",         "Global Bank System",
                                     RecordAt(race->weapons, 1)->name, RecordAt(race->weapons, 2)->name,
                                     RecordAt(race->weapons, 3)->name};
    for (int i = 0; i < 6; ++i) EXPECT_TRUE(Has(texts, {20, 70 + 15 * i, buildings[i]})) << i;
    EXPECT_EQ(texts.size(), 3u + 2u + 6u);

    // "Race:" and "Shield Points:" stand on their figures' lines and end
    // before them; "Buildings:" stands above the first building.
    const QFontMetrics metrics(panel.font());
    const struct {
        const char* text;
        int y;
        int figureX;
    } labels[] = {{"Race:", 10, 50}, {"Shield Points:", 32, 85}};
    for (const auto& label : labels) {
        const auto at = std::find_if(texts.begin(), texts.end(), [&](const PanelText& t) { return t.text == label.text; });
        ASSERT_NE(at, texts.end()) << label.text;
        EXPECT_EQ(at->y, label.y) << label.text;
        EXPECT_LT(at->x + metrics.horizontalAdvance(QString::fromUtf8(label.text)), label.figureX) << label.text;
        EXPECT_GE(at->x, 0) << label.text;
        EXPECT_LE(at->x, 10) << label.text;
    }
    EXPECT_TRUE(Has(texts, {10, 52, "Buildings:"}));
    EXPECT_LE(145 + metrics.height(), panel.height());
}

TEST_F(PlanetDialogsTest, TheDocksListFollowsTheDocksAndItsRowsChooseTheShipTheButtonsActOn) {
    Ship* second = Dock(1);
    Ship* first = Dock(2);
    PlanetOptionsDialog panel(planet, &frame());
    QTreeWidget* docks = panel.docksList();
    EXPECT_EQ(Column(docks, 0), QStringList({"1", "2"}));
    EXPECT_EQ(Column(docks, 1), QStringList({QString::fromStdString(first->model->name),
                                             QString::fromStdString(second->model->name)}));

    // Nothing chosen: the dock buttons do nothing and play nothing.
    for (auto b : {PlanetOptionsDialog::EquipShip, PlanetOptionsDialog::StartShip, PlanetOptionsDialog::SellShip,
                   PlanetOptionsDialog::UnloadShip, PlanetOptionsDialog::RepairShip})
        panel.button(b)->click();
    EXPECT_TRUE(cues().empty());
    EXPECT_TRUE(platform().messages.empty());
    EXPECT_EQ(CountOf(planet->docks), 2);

    Pick(docks, 1);
    EXPECT_EQ(g_listSelection, 1);
    EXPECT_EQ(g_dockSelection, second);
    panel.button(PlanetOptionsDialog::UnloadShip)->click();
    EXPECT_EQ(platform().messages, std::vector<std::string>{"This ship have empty hold!"});

    // Selling pays half the model's cost and takes the row away.
    const std::int32_t gold = human->gold;
    const int ships = human->shipCount;
    panel.button(PlanetOptionsDialog::SellShip)->click();
    EXPECT_EQ(human->gold, gold + RecordAt(human->race->shipModels, 1)->cost / 2);
    EXPECT_EQ(human->shipCount, ships - 1);
    EXPECT_EQ(planet->docks, first);
    EXPECT_EQ(Column(docks, 0), QStringList({"1"}));
    EXPECT_EQ(cues(), std::vector<std::string>{"Feedbk03.wav"});

    // Starting the other one puts it into space and empties the list.
    Pick(docks, 0);
    EXPECT_EQ(g_dockSelection, first);
    panel.button(PlanetOptionsDialog::StartShip)->click();
    EXPECT_EQ(planet->docks, nullptr);
    ASSERT_NE(g_currentWorld->ships, nullptr);
    EXPECT_EQ(g_currentWorld->ships->model, RecordAt(human->race->shipModels, 2));
    EXPECT_EQ(g_currentWorld->ships->actionPoints, 0);
    EXPECT_EQ(docks->topLevelItemCount(), 0);
    EXPECT_EQ(cues().back(), "Landing.wav");

    // Ships docked behind the panel's back show at the next paint.
    Dock(1);
    Painted(panel);
    EXPECT_EQ(Column(docks, 0), QStringList({"1"}));
}

TEST_F(PlanetDialogsTest, BuildShipListsTheModelsAndBuysIntoTheDocksFramedByTheCues) {
    ShipModel* head = human->race->shipModels;
    int models = 0, bought = 0;
    QString title;
    PlanetDialogHook() = [&](QDialog& d) {
        auto* yard = qobject_cast<BuildShipDialog*>(&d);
        if (!yard) return int(QDialog::Rejected);
        title = yard->windowTitle();
        EXPECT_FALSE(yard->buyButton()->icon().isNull());
        EXPECT_FALSE(yard->okButton()->icon().isNull());
        QTreeWidget* list = yard->modelList();
        EXPECT_EQ(Headings(list), QStringList({"Model", "Speed", "Survey", "Hold", "Defence", "Cost"}));
        const int widths[] = {80, 50, 50, 50, 70, 50};
        for (int i = 0; i < 6; ++i) EXPECT_EQ(list->columnWidth(i), widths[i]) << i;
        models = list->topLevelItemCount();
        QTreeWidgetItem* first = list->topLevelItem(0);
        EXPECT_EQ(first->text(0).toStdString(), head->name);
        EXPECT_EQ(first->text(1), QString::number(head->speed));
        EXPECT_EQ(first->text(2), QString::number(head->survey));
        EXPECT_EQ(first->text(3), QString::number(head->hold));
        EXPECT_EQ(first->text(4), QString::number(head->defence));
        EXPECT_EQ(first->text(5), QString::number(head->cost));
        Pick(list, 0);
        human->gold = head->cost;  // exactly one ship's worth
        yard->buyButton()->click();
        yard->buyButton()->click();
        bought = CountOf(planet->docks);
        yard->okButton()->click();
        return yard->result();
    };
    PlanetOptionsDialog panel(planet, &frame());
    panel.button(PlanetOptionsDialog::BuildShip)->click();
    EXPECT_EQ(title, "Build Ship");
    EXPECT_EQ(models, human->race->shipModelCount);
    EXPECT_EQ(bought, 1);
    EXPECT_EQ(human->gold, 0);
    EXPECT_EQ(platform().messages, std::vector<std::string>{"You have not gold for this ship!"});
    EXPECT_EQ(cues(), (std::vector<std::string>{"Feedbk04.wav", "BldShip.wav", "Feedbk03.wav"}));
    EXPECT_EQ(Column(panel.docksList(), 1), QStringList({QString::fromStdString(head->name)}));

    // Closed without buying: the closing cue all the same.
    platform().cues.clear();
    PlanetDialogHook() = [](QDialog& d) {
        d.reject();
        return d.result();
    };
    panel.button(PlanetOptionsDialog::BuildShip)->click();
    EXPECT_EQ(cues(), (std::vector<std::string>{"Feedbk04.wav", "Feedbk03.wav"}));
}

TEST_F(PlanetDialogsTest, EquipPlanetMovesTheBoughtItemToTheSellListAndThePanelListsIt) {
    {
        GameLockGuard lock;
        planet->shieldPoints = 420;
    }
    QString title;
    QStringList buyBefore, sellAfter, buyAfter;
    PlanetDialogHook() = [&](QDialog& d) {
        auto* equip = qobject_cast<EquipDialog*>(&d);
        if (!equip) return int(QDialog::Rejected);
        title = equip->windowTitle();
        EXPECT_EQ(Headings(equip->buyList()), QStringList({"Equipment", "Cost"}));
        EXPECT_EQ(equip->buyList()->columnWidth(0), 100);
        EXPECT_EQ(equip->sellList()->columnWidth(1), 50);
        EXPECT_FALSE(equip->sellButton()->icon().isNull());
        buyBefore = Column(equip->buyList(), 0);
        EXPECT_EQ(Column(equip->buyList(), 1).mid(0, 3), QStringList({"5000", "3100", "6900"}));
        Pick(equip->buyList(), RowNamed(equip->buyList(), "Protective Shield"));
        equip->buyButton()->click();
        human->gold = 0;
        Pick(equip->buyList(), RowNamed(equip->buyList(), "Hyper Stabilizer"));
        equip->buyButton()->click();
        sellAfter = Column(equip->sellList(), 0) + Column(equip->sellList(), 1);
        buyAfter = Column(equip->buyList(), 0);
        equip->okButton()->click();
        return equip->result();
    };
    PlanetOptionsDialog panel(planet, &frame());
    panel.button(PlanetOptionsDialog::EquipPlanet)->click();
    EXPECT_EQ(title, "Equip Planet");
    const Race* race = human->race;
    EXPECT_EQ(buyBefore, QStringList({"Hyper Stabilizer", "Protective Shield", "Global Bank System",
                                      QString::fromStdString(RecordAt(race->weapons, 1)->name),
                                      QString::fromStdString(RecordAt(race->weapons, 2)->name),
                                      QString::fromStdString(RecordAt(race->weapons, 3)->name)}));
    EXPECT_EQ(sellAfter, QStringList({"Protective Shield", "1550"}));
    EXPECT_EQ(buyAfter.size(), 5);
    EXPECT_FALSE(buyAfter.contains("Protective Shield"));
    EXPECT_EQ(planet->shieldPoints, 720);
    EXPECT_EQ(planet->equip[kProtectiveShield], 1);
    EXPECT_EQ(platform().messages, std::vector<std::string>{"Not enough gold for this equipment!"});
    EXPECT_EQ(cues(), (std::vector<std::string>{"Feedbk04.wav", "Feedbk03.wav"}));
    const std::vector<PanelText> texts = Painted(panel);
    EXPECT_TRUE(Has(texts, {85, 32, "720"}));
    EXPECT_TRUE(Has(texts, {20, 70, "Protective Shield"}));
}

TEST_F(PlanetDialogsTest, EquipShipOpensOnlyForAChosenShipAndSellsItsItems) {
    Ship* ship = Dock(1);
    {
        GameLockGuard lock;
        ship->equip[kAdditionalHold] = 1;
        ship->equip[kSpaceScanner] = 1;
    }
    int opened = 0;
    QStringList sellBefore, buyAfter;
    PlanetDialogHook() = [&](QDialog& d) {
        auto* equip = qobject_cast<EquipDialog*>(&d);
        if (!equip) return int(QDialog::Rejected);
        ++opened;
        EXPECT_EQ(equip->windowTitle(), "Equip Ship");
        EXPECT_EQ(equip->kind(), EquipDialog::ForShip);
        EXPECT_EQ(equip->buyList()->columnWidth(0), 150);
        sellBefore = Column(equip->sellList(), 0) + Column(equip->sellList(), 1);
        Pick(equip->sellList(), 1);
        equip->sellButton()->click();
        buyAfter = Column(equip->buyList(), 0);
        // A row the sell list no longer has sells nothing.
        equip->sellButton()->click();
        return int(QDialog::Accepted);
    };
    PlanetOptionsDialog panel(planet, &frame());
    panel.button(PlanetOptionsDialog::EquipShip)->click();
    EXPECT_EQ(opened, 0);
    EXPECT_TRUE(cues().empty());

    Pick(panel.docksList(), 0);
    const std::int32_t gold = human->gold;
    const int holds = ship->holds;
    panel.button(PlanetOptionsDialog::EquipShip)->click();
    EXPECT_EQ(opened, 1);
    EXPECT_EQ(sellBefore, QStringList({"Space Scanner", "Additional Hold", "550", "950"}));
    EXPECT_EQ(buyAfter.size(), 10);
    EXPECT_EQ(buyAfter.back(), "Additional Hold");
    EXPECT_EQ(ship->equip[kAdditionalHold], 0);
    EXPECT_EQ(ship->equip[kSpaceScanner], 1);
    EXPECT_EQ(ship->holds, holds);
    EXPECT_EQ(human->gold, gold + 950);
    EXPECT_EQ(cues(), (std::vector<std::string>{"Feedbk04.wav", "Feedbk03.wav"}));
}

TEST_F(PlanetDialogsTest, RepairsAskForThePriceInThePaymentDialogAndDoNothingWhenRefused) {
    {
        GameLockGuard lock;
        planet->shieldPoints = 420;
    }
    QString title, question, amount;
    bool agree = false;
    PlanetDialogHook() = [&](QDialog& d) {
        auto* pay = qobject_cast<PaymentDialog*>(&d);
        if (!pay) return int(QDialog::Rejected);
        title = pay->windowTitle();
        question = pay->questionLabel()->text();
        amount = pay->amountLabel()->text();
        EXPECT_FALSE(pay->okButton()->icon().isNull());
        EXPECT_FALSE(pay->cancelButton()->icon().isNull());
        (agree ? pay->okButton() : pay->cancelButton())->click();
        return pay->result();
    };
    PlanetOptionsDialog panel(planet, &frame());
    const std::int32_t gold = human->gold;
    panel.button(PlanetOptionsDialog::RepairPlanet)->click();
    EXPECT_EQ(title, "Dialog");
    EXPECT_EQ(question, "Do you agree to pay:");
    EXPECT_EQ(amount, "400");
    EXPECT_EQ(planet->shieldPoints, 420);
    EXPECT_EQ(human->gold, gold);
    EXPECT_EQ(cues(), (std::vector<std::string>{"Feedbk04.wav", "Feedbk03.wav"}));

    agree = true;
    panel.button(PlanetOptionsDialog::RepairPlanet)->click();
    EXPECT_EQ(planet->shieldPoints, 500);
    EXPECT_EQ(human->gold, gold - 400);
    EXPECT_TRUE(Has(Painted(panel), {85, 32, "500"}));
    panel.button(PlanetOptionsDialog::RepairPlanet)->click();
    EXPECT_EQ(platform().messages, std::vector<std::string>{"Protection does not have damages!"});

    // A docked ship: 2 gold a point.
    Ship* ship = Dock(1);
    {
        GameLockGuard lock;
        ship->shieldPoints = ship->model->defence - 30;
    }
    panel.refresh();
    Pick(panel.docksList(), 0);
    amount.clear();
    panel.button(PlanetOptionsDialog::RepairShip)->click();
    EXPECT_EQ(amount, "60");
    EXPECT_EQ(ship->shieldPoints, ship->model->defence);
    EXPECT_EQ(human->gold, gold - 460);
    panel.button(PlanetOptionsDialog::RepairShip)->click();
    EXPECT_EQ(platform().messages.back(), "Shielding is not damaged!");
}

}  // namespace
}  // namespace qv::shell::test
