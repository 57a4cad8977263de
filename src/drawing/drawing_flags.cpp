#include "drawing/drawing_flags.h"

#include <condition_variable>
#include <mutex>

#include "model/globals.h"

namespace qv {

// Program-start values. The drawing thread parks at once because a pause is
// asked for from the start.
std::atomic<int> g_pauseDrawing{1};
std::atomic<int> g_drawingPaused{0};
std::atomic<int> g_exitDrawing{0};
std::atomic<int> g_scrollStep{kDefaultScrollStep};

std::atomic<int> g_scrollUp{0}, g_scrollDown{0}, g_scrollLeft{0}, g_scrollRight{0};
std::atomic<int> g_scrollUpRight{0}, g_scrollDownRight{0}, g_scrollUpLeft{0}, g_scrollDownLeft{0};

// 0 at start: no frame has been asked for yet. Waiting until no frame is
// pending must not depend on a thread that is still parked on the title
// screen (or not started at all), so nothing is owed before the first ask.
std::atomic<int> g_frameWait{0};

std::atomic<Planet*> g_explodingPlanet{nullptr};
std::atomic<Asteroid*> g_explodingAsteroid{nullptr};
std::atomic<Ship*> g_explodingShip{nullptr};
std::atomic<int> g_ringFirst{0}, g_ringSecond{0};

namespace {

std::mutex& FlagsMutex() {
    static std::mutex m;
    return m;
}

std::condition_variable& FlagsChanged() {
    static std::condition_variable cv;
    return cv;
}

}  // namespace

void NotifyDrawingFlags() {
    // Passing through the mutex orders the change before any waiter's next
    // test, so a waiter cannot test, miss the change and then sleep through
    // the notification.
    { std::lock_guard<std::mutex> lock(FlagsMutex()); }
    FlagsChanged().notify_all();
}

void WaitDrawingFlags(const std::function<bool()>& done) {
    std::unique_lock<std::mutex> lock(FlagsMutex());
    FlagsChanged().wait(lock, done);
}

bool WaitDrawingFlags(const std::function<bool()>& done, std::chrono::steady_clock::time_point deadline) {
    std::unique_lock<std::mutex> lock(FlagsMutex());
    return FlagsChanged().wait_until(lock, deadline, done);
}

void ResetDrawingFlags() {
    g_pauseDrawing = 1;
    g_drawingPaused = 0;
    g_exitDrawing = 0;
    g_scrollStep = kDefaultScrollStep;
    for (std::atomic<int>* flag : {&g_scrollUp, &g_scrollDown, &g_scrollLeft, &g_scrollRight, &g_scrollUpRight,
                                   &g_scrollDownRight, &g_scrollUpLeft, &g_scrollDownLeft})
        *flag = 0;
    g_frameWait = 0;
    g_explodingPlanet = nullptr;
    g_explodingAsteroid = nullptr;
    g_explodingShip = nullptr;
    g_ringFirst = 0;
    g_ringSecond = 0;
    NotifyDrawingFlags();
}

}  // namespace qv
