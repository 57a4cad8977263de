// Composing map frames with the Qt painter: one idle frame of a busy world
// (3 planets, 14 asteroids and 60 ships in view, each ship with a full
// 700-pixel sprite, selections with their range circles, the ship panel, the
// computer-move box and "GAME OVER"), a scroll frame with its star-field
// shift, handing a frame over, and beside them a plain copy of one 800 x 600
// RGB32 frame as the yardstick.
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QImage>

#include <chrono>
#include <ctime>
#include <cstring>
#include <memory>
#include <thread>

#include "model/globals.h"
#include "model/lists.h"
#include "model/records.h"
#include "drawing/drawing_flags.h"
#include "drawing/drawing_loop.h"
#include "presentation/map_painter.h"
#include "presentation/picture_set.h"

namespace {

// Text needs the fonts of a GUI application; one for the whole run, on the
// offscreen platform. It is never destroyed: destroyed among the statics at
// exit, after parts of Qt it still uses, it crashed the run.
void EnsureGuiApplication() {
    static int argc = 1;
    static char name[] = "quorvane-bench";
    static char* argv[] = {name, nullptr};
    if (QCoreApplication::instance()) return;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    new QGuiApplication(argc, argv);
}

template <typename T>
void Append(T*& head, T*& tail, T* rec) {
    rec->prev = tail;
    if (tail) tail->next = rec;
    else head = rec;
    tail = rec;
}

// The busy world, built by hand into the game globals; freed by the
// destructor.
struct BusyWorld {
    BusyWorld() {
        qv::ResetGlobals();
        qv::g_worldSize = 2000;
        qv::g_worldCount = 1;
        qv::g_turn = 123;

        auto* race = new qv::Race;
        race->name = "Solar Compact";
        auto* weapon = new qv::Weapon;
        weapon->name = "Laser";
        weapon->range = 150;
        race->weapons = weapon;
        auto* model = new qv::ShipModel;
        model->name = "Bastion";
        race->shipModels = model;
        qv::g_races = race;

        qv::Player* lastPlayer = nullptr;
        const qv::Colour colours[] = {0x0000FF00, 0x00FF8000, 0x000080FF, qv::kNeutralColour};
        for (qv::Colour colour : colours) {
            auto* player = new qv::Player;
            player->colour = colour;
            player->race = colour == qv::kNeutralColour ? nullptr : race;
            player->gold = -12345;
            player->planetCount = 3;
            player->shipCount = 60;
            Append(qv::g_players, lastPlayer, player);
        }

        auto* world = new qv::World;
        world->number = 1;
        world->star = new qv::Star{1000, 1000, 1};
        qv::g_worlds = qv::g_lastWorld = qv::g_currentWorld = world;
        qv::g_viewLeft = 600;
        qv::g_viewTop = 700;
        qv::g_viewRight = 1400;
        qv::g_viewBottom = 1300;

        qv::Planet* lastPlanet = nullptr;
        for (int i = 0; i < 3; ++i) {
            auto* p = new qv::Planet;
            p->x = 750 + 250 * i;
            p->y = 850 + 150 * i;
            p->picture = 1 + i;
            p->owner = qv::g_players;
            p->weapon = weapon;
            Append(world->planets, lastPlanet, p);
        }
        qv::Asteroid* lastAsteroid = nullptr;
        for (int i = 0; i < 14; ++i) {
            auto* a = new qv::Asteroid;
            a->x = 640 + 55 * i;
            a->y = 760 + (i % 4) * 140;
            a->resources = i % 3 ? 100 : 0;
            Append(world->asteroids, lastAsteroid, a);
        }
        qv::Ship* lastShip = nullptr;
        for (int i = 0; i < 60; ++i) {
            auto* s = new qv::Ship;
            s->x = 630 + (i % 12) * 62;
            s->y = 740 + (i / 12) * 110;
            s->owner = qv::RecordAt(qv::g_players, i % 4 + 1);
            s->model = model;
            s->weapon = weapon;
            s->actionPoints = 200;
            s->holds = 2;
            for (int k = 0; k < qv::kPixelListSize; ++k)
                s->pixels[k] = qv::Pixel{k % 30, k / 30 + 3, k % 2 ? qv::Colour{0xFFFFFF} : qv::Colour{0x00406080}};
            Append(world->ships, lastShip, s);
        }
        qv::g_selPlanet = world->planets;
        qv::g_selAsteroid = world->asteroids;
        qv::g_selShip = world->ships;
        qv::g_hoverShip = world->ships->next;
        qv::g_computerMove = 1;
        qv::g_gameOver = 1;
    }
    ~BusyWorld() { qv::ResetGlobals(); }
};

}  // namespace

namespace {

void ComposeIdleFrameOfBusyWorld(benchmark::State& state) {
    EnsureGuiApplication();
    BusyWorld world;
    qv::MapPainter painter(qv::PictureSet::Load());
    for (auto _ : state) {
        painter.compose(qv::FrameKind::Idle, qv::FrameRequests{});
        benchmark::DoNotOptimize(painter.backBuffer().constBits());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(ComposeIdleFrameOfBusyWorld)->Unit(benchmark::kMicrosecond);

void ShiftStarsAndComposeScrollFrame(benchmark::State& state) {
    EnsureGuiApplication();
    BusyWorld world;
    qv::MapPainter painter(qv::PictureSet::Load());
    for (auto _ : state) {
        painter.shiftStars(30, 0);
        painter.compose(qv::FrameKind::Scroll, qv::FrameRequests{});
        benchmark::DoNotOptimize(painter.backBuffer().constBits());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(ShiftStarsAndComposeScrollFrame)->Unit(benchmark::kMicrosecond);

void PresentFrame(benchmark::State& state) {
    EnsureGuiApplication();
    BusyWorld world;
    qv::MapPainter painter(qv::PictureSet::Load());
    painter.compose(qv::FrameKind::Idle, qv::FrameRequests{});
    for (auto _ : state) {
        painter.present();
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(PresentFrame)->Unit(benchmark::kMicrosecond);

// The yardstick: one plain copy of an 800 x 600 RGB32 frame.
void CopyFrameMemcpy(benchmark::State& state) {
    QImage source(qv::kViewWidth, qv::kViewHeight, QImage::Format_RGB32);
    source.fill(0xFF102030u);
    QImage target(qv::kViewWidth, qv::kViewHeight, QImage::Format_RGB32);
    target.fill(0u);
    for (auto _ : state) {
        std::memcpy(target.bits(), source.constBits(), static_cast<std::size_t>(source.sizeInBytes()));
        benchmark::DoNotOptimize(target.constBits());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * source.sizeInBytes());
}
BENCHMARK(CopyFrameMemcpy)->Unit(benchmark::kMicrosecond);

// The CPU the drawing thread takes while the busy world sits on screen with
// nothing happening: idle frames paced as the window paces them, measured as
// process CPU time over one second of wall time (in % of one core).
void IdleDrawingThreadCpu(benchmark::State& state) {
    EnsureGuiApplication();
    BusyWorld world;
    qv::MapPainter painter;
    qv::ResetDrawingFlags();
    qv::DrawingLoop loop;
    loop.Start(painter);
    qv::g_pauseDrawing = 0;
    qv::NotifyDrawingFlags();
    std::this_thread::sleep_for(std::chrono::milliseconds(200));  // settle
    double cpuShare = 0;
    double framesPerSecond = 0;
    for (auto _ : state) {
        const auto frames = painter.frameSerial();
        const std::clock_t cpu = std::clock();
        const auto wall = std::chrono::steady_clock::now();
        std::this_thread::sleep_for(std::chrono::seconds(1));
        const double wallSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - wall).count();
        cpuShare = 100.0 * (static_cast<double>(std::clock() - cpu) / CLOCKS_PER_SEC) / wallSeconds;
        framesPerSecond = static_cast<double>(painter.frameSerial() - frames) / wallSeconds;
    }
    loop.Stop();
    qv::ResetDrawingFlags();
    state.counters["cpu_percent_of_one_core"] = cpuShare;
    state.counters["frames_per_second"] = framesPerSecond;
}
BENCHMARK(IdleDrawingThreadCpu)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
