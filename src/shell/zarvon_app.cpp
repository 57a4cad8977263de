#include "shell/zarvon_app.h"

#include <QCoreApplication>
#include <QIcon>

#include "model/platform.h"
#include "orders/navigation.h"
#include "drawing/drawing_flags.h"
#include "drawing/game_lock.h"
#include "shell/asteroid_options_dialog.h"
#include "shell/main_frame.h"
#include "shell/planet_options_dialog.h"
#include "shell/ship_options_dialog.h"
#include "shell/statistics_dialog.h"
#include "shell/qt_platform.h"
#include "shell/zarvon_doc.h"
#include "shell/zarvon_view.h"

namespace qv::shell {

CZarvonApp::CZarvonApp() : platform_(std::make_unique<QtPlatform>()) { SetPlatform(platform_.get()); }

CZarvonApp::~CZarvonApp() {
    // The window goes first (its view stops the drawing thread), then the
    // document, then the platform the logic was using.
    frame_.reset();
    doc_.reset();
    SetPlatform(nullptr);
}

bool CZarvonApp::ParseArguments(const QStringList& arguments, StartOptions& options, QString& error) {
    for (int i = 1; i < arguments.size(); ++i) {
        const QString& a = arguments[i];
        if (a == QLatin1String("--data")) {
            if (i + 1 >= arguments.size()) {
                error = QStringLiteral("--data wants a folder");
                return false;
            }
            options.dataDir = arguments[++i];
        } else if (a.startsWith(QLatin1String("--data="))) {
            options.dataDir = a.mid(7);
        } else if (a.startsWith(QLatin1String("-")) && a != QLatin1String("-")) {
            error = QStringLiteral("unknown option %1 (usage: quorvane [--data FOLDER] [game.zvq])").arg(a);
            return false;
        } else if (options.file.isEmpty()) {
            options.file = a;
        } else {
            error = QStringLiteral("only one saved game can be opened, not %1 as well").arg(a);
            return false;
        }
    }
    return true;
}

bool CZarvonApp::InitInstance(const StartOptions& options) {
    // The drawing thread starts with the view and parks until a game exists.
    g_pauseDrawing = 1;
    view_ = new CZarvonView(nullptr, options.drawing);
    doc_ = std::make_unique<CZarvonDoc>(*platform_, *view_);
    if (!options.dataDir.isEmpty()) doc_->setDataDir(options.dataDir.toStdString());
    frame_ = std::make_unique<CMainFrame>(*doc_, view_);
    QIcon icon;
    icon.addFile(QStringLiteral(":/pictures/icon_48.png"));
    icon.addFile(QStringLiteral(":/pictures/icon.png"));
    frame_->setWindowIcon(icon);
    platform_->setWindow(frame_.get());
    platform_->setCursorWidget(view_);

    // The map's orders open the selected record's panel; the Game menu
    // moves between worlds and ships and shows the statistics.
    view_->openPlanetPanel = RunPlanetOptions;
    view_->openShipPanel = RunShipOptions;
    view_->openAsteroidPanel = RunAsteroidOptions;
    QObject::connect(view_, &CZarvonView::ordersGiven, frame_.get(), &CMainFrame::UpdateCommandUI);
    auto locked = [](void (*command)()) {
        return [command] {
            GameLockGuard lock;
            command();
        };
    };
    frame_->setGameCommand(Command::NextWorld, locked(NextWorld));
    frame_->setGameCommand(Command::PreviousWorld, locked(PreviousWorld));
    frame_->setGameCommand(Command::NextShip, locked(NextShip));
    frame_->setGameCommand(Command::PreviousShip, locked(PreviousShip));
    frame_->setGameCommand(Command::CenterOnSelection, locked(CenterOnSelection));
    frame_->setGameCommand(Command::Statistics, [frame = frame_.get()] {
        GameLockGuard lock;
        ShowStatistics(frame);
    });
    platform_->setFramePump([view = view_] {
        view->ShowNewFrame();
        // Paints and the window system's own traffic, never the player's
        // input: nothing the player does is handled while a turn runs.
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    });

    // The races first, so that a saved game named at start finds them.
    if (!doc_->OnNewDocument()) return false;
    if (options.show) {
        frame_->show();
        frame_->move(0, 0);
        // Without a window manager nobody else gives the window the keys.
        frame_->raise();
        frame_->activateWindow();
        view_->setFocus();
    }
    if (!options.file.isEmpty() && !doc_->OnOpenDocument(options.file)) return false;
    frame_->UpdateCommandUI();
    return true;
}

}  // namespace qv::shell
