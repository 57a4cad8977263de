#include "shell/build_ship_dialog.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "economy/shipyard.h"
#include "model/globals.h"
#include "drawing/game_lock.h"
#include "shell/picture_button.h"
#include "shell/planet_options_dialog.h"

namespace qv::shell {

BuildShipDialog::BuildShipDialog(Planet* planet, QWidget* parent) : QDialog(parent), planet_(planet) {
    setWindowTitle(QStringLiteral("Build Ship"));
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);

    const PictureSet& pictures = ShellPictures();
    ok_ = MakePictureButton(pictures, PictureRole::ButtonOk, QStringLiteral("OK"), this);
    buy_ = MakePictureButton(pictures, PictureRole::ButtonBuy, QStringLiteral("Buy"), this);
    ok_->setDefault(true);
    connect(ok_, &QPushButton::clicked, this, &QDialog::accept);
    connect(buy_, &QPushButton::clicked, this, &BuildShipDialog::onBuy);

    models_ = MakeReportList({QStringLiteral("Model"), QStringLiteral("Speed"), QStringLiteral("Survey"),
                              QStringLiteral("Hold"), QStringLiteral("Defence"), QStringLiteral("Cost")},
                             {80, 50, 50, 50, 70, 50}, this);
    models_->setObjectName(QStringLiteral("models"));
    FitNameColumn(models_, 0, ShipModelNames());
    {
        GameLockGuard lock;
        for (const ShipModel* m : ShipyardModels())
            models_->addTopLevelItem(new QTreeWidgetItem(
                {QString::fromStdString(m->name), QString::number(m->speed), QString::number(m->survey),
                 QString::number(m->hold), QString::number(m->defence), QString::number(m->cost)}));
    }
    models_->setSelectionMode(QAbstractItemView::SingleSelection);
    OnRowReported(models_, this, [](int row) {
        GameLockGuard lock;
        g_listSelection = row;
    });
    // Buy waits for a model chosen here.
    EnableWithChosenRow(models_, {buy_});

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(buy_);
    buttons->addWidget(ok_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(models_);
    layout->addLayout(buttons);
}

void BuildShipDialog::onBuy() {
    const int row = ChosenRow(models_);
    if (row < 0) return;
    GameLockGuard lock;
    BuyShip(planet_, row);
}

}  // namespace qv::shell
