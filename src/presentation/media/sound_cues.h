// Sound cues: short wave files from the data folder, played by file name
// ("FirstW.wav") without ever waiting for them.
//
// Each cue file gets one QSoundEffect, created on first use (or by preload)
// and kept loaded. Only one cue sounds at a time: starting a cue stops the
// one that is playing. A missing or unreadable file, or a machine without a
// sound output, is silent. Calls from another thread are handed to the
// object's own thread (the GUI thread), where the effects live.
#pragma once

#include <QObject>
#include <QString>

#include <filesystem>
#include <map>
#include <string>
#include <vector>

class QSoundEffect;

namespace qv::media {

class SoundCues : public QObject {
public:
    // Whether there is a sound output to play to. Detect asks the system
    // once, in the constructor; the other two decide it (a test uses
    // AssumePresent to drive the players on a machine without sound).
    enum class Output { Detect, AssumePresent, AssumeAbsent };

    // Cue files are looked up in folder; with an empty folder, in qv::DataDir()
    // as it is when a cue is played. Create on the GUI thread.
    explicit SoundCues(std::filesystem::path folder = {}, Output output = Output::Detect, QObject* parent = nullptr);
    ~SoundCues() override;

    SoundCues(const SoundCues&) = delete;
    SoundCues& operator=(const SoundCues&) = delete;

    // Starts the cue and returns at once; stops the cue that was playing.
    // Safe from any thread.
    void play(const std::string& fileName);

    // Loads the players of these cues now, so that their first play does not
    // wait for the file to be read. Missing files are skipped.
    void preload(const std::vector<std::string>& fileNames);

    // False when cues are never heard on this machine.
    bool hasOutput() const { return hasOutput_; }

    // The player of a cue, or null when none has been made (never played,
    // missing file, no output). For checks and diagnostics.
    const QSoundEffect* player(const std::string& fileName) const;
    // How many cue players exist.
    int playerCount() const { return static_cast<int>(players_.size()); }
    // The file name of the cue started last, empty before the first.
    const std::string& lastCue() const { return lastCue_; }

private:
    QString pathOf(const std::string& fileName) const;
    QSoundEffect* playerFor(const std::string& fileName);
    void playHere(const std::string& fileName);

    std::filesystem::path folder_;
    bool hasOutput_ = false;
    std::map<QString, QSoundEffect*> players_;  // by full path; children of this
    QSoundEffect* current_ = nullptr;
    std::string lastCue_;
};

}  // namespace qv::media
