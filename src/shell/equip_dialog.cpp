#include "shell/equip_dialog.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "model/globals.h"
#include "drawing/game_lock.h"
#include "shell/picture_button.h"
#include "shell/planet_options_dialog.h"

namespace qv::shell {

namespace {

void Fill(QTreeWidget* list, const std::vector<EquipRow>& rows) {
    const QSignalBlocker quiet(list);
    list->clear();
    for (const EquipRow& row : rows)
        list->addTopLevelItem(new QTreeWidgetItem({QString::fromStdString(row.name), QString::number(row.price)}));
}

}  // namespace

EquipDialog::EquipDialog(Kind kind, Planet* planet, Ship* ship, QWidget* parent) : QDialog(parent), kind_(kind) {
    setWindowTitle(kind == ForPlanet ? QStringLiteral("Equip Planet") : QStringLiteral("Equip Ship"));
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
    {
        GameLockGuard lock;
        trade_.emplace(kind == ForPlanet ? EquipmentTrade::ForPlanet(planet) : EquipmentTrade::ForShip(ship));
    }

    const PictureSet& pictures = ShellPictures();
    buy_ = MakePictureButton(pictures, PictureRole::ButtonBuy, QStringLiteral("Buy"), this);
    sell_ = MakePictureButton(pictures, PictureRole::ButtonSell, QStringLiteral("Sell"), this);
    ok_ = MakePictureButton(pictures, PictureRole::ButtonOk, QStringLiteral("OK"), this);
    ok_->setDefault(true);
    connect(buy_, &QPushButton::clicked, this, &EquipDialog::onBuy);
    connect(sell_, &QPushButton::clicked, this, &EquipDialog::onSell);
    connect(ok_, &QPushButton::clicked, this, &QDialog::accept);

    const int nameWidth = kind == ForPlanet ? 100 : 150;
    const QStringList headings = {QStringLiteral("Equipment"), QStringLiteral("Cost")};
    buyList_ = MakeReportList(headings, {nameWidth, 50}, this);
    buyList_->setObjectName(QStringLiteral("buyList"));
    sellList_ = MakeReportList(headings, {nameWidth, 50}, this);
    sellList_->setObjectName(QStringLiteral("sellList"));
    for (QTreeWidget* list : {buyList_, sellList_}) FitNameColumn(list, 0, EquipmentNames(kind == ForPlanet));
    // Both lists report into the one row index; Buy takes the row chosen in
    // the list to buy from, Sell the one in the list to sell from, and each
    // waits for its row.
    for (QTreeWidget* list : {buyList_, sellList_})
        OnRowReported(list, this, [](int row) {
            GameLockGuard lock;
            g_listSelection = row;
        });
    EnableWithChosenRow(buyList_, {buy_});
    EnableWithChosenRow(sellList_, {sell_});

    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(QStringLiteral("Equipments for buy:"), this), 0, 0);
    grid->addWidget(buyList_, 1, 0);
    grid->addWidget(buy_, 2, 0, Qt::AlignLeft);
    grid->addWidget(new QLabel(QStringLiteral("Equipments for sell:"), this), 3, 0);
    grid->addWidget(sellList_, 4, 0);
    grid->addWidget(sell_, 5, 0, Qt::AlignLeft);
    grid->addWidget(ok_, 5, 0, Qt::AlignRight);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);

    showRows();
}

void EquipDialog::showRows() {
    Fill(buyList_, trade_->buyRows());
    Fill(sellList_, trade_->sellRows());
    // The rows moved: nothing is chosen in the new lists.
    ShowChosenRow(buyList_, {buy_});
    ShowChosenRow(sellList_, {sell_});
}

void EquipDialog::onBuy() {
    const int row = ChosenRow(buyList_);
    if (row < 0) return;
    GameLockGuard lock;
    if (trade_->buy(row)) showRows();
}

void EquipDialog::onSell() {
    const int row = ChosenRow(sellList_);
    if (row < 0) return;
    GameLockGuard lock;
    if (trade_->sell(row)) showRows();
}

}  // namespace qv::shell
