#include "shell/autosave.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QStandardPaths>

#include <cstdio>

namespace qv::shell {

Autosaver::Autosaver(QString folder) : folder_(folder.isEmpty() ? DefaultFolder() : std::move(folder)) {
    worker_ = std::thread([this] { run(); });
}

Autosaver::~Autosaver() {
    {
        std::lock_guard lock(mutex_);
        stop_ = true;
    }
    changed_.notify_all();
    worker_.join();
}

QString Autosaver::DefaultFolder() { return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation); }

QString Autosaver::path(int n) const { return QDir(folder_).filePath(QStringLiteral("autosave-%1.zvq").arg(n)); }

void Autosaver::save(std::vector<std::uint8_t> bytes) {
    {
        std::lock_guard lock(mutex_);
        pending_ = std::move(bytes);
    }
    changed_.notify_all();
}

void Autosaver::flush() {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return !pending_ && !busy_; });
}

QString Autosaver::lastError() const {
    std::lock_guard lock(mutex_);
    return lastError_;
}

int Autosaver::written() const {
    std::lock_guard lock(mutex_);
    return written_;
}

void Autosaver::run() {
    std::unique_lock lock(mutex_);
    for (;;) {
        changed_.wait(lock, [this] { return stop_ || pending_; });
        // What was handed over is written even when the program is ending.
        if (!pending_) return;
        std::vector<std::uint8_t> bytes = std::move(*pending_);
        pending_.reset();
        busy_ = true;
        lock.unlock();
        QString error;
        const bool ok = write(bytes, error);
        if (!ok) std::fprintf(stderr, "quorvane: autosave failed: %s\n", qPrintable(error));
        lock.lock();
        busy_ = false;
        lastError_ = error;
        if (ok) ++written_;
        changed_.notify_all();
    }
}

bool Autosaver::write(const std::vector<std::uint8_t>& bytes, QString& error) {
    if (!QDir().mkpath(folder_)) {
        error = QStringLiteral("cannot make the folder %1").arg(folder_);
        return false;
    }
    // The new game is written whole beside the others first; only then do
    // the older ones move on, so a failure never costs an autosave.
    QSaveFile next(QDir(folder_).filePath(QStringLiteral("autosave-new.zvq")));
    if (!next.open(QIODevice::WriteOnly) ||
        next.write(reinterpret_cast<const char*>(bytes.data()), static_cast<qint64>(bytes.size())) !=
            static_cast<qint64>(bytes.size()) ||
        !next.commit()) {
        error = QStringLiteral("cannot write %1: %2").arg(next.fileName(), next.errorString());
        return false;
    }
    for (int n = kFiles - 1; n >= 1; --n) {
        if (!QFile::exists(path(n))) continue;
        QFile::remove(path(n + 1));
        if (!QFile::rename(path(n), path(n + 1))) {
            error = QStringLiteral("cannot move %1 to %2").arg(path(n), path(n + 1));
            return false;
        }
    }
    QFile::remove(path(1));
    if (!QFile::rename(next.fileName(), path(1))) {
        error = QStringLiteral("cannot move %1 to %2").arg(next.fileName(), path(1));
        return false;
    }
    return true;
}

}  // namespace qv::shell
