// Ship Options: the selected ship's figures and equipment, and the buttons
// that arm its Hyper Jumper ("SHM") and its missile ("Start Rocket").
#pragma once

#include <QDialog>
#include <QPushButton>

#include <vector>

#include "shell/panel_text.h"

namespace qv::shell {

class CShipOptionsDlg : public QDialog {
    Q_OBJECT
public:
    explicit CShipOptionsDlg(QWidget* parent = nullptr);

    QPushButton* okButton() const { return ok_; }
    QPushButton* hyperJumpButton() const { return hyperJump_; }
    QPushButton* startRocketButton() const { return startRocket_; }

    // The labels and figures the last paint wrote, in the order written.
    const std::vector<PanelText>& paintedTexts() const { return painted_; }

    // "SHM": arms the hyper jump and closes with OK when the ship carries a
    // Hyper Jumper; otherwise the panel stays open.
    void OnHyperJump();
    // "Start Rocket": arms the missile and closes with OK when the ship
    // carries one; otherwise the panel stays open.
    void OnStartRocket();

    static constexpr int kWidth = 320;
    static constexpr int kHeight = 305;  // room for all eleven equipment lines

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QPushButton* ok_ = nullptr;
    QPushButton* hyperJump_ = nullptr;
    QPushButton* startRocket_ = nullptr;
    std::vector<PanelText> painted_;
};

// Opens the Ship Options panel of the selected ship, modally; called on the
// game thread with the game lock held when the player clicks his selected
// ship. Returns the dialog's result (QDialog::Accepted after OK, "SHM" or
// "Start Rocket" armed), QDialog::Rejected at once when no ship is selected.
int RunShipOptions(QWidget* parent);

}  // namespace qv::shell
