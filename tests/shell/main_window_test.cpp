// The main window: its fixed shape, the menu with its texts, separators and
// keys, the commands greyed without a game, Game Options, the About box and
// the question asked before the program ends.
#include <QLabel>
#include <QMenuBar>
#include <QMouseEvent>
#include <QMessageBox>
#include <QPushButton>
#include <QSlider>
#include <QTimer>

#include "shell/about_dialog.h"
#include "shell/game_options_dialog.h"
#include "shell_fixture.h"

namespace qv::shell::test {
namespace {

using MainWindow = ShellTest;

// The menu as "text|shortcut" per entry, "-" per separator.
QStringList Layout(const QMenu* menu) {
    QStringList out;
    for (const QAction* a : menu->actions()) {
        if (a->isSeparator()) {
            if (a->isVisible()) out << "-";
            continue;
        }
        out << a->text() + "|" + a->shortcut().toString();
    }
    return out;
}

TEST_F(MainWindow, IsAFixedWindowWithTheMapUnderTheMenu) {
    ASSERT_TRUE(started_);
    EXPECT_EQ(frame().windowTitle(), "Quorvane version 1.00 Final");
    EXPECT_EQ(view().size(), QSize(800, 600));
    EXPECT_EQ(frame().minimumSize(), frame().maximumSize());
    EXPECT_EQ(frame().size().width(), 800);
    EXPECT_EQ(frame().size().height(), 600 + frame().menuBar()->sizeHint().height());
    EXPECT_EQ(frame().pos(), QPoint(0, 0));
    const Qt::WindowFlags flags = frame().windowFlags();
    EXPECT_FALSE(flags & Qt::WindowMaximizeButtonHint);
    EXPECT_TRUE(flags & Qt::WindowMinimizeButtonHint);
    EXPECT_TRUE(flags & Qt::WindowCloseButtonHint);
    EXPECT_TRUE(frame().acceptDrops());
}

TEST_F(MainWindow, MenuHasItsTextsSeparatorsAndKeys) {
    const QList<QAction*> menus = frame().menuBar()->actions();
    ASSERT_EQ(menus.size(), 3);
    EXPECT_EQ(menus[0]->text(), "&File");
    EXPECT_EQ(menus[1]->text(), "Game");
    EXPECT_EQ(menus[2]->text(), "&Help");
    EXPECT_EQ(Layout(menus[0]->menu()),
              QStringList({"&New|Ctrl+N", "&Open...|Ctrl+O", "&Save|Ctrl+S", "Save &As...|", "-", "E&xit|"}));
    EXPECT_EQ(Layout(menus[1]->menu()),
              QStringList({"Next Ship|F5", "Previous Ship|F6", "Center on sel. object|F7", "-", "&Next World|PgUp",
                           "Previous World|PgDown", "-", "End Turn|End", "-", "Statistics...|", "Options...|"}));
    EXPECT_EQ(Layout(menus[2]->menu()), QStringList({"&About Zarvon...|"}));

    // With recent files a second separator stands before Exit.
    ASSERT_TRUE(NewGame());
    ASSERT_TRUE(doc().OnSaveDocument(path("one.zvq")));
    const QStringList file = Layout(menus[0]->menu());
    ASSERT_EQ(file.size(), 8);
    EXPECT_EQ(file[4], "-");
    EXPECT_TRUE(file[5].startsWith("&1 ") && file[5].contains("one.zvq"));
    EXPECT_EQ(file[6], "-");
    EXPECT_EQ(file[7], "E&xit|");
}

TEST_F(MainWindow, GameCommandsAreGreyedUntilAGameExists) {
    for (Command c : {Command::Save, Command::SaveAs, Command::NextWorld, Command::PreviousWorld, Command::EndTurn,
                      Command::Statistics, Command::NextShip, Command::PreviousShip, Command::CenterOnSelection})
        EXPECT_FALSE(frame().action(c)->isEnabled()) << static_cast<int>(c);
    for (Command c : {Command::New, Command::Open, Command::Exit, Command::Options, Command::About})
        EXPECT_TRUE(frame().action(c)->isEnabled()) << static_cast<int>(c);

    // A greyed key does nothing: End on the title screen plays no turn.
    frame().action(Command::EndTurn)->trigger();
    EXPECT_EQ(g_turn, 0);

    ASSERT_TRUE(NewGame());
    for (Command c : {Command::Save, Command::SaveAs, Command::NextWorld, Command::PreviousWorld, Command::EndTurn,
                      Command::Statistics})
        EXPECT_TRUE(frame().action(c)->isEnabled()) << static_cast<int>(c);
    // The home planet is selected, no ship: the ship commands stay greyed.
    EXPECT_FALSE(frame().action(Command::NextShip)->isEnabled());
    EXPECT_TRUE(frame().action(Command::CenterOnSelection)->isEnabled());
    {
        GameLockGuard lock;
        g_selPlanet = nullptr;
    }
    frame().UpdateCommandUI();
    EXPECT_FALSE(frame().action(Command::CenterOnSelection)->isEnabled());
    EXPECT_FALSE(frame().action(Command::NextShip)->isEnabled());

    // End Turn through its menu item plays a turn, with the hour-glass shown
    // while it runs.
    const int turn = g_turn;
    platform().cursor = -1;
    frame().action(Command::EndTurn)->trigger();
    EXPECT_EQ(g_turn, turn + 1);
    EXPECT_EQ(platform().cursor, 0);  // the arrow is back
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(MainWindow, GameOptionsCancelKeepsTheStepAndOkTakesTheNewOne) {
    ASSERT_TRUE(NewGame());
    ASSERT_EQ(g_scrollStep.load(), 30);
    int shownValue = -1;
    doc().runOptionsDialog = [&](GameOptionsDialog& d) {
        shownValue = d.slider()->value();
        EXPECT_EQ(d.windowTitle(), "Game Options");
        EXPECT_EQ(d.slider()->minimum(), 0);
        EXPECT_EQ(d.slider()->maximum(), 100);
        d.slider()->setValue(75);
        return int(QDialog::Rejected);
    };
    frame().action(Command::Options)->trigger();
    EXPECT_EQ(shownValue, 30);  // the thumb on the step in use
    EXPECT_EQ(g_scrollStep.load(), 30);
    EXPECT_EQ(doc().options().scrollSpeedOption, 30);

    doc().runOptionsDialog = [&](GameOptionsDialog& d) {
        d.slider()->setValue(0);
        return int(QDialog::Accepted);
    };
    frame().action(Command::Options)->trigger();
    EXPECT_EQ(doc().options().scrollSpeedOption, 0);
    EXPECT_EQ(g_scrollStep.load(), 0);  // the map stops scrolling

    // Scrolling with a step of 0 leaves the view where it was.
    const std::int32_t left = g_viewLeft, top = g_viewTop;
    g_scrollRight = 1;
    g_scrollDown = 1;
    const std::uint64_t serial = view().frameSerial();
    EXPECT_TRUE(SpinUntil([&] { return view().frameSerial() > serial + 3; }));
    g_scrollRight = 0;
    g_scrollDown = 0;
    GameLockGuard lock;
    EXPECT_EQ(g_viewLeft, left);
    EXPECT_EQ(g_viewTop, top);
}

TEST_F(MainWindow, ThePointerOverTheMapScrollsAndSetsTheViewsCursor) {
    ASSERT_TRUE(NewGame());
    auto move = [&](QPoint at) {
        QMouseEvent event(QEvent::MouseMove, QPointF(at), view().mapToGlobal(QPointF(at)), Qt::NoButton,
                          Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(&view(), &event);
    };
    move({10, 10});
    EXPECT_EQ(g_scrollUpLeft.load(), 1);
    EXPECT_EQ(view().cursor().shape(), Qt::BitmapCursor);  // the scroll arrow
    // The inner area: no scrolling; far from everything the arrow.
    {
        GameLockGuard lock;
        g_selPlanet = nullptr;
    }
    move({400, 590 - 20});
    EXPECT_EQ(g_scrollUpLeft.load(), 0);
    move({10, 300});
    EXPECT_EQ(g_scrollLeft.load(), 1);
    // Leaving the map for the menu bar stops the scrolling.
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(&view(), &leave);
    EXPECT_EQ(g_scrollLeft.load(), 0);
}

TEST_F(MainWindow, AboutBoxShowsTheVersion) {
    AboutDialog about(&frame());
    EXPECT_EQ(about.windowTitle(), "About Quorvane");
    QStringList texts;
    bool picture = false;
    for (const QLabel* l : about.findChildren<QLabel*>()) {
        texts << l->text();
        picture = picture || !l->pixmap().isNull();
    }
    EXPECT_TRUE(texts.contains("Quorvane version 1.11"));
    EXPECT_TRUE(picture);
    const QList<QPushButton*> buttons = about.findChildren<QPushButton*>();
    ASSERT_EQ(buttons.size(), 1);
    EXPECT_EQ(buttons[0]->text(), "OK");
}

// Answers the next question box with the button.
void AnswerNextQuestion(QMessageBox::StandardButton button, QString* text) {
    QTimer::singleShot(0, [=] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box) {
            AnswerNextQuestion(button, text);  // not open yet
            return;
        }
        *text = box->text();
        EXPECT_EQ(box->icon(), QMessageBox::Question);
        box->button(button)->click();
    });
}

TEST_F(MainWindow, NoToTheExitQuestionKeepsTheGameRunning) {
    ASSERT_TRUE(NewGame());
    platform().setAutoAnswer(std::nullopt);  // the real question box
    const std::vector<std::uint8_t> before = Snapshot(doc().options());
    QString asked;
    AnswerNextQuestion(QMessageBox::No, &asked);
    EXPECT_FALSE(frame().close());
    EXPECT_EQ(asked, "Are you sure want to exit?");
    EXPECT_EQ(endedWith_, -1);
    EXPECT_EQ(Snapshot(doc().options()), before);
    // Still drawn, still playable.
    const std::uint64_t serial = view().frameSerial();
    EXPECT_TRUE(SpinUntil([&] { return view().frameSerial() > serial; }));
    doc().OnEndTurn();
    EXPECT_EQ(g_turn, 2);

    // Exit asks the same question; Yes ends the game and the program.
    AnswerNextQuestion(QMessageBox::Yes, &asked);
    frame().action(Command::Exit)->trigger();
    EXPECT_EQ(endedWith_, 0);
    EXPECT_EQ(g_currentWorld, nullptr);
    EXPECT_EQ(g_players, nullptr);
    EXPECT_EQ(g_drawingPaused.load(), 1);
}

}  // namespace
}  // namespace qv::shell::test
