// The equipment trade dialog, as "Equip Planet" (the selected planet) or
// "Equip Ship" (the chosen docked ship): what can be bought, what can be
// sold, Buy, Sell and OK.
#pragma once

#include <QDialog>

#include <optional>

#include "economy/equipment_trade.h"
#include "model/records.h"

class QPushButton;
class QTreeWidget;

namespace qv::shell {

class EquipDialog : public QDialog {
    Q_OBJECT
public:
    enum Kind { ForPlanet, ForShip };

    // The planet's trade (ForPlanet) or the ship's (ForShip).
    EquipDialog(Kind kind, Planet* planet, Ship* ship, QWidget* parent = nullptr);

    Kind kind() const { return kind_; }
    QTreeWidget* buyList() const { return buyList_; }
    QTreeWidget* sellList() const { return sellList_; }
    QPushButton* buyButton() const { return buy_; }
    QPushButton* sellButton() const { return sell_; }
    QPushButton* okButton() const { return ok_; }

private:
    void showRows();
    void onBuy();
    void onSell();

    Kind kind_;
    std::optional<EquipmentTrade> trade_;
    QTreeWidget* buyList_ = nullptr;
    QTreeWidget* sellList_ = nullptr;
    QPushButton* buy_ = nullptr;
    QPushButton* sell_ = nullptr;
    QPushButton* ok_ = nullptr;
};

}  // namespace qv::shell
