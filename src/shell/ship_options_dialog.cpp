#include "shell/ship_options_dialog.h"

#include <QFontMetrics>
#include <QPainter>

#include <algorithm>

#include "model/globals.h"
#include "drawing/game_lock.h"
#include "shell/picture_button.h"

namespace qv::shell {

namespace {

constexpr int kButtonX = 220;
constexpr int kFiguresX = 90;  // where the figures start

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
    std::vector<PanelText> texts = ShipPanelLabels();
    int left = texts.empty() ? 0 : texts.front().x;
    for (const PanelText& label : texts)
        left = std::min(left, kFiguresX - 4 - metrics.horizontalAdvance(QString::fromStdString(label.text)));
    for (PanelText& label : texts) label.x = std::max(2, std::min(label.x, left));
    {
        GameLockGuard lock;
        const std::vector<PanelText> figures = SelectedShipPanelTexts();
        texts.insert(texts.end(), figures.begin(), figures.end());
    }
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::WindowText));
    for (const PanelText& t : texts)
        painter.drawText(QPoint(t.x, t.y + metrics.ascent()), QString::fromStdString(t.text));
    painted_ = std::move(texts);
}

int RunShipOptions(QWidget* parent) {
    if (!g_selShip) return QDialog::Rejected;
    CShipOptionsDlg dialog(parent);
    return RunModal(dialog);
}

}  // namespace qv::shell
