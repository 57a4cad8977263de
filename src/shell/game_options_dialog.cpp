#include "shell/game_options_dialog.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QVBoxLayout>

namespace qv::shell {

namespace {

// A track bar with one tick mark, at a value of its own, below the groove
// where the style draws its regular ticks (which it does not draw here).
class OneTickSlider : public QSlider {
public:
    OneTickSlider(int tick, QWidget* parent) : QSlider(Qt::Horizontal, parent), tick_(tick) {
        setTickPosition(QSlider::TicksBelow);  // the room under the groove
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QStyleOptionSlider option;
        initStyleOption(&option);
        option.subControls = QStyle::SC_SliderGroove | QStyle::SC_SliderHandle;
        QPainter painter(this);
        style()->drawComplexControl(QStyle::CC_Slider, &option, &painter, this);
        // Where the style puts a tick: the handle's middle at that value.
        const int length = style()->pixelMetric(QStyle::PM_SliderLength, &option, this);
        const int x = QStyle::sliderPositionFromValue(minimum(), maximum(), tick_, width() - length) + length / 2;
        const int size = style()->pixelMetric(QStyle::PM_SliderTickmarkOffset, &option, this);
        painter.setPen(palette().color(QPalette::WindowText));
        painter.drawLine(x, height() - 3, x, height() - 1 - size);
    }

private:
    int tick_;
};

}  // namespace

GameOptionsDialog::GameOptionsDialog(int value, int currentStep, QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Game Options"));
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
    // Built with the scroll speed option; one tick at the step in effect,
    // and the thumb on it.
    slider_ = new OneTickSlider(currentStep, this);
    slider_->setObjectName(QStringLiteral("scrollSpeed"));
    slider_->setRange(0, 100);
    slider_->setValue(value);
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
