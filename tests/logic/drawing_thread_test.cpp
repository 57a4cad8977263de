// The drawing thread against a recording painter: its hand-shakes with the
// game thread, scrolling, Stop, and real turns played while it draws.
#include <latch>
#include <tuple>

#include "drawing/drawing_flags.h"
#include "drawing/drawing_loop.h"
#include "drawing/drawing_platform.h"
#include "drawing/game_lock.h"
#include "drawing/scroll.h"
#include "game_fixture.h"
#include "turn/computer_ships.h"
#include "turn/consistency.h"
#include "turn/end_turn.h"
#include "turn/removal.h"

namespace qv {
namespace {

using namespace std::chrono_literals;

struct FrameLog {
    FrameKind kind;
    FrameRequests requests;
    int frameWait;  // g_frameWait as the frame began
    const World* world = nullptr;
    int watchedX = -1;      // where the watched ship was met in the ship walk
    int explosionsMet = 0;  // exploding records met in the walks
};

struct Log {
    std::vector<FrameLog> frames, idle;
    std::vector<int> steps;
    std::vector<std::pair<int, int>> shifts;
    int presented = 0, presentedWhilePaused = 0, scrolls = 0;
    enum { kOpen, kArmed, kReached } gate = kOpen;  // the next frame stops at its start while armed
};

// Reads the records the map painter reads, and logs each frame.
class RecordingPainter : public FramePainter {
public:
    void setScrollStep(int step) override { Locked()->steps.push_back(step); }
    void shiftStars(int dx, int dy) override { Locked()->shifts.emplace_back(dx, dy); }
    void present() override {
        auto l = Locked();
        ++l->presented;
        l->presentedWhilePaused += g_drawingPaused.load() != 0;
    }
    void compose(FrameKind kind, const FrameRequests& r) override {
        if (auto l = Locked(); l->gate == Log::kArmed) l->gate = Log::kReached;
        WaitFor([](const Log& l) { return l.gate != Log::kReached; });
        FrameLog f{kind, r, g_frameWait.load(), g_currentWorld};
        checksum += CheckConsistency().size() + g_worldSize + g_turn + g_currentWorld->star->x;
        for (const Planet* p = g_currentWorld->planets; p; p = p->next)
            checksum += p->x + p->y + p->shieldPoints, f.explosionsMet += p == r.explodingPlanet;
        for (const Asteroid* a = g_currentWorld->asteroids; a; a = a->next)
            checksum += a->x + a->y + a->resources, f.explosionsMet += a == r.explodingAsteroid;
        for (const Ship* s = g_currentWorld->ships; s; s = s->next) {
            checksum += s->x + s->y + s->shieldPoints + s->holds + s->pixels[0].colour;
            f.explosionsMet += s == r.explodingShip;
            if (s == r.explodingShip) drawn_.push_back({FrameEffect::Kind::SmallBlastA, s->x, s->y});
            if (s == watched.load()) f.watchedX = s->x;
        }
        for (const Player* p = g_players; p; p = p->next) checksum += p->gold + p->planetCount + p->shipCount;
        auto l = Locked();
        l->frames.push_back(f);
        if (kind == FrameKind::Idle) l->idle.push_back(f);
        l->scrolls += kind == FrameKind::Scroll;
    }
    std::vector<FrameEffect> takeEffectsDrawn() override { return std::exchange(drawn_, {}); }
    // The log, locked for one expression; waiters wake when it is let go.
    struct LockedLog {
        std::unique_lock<std::mutex> lock;
        Log& log;
        std::condition_variable& changed;
        ~LockedLog() { changed.notify_all(); }
        Log* operator->() { return &log; }
    };
    LockedLog Locked() { return {std::unique_lock(mutex_), log_, changed_}; }
    Log log() { return Locked().log; }
    void WaitFor(const std::function<bool(const Log&)>& done) {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [&] { return done(log_); });
    }
    // False when the log does not get there within a (generous) while.
    bool WaitedFor(const std::function<bool(const Log&)>& done) {
        std::unique_lock lock(mutex_);
        return changed_.wait_for(lock, 20s, [&] { return done(log_); });
    }
    std::atomic<Ship*> watched{nullptr};
    std::size_t checksum = 0;  // what was read, so that no read is left out

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    Log log_;
    std::vector<FrameEffect> drawn_;  // drawing thread only
};

void PlaceView(int left, int top) {
    GameLockGuard game;
    std::tie(g_viewLeft, g_viewTop, g_viewRight, g_viewBottom) =
        std::tuple(left, top, left + kViewWidth, top + kViewHeight);
}

class DrawingThreadTest : public testing::GameTest {
protected:
    void SetUp() override {
        GameTest::SetUp();
        ResetDrawingFlags();
        NewGame({}, 7);
        SetPlatform(&drawing);
        world = g_currentWorld;
        ASSERT_TRUE(world && world->planets && world->asteroids && CountOf(g_worlds) > 1);
    }
    void TearDown() override {
        Unblock();
        loop.Stop();
        ResetDrawingFlags();
        GameTest::TearDown();
    }
    // Unpaced, on the test's clock, which moves only when the test says.
    void StartParked() {
        ASSERT_TRUE(
            loop.Start(painter, {.frameInterval = 0us, .clock = [this] { return Clock::time_point(now.load()); }}));
    }
    void Advance(std::chrono::microseconds by) { now = now.load() + by; }
    void StartDrawing() {
        StartParked();
        drawing.resumeDrawing();
    }
    Ship* AddShip(int x, int y) {
        GameLockGuard game;
        InsertAtHead(world->ships, MakeShip(g_players, 1, 1, x, y));
        return world->ships;
    }
    void Unblock() { painter.Locked()->gate = Log::kOpen; }
    void WaitFrames(int idle, int scrolls = 0) {
        painter.WaitFor([&](const Log& l) { return int(l.idle.size()) >= idle && l.scrolls >= scrolls; });
    }
    using Clock = std::chrono::steady_clock;
    std::atomic<std::chrono::microseconds> now{0us};
    DrawingPlatform drawing;
    RecordingPainter painter;
    DrawingLoop loop;
    World* world = nullptr;
};

TEST_F(DrawingThreadTest, ParksAtStartAndAcknowledgesAPauseOnlyAfterTheFrameInHandIsPresented) {
    EXPECT_EQ(g_pauseDrawing.load(), 1);
    StartParked();
    EXPECT_FALSE(loop.Start(painter)) << "one thread per loop";
    drawing.pauseDrawing();  // returns once parked
    EXPECT_EQ(g_drawingPaused.load(), 1);
    EXPECT_EQ(painter.log().steps, std::vector<int>{kDefaultScrollStep});
    drawing.resumeDrawing();
    WaitFrames(1);
    painter.Locked()->gate = Log::kArmed;
    { GameLockGuard change; }  // a frame composed for it stops inside compose, holding the game lock
    painter.WaitFor([](const Log& l) { return l.gate == Log::kReached; });
    const int presentedBefore = painter.log().presented;
    DrawingHandshakes pauser;
    std::latch waiting(1);
    int pausedWhileWaiting = -1, presentedAtAck = -1;
    auto pump = [&] {
        if (pausedWhileWaiting < 0) pausedWhileWaiting = g_drawingPaused.load(), waiting.count_down();
    };
    pauser.setPump(pump, 1ms);
    std::thread game([&] {
        pauser.pauseDrawing();
        presentedAtAck = painter.log().presented;
    });
    waiting.wait();
    Unblock();
    game.join();
    const Log parked = painter.log();  // nothing composed once parked
    EXPECT_EQ(std::tuple(pausedWhileWaiting, presentedAtAck, parked.presentedWhilePaused, parked.scrolls),
              std::tuple(0, presentedBefore + 1, 0, 0));
    EXPECT_EQ(static_cast<int>(parked.frames.size()), parked.presented);
    g_exitDrawing = 1;  // while parked: the thread ends at once
    NotifyDrawingFlags();
    WaitDrawingFlags([] { return !DrawingThreadRunning(); });
    EXPECT_EQ(std::tuple(painter.log().frames.size(), g_drawingPaused.load()), std::tuple(parked.frames.size(), 1));
}

TEST_F(DrawingThreadTest, EachRequestIsDrawnOnExactlyOneIdleFrameInTheOrderAsked) {
    Ship* ship = AddShip(900, 900);
    painter.watched = ship;
    Planet* planet = world->planets;
    Asteroid* asteroid = world->asteroids;
    World* other = world == g_worlds ? world->next : g_worlds;
    std::vector<FrameLog> idle;
    StartDrawing();
    {
        GameLockGuard game;
        MoveShipTo(world, ship, 960, 900);  // a frame at each of three places on the way
        ShowExplosion(world, planet);       // each explosion is asked for twice in a row
        ShowExplosion(world, asteroid);
        ShowExplosion(world, ship);
        ShowExplosion(other, other->planets);  // not the world shown: nothing
        drawing.showRing(RingKind::First, 2);
        drawing.showRing(RingKind::Second, 3);
        EXPECT_EQ(std::tuple(drawing.frameWaits, drawing.explosions, drawing.rings), std::tuple(3, 6, 2));
        idle = painter.log().idle;  // the game lock held: no frame since
    }
    using R = std::tuple<Planet*, Asteroid*, Ship*, int, int>;
    const R none{}, p{planet, nullptr, nullptr, 0, 0}, a{nullptr, asteroid, nullptr, 0, 0},
        s{nullptr, nullptr, ship, 0, 0},
        want[] = {none, none, none, p, p, a, a, s, s, {{}, {}, {}, 2, 0}, {{}, {}, {}, 0, 3}};
    const auto at = std::find_if(idle.begin(), idle.end(), [](auto& f) { return f.frameWait != 0; }) - idle.begin();
    ASSERT_EQ(static_cast<long>(idle.size()), at + 11);
    for (long i = 0; i < at; ++i) EXPECT_EQ(idle[i].watchedX, 900);  // drawn where it started
    for (int k = 0; k < 11; ++k) {
        SCOPED_TRACE(k);
        const FrameLog& f = idle[at + k];
        const FrameRequests& r = f.requests;
        EXPECT_EQ(R(r.explodingPlanet, r.explodingAsteroid, r.explodingShip, r.ringFirst, r.ringSecond), want[k]);
        EXPECT_EQ(std::tuple(f.frameWait, f.watchedX, f.explosionsMet),
                  std::tuple(k < 3, 915 + 15 * std::min(k, 3), k >= 3 && k < 9));
    }
}

// No thread, a parked or stopped one, no game: nothing drawn, requests taken back. A scroll flag at the
// edge or with step 0: requests served by idle frames, the view still. Stop ends the thread parked, drawing
// or pacing.
TEST_F(DrawingThreadTest, EveryWaitEndsWhateverTheThreadDoes) {
    Ship* ship = AddShip(400, 400);
    auto askEverything = [&] {
        GameLockGuard game;
        drawing.waitForFrame();
        drawing.waitFrameIdle();
        drawing.showExplosion(ship);
        drawing.showRing(RingKind::First, 2);
        drawing.showRing(RingKind::Second, 2);
        EXPECT_EQ(std::tuple(g_frameWait.load(), g_ringFirst.load(), g_ringSecond.load(), g_explodingShip.load(),
                             GameLock().heldByThisThread()),
                  std::tuple(0, 0, 0, nullptr, true));
    };
    askEverything();
    StartParked();
    askEverything();
    loop.Stop();
    askEverything();
    EXPECT_TRUE(painter.log().frames.empty());
    for (int step : {30, 0}) {
        SCOPED_TRACE(step);
        g_scrollStep = step;
        PlaceView(step ? 0 : 600, 200);
        g_scrollLeft = 1;
        StartDrawing();
        Advance(50ms);
        askEverything();
        GameLockGuard game;
        loop.Stop();
        const Log log = painter.log();
        EXPECT_EQ(std::tuple(log.scrolls, log.shifts.size(), g_viewLeft), std::tuple(0, 0u, step ? 0 : 600));
        for (const FrameLog& f : log.frames) EXPECT_TRUE(f.kind == FrameKind::Idle || !f.requests.explodingShip);
    }
    {
        GameLockGuard game;
        DestroyGame();
    }
    const std::size_t before = painter.log().frames.size();
    ASSERT_TRUE(loop.Start(painter, {.frameInterval = 60s, .clock = {}}));
    drawing.resumeDrawing();
    askEverything();
    EXPECT_EQ(painter.log().frames.size(), before);
}

// An idle game composes nothing: a frame is owed when the thread is let go, then one per request and one
// per change. With the pointer in the left edge zone and the view at the left edge, a change (a
// selection) is drawn at once all the same.
TEST_F(DrawingThreadTest, FramesAreComposedOnlyWhenSomethingChangesEvenAtTheMapsEdge) {
    Ship* ship = AddShip(400, 400);
    PlaceView(0, 200);
    g_scrollLeft = 1;
    StartDrawing();
    ASSERT_TRUE(painter.WaitedFor([](const Log& l) { return l.idle.size() == 1; }));
    drawing.waitFrameIdle();
    Advance(1s);
    for (int i = 0; i < 3; ++i) drawing.waitForFrame();  // this thread never takes the game lock meanwhile
    EXPECT_EQ(painter.log().idle.size(), 4u);
    {
        GameLockGuard game;
        g_selShip = ship;
    }
    EXPECT_TRUE(painter.WaitedFor([](const Log& l) { return l.idle.size() == 5; }));
    drawing.waitForFrame();
    const Log log = painter.log();
    EXPECT_EQ(std::tuple(log.idle.size(), log.scrolls, g_viewLeft), std::tuple(6u, 0, 0));
}

// The view moves 18 units a second per unit of step, by the clock and not by the frames; a pass after a
// long hold-up makes up for a tenth of a second at most.
TEST_F(DrawingThreadTest, ScrollingMovesTheViewAndTheStarsByTimeAndTheExitComesAfterAnIdleFrame) {
    PlaceView(500, 200);
    g_scrollUp = 1;
    StartDrawing();
    WaitFrames(1);
    drawing.waitForFrame();  // several passes, no time gone: the view still
    EXPECT_EQ(painter.log().scrolls, 0);
    // 540 units a second: 5.4 per 10 ms, the fractions carried over.
    const std::pair<std::chrono::microseconds, int> moves[] = {{10ms, 5}, {10ms, 5}, {10ms, 6}, {1s, 54}, {10ms, 5}};
    int top = 200, scrolls = 0;
    for (const auto& [by, units] : moves) {
        Advance(by);
        WaitFrames(0, ++scrolls);
        top -= units;
        EXPECT_EQ(std::tuple(g_viewTop, g_viewBottom, painter.log().shifts.back()),
                  std::tuple(top, top + kViewHeight, std::pair(0, -units)));
    }
    {
        GameLockGuard game;
        g_scrollUp = 0;
        drawing.changeScrollStep(55);  // adopted by a later pass
        drawing.waitForFrame();
        g_scrollRight = 1;
    }
    drawing.waitForFrame();
    Advance(10ms);  // 990 units a second
    WaitFrames(0, ++scrolls);
    EXPECT_EQ(painter.log().shifts.back(), std::pair(9, 0));
    g_exitDrawing = 1;  // scrolling: the thread ends after the next idle frame
    NotifyDrawingFlags();
    WaitDrawingFlags([] { return !DrawingThreadRunning(); });
    const Log log = painter.log();
    int moved = 0;
    for (const auto& shift : log.shifts) moved += shift.first;
    EXPECT_EQ(g_viewLeft, 500 + moved);  // the stars moved exactly as far as the view
    EXPECT_EQ(
        std::tuple(log.steps, g_viewRight - g_viewLeft, log.frames.back().kind, log.presented, g_drawingPaused.load()),
        std::tuple(std::vector{kDefaultScrollStep, 55}, kViewWidth, FrameKind::Idle, int(log.frames.size()), 1));
}

// An explosion stays on screen for 0.4 s of the clock, on its world only, flickering between its two
// pictures every tenth of a second; the game does not wait for it.
TEST_F(DrawingThreadTest, AnExplosionGlowsOnItsWorldForFourTenthsOfASecond) {
    Ship* ship = AddShip(900, 900);
    World* other = world == g_worlds ? world->next : g_worlds;
    StartDrawing();
    WaitFrames(1);
    drawing.showExplosion(ship);
    auto lastIdle = [](const Log& l) { return l.idle.back(); };
    auto glowing = [&](FrameEffect::Kind kind) {
        return painter.WaitedFor([&](const Log& l) {
            const FrameLog f = lastIdle(l);
            return f.world == world && f.requests.afterglow == std::vector{FrameEffect{kind, 900, 900}};
        });
    };
    EXPECT_TRUE(glowing(FrameEffect::Kind::SmallBlastA));
    Advance(150ms);
    EXPECT_TRUE(glowing(FrameEffect::Kind::SmallBlastB));
    {
        GameLockGuard game;
        g_currentWorld = other;
    }
    EXPECT_TRUE(painter.WaitedFor([&](const Log& l) { return lastIdle(l).world == other; }));
    EXPECT_TRUE(painter.WaitedFor([&](const Log& l) { return lastIdle(l).requests.afterglow.empty(); }));
    {
        GameLockGuard game;
        g_currentWorld = world;
    }
    EXPECT_TRUE(glowing(FrameEffect::Kind::SmallBlastB));
    Advance(250ms);
    EXPECT_TRUE(painter.WaitedFor([&](const Log& l) { return lastIdle(l).requests.afterglow.empty(); }));
}

// A wait lends the game lock out however deep it is held and takes it back as deep.
TEST_F(DrawingThreadTest, WaitsLendTheGameLockAndPumpWithoutIt) {
    StartDrawing();
    WaitFrames(1);
    GameLockGuard outer;
    GameLockGuard inner;
    bool pumped = false, pumpHeldLock = false;
    auto pump = [&] { pumped = true, pumpHeldLock |= GameLock().heldByThisThread(), Unblock(); };
    drawing.handshakes().setPump(pump, 1ms);
    painter.Locked()->gate = Log::kArmed;  // the frame that serves the wait cannot end before the pump ran
    drawing.waitForFrame();
    drawing.handshakes().setPump({});
    EXPECT_EQ(std::tuple(pumped, pumpHeldLock, GameLock().releaseAll()), std::tuple(true, false, 2));
    GameLock().retake(2);
}

// Autopilot turns while the thread draws and input moves hover pointers and scroll flags (run under TSan).
TEST_F(DrawingThreadTest, AutopilotTurnsWithTheRealThreadAndInputStayConsistent) {
    StartParked();
    {
        GameLockGuard game;
        // Few tiny worlds, high instability, lots of computer players with 5000 gold: fleets from the first turns.
        // The new game pauses the parked thread, builds, resumes.
        NewGame({.worldsQuantityOption = 2,
                 .worldsSizeOption = 4,
                 .unstabilityOption = 0,
                 .aiPlayersOption = 0,
                 .creditsOption = 0},
                2024);
        ASSERT_EQ(std::tuple(drawing.pauses, drawing.resumes), std::tuple(1, 1));
    }
    std::atomic<bool> done{false};
    std::thread input([&] {
        for (int i = 0; !done.load(); ++i) {
            {
                GameLockGuard game;
                const World* w = g_currentWorld;
                g_hoverShip = i % 3 == 0 ? RecordAt(w->ships, i % 5 + 1) : nullptr;
                g_hoverPlanet = i % 3 == 1 ? RecordAt(w->planets, i % 4 + 1) : nullptr;
                g_hoverAsteroid = i % 3 == 2 ? RecordAt(w->asteroids, i % 4 + 1) : nullptr;
                for (ScrollDirection d : kScrollTestOrder)
                    ScrollFlag(d) = i % 3 != 0 && d == kScrollTestOrder[i / 3 % 8];
            }
            std::this_thread::sleep_for(200us);  // the pace of a hand on the mouse
        }
    });
    for (int t = 0; t < 30; ++t) {
        GameLockGuard game;
        g_currentWorld = RecordAt(g_worlds, t / 3 % g_worldCount + 1);
        const int turn = g_turn;
        OnEndTurn(true);
        const std::string report = CheckConsistency();
        if (g_turn != turn + 1 || !report.empty()) {
            ADD_FAILURE() << "turn " << turn << ": " << report;
            break;
        }
    }
    done = true;
    input.join();
    loop.Stop();
    // Each explosion asked for was met in the lists it was drawn on.
    EXPECT_GT(drawing.frameWaits * drawing.explosions * drawing.rings, 0);
    const Log log = painter.log();
    for (const FrameLog& f : log.idle)
        EXPECT_EQ(f.explosionsMet,
                  f.requests.explodingPlanet || f.requests.explodingAsteroid || f.requests.explodingShip);
    EXPECT_EQ(std::tuple(log.presented, log.presentedWhilePaused), std::tuple(int(log.frames.size()), 0));
}

}  // namespace
}  // namespace qv
