// The shipyard ("Build Ship"): the models of the player's race with their
// numbers, Buy (into the docks of the planet) and OK.
#pragma once

#include <QDialog>

#include "model/records.h"

class QPushButton;
class QTreeWidget;

namespace qv::shell {

class BuildShipDialog : public QDialog {
    Q_OBJECT
public:
    explicit BuildShipDialog(Planet* planet, QWidget* parent = nullptr);

    QTreeWidget* modelList() const { return models_; }
    QPushButton* buyButton() const { return buy_; }
    QPushButton* okButton() const { return ok_; }

private:
    void onBuy();

    Planet* planet_;
    QTreeWidget* models_ = nullptr;
    QPushButton* buy_ = nullptr;
    QPushButton* ok_ = nullptr;
};

}  // namespace qv::shell
