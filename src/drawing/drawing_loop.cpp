#include "drawing/drawing_loop.h"

#include <algorithm>
#include <vector>

#include "model/globals.h"
#include "drawing/drawing_flags.h"
#include "drawing/game_lock.h"
#include "drawing/scroll.h"

namespace qv {

namespace {

using Clock = std::chrono::steady_clock;

// How long a pass that drew nothing (the view at an edge, no game) waits
// before it looks again, at the least, even unpaced: scroll flags change
// without a notification, and nothing else could end that wait sooner.
constexpr std::chrono::milliseconds kRecheckAfterNothing{1};

std::atomic<int> g_runningThreads{0};
std::atomic<int> g_requestersAway{0};

// The one-shot requests as an idle frame found them when it began.
struct Requests {
    FrameRequests frame;
    int frameWait = 0;
};

bool RequestsPending() {
    return g_frameWait.load() != 0 || g_explodingPlanet.load() != nullptr || g_explodingAsteroid.load() != nullptr ||
           g_explodingShip.load() != nullptr || g_ringFirst.load() != 0 || g_ringSecond.load() != 0;
}

Requests TakeRequests() {
    Requests r;
    r.frameWait = g_frameWait.load();
    r.frame.explodingPlanet = g_explodingPlanet.load();
    r.frame.explodingAsteroid = g_explodingAsteroid.load();
    r.frame.explodingShip = g_explodingShip.load();
    r.frame.ringFirst = g_ringFirst.load();
    r.frame.ringSecond = g_ringSecond.load();
    return r;
}

template <typename T>
void ClearIfStill(std::atomic<T>& slot, T served) {
    if (served == T{}) return;
    slot.compare_exchange_strong(served, T{});
}

// Each request the frame was given is served once and cleared; a request
// made while the frame was being composed stays for the next one.
void ConsumeRequests(const Requests& r) {
    ClearIfStill(g_frameWait, r.frameWait);
    ClearIfStill(g_explodingPlanet, r.frame.explodingPlanet);
    ClearIfStill(g_explodingAsteroid, r.frame.explodingAsteroid);
    ClearIfStill(g_explodingShip, r.frame.explodingShip);
    ClearIfStill(g_ringFirst, r.frame.ringFirst);
    ClearIfStill(g_ringSecond, r.frame.ringSecond);
}

// A picture drawn for a request, kept on screen until kEffectShownFor has
// passed since it was first drawn, on the world it was drawn on.
struct Glow {
    FrameEffect effect;
    const World* world = nullptr;  // compared, never read
    Clock::time_point since;
};

// What the thread remembers from one pass to the next.
struct LoopState {
    explicit LoopState(const DrawingOptions& o) : options(o) {}
    Clock::time_point now() const { return options.clock ? options.clock() : Clock::now(); }

    const DrawingOptions& options;
    int step = 0;
    // GameLock().takes() as the last pass took the lock.
    std::uint64_t seenTakes = 0;
    bool redrawOwed = true;  // the next pass composes a whole frame whatever changed
    bool scrolling = false;  // the last pass moved, or tried to move, the view
    Clock::time_point lastScroll;
    std::int64_t scrollCarry = 0;
    std::vector<Glow> glows;
};

// Parks while a pause is asked for. False when the thread is to end: stop,
// or the exit request seen while parked.
bool ParkWhilePaused(const std::atomic<bool>& stop, LoopState& state) {
    if (stop.load()) return false;
    if (g_pauseDrawing.load() == 0 && g_drawingPaused.load() == 0) return true;
    if (g_pauseDrawing.load() != 0) {
        g_drawingPaused = 1;
        NotifyDrawingFlags();
    }
    bool end = false;
    // The acknowledgement is withdrawn under the flags' mutex, together with
    // the test of the pause request: a game thread that asks for a pause
    // either sees the thread drawing (and waits) or is seen by this test.
    WaitDrawingFlags([&] {
        if (stop.load()) {
            end = true;
            return true;
        }
        if (g_pauseDrawing.load() == 0) {
            g_drawingPaused = 0;
            return true;
        }
        if (g_exitDrawing.load() != 0) {
            end = true;
            return true;
        }
        return false;
    });
    // The game may have been rebuilt meanwhile: nothing drawn before counts.
    state.glows.clear();
    state.redrawOwed = true;
    state.scrolling = false;
    return !end;
}

enum class Drawn { Nothing, Scroll, Idle };

struct PassResult {
    Drawn drawn = Drawn::Nothing;
    bool exit = false;  // the exit request was seen after an idle frame, or with no game
};

bool SamePlace(const FrameEffect& a, const FrameEffect& b) {
    const bool ringA = a.kind == FrameEffect::Kind::Ring;
    const bool ringB = b.kind == FrameEffect::Kind::Ring;
    return ringA == ringB && a.x == b.x && a.y == b.y && a.level == b.level;
}

// The afterglow of the world shown. A small explosion flickers between its
// two pictures every tenth of a second, as the two requests for it did.
std::vector<FrameEffect> Afterglow(const LoopState& state, Clock::time_point now) {
    std::vector<FrameEffect> shown;
    for (const Glow& g : state.glows) {
        if (g.world != g_currentWorld) continue;
        FrameEffect e = g.effect;
        if (e.kind != FrameEffect::Kind::LargeBlast && e.kind != FrameEffect::Kind::Ring &&
            (now - g.since) / std::chrono::milliseconds(100) % 2 == 1)
            e.kind = e.kind == FrameEffect::Kind::SmallBlastA ? FrameEffect::Kind::SmallBlastB
                                                              : FrameEffect::Kind::SmallBlastA;
        shown.push_back(e);
    }
    return shown;
}

void KeepGlowing(LoopState& state, const std::vector<FrameEffect>& drawn, Clock::time_point now) {
    for (const FrameEffect& e : drawn) {
        std::erase_if(state.glows, [&](const Glow& g) { return SamePlace(g.effect, e); });
        state.glows.push_back({e, g_currentWorld, now});
    }
}

// Starts or stops the scroll clock: the first pass that finds a flag raised
// moves nothing, the next ones move by the time gone since the one before.
// True while a flag is raised.
bool FollowScrollFlags(LoopState& state, Clock::time_point now) {
    if (!FirstScrollFlag()) {
        state.scrolling = false;
        state.scrollCarry = 0;
        return false;
    }
    if (!state.scrolling) {
        state.scrolling = true;
        state.lastScroll = now;
    }
    return true;
}

// Moves the view if a scroll flag is set and the time since the last scroll
// pass carries it at least one unit. True when it moved (and a scroll frame
// is owed); at an edge, or before a whole unit has built up, the pass goes on
// as an idle pass.
bool ScrollView(FramePainter& painter, LoopState& state, Clock::time_point now) {
    const auto direction = FirstScrollFlag();
    if (!FollowScrollFlags(state, now) || !direction) return false;
    const auto elapsed = now - state.lastScroll;
    state.lastScroll = now;
    const int distance =
        ScrollDistance(state.step, std::chrono::duration_cast<std::chrono::microseconds>(elapsed), state.scrollCarry);
    ViewRect view{g_viewLeft, g_viewTop, g_viewRight, g_viewBottom};
    const ScrollMove move = ApplyScrollMove(view, *direction, distance, g_worldSize);
    if (!move.possible || (move.dx == 0 && move.dy == 0)) return false;
    painter.shiftStars(move.dx, move.dy);
    g_viewLeft = view.left;
    g_viewTop = view.top;
    g_viewRight = view.right;
    g_viewBottom = view.bottom;
    return true;
}

// The body of a pass, under the game lock: what to draw, and drawing it.
PassResult ComposePass(FramePainter& painter, LoopState& state, Clock::time_point now) {
    GameLockGuard lock;
    // Anybody else who had the lock since the last pass may have changed
    // what a frame shows; this pass's own take is the one expected.
    const std::uint64_t takes = GameLock().takes();
    const bool changed = takes != state.seenTakes + 1;
    state.seenTakes = takes;
    PassResult result;
    if (!g_currentWorld) {
        // No game: there is nothing to draw a request on. It is answered all
        // the same, so that no wait can hang on it.
        if (RequestsPending()) {
            ConsumeRequests(TakeRequests());
            NotifyDrawingFlags();
        }
        state.glows.clear();
        result.exit = g_exitDrawing.load() != 0;
        return result;
    }

    // A pending request (or the exit request) gets an idle frame whatever
    // the scroll flags say; scrolling goes on at the next pass.
    const bool idleOwed = RequestsPending() || g_exitDrawing.load() != 0;
    if (idleOwed) FollowScrollFlags(state, now);
    else if (ScrollView(painter, state, now)) {
        painter.compose(FrameKind::Scroll, FrameRequests{});
        // A scroll frame has no panels: the frame after the scrolling is whole.
        state.redrawOwed = true;
        result.drawn = Drawn::Scroll;
        return result;
    }

    const bool expired = std::erase_if(state.glows, [&](const Glow& g) { return now - g.since >= kEffectShownFor; });
    if (!idleOwed && !changed && !state.redrawOwed && state.glows.empty() && expired == 0) return result;

    Requests requests = TakeRequests();
    requests.frame.afterglow = Afterglow(state, now);
    painter.compose(FrameKind::Idle, requests.frame);
    KeepGlowing(state, painter.takeEffectsDrawn(), now);
    ConsumeRequests(requests);
    NotifyDrawingFlags();
    state.redrawOwed = false;
    result.drawn = Drawn::Idle;
    result.exit = g_exitDrawing.load() != 0;
    return result;
}

// Waits between passes. After an idle frame the game thread whose request
// it served gets the game lock back first. A drawn frame waits out the rest
// of the frame interval; a pass that drew nothing waits at least
// kRecheckAfterNothing but wakes as soon as a request comes. A pause, the
// exit request or stop ends every wait at once.
void Pace(Drawn drawn, const DrawingOptions& options, Clock::time_point passStart, const std::atomic<bool>& stop) {
    const auto interval = options.frameInterval;
    if (drawn == Drawn::Idle) {
        // A requester still away has had its request served (none is
        // pending), so it is on its way back to the lock.
        WaitDrawingFlags([&] {
            return g_requestersAway.load() == 0 || stop.load() || g_pauseDrawing.load() != 0 ||
                   g_exitDrawing.load() != 0 || RequestsPending();
        });
    }
    if (drawn == Drawn::Nothing) {
        const auto deadline = Clock::now() + std::max<Clock::duration>(interval, kRecheckAfterNothing);
        WaitDrawingFlags(
            [&] { return stop.load() || g_pauseDrawing.load() != 0 || g_exitDrawing.load() != 0 || RequestsPending(); },
            deadline);
        return;
    }
    if (interval <= Clock::duration::zero()) return;
    WaitDrawingFlags([&] { return stop.load() || g_pauseDrawing.load() != 0 || g_exitDrawing.load() != 0; },
                     passStart + interval);
}

// True when a pass has something to do: a request, the exit request, a
// scroll flag, a change by another thread, a frame owed or a picture still
// glowing. An idle game with the pointer still composes nothing.
bool PassWanted(const LoopState& state, bool changed) {
    return changed || state.redrawOwed || !state.glows.empty() || RequestsPending() || g_exitDrawing.load() != 0 ||
           FirstScrollFlag().has_value();
}

void RunPasses(FramePainter& painter, const DrawingOptions& options, const std::atomic<bool>& stop) {
    LoopState state(options);
    state.step = std::max(g_scrollStep.load(), 0);
    painter.setScrollStep(state.step);

    while (ParkWhilePaused(stop, state)) {
        const Clock::time_point passStart = Clock::now();
        const int wanted = std::max(g_scrollStep.load(), 0);
        if (wanted != state.step) {
            state.step = wanted;
            painter.setScrollStep(state.step);
        }
        PassResult pass;
        if (PassWanted(state, GameLock().takes() != state.seenTakes)) pass = ComposePass(painter, state, state.now());
        if (pass.drawn != Drawn::Nothing) painter.present();
        if (pass.exit) return;
        Pace(pass.drawn, options, passStart, stop);
    }
}
void RunAndSignOff(FramePainter& painter, const DrawingOptions& options, const std::atomic<bool>& stop) {
    RunPasses(painter, options, stop);
    // Parked for good: the game thread may free everything.
    g_drawingPaused = 1;
    g_runningThreads.fetch_sub(1);
    NotifyDrawingFlags();
}

}  // namespace

bool DrawingThreadRunning() { return g_runningThreads.load() > 0; }

RequesterAwayScope::RequesterAwayScope(bool away) : away_(away) {
    if (away_) g_requestersAway.fetch_add(1);
}

RequesterAwayScope::~RequesterAwayScope() {
    if (!away_) return;
    g_requestersAway.fetch_sub(1);
    NotifyDrawingFlags();
}

bool DrawingLoop::Start(FramePainter& painter, DrawingOptions options) {
    if (thread_.joinable()) return false;
    stop_ = false;
    // Counted before the thread is scheduled, so that a wait begun right
    // after Start waits for it instead of finding no thread.
    g_runningThreads.fetch_add(1);
    thread_ = std::thread([this, &painter, options] { RunAndSignOff(painter, options, stop_); });
    return true;
}

void DrawingLoop::Stop() {
    if (!thread_.joinable()) return;
    stop_ = true;
    NotifyDrawingFlags();
    // The thread may be waiting for the game lock to finish its pass.
    GameLockRelease lent;
    thread_.join();
    stop_ = false;
}

}  // namespace qv
