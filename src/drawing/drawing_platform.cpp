#include "drawing/drawing_platform.h"

#include "drawing/drawing_flags.h"
#include "drawing/drawing_loop.h"
#include "drawing/game_lock.h"

namespace qv {

namespace {

// Nothing will be drawn: no thread runs, or it is parked and only the game
// thread (the caller) can let it go on.
bool NoFrameComing() { return !DrawingThreadRunning() || (g_pauseDrawing.load() != 0 && g_drawingPaused.load() != 0); }

}  // namespace

void DrawingHandshakes::waitUntil(const std::function<bool()>& done) {
    const auto over = [&] { return done() || NoFrameComing(); };
    // Many waits are over before they begin (no frame pending): those keep
    // the game lock. The test goes through the flags' mutex like every other.
    if (WaitDrawingFlags(over, std::chrono::steady_clock::now())) return;
    GameLockRelease released;
    if (!pump_) {
        WaitDrawingFlags(over);
        return;
    }
    while (!WaitDrawingFlags(over, std::chrono::steady_clock::now() + pumpInterval_)) pump_();
}

template <typename T>
void DrawingHandshakes::request(std::atomic<T>& slot, T value) {
    if (value == T{}) return;
    // A caller that holds the game lock gets it back before the next pass,
    // so that its next request is drawn on the very next idle frame.
    RequesterAwayScope away(GameLock().heldByThisThread());
    slot = value;
    NotifyDrawingFlags();
    waitUntil([&] { return slot.load() == T{}; });
    // Not served (the thread ended or is parked): taken back, so that no
    // later frame draws a record that may be gone by then.
    slot.compare_exchange_strong(value, T{});
}

void DrawingHandshakes::pauseDrawing() {
    g_pauseDrawing = 1;
    NotifyDrawingFlags();
    waitUntil([] { return g_drawingPaused.load() != 0; });
}

void DrawingHandshakes::resumeDrawing() {
    g_pauseDrawing = 0;
    NotifyDrawingFlags();
}

void DrawingHandshakes::waitForFrame() { request(g_frameWait, 1); }

void DrawingHandshakes::waitFrameIdle() {
    waitUntil([] { return g_frameWait.load() == 0; });
}

void DrawingHandshakes::showExplosion(Planet* planet) { request(g_explodingPlanet, planet); }
void DrawingHandshakes::showExplosion(Asteroid* asteroid) { request(g_explodingAsteroid, asteroid); }
void DrawingHandshakes::showExplosion(Ship* ship) { request(g_explodingShip, ship); }

void DrawingHandshakes::showRing(RingKind which, int level) {
    request(which == RingKind::First ? g_ringFirst : g_ringSecond, level);
}

void DrawingHandshakes::changeScrollStep(int step) {
    g_scrollStep = step;
    NotifyDrawingFlags();
}

void DrawingHandshakes::setPump(std::function<void()> pump, std::chrono::milliseconds interval) {
    pump_ = std::move(pump);
    pumpInterval_ = interval.count() > 0 ? interval : std::chrono::milliseconds(1);
}

void DrawingPlatform::pauseDrawing() {
    HeadlessPlatform::pauseDrawing();
    handshakes_.pauseDrawing();
}

void DrawingPlatform::resumeDrawing() {
    HeadlessPlatform::resumeDrawing();
    handshakes_.resumeDrawing();
}

void DrawingPlatform::waitForFrame() {
    HeadlessPlatform::waitForFrame();
    handshakes_.waitForFrame();
}

void DrawingPlatform::waitFrameIdle() {
    HeadlessPlatform::waitFrameIdle();
    handshakes_.waitFrameIdle();
}

void DrawingPlatform::showExplosion(Planet* planet) {
    HeadlessPlatform::showExplosion(planet);
    handshakes_.showExplosion(planet);
}

void DrawingPlatform::showExplosion(Asteroid* asteroid) {
    HeadlessPlatform::showExplosion(asteroid);
    handshakes_.showExplosion(asteroid);
}

void DrawingPlatform::showExplosion(Ship* ship) {
    HeadlessPlatform::showExplosion(ship);
    handshakes_.showExplosion(ship);
}

void DrawingPlatform::showRing(RingKind which, int level) {
    HeadlessPlatform::showRing(which, level);
    handshakes_.showRing(which, level);
}

void DrawingPlatform::changeScrollStep(int step) {
    HeadlessPlatform::changeScrollStep(step);
    handshakes_.changeScrollStep(step);
}

}  // namespace qv
