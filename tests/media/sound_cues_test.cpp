// Sound cues: never waiting, silent on missing files and without a sound
// output (the usual case on the test machine), one player per cue file, a new
// cue stopping the old one, calls from other threads run on the GUI thread.
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QSoundEffect>

#include <gtest/gtest.h>

#include <thread>

#include "model/sound_cues.h"
#include "presentation/media/sound_cues.h"

using qv::media::SoundCues;

const std::filesystem::path kData = QUORVANE_DATA_OUT;

TEST(SoundCues, MissingFilesAreSilentAndNoCallWaits) {
    const std::vector<std::string> cues = {qv::kCueShot,      qv::kCueMissile,   qv::kCueCapture,   qv::kCueLanding,
                                           qv::kCueCollision, qv::kCueShipBuilt, qv::kCueStepOpens, qv::kCueStepCloses};
    for (const auto output :
         {SoundCues::Output::Detect, SoundCues::Output::AssumePresent, SoundCues::Output::AssumeAbsent}) {
        SoundCues sound(kData, output);
        QElapsedTimer t;
        t.start();
        for (const std::string missing : {"NoSuchCue.wav", "", "../NoSuchFolder/FirstW.wav"}) sound.play(missing);
        EXPECT_TRUE(sound.playerCount() == 0 && sound.lastCue().empty());
        sound.preload(cues);
        for (int round = 0; round < 3; ++round)
            for (const std::string& cue : cues) sound.play(cue);
        EXPECT_LT(t.elapsed(), 10000);  // a call waiting for a device would never return
        EXPECT_EQ(sound.playerCount(), sound.hasOutput() ? static_cast<int>(cues.size()) : 0);
        EXPECT_TRUE(output == SoundCues::Output::Detect ||
                    sound.hasOutput() == (output == SoundCues::Output::AssumePresent));
    }
}

TEST(SoundCues, OnePlayerPerFileAndANewCueStopsTheOneThatPlays) {
    SoundCues cues(kData, SoundCues::Output::AssumePresent);
    cues.preload({"FirstW.wav", "Landing.wav", "Missing.wav"});
    EXPECT_EQ(cues.playerCount(), 2);
    const QSoundEffect* first = cues.player("FirstW.wav");
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->source(), QUrl::fromLocalFile(QString::fromStdString((kData / "FirstW.wav").string())));
    cues.play("FirstW.wav");
    cues.play("Medexpl.wav");
    const QSoundEffect* second = cues.player("Medexpl.wav");
    ASSERT_NE(second, nullptr);
    EXPECT_TRUE(!first->isPlaying() && cues.lastCue() == "Medexpl.wav");
    cues.play("FirstW.wav");
    EXPECT_TRUE(cues.player("FirstW.wav") == first && !second->isPlaying() && cues.playerCount() == 3);
}

TEST(SoundCues, CallsFromAnotherThreadRunOnTheGuiThread) {
    SoundCues cues(kData, SoundCues::Output::AssumePresent);
    std::thread([&cues] {
        cues.preload({"Stinger.wav"});
        cues.play("PCapture.wav");
    }).join();
    EXPECT_EQ(cues.playerCount(), 0);  // handed over, not yet carried out
    const QDeadlineTimer deadline(10000);
    while (cues.playerCount() < 2 && !deadline.hasExpired()) QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    ASSERT_EQ(cues.playerCount(), 2);
    EXPECT_EQ(cues.lastCue(), "PCapture.wav");
    EXPECT_EQ(cues.player("PCapture.wav")->thread(), QCoreApplication::instance()->thread());
}
