// Sound cues: never blocking, silent on missing files and without a sound
// output, one player per cue file, a new cue stopping the old one, calls from
// other threads carried out on the GUI thread. The test machine usually has
// no sound server, which is one of the cases that must work.
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QElapsedTimer>
#include <QSoundEffect>

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "model/races.h"
#include "model/sound_cues.h"
#include "presentation/media/sound_cues.h"

using qv::media::SoundCues;

namespace {

const std::filesystem::path kData = QUORVANE_DATA_OUT;
const std::vector<std::string> kCues = {qv::kCueShot,      qv::kCueMissile,   qv::kCueCapture,   qv::kCueLanding,
                                        qv::kCueCollision, qv::kCueShipBuilt, qv::kCueStepOpens, qv::kCueStepCloses};

// Runs queued calls until done() holds or ten seconds pass.
bool WaitFor(const std::function<bool()>& done) {
    const QDeadlineTimer deadline(10000);
    while (!done() && !deadline.hasExpired()) QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    return done();
}

}  // namespace

TEST(SoundCues, MissingFilesAreSilentAndNoCallWaits) {
    for (const SoundCues::Output output : {SoundCues::Output::Detect, SoundCues::Output::AssumePresent}) {
        SoundCues cues(kData, output);
        QElapsedTimer t;
        t.start();
        for (const std::string missing : {"NoSuchCue.wav", "", "../NoSuchFolder/FirstW.wav"}) cues.play(missing);
        EXPECT_EQ(cues.playerCount(), 0);
        EXPECT_EQ(cues.lastCue(), "");
        for (int round = 0; round < 3; ++round)
            for (const std::string& cue : kCues) cues.play(cue);
        EXPECT_LT(t.elapsed(), 10000);  // a call waiting for a device would never return
        EXPECT_EQ(cues.playerCount(), cues.hasOutput() ? static_cast<int>(kCues.size()) : 0);
    }
    SoundCues silent(kData, SoundCues::Output::AssumeAbsent);
    silent.preload(kCues);
    silent.play(qv::kCueShot);
    EXPECT_FALSE(silent.hasOutput());
    EXPECT_EQ(silent.playerCount(), 0);
}

TEST(SoundCues, OnePlayerPerFileAndANewCueStopsTheOneThatPlays) {
    SoundCues cues(kData, SoundCues::Output::AssumePresent);
    cues.preload({"FirstW.wav", "Landing.wav", "Missing.wav"});
    EXPECT_EQ(cues.playerCount(), 2);
    const QSoundEffect* first = cues.player("FirstW.wav");
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->source(), QUrl::fromLocalFile(QString::fromStdString((kData / "FirstW.wav").string())));
    cues.play("FirstW.wav");
    EXPECT_EQ(cues.player("FirstW.wav"), first);
    cues.play("Medexpl.wav");
    const QSoundEffect* second = cues.player("Medexpl.wav");
    ASSERT_NE(second, nullptr);
    EXPECT_FALSE(first->isPlaying());
    EXPECT_EQ(cues.lastCue(), "Medexpl.wav");
    cues.play("FirstW.wav");
    EXPECT_EQ(cues.player("FirstW.wav"), first);
    EXPECT_FALSE(second->isPlaying());
    EXPECT_EQ(cues.playerCount(), 3);
}

TEST(SoundCues, CallsFromAnotherThreadRunOnTheGuiThread) {
    SoundCues cues(kData, SoundCues::Output::AssumePresent);
    std::thread worker([&cues] {
        cues.preload({"Stinger.wav"});
        cues.play("PCapture.wav");
    });
    worker.join();
    EXPECT_EQ(cues.playerCount(), 0);  // handed over, not yet carried out
    ASSERT_TRUE(WaitFor([&] { return cues.playerCount() == 2 && cues.lastCue() == "PCapture.wav"; }));
    EXPECT_EQ(cues.player("PCapture.wav")->thread(), QCoreApplication::instance()->thread());
    EXPECT_NE(cues.player("Stinger.wav"), nullptr);
}

TEST(SoundCues, WithoutAFolderCuesComeFromTheDataFolder) {
    // Nothing here loads races, so the data folder is the working directory.
    ASSERT_EQ(qv::DataDir(), std::filesystem::path("."));
    const QString before = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(QString::fromStdString(kData.string())));
    SoundCues cues({}, SoundCues::Output::AssumePresent);
    cues.play("BldShip.wav");
    QDir::setCurrent(before);
    EXPECT_EQ(cues.playerCount(), 1);
    EXPECT_EQ(cues.lastCue(), "BldShip.wav");
}
