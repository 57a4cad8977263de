// Autosaves: after every End Turn the game goes to autosave-1.zvq in the
// user's data folder, the older ones moving on to autosave-2.zvq and
// autosave-3.zvq. The files are written by a worker thread of their own, each
// one whole or not at all, so the next turn never waits for the disk; a
// failure is reported on standard error and never interrupts play.
#pragma once

#include <QString>

#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

namespace qv::shell {

class Autosaver {
public:
    static constexpr int kFiles = 3;

    // folder empty: the platform's application data folder.
    explicit Autosaver(QString folder = {});
    // Writes what is still pending, then ends the worker.
    ~Autosaver();

    Autosaver(const Autosaver&) = delete;
    Autosaver& operator=(const Autosaver&) = delete;

    // Hands a saved game over; returns at once. A newer game handed over
    // before the worker got to an older one replaces it.
    void save(std::vector<std::uint8_t> bytes);
    // Waits until everything handed over has been written or has failed.
    void flush();

    const QString& folder() const { return folder_; }
    // autosave-N.zvq, N from 1 (newest) to 3.
    QString path(int n) const;

    // What happened to the last game written: empty on success.
    QString lastError() const;
    // How many games have been written whole.
    int written() const;

    // The default folder: the user's application data folder for the game.
    static QString DefaultFolder();

private:
    void run();
    bool write(const std::vector<std::uint8_t>& bytes, QString& error);

    QString folder_;
    mutable std::mutex mutex_;
    std::condition_variable changed_;
    std::optional<std::vector<std::uint8_t>> pending_;
    bool busy_ = false;
    bool stop_ = false;
    QString lastError_;
    int written_ = 0;
    std::thread worker_;
};

}  // namespace qv::shell
