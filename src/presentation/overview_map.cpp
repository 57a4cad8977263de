#include "presentation/overview_map.h"

namespace qv {

namespace {

constexpr QRgb kWhite = qRgb(255, 255, 255);
constexpr QRgb kYellow = qRgb(255, 255, 0);
constexpr QRgb kBackground = qRgb(15, 0, 0);

QRgb OwnerRgb(const Player* owner) { return raster::ToRgb(owner ? owner->colour : kNeutralColour); }

}  // namespace

void DrawOverviewMap(raster::Surface& surface, const World& world, std::int32_t worldSize, std::int32_t viewLeft,
                     std::int32_t viewTop) {
    const std::int64_t w = worldSize;
    const std::int64_t x0 = OverviewLeft(w);

    // The frame (X0, 10) to (785, W/20 + 10), filled, with a white outline.
    surface.fillBox(x0, 10, 785, w / 20 + 10, kBackground);
    surface.frame(x0, 10, 785, w / 20 + 10, kWhite);

    // The star stands at the centre of its world: the box
    // (785 - W/40 - 2, W/40 + 8) to (785 - W/40 + 2, W/40 + 12).
    surface.disc(785 - w / 40, w / 40 + 10, 2, kYellow);

    // Planets: the box (X0 + x/20 - 1, y/20 + 9) to (X0 + x/20 + 1, y/20 + 11).
    for (const Planet* p = world.planets; p; p = p->next)
        surface.disc(x0 + p->x / 20, p->y / 20 + 10, 1, OwnerRgb(p->owner));

    for (const Asteroid* a = world.asteroids; a; a = a->next) surface.set(x0 + a->x / 20, a->y / 20 + 10, kWhite);

    for (const Ship* s = world.ships; s; s = s->next)
        surface.set(x0 + s->x / 20, s->y / 20 + 10, OwnerRgb(s->owner));

    // The view: (X0 + left/20, top/20 + 10) to (X0 + left/20 + 40, top/20 + 40).
    const std::int64_t l = x0 + viewLeft / 20;
    const std::int64_t t = viewTop / 20 + 10;
    surface.frame(l, t, l + 40, viewTop / 20 + 40, kWhite, raster::Stroke::Dotted);
}

}  // namespace qv
