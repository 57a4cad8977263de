// The handbook (Help > How to Play, F1): a window of its own beside the game
// with the player's handbook, its pictures of the game and its links.
// Escape closes it; it does not touch the game, so the game goes on behind it.
#pragma once

#include <QDialog>
#include <QTextBrowser>

namespace qv::shell {

class HandbookDialog : public QDialog {
    Q_OBJECT
public:
    explicit HandbookDialog(QWidget* parent = nullptr);

    QTextBrowser* browser() const { return browser_; }

private:
    QTextBrowser* browser_;
};

}  // namespace qv::shell
