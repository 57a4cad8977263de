// The New Game dialog: seven drop-down lists (worlds quantity and size,
// resources, instability, computer players, credits, race) and the picture
// buttons OK and Cancel.
#pragma once

#include <QComboBox>
#include <QDialog>

#include <array>

#include "model/globals.h"
#include "model/records.h"

namespace qv::shell {

class NewGameDialog : public QDialog {
    Q_OBJECT
public:
    enum List { WorldsQuantity, WorldsSize, Resources, Unstability, AiPlayers, Credits, RaceType, kListCount };

    // The six fixed lists are filled and set to the remembered options; the
    // race list is filled afterwards from races (head first) and so opens
    // with no entry chosen.
    NewGameDialog(const NewGameOptions& remembered, const Race* races, QWidget* parent = nullptr);

    // The chosen entries: each list's index from 0, -1 where nothing is
    // chosen; the scroll speed is the remembered one.
    NewGameOptions chosen() const;

    QComboBox* list(List which) const { return lists_[which]; }
    QPushButton* okButton() const { return ok_; }
    QPushButton* cancelButton() const { return cancel_; }

    static const char* Label(List which);

private:
    std::array<QComboBox*, kListCount> lists_{};
    QPushButton* ok_ = nullptr;
    QPushButton* cancel_ = nullptr;
    std::int32_t scrollSpeed_;
};

}  // namespace qv::shell
