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
    int frameWait;          // g_frameWait as the frame began
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
        FrameLog f{kind, r, g_frameWait.load()};
        checksum += CheckConsistency().size() + g_worldSize + g_turn + g_currentWorld->star->x;
        for (const Planet* p = g_currentWorld->planets; p; p = p->next)
            checksum += p->x + p->y + p->shieldPoints, f.explosionsMet += p == r.explodingPlanet;
        for (const Asteroid* a = g_currentWorld->asteroids; a; a = a->next)
            checksum += a->x + a->y + a->resources, f.explosionsMet += a == r.explodingAsteroid;
        for (const Ship* s = g_currentWorld->ships; s; s = s->next) {
            checksum += s->x + s->y + s->shieldPoints + s->holds + s->pixels[0].colour;
            f.explosionsMet += s == r.explodingShip;
            if (s == watched.load()) f.watchedX = s->x;
        }
        for (const Player* p = g_players; p; p = p->next) checksum += p->gold + p->planetCount + p->shipCount;
        auto l = Locked();
        l->frames.push_back(f);
        if (kind == FrameKind::Idle) l->idle.push_back(f);
        l->scrolls += kind == FrameKind::Scroll;
    }
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
    std::atomic<Ship*> watched{nullptr};
    std::size_t checksum = 0;  // what was read, so that no read is left out

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
        Unblock();
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
    void Unblock() { painter.Locked()->gate = Log::kOpen; }
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
// edge or with step 0: one idle frame per request. Stop ends the thread parked, drawing or pacing.
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
        const Log log = painter.log();  // scrolled once, then nothing at the edge
        EXPECT_EQ(std::tuple(log.shifts, log.scrolls, log.steps),
                  std::tuple(std::vector{std::pair(0, -10)}, 1, std::vector{kDefaultScrollStep, 55}));
        g_scrollRight = 1;
    }
    WaitFrames(0, 3);
    g_exitDrawing = 1;  // scrolling: the thread ends after the next idle frame
    NotifyDrawingFlags();
    WaitDrawingFlags([] { return !DrawingThreadRunning(); });
    const Log log = painter.log();
    int moved = 0;
    for (const auto& shift : log.shifts) moved += shift.first;
    EXPECT_EQ(g_viewLeft, 500 + moved);  // the stars moved exactly as far as the view
    EXPECT_EQ(std::tuple(log.shifts[1], log.shifts[2], g_viewRight - g_viewLeft, log.frames.back().kind, log.presented,
                         g_drawingPaused.load()),
              std::tuple(std::pair(55, 0), std::pair(55, 0), kViewWidth, FrameKind::Idle, int(log.frames.size()), 1));
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
