#include "presentation/overview_map.h"

#include "model/globals.h"

namespace qv {

namespace {

constexpr QRgb kWhite = qRgb(255, 255, 255);
constexpr QRgb kYellow = qRgb(255, 255, 0);
constexpr QRgb kBackground = qRgb(15, 0, 0);

QRgb OwnerRgb(const Player* owner) { return raster::ToRgb(owner ? owner->colour : kNeutralColour); }

}  // namespace

void DrawOverviewMap(raster::Surface& surface, const World& world, std::int32_t worldSize, std::int32_t viewLeft,
                     std::int32_t viewTop) {
    constexpr int S = kOverviewScale;
    const std::int64_t w = worldSize;
    const std::int64_t x0 = OverviewLeft(w);
    const std::int64_t top = kOverviewTop;

    // The frame, filled, with a white outline.
    surface.fillBox(x0, top, kOverviewRight, OverviewBottom(w), kBackground);
    surface.frame(x0, top, kOverviewRight, OverviewBottom(w), kWhite);

    // The star stands at the centre of its world, a disc of radius 2.
    surface.disc(kOverviewRight - w / (2 * S), w / (2 * S) + top, 2, kYellow);

    // Planets as discs of radius 1, asteroids and ships as single points.
    for (const Planet* p = world.planets; p; p = p->next)
        surface.disc(x0 + p->x / S, p->y / S + top, 1, OwnerRgb(p->owner));

    for (const Asteroid* a = world.asteroids; a; a = a->next) surface.set(x0 + a->x / S, a->y / S + top, kWhite);

    for (const Ship* s = world.ships; s; s = s->next) surface.set(x0 + s->x / S, s->y / S + top, OwnerRgb(s->owner));

    // The part of the world in view, dotted.
    const std::int64_t l = x0 + viewLeft / S;
    const std::int64_t t = viewTop / S + top;
    surface.frame(l, t, l + kViewWidth / S, t + kViewHeight / S, kWhite, raster::Stroke::Dotted);
}

}  // namespace qv
