#include "presentation/media/sound_cues.h"

#include <QAudioDevice>
#include <QFileInfo>
#include <QMediaDevices>
#include <QMetaObject>
#include <QSoundEffect>
#include <QThread>
#include <QUrl>

#include "model/races.h"

namespace qv::media {

SoundCues::SoundCues(std::filesystem::path folder, Output output, QObject* parent)
    : QObject(parent), folder_(std::move(folder)) {
    switch (output) {
        case Output::Detect: hasOutput_ = !QMediaDevices::defaultAudioOutput().isNull(); break;
        case Output::AssumePresent: hasOutput_ = true; break;
        case Output::AssumeAbsent: hasOutput_ = false; break;
    }
}

SoundCues::~SoundCues() {
    // Stop before the players go, so that none is left sounding.
    for (auto& [path, player] : players_) player->stop();
}

QString SoundCues::pathOf(const std::string& fileName) const {
    // An empty data folder is the working directory; the path is made
    // absolute so that a later change of directory cannot move it.
    const std::filesystem::path& dir = folder_.empty() ? qv::DataDir() : folder_;
    return QFileInfo(QString::fromStdString((dir / fileName).string())).absoluteFilePath();
}

QSoundEffect* SoundCues::playerFor(const std::string& fileName) {
    if (!hasOutput_ || fileName.empty()) return nullptr;
    const QString path = pathOf(fileName);
    if (auto it = players_.find(path); it != players_.end()) return it->second;
    if (!QFileInfo(path).isFile()) return nullptr;
    auto* player = new QSoundEffect(this);
    player->setSource(QUrl::fromLocalFile(path));
    players_.emplace(path, player);
    return player;
}

const QSoundEffect* SoundCues::player(const std::string& fileName) const {
    const auto it = players_.find(pathOf(fileName));
    return it == players_.end() ? nullptr : it->second;
}

void SoundCues::preload(const std::vector<std::string>& fileNames) {
    if (QThread::currentThread() != thread()) {
        QMetaObject::invokeMethod(this, [this, fileNames] { preload(fileNames); }, Qt::QueuedConnection);
        return;
    }
    for (const std::string& name : fileNames) playerFor(name);
}

void SoundCues::play(const std::string& fileName) {
    if (QThread::currentThread() != thread()) {
        QMetaObject::invokeMethod(this, [this, fileName] { playHere(fileName); }, Qt::QueuedConnection);
        return;
    }
    playHere(fileName);
}

void SoundCues::playHere(const std::string& fileName) {
    QSoundEffect* player = playerFor(fileName);
    if (!player) return;
    // Stop rather than switch the source of one player: switching replays
    // a piece of the old sound. A cue that is still playing starts again.
    if (current_ && current_ != player) current_->stop();
    player->stop();
    player->play();
    current_ = player;
    lastCue_ = fileName;
}

}  // namespace qv::media
