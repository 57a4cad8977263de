// A whole application per test: the platform, the view with its drawing
// thread, the document and the main window, with the shipped races loaded.
#pragma once

#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QFile>
#include <QSettings>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include "support/modal_dialog.h"

#include <functional>
#include <memory>
#include <vector>

#include "model/globals.h"
#include "model/saved_game.h"
#include "drawing/drawing_flags.h"
#include "drawing/game_lock.h"
#include "shell/main_frame.h"
#include "shell/new_game_dialog.h"
#include "shell/qt_platform.h"
#include "shell/recent_files.h"
#include "shell/zarvon_app.h"
#include "shell/zarvon_doc.h"
#include "shell/zarvon_view.h"

QT_BEGIN_NAMESPACE
inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }
inline void PrintTo(const QStringList& l, std::ostream* os) { *os << '(' << l.join(", ").toStdString() << ')'; }
QT_END_NAMESPACE

namespace qv::shell::test {

inline const QString kData = QStringLiteral(QUORVANE_DATA_OUT);

// Runs the event loop until the condition holds or the time is up.
inline bool SpinUntil(const std::function<bool()>& done, int ms = 5000) {
    QElapsedTimer t;
    t.start();
    while (!done()) {
        if (t.elapsed() > ms) return false;
        QApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::msleep(1);
    }
    return true;
}

// Bytes of the running game as a save would write them (g_newDocCount is
// put back, so that looking does not change the game).
inline std::vector<std::uint8_t> Snapshot(const NewGameOptions& options) {
    GameLockGuard lock;
    const std::int32_t count = g_newDocCount;
    std::vector<std::uint8_t> bytes = SaveGameBytes(options);
    g_newDocCount = count;
    return bytes;
}

inline bool WriteBytes(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

inline QByteArray ReadAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

using qv::test::ModalDialog;

class ShellTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(scratch_.isValid());
        ResetGlobals();
        ResetDrawingFlags();
        // Every test starts without recent files.
        QSettings(kSettingsOrganisation, kSettingsApplication).clear();
        app_ = std::make_unique<CZarvonApp>();
        app_->platform().setAutoAnswer(true);
        app_->platform().setEndProcess([this](int code) { endedWith_ = code; });
        StartOptions options;
        options.dataDir = kData;
        options.file = startFile();
        options.drawing = drawing();
        started_ = app_->InitInstance(options);
    }

    void TearDown() override {
        app_.reset();
        ResetGlobals();
        ResetDrawingFlags();
    }

    // A saved game to open at start-up; none by default.
    virtual QString startFile() const { return {}; }
    // The drawing thread's pace; the program's own by default.
    virtual DrawingOptions drawing() const { return {}; }

    // File ▸ New with the dialog answered by answer (it may change the
    // lists first).
    bool NewGame(const std::function<void(NewGameDialog&)>& answer = {}, int result = QDialog::Accepted) {
        doc().runNewGameDialog = [&](NewGameDialog& dialog) {
            if (answer) answer(dialog);
            return result;
        };
        const bool ok = doc().OnNewDocument();
        doc().runNewGameDialog = nullptr;
        return ok;
    }

    QString path(const QString& name) const { return scratch_.filePath(name); }

    CZarvonDoc& doc() { return app_->doc(); }
    CMainFrame& frame() { return app_->frame(); }
    QtPlatform& platform() { return app_->platform(); }
    CZarvonView& view() { return app_->view(); }

    std::unique_ptr<CZarvonApp> app_;
    bool started_ = false;
    int endedWith_ = -1;
    QTemporaryDir scratch_;
};

}  // namespace qv::shell::test
