// Autosaves: three files newest first after each End Turn, each a whole
// game; a newer game handed over while one is being written is the one kept;
// a rotation that fails never costs the player the autosave before.
#include <QFileInfo>

#include <string>

#include "shell/autosave.h"
#include "shell_fixture.h"

namespace qv::shell::test {
namespace {

std::vector<std::uint8_t> Bytes(const std::string& text) { return std::vector<std::uint8_t>(text.begin(), text.end()); }

TEST(Autosaver, KeepsTheThreeNewestGamesNewestFirst) {
    QTemporaryDir dir;
    Autosaver saver(dir.filePath("saves"));
    for (const char* g : {"one", "two", "three", "four"}) {
        saver.save(Bytes(g));
        saver.flush();
    }
    EXPECT_EQ(ReadAll(saver.path(1)), "four");
    EXPECT_EQ(ReadAll(saver.path(2)), "three");
    EXPECT_EQ(ReadAll(saver.path(3)), "two");
    EXPECT_EQ(QDir(dir.filePath("saves")).entryList(QDir::Files).size(), 3);  // nothing left over
    EXPECT_EQ(saver.written(), 4);
}

TEST(Autosaver, GamesHandedOverWhileOneIsWrittenLeaveTheNewestOnTop) {
    QTemporaryDir dir;
    const QString folder = dir.filePath("saves");
    Autosaver saver(folder);
    // A big game: the worker makes the folder, then is busy writing it while
    // two more turns end.
    const std::string big(32 << 20, 'a');
    saver.save(Bytes(big));
    QElapsedTimer waited;
    waited.start();
    while (!QDir(folder).exists() && waited.elapsed() < 60000) QThread::yieldCurrentThread();
    saver.save(Bytes("turn 2"));
    saver.save(Bytes("turn 3"));
    saver.flush();
    EXPECT_EQ(ReadAll(saver.path(1)), "turn 3");
    // The big game stands behind it; "turn 2" between them only if the big
    // one was done before "turn 3" came.
    QStringList older;
    for (int n = 2; n <= Autosaver::kFiles; ++n) older << QString::fromLatin1(ReadAll(saver.path(n)).left(6));
    EXPECT_TRUE(older == QStringList({"aaaaaa", ""}) || older == QStringList({"turn 2", "aaaaaa"}))
        << older.join(", ").toStdString();
    EXPECT_TRUE(saver.lastError().isEmpty());
}

TEST(Autosaver, AFailedWriteOrRotationKeepsThePreviousAutosave) {
    QTemporaryDir dir;
    Autosaver saver(dir.filePath("saves"));
    for (const char* g : {"older", "previous"}) {
        saver.save(Bytes(g));
        saver.flush();
    }
    ASSERT_EQ(ReadAll(saver.path(1)), "previous");

    // The third file's place is taken by a folder with something in it: the
    // rotation cannot move the second file there.
    ASSERT_TRUE(QDir().mkpath(saver.path(3) + "/inside"));
    saver.save(Bytes("lost"));
    saver.flush();
    EXPECT_FALSE(saver.lastError().isEmpty());
    EXPECT_EQ(ReadAll(saver.path(1)), "previous");
    EXPECT_EQ(ReadAll(saver.path(2)), "older");

    // Once the way is clear the next game goes on top, the others move on.
    ASSERT_TRUE(QDir(saver.path(3)).removeRecursively());
    saver.save(Bytes("next"));
    saver.flush();
    EXPECT_TRUE(saver.lastError().isEmpty());
    EXPECT_EQ(ReadAll(saver.path(1)), "next");
    EXPECT_EQ(ReadAll(saver.path(2)), "previous");
    EXPECT_EQ(ReadAll(saver.path(3)), "older");
}

TEST(Autosaver, PendingGamesAreWrittenBeforeItEnds) {
    QTemporaryDir dir;
    {
        Autosaver saver(dir.filePath("saves"));
        saver.save(Bytes("last"));
    }
    EXPECT_EQ(ReadAll(dir.filePath("saves/autosave-1.zvq")), "last");
}

using AutosaveAfterTurns = ShellTest;

TEST_F(AutosaveAfterTurns, EveryEndTurnLeavesALoadableGame) {
    ASSERT_TRUE(NewGame());
    Autosaver& saver = doc().autosaver();
    EXPECT_TRUE(saver.folder().startsWith(qEnvironmentVariable("XDG_DATA_HOME")));
    doc().OnEndTurn();
    doc().OnEndTurn();
    saver.flush();
    // The newest is the game as it stands: opening it changes nothing.
    const int turn = g_turn;
    ASSERT_TRUE(doc().OnOpenDocument(saver.path(1)));
    EXPECT_EQ(g_turn, turn);
    ASSERT_TRUE(doc().OnOpenDocument(saver.path(2)));
    EXPECT_EQ(g_turn, turn - 1);
    // Open starts in the folder of the file last opened.
    EXPECT_EQ(doc().openFolder(), saver.folder());
}

}  // namespace
}  // namespace qv::shell::test
