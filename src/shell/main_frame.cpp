#include "shell/main_frame.h"

#include <QCloseEvent>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QLayout>
#include <QMenuBar>
#include <QMimeData>
#include <QShortcut>
#include <QUrl>

#include "model/globals.h"
#include "drawing/drawing_flags.h"
#include "drawing/game_lock.h"
#include "shell/about_dialog.h"
#include "shell/handbook_dialog.h"
#include "shell/picture_button.h"
#include "shell/turn_report_dialog.h"
#include "shell/zarvon_doc.h"
#include "shell/zarvon_view.h"

namespace qv::shell {

namespace {

// Shown in the File menu: "&1 name" with the folder shortened from the left.
QString RecentText(int index, const QString& path) {
    QString shown = QDir::toNativeSeparators(path);
    if (shown.size() > 60) shown = QStringLiteral("...") + shown.right(57);
    shown.replace(QLatin1Char('&'), QStringLiteral("&&"));
    return QStringLiteral("&%1 %2").arg(index + 1).arg(shown);
}

}  // namespace

CMainFrame::CMainFrame(CZarvonDoc& doc, CZarvonView* view, QWidget* parent)
    : QMainWindow(parent,
                  Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                      Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint),
      doc_(doc),
      view_(view) {
    setWindowTitle(QStringLiteral("Quorvane version 1.00 Final"));
    setCentralWidget(view_);
    setAcceptDrops(true);

    fileMenu_ = menuBar()->addMenu(QStringLiteral("&File"));
    add(fileMenu_, Command::New, QStringLiteral("&New"), QKeySequence(Qt::CTRL | Qt::Key_N));
    add(fileMenu_, Command::Open, QStringLiteral("&Open..."), QKeySequence(Qt::CTRL | Qt::Key_O));
    add(fileMenu_, Command::Save, QStringLiteral("&Save"), QKeySequence(Qt::CTRL | Qt::Key_S));
    add(fileMenu_, Command::SaveAs, QStringLiteral("Save &As..."));
    recentSeparator_ = fileMenu_->addSeparator();
    exitSeparator_ = fileMenu_->addSeparator();
    add(fileMenu_, Command::Exit, QStringLiteral("E&xit"));

    QMenu* game = menuBar()->addMenu(QStringLiteral("Game"));
    add(game, Command::NextShip, QStringLiteral("Next Ship"), QKeySequence(Qt::Key_F5));
    add(game, Command::PreviousShip, QStringLiteral("Previous Ship"), QKeySequence(Qt::Key_F6));
    add(game, Command::CenterOnSelection, QStringLiteral("Center on sel. object"), QKeySequence(Qt::Key_F7));
    game->addSeparator();
    add(game, Command::NextWorld, QStringLiteral("&Next World"), QKeySequence(Qt::Key_PageUp));
    add(game, Command::PreviousWorld, QStringLiteral("Previous World"), QKeySequence(Qt::Key_PageDown));
    game->addSeparator();
    add(game, Command::EndTurn, QStringLiteral("End Turn"), QKeySequence(Qt::Key_End));
    game->addSeparator();
    add(game, Command::Statistics, QStringLiteral("Statistics..."));
    add(game, Command::TurnReport, QStringLiteral("Turn Report..."), QKeySequence(Qt::CTRL | Qt::Key_R));
    add(game, Command::Options, QStringLiteral("Options..."));

    QMenu* help = menuBar()->addMenu(QStringLiteral("&Help"));
    add(help, Command::HowToPlay, QStringLiteral("&How to Play"), QKeySequence(Qt::Key_F1));
    add(help, Command::About, QStringLiteral("&About Zarvon..."));

    // The window's keys: the accelerators work wherever the focus is.
    for (auto& [command, act] : actions_) act->setShortcutContext(Qt::WindowShortcut);
    // Alt+F4 closes the window also where no window manager does it.
    auto* altF4 = new QShortcut(QKeySequence(Qt::ALT | Qt::Key_F4), this);
    connect(altF4, &QShortcut::activated, this, &QWidget::close);

    connect(action(Command::New), &QAction::triggered, this, [this] { doc_.OnNewDocument(); });
    connect(action(Command::Open), &QAction::triggered, this, [this] { doc_.OnFileOpen(); });
    connect(action(Command::Save), &QAction::triggered, this, [this] { doc_.OnFileSave(); });
    connect(action(Command::SaveAs), &QAction::triggered, this, [this] { doc_.OnFileSaveAs(); });
    connect(action(Command::Exit), &QAction::triggered, this, &QWidget::close);
    connect(action(Command::EndTurn), &QAction::triggered, this, [this] {
        doc_.OnEndTurn();
        // What the turn brought, for a few seconds; Ctrl+R tells it all.
        QString summary;
        {
            GameLockGuard lock;
            summary = TurnSummaryLine();
        }
        if (!summary.isEmpty()) view_->showNotice(summary, 6000);
    });
    connect(action(Command::TurnReport), &QAction::triggered, this, [this] {
        {
            GameLockGuard lock;
            ShowTurnReport(this);
        }
        UpdateCommandUI();
    });
    connect(action(Command::Options), &QAction::triggered, this, [this] { doc_.OnGameOptions(); });
    connect(action(Command::About), &QAction::triggered, this, &CMainFrame::OnAppAbout);
    connect(action(Command::HowToPlay), &QAction::triggered, this, &CMainFrame::OnHowToPlay);
    for (Command c : {Command::NextShip, Command::PreviousShip, Command::CenterOnSelection, Command::NextWorld,
                      Command::PreviousWorld, Command::Statistics})
        connect(action(c), &QAction::triggered, this, [this, c] { runGameCommand(c); });

    connect(&doc_, &CZarvonDoc::gameChanged, this, &CMainFrame::UpdateCommandUI);
    connect(&doc_, &CZarvonDoc::recentFilesChanged, this, &CMainFrame::rebuildRecentFiles);
    for (QMenu* menu : {fileMenu_, game, help}) connect(menu, &QMenu::aboutToShow, this, &CMainFrame::UpdateCommandUI);
    // Selections change through the map too; the states follow within a
    // tenth of a second, before any key can be pressed on them.
    commandTimer_.setInterval(100);
    connect(&commandTimer_, &QTimer::timeout, this, &CMainFrame::UpdateCommandUI);
    commandTimer_.start();

    rebuildRecentFiles();
    UpdateCommandUI();

    // Fixed: the view's 800 x 600 under the menu bar, at the top-left corner.
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    adjustSize();
    setFixedSize(sizeHint());
    move(0, 0);
}

QAction* CMainFrame::add(QMenu* menu, Command command, const QString& text, const QKeySequence& key) {
    auto* act = new QAction(text, this);
    if (!key.isEmpty()) act->setShortcut(key);
    act->setData(static_cast<int>(command));
    menu->addAction(act);
    actions_[command] = act;
    return act;
}

QAction* CMainFrame::action(Command command) const {
    const auto it = actions_.find(command);
    return it == actions_.end() ? nullptr : it->second;
}

void CMainFrame::setGameCommand(Command command, std::function<void()> handler) {
    gameCommands_[command] = std::move(handler);
}

void CMainFrame::runGameCommand(Command command) {
    const auto it = gameCommands_.find(command);
    if (it == gameCommands_.end() || !it->second) return;
    it->second();
    UpdateCommandUI();
}

void CMainFrame::UpdateCommandUI() {
    // Read on the game thread, which is the only one that changes them.
    const bool game = g_currentWorld != nullptr;
    const bool ship = g_selShip != nullptr;
    const bool any = ship || g_selPlanet != nullptr || g_selAsteroid != nullptr;
    action(Command::NextShip)->setEnabled(ship);
    action(Command::PreviousShip)->setEnabled(ship);
    action(Command::CenterOnSelection)->setEnabled(any);
    for (Command c : {Command::NextWorld, Command::PreviousWorld, Command::EndTurn, Command::Statistics,
                      Command::TurnReport, Command::Save, Command::SaveAs})
        action(c)->setEnabled(game);
}

void CMainFrame::rebuildRecentFiles() {
    for (QAction* act : recentActions_) {
        fileMenu_->removeAction(act);
        act->deleteLater();
    }
    recentActions_.clear();
    const QStringList& files = doc_.recentFiles().files();
    for (int i = 0; i < files.size(); ++i) {
        auto* act = new QAction(RecentText(i, files[i]), this);
        act->setData(files[i]);
        const QString path = files[i];
        connect(act, &QAction::triggered, this, [this, path] { OpenFile(path); });
        fileMenu_->insertAction(exitSeparator_, act);
        recentActions_.append(act);
    }
    // With no recent file a single separator stands before "Exit".
    recentSeparator_->setVisible(!files.isEmpty());
}

bool CMainFrame::OpenFile(const QString& path) {
    if (doc_.OnOpenDocument(path)) return true;
    doc_.recentFiles().remove(path);
    rebuildRecentFiles();
    return false;
}

void CMainFrame::OnAppAbout() {
    AboutDialog about(this);
    RunModal(about);
}

void CMainFrame::OnHowToPlay() {
    if (!handbook_) handbook_ = new HandbookDialog(this);
    handbook_->show();
    handbook_->raise();
    handbook_->activateWindow();
}

void CMainFrame::closeEvent(QCloseEvent* event) {
    if (doc_.CanCloseFrame()) event->accept();
    else event->ignore();
}

void CMainFrame::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasUrls()) event->acceptProposedAction();
}

void CMainFrame::dropEvent(QDropEvent* event) {
    for (const QUrl& url : event->mimeData()->urls()) {
        if (!url.isLocalFile()) continue;
        event->acceptProposedAction();
        OpenFile(url.toLocalFile());
        return;
    }
}

bool CMainFrame::event(QEvent* event) {
    // The pointer left the map for the frame's border, title or menu bar:
    // the map stops scrolling.
    if (event->type() == QEvent::Leave || event->type() == QEvent::NonClientAreaMouseMove) {
        for (std::atomic<int>* flag : {&g_scrollUp, &g_scrollDown, &g_scrollLeft, &g_scrollRight, &g_scrollUpRight,
                                       &g_scrollDownRight, &g_scrollUpLeft, &g_scrollDownLeft})
            flag->store(0);
    }
    return QMainWindow::event(event);
}

}  // namespace qv::shell
