// The drawing thread against a recording painter: parking and the pause
// hand-shake, requests drawn on exactly one idle frame, scrolling, waits that
// end whatever the thread does, the exit path and Stop, the game lock, and
// real turns played while the thread draws and another thread plays input.
#include <condition_variable>
#include <functional>
#include <latch>
#include <mutex>
#include <thread>
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
    int frameWait;          // g_frameWait as the frame began
    int step = 0;           // the scroll step the painter was set to
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

// Reads every record the map painter reads, in the same walks, and logs each frame.
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
        FrameLog f{kind, r, g_frameWait.load()};
        std::int64_t sum = g_worldSize + g_turn + g_gameOver + g_currentWorld->number + g_currentWorld->star->x;
        for (const Player* p = g_players; p; p = p->next) sum += p->gold + p->planetCount + p->shipCount + p->colour;
        for (const Planet* p = g_currentWorld->planets; p; p = p->next) {
            sum += p->x + p->y + p->shieldPoints + p->owner->colour + (p->weapon ? p->weapon->range : 0);
            f.explosionsMet += p == r.explodingPlanet;
        }
        for (const Asteroid* a = g_currentWorld->asteroids; a; a = a->next) {
            sum += a->x + a->y + a->resources;
            f.explosionsMet += a == r.explodingAsteroid;
        }
        for (const Ship* s = g_currentWorld->ships; s; s = s->next) {
            sum += s->x + s->y + s->shieldPoints + s->holds + s->owner->colour + s->model->speed;
            for (const Pixel& px : s->pixels) sum += px.colour;
            f.explosionsMet += s == r.explodingShip;
            if (s == watched.load()) f.watchedX = s->x;
        }
        if (const Planet* p = g_hoverPlanet) sum += p->shieldPoints + p->owner->race->shipModelCount;
        if (const Asteroid* a = g_hoverAsteroid) sum += a->resources;
        if (const Ship* s = g_hoverShip) sum += s->shieldPoints + static_cast<int>(s->model->name.size());
        checksum += sum;
        auto l = Locked();
        f.step = l->steps.back();
        l->frames.push_back(f);
        if (kind == FrameKind::Idle) l->idle.push_back(f);
        l->scrolls += kind == FrameKind::Scroll;
    }

    // The log, locked for one expression; waiters are woken when it is let go.
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

    std::atomic<Ship*> watched{nullptr};
    std::int64_t checksum = 0;  // what was read, so that no read is left out

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    Log log_;
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
        painter.Locked()->gate = Log::kOpen;
        loop.Stop();
        ResetDrawingFlags();
        GameTest::TearDown();
    }
    void StartParked() { ASSERT_TRUE(loop.Start(painter, DrawingOptions{0us})); }  // unpaced
    void StartDrawing() {
        StartParked();
        drawing.resumeDrawing();
    }
    Ship* AddShip(int x, int y) {
        GameLockGuard game;
        InsertAtHead(world->ships, MakeShip(g_players, 1, 1, x, y));
        return world->ships;
    }
    void WaitFrames(int idle, int scrolls = 0) {
        painter.WaitFor([&](const Log& l) { return int(l.idle.size()) >= idle && l.scrolls >= scrolls; });
    }

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
    WaitFrames(3);  // idle frames follow one another unasked
    painter.Locked()->gate = Log::kArmed;
    painter.WaitFor([](const Log& l) { return l.gate == Log::kReached; });  // inside compose, holding the game lock
    const int presentedBefore = painter.log().presented;

    DrawingHandshakes pauser;
    std::latch waiting(1);
    int pausedWhileWaiting = -1, presentedAtAck = -1;
    pauser.setPump(
        [&] {
            if (pausedWhileWaiting >= 0) return;
            pausedWhileWaiting = g_drawingPaused.load();
            waiting.count_down();
        },
        1ms);
    std::thread game([&] {
        pauser.pauseDrawing();
        presentedAtAck = painter.log().presented;
    });
    waiting.wait();
    painter.Locked()->gate = Log::kOpen;
    game.join();
    EXPECT_EQ(pausedWhileWaiting, 0);
    EXPECT_EQ(presentedAtAck, presentedBefore + 1);
    const Log parked = painter.log();
    EXPECT_EQ(parked.presentedWhilePaused, 0);
    EXPECT_EQ(static_cast<int>(parked.frames.size()), parked.presented);  // nothing composed once parked
    EXPECT_EQ(parked.scrolls, 0);

    g_exitDrawing = 1;  // while parked: the thread ends at once
    NotifyDrawingFlags();
    WaitDrawingFlags([] { return !DrawingThreadRunning(); });
    EXPECT_EQ(painter.log().frames.size(), parked.frames.size());
    EXPECT_EQ(g_drawingPaused.load(), 1);
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

// With no thread, a parked one, a stopped one or no game, nothing is drawn and
// what was asked is taken back; while a scroll flag is set towards the edge
// (nothing drawn) or with a step of 0 (scroll frames that do not move), each
// request gets one idle frame. Stop ends the thread parked, drawing (called
// with the game lock, which the thread may wait for) or waiting out its pace.
TEST_F(DrawingThreadTest, EveryWaitEndsWhateverTheThreadDoes) {
    Ship* ship = AddShip(400, 400);
    auto askEverything = [&] {
        GameLockGuard game;
        drawing.waitForFrame();
        drawing.waitFrameIdle();
        drawing.showExplosion(ship);
        drawing.showRing(RingKind::First, 2);
        drawing.showRing(RingKind::Second, 2);
        EXPECT_EQ(g_frameWait.load() + g_ringFirst.load() + g_ringSecond.load(), 0);
        EXPECT_EQ(g_explodingShip.load(), nullptr);
        EXPECT_TRUE(GameLock().heldByThisThread());
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
        WaitFrames(0, step ? 0 : 3);
        askEverything();
        GameLockGuard game;
        loop.Stop();
        const Log log = painter.log();
        EXPECT_EQ(log.idle.size(), step ? 4u : 8u);
        for (const FrameLog& f : log.frames) EXPECT_TRUE(f.kind == FrameKind::Idle || !f.requests.explodingShip);
        for (const auto& shift : log.shifts) EXPECT_EQ(shift, std::make_pair(0, 0));
        EXPECT_EQ(g_viewLeft, step ? 0 : 600);
    }
    {
        GameLockGuard game;
        DestroyGame();
    }
    ASSERT_TRUE(loop.Start(painter, DrawingOptions{60s}));
    drawing.resumeDrawing();
    askEverything();
    EXPECT_EQ(painter.log().frames.size(), 8u + painter.log().scrolls);
}

TEST_F(DrawingThreadTest, ScrollingMovesTheViewAndTheStarsByTheStepAndTheExitComesAfterAnIdleFrame) {
    PlaceView(500, 10);
    g_scrollUp = 1;
    StartDrawing();
    WaitFrames(0, 1);
    {
        GameLockGuard game;
        drawing.waitForFrame();
        drawing.waitForFrame();
        EXPECT_EQ(std::tuple(g_viewLeft, g_viewTop, g_viewRight, g_viewBottom), std::tuple(500, 0, 1300, 600));
        g_scrollUp = 0;
        drawing.changeScrollStep(55);  // adopted by a later pass
        drawing.waitForFrame();
        drawing.waitForFrame();
        const Log log = painter.log();
        EXPECT_EQ(log.shifts, (std::vector<std::pair<int, int>>{{0, -10}}));  // once, then nothing at the edge
        EXPECT_EQ(log.scrolls, 1);
        EXPECT_EQ(log.steps, (std::vector<int>{kDefaultScrollStep, 55}));
        EXPECT_EQ(log.frames.back().step, 55);
        g_scrollRight = 1;
    }
    WaitFrames(0, 3);
    g_exitDrawing = 1;  // scrolling: the thread ends after the next idle frame
    NotifyDrawingFlags();
    WaitDrawingFlags([] { return !DrawingThreadRunning(); });
    const Log log = painter.log();
    EXPECT_EQ(log.shifts[1], std::make_pair(55, 0));
    EXPECT_EQ(log.shifts[2], std::make_pair(55, 0));
    int moved = 0;
    for (const auto& shift : log.shifts) moved += shift.first;
    EXPECT_EQ(g_viewLeft, 500 + moved);  // the stars moved exactly as far as the view
    EXPECT_EQ(g_viewRight - g_viewLeft, kViewWidth);
    EXPECT_EQ(log.frames.back().kind, FrameKind::Idle);
    EXPECT_EQ(log.presented, static_cast<int>(log.frames.size()));
    EXPECT_EQ(g_drawingPaused.load(), 1);
    EXPECT_TRUE(loop.started());
    loop.Stop();
    EXPECT_FALSE(loop.started());
}

// A wait lends the game lock out entirely, however deep it is held, and takes
// it back as deep; lending a lock not held lends nothing.
TEST_F(DrawingThreadTest, WaitsLendTheGameLockAndPumpWithoutIt) {
    {
        GameLockRelease nothingHeld;
        EXPECT_FALSE(GameLock().heldByThisThread());
    }
    StartDrawing();
    WaitFrames(1);
    GameLockGuard outer;
    GameLockGuard inner;
    bool pumped = false, pumpHeldLock = false;
    // The frame that serves the wait cannot be finished before the pump ran.
    drawing.handshakes().setPump(
        [&] {
            pumpHeldLock = pumpHeldLock || GameLock().heldByThisThread();
            if (!pumped) painter.Locked()->gate = Log::kOpen;
            pumped = true;
        },
        1ms);
    painter.Locked()->gate = Log::kArmed;
    drawing.waitForFrame();
    drawing.handshakes().setPump({});
    EXPECT_TRUE(pumped);
    EXPECT_FALSE(pumpHeldLock);
    EXPECT_EQ(GameLock().releaseAll(), 2);
    EXPECT_FALSE(GameLock().heldByThisThread());
    GameLock().retake(2);
}

// Real turns on autopilot, with fights and instability events on the shown
// world, while the thread draws every frame and an input thread moves the
// hover pointers and the scroll flags. Run under ThreadSanitizer, this is the
// test of the whole locking design.
TEST_F(DrawingThreadTest, AutopilotTurnsWithTheRealThreadAndInputStayConsistent) {
    StartParked();
    {
        GameLockGuard game;
        NewGameOptions chosen;
        chosen.worldsQuantityOption = 2;  // few
        chosen.worldsSizeOption = 4;      // tiny
        chosen.aiPlayersOption = 0;       // lots
        chosen.unstabilityOption = 0;     // high
        chosen.creditsOption = 0;         // 5000 gold: fleets from the first turns
        NewGame(chosen, 2024);            // pauses the parked thread, builds, resumes
        ASSERT_EQ(std::tuple(drawing.pauses, drawing.resumes), std::tuple(1, 1));
    }
    std::atomic<bool> done{false};
    std::latch inputBegan(1);
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
            if (i == 0) inputBegan.count_down();
            std::this_thread::sleep_for(200us);  // the pace of a hand on the mouse
        }
    });
    inputBegan.wait();
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

    // The turns asked for frames, explosions and rings on the shown world,
    // and each was drawn on exactly one idle frame.
    EXPECT_GT(drawing.frameWaits * drawing.explosions * drawing.rings, 0);
    int served = 0, exploding = 0, ringed = 0;
    const Log log = painter.log();
    for (const FrameLog& f : log.idle) {
        served += f.frameWait != 0;
        const bool explosion = f.requests.explodingPlanet || f.requests.explodingAsteroid || f.requests.explodingShip;
        exploding += explosion;
        ringed += f.requests.ringFirst || f.requests.ringSecond;
        EXPECT_EQ(f.explosionsMet, explosion ? 1 : 0);
    }
    EXPECT_EQ(std::tuple(served, exploding, ringed), std::tuple(drawing.frameWaits, drawing.explosions, drawing.rings));
    EXPECT_EQ(log.presented, static_cast<int>(log.frames.size()));
    EXPECT_EQ(log.presentedWhilePaused, 0);
}

}  // namespace
}  // namespace qv
