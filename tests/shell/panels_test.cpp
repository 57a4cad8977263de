// The panels' buttons act on the record or row the player chose (their effects are the logic's own tests).
#include <QHeaderView>
#include <QPushButton>
#include <QStyle>
#include <QTreeWidget>

#include "economy/equipment_trade.h"
#include "economy/planet_panel.h"
#include "model/catalogue.h"
#include "shell/asteroid_options_dialog.h"
#include "shell/build_ship_dialog.h"
#include "shell/equip_dialog.h"
#include "shell/payment_dialog.h"
#include "shell/planet_options_dialog.h"
#include "shell/ship_options_dialog.h"
#include "shell_fixture.h"

namespace qv::shell::test {
namespace {

void Pick(QTreeWidget* list, int row) {
    list->setCurrentItem(list->topLevelItem(row));
    emit list->itemClicked(list->topLevelItem(row), 0);
}

using Panels = ShellTest;

TEST_F(Panels, EachPlanetPanelButtonDoesItsStepOnTheChosenDockedShip) {
    GameLockGuard lock;  // as the map's click holds it; nothing here waits for the drawing thread
    Planet* const planet = g_selPlanet;
    g_players->gold = 20000;
    Ship* const docked = AddShip(planet->docks);
    docked->equip[kSpaceScanner] = 1, docked->shieldPoints -= 30;
    QStringList opened;
    PlanetDialogHook() = [&](QDialog& d) {
        opened << d.windowTitle();
        auto* equip = qobject_cast<EquipDialog*>(&d);
        if (QTreeWidget* list = equip ? equip->sellList() : nullptr; equip && equip->kind() == EquipDialog::ForShip) {
            Pick(list, list->indexOfTopLevelItem(list->findItems("Space Scanner", Qt::MatchExactly).value(0)));
            equip->sellButton()->click();
        } else if (QTreeWidget* list = equip ? equip->buyList() : nullptr) {
            Pick(list, list->indexOfTopLevelItem(list->findItems("Protective Shield", Qt::MatchExactly).value(0)));
            equip->buyButton()->click();
        } else if (auto* pay = qobject_cast<PaymentDialog*>(&d)) {  // agrees the second time
            (opened.count("Dialog") > 2 ? pay->okButton() : pay->cancelButton())->click();
            return pay->result();
        }
        return int(QDialog::Accepted);
    };
    PlanetOptionsDialog panel(planet, &frame());
    auto click = [&](PlanetOptionsDialog::Button b) { panel.button(b)->click(); };
    click(PlanetOptionsDialog::EquipPlanet);
    EXPECT_EQ(planet->equip[kProtectiveShield], 1);
    g_dockSelection = nullptr;
    click(PlanetOptionsDialog::EquipShip);  // no docked ship chosen: nothing
    Pick(panel.docksList(), 0);
    EXPECT_EQ(g_dockSelection, docked);
    click(PlanetOptionsDialog::EquipShip);
    EXPECT_EQ(docked->equip[kSpaceScanner], 0);
    planet->shieldPoints = 420;
    for (bool agreed : {false, true}) {  // repairs only when the price is agreed
        click(PlanetOptionsDialog::RepairShip);
        EXPECT_EQ(docked->shieldPoints, docked->model->defence - (agreed ? 0 : 30));
        click(PlanetOptionsDialog::RepairPlanet);
        EXPECT_EQ(planet->shieldPoints > 420, agreed);
    }
    EXPECT_EQ(opened, QStringList({"Equip Planet", "Equip Ship", "Dialog", "Dialog", "Dialog", "Dialog"}));
    platform().messages.clear();
    click(PlanetOptionsDialog::UnloadShip);
    EXPECT_EQ(platform().messages.size(), 1u);  // an empty hold
    const std::int32_t gold = g_players->gold;
    click(PlanetOptionsDialog::SellShip);
    EXPECT_GT(g_players->gold, gold);
    EXPECT_EQ(IndexOf(planet->docks, docked), 0);  // gone
    click(PlanetOptionsDialog::Ok);
    EXPECT_EQ(panel.result(), QDialog::Accepted);
    PlanetDialogHook() = nullptr;
}

TEST_F(Panels, ShipAndAsteroidButtonsActOnTheSelectedShipOrTheChosenRow) {
    GameLockGuard lock;
    Ship* const s = g_selShip = AddShip(g_currentWorld->ships, 300, 300);
    for (int fitted : {0, 1}) {  // SHM and Start Rocket arm only with their device, and then close
        s->equip[kHyperJumper] = s->equip[kNuclearMissile] = fitted;
        for (auto [button, mode] : {std::pair{&CShipOptionsDlg::hyperJumpButton, &g_jumpMode},
                                    std::pair{&CShipOptionsDlg::startRocketButton, &g_rocketMode}}) {
            CShipOptionsDlg dialog(&frame());
            dialog.show();
            (dialog.*button)()->click();
            EXPECT_EQ(dialog.isVisible(), fitted == 0);
            EXPECT_EQ(*mode, fitted);
        }
    }
    Asteroid* const asteroid = g_currentWorld->asteroids;
    FreeList(asteroid->ships);
    Ship* const holds = AddShip(asteroid->ships);
    Ship* const none = AddShip(asteroid->ships);  // the first row
    holds->holds = 10;
    g_selShip = nullptr, g_selAsteroid = asteroid, g_listSelection = 0;
    CAsteroidOptionsDlg dialog(&frame());
    dialog.show();
    dialog.shipList()->setCurrentItem(dialog.shipList()->topLevelItem(1));
    EXPECT_EQ(g_listSelection, 1);
    dialog.loadHoldButton()->click();
    EXPECT_EQ(holds->holdFull, 1);
    dialog.startShipButton()->click();
    EXPECT_EQ(asteroid->ships, none);
    EXPECT_EQ(g_currentWorld->ships->holdFull, 1);  // the loaded one, launched
    EXPECT_EQ(dialog.shipList()->topLevelItemCount(), 1);
}

TEST_F(Panels, BuySellAndTheShipButtonsWaitForARowChosenInTheirOwnListSinceItOpened) {
    GameLockGuard lock;
    Planet* const planet = g_selPlanet;
    g_players->gold = 50000;
    planet->equip[kHyperStabilizer] = 1;
    Ship* const docked = AddShip(planet->docks);
    docked->equip[kSpaceScanner] = 1;
    AddShip(planet->docks);  // docked is row 2
    OpenPlanetPanel();
    PlanetOptionsDialog panel(planet, &frame());
    const QList<PlanetOptionsDialog::Button> shipButtons = {
        PlanetOptionsDialog::StartShip, PlanetOptionsDialog::EquipShip, PlanetOptionsDialog::UnloadShip,
        PlanetOptionsDialog::SellShip, PlanetOptionsDialog::RepairShip};
    for (auto b : shipButtons) EXPECT_FALSE(panel.button(b)->isEnabled()) << PlanetOptionsDialog::Caption(b);
    Pick(panel.docksList(), 1);  // the list's row index is 1 now
    for (auto b : shipButtons) EXPECT_TRUE(panel.button(b)->isEnabled()) << PlanetOptionsDialog::Caption(b);
    BuildShipDialog yard(planet, &panel);
    EquipDialog planetTrade(EquipDialog::ForPlanet, planet, nullptr, &panel);
    EquipDialog shipTrade(EquipDialog::ForShip, nullptr, docked, &panel);
    const std::pair<QTreeWidget*, QPushButton*> rows[] = {
        {yard.modelList(), yard.buyButton()},
        {planetTrade.buyList(), planetTrade.buyButton()},
        {planetTrade.sellList(), planetTrade.sellButton()},
        {shipTrade.buyList(), shipTrade.buyButton()},
        {shipTrade.sellList(), shipTrade.sellButton()},
    };
    for (auto [list, button] : rows) {
        SCOPED_TRACE(list->window()->windowTitle().toStdString() + " " + button->objectName().toStdString());
        const std::int32_t gold = g_players->gold;
        EXPECT_FALSE(button->isEnabled());
        button->click();
        EXPECT_EQ(g_players->gold, gold);  // no row chosen here: nothing bought or sold
        Pick(list, 0);
        EXPECT_TRUE(button->isEnabled());
        button->click();
        EXPECT_NE(g_players->gold, gold);
    }
    EXPECT_FALSE(shipTrade.buyButton()->isEnabled());  // the rows moved: none chosen
    // A panel opened again: the docked ship chosen before is not chosen in it.
    PlanetOptionsDialog again(planet, &frame());
    const std::int32_t gold = g_players->gold;
    again.button(PlanetOptionsDialog::SellShip)->click();
    EXPECT_EQ(g_players->gold, gold);
    EXPECT_NE(IndexOf(planet->docks, docked), 0);  // still docked
    Asteroid* const asteroid = g_currentWorld->asteroids;
    FreeList(asteroid->ships);
    Ship* const landed = AddShip(asteroid->ships);
    g_selAsteroid = asteroid, g_listSelection = 0;
    CAsteroidOptionsDlg rocks(&frame());
    EXPECT_FALSE(rocks.startShipButton()->isEnabled() || rocks.loadHoldButton()->isEnabled());
    rocks.startShipButton()->click();
    EXPECT_EQ(asteroid->ships, landed);
    Pick(rocks.shipList(), 0);
    EXPECT_TRUE(rocks.startShipButton()->isEnabled() && rocks.loadHoldButton()->isEnabled());
}

TEST_F(Panels, EveryShippedNameShowsWholeInTheListsAndThePanelsTextsStayInsideWithAMargin) {
    GameLockGuard lock;
    Planet* const planet = g_selPlanet;
    QStringList models, planetItems, shipItems;  // the shipped races' (the build's data) and the catalogue's
    for (const CatalogueItem& item : kPlanetEquipment) planetItems << item.name;
    for (const CatalogueItem& item : kShipEquipment) shipItems << item.name;
    for (const Race* race = g_races; race; race = race->next) {
        for (const ShipModel* m = race->shipModels; m; m = m->next) models << QString::fromStdString(m->name);
        for (int n = 1; n <= kRaceWeaponsOffered; ++n)
            planetItems << QString::fromStdString(RaceWeapon(race, n)->name),
                shipItems << QString::fromStdString(RaceWeapon(race, n)->name);
    }
    for (int k = 0; k < kPlanetEquipSlots; ++k) planet->equip[k] = 1;
    Ship* const docked = AddShip(planet->docks);
    g_selAsteroid = g_currentWorld->asteroids;
    PlanetOptionsDialog panel(planet, &frame());
    BuildShipDialog yard(planet, &panel);
    EquipDialog planetTrade(EquipDialog::ForPlanet, planet, nullptr, &panel);
    EquipDialog shipTrade(EquipDialog::ForShip, nullptr, docked, &panel);
    CAsteroidOptionsDlg rocks(&frame());
    const std::tuple<QTreeWidget*, int, const QStringList&> lists[] = {
        {yard.modelList(), 0, models},
        {panel.docksList(), 1, models},
        {rocks.shipList(), 1, models},
        {planetTrade.buyList(), 0, planetItems},
        {planetTrade.sellList(), 0, planetItems},
        {shipTrade.buyList(), 0, shipItems},
        {shipTrade.sellList(), 0, shipItems},
    };
    for (auto [list, column, names] : lists) {
        list->window()->show();
        const int margins = 2 * (list->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, list) + 1);
        EXPECT_LE(list->header()->sectionViewportPosition(column) + list->columnWidth(column),
                  list->viewport()->width());
        for (const QString& name : names)
            EXPECT_LE(list->fontMetrics().horizontalAdvance(name) + margins, list->columnWidth(column))
                << list->window()->windowTitle().toStdString() << ": " << name.toStdString();
    }
    for (Race* race = g_races; race; race = race->next) {  // each race's name and buildings
        g_players->race = race;
        for (QDialog* dialog : std::initializer_list<QDialog*>{&panel, &rocks}) {
            dialog->grab();  // painted
            const auto& texts = dialog == &panel ? panel.paintedTexts() : rocks.paintedTexts();
            const int right = dialog == &panel ? panel.docksList()->x() : rocks.okButton()->x();
            for (const PanelText& t : texts) {
                const QRect at(t.x, t.y, dialog->fontMetrics().horizontalAdvance(QString::fromStdString(t.text)),
                               dialog->fontMetrics().height());
                EXPECT_TRUE(QRect(4, 4, right - 6, dialog->height() - 8).contains(at)) << t.text;
                EXPECT_FALSE(QString::fromStdString(t.text).endsWith(QChar(0x2026))) << t.text;  // none elided
            }
        }
    }
    g_players->race->name = std::string(60, 'W');  // a modder's: elided short of the docks list
    panel.grab();
    const PanelText& name = panel.paintedTexts().at(3);
    EXPECT_TRUE(QString::fromStdString(name.text).endsWith(QChar(0x2026)));
    EXPECT_LE(name.x + panel.fontMetrics().horizontalAdvance(QString::fromStdString(name.text)),
              panel.docksList()->x());
}

}  // namespace
}  // namespace qv::shell::test
