#include "shell/planet_options_dialog.h"

#include <QFontMetrics>
#include <QHeaderView>
#include <QPainter>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStyle>
#include <QTreeWidget>

#include <algorithm>
#include <optional>
#include <string>

#include "economy/equipment_trade.h"
#include "economy/planet_panel.h"
#include "model/catalogue.h"
#include "model/globals.h"
#include "model/lists.h"
#include "drawing/game_lock.h"
#include "shell/build_ship_dialog.h"
#include "shell/equip_dialog.h"
#include "shell/picture_button.h"
#include "shell/payment_dialog.h"

namespace qv::shell {

namespace {

struct ButtonInfo {
    const char* caption;
    PictureRole picture;
    int x;
    int y;
};

// Two columns of buttons right of the docks list.
constexpr int kLeftColumn = 300;
constexpr int kRightColumn = 400;

const ButtonInfo kButtons[PlanetOptionsDialog::kButtonCount] = {
    {"OK", PictureRole::ButtonOk, kRightColumn, 240},
    {"Equip Planet", PictureRole::ButtonEquipPlanet, kLeftColumn, 50},
    {"Build Ship", PictureRole::ButtonBuildShip, kLeftColumn, 10},
    {"Start Ship", PictureRole::ButtonStartShip, kLeftColumn, 130},
    {"Equip Ship", PictureRole::ButtonEquipShip, kRightColumn, 130},
    {"Unload Ship", PictureRole::ButtonUnloadShip, kRightColumn, 170},
    {"Sell Ship", PictureRole::ButtonSellShip, kLeftColumn, 170},
    {"Repair Planet", PictureRole::ButtonRepairPlanet, kLeftColumn, 90},
    {"Repair Ship", PictureRole::ButtonRepairShip, kRightColumn, 90},
};

// Where the panel writes, left of the docks list: the labels' column, the
// race and the shield points beside their labels, and the buildings one a
// line under "Buildings:", 15 pixels apart.
constexpr int kLabelX = 10;
constexpr int kRaceX = 50;
constexpr int kRaceY = 10;
constexpr int kShieldX = 85;
constexpr int kShieldY = 32;
constexpr int kBuildingsLabelY = 52;
constexpr int kBuildingX = 20;
constexpr int kFirstBuildingY = 70;
constexpr int kBuildingStep = 15;
// The docks list's place when the texts left of it leave room: its left
// edge, its width, and the gap the texts keep from it.
constexpr int kDocksX = 150;
constexpr int kDocksWidth = 140;
constexpr int kDocksGap = 8;

// The planet's figures at their places.
std::vector<PanelText> FigureTexts(const PlanetFigures& planet) {
    std::vector<PanelText> texts = {{kRaceX, kRaceY, planet.raceName},
                                    {kShieldX, kShieldY, std::to_string(planet.shieldPoints)}};
    int y = kFirstBuildingY;
    for (const std::string& name : planet.buildings) {
        texts.push_back({kBuildingX, y, name});
        y += kBuildingStep;
    }
    return texts;
}

}  // namespace

PlanetDialogRunner& PlanetDialogHook() {
    static PlanetDialogRunner hook;
    return hook;
}

int RunPlanetDialog(QDialog& dialog) {
    if (PlanetDialogHook()) return PlanetDialogHook()(dialog);
    return RunModal(dialog);
}

QTreeWidget* MakeReportList(const QStringList& headings, const QList<int>& widths, QWidget* parent) {
    auto* list = new QTreeWidget(parent);
    list->setRootIsDecorated(false);
    list->setItemsExpandable(false);
    list->setUniformRowHeights(true);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setSelectionBehavior(QAbstractItemView::SelectRows);
    list->setColumnCount(static_cast<int>(headings.size()));
    list->setHeaderLabels(headings);
    list->header()->setStretchLastSection(false);
    int total = 0;
    for (int i = 0; i < widths.size(); ++i) {
        list->setColumnWidth(i, widths[i]);
        total += widths[i];
    }
    list->setMinimumWidth(total + 8);
    return list;
}

std::vector<std::string> ShipModelNames() {
    GameLockGuard lock;
    std::vector<std::string> names;
    for (const Race* race = g_races; race; race = race->next)
        for (const ShipModel* model = race->shipModels; model; model = model->next) names.push_back(model->name);
    return names;
}

std::vector<std::string> EquipmentNames(bool forPlanet) {
    std::vector<std::string> names;
    if (forPlanet)
        for (const CatalogueItem& item : kPlanetEquipment) names.push_back(item.name);
    else
        for (const CatalogueItem& item : kShipEquipment) names.push_back(item.name);
    GameLockGuard lock;
    for (const Race* race = g_races; race; race = race->next)
        for (int n = 1; n <= kRaceWeaponsOffered; ++n)
            if (const Weapon* weapon = RaceWeapon(race, n)) names.push_back(weapon->name);
    return names;
}

int FitNameColumn(QTreeWidget* list, int column, const std::vector<std::string>& names) {
    const QFontMetrics metrics = list->fontMetrics();
    // A cell's text stands inside the style's focus frame margin on each side.
    const int margins = 2 * (list->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, list) + 1) + 2;
    auto advance = [&](const std::string& name) { return metrics.horizontalAdvance(QString::fromStdString(name)); };
    int longest = 0;
    for (const CatalogueItem& item : kPlanetEquipment) longest = std::max(longest, advance(item.name));
    for (const CatalogueItem& item : kShipEquipment) longest = std::max(longest, advance(item.name));
    int widest = 0;
    for (const std::string& name : names) widest = std::max(widest, std::min(longest, advance(name)));
    const int growth = std::max(0, widest + margins - list->columnWidth(column));
    list->setColumnWidth(column, list->columnWidth(column) + growth);
    list->setMinimumWidth(list->minimumWidth() + growth);
    return growth;
}

void OnRowReported(QTreeWidget* list, QObject* context, std::function<void(int row)> report) {
    QObject::connect(list, &QTreeWidget::itemSelectionChanged, context, [list, report] {
        const QList<QTreeWidgetItem*> chosen = list->selectedItems();
        if (!chosen.isEmpty()) report(list->indexOfTopLevelItem(chosen.front()));
    });
    QObject::connect(list, &QTreeWidget::itemClicked, context,
                     [list, report](QTreeWidgetItem* item) { report(list->indexOfTopLevelItem(item)); });
}

int ChosenRow(const QTreeWidget* list) {
    const QList<QTreeWidgetItem*> chosen = list->selectedItems();
    return chosen.isEmpty() ? -1 : list->indexOfTopLevelItem(chosen.front());
}

void ShowChosenRow(const QTreeWidget* list, const QList<QWidget*>& buttons) {
    const bool chosen = ChosenRow(list) >= 0;
    for (QWidget* button : buttons) button->setEnabled(chosen);
}

void EnableWithChosenRow(QTreeWidget* list, const QList<QWidget*>& buttons) {
    QObject::connect(list, &QTreeWidget::itemSelectionChanged, list, [list, buttons] { ShowChosenRow(list, buttons); });
    ShowChosenRow(list, buttons);
}

const char* PlanetOptionsDialog::Caption(Button which) { return kButtons[which].caption; }

PlanetOptionsDialog::PlanetOptionsDialog(Planet* planet, QWidget* parent) : QDialog(parent), planet_(planet) {
    setWindowTitle(QStringLiteral("Planet Options"));
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);

    docks_ = MakeReportList({QStringLiteral("Dock #"), QStringLiteral("Space Ship")}, {50, 80}, this);
    docks_->setObjectName(QStringLiteral("docks"));
    // The docks list starts right of the longest race name and building (up
    // to a limit) and is as wide as its model names need; the buttons move
    // right as far as it goes.
    FitNameColumn(docks_, 1, ShipModelNames());
    const QFontMetrics metrics(font());
    auto widest = [&](const std::vector<std::string>& names) {
        int w = 0;
        for (const std::string& name : names) w = std::max(w, metrics.horizontalAdvance(QString::fromStdString(name)));
        return std::min(w, kDocksX);
    };
    std::vector<std::string> races;
    {
        GameLockGuard lock;
        for (const Race* race = g_races; race; race = race->next) races.push_back(race->name);
    }
    const int raceX = FigureLeft(metrics, {kLabelX, kRaceY, "Race:"}, kRaceX);
    const int left =
        std::max({kDocksX, kBuildingX + widest(EquipmentNames(true)) + kDocksGap, raceX + widest(races) + kDocksGap});
    const int width = std::max(kDocksWidth, docks_->columnWidth(0) + docks_->columnWidth(1) + 2 * docks_->frameWidth());
    docks_->setGeometry(left, 10, width, kHeight - 20);
    const int shift = left + width - kDocksX - kDocksWidth;

    const PictureSet& pictures = ShellPictures();
    for (int i = 0; i < kButtonCount; ++i) {
        buttons_[i] = MakePictureButton(pictures, kButtons[i].picture, QString::fromLatin1(kButtons[i].caption), this);
        buttons_[i]->move(kButtons[i].x + shift, kButtons[i].y);
        const auto which = static_cast<Button>(i);
        connect(buttons_[i], &QPushButton::clicked, this, [this, which] { onButton(which); });
    }
    buttons_[Ok]->setDefault(true);
    buttons_[Ok]->setFocus();
    OnRowReported(docks_, this, [this](int row) {
        {
            GameLockGuard lock;
            ChooseDock(planet_, row);
        }
        dockChosen_ = true;
        showShipButtons();
    });

    setFixedSize(kWidth + shift, kHeight);
    refresh();
}

void PlanetOptionsDialog::refresh() {
    std::vector<DockRow> rows;
    {
        GameLockGuard lock;
        rows = DockRows(planet_);
    }
    showRows(rows);
    update();
}

void PlanetOptionsDialog::showShipButtons() {
    bool ship = false;
    if (dockChosen_) {
        GameLockGuard lock;
        ship = ChosenDockedShip(planet_) != nullptr;
    }
    for (Button b : {StartShip, EquipShip, UnloadShip, SellShip, RepairShip}) buttons_[b]->setEnabled(ship);
}

void PlanetOptionsDialog::showRows(const std::vector<DockRow>& rows) {
    int chosen = -1;
    if (dockChosen_) {
        GameLockGuard lock;
        if (Ship* ship = ChosenDockedShip(planet_)) chosen = IndexOf(planet_->docks, ship) - 1;
    }
    // Rebuilding the list is no choice of the player's.
    const QSignalBlocker quiet(docks_);
    docks_->clear();
    for (const DockRow& row : rows)
        docks_->addTopLevelItem(new QTreeWidgetItem({QString::fromStdString(row.dock), QString::fromStdString(row.ship)}));
    if (chosen >= 0 && chosen < docks_->topLevelItemCount()) {
        QTreeWidgetItem* item = docks_->topLevelItem(chosen);
        docks_->setCurrentItem(item);
        item->setSelected(true);
    }
    shown_ = rows;
    showShipButtons();
}

void PlanetOptionsDialog::paintEvent(QPaintEvent* event) {
    QDialog::paintEvent(event);
    const QFontMetrics metrics(font());
    const PanelText race{kLabelX, kRaceY, "Race:"};
    const PanelText shield{kLabelX, kShieldY, "Shield Points:"};
    std::vector<PanelText> texts = {race, shield, {kLabelX, kBuildingsLabelY, "Buildings:"}};
    std::optional<PlanetFigures> figures;
    std::vector<DockRow> rows;
    {
        GameLockGuard lock;
        if (planet_) figures = PlanetPanelFigures(*planet_);
        rows = DockRows(planet_);
    }
    if (figures) {
        std::vector<PanelText> written = FigureTexts(*figures);
        // The figures begin past their labels, whatever the font, and a text
        // too long for the room left of the docks list is elided.
        written[0].x = FigureLeft(metrics, race, kRaceX);
        written[1].x = FigureLeft(metrics, shield, kShieldX);
        for (PanelText& t : written)
            t.text =
                metrics.elidedText(QString::fromStdString(t.text), Qt::ElideRight, docks_->x() - 4 - t.x).toStdString();
        texts.insert(texts.end(), written.begin(), written.end());
    }
    // The docks list follows the records at every paint.
    if (rows != shown_) showRows(rows);
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::WindowText));
    DrawPanelTexts(painter, metrics, texts);
    painted_ = std::move(texts);
}

void PlanetOptionsDialog::onButton(Button which) {
    {
        GameLockGuard lock;
        switch (which) {
            case Ok:
                accept();
                return;
            case BuildShip:
                RunPlanetStep([this] {
                    BuildShipDialog dialog(planet_, this);
                    RunPlanetDialog(dialog);
                });
                break;
            case EquipPlanet:
                RunPlanetStep([this] {
                    EquipDialog dialog(EquipDialog::ForPlanet, planet_, nullptr, this);
                    RunPlanetDialog(dialog);
                });
                break;
            case EquipShip:
                RunDockedShipStep(planet_, [this] {
                    EquipDialog dialog(EquipDialog::ForShip, nullptr, ChosenDockedShip(planet_), this);
                    RunPlanetDialog(dialog);
                });
                break;
            case StartShip:
                qv::StartShip(planet_);
                break;
            case SellShip:
                qv::SellShip(planet_);
                break;
            case UnloadShip:
                qv::UnloadShip(planet_);
                break;
            case RepairPlanet:
                RunRepairPlanet(planet_, this);
                break;
            case RepairShip:
                RunRepairShip(planet_, this);
                break;
            case kButtonCount:
                return;
        }
    }
    refresh();
}

int RunPlanetOptions(QWidget* parent) {
    GameLockGuard lock;
    Planet* planet = g_selPlanet;
    if (!planet) return QDialog::Rejected;
    OpenPlanetPanel();
    int answer = QDialog::Rejected;
    {
        PlanetOptionsDialog dialog(planet, parent);
        answer = RunPlanetDialog(dialog);
    }
    // No pointer into the docks outlives the panel.
    g_dockSelection = nullptr;
    return answer;
}

}  // namespace qv::shell
