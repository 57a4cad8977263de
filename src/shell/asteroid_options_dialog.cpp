#include "shell/asteroid_options_dialog.h"

#include <QFontMetrics>
#include <QHeaderView>
#include <QPainter>
#include <QSignalBlocker>

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>

#include "model/globals.h"
#include "drawing/game_lock.h"
#include "orders/asteroid_panel.h"
#include "shell/picture_button.h"
#include "shell/planet_options_dialog.h"

namespace qv::shell {

namespace {

constexpr int kButtonX = 190;
constexpr int kListWidth = 170;
// "Resources:" and the ore on the panel's first line.
const PanelText kResourcesLabel{10, 10, "Resources:"};
constexpr int kResourcesX = 70;

}  // namespace

CAsteroidOptionsDlg::CAsteroidOptionsDlg(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Asteroid Options"));
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
    const PictureSet& pictures = ShellPictures();
    ok_ = MakePictureButton(pictures, PictureRole::ButtonOk, QStringLiteral("OK"), this);
    startShip_ = MakePictureButton(pictures, PictureRole::ButtonStartShip, QStringLiteral("Start Ship"), this);
    loadHold_ = MakePictureButton(pictures, PictureRole::ButtonLoadShip, QStringLiteral("Load Hold"), this);

    list_ = new QTreeWidget(this);
    list_->setObjectName(QStringLiteral("ships"));
    list_->setColumnCount(2);
    list_->setHeaderLabels({QStringLiteral("Dock #"), QStringLiteral("Space Ship")});
    list_->header()->setStretchLastSection(false);
    list_->setColumnWidth(0, 50);
    list_->setColumnWidth(1, 80);
    list_->setRootIsDecorated(false);
    list_->setItemsExpandable(false);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->setSelectionBehavior(QAbstractItemView::SelectRows);
    // As wide as the model names need; the buttons move right with it.
    FitNameColumn(list_, 1, ShipModelNames());
    const int width = std::max(kListWidth, list_->columnWidth(0) + list_->columnWidth(1) + 2 * list_->frameWidth());
    list_->setGeometry(10, 35, width, 145);
    const int shift = width - kListWidth;
    ok_->move(kButtonX + shift, 10);
    startShip_->move(kButtonX + shift, 50);
    loadHold_->move(kButtonX + shift, 90);
    connect(list_, &QTreeWidget::itemSelectionChanged, this, &CAsteroidOptionsDlg::onSelectionChanged);
    EnableWithChosenRow(list_, {startShip_, loadHold_});

    ok_->setDefault(true);
    ok_->setFocus();
    connect(ok_, &QPushButton::clicked, this, &QDialog::accept);
    connect(startShip_, &QPushButton::clicked, this, &CAsteroidOptionsDlg::OnStartShip);
    connect(loadHold_, &QPushButton::clicked, this, &CAsteroidOptionsDlg::OnLoadHold);
    setFixedSize(kWidth + shift, kHeight);
    refreshRows();
}

void CAsteroidOptionsDlg::onSelectionChanged() {
    const QList<QTreeWidgetItem*> chosen = list_->selectedItems();
    if (chosen.isEmpty()) return;
    const int row = list_->indexOfTopLevelItem(chosen.front());
    if (row < 0) return;
    rowChosen_ = true;
    GameLockGuard lock;
    g_listSelection = row;
}

void CAsteroidOptionsDlg::OnStartShip() {
    const int row = ChosenRow(list_);
    if (row < 0) return;
    {
        GameLockGuard lock;
        g_listSelection = row;
        // The ship chosen is gone from the list: the next is not chosen.
        if (StartShipFromAsteroid()) rowChosen_ = false;
    }
    refreshRows();
    update();
}

void CAsteroidOptionsDlg::OnLoadHold() {
    const int row = ChosenRow(list_);
    if (row < 0) return;
    {
        GameLockGuard lock;
        g_listSelection = row;
        LoadHold();
    }
    refreshRows();
    update();
}

void CAsteroidOptionsDlg::refreshRows() {
    std::vector<DockRow> rows;
    {
        GameLockGuard lock;
        rows = SelectedAsteroidDockRows();
    }
    showRows(rows);
}

void CAsteroidOptionsDlg::showRows(const std::vector<DockRow>& rows) {
    int chosen = -1;
    if (rowChosen_) {
        GameLockGuard lock;
        chosen = g_listSelection;
    }
    // Rebuilding the list is no choice of the player's.
    const QSignalBlocker quiet(list_);
    list_->clear();
    for (const DockRow& row : rows)
        list_->addTopLevelItem(new QTreeWidgetItem({QString::fromStdString(row.dock), QString::fromStdString(row.ship)}));
    if (chosen >= 0 && chosen < list_->topLevelItemCount()) {
        QTreeWidgetItem* item = list_->topLevelItem(chosen);
        list_->setCurrentItem(item);
        item->setSelected(true);
    }
    shown_ = rows;
    // Start Ship and Load Hold wait for a ship chosen since the panel opened.
    ShowChosenRow(list_, {startShip_, loadHold_});
}

void CAsteroidOptionsDlg::paintEvent(QPaintEvent* event) {
    QDialog::paintEvent(event);
    const QFontMetrics metrics(font());
    const PanelText& label = kResourcesLabel;
    std::vector<PanelText> texts = {label};
    std::optional<std::int32_t> resources;
    std::vector<DockRow> rows;
    {
        GameLockGuard lock;
        resources = SelectedAsteroidResources();
        rows = SelectedAsteroidDockRows();
    }
    // The number begins past the label, whatever the font.
    if (resources) texts.push_back({FigureLeft(metrics, label, kResourcesX), label.y, std::to_string(*resources)});
    // The rows follow the records at every paint.
    if (rows != shown_) showRows(rows);
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::WindowText));
    DrawPanelTexts(painter, metrics, texts);
    painted_ = std::move(texts);
}

int RunAsteroidOptions(QWidget* parent) {
    if (!g_selAsteroid) return QDialog::Rejected;
    CAsteroidOptionsDlg dialog(parent);
    return RunModal(dialog);
}

}  // namespace qv::shell
