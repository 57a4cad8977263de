#include "shell/payment_dialog.h"

#include <QLabel>
#include <QPushButton>

#include <algorithm>

#include "shell/picture_button.h"
#include "shell/planet_options_dialog.h"

namespace qv::shell {

PaymentDialog::PaymentDialog(std::int32_t amount, QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Dialog"));
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);

    // The question and the amount stand on one line, as the panel draws them.
    question_ = new QLabel(QString::fromLatin1(kPaymentQuestion), this);
    question_->setObjectName(QStringLiteral("question"));
    question_->move(45, 30);
    question_->adjustSize();
    amount_ = new QLabel(QString::number(amount), this);
    amount_->setObjectName(QStringLiteral("amount"));
    amount_->move(std::max(195, question_->x() + question_->width() + 8), 30);
    amount_->adjustSize();

    const PictureSet& pictures = ShellPictures();
    ok_ = MakePictureButton(pictures, PictureRole::ButtonOk, QStringLiteral("OK"), this);
    cancel_ = MakePictureButton(pictures, PictureRole::ButtonCancel, QStringLiteral("Cancel"), this);
    ok_->setDefault(true);
    connect(ok_, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);

    const int width = std::max(280, amount_->x() + amount_->width() + 45);
    const int buttonsTop = 30 + question_->height() + 20;
    cancel_->move(width - 12 - cancel_->width(), buttonsTop);
    ok_->move(cancel_->x() - 8 - ok_->width(), buttonsTop);
    setFixedSize(width, buttonsTop + ok_->height() + 12);
}

bool ConfirmPaymentDialog(std::int32_t amount, QWidget* parent) {
    PaymentDialog dialog(amount, parent);
    return RunPlanetDialog(dialog) == QDialog::Accepted;
}

RepairOutcome RunRepairPlanet(Planet* planet, QWidget* parent) {
    return RepairPlanetShield(planet, [parent](std::int32_t amount) { return ConfirmPaymentDialog(amount, parent); });
}

RepairOutcome RunRepairShip(Planet* planet, QWidget* parent) {
    return RepairDockedShip(planet, [parent](std::int32_t amount) { return ConfirmPaymentDialog(amount, parent); });
}

}  // namespace qv::shell
