// The map view's input: the mouse buttons give their orders to the game, the
// arrow keys scroll until let go (no other key does), and the pointer at the
// map's edges scrolls and sets the view's cursor.
#include <QKeyEvent>
#include <QMouseEvent>

#include "shell/planet_options_dialog.h"
#include "shell_fixture.h"

namespace qv::shell::test {
namespace {

class ViewInput : public ShellTest {
protected:
    void TearDown() override {
        PlanetDialogHook() = nullptr;
        ShellTest::TearDown();
    }

    void Press(QPoint at, Qt::MouseButton button) {
        QMouseEvent event(QEvent::MouseButtonPress, QPointF(at), view().mapToGlobal(QPointF(at)), button, button,
                          Qt::NoModifier);
        QApplication::sendEvent(&view(), &event);
    }
    void Move(QPoint at) {
        QMouseEvent event(QEvent::MouseMove, QPointF(at), view().mapToGlobal(QPointF(at)), Qt::NoButton, Qt::NoButton,
                          Qt::NoModifier);
        QApplication::sendEvent(&view(), &event);
    }
    void Key(QEvent::Type type, int key, bool autoRepeat = false) {
        QKeyEvent event(type, key, Qt::NoModifier, QString(), autoRepeat);
        QApplication::sendEvent(&view(), &event);
    }

    static int ScrollFlagsSet() {
        int n = 0;
        for (const auto* flag : {&g_scrollUp, &g_scrollDown, &g_scrollLeft, &g_scrollRight, &g_scrollUpRight,
                                 &g_scrollDownRight, &g_scrollUpLeft, &g_scrollDownLeft})
            n += flag->load() != 0 ? 1 : 0;
        return n;
    }
};

TEST_F(ViewInput, TheLeftButtonSelectsAndOpensThePanelTheRightButtonClears) {
    ASSERT_TRUE(NewGame());
    Planet* home = nullptr;
    QPoint at;
    {
        GameLockGuard lock;
        home = g_selPlanet;
        ASSERT_NE(home, nullptr);
        // The view put where the planet stands clear of the minimap.
        g_viewLeft = home->x - 300;
        g_viewTop = home->y - 300;
        g_viewRight = g_viewLeft + 800;
        g_viewBottom = g_viewTop + 600;
        at = QPoint(300, 300);
    }

    // The right button anywhere clears the selection; the commands follow.
    Press({400, 300}, Qt::RightButton);
    EXPECT_EQ(g_selPlanet, nullptr);
    EXPECT_FALSE(frame().action(Command::CenterOnSelection)->isEnabled());

    // A first click selects the planet, a second opens its panel from the
    // click with the game lock held.
    QString opened;
    bool lockHeld = false;
    PlanetDialogHook() = [&](QDialog& dialog) {
        opened = dialog.windowTitle();
        lockHeld = GameLock().heldByThisThread();
        return int(QDialog::Rejected);
    };
    Press(at, Qt::LeftButton);
    EXPECT_EQ(g_selPlanet, home);
    EXPECT_TRUE(frame().action(Command::CenterOnSelection)->isEnabled());
    EXPECT_TRUE(opened.isEmpty());
    Press(at, Qt::LeftButton);
    EXPECT_EQ(opened, "Planet Options");
    EXPECT_TRUE(lockHeld);
    EXPECT_EQ(g_selPlanet, home);
    EXPECT_FALSE(GameLock().heldByThisThread());
}

TEST_F(ViewInput, AnArrowKeyScrollsUntilLetGoAndOtherKeysDoNot) {
    ASSERT_TRUE(NewGame());
    {
        GameLockGuard lock;
        ASSERT_GT(g_worldSize, 1600);
        g_viewLeft = 0;
        g_viewRight = 800;
    }
    Move({400, 300});  // the pointer in the inner area: no scrolling of its own
    Key(QEvent::KeyPress, Qt::Key_Right);
    EXPECT_EQ(g_scrollRight.load(), 1);
    EXPECT_TRUE(SpinUntil([] {
        GameLockGuard lock;
        return g_viewLeft > 0;
    })) << "the drawing thread did not scroll";
    // A key held down sends releases marked as repeats: still scrolling.
    Key(QEvent::KeyRelease, Qt::Key_Right, true);
    Key(QEvent::KeyPress, Qt::Key_Right, true);
    EXPECT_EQ(g_scrollRight.load(), 1);
    Key(QEvent::KeyRelease, Qt::Key_Right);
    EXPECT_EQ(ScrollFlagsSet(), 0);

    for (int key : {Qt::Key_Home, Qt::Key_PageUp, Qt::Key_PageDown, Qt::Key_Space, Qt::Key_A, Qt::Key_Escape}) {
        Key(QEvent::KeyPress, key);
        EXPECT_EQ(ScrollFlagsSet(), 0) << std::hex << key;
        Key(QEvent::KeyRelease, key);
    }
    Key(QEvent::KeyPress, Qt::Key_Up);
    EXPECT_EQ(g_scrollUp.load(), 1);
    Key(QEvent::KeyPress, Qt::Key_Left);
    EXPECT_EQ(g_scrollLeft.load(), 1);
    Key(QEvent::KeyPress, Qt::Key_Down);
    EXPECT_EQ(g_scrollDown.load(), 1);
    Key(QEvent::KeyRelease, Qt::Key_Down);
    EXPECT_EQ(ScrollFlagsSet(), 0);
}

TEST_F(ViewInput, ThePointerAtTheEdgesScrollsAndSetsTheViewsCursor) {
    ASSERT_TRUE(NewGame());
    Move({10, 10});
    EXPECT_EQ(g_scrollUpLeft.load(), 1);
    EXPECT_EQ(view().cursor().shape(), Qt::BitmapCursor);  // the scroll arrow
    Move({400, 570});
    EXPECT_EQ(ScrollFlagsSet(), 0);
    Move({10, 300});
    EXPECT_EQ(g_scrollLeft.load(), 1);
    // Leaving the map for the menu bar stops the scrolling.
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(&view(), &leave);
    EXPECT_EQ(ScrollFlagsSet(), 0);
}

}  // namespace
}  // namespace qv::shell::test
