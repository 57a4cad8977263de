// The main window: the menu with its texts, separators and
// keys, the commands greyed without a game and what the Game menu's commands
// reach, Game Options and the question asked before the program ends.
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QSlider>

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
                      Command::Statistics, Command::CenterOnSelection})
        EXPECT_TRUE(frame().action(c)->isEnabled()) << static_cast<int>(c);
    // The home planet is selected, no ship: the ship commands stay greyed.
    EXPECT_FALSE(frame().action(Command::NextShip)->isEnabled());
}

TEST_F(MainWindow, TheGameMenusCommandsReachTheGame) {
    ASSERT_TRUE(NewGame());
    // End Turn plays a turn with the hour-glass over the whole program, and
    // the arrow back afterwards.
    const int turn = g_turn;
    platform().cursor = -1;
    frame().action(Command::EndTurn)->trigger();
    EXPECT_EQ(g_turn, turn + 1);
    EXPECT_EQ(platform().cursor, 0);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);

    // F7 brings the selected planet back into the middle of the view.
    std::int32_t left = 0;
    {
        GameLockGuard lock;
        ASSERT_NE(g_selPlanet, nullptr);
        g_viewLeft = g_viewLeft > 400 ? 0 : g_worldSize - 800;
        g_viewRight = g_viewLeft + 800;
        left = g_viewLeft;
    }
    frame().action(Command::CenterOnSelection)->trigger();
    EXPECT_NE(g_viewLeft, left);

    // Page Up and Page Down go round the worlds.
    World* const shown = g_currentWorld;
    ASSERT_NE(g_worlds->next, nullptr) << "a game of one world";
    frame().action(Command::NextWorld)->trigger();
    EXPECT_NE(g_currentWorld, shown);
    frame().action(Command::PreviousWorld)->trigger();
    EXPECT_EQ(g_currentWorld, shown);
}

TEST_F(MainWindow, GameOptionsCancelKeepsTheStepAndOkTakesTheNewOne) {
    ASSERT_TRUE(NewGame());
    ASSERT_EQ(g_scrollStep.load(), 30);
    int shownValue = -1;
    doc().runOptionsDialog = [&](GameOptionsDialog& d) {
        shownValue = d.slider()->value();
        EXPECT_EQ(d.windowTitle(), "Game Options");
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
    EXPECT_EQ(g_scrollStep.load(), 0);  // handed to the drawing thread
}

TEST_F(MainWindow, NoToTheExitQuestionKeepsTheGameRunning) {
    ASSERT_TRUE(NewGame());
    platform().setAutoAnswer(std::nullopt);  // the real question box
    const std::vector<std::uint8_t> before = Snapshot(doc().options());
    QString asked;
    bool drawnBehind = false;
    ModalDialog answer;
    answer.whenOpen<QMessageBox>([&](QMessageBox& box) {
        asked = box.text();
        EXPECT_EQ(box.icon(), QMessageBox::Question);
        // The game lock is lent out while the question is open.
        const std::uint64_t serial = view().frameSerial();
        drawnBehind = SpinUntil([&] { return view().frameSerial() > serial; });
        box.button(QMessageBox::No)->click();
    });
    EXPECT_FALSE(frame().close());
    EXPECT_EQ(answer.acted(), 1);
    EXPECT_EQ(asked, "Are you sure want to exit?");
    EXPECT_TRUE(drawnBehind);
    EXPECT_EQ(endedWith_, -1);
    EXPECT_EQ(Snapshot(doc().options()), before);
    doc().OnEndTurn();  // still playable
    EXPECT_EQ(g_turn, 2);

    // Exit asks the same question; Yes ends the game and the program.
    answer.whenOpen<QMessageBox>([](QMessageBox& box) { box.button(QMessageBox::Yes)->click(); });
    frame().action(Command::Exit)->trigger();
    EXPECT_EQ(answer.acted(), 2);
    EXPECT_EQ(endedWith_, 0);
    EXPECT_EQ(g_currentWorld, nullptr);
    EXPECT_EQ(g_players, nullptr);
    EXPECT_EQ(g_drawingPaused.load(), 1);
}

}  // namespace
}  // namespace qv::shell::test
