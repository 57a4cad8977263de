// The player's input while the game thread waits for the drawing thread (a
// turn being played, a ship's move being drawn): the waits show new frames
// and serve the window system, but a click or key that comes in meanwhile
// stays queued until the turn or the move is over, and is handled then.
//
// The input goes in as the window system delivers it, through its queue
// (QWindowSystemInterface), from a timer that only runs while a wait serves
// the event loop; after that, two more rounds of the loop are seen inside the
// same wait before it counts.
#include <QMouseEvent>
#include <QComboBox>

#include <cmath>
#include <QTimer>
#include <QWindow>
#include <qpa/qwindowsysteminterface.h>

#include "model/lists.h"
#include "shell_fixture.h"

namespace qv::shell::test {
namespace {

using Delivery = QWindowSystemInterface::AsynchronousDelivery;

class InputDuringWaits : public ShellTest {
protected:
    // Frames at 10 a second: each wait for a frame lasts long enough for the
    // event loop to be served a few times.
    DrawingOptions drawing() const override { return DrawingOptions{std::chrono::milliseconds(100)}; }

    void SetUp() override {
        ShellTest::SetUp();
        ASSERT_TRUE(started_);
        ASSERT_TRUE(NewGame([](NewGameDialog& d) {
            d.list(NewGameDialog::Unstability)->setCurrentIndex(3);  // None: no event takes the home planet
        }));
        frame().activateWindow();
        view().setFocus();
        ASSERT_TRUE(SpinUntil([&] { return QGuiApplication::focusWindow() == frame().windowHandle(); }));
        // The arrow key still sets its flag, but the view keeps its place.
        platform().handshakes().changeScrollStep(0);
    }

    // A right click and the Right arrow key pressed, queued by the window
    // system for the map view.
    void SendInput() {
        QWindow* window = frame().windowHandle();
        const QPointF local = view().mapTo(&frame(), QPointF(400, 300));
        const QPointF global = frame().mapToGlobal(local);
        QWindowSystemInterface::handleMouseEvent<Delivery>(window, local, global, Qt::RightButton, Qt::RightButton,
                                                           QEvent::MouseButtonPress);
        QWindowSystemInterface::handleMouseEvent<Delivery>(window, local, global, Qt::NoButton, Qt::RightButton,
                                                           QEvent::MouseButtonRelease);
        QWindowSystemInterface::handleKeyEvent<Delivery>(window, QEvent::KeyPress, Qt::Key_Right, Qt::NoModifier);
    }

    // Runs wait() until the input was sent inside it and the event loop was
    // served twice more before it ended; false when no try got that far.
    bool SendDuring(const std::function<void()>& wait) {
        for (int attempt = 0; attempt < 30; ++attempt) {
            bool inside = true, sent = false;
            int roundsAfter = 0;
            {
                QObject context;  // no timer outlives its try
                std::function<void()> count = [&] {
                    if (!inside || ++roundsAfter >= 2) return;
                    QTimer::singleShot(0, &context, count);
                };
                QTimer::singleShot(0, &context, [&] {
                    if (!inside) return;
                    SendInput();
                    sent = true;
                    QTimer::singleShot(0, &context, count);
                });
                wait();
                inside = false;
            }
            if (sent && roundsAfter >= 2) return true;
            if (sent) ReleaseAndSettle();  // too short a wait: try again from a clean state
        }
        return false;
    }

    // Lets the queued input through and stops the scrolling it started.
    void ReleaseAndSettle() {
        SpinUntil([] { return g_scrollRight.load() != 0; }, 2000);
        QWindowSystemInterface::handleKeyEvent<Delivery>(frame().windowHandle(), QEvent::KeyRelease, Qt::Key_Right,
                                                         Qt::NoModifier);
        SpinUntil([] { return g_scrollRight.load() == 0; }, 2000);
        GameLockGuard lock;
        if (reselect) reselect();
    }

    // Puts back the selection the right click cleared.
    std::function<void()> reselect;
};

TEST_F(InputDuringWaits, AClickAndAKeyDuringEndTurnAreHandledAfterTheTurn) {
    Planet* const home = g_selPlanet;
    ASSERT_NE(home, nullptr);
    reselect = [home] { g_selPlanet = home; };
    ASSERT_EQ(g_scrollRight.load(), 0);
    ASSERT_TRUE(SendDuring([&] { doc().OnEndTurn(); })) << "no turn waited long enough for the input";
    // The turn is over and neither the click nor the key has been handled.
    EXPECT_EQ(g_selPlanet, home);
    EXPECT_EQ(g_scrollRight.load(), 0);
    // Both are handled once the event loop runs again.
    EXPECT_TRUE(SpinUntil([] { return g_selPlanet == nullptr && g_scrollRight.load() == 1; }));
    ReleaseAndSettle();
}

TEST_F(InputDuringWaits, AClickAndAKeyDuringAShipsMoveAreHandledAfterTheMove) {
    Ship* ship = nullptr;
    QPoint from, to;
    {
        GameLockGuard lock;
        // An own ship in open space with room to go back and forth 160
        // pixels, nothing near either end.
        World* w = g_currentWorld;
        auto clear = [&](QPoint p) {
            const std::int32_t x = p.x() + g_viewLeft, y = p.y() + g_viewTop;
            for (Planet* o = w->planets; o; o = o->next)
                if (std::hypot(o->x - x, o->y - y) < 80) return false;
            for (Asteroid* o = w->asteroids; o; o = o->next)
                if (std::hypot(o->x - x, o->y - y) < 80) return false;
            for (Ship* o = w->ships; o; o = o->next)
                if (std::hypot(o->x - x, o->y - y) < 80) return false;
            return true;
        };
        for (int y = 200; y <= 500 && from.isNull(); y += 20)
            for (int x = 80; x <= 400 && from.isNull(); x += 20)
                if (clear({x, y}) && clear({x + 160, y})) from = {x, y}, to = {x + 160, y};
        ASSERT_FALSE(from.isNull()) << "no free stretch in the view";
        ship = new Ship;
        ship->owner = g_players;
        ship->model = g_players->race->shipModels;
        ship->x = from.x() + g_viewLeft;
        ship->y = from.y() + g_viewTop;
        ship->actionPoints = 100000;
        InsertAtHead(w->ships, ship);
        ++g_players->shipCount;
        g_selPlanet = nullptr;
        g_selShip = ship;
    }
    reselect = [ship] { g_selShip = ship; };
    // Each try moves the ship to the other end, as a left click there does.
    bool there = false;
    const bool sent = SendDuring([&] {
        const QPoint target = there ? from : to;
        QMouseEvent click(QEvent::MouseButtonPress, QPointF(target), view().mapToGlobal(QPointF(target)),
                          Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&view(), &click);
        there = !there;
    });
    ASSERT_TRUE(sent) << "no move waited long enough for the input";
    {
        GameLockGuard lock;
        const QPoint target = there ? to : from;
        EXPECT_EQ(QPoint(ship->x - g_viewLeft, ship->y - g_viewTop), target);  // the move went through
    }
    EXPECT_EQ(g_selShip, ship);
    EXPECT_EQ(g_scrollRight.load(), 0);
    EXPECT_TRUE(SpinUntil([] { return g_selShip == nullptr && g_scrollRight.load() == 1; }));
    ReleaseAndSettle();
}

}  // namespace
}  // namespace qv::shell::test
