// Open, Save and Save As: a game comes back as it was saved, a refused file
// leaves the running game alone, the recent-file list follows, and a file
// dropped on the window or named at start opens.
#include <QMimeData>
#include <QDropEvent>
#include <QSettings>
#include <QUrl>

#include "shell/recent_files.h"
#include "shell_fixture.h"

namespace qv::shell::test {
namespace {

using FileCommands = ShellTest;

TEST_F(FileCommands, SaveAsThenOpenBringsTheGameBack) {
    ASSERT_TRUE(NewGame());
    doc().OnEndTurn();
    const int turn = g_turn;
    doc().chooseSaveFile = [&] { return path("first"); };  // the extension is added
    ASSERT_TRUE(doc().OnFileSaveAs());
    EXPECT_EQ(doc().pathName(), path("first.zvq"));
    const QByteArray saved = ReadAll(path("first.zvq"));
    EXPECT_EQ(static_cast<std::size_t>(saved.size()), SavedGameSize());

    // Play on, then go back to the saved game.
    doc().OnEndTurn();
    doc().chooseOpenFile = [&] { return path("first.zvq"); };
    ASSERT_TRUE(doc().OnFileOpen());
    EXPECT_EQ(g_turn, turn);
    EXPECT_EQ(doc().pathName(), path("first.zvq"));

    // Save writes to the file the game came from without asking.
    doc().chooseSaveFile = [] {
        ADD_FAILURE() << "Save asked for a file";
        return QString();
    };
    doc().OnEndTurn();
    ASSERT_TRUE(doc().OnFileSave());
    EXPECT_NE(ReadAll(path("first.zvq")), saved);
    ASSERT_TRUE(doc().OnOpenDocument(path("first.zvq")));
    EXPECT_EQ(g_turn, turn + 1);
}

TEST_F(FileCommands, ADamagedFileIsRefusedAndTheRunningGameStaysAsItWas) {
    ASSERT_TRUE(NewGame());
    doc().OnEndTurn();
    ASSERT_TRUE(doc().OnSaveDocument(path("kept.zvq")));
    const std::vector<std::uint8_t> before = Snapshot(doc().options());
    World* const world = g_currentWorld;
    ASSERT_TRUE(WriteBytes(path("short.zvq"), ReadAll(path("kept.zvq")).left(300)));
    platform().messages.clear();
    EXPECT_FALSE(doc().OnOpenDocument(path("short.zvq")));
    ASSERT_EQ(platform().messages.size(), 1u);
    EXPECT_NE(platform().messages[0].find("short.zvq"), std::string::npos) << platform().messages[0];
    EXPECT_EQ(g_currentWorld, world);
    EXPECT_EQ(Snapshot(doc().options()), before);
    EXPECT_EQ(doc().pathName(), path("kept.zvq"));
    // Drawing and play go on after the refusal.
    const std::uint64_t serial = view().frameSerial();
    EXPECT_TRUE(SpinUntil([&] { return view().frameSerial() > serial; }));
    doc().OnEndTurn();
    EXPECT_EQ(g_turn, 3);
}

TEST_F(FileCommands, ASaveThatCannotBeWrittenSaysSoAndKeepsTheOldFile) {
    ASSERT_TRUE(NewGame());
    ASSERT_TRUE(WriteBytes(path("kept.zvq"), "old contents"));
    ASSERT_TRUE(QDir(scratch_.path()).mkdir("folder.zvq"));
    platform().messages.clear();
    EXPECT_FALSE(doc().OnSaveDocument(path("folder.zvq")));
    ASSERT_EQ(platform().messages.size(), 1u);
    EXPECT_NE(platform().messages[0].find("Unable to save"), std::string::npos);
    EXPECT_TRUE(doc().pathName().isEmpty());
    // Saving over a file replaces it whole.
    ASSERT_TRUE(doc().OnSaveDocument(path("kept.zvq")));
    EXPECT_EQ(static_cast<std::size_t>(ReadAll(path("kept.zvq")).size()), SavedGameSize());
}

TEST_F(FileCommands, SaveAndOpenNeedAGameAndCancelledDialogsDoNothing) {
    doc().chooseSaveFile = [] { return QString(); };
    doc().chooseOpenFile = [] { return QString(); };
    EXPECT_FALSE(doc().OnFileSave());  // no game yet
    EXPECT_FALSE(doc().OnFileOpen());
    ASSERT_TRUE(NewGame());
    EXPECT_FALSE(doc().OnFileSaveAs());
    EXPECT_FALSE(doc().OnFileSave());  // a new game has no file: Save asks, and was cancelled
    EXPECT_TRUE(doc().recentFiles().files().isEmpty());
}

TEST_F(FileCommands, TheRecentListKeepsFourFilesNewestFirstAndDropsOnesThatFail) {
    ASSERT_TRUE(NewGame());
    for (int i = 1; i <= 5; ++i) ASSERT_TRUE(doc().OnSaveDocument(path(QString("game%1.zvq").arg(i))));
    const QStringList expected = {path("game5.zvq"), path("game4.zvq"), path("game3.zvq"), path("game2.zvq")};
    EXPECT_EQ(doc().recentFiles().files(), expected);
    // The menu shows them, numbered, between Save As and Exit.
    const QList<QAction*> recent = frame().recentFileActions();
    ASSERT_EQ(recent.size(), 4);
    EXPECT_TRUE(recent[0]->text().startsWith("&1 "));
    EXPECT_TRUE(recent[0]->text().endsWith("game5.zvq"));
    // Kept in the settings, where the next start finds them.
    QSettings settings(kSettingsOrganisation, kSettingsApplication);
    EXPECT_EQ(settings.value("Recent File List/File1").toString(), path("game5.zvq"));
    EXPECT_EQ(RecentFiles().files(), expected);

    // Opening one puts it on top; one that is gone is taken off.
    recent[2]->trigger();  // game3
    EXPECT_EQ(doc().recentFiles().files().first(), path("game3.zvq"));
    ASSERT_TRUE(QFile::remove(path("game4.zvq")));
    platform().messages.clear();
    EXPECT_FALSE(frame().OpenFile(path("game4.zvq")));
    EXPECT_EQ(platform().messages.size(), 1u);
    EXPECT_FALSE(doc().recentFiles().files().contains(path("game4.zvq")));
    EXPECT_EQ(frame().recentFileActions().size(), 3);
}

TEST_F(FileCommands, AFileDroppedOnTheWindowIsOpened) {
    ASSERT_TRUE(NewGame());
    ASSERT_TRUE(doc().OnSaveDocument(path("dropped.zvq")));
    doc().OnEndTurn();
    const int savedTurn = g_turn - 1;
    QMimeData mime;
    mime.setUrls({QUrl::fromLocalFile(path("dropped.zvq"))});
    QDropEvent drop(QPointF(400, 300), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    // Straight to the window: a drop needs a drag in progress to pass
    // through the application.
    static_cast<QObject&>(frame()).event(&drop);
    EXPECT_TRUE(drop.isAccepted());
    EXPECT_EQ(g_turn, savedTurn);
    EXPECT_EQ(doc().pathName(), path("dropped.zvq"));
}

// A game named on the command line: the races are loaded before it is read,
// and the game plays.
class StartWithFile : public ShellTest {
protected:
    static QString& File() {
        static QString file;
        return file;
    }
    QString startFile() const override { return File(); }
    static void SetUpTestSuite() {
        // Made by a first application, like a game saved in an earlier run.
        static QTemporaryDir dir;
        ResetGlobals();
        ResetDrawingFlags();
        {
            CZarvonApp maker;
            maker.platform().setAutoAnswer(true);
            StartOptions options;
            options.dataDir = kData;
            options.show = false;
            ASSERT_TRUE(maker.InitInstance(options));
            maker.doc().runNewGameDialog = [](NewGameDialog&) { return int(QDialog::Accepted); };
            ASSERT_TRUE(maker.doc().OnNewDocument());
            maker.doc().OnEndTurn();
            File() = dir.filePath("start.zvq");
            ASSERT_TRUE(maker.doc().OnSaveDocument(File()));
        }
        ResetGlobals();
        ResetDrawingFlags();
    }
};

TEST_F(StartWithFile, OpensWithTheRacesLoadedAndPlays) {
    ASSERT_TRUE(started_);
    ASSERT_NE(g_currentWorld, nullptr);
    EXPECT_EQ(g_turn, 2);
    for (Player* p = g_players; p; p = p->next) EXPECT_NE(p->race, nullptr);
    EXPECT_TRUE(frame().action(Command::EndTurn)->isEnabled());
    doc().OnEndTurn();
    EXPECT_EQ(g_turn, 3);
}

TEST(StartWithABadFile, EndsTheStart) {
    ResetGlobals();
    ResetDrawingFlags();
    QTemporaryDir dir;
    const QString bad = dir.filePath("bad.zvq");
    ASSERT_TRUE(WriteBytes(bad, QByteArray(64, '\x01')));
    {
        CZarvonApp app;
        app.platform().setAutoAnswer(true);
        StartOptions options;
        options.dataDir = kData;
        options.show = false;
        options.file = bad;
        EXPECT_FALSE(app.InitInstance(options));
        ASSERT_EQ(app.platform().messages.size(), 1u);
        EXPECT_NE(app.platform().messages[0].find("bad.zvq"), std::string::npos);
        EXPECT_EQ(g_currentWorld, nullptr);
    }
    ResetGlobals();
    ResetDrawingFlags();
}

TEST(StartArguments, FileAndDataFolderAreRead) {
    StartOptions options;
    QString error;
    EXPECT_TRUE(CZarvonApp::ParseArguments({"quorvane", "--data", "/d", "game.zvq"}, options, error));
    EXPECT_EQ(options.dataDir, "/d");
    EXPECT_EQ(options.file, "game.zvq");
    StartOptions other;
    EXPECT_FALSE(CZarvonApp::ParseArguments({"quorvane", "a.zvq", "b.zvq"}, other, error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_FALSE(CZarvonApp::ParseArguments({"quorvane", "--bogus"}, other, error));
    EXPECT_FALSE(CZarvonApp::ParseArguments({"quorvane", "--data"}, other, error));
}

}  // namespace
}  // namespace qv::shell::test
