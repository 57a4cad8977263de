// The planet panel ("Planet Options") of the selected planet: its race,
// shield points and buildings written at their places, the docks list, and
// the buttons that build, equip, launch, sell, unload and repair. The further
// steps (Build Ship, Equip Planet, Equip Ship, the payment confirmation) open
// from here.
#pragma once

#include <QDialog>
#include <QList>
#include <QStringList>

#include <array>
#include <functional>
#include <string>
#include <vector>

#include "model/dock_rows.h"
#include "model/records.h"
#include "shell/panel_text.h"

class QPushButton;
class QTreeWidget;

namespace qv::shell {

// How the planet panel and the dialogs it opens are run: RunModal, unless
// a test has put an answer of its own here (it gets the dialog, may drive
// it, and returns the result).
using PlanetDialogRunner = std::function<int(QDialog&)>;
PlanetDialogRunner& PlanetDialogHook();
int RunPlanetDialog(QDialog& dialog);

// A report-style list view with the given columns (heading and width).
QTreeWidget* MakeReportList(const QStringList& headings, const QList<int>& widths, QWidget* parent);

// The names the lists show, of every loaded race: its ship models; the
// equipment of a planet or a ship (the catalogue's items and the races'
// weapons).
std::vector<std::string> ShipModelNames();
std::vector<std::string> EquipmentNames(bool forPlanet);

// Widens the list's column so that, in the list's font, each of the names
// shows whole, though never wider than the longest item of the catalogue
// needs (a longer name is elided with "…"). The list's minimum width grows
// as much as the column; returns that growth in pixels.
int FitNameColumn(QTreeWidget* list, int column, const std::vector<std::string>& names);

// Calls report with the row the player picks in the list, by mouse or keys
// (also when he clicks the row already chosen); never for rows the program
// fills in.
void OnRowReported(QTreeWidget* list, QObject* context, std::function<void(int row)> report);

// The row the player has chosen in the list (the highlighted one), or -1.
int ChosenRow(const QTreeWidget* list);

// Buy, Sell and the other buttons that act on a row: enabled only while the
// list shows a row the player has chosen, from now on. A list refilled with
// its signals blocked calls ShowChosenRow itself.
void EnableWithChosenRow(QTreeWidget* list, const QList<QWidget*>& buttons);
void ShowChosenRow(const QTreeWidget* list, const QList<QWidget*>& buttons);

class PlanetOptionsDialog : public QDialog {
    Q_OBJECT
public:
    enum Button {
        Ok,
        EquipPlanet,
        BuildShip,
        StartShip,
        EquipShip,
        UnloadShip,
        SellShip,
        RepairPlanet,
        RepairShip,
        kButtonCount
    };

    explicit PlanetOptionsDialog(Planet* planet, QWidget* parent = nullptr);

    QTreeWidget* docksList() const { return docks_; }
    QPushButton* button(Button which) const { return buttons_[which]; }

    // The texts the last paint wrote: the labels, then the race, the shield
    // points and the buildings.
    const std::vector<PanelText>& paintedTexts() const { return painted_; }

    // Rebuilds the docks list from the planet's docks, the chosen docked
    // ship's row selected, and repaints.
    void refresh();

    static const char* Caption(Button which);

    // The size in the narrowest case; the list and the buttons right of it
    // move right as far as the names need.
    static constexpr int kWidth = 505;
    static constexpr int kHeight = 280;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void onButton(Button which);
    void showRows(const std::vector<DockRow>& rows);
    // The buttons that act on a docked ship wait for one chosen in the list
    // since the panel opened.
    void showShipButtons();

    Planet* planet_;
    QTreeWidget* docks_ = nullptr;
    std::array<QPushButton*, kButtonCount> buttons_{};
    std::vector<DockRow> shown_;
    std::vector<PanelText> painted_;
    bool dockChosen_ = false;
};

// The map's click on the player's selected planet: the panel of g_selPlanet,
// run modally (called on the game thread with the game lock held). Returns
// the dialog's result; QDialog::Rejected at once without a selected planet.
int RunPlanetOptions(QWidget* parent);

}  // namespace qv::shell
