#include "shell/ship_options_dialog.h"

#include <QFontMetrics>
#include <QPainter>

#include <algorithm>
#include <optional>
#include <string>

#include "model/globals.h"
#include "drawing/game_lock.h"
#include "orders/ship_panel.h"
#include "shell/picture_button.h"

namespace qv::shell {

namespace {

constexpr int kButtonX = 220;

// Where the panel writes: the labels' column, the figures' column (the hold
// state right of the holds) and the lines; the equipment lines run down from
// under "Equipment:", 15 pixels apart.
constexpr int kLabelX = 10;
constexpr int kFiguresX = 90;
constexpr int kHoldStateX = 120;
constexpr int kNameY = 10;
constexpr int kActionY = 30;
constexpr int kShieldY = 50;
constexpr int kViewY = 69;
constexpr int kHoldsY = 88;
constexpr int kEquipmentLabelY = 106;
constexpr int kEquipmentX = 20;
constexpr int kEquipmentY = 125;
constexpr int kEquipmentStep = 15;

// The labels, each on the line of the figure it names.
std::vector<PanelText> Labels() {
    return {
        {kLabelX, kNameY, "Ship Type:"},        {kLabelX, kActionY, "Action Points:"},
        {kLabelX, kShieldY, "Shield Points:"},  {kLabelX, kViewY, "View Points:"},
        {kLabelX, kHoldsY, "Holds:"},           {kLabelX, kEquipmentLabelY, "Equipment:"},
    };
}

// The ship's figures at their places.
std::vector<PanelText> FigureTexts(const ShipFigures& ship) {
    std::vector<PanelText> texts = {
        {kFiguresX, kNameY, ship.modelName},
        {kFiguresX, kActionY, std::to_string(ship.actionPoints)},
        {kFiguresX, kShieldY, std::to_string(ship.shieldPoints)},
        {kFiguresX, kViewY, std::to_string(ship.viewPoints)},
        {kFiguresX, kHoldsY, std::to_string(ship.holds)},
        {kHoldStateX, kHoldsY, ship.holdState},
    };
    int y = kEquipmentY;
    for (const std::string& line : ship.equipment) {
        texts.push_back({kEquipmentX, y, line});
        y += kEquipmentStep;
    }
    return texts;
}

}  // namespace

CShipOptionsDlg::CShipOptionsDlg(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Ship Options"));
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
    const PictureSet& pictures = ShellPictures();
    ok_ = MakePictureButton(pictures, PictureRole::ButtonOk, QStringLiteral("OK"), this);
    hyperJump_ = MakePictureButton(pictures, PictureRole::ButtonHyperJump, QStringLiteral("SHM"), this);
    startRocket_ = MakePictureButton(pictures, PictureRole::ButtonStartMissile, QStringLiteral("Start Rocket"), this);
    ok_->move(kButtonX, 10);
    hyperJump_->move(kButtonX, 50);
    startRocket_->move(kButtonX, 90);
    ok_->setDefault(true);
    ok_->setFocus();
    connect(ok_, &QPushButton::clicked, this, &QDialog::accept);
    connect(hyperJump_, &QPushButton::clicked, this, &CShipOptionsDlg::OnHyperJump);
    connect(startRocket_, &QPushButton::clicked, this, &CShipOptionsDlg::OnStartRocket);
    setFixedSize(kWidth, kHeight);
}

void CShipOptionsDlg::OnHyperJump() {
    bool armed = false;
    {
        GameLockGuard lock;
        armed = ArmHyperJump();
    }
    if (armed) accept();
}

void CShipOptionsDlg::OnStartRocket() {
    bool armed = false;
    {
        GameLockGuard lock;
        armed = ArmMissile();
    }
    if (armed) accept();
}

void CShipOptionsDlg::paintEvent(QPaintEvent* event) {
    QDialog::paintEvent(event);
    const QFontMetrics metrics(font());
    // The labels share one left edge and end short of the figures' column,
    // whatever the font.
    std::vector<PanelText> texts = Labels();
    int left = kLabelX;
    for (const PanelText& label : texts) left = std::min(left, LabelLeft(metrics, label, kFiguresX));
    for (PanelText& label : texts) label.x = left;
    std::optional<ShipFigures> ship;
    {
        GameLockGuard lock;
        ship = SelectedShipFigures();
    }
    if (ship) {
        const std::vector<PanelText> figures = FigureTexts(*ship);
        texts.insert(texts.end(), figures.begin(), figures.end());
    }
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::WindowText));
    DrawPanelTexts(painter, metrics, texts);
    painted_ = std::move(texts);
}

int RunShipOptions(QWidget* parent) {
    if (!g_selShip) return QDialog::Rejected;
    CShipOptionsDlg dialog(parent);
    return RunModal(dialog);
}

}  // namespace qv::shell
