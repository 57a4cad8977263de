// The payment confirmation ("Dialog": "Do you agree to pay:" and the amount,
// OK and Cancel), and the planet panel's repairs that ask it.
#pragma once

#include <QDialog>

#include <cstdint>

#include "economy/repairs.h"
#include "model/records.h"

class QLabel;
class QPushButton;

namespace qv::shell {

class PaymentDialog : public QDialog {
    Q_OBJECT
public:
    explicit PaymentDialog(std::int32_t amount, QWidget* parent = nullptr);

    QLabel* questionLabel() const { return question_; }
    QLabel* amountLabel() const { return amount_; }
    QPushButton* okButton() const { return ok_; }
    QPushButton* cancelButton() const { return cancel_; }

private:
    QLabel* question_ = nullptr;
    QLabel* amount_ = nullptr;
    QPushButton* ok_ = nullptr;
    QPushButton* cancel_ = nullptr;
};

// Shows the payment confirmation for the amount; true when OK was chosen.
bool ConfirmPaymentDialog(std::int32_t amount, QWidget* parent);

// "Repair Planet" and "Repair Ship" of the panel, with the confirmation shown
// as the dialog above.
RepairOutcome RunRepairPlanet(Planet* planet, QWidget* parent);
RepairOutcome RunRepairShip(Planet* planet, QWidget* parent);

}  // namespace qv::shell
