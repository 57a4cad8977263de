// Game Options: the scroll speed on a track bar from 0 to 100, with one tick,
// at the step in use.
#pragma once

#include <QDialog>
#include <QSlider>

namespace qv::shell {

class GameOptionsDialog : public QDialog {
    Q_OBJECT
public:
    // value: the document's scroll speed option; currentStep: the step the
    // map scrolls with now (the one tick, and the thumb starts there).
    GameOptionsDialog(int value, int currentStep, QWidget* parent = nullptr);

    // The thumb's position.
    int value() const { return slider_->value(); }
    QSlider* slider() const { return slider_; }
    QPushButton* okButton() const { return ok_; }
    QPushButton* cancelButton() const { return cancel_; }

private:
    QSlider* slider_ = nullptr;
    QPushButton* ok_ = nullptr;
    QPushButton* cancel_ = nullptr;
};

}  // namespace qv::shell
