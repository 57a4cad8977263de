// The one lock that guards the game records and the game-wide values.
//
// The game thread holds it whenever it runs game code (input handlers,
// commands, dialogs' buttons, the turn) and lets it go only while it waits
// for the drawing thread or while a modal loop runs. The drawing thread holds
// it while it reads the records to compose a frame and while it moves the
// view. Whoever holds it may read and change any record; a record is never
// seen half changed, and a record unlinked and freed under it can never be
// reached by a frame.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>

namespace qv {

// A lock that is served in the order it was asked for, so a thread that
// takes it again and again (the drawing thread, unpaced) cannot starve the
// other one. The holder may take it again (each take needs its own release),
// and any thread can ask whether it is the holder.
class GameMutex {
public:
    GameMutex() = default;
    GameMutex(const GameMutex&) = delete;
    GameMutex& operator=(const GameMutex&) = delete;

    void lock();
    void unlock();
    bool try_lock();

    // True when the calling thread holds the lock.
    bool heldByThisThread() const;

    // How many times the lock has been taken afresh by any thread (a holder
    // taking it again does not count). Everything that changes what a frame
    // shows happens under the lock, so the drawing thread tells from this
    // count whether anybody else had the lock since its last frame.
    std::uint64_t takes() const { return takes_.load(std::memory_order_acquire); }

    // Lets go of the lock entirely if the calling thread holds it, however
    // many times it was taken; returns that count (0 when it was not held).
    int releaseAll();
    // Takes the lock back after releaseAll() with the count it returned.
    void retake(int depth);

private:
    std::mutex mutex_;
    std::condition_variable turn_;
    std::uint64_t nextTicket_ = 0;  // the ticket the next taker gets
    std::uint64_t serving_ = 0;     // the ticket whose turn it is
    std::atomic<std::thread::id> owner_{};
    int depth_ = 0;  // touched by the holder only
    std::atomic<std::uint64_t> takes_{0};
};

// The game's lock.
GameMutex& GameLock();

// Holds the game lock for a scope.
class GameLockGuard {
public:
    explicit GameLockGuard(GameMutex& mutex = GameLock()) : mutex_(mutex) { mutex_.lock(); }
    ~GameLockGuard() { mutex_.unlock(); }
    GameLockGuard(const GameLockGuard&) = delete;
    GameLockGuard& operator=(const GameLockGuard&) = delete;

private:
    GameMutex& mutex_;
};

// Lets go of the game lock for a scope if the calling thread holds it, and
// takes it back at the end of the scope; does nothing otherwise. Used around
// every wait for the drawing thread and around modal loops.
class GameLockRelease {
public:
    explicit GameLockRelease(GameMutex& mutex = GameLock()) : mutex_(mutex), depth_(mutex.releaseAll()) {}
    ~GameLockRelease() { mutex_.retake(depth_); }
    GameLockRelease(const GameLockRelease&) = delete;
    GameLockRelease& operator=(const GameLockRelease&) = delete;

private:
    GameMutex& mutex_;
    int depth_;
};

}  // namespace qv
