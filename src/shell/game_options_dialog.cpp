#include "shell/game_options_dialog.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace qv::shell {

GameOptionsDialog::GameOptionsDialog(int value, int currentStep, QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Game Options"));
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
    slider_ = new QSlider(Qt::Horizontal, this);
    slider_->setObjectName(QStringLiteral("scrollSpeed"));
    slider_->setRange(0, 100);
    slider_->setValue(value);
    // One tick, at the step in use, and the thumb on it.
    slider_->setTickPosition(QSlider::TicksBelow);
    slider_->setTickInterval(currentStep > 0 ? currentStep : 100);
    slider_->setValue(currentStep);
    slider_->setMinimumWidth(200);

    auto* label = new QLabel(QStringLiteral("Scroll Speed:"), this);
    label->setBuddy(slider_);
    ok_ = new QPushButton(QStringLiteral("OK"), this);
    cancel_ = new QPushButton(QStringLiteral("Cancel"), this);
    ok_->setDefault(true);
    connect(ok_, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);

    auto* row = new QHBoxLayout;
    row->addWidget(label);
    row->addWidget(slider_, 1);
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(ok_);
    buttons->addWidget(cancel_);
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(row, 1);
    layout->addLayout(buttons);
    setFixedSize(sizeHint());
}

}  // namespace qv::shell
