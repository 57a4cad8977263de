// Autosaves: three files newest first after each End Turn, each a whole
// game; a folder that cannot be written never stops play.
#include <QFileInfo>

#include "shell/autosave.h"
#include "shell_fixture.h"

namespace qv::shell::test {
namespace {

QByteArray ReadAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

std::vector<std::uint8_t> Bytes(const char* text) { return std::vector<std::uint8_t>(text, text + std::strlen(text)); }

TEST(Autosaver, KeepsTheThreeNewestGamesNewestFirst) {
    QTemporaryDir dir;
    Autosaver saver(dir.filePath("saves"));
    const char* games[] = {"one", "two", "three", "four"};
    for (const char* g : games) {
        saver.save(Bytes(g));
        saver.flush();
    }
    EXPECT_EQ(ReadAll(saver.path(1)), "four");
    EXPECT_EQ(ReadAll(saver.path(2)), "three");
    EXPECT_EQ(ReadAll(saver.path(3)), "two");
    EXPECT_FALSE(QFile::exists(dir.filePath("saves/autosave-4.zvq")));
    EXPECT_EQ(QDir(dir.filePath("saves")).entryList(QDir::Files).size(), 3);  // nothing left over
    EXPECT_EQ(saver.written(), 4);
    EXPECT_TRUE(saver.lastError().isEmpty());
}

TEST(Autosaver, AFolderThatCannotBeMadeFailsQuietlyAndKeepsGoing) {
    QTemporaryDir dir;
    ASSERT_TRUE(WriteBytes(dir.filePath("blocked"), "a file where the folder should be"));
    Autosaver saver(dir.filePath("blocked/saves"));
    saver.save(Bytes("lost"));
    saver.flush();
    EXPECT_FALSE(saver.lastError().isEmpty());
    EXPECT_EQ(saver.written(), 0);
    // Once the way is clear again, the next game is written.
    ASSERT_TRUE(QFile::remove(dir.filePath("blocked")));
    saver.save(Bytes("kept"));
    saver.flush();
    EXPECT_TRUE(saver.lastError().isEmpty());
    EXPECT_EQ(ReadAll(saver.path(1)), "kept");
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
    ASSERT_TRUE(QFile::exists(saver.path(1)));
    ASSERT_TRUE(QFile::exists(saver.path(2)));
    EXPECT_EQ(static_cast<std::size_t>(QFileInfo(saver.path(1)).size()), SavedGameSize());
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
