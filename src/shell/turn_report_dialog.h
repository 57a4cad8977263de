// Game ▸ Turn Report: every event of the last End Turn that concerned the
// player, one line each with its world's number; a click on a line shows
// that world centred on the place.
#pragma once

#include <QDialog>

#include <vector>

#include "turn/turn_report.h"

class QListWidget;
class QPushButton;

namespace qv::shell {

class TurnReportDialog : public QDialog {
    Q_OBJECT
public:
    // Takes the report as it is now; call it with the game lock held.
    explicit TurnReportDialog(QWidget* parent = nullptr);

    QListWidget* list() const { return list_; }
    QPushButton* okButton() const { return ok_; }

private:
    // The world shown becomes the event's, the view centred on its place
    // (a body thrown elsewhere: where it landed).
    void showPlace(int row);

    std::vector<TurnEvent> events_;
    QListWidget* list_ = nullptr;
    QPushButton* ok_ = nullptr;
};

// The dialog, modal, with the game lock lent out while it is open. Call it
// on the game thread.
void ShowTurnReport(QWidget* parent);

// What the map shows for a few seconds after End Turn: the summary and the
// key of the whole report; empty when the turn brought nothing. Call it with
// the game lock held.
QString TurnSummaryLine();

}  // namespace qv::shell
