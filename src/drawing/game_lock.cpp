#include "drawing/game_lock.h"

namespace qv {

void GameMutex::lock() {
    const std::thread::id me = std::this_thread::get_id();
    // Only this thread ever stores its own id, so a relaxed read is enough
    // to tell whether it already holds the lock.
    if (owner_.load(std::memory_order_relaxed) == me) {
        ++depth_;
        return;
    }
    std::unique_lock<std::mutex> lock(mutex_);
    const std::uint64_t ticket = nextTicket_++;
    turn_.wait(lock, [&] { return serving_ == ticket; });
    owner_.store(me, std::memory_order_relaxed);
    depth_ = 1;
    takes_.fetch_add(1, std::memory_order_acq_rel);
}

bool GameMutex::try_lock() {
    const std::thread::id me = std::this_thread::get_id();
    if (owner_.load(std::memory_order_relaxed) == me) {
        ++depth_;
        return true;
    }
    std::lock_guard<std::mutex> lock(mutex_);
    if (serving_ != nextTicket_) return false;  // held, or others are queued
    ++nextTicket_;
    owner_.store(me, std::memory_order_relaxed);
    depth_ = 1;
    takes_.fetch_add(1, std::memory_order_acq_rel);
    return true;
}

void GameMutex::unlock() {
    if (--depth_ > 0) return;
    owner_.store(std::thread::id(), std::memory_order_relaxed);
    {
        std::lock_guard<std::mutex> lock(mutex_);
        ++serving_;
    }
    turn_.notify_all();
}

bool GameMutex::heldByThisThread() const {
    return owner_.load(std::memory_order_relaxed) == std::this_thread::get_id();
}

int GameMutex::releaseAll() {
    if (!heldByThisThread()) return 0;
    const int depth = depth_;
    depth_ = 1;
    unlock();
    return depth;
}

void GameMutex::retake(int depth) {
    if (depth <= 0) return;
    lock();
    depth_ = depth;
}

GameMutex& GameLock() {
    static GameMutex mutex;
    return mutex;
}

}  // namespace qv
