// The game thread's side of the hand-shakes with the drawing thread.
//
// Every wait blocks on the drawing flags' condition (no spinning), lets go of
// the game lock while it waits if the calling thread holds it (so the drawing
// thread can compose the frame it waits for) and takes it back before it
// returns. A wait also ends when no drawing thread runs or when the thread is
// parked by a pause, so the game can never hang on a thread that will not
// draw; a request that was not served then is taken back.
#pragma once

#include <atomic>
#include <chrono>
#include <functional>

#include "model/platform.h"

namespace qv {

class DrawingHandshakes {
public:
    // Asks the thread to stop touching the game records and waits until it
    // is parked.
    void pauseDrawing();
    void resumeDrawing();
    // Asks for one idle frame and waits until it is drawn.
    void waitForFrame();
    // Waits until no asked-for frame is still pending.
    void waitFrameIdle();
    // Shows one explosion frame on the record and waits until it is drawn.
    void showExplosion(Planet* planet);
    void showExplosion(Asteroid* asteroid);
    void showExplosion(Ship* ship);
    // Shows one instability ring of the level and waits until it is drawn.
    void showRing(RingKind which, int level);
    // Stores the step; the thread adopts it at the start of its next pass.
    void changeScrollStep(int step);

    // While a wait lasts, pump is called on the waiting thread about every
    // interval, without the game lock (the window shows new frames from it).
    // An empty function turns it off (the default).
    void setPump(std::function<void()> pump, std::chrono::milliseconds interval = std::chrono::milliseconds(5));

private:
    template <typename T>
    void request(std::atomic<T>& slot, T value);
    void waitUntil(const std::function<bool()>& done);

    std::function<void()> pump_;
    std::chrono::milliseconds pumpInterval_{5};
};

// A platform whose hand-shakes are the real ones; everything else answers as
// HeadlessPlatform does (which also keeps counting the hand-shakes). The
// window derives from it; tests install it to play against a real thread.
class DrawingPlatform : public HeadlessPlatform {
public:
    using HeadlessPlatform::HeadlessPlatform;

    void pauseDrawing() override;
    void resumeDrawing() override;
    void waitForFrame() override;
    void waitFrameIdle() override;
    void showExplosion(Planet* planet) override;
    void showExplosion(Asteroid* asteroid) override;
    void showExplosion(Ship* ship) override;
    void showRing(RingKind which, int level) override;
    void changeScrollStep(int step) override;

    DrawingHandshakes& handshakes() { return handshakes_; }

private:
    DrawingHandshakes handshakes_;
};

}  // namespace qv
