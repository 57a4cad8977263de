// The drawing thread against a recording painter: parking and the pause
// hand-shake, idle and scroll frames, the frame signal, explosion and ring
// requests, scroll steps, the exit path and Stop, the game lock, and real
// turns played while the thread draws and another thread plays the input.
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <latch>
#include <mutex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "game_fixture.h"
#include "drawing/drawing_flags.h"
#include "drawing/drawing_loop.h"
#include "drawing/drawing_platform.h"
#include "drawing/game_lock.h"
#include "drawing/scroll.h"
#include "turn/computer_ships.h"
#include "turn/consistency.h"
#include "turn/end_turn.h"
#include "turn/removal.h"

namespace qv {
namespace {

using namespace std::chrono_literals;
using testing::GameTest;

// What one composed frame was given and saw.
struct FrameLog {
    FrameKind kind = FrameKind::Idle;
    FrameRequests requests;
    int frameWait = 0;  // g_frameWait as the frame began
    int step = 0;       // the scroll step the painter was set to
    ViewRect view;
    bool watchedSeen = false;  // the watched ship was met in the ship walk
    int watchedX = 0, watchedY = 0;
    int explosionsMet = 0;  // exploding records met in the walks
    std::uint64_t digest = 0;
};

// Reads every record field and game-wide value the map painter reads, in the
// same walks, and logs each frame. Frames can be held at a gate to catch the
// thread in the middle of one.
class RecordingPainter : public FramePainter {
public:
    void setScrollStep(int step) override {
        std::lock_guard<std::mutex> lock(mutex_);
        steps_.push_back(step);
        step_ = step;
    }

    void shiftStars(int dx, int dy) override {
        std::lock_guard<std::mutex> lock(mutex_);
        shifts_.emplace_back(dx, dy);
    }

    void compose(FrameKind kind, const FrameRequests& requests) override {
        passGate();
        FrameLog f;
        f.kind = kind;
        f.requests = requests;
        f.frameWait = g_frameWait.load();
        f.view = {g_viewLeft, g_viewTop, g_viewRight, g_viewBottom};
        f.digest = readEverything(kind, requests, f);
        {
            std::lock_guard<std::mutex> lock(mutex_);
            f.step = step_;
            frames_.push_back(f);
        }
        changed_.notify_all();
    }

    void present() override {
        const bool acknowledgedPause = g_drawingPaused.load() != 0;
        {
            std::lock_guard<std::mutex> lock(mutex_);
            ++presented_;
            presentedWhilePaused_ += acknowledgedPause;
        }
        changed_.notify_all();
    }

    std::vector<FrameLog> frames() const {
        std::lock_guard<std::mutex> lock(mutex_);
        return frames_;
    }
    std::vector<FrameLog> idleFrames() const {
        std::vector<FrameLog> idle;
        for (const FrameLog& f : frames())
            if (f.kind == FrameKind::Idle) idle.push_back(f);
        return idle;
    }
    int composed() const {
        std::lock_guard<std::mutex> lock(mutex_);
        return static_cast<int>(frames_.size());
    }
    int count(FrameKind kind) const {
        int n = 0;
        for (const FrameLog& f : frames()) n += f.kind == kind;
        return n;
    }
    int presented() const {
        std::lock_guard<std::mutex> lock(mutex_);
        return presented_;
    }
    // Frames handed over after the thread had already reported itself parked.
    int presentedWhilePaused() const {
        std::lock_guard<std::mutex> lock(mutex_);
        return presentedWhilePaused_;
    }
    std::vector<int> steps() const {
        std::lock_guard<std::mutex> lock(mutex_);
        return steps_;
    }
    std::vector<std::pair<int, int>> shifts() const {
        std::lock_guard<std::mutex> lock(mutex_);
        return shifts_;
    }

    // Blocks until at least n frames of the kind have been composed.
    void waitForFrames(FrameKind kind, int n) {
        std::unique_lock<std::mutex> lock(mutex_);
        changed_.wait(lock, [&] {
            int k = 0;
            for (const FrameLog& f : frames_) k += f.kind == kind;
            return k >= n;
        });
    }

    // The next frame to be composed stops at its start until openGate().
    void armGate() {
        std::lock_guard<std::mutex> lock(mutex_);
        gateArmed_ = true;
        gateReached_ = false;
        gateOpen_ = false;
    }
    void waitGateReached() {
        std::unique_lock<std::mutex> lock(mutex_);
        changed_.wait(lock, [&] { return gateReached_; });
    }
    void openGate() {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            gateOpen_ = true;
        }
        changed_.notify_all();
    }

    std::atomic<Ship*> watched{nullptr};

private:
    void passGate() {
        std::unique_lock<std::mutex> lock(mutex_);
        if (!gateArmed_) return;
        gateArmed_ = false;
        gateReached_ = true;
        changed_.notify_all();
        changed_.wait(lock, [&] { return gateOpen_; });
    }

    static std::uint64_t Mix(std::uint64_t d, std::int64_t v) {
        return (d ^ static_cast<std::uint64_t>(v)) * 1099511628211ull;
    }

    static Colour OwnerColour(const Player* owner) { return owner ? owner->colour : 0; }

    // The map layers, the overview and the text layers.
    std::uint64_t readEverything(FrameKind kind, const FrameRequests& r, FrameLog& f) {
        std::uint64_t d = 14695981039346656037ull;
        const World* w = g_currentWorld;
        d = Mix(d, g_worldSize);
        d = Mix(d, g_viewLeft + g_viewTop + g_viewRight + g_viewBottom);
        if (kind == FrameKind::Idle && (r.ringFirst || r.ringSecond)) d = Mix(d, g_eventX * 7 + g_eventY);
        if (const Star* s = w->star) d = Mix(d, s->x + s->y * 3 + s->kind);

        for (const Planet* p = w->planets; p; p = p->next) {
            d = Mix(d, p->x * 5 + p->y + p->picture + static_cast<std::int64_t>(OwnerColour(p->owner)));
            if (p == g_selPlanet) {
                d = Mix(d, OwnerColour(p->owner));
                if (p->weapon) d = Mix(d, p->weapon->range);
            }
            if (p == r.explodingPlanet) {
                d = Mix(d, p->x - p->y);
                ++f.explosionsMet;
            }
        }
        for (const Asteroid* a = w->asteroids; a; a = a->next) {
            d = Mix(d, a->x * 5 + a->y + (a->resources > 0));
            if (a == g_selAsteroid) d = Mix(d, a->x);
            if (a == r.explodingAsteroid) {
                d = Mix(d, a->x - a->y);
                ++f.explosionsMet;
            }
        }
        const Ship* watchedShip = watched.load();
        for (const Ship* s = w->ships; s; s = s->next) {
            const Colour own = OwnerColour(s->owner);
            d = Mix(d, s->x * 5 + s->y);
            for (const Pixel& px : s->pixels) {
                if (px.colour == 0) break;
                d = Mix(d, px.x * 31 + px.y + (px.colour == 0xFFFFFF ? own : px.colour));
            }
            if (s == g_selShip) {
                d = Mix(d, own + s->actionPoints);
                if (s->weapon) d = Mix(d, s->weapon->range);
            }
            if (s == r.explodingShip) {
                d = Mix(d, s->x - s->y);
                ++f.explosionsMet;
            }
            if (s == watchedShip) {
                f.watchedSeen = true;
                f.watchedX = s->x;
                f.watchedY = s->y;
            }
        }

        // Overview map: each list walked again.
        d = Mix(d, 785 - g_worldSize / 20);
        for (const Planet* p = w->planets; p; p = p->next) d = Mix(d, p->x / 20 + p->y / 20 + OwnerColour(p->owner));
        for (const Asteroid* a = w->asteroids; a; a = a->next) d = Mix(d, a->x / 20 + a->y / 20);
        for (const Ship* s = w->ships; s; s = s->next) d = Mix(d, s->x / 20 + s->y / 20 + OwnerColour(s->owner));

        // Status line.
        if (const Player* human = g_players)
            d = Mix(d, human->gold + human->planetCount * 3 + human->shipCount * 5 + human->colour);
        d = Mix(d, w->number);
        if (kind != FrameKind::Idle) return d;

        // Information panels, computer-move box, game over.
        if (const Planet* p = g_hoverPlanet) {
            if (p->owner && p->owner->race) d = Mix(d, static_cast<std::int64_t>(p->owner->race->name.size()));
            d = Mix(d, p->shieldPoints);
        }
        if (const Asteroid* a = g_hoverAsteroid) d = Mix(d, a->resources);
        if (const Ship* s = g_hoverShip) {
            if (s->owner && s->owner->race) d = Mix(d, static_cast<std::int64_t>(s->owner->race->name.size()));
            if (s->model) d = Mix(d, static_cast<std::int64_t>(s->model->name.size()));
            d = Mix(d, s->shieldPoints + s->holds * 3 + s->holdFull);
        }
        if (g_computerMove) d = Mix(d, g_turn);
        d = Mix(d, g_gameOver);
        return d;
    }

    mutable std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<FrameLog> frames_;
    std::vector<int> steps_;
    std::vector<std::pair<int, int>> shifts_;
    int presented_ = 0;
    int presentedWhilePaused_ = 0;
    int step_ = -1;
    bool gateArmed_ = false, gateReached_ = false, gateOpen_ = false;
};

// Blocks until the thread has ended (its procedure returned).
void WaitThreadEnded() {
    WaitDrawingFlags([] { return !DrawingThreadRunning(); });
}

// Indices, among the frames, of those for which pred holds.
template <typename Pred>
std::vector<int> Where(const std::vector<FrameLog>& frames, Pred pred) {
    std::vector<int> at;
    for (int i = 0; i < static_cast<int>(frames.size()); ++i)
        if (pred(frames[i])) at.push_back(i);
    return at;
}

class DrawingThreadTest : public GameTest {
protected:
    void SetUp() override {
        GameTest::SetUp();
        ResetDrawingFlags();
        NewGameOptions chosen;
        chosen.worldsQuantityOption = 2;
        chosen.aiPlayersOption = 2;
        chosen.unstabilityOption = 3;
        NewGame(chosen, 7);
        SetPlatform(&drawing);
        world = g_currentWorld;
        ASSERT_NE(world, nullptr);
        ASSERT_NE(world->planets, nullptr);
        ASSERT_NE(world->asteroids, nullptr);
    }
    void TearDown() override {
        painter.openGate();
        loop.Stop();
        ResetDrawingFlags();
        GameTest::TearDown();
    }

    // Unpaced, parked at first as at program start.
    void StartParked() { ASSERT_TRUE(loop.Start(painter, DrawingOptions{0us})); }
    void StartDrawing() {
        StartParked();
        hs().resumeDrawing();
    }
    DrawingHandshakes& hs() { return drawing.handshakes(); }

    // A ship of the human player in the shown world's open space.
    Ship* AddShip(int x, int y) {
        GameLockGuard game;
        Ship* s = MakeShip(g_players, 1, 1, x, y);
        InsertAtHead(world->ships, s);
        return s;
    }

    // Puts the view at (left, top).
    static void PlaceView(int left, int top) {
        GameLockGuard game;
        g_viewLeft = left;
        g_viewTop = top;
        g_viewRight = left + kViewWidth;
        g_viewBottom = top + kViewHeight;
    }

    DrawingPlatform drawing;
    RecordingPainter painter;
    DrawingLoop loop;
    World* world = nullptr;
};

TEST_F(DrawingThreadTest, ParksAtProgramStartAndDrawsIdleFramesOnceResumed) {
    EXPECT_EQ(g_pauseDrawing.load(), 1);
    EXPECT_EQ(g_drawingPaused.load(), 0);
    EXPECT_EQ(g_frameWait.load(), 0);
    StartParked();
    WaitDrawingFlags([] { return g_drawingPaused.load() != 0; });
    EXPECT_EQ(painter.composed(), 0);
    EXPECT_EQ(painter.presented(), 0);
    EXPECT_EQ(painter.steps(), std::vector<int>{kDefaultScrollStep});
    // A pause asked for while parked is acknowledged at once.
    hs().pauseDrawing();
    EXPECT_EQ(painter.composed(), 0);

    hs().resumeDrawing();
    // Idle frames follow one another without being asked for.
    painter.waitForFrames(FrameKind::Idle, 3);
    EXPECT_EQ(g_drawingPaused.load(), 0);
    EXPECT_EQ(painter.count(FrameKind::Scroll), 0);
}

TEST_F(DrawingThreadTest, PauseAskedMidFrameIsAcknowledgedOnlyAfterThatFrameIsPresented) {
    StartDrawing();
    painter.waitForFrames(FrameKind::Idle, 1);
    painter.armGate();
    painter.waitGateReached();  // the thread is now inside compose, holding the game lock
    const int presentedBefore = painter.presented();

    DrawingHandshakes pauser;
    std::latch pauseWaiting(1);
    bool signalled = false;  // touched by the pausing thread only
    int pausedWhileWaiting = -1;
    pauser.setPump(
        [&] {
            if (signalled) return;
            signalled = true;
            pausedWhileWaiting = g_drawingPaused.load();
            pauseWaiting.count_down();
        },
        1ms);
    int presentedAtAck = -1;
    std::thread game([&] {
        pauser.pauseDrawing();
        presentedAtAck = painter.presented();
    });
    pauseWaiting.wait();
    EXPECT_EQ(g_pauseDrawing.load(), 1);
    EXPECT_EQ(g_drawingPaused.load(), 0);
    painter.openGate();
    game.join();

    EXPECT_EQ(pausedWhileWaiting, 0);
    EXPECT_EQ(presentedAtAck, presentedBefore + 1);
    EXPECT_EQ(painter.presentedWhilePaused(), 0);
    EXPECT_EQ(g_drawingPaused.load(), 1);
    // Parked: nothing composed after the acknowledged frame.
    EXPECT_EQ(painter.composed(), painter.presented());

    hs().resumeDrawing();
    GameLockGuard game2;
    hs().waitForFrame();
    EXPECT_EQ(g_drawingPaused.load(), 0);
}

TEST_F(DrawingThreadTest, WaitForFrameReturnsAfterAFrameDrewTheShipAtEachStepOfItsMove) {
    Ship* ship = AddShip(900, 900);
    painter.watched = ship;
    StartDrawing();
    GameLockGuard game;
    // Three in-between places, one frame each, then the destination.
    MoveShipTo(world, ship, 960, 900);
    EXPECT_EQ(ship->x, 960);
    drawing.waitForFrame();
    EXPECT_EQ(drawing.frameWaits, 4);
    EXPECT_EQ(g_frameWait.load(), 0);

    const std::vector<FrameLog> idle = painter.idleFrames();
    const std::vector<int> firstStep = Where(idle, [](const FrameLog& f) { return f.watchedX == 915; });
    ASSERT_EQ(firstStep.size(), 1u);
    const int at = firstStep[0];
    ASSERT_EQ(static_cast<int>(idle.size()), at + 4);
    const int expectedX[] = {915, 930, 945, 960};
    for (int k = 0; k < 4; ++k) {
        EXPECT_TRUE(idle[at + k].watchedSeen);
        EXPECT_EQ(idle[at + k].watchedX, expectedX[k]);
        EXPECT_EQ(idle[at + k].watchedY, 900);
        EXPECT_EQ(idle[at + k].frameWait, 1) << "frame " << k << " did not serve a wait";
    }
    // Before the move the ship was drawn where it started.
    for (int i = 0; i < at; ++i) EXPECT_EQ(idle[i].watchedX, 900);
    EXPECT_EQ(painter.count(FrameKind::Scroll), 0);
}

TEST_F(DrawingThreadTest, EachExplosionAndRingRequestIsDrawnInExactlyOneIdleFrame) {
    Ship* ship = AddShip(1000, 1000);
    Planet* planet = world->planets;
    Asteroid* asteroid = world->asteroids;
    World* other = world->next ? world->next : g_worlds;
    ASSERT_NE(other, world);
    StartDrawing();
    {
        GameLockGuard game;
        // Each is asked for twice in a row by its caller.
        ShowExplosion(world, planet);
        ShowExplosion(world, asteroid);
        ShowExplosion(world, ship);
        // Nothing is shown for a world other than the one on screen.
        ShowExplosion(other, other->planets);
        drawing.showRing(RingKind::First, 2);
        drawing.showRing(RingKind::First, 2);
        drawing.showRing(RingKind::Second, 3);
        EXPECT_EQ(drawing.explosions, 6);
        EXPECT_EQ(drawing.rings, 3);
    }
    EXPECT_EQ(g_explodingPlanet.load(), nullptr);
    EXPECT_EQ(g_explodingAsteroid.load(), nullptr);
    EXPECT_EQ(g_explodingShip.load(), nullptr);
    EXPECT_EQ(g_ringFirst.load(), 0);
    EXPECT_EQ(g_ringSecond.load(), 0);

    const std::vector<FrameLog> idle = painter.idleFrames();
    const auto planetFrames = Where(idle, [&](const FrameLog& f) { return f.requests.explodingPlanet == planet; });
    const auto asteroidFrames =
        Where(idle, [&](const FrameLog& f) { return f.requests.explodingAsteroid == asteroid; });
    const auto shipFrames = Where(idle, [&](const FrameLog& f) { return f.requests.explodingShip == ship; });
    const auto firstRing = Where(idle, [](const FrameLog& f) { return f.requests.ringFirst != 0; });
    const auto secondRing = Where(idle, [](const FrameLog& f) { return f.requests.ringSecond != 0; });

    // Two requests in a row: two consecutive idle frames, in the order asked.
    for (const auto* frames : {&planetFrames, &asteroidFrames, &shipFrames, &firstRing}) {
        ASSERT_EQ(frames->size(), 2u);
        EXPECT_EQ((*frames)[1], (*frames)[0] + 1);
    }
    EXPECT_LT(planetFrames[1], asteroidFrames[0]);
    EXPECT_LT(asteroidFrames[1], shipFrames[0]);
    EXPECT_LT(shipFrames[1], firstRing[0]);
    ASSERT_EQ(secondRing.size(), 1u);
    EXPECT_EQ(secondRing[0], firstRing[1] + 1);
    EXPECT_EQ(idle[firstRing[0]].requests.ringFirst, 2);
    EXPECT_EQ(idle[secondRing[0]].requests.ringSecond, 3);

    // One request per frame, and the painter met each exploding record in
    // the shown world's lists.
    for (const FrameLog& f : idle) {
        const int requests = (f.requests.explodingPlanet != nullptr) + (f.requests.explodingAsteroid != nullptr) +
                             (f.requests.explodingShip != nullptr) + (f.requests.ringFirst != 0) +
                             (f.requests.ringSecond != 0);
        EXPECT_LE(requests, 1);
        EXPECT_EQ(f.explosionsMet, (f.requests.explodingPlanet != nullptr) +
                                       (f.requests.explodingAsteroid != nullptr) +
                                       (f.requests.explodingShip != nullptr));
    }
}

TEST_F(DrawingThreadTest, EveryWaitEndsWhileAScrollFlagPointsAtTheEdge) {
    Ship* ship = AddShip(300, 300);
    PlaceView(0, 200);
    g_scrollLeft = 1;
    StartDrawing();
    {
        GameLockGuard game;
        drawing.waitForFrame();
        ShowExplosion(world, ship);
        drawing.showRing(RingKind::First, 1);
        drawing.showRing(RingKind::Second, 1);
        drawing.changeScrollStep(40);
        drawing.waitForFrame();
        EXPECT_EQ(g_scrollStep.load(), 40);
    }
    // The flag at the edge draws nothing: exactly one idle frame per request.
    EXPECT_EQ(painter.count(FrameKind::Idle), 6);
    EXPECT_EQ(painter.count(FrameKind::Scroll), 0);
    EXPECT_TRUE(painter.shifts().empty());
    GameLockGuard game;
    EXPECT_EQ(g_viewLeft, 0);
    EXPECT_EQ(g_viewRight, kViewWidth);
}

TEST_F(DrawingThreadTest, EveryWaitEndsWhileTheViewKeepsScrolling) {
    // With step 0 a set flag makes scroll frames forever without moving.
    Ship* ship = AddShip(900, 800);
    g_scrollStep = 0;
    PlaceView(600, 500);
    g_scrollLeft = 1;
    StartDrawing();
    painter.waitForFrames(FrameKind::Scroll, 3);
    {
        GameLockGuard game;
        drawing.waitForFrame();
        ShowExplosion(world, ship);
        drawing.showRing(RingKind::First, 3);
        drawing.changeScrollStep(0);
        drawing.waitForFrame();
    }
    painter.waitForFrames(FrameKind::Scroll, painter.count(FrameKind::Scroll) + 1);  // scrolling goes on
    EXPECT_EQ(painter.count(FrameKind::Idle), 5);
    for (const FrameLog& f : painter.frames()) {
        EXPECT_EQ(f.view.left, 600);
        if (f.kind == FrameKind::Scroll) {  // requests wait for an idle frame
            EXPECT_EQ(f.requests.explodingShip, nullptr);
            EXPECT_EQ(f.requests.ringFirst, 0);
        }
    }
    for (const auto& shift : painter.shifts()) EXPECT_EQ(shift, std::make_pair(0, 0));
    GameLockGuard game;
    EXPECT_EQ(g_viewLeft, 600);
    EXPECT_EQ(g_viewTop, 500);
}

TEST_F(DrawingThreadTest, ScrollingTenPixelsFromTheTopMovesOnceAndThenDrawsNothing) {
    PlaceView(500, 10);
    g_scrollUp = 1;
    StartDrawing();
    painter.waitForFrames(FrameKind::Scroll, 1);
    {
        GameLockGuard game;
        drawing.waitForFrame();
        drawing.waitForFrame();
        EXPECT_EQ(g_viewTop, 0);
        EXPECT_EQ(g_viewBottom, kViewHeight);
        EXPECT_EQ(g_viewLeft, 500);
    }
    EXPECT_EQ(painter.shifts(), (std::vector<std::pair<int, int>>{{0, -10}}));
    EXPECT_EQ(painter.count(FrameKind::Scroll), 1);
    EXPECT_EQ(painter.count(FrameKind::Idle), 2);
    EXPECT_EQ(painter.frames().front().view, (ViewRect{500, 0, 1300, 600}));
}

TEST_F(DrawingThreadTest, ANewScrollStepIsAdoptedByALaterPassAndUsedForScrolling) {
    StartDrawing();
    {
        GameLockGuard game;
        drawing.waitForFrame();
        drawing.changeScrollStep(55);
        EXPECT_EQ(drawing.scrollStep, 55);
        drawing.waitForFrame();  // may be served by a pass begun before the change
        drawing.waitForFrame();
    }
    EXPECT_EQ(painter.steps(), (std::vector<int>{kDefaultScrollStep, 55}));
    EXPECT_EQ(painter.idleFrames().back().step, 55);

    PlaceView(100, 300);
    g_scrollRight = 1;
    painter.waitForFrames(FrameKind::Scroll, 2);
    g_scrollRight = 0;
    GameLockGuard game;
    const auto shifts = painter.shifts();
    ASSERT_GE(shifts.size(), 2u);
    EXPECT_EQ(shifts[0], std::make_pair(55, 0));
    EXPECT_EQ(shifts[1], std::make_pair(55, 0));
    // The stars moved exactly as far as the view.
    int moved = 0;
    for (const auto& shift : shifts) moved += shift.first;
    EXPECT_EQ(g_viewLeft, 100 + moved);
    EXPECT_EQ(g_viewRight - g_viewLeft, kViewWidth);
}

TEST_F(DrawingThreadTest, WaitsEndAndRequestsAreTakenBackWhenNoThreadDrawsOrItIsParked) {
    Ship* ship = AddShip(400, 400);
    auto askEverything = [&] {
        GameLockGuard game;
        drawing.waitForFrame();
        drawing.waitFrameIdle();
        drawing.showExplosion(ship);
        drawing.showRing(RingKind::First, 2);
        drawing.showRing(RingKind::Second, 2);
        EXPECT_EQ(g_frameWait.load(), 0);
        EXPECT_EQ(g_explodingShip.load(), nullptr);
        EXPECT_EQ(g_ringFirst.load(), 0);
        EXPECT_EQ(g_ringSecond.load(), 0);
        EXPECT_TRUE(GameLock().heldByThisThread());
    };
    // No thread at all.
    askEverything();
    drawing.pauseDrawing();
    drawing.resumeDrawing();

    // Parked: pauseDrawing comes back once the thread has parked.
    g_pauseDrawing = 1;
    StartParked();
    drawing.pauseDrawing();
    askEverything();
    EXPECT_EQ(painter.composed(), 0);

    // Resumed, the requests taken back are never drawn.
    drawing.resumeDrawing();
    {
        GameLockGuard game;
        drawing.waitForFrame();
    }
    for (const FrameLog& f : painter.frames()) {
        EXPECT_EQ(f.requests.explodingShip, nullptr);
        EXPECT_EQ(f.requests.ringFirst, 0);
        EXPECT_EQ(f.requests.ringSecond, 0);
    }

    // Stopped.
    loop.Stop();
    EXPECT_FALSE(DrawingThreadRunning());
    askEverything();
}

TEST_F(DrawingThreadTest, WithoutAGameNothingIsDrawnAndEveryWaitStillEnds) {
    {
        GameLockGuard game;
        DestroyGame();
        ASSERT_EQ(g_currentWorld, nullptr);
    }
    StartDrawing();
    {
        GameLockGuard game;
        drawing.waitForFrame();
        drawing.showRing(RingKind::First, 1);
        drawing.waitFrameIdle();
    }
    EXPECT_EQ(painter.composed(), 0);
    EXPECT_EQ(painter.presented(), 0);
    EXPECT_EQ(g_frameWait.load(), 0);
    EXPECT_EQ(g_ringFirst.load(), 0);
}

TEST_F(DrawingThreadTest, ExitRequestEndsTheThreadAfterAnIdleFrameEvenWhileScrolling) {
    g_scrollStep = 0;
    PlaceView(600, 500);
    g_scrollDown = 1;
    StartDrawing();
    painter.waitForFrames(FrameKind::Scroll, 2);
    g_exitDrawing = 1;
    NotifyDrawingFlags();
    WaitThreadEnded();
    EXPECT_EQ(g_drawingPaused.load(), 1);
    const std::vector<FrameLog> frames = painter.frames();
    ASSERT_FALSE(frames.empty());
    EXPECT_EQ(frames.back().kind, FrameKind::Idle);
    EXPECT_EQ(painter.presented(), static_cast<int>(frames.size()));
    EXPECT_TRUE(loop.started());
    loop.Stop();
    EXPECT_FALSE(loop.started());
}

TEST_F(DrawingThreadTest, ExitRequestWhileParkedEndsTheThreadAtOnce) {
    StartParked();
    WaitDrawingFlags([] { return g_drawingPaused.load() != 0; });
    g_exitDrawing = 1;
    NotifyDrawingFlags();
    WaitThreadEnded();
    EXPECT_EQ(painter.composed(), 0);
    EXPECT_EQ(g_drawingPaused.load(), 1);
    loop.Stop();
}

TEST_F(DrawingThreadTest, StopEndsTheThreadParkedDrawingOrPaced) {
    StartParked();
    EXPECT_FALSE(loop.Start(painter)) << "one thread per loop";
    WaitDrawingFlags([] { return g_drawingPaused.load() != 0; });
    loop.Stop();
    EXPECT_FALSE(DrawingThreadRunning());
    EXPECT_FALSE(loop.started());
    EXPECT_EQ(painter.composed(), 0);

    // Unpaced, drawing as fast as it can; stopped by a game thread that
    // holds the game lock (the thread may be waiting for it).
    StartDrawing();
    painter.waitForFrames(FrameKind::Idle, 2);
    {
        GameLockGuard game;
        loop.Stop();
        EXPECT_TRUE(GameLock().heldByThisThread());
    }
    EXPECT_FALSE(DrawingThreadRunning());
    EXPECT_EQ(g_drawingPaused.load(), 1);
    EXPECT_EQ(painter.presented(), painter.composed());

    // Paced, waiting out the frame interval.
    const int before = painter.composed();
    ASSERT_TRUE(loop.Start(painter, DrawingOptions{std::chrono::seconds(60)}));
    painter.waitForFrames(FrameKind::Idle, before + 1);
    loop.Stop();
    EXPECT_FALSE(DrawingThreadRunning());
}

TEST_F(DrawingThreadTest, WaitsLendTheGameLockAndPumpWithoutIt) {
    StartDrawing();
    painter.waitForFrames(FrameKind::Idle, 1);
    GameLockGuard outer;
    GameLockGuard inner;
    bool pumped = false;
    bool pumpHeldLock = false;
    // The frame that serves the wait cannot be finished before the pump ran.
    hs().setPump(
        [&] {
            pumpHeldLock = pumpHeldLock || GameLock().heldByThisThread();
            if (!pumped) painter.openGate();
            pumped = true;
        },
        1ms);
    painter.armGate();
    drawing.waitForFrame();
    hs().setPump({});
    EXPECT_TRUE(pumped);
    EXPECT_FALSE(pumpHeldLock);
    // Taken back as deep as it was held.
    EXPECT_TRUE(GameLock().heldByThisThread());
    EXPECT_EQ(GameLock().releaseAll(), 2);
    GameLock().retake(2);
}

TEST(GameLockTest, TheHolderMayTakeItAgainAndLendItOutEntirely) {
    GameMutex& lock = GameLock();
    auto otherThreadTakes = [&] {
        bool got = false;
        std::thread([&] {
            got = lock.try_lock();
            EXPECT_EQ(lock.heldByThisThread(), got);
            if (got) lock.unlock();
        }).join();
        return got;
    };
    EXPECT_FALSE(lock.heldByThisThread());
    {
        GameLockRelease nothingHeld;  // lends nothing
        EXPECT_FALSE(lock.heldByThisThread());
    }
    {
        GameLockGuard outer;
        GameLockGuard inner;
        EXPECT_TRUE(lock.heldByThisThread());
        EXPECT_FALSE(otherThreadTakes());
        {
            GameLockRelease lent;
            EXPECT_FALSE(lock.heldByThisThread());
            EXPECT_TRUE(otherThreadTakes());
        }
        EXPECT_TRUE(lock.heldByThisThread());
        EXPECT_FALSE(otherThreadTakes());
    }
    EXPECT_FALSE(lock.heldByThisThread());
    EXPECT_TRUE(otherThreadTakes());
}

// Real turns on autopilot, with ships flying and fighting on the shown world
// and instability events, while the drawing thread draws every frame and an
// input thread moves the hover pointers and the scroll flags. Run under
// ThreadSanitizer, this is the test of the whole locking design.
class TurnsWhileDrawing : public DrawingThreadTest {};

TEST_F(TurnsWhileDrawing, AutopilotTurnsWithTheRealThreadAndInputStayConsistent) {
    StartParked();
    {
        GameLockGuard game;
        NewGameOptions chosen;
        chosen.worldsQuantityOption = 2;  // few
        chosen.worldsSizeOption = 4;      // tiny
        chosen.aiPlayersOption = 0;       // lots
        chosen.unstabilityOption = 0;     // high
        chosen.creditsOption = 0;        // 5000 gold: fleets from the first turns
        NewGame(chosen, 2024);  // pauses the parked thread, builds, resumes
        ASSERT_EQ(drawing.pauses, 1);
        ASSERT_EQ(drawing.resumes, 1);
    }

    std::atomic<bool> done{false};
    std::latch inputBegan(1);
    std::thread input([&] {
        bool first = true;
        for (int i = 0; !done.load(); ++i) {
            {
                GameLockGuard game;
                const World* w = g_currentWorld;
                g_hoverPlanet = nullptr;
                g_hoverAsteroid = nullptr;
                g_hoverShip = nullptr;
                switch (i % 4) {
                    case 0: g_hoverShip = RecordAt(w->ships, i % 5 + 1); break;
                    case 1: g_hoverPlanet = RecordAt(w->planets, i % 3 + 1); break;
                    case 2: g_hoverAsteroid = RecordAt(w->asteroids, i % 4 + 1); break;
                    default: break;
                }
                for (ScrollDirection d : kScrollTestOrder) ScrollFlag(d) = 0;
                if (i % 3 != 0) ScrollFlag(kScrollTestOrder[(i / 3) % 8]) = 1;
            }
            if (first) inputBegan.count_down();
            first = false;
            std::this_thread::sleep_for(200us);  // the pace of a hand on the mouse
        }
        for (ScrollDirection d : kScrollTestOrder) ScrollFlag(d) = 0;
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
    // and every request was drawn in exactly one idle frame.
    EXPECT_GT(drawing.frameWaits, 0);
    EXPECT_GT(drawing.explosions, 0);
    EXPECT_GT(drawing.rings, 0);
    const std::vector<FrameLog> idle = painter.idleFrames();
    const auto served = Where(idle, [](const FrameLog& f) { return f.frameWait != 0; });
    const auto exploding = Where(idle, [](const FrameLog& f) {
        return f.requests.explodingPlanet || f.requests.explodingAsteroid || f.requests.explodingShip;
    });
    const auto ringed = Where(idle, [](const FrameLog& f) { return f.requests.ringFirst || f.requests.ringSecond; });
    EXPECT_EQ(static_cast<int>(served.size()), drawing.frameWaits);
    EXPECT_EQ(static_cast<int>(exploding.size()), drawing.explosions);
    EXPECT_EQ(static_cast<int>(ringed.size()), drawing.rings);
    for (int i : exploding) EXPECT_EQ(idle[i].explosionsMet, 1);
    EXPECT_EQ(painter.presented(), painter.composed());
    EXPECT_EQ(painter.presentedWhilePaused(), 0);
}

}  // namespace
}  // namespace qv
