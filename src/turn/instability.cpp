#include "turn/instability.h"

#include "model/geometry.h"
#include "model/globals.h"
#include "model/lists.h"
#include "model/platform.h"
#include "model/random.h"
#include "model/world_generation.h"
#include "turn/removal.h"
#include "turn/turn_report.h"

namespace qv {

namespace {

// A centre at least margin away from every edge of the map.
void DrawCentre(int margin, int& x, int& y) {
    const int size = g_worldSize;
    do {
        x = Rand() % size;
        y = Rand() % size;
    } while (x < margin || x > size - margin || y < margin || y > size - margin);
}

// A landing place within radius of (tx, ty) on both axes; drawn again while
// it is closer than starMargin to the star (0: no limit).
void DrawLanding(int tx, int ty, int radius, int starMargin, int& x, int& y) {
    const int centre = g_worldSize / 2;
    do {
        const int sx = Rand() % 2 == 0 ? -1 : 1;
        const int sy = Rand() % 2 == 0 ? -1 : 1;
        x = tx + sx * (Rand() % radius);
        y = ty + sy * (Rand() % radius);
    } while (starMargin > 0 && Distance(x, y, centre, centre) < starMargin);
}

bool Inside(int x, int y, int cx, int cy, int radius) { return Distance(x, y, cx, cy) < radius; }

}  // namespace

bool LandingPossible(int tx, int ty, int radius, int starMargin) {
    const int centre = g_worldSize / 2;
    const int reach = radius - 1;
    const int fx = tx >= centre ? tx + reach : tx - reach;
    const int fy = ty >= centre ? ty + reach : ty - reach;
    return Distance(fx, fy, centre, centre) >= starMargin;
}

namespace {

bool Caught(const Planet& p) { return !p.equip[kProtectiveShield]; }
bool Caught(const Asteroid&) { return true; }
bool Caught(const Ship&) { return true; }

// Moves every record of the list that lies inside the source region to the
// target region, walking the list again from its head after each move; the
// selection follows a moved record, with the world shown and the view.
template <typename T, typename Transfer>
void MoveCaught(T*& head, int starMargin, T*& selected, const InstabilityLevel& level, int cx, int cy,
                int tx, int ty, World* target, Transfer transfer) {
    for (;;) {
        T* r = head;
        while (r && !(Caught(*r) && Inside(r->x, r->y, cx, cy, level.radius))) r = r->next;
        if (!r) return;
        int x, y;
        DrawLanding(tx, ty, level.radius, starMargin, x, y);
        const bool wasSelected = r == selected;
        T* moved = transfer(r, x, y);
        if (wasSelected) {
            selected = moved;
            g_currentWorld = target;
            CentreViewOn(x, y);
        }
    }
}

void OneEvent(const InstabilityLevel& level) {
    World* source = RecordAt(g_worlds, Rand() % g_worldCount + 1);
    World* target = RecordAt(g_worlds, Rand() % g_worldCount + 1);
    if (!source || !target) return;
    int cx, cy, tx, ty;
    DrawCentre(level.margin, cx, cy);
    g_eventX = cx;
    g_eventY = cy;
    DrawCentre(level.margin, tx, ty);
    g_eventDestX = tx;
    g_eventDestY = ty;

    Platform& platform = CurrentPlatform();
    if (source == g_currentWorld) platform.showRing(RingKind::First, level.ringLevel);
    if (target == g_currentWorld) platform.showRing(RingKind::Second, level.ringLevel);

    // Planets without a Protective Shield; they stay where they are when
    // the target region has no place far enough from the star.
    if (LandingPossible(tx, ty, level.radius, kPlanetStarMargin)) {
        MoveCaught(source->planets, kPlanetStarMargin, g_selPlanet, level, cx, cy, tx, ty, target,
                   [&](Planet* p, int x, int y) {
                       RecordMoved(source, BodyKind::Planet, p->owner, p->x, p->y, target, x, y, {},
                                   HumanShipsIn(p->docks));
                       return TransferPlanet(source, p, target, x, y);
                   });
    }
    // Every asteroid.
    MoveCaught(source->asteroids, kAsteroidStarMargin, g_selAsteroid, level, cx, cy, tx, ty, target,
               [&](Asteroid* a, int x, int y) {
                   RecordMoved(source, BodyKind::Asteroid, nullptr, a->x, a->y, target, x, y, {},
                               HumanShipsIn(a->ships));
                   return TransferAsteroid(source, a, target, x, y);
               });
    // Ships in open space; docked and landed ships go with their body.
    MoveCaught(source->ships, 0, g_selShip, level, cx, cy, tx, ty, target, [&](Ship* s, int x, int y) {
        RecordMoved(source, BodyKind::Ship, s->owner, s->x, s->y, target, x, y,
                    s->model ? s->model->name : std::string());
        return TransferShipInSpace(source, s, target, x, y);
    });
}

}  // namespace

InstabilityLevel LevelOf(int unstability) {
    switch (unstability) {
        case 0: return {3, 300, 330, 3};
        case 1: return {2, 200, 230, 2};
        case 2: return {2, 100, 130, 1};
        default: return {0, 0, 0, 0};
    }
}

void InstabilityEvents(int unstability) {
    const InstabilityLevel level = LevelOf(unstability);
    for (int i = 0; i < level.events; ++i) OneEvent(level);
}

}  // namespace qv
