// A whole application per test (platform, view, drawing thread, document, window) with a new game.
#pragma once

#include <QApplication>
#include <QElapsedTimer>
#include <QSettings>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>
#include <gtest/gtest.h>

#include "drawing/drawing_flags.h"
#include "drawing/game_lock.h"
#include "model/globals.h"
#include "model/lists.h"
#include "model/saved_game.h"
#include "shell/main_frame.h"
#include "shell/new_game_dialog.h"
#include "shell/qt_platform.h"
#include "shell/zarvon_app.h"
#include "shell/zarvon_doc.h"
#include "shell/zarvon_view.h"

namespace qv::shell::test {

inline bool SpinUntil(const std::function<bool()>& done, int ms = 10000) {
    QElapsedTimer t;
    for (t.start(); !done(); QThread::msleep(1)) {
        if (t.elapsed() > ms) return false;
        QApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    return true;
}

// The running game as a save writes it (g_newDocCount put back).
inline std::vector<std::uint8_t> Snapshot(const NewGameOptions& options) {
    GameLockGuard lock;
    const std::int32_t count = g_newDocCount;
    std::vector<std::uint8_t> bytes = SaveGameBytes(options);
    g_newDocCount = count;
    return bytes;
}

inline QByteArray ReadAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}
// Acts on the modal dialog of type T once it is open; stops when this object goes.
struct ModalDialog : QObject {
    template <typename T>
    void whenOpen(std::function<void(T&)> act) {
        QTimer::singleShot(1, this, [this, act] {
            auto* dialog = qobject_cast<T*>(QApplication::activeModalWidget());
            dialog ? act(*dialog) : whenOpen<T>(act);
        });
    }
};

class ShellTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetGlobals();
        ResetDrawingFlags();
        QSettings(kSettingsOrganisation, kSettingsApplication).clear();  // no recent files
        app_ = std::make_unique<CZarvonApp>();
        platform().setAutoAnswer(true);
        platform().setEndProcess([this](int code) { endedWith_ = code; });
        StartOptions options{{}, QStringLiteral(QUORVANE_DATA_OUT), drawing(), true};  // file, data, pace, shown
        ASSERT_TRUE(app_->InitInstance(options));
        ASSERT_TRUE(NewGame());
    }
    void TearDown() override {
        app_.reset();
        ResetGlobals();
    }
    virtual DrawingOptions drawing() const { return {}; }

    bool NewGame(const std::function<void(NewGameDialog&)>& answer = {}, int result = QDialog::Accepted) {
        doc().runNewGameDialog = [answer, result](NewGameDialog& dialog) {
            if (answer) answer(dialog);
            return result;
        };
        return doc().OnNewDocument();
    }
    // A frame drawn for a change made now, which needs the game lock free:
    // taken again by its holder, the lock changes nothing a frame shows.
    bool Drawn() {
        const std::uint64_t serial = view().frameSerial();
        { GameLockGuard change; }
        return SpinUntil([&] { return view().frameSerial() > serial; });
    }
    // An own ship put at the head of list, at (x, y) of the view.
    static Ship* AddShip(Ship*& list, int x = 0, int y = 0) {
        GameLockGuard lock;
        auto* s = new Ship;
        s->owner = g_players;
        s->model = RecordAt(g_players->race->shipModels, 1);
        s->weapon = g_players->race->weapons;
        s->x = g_viewLeft + x, s->y = g_viewTop + y, s->actionPoints = 60, s->shieldPoints = s->model->defence;
        InsertAtHead(list, s);
        ++g_players->shipCount;
        return s;
    }

    QString path(const QString& name) const { return scratch_.filePath(name); }
    CZarvonDoc& doc() { return app_->doc(); }
    CMainFrame& frame() { return app_->frame(); }
    QtPlatform& platform() { return app_->platform(); }
    CZarvonView& view() { return app_->view(); }

    QTemporaryDir scratch_;
    std::unique_ptr<CZarvonApp> app_;
    int endedWith_ = -1;
};

}  // namespace qv::shell::test
