// The document: the options kept between games and every command that makes,
// loads, saves or ends a game. It runs on the game thread and takes the game
// lock around game code; modal dialogs run with the lock lent out, so the
// map goes on being drawn behind them.
#pragma once

#include <QObject>
#include <QString>

#include <filesystem>
#include <functional>
#include <memory>

#include "model/globals.h"
#include "shell/recent_files.h"

namespace qv::shell {

class Autosaver;
class CZarvonView;
class NewGameDialog;
class GameOptionsDialog;
class QtPlatform;

class CZarvonDoc : public QObject {
    Q_OBJECT
public:
    // The platform must be installed (SetPlatform) by the caller.
    CZarvonDoc(QtPlatform& platform, CZarvonView& view, QObject* parent = nullptr);
    ~CZarvonDoc() override;

    // Where the races, ship pictures and sounds are read from at start-up;
    // empty (the default) looks for them as ResolveDataDir does.
    void setDataDir(std::filesystem::path dir) { dataDir_ = std::move(dir); }

    NewGameOptions& options() { return options_; }
    const NewGameOptions& options() const { return options_; }

    // The first call loads the races from the data folder and leaves the
    // title screen; every later one asks for the options and starts a new
    // game. False when the races could not be read (the program must end)
    // or the dialog was cancelled.
    bool OnNewDocument();
    // Reads a saved game; a refused file shows why and leaves the running
    // game as it was.
    bool OnOpenDocument(const QString& path);
    // Writes the game, whole or not at all.
    bool OnSaveDocument(const QString& path);

    // File menu: Open... (a file dialog), Save, Save As...
    bool OnFileOpen();
    bool OnFileSave();
    bool OnFileSaveAs();
    // Game menu: End Turn (then the autosave), Options...
    void OnEndTurn();
    void OnGameOptions();

    // The exit question; on Yes the game and the drawing thread end and the
    // process ends with code 0. False when the program goes on.
    bool CanCloseFrame();

    // The file the game was last opened from or saved to; empty for a new
    // game.
    const QString& pathName() const { return path_; }
    RecentFiles& recentFiles() { return recent_; }
    Autosaver& autosaver() { return *autosaver_; }

    // The folder the Open dialog starts in.
    QString openFolder() const;

    // Tests replace the modal steps: the New Game dialog's answer (the
    // dialog is built and initialised as usual), the Options dialog's, and
    // the file dialogs' choices (empty = cancelled).
    std::function<int(NewGameDialog&)> runNewGameDialog;
    std::function<int(GameOptionsDialog&)> runOptionsDialog;
    std::function<QString()> chooseOpenFile;
    std::function<QString()> chooseSaveFile;

signals:
    // A game was started or loaded, a turn ended, or the selection may have
    // changed: the menus' states and the view follow.
    void gameChanged();
    void recentFilesChanged();

private:
    QString askOpenFile();
    QString askSaveFile();
    void setPath(const QString& path);

    QtPlatform& platform_;
    CZarvonView& view_;
    NewGameOptions options_;
    QString path_;
    std::filesystem::path dataDir_;
    RecentFiles recent_;
    std::unique_ptr<Autosaver> autosaver_;
};

}  // namespace qv::shell
