// Statistics: the graph of every race's power over the turns, and OK; under
// them the key to the lines (colour, "You" or "Computer N", "(out)", race).
#pragma once

#include <QDialog>

class QPushButton;

namespace qv::shell {

class CStatisticsDlg : public QDialog {
    Q_OBJECT
public:
    explicit CStatisticsDlg(QWidget* parent = nullptr);

    QPushButton* okButton() const { return ok_; }
    // Where the key starts, under the graph and its button.
    static constexpr int kLegendTop = 292;

protected:
    // Draws the graph from the game as it is now (the dialog keeps no data
    // of its own), taking the game lock while it reads the players.
    void paintEvent(QPaintEvent* event) override;

private:
    QPushButton* ok_ = nullptr;
};

// Game ▸ Statistics...: the dialog, modal, with the game lock lent out while
// it is open. Call it on the game thread.
void ShowStatistics(QWidget* parent);

}  // namespace qv::shell
