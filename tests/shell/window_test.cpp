// The window's wiring: menu commands and keys, modal dialogs, the exit question, files and autosaves.
#include <QComboBox>
#include <QDropEvent>
#include <QMimeData>
#include <QSet>
#include <QSlider>
#include <QStyleOptionSlider>
#include <QUrl>

#include "shell/asteroid_options_dialog.h"
#include "shell/autosave.h"
#include "shell/game_options_dialog.h"
#include "shell/planet_options_dialog.h"
#include "shell/ship_options_dialog.h"
#include "shell_fixture.h"

namespace qv::shell::test {
namespace {

using Window = ShellTest;

TEST_F(Window, EachCommandHasItsKeyAndDoesItsOneThing) {
    EXPECT_FALSE(frame().action(Command::NextShip)->isEnabled());  // no ship selected
    int asked = 0;
    doc().runNewGameDialog = [&](NewGameDialog&) { return ++asked, int(QDialog::Rejected); };
    doc().chooseOpenFile = [&] { return ++asked, QString(); };
    doc().chooseSaveFile = [&] { return path(QString::number(++asked)); };
    doc().runOptionsDialog = [&](GameOptionsDialog& d) { return d.slider()->setValue(0), int(QDialog::Accepted); };
    Ship *a = nullptr, *b = nullptr;
    World* const shown = g_currentWorld;
    std::int32_t left = 0;
    {
        GameLockGuard lock;  // the view away from the selected planet
        left = g_viewLeft = g_viewLeft > 400 ? 0 : g_worldSize - 800;
        g_viewRight = g_viewLeft + 800;
    }
    const struct {
        Command command;
        QKeySequence key;
        std::function<bool()> did;
    } rows[] = {
        {Command::New, QKeySequence("Ctrl+N"), [&] { return asked == 1; }},
        {Command::Open, QKeySequence("Ctrl+O"), [&] { return asked == 2; }},
        {Command::Save, QKeySequence("Ctrl+S"), [&] { return doc().pathName() == path("3.zvq"); }},  // asks: a new game
        {Command::SaveAs, {}, [&] { return QFile::exists(path("4.zvq")); }},
        {Command::CenterOnSelection, QKeySequence("F7"), [&] { return g_viewLeft != left; }},
        {Command::NextShip, QKeySequence("F5"), [&] { return g_selShip == b; }},
        {Command::PreviousShip, QKeySequence("F6"), [&] { return g_selShip == a; }},
        {Command::NextWorld, QKeySequence("PgUp"), [&] { return g_currentWorld != shown; }},
        {Command::PreviousWorld, QKeySequence("PgDown"), [&] { return g_currentWorld == shown; }},
        {Command::EndTurn, QKeySequence("End"),  // a turn under the hour-glass, the arrow back after it
         [&] { return g_turn == 2 && platform().cursor == 0 && !QApplication::overrideCursor(); }},
        {Command::Options, {}, [&] { return g_scrollStep.load() == 0 && doc().options().scrollSpeedOption == 0; }},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(static_cast<int>(row.command));
        if (row.command == Command::NextShip) {
            AddShip(g_currentWorld->ships, 300, 100);  // a third: Previous from a is not b
            b = AddShip(g_currentWorld->ships, 100, 100);
            a = AddShip(g_currentWorld->ships, 200, 100);
            GameLockGuard lock;
            g_selPlanet = nullptr, g_selShip = a;
            frame().UpdateCommandUI();
        }
        platform().cursor = -1;
        EXPECT_EQ(frame().action(row.command)->shortcut(), row.key);
        ASSERT_TRUE(frame().action(row.command)->isEnabled());
        frame().action(row.command)->trigger();
        EXPECT_TRUE(row.did());
    }
}

TEST(GameOptions, TheTrackBarHasOneTickAtTheStepInUseAndItsThumbOnIt) {
    GameOptionsDialog dialog(50, 30, nullptr);  // the option 50, the map scrolling by 30
    dialog.show();
    QSlider* const slider = dialog.slider();
    EXPECT_EQ(dialog.value(), 30);
    const QImage shot = slider->grab().toImage();
    QStyleOptionSlider option;
    option.initFrom(slider);
    const int length = slider->style()->pixelMetric(QStyle::PM_SliderLength, &option, slider);
    const int tick = QStyle::sliderPositionFromValue(0, 100, 30, slider->width() - length) + length / 2;
    QSet<int> columns;  // under the groove and the thumb: the ticks only
    for (int x = 0; x < shot.width(); ++x)
        for (int y = shot.height() - 3; y < shot.height(); ++y)
            if (shot.pixel(x, y) != dialog.palette().color(QPalette::Window).rgb()) columns.insert(x);
    EXPECT_FALSE(columns.isEmpty());
    for (int x : columns) EXPECT_LE(std::abs(x - tick), 1) << x;
}

TEST_F(Window, ModalDialogsLendTheGameLockAndOnlyYesToTheExitQuestionEndsTheGame) {
    Ship* const ship = AddShip(g_currentWorld->ships, 300, 300);
    platform().setAutoAnswer(std::nullopt);  // the real question box, answered No
    const std::pair<QString, std::function<void()>> rows[] = {
        {"Quorvane", [&] { EXPECT_TRUE(!frame().close() && endedWith_ == -1 && g_currentWorld); }},
        {"Planet Options", [&] { RunPlanetOptions(&frame()); }},  // the home planet, selected
        {"Ship Options", [&] { g_selShip = ship, RunShipOptions(&frame()); }},
        {"Asteroid Options", [&] { g_selAsteroid = g_currentWorld->asteroids, RunAsteroidOptions(&frame()); }},
        {"Statistics", [&] { frame().action(Command::Statistics)->trigger(); }},
        {"About Quorvane", [&] { frame().action(Command::About)->trigger(); }},
    };
    for (const auto& [expected, open] : rows) {
        QString title;
        bool drawn = false;
        ModalDialog dialog;
        dialog.whenOpen<QDialog>([&](QDialog& d) {
            title = d.windowTitle(), drawn = Drawn();
            d.reject();
        });
        {
            GameLockGuard lock;  // as the map's click holds it
            open();
        }
        EXPECT_EQ(title, expected);
        EXPECT_TRUE(drawn) << expected.toStdString();
    }
    platform().setAutoAnswer(true);  // Yes ends the game and the program
    frame().action(Command::Exit)->trigger();
    EXPECT_EQ(platform().questions, std::vector<std::string>(2, "Are you sure want to exit?"));
    EXPECT_EQ(endedWith_, 0);
    EXPECT_EQ(g_currentWorld, nullptr);
    EXPECT_EQ(g_drawingPaused.load(), 1);
    EXPECT_TRUE(SpinUntil([&] { return !frame().action(Command::EndTurn)->isEnabled(); }));  // greyed without a game
}

TEST_F(Window, NewTakesTheChosenOptionsRemembersThemAndCancelKeepsTheGame) {
    ASSERT_TRUE(NewGame([](NewGameDialog& d) { d.list(NewGameDialog::Credits)->setCurrentIndex(0); }));  // 5000
    EXPECT_EQ(g_players->gold, 5000);
    const std::vector<std::uint8_t> before = Snapshot(doc().options());
    auto other = [](NewGameDialog& d) {
        EXPECT_EQ(d.list(NewGameDialog::Credits)->currentIndex(), 0);
        d.list(NewGameDialog::Credits)->setCurrentIndex(4);
    };
    EXPECT_FALSE(NewGame(other, QDialog::Rejected));
    EXPECT_EQ(Snapshot(doc().options()), before);
}

TEST_F(Window, SaveAsOpenAndSaveKeepTheGameAndARefusedFileLosesNothing) {
    doc().chooseSaveFile = [] { return QString(); };
    EXPECT_FALSE(doc().OnFileSaveAs());  // cancelled
    doc().OnEndTurn();
    doc().chooseSaveFile = [&] { return path("first"); };  // the extension is added
    ASSERT_TRUE(doc().OnFileSaveAs());
    EXPECT_EQ(static_cast<std::size_t>(ReadAll(path("first.zvq")).size()), SavedGameSize());
    doc().OnEndTurn();
    doc().chooseOpenFile = [&] { return path("first.zvq"); };
    ASSERT_TRUE(doc().OnFileOpen());
    EXPECT_EQ(g_turn, 2);
    doc().chooseSaveFile = [] { return ADD_FAILURE() << "Save asked for a file", QString(); };
    doc().OnEndTurn();
    ASSERT_TRUE(doc().OnFileSave());  // to the game's own file, without asking

    const std::vector<std::uint8_t> before = Snapshot(doc().options());
    ASSERT_TRUE(QFile::copy(path("first.zvq"), path("short.zvq")) && QFile::resize(path("short.zvq"), 300));
    ASSERT_TRUE(QDir(scratch_.path()).mkdir("folder.zvq"));
    platform().messages.clear();
    EXPECT_FALSE(doc().OnOpenDocument(path("short.zvq")));
    EXPECT_FALSE(doc().OnSaveDocument(path("folder.zvq")));
    ASSERT_EQ(platform().messages.size(), 2u);
    EXPECT_NE(platform().messages[0].find("short.zvq"), std::string::npos) << platform().messages[0];
    EXPECT_NE(platform().messages[1].find("Unable to save"), std::string::npos) << platform().messages[1];
    EXPECT_EQ(Snapshot(doc().options()), before);  // nothing lost
    EXPECT_EQ(doc().pathName(), path("first.zvq"));
    EXPECT_TRUE(Drawn());
    ASSERT_TRUE(doc().OnOpenDocument(path("first.zvq")));
    EXPECT_EQ(g_turn, 3);
    doc().autosaver().flush();  // each End Turn was autosaved
    ASSERT_TRUE(doc().OnOpenDocument(doc().autosaver().path(3)));
    EXPECT_EQ(g_turn, 2);
}

TEST_F(Window, TheRecentListKeepsFourNewestFirstTakesDropsAndDropsFilesThatFail) {
    for (int i = 1; i <= 5; ++i) ASSERT_TRUE(doc().OnSaveDocument(path(QString("game%1.zvq").arg(i))));
    const QStringList expected = {path("game5.zvq"), path("game4.zvq"), path("game3.zvq"), path("game2.zvq")};
    EXPECT_EQ(doc().recentFiles().files(), expected);
    EXPECT_EQ(RecentFiles().files(), expected);  // kept in the settings for the next start
    const QList<QAction*> recent = frame().recentFileActions();
    ASSERT_EQ(recent.size(), 4);
    EXPECT_TRUE(recent[0]->text().startsWith("&1 ") && recent[0]->text().endsWith("game5.zvq"));
    EXPECT_FALSE(recent[0]->associatedObjects().isEmpty());  // in the File menu
    recent[2]->trigger();                                    // game3 goes on top
    EXPECT_EQ(doc().pathName(), path("game3.zvq"));
    QMimeData mime;  // a file dropped on the window is opened
    mime.setUrls({QUrl::fromLocalFile(path("game1.zvq"))});
    QDropEvent drop(QPointF(400, 300), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    static_cast<QObject&>(frame()).event(&drop);  // no drag in progress to pass it through the application
    EXPECT_EQ(doc().recentFiles().files().mid(0, 2), QStringList({path("game1.zvq"), path("game3.zvq")}));
    ASSERT_TRUE(QFile::remove(path("game4.zvq")));
    EXPECT_FALSE(frame().OpenFile(path("game4.zvq")));
    EXPECT_EQ(frame().recentFileActions().size(), 3);
}

// Hands the games over one by one, each written before the next; then the files' first bytes.
QStringList SaveEach(Autosaver& saver, const QList<QByteArray>& games) {
    for (const QByteArray& g : games) {
        saver.save({g.begin(), g.end()});
        saver.flush();
    }
    QStringList out;
    for (int n = 1; n <= Autosaver::kFiles; ++n) out << QString::fromLatin1(ReadAll(saver.path(n)).left(6));
    return out;
}

TEST(Autosaver, KeepsThePreviousGameWhenARotationFailsAndTheNewestWhenTurnsEndWhileWriting) {
    QTemporaryDir dir;
    Autosaver saver(dir.filePath("saves"));
    SaveEach(saver, {"older", "prev"});
    // A folder with something in it stands where the second file must go.
    ASSERT_TRUE(QDir().mkpath(saver.path(3) + "/inside"));
    EXPECT_EQ(SaveEach(saver, {"lost"}), QStringList({"prev", "older", ""}));
    EXPECT_FALSE(saver.lastError().isEmpty());
    ASSERT_TRUE(QDir(saver.path(3)).removeRecursively());
    EXPECT_EQ(SaveEach(saver, {"next", "last"}), QStringList({"last", "next", "prev"}));
    EXPECT_TRUE(saver.lastError().isEmpty());
    EXPECT_EQ(QDir(dir.filePath("saves")).entryList(QDir::Files).size(), 3);  // nothing left over

    // The worker makes its folder, then is busy with a big game while two more turns end.
    Autosaver busy(dir.filePath("busy"));
    busy.save(std::vector<std::uint8_t>(32 << 20, 'a'));
    SpinUntil([&] { return QDir(busy.folder()).exists(); }, 60000);
    busy.save({'t', 'u', 'r', 'n', ' ', '2'});
    busy.save({'t', 'u', 'r', 'n', ' ', '3'});
    // "turn 2" is written only if the big game was done before "turn 3" came.
    busy.flush();
    const QStringList files = SaveEach(busy, {});
    EXPECT_TRUE(files == QStringList({"turn 3", "aaaaaa", ""}) || files == QStringList({"turn 3", "turn 2", "aaaaaa"}))
        << files.join(", ").toStdString();
}

}  // namespace
}  // namespace qv::shell::test
