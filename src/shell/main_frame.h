// The main window: the 800 x 600 map view under the menu bar, fixed in size
// and place, with the menu, its accelerators, the recent-file list, files
// dropped on it and the exit question when it is closed.
#pragma once

#include <QAction>
#include <QMainWindow>
#include <QMenu>
#include <QTimer>

#include <functional>
#include <map>

namespace qv::shell {

class CZarvonDoc;
class CZarvonView;
class HandbookDialog;

// The menu commands.
enum class Command {
    New,
    Open,
    Save,
    SaveAs,
    Exit,
    NextShip,
    PreviousShip,
    CenterOnSelection,
    NextWorld,
    PreviousWorld,
    EndTurn,
    Statistics,
    TurnReport,
    Options,
    About,
    HowToPlay,
};

class CMainFrame : public QMainWindow {
    Q_OBJECT
public:
    CMainFrame(CZarvonDoc& doc, CZarvonView* view, QWidget* parent = nullptr);

    QAction* action(Command command) const;
    // The recent-file entries now in the File menu.
    QList<QAction*> recentFileActions() const { return recentActions_; }

    // Greys the commands whose conditions do not hold (a game, a selected
    // ship, a selection); called after every command and regularly.
    void UpdateCommandUI();

    // Runs the game commands that the map orders provide; until one is set
    // the command does nothing.
    void setGameCommand(Command command, std::function<void()> handler);

    // Opens a file (recent list, drop): a file that fails is taken off the
    // recent list.
    bool OpenFile(const QString& path);

    // The About box, modal.
    void OnAppAbout();
    // The handbook in a window of its own, shown and brought to the front;
    // made at its first call (null until then).
    void OnHowToPlay();
    HandbookDialog* handbook() const { return handbook_; }

protected:
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    bool event(QEvent* event) override;

private:
    QAction* add(QMenu* menu, Command command, const QString& text, const QKeySequence& key = {});
    void rebuildRecentFiles();
    void runGameCommand(Command command);

    CZarvonDoc& doc_;
    CZarvonView* view_;
    QMenu* fileMenu_ = nullptr;
    QAction* recentSeparator_ = nullptr;
    QAction* exitSeparator_ = nullptr;
    QList<QAction*> recentActions_;
    std::map<Command, QAction*> actions_;
    std::map<Command, std::function<void()>> gameCommands_;
    QTimer commandTimer_;
    HandbookDialog* handbook_ = nullptr;
};

}  // namespace qv::shell
