// Sound cues: never blocking, silent on missing files and without a sound
// output, one player per cue file, a new cue stopping the old one, calls from
// other threads carried out on the GUI thread. The machine running the tests
// usually has no sound server, which is one of the cases that must work.
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QSoundEffect>
#include <QThread>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "model/races.h"
#include "presentation/media/sound_cues.h"

using qv::media::SoundCues;

namespace {

const std::filesystem::path kData = QUORVANE_DATA_OUT;

const std::vector<std::string> kCues = {"BldShip.wav", "Feedbk04.wav", "Feedbk03.wav", "Landing.wav",
                                        "FirstW.wav",  "Stinger.wav",  "PCapture.wav", "Medexpl.wav"};

// Lets queued calls and the players' own events run for a while.
void Spin(int ms) {
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < ms) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::msleep(2);
    }
}

class SoundCuesTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (const std::string& cue : kCues)
            ASSERT_TRUE(std::filesystem::is_regular_file(kData / cue)) << "the data folder lacks " << cue;
    }
};

}  // namespace

TEST_F(SoundCuesTest, UnknownFileIsSilentAndReturnsAtOnce) {
    for (const SoundCues::Output output : {SoundCues::Output::Detect, SoundCues::Output::AssumePresent}) {
        SoundCues cues(kData, output);
        QElapsedTimer t;
        t.start();
        cues.play("NoSuchCue.wav");
        cues.play("");
        cues.play("../NoSuchFolder/FirstW.wav");
        EXPECT_LT(t.elapsed(), 10000);  // a call that waited for the device would never return
        EXPECT_EQ(cues.playerCount(), 0);
        EXPECT_EQ(cues.lastCue(), "");
        Spin(50);
    }
}

TEST_F(SoundCuesTest, ManyCuesInARowReturnAtOnceWhateverTheMachine) {
    for (const SoundCues::Output output : {SoundCues::Output::Detect, SoundCues::Output::AssumePresent}) {
        SoundCues cues(kData, output);
        QElapsedTimer t;
        t.start();
        for (int round = 0; round < 3; ++round)
            for (const std::string& cue : kCues) cues.play(cue);
        EXPECT_LT(t.elapsed(), 10000);  // without a sound server a waiting call would never return
        Spin(150);  // the players keep working in the background without trouble
        if (cues.hasOutput()) {
            EXPECT_EQ(cues.playerCount(), static_cast<int>(kCues.size()));
            EXPECT_EQ(cues.lastCue(), kCues.back());
        }
    }
}

TEST_F(SoundCuesTest, ANewCueStopsTheOneThatPlays) {
    SoundCues cues(kData, SoundCues::Output::AssumePresent);
    cues.play("FirstW.wav");
    const QSoundEffect* first = cues.player("FirstW.wav");
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->source(), QUrl::fromLocalFile(QString::fromStdString((kData / "FirstW.wav").string())));
    Spin(30);
    cues.play("Medexpl.wav");
    const QSoundEffect* second = cues.player("Medexpl.wav");
    ASSERT_NE(second, nullptr);
    EXPECT_NE(first, second);
    EXPECT_FALSE(first->isPlaying());
    EXPECT_EQ(cues.lastCue(), "Medexpl.wav");
    // The same cue again reuses its player.
    Spin(30);
    cues.play("FirstW.wav");
    EXPECT_EQ(cues.player("FirstW.wav"), first);
    EXPECT_FALSE(second->isPlaying());
    EXPECT_EQ(cues.playerCount(), 2);
}

TEST_F(SoundCuesTest, WithoutOutputNothingIsLoaded) {
    SoundCues cues(kData, SoundCues::Output::AssumeAbsent);
    EXPECT_FALSE(cues.hasOutput());
    cues.preload(kCues);
    for (const std::string& cue : kCues) cues.play(cue);
    EXPECT_EQ(cues.playerCount(), 0);
    EXPECT_EQ(cues.player("FirstW.wav"), nullptr);
}

TEST_F(SoundCuesTest, PreloadMakesThePlayersOfPresentFilesOnly) {
    SoundCues cues(kData, SoundCues::Output::AssumePresent);
    cues.preload({"FirstW.wav", "Landing.wav", "Missing.wav"});
    EXPECT_EQ(cues.playerCount(), 2);
    const QSoundEffect* landing = cues.player("Landing.wav");
    ASSERT_NE(landing, nullptr);
    cues.play("Landing.wav");
    EXPECT_EQ(cues.player("Landing.wav"), landing);
    EXPECT_EQ(cues.playerCount(), 2);
}

TEST_F(SoundCuesTest, CallsFromAnotherThreadRunOnTheGuiThread) {
    SoundCues cues(kData, SoundCues::Output::AssumePresent);
    std::thread worker([&cues] {
        cues.preload({"Stinger.wav"});
        cues.play("PCapture.wav");
    });
    worker.join();
    EXPECT_EQ(cues.playerCount(), 0);  // handed over, not yet carried out
    Spin(50);
    ASSERT_EQ(cues.playerCount(), 2);
    EXPECT_EQ(cues.player("PCapture.wav")->thread(), QCoreApplication::instance()->thread());
    EXPECT_EQ(cues.lastCue(), "PCapture.wav");
}

TEST_F(SoundCuesTest, WithoutAFolderCuesComeFromTheDataFolder) {
    // Nothing here loads races, so the data folder is still the working
    // directory.
    ASSERT_EQ(qv::DataDir(), std::filesystem::path("."));
    const QString before = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(QString::fromStdString(kData.string())));
    SoundCues cues({}, SoundCues::Output::AssumePresent);
    cues.play("BldShip.wav");
    QDir::setCurrent(before);
    EXPECT_EQ(cues.playerCount(), 1);
    EXPECT_EQ(cues.lastCue(), "BldShip.wav");
    Spin(100);  // the player reads its file in the background; let it finish
}
