#include "shell/zarvon_doc.h"

#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QSaveFile>

#include <string>
#include <vector>

#include "model/new_game.h"
#include "model/races.h"
#include "model/saved_game.h"
#include "drawing/drawing_flags.h"
#include "drawing/game_lock.h"
#include "shell/autosave.h"
#include "shell/game_options_dialog.h"
#include "shell/new_game_dialog.h"
#include "shell/picture_button.h"
#include "shell/qt_platform.h"
#include "shell/zarvon_view.h"
#include "turn/end_turn.h"

namespace qv::shell {

namespace {

const QString kFilter = QStringLiteral("Zarvon Files (*.zvq)");

std::string Local(const QString& text) { return text.toStdString(); }

}  // namespace

CZarvonDoc::CZarvonDoc(QtPlatform& platform, CZarvonView& view, QObject* parent)
    : QObject(parent), platform_(platform), view_(view), autosaver_(std::make_unique<Autosaver>()) {}

CZarvonDoc::~CZarvonDoc() = default;

void CZarvonDoc::setPath(const QString& path) { path_ = path.isEmpty() ? QString() : QFileInfo(path).absoluteFilePath(); }

bool CZarvonDoc::OnNewDocument() {
    if (g_newDocCount == 0) {
        // Start-up: the races, then the title screen.
        GameLockGuard lock;
        const bool loaded = StartUp(dataDir_.empty() ? ResolveDataDir() : dataDir_);
        view_.update();
        return loaded;
    }
    NewGameDialog dialog(options_, g_races, view_.window());
    const int answer = runNewGameDialog ? runNewGameDialog(dialog) : RunModal(dialog);
    if (answer != QDialog::Accepted) return false;
    {
        GameLockGuard lock;
        if (!StartNewGame(options_, dialog.chosen())) return false;
    }
    setPath({});
    view_.update();
    emit gameChanged();
    return true;
}

bool CZarvonDoc::OnOpenDocument(const QString& path) {
    const QString name = QFileInfo(path).fileName();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        GameLockGuard lock;
        platform_.messageBox(Local(QStringLiteral("Unable to open \"%1\": %2.").arg(path, file.errorString())));
        return false;
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        GameLockGuard lock;
        platform_.messageBox(Local(QStringLiteral("Unable to read \"%1\": %2.").arg(path, file.errorString())));
        return false;
    }
    {
        GameLockGuard lock;
        // A refused file names its fault in a message and leaves the
        // running game as it was.
        if (!LoadGameBytes(reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                           static_cast<std::size_t>(bytes.size()), Local(name), options_))
            return false;
    }
    setPath(path);
    recent_.add(path);
    emit recentFilesChanged();
    view_.update();
    emit gameChanged();
    return true;
}

bool CZarvonDoc::OnSaveDocument(const QString& path) {
    std::vector<std::uint8_t> bytes;
    {
        GameLockGuard lock;
        if (!g_currentWorld) return false;
        bytes = SaveGameBytes(options_);
    }
    // Written beside the old file and put in its place only when whole.
    QSaveFile file(path);
    const bool ok = file.open(QIODevice::WriteOnly) &&
                    file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<qint64>(bytes.size())) ==
                        static_cast<qint64>(bytes.size()) &&
                    file.commit();
    if (!ok) {
        GameLockGuard lock;
        platform_.messageBox(Local(QStringLiteral("Unable to save \"%1\": %2.").arg(path, file.errorString())));
        return false;
    }
    setPath(path);
    recent_.add(path);
    emit recentFilesChanged();
    return true;
}

QString CZarvonDoc::openFolder() const {
    const QString last = recent_.lastFolder();
    if (!last.isEmpty() && QFileInfo(last).isDir()) return last;
    return autosaver_->folder();
}

QString CZarvonDoc::askOpenFile() {
    if (chooseOpenFile) return chooseOpenFile();
    QFileDialog dialog(view_.window(), QStringLiteral("Open"), openFolder(), kFilter);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    if (RunModal(dialog) != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().first();
}

QString CZarvonDoc::askSaveFile() {
    if (chooseSaveFile) return chooseSaveFile();
    QString start = path_.isEmpty() ? QDir(openFolder()).filePath(QStringLiteral("Zarvon.zvq")) : path_;
    QFileDialog dialog(view_.window(), QStringLiteral("Save As"), start, kFilter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QStringLiteral("zvq"));
    if (RunModal(dialog) != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().first();
}

bool CZarvonDoc::OnFileOpen() {
    const QString path = askOpenFile();
    if (path.isEmpty()) return false;
    return OnOpenDocument(path);
}

bool CZarvonDoc::OnFileSave() {
    if (!g_currentWorld) return false;
    if (path_.isEmpty()) return OnFileSaveAs();
    return OnSaveDocument(path_);
}

bool CZarvonDoc::OnFileSaveAs() {
    if (!g_currentWorld) return false;
    QString path = askSaveFile();
    if (path.isEmpty()) return false;
    if (QFileInfo(path).suffix().isEmpty()) path += QStringLiteral(".zvq");
    return OnSaveDocument(path);
}

void CZarvonDoc::OnEndTurn() {
    std::vector<std::uint8_t> bytes;
    {
        GameLockGuard lock;
        if (!g_currentWorld) return;
        qv::OnEndTurn();
        if (g_currentWorld) bytes = SaveGameBytes(options_);
    }
    if (!bytes.empty()) autosaver_->save(std::move(bytes));
    emit gameChanged();
}

void CZarvonDoc::OnGameOptions() {
    GameOptionsDialog dialog(options_.scrollSpeedOption, g_scrollStep.load(), view_.window());
    const int answer = runOptionsDialog ? runOptionsDialog(dialog) : RunModal(dialog);
    if (answer != QDialog::Accepted) return;
    options_.scrollSpeedOption = dialog.value();
    view_.update();
    GameLockGuard lock;
    // Taken over once the drawing thread is between scroll moves.
    platform_.changeScrollStep(options_.scrollSpeedOption);
}

bool CZarvonDoc::CanCloseFrame() {
    {
        GameLockGuard lock;
        if (!platform_.askYesNo("Are you sure want to exit?")) return false;
        platform_.pauseDrawing();
        DestroyGame();
    }
    view_.StopDrawingThread();
    autosaver_->flush();
    platform_.endProcess(0);
    return true;
}

}  // namespace qv::shell
