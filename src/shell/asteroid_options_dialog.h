// Asteroid Options: the selected asteroid's ore and the ships landed on it,
// with "Start Ship" (back into space) and "Load Hold" (ore into the chosen
// ship's holds). The row the player picks in the list is g_listSelection.
#pragma once

#include <QDialog>
#include <QPushButton>
#include <QTreeWidget>

#include <vector>

#include "model/dock_rows.h"
#include "shell/panel_text.h"

namespace qv::shell {

class CAsteroidOptionsDlg : public QDialog {
    Q_OBJECT
public:
    explicit CAsteroidOptionsDlg(QWidget* parent = nullptr);

    QPushButton* okButton() const { return ok_; }
    QPushButton* startShipButton() const { return startShip_; }
    QPushButton* loadHoldButton() const { return loadHold_; }
    // The list of landed ships: "Dock #" and "Space Ship".
    QTreeWidget* shipList() const { return list_; }

    // The texts the last paint wrote ("Resources:" and the ore), in order.
    const std::vector<PanelText>& paintedTexts() const { return painted_; }

    // "Start Ship": launches the chosen ship and drops its row.
    void OnStartShip();
    // "Load Hold": fills the chosen ship's holds.
    void OnLoadHold();

    // Rebuilds the list from the asteroid's ships (the row g_listSelection
    // shown chosen when the list has it and the player has chosen a row
    // since the panel opened); g_listSelection is not changed.
    void refreshRows();

    // The size in the narrowest case; the list and the buttons right of it
    // move right as far as the names need.
    static constexpr int kWidth = 290;
    static constexpr int kHeight = 190;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void onSelectionChanged();
    void showRows(const std::vector<DockRow>& rows);

    QPushButton* ok_ = nullptr;
    QPushButton* startShip_ = nullptr;
    QPushButton* loadHold_ = nullptr;
    QTreeWidget* list_ = nullptr;
    std::vector<DockRow> shown_;
    std::vector<PanelText> painted_;
    bool rowChosen_ = false;  // a row chosen since the panel opened
};

// Opens the Asteroid Options panel of the selected asteroid, modally; called
// on the game thread with the game lock held when the player clicks his
// selected asteroid. Returns the dialog's result, QDialog::Rejected at once
// when no asteroid is selected.
int RunAsteroidOptions(QWidget* parent);

}  // namespace qv::shell
