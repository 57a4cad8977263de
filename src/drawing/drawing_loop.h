// The drawing thread: an endless loop of passes that park while the game
// thread rebuilds the game, scroll the view while a scroll flag is set, and
// otherwise compose idle frames that serve the game thread's requests
// (a drawn frame, explosions, instability rings).
#pragma once

#include <atomic>
#include <chrono>
#include <functional>
#include <thread>

#include "drawing/frame_painter.h"

namespace qv {

// How long an explosion or an instability ring stays on screen after the
// frame that served its request: long enough for a person to see it. The
// game does not wait for it; the idle frames of those moments draw it again.
inline constexpr std::chrono::milliseconds kEffectShownFor{400};

struct DrawingOptions {
    // Time from the start of one frame to the start of the next (about 60
    // frames a second); 0 draws as fast as the painter allows (tests,
    // benchmarks). Frames are composed only when something on them changes.
    std::chrono::microseconds frameInterval{16'667};
    // The clock that scrolling and the time effects stay on screen go by;
    // empty: the steady clock (tests give their own).
    std::function<std::chrono::steady_clock::time_point()> clock;
};

// True while a drawing thread runs (for DrawingLoop: from Start until the
// thread procedure returns). The game thread's waits end when it is false.
bool DrawingThreadRunning();

// Marks, for its lifetime, a game thread that lent the game lock out to wait
// for its own request (a frame, an explosion, a ring). After an idle frame
// the loop does not begin its next pass until every such thread has taken
// the lock back, or a new request, a pause, the exit request or stop comes:
// two requests made one after the other are drawn on two consecutive idle
// frames, with nothing composed in between.
class RequesterAwayScope {
public:
    explicit RequesterAwayScope(bool away);
    ~RequesterAwayScope();
    RequesterAwayScope(const RequesterAwayScope&) = delete;
    RequesterAwayScope& operator=(const RequesterAwayScope&) = delete;

private:
    bool away_;
};

// Owns one drawing thread.
class DrawingLoop {
public:
    DrawingLoop() = default;
    ~DrawingLoop() { Stop(); }
    DrawingLoop(const DrawingLoop&) = delete;
    DrawingLoop& operator=(const DrawingLoop&) = delete;

    // Starts the thread drawing through the painter, which must outlive it.
    // The thread runs passes until the exit request is seen after an idle
    // frame (or while parked, or with no game), or until Stop; on the way
    // out it sets g_drawingPaused to 1. False when this loop already has a
    // thread.
    bool Start(FramePainter& painter, DrawingOptions options = {});
    // Ends the thread wherever it is (parked, waiting between frames or
    // drawing: it finishes the frame in hand) and joins it, lending the game
    // lock meanwhile if the caller holds it. Does nothing when no thread was
    // started.
    void Stop();
    // True from Start until Stop, even when the thread has already ended
    // on its own through the exit request.
    bool started() const { return thread_.joinable(); }

private:
    std::thread thread_;
    std::atomic<bool> stop_{false};
};

}  // namespace qv
