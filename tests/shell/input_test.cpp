// A right click, an arrow key or a left click that comes while the game thread waits for the drawing thread
// (a turn played, a ship's move drawn) stays queued until the wait is over. It goes in through the window
// system's queue from a timer that runs only while a wait serves the event loop.
#include <QComboBox>
#include <QMouseEvent>
#include <QWindow>
#include <qpa/qwindowsysteminterface.h>

#include <cmath>

#include "shell_fixture.h"

namespace qv::shell::test {
namespace {

using Delivery = QWindowSystemInterface::AsynchronousDelivery;

class Input : public ShellTest {
protected:
    // Frames at 10 a second, so each wait serves the event loop a few times; the view focused and still.
    DrawingOptions drawing() const override { return {.frameInterval = std::chrono::milliseconds(100), .clock = {}}; }
    void SetUp() override {
        ShellTest::SetUp();
        ASSERT_TRUE(NewGame([](NewGameDialog& d) {
            d.list(NewGameDialog::Unstability)->setCurrentIndex(3);  // None: no event takes the home planet
        }));
        frame().activateWindow();
        view().setFocus();
        ASSERT_TRUE(SpinUntil([&] { return QGuiApplication::focusWindow() == frame().windowHandle(); }));
        platform().handshakes().changeScrollStep(0);
    }
    // Runs wait() until a right click and the Right arrow key were queued inside it and the event loop was
    // served twice more before it ended; neither may have been handled then, both must be afterwards.
    void SendDuring(const std::function<void()>& wait, const std::function<void()>& reselect,
                    const std::function<bool()>& cleared) {
        for (int attempt = 0; attempt < 30; ++attempt) {
            bool inside = true, sent = false;
            int roundsAfter = 0;
            {
                QObject context;  // no timer outlives its try
                std::function<void()> count = [&] {
                    if (inside && ++roundsAfter < 2) QTimer::singleShot(0, &context, count);
                };
                QTimer::singleShot(0, &context, [&] {
                    if (!inside) return;
                    QWindow* window = frame().windowHandle();
                    const QPointF local = view().mapTo(&frame(), QPointF(400, 300)),
                                  global = frame().mapToGlobal(local);
                    for (auto [type, buttons] : {std::pair{QEvent::MouseButtonPress, Qt::RightButton},
                                                 std::pair{QEvent::MouseButtonRelease, Qt::NoButton}})
                        QWindowSystemInterface::handleMouseEvent<Delivery>(window, local, global, buttons,
                                                                           Qt::RightButton, type);
                    QWindowSystemInterface::handleKeyEvent<Delivery>(window, QEvent::KeyPress, Qt::Key_Right,
                                                                     Qt::NoModifier);
                    sent = true;
                    QTimer::singleShot(0, &context, count);
                });
                wait();
                inside = false;
            }
            if (sent && roundsAfter >= 2) {
                EXPECT_FALSE(cleared());
                EXPECT_EQ(g_scrollRight.load(), 0);
                EXPECT_TRUE(SpinUntil([&] { return cleared() && g_scrollRight.load() == 1; }));
                return;
            }
            if (!sent) continue;
            SpinUntil([] { return g_scrollRight.load() != 0; });  // too short a wait: start again from a clean state
            g_scrollRight = 0;
            reselect();
        }
        ADD_FAILURE() << "no wait was long enough for the input";
    }
};

TEST_F(Input, AClickAndAKeyDuringEndTurnOrAShipsMoveAreHandledAfterIt) {
    Planet* const home = g_selPlanet;
    auto back = [home] {
        GameLockGuard lock;
        g_selPlanet = home;
    };
    SendDuring([&] { doc().OnEndTurn(); }, back, [] { return g_selPlanet == nullptr; });

    QPoint from, to;
    auto clear = [](QPoint p) {
        GameLockGuard lock;
        auto far = [x = p.x() + g_viewLeft, y = p.y() + g_viewTop](const auto* o) {
            for (; o; o = o->next)
                if (std::hypot(o->x - x, o->y - y) < 80) return false;
            return true;
        };
        return far(g_currentWorld->planets) && far(g_currentWorld->asteroids) && far(g_currentWorld->ships);
    };
    for (int y = 200; y <= 500 && from.isNull(); y += 20)
        for (int x = 80; x <= 400 && from.isNull(); x += 20)
            if (clear({x, y}) && clear({x + 160, y})) from = {x, y}, to = {x + 160, y};
    ASSERT_FALSE(from.isNull()) << "no free stretch of 160 in the view for an own ship to go back and forth";
    Ship* const ship = AddShip(g_currentWorld->ships, from.x(), from.y());
    auto reselect = [ship] {
        GameLockGuard lock;
        g_selPlanet = nullptr, g_selShip = ship, ship->actionPoints = 100000;
    };
    g_scrollRight = 0;
    reselect();
    bool there = false;  // each try moves the ship to the other end, as a left click there does
    auto move = [&] {
        const QPoint at = (there = !there) ? to : from;
        QMouseEvent click(QEvent::MouseButtonPress, at, view().mapToGlobal(at), Qt::LeftButton, Qt::LeftButton, {});
        QApplication::sendEvent(&view(), &click);
    };
    SendDuring(move, reselect, [] { return g_selShip == nullptr; });
    GameLockGuard lock;
    EXPECT_EQ(QPoint(ship->x - g_viewLeft, ship->y - g_viewTop), there ? to : from);  // the move went through
}

}  // namespace
}  // namespace qv::shell::test
