#include "presentation/map_painter.h"

#include <QPainter>

#include <cstring>
#include <utility>

#include "model/globals.h"
#include "model/records.h"
#include "presentation/overview_map.h"
#include "presentation/raster.h"
#include "presentation/text_layers.h"

namespace qv {

namespace {

constexpr QRgb kRed = qRgb(255, 0, 0);
constexpr QRgb kWhite = qRgb(255, 255, 255);
constexpr Colour kSpriteWhite = 0xFFFFFF;  // drawn in the owner's colour

// Half the picture size: how far outside the view a centre may lie and the
// picture still be drawn.
constexpr std::int64_t kStarMargin = 80;
constexpr std::int64_t kPlanetMargin = 30;
constexpr std::int64_t kAsteroidMargin = 17;
constexpr std::int64_t kShipMargin = 15;

QRgb OwnerRgb(const Player* owner) { return raster::ToRgb(owner ? owner->colour : kNeutralColour); }

// The view rectangle in map units, and map-to-window conversion.
struct View {
    std::int64_t left = g_viewLeft;
    std::int64_t top = g_viewTop;
    std::int64_t right = g_viewRight;
    std::int64_t bottom = g_viewBottom;

    bool shows(std::int64_t x, std::int64_t y, std::int64_t margin) const {
        return left - margin < x && x < right + margin && top - margin < y && y < bottom + margin;
    }
    std::int64_t wx(std::int64_t x) const { return x - left; }
    std::int64_t wy(std::int64_t y) const { return y - top; }
};

const QImage* PlanetPicture(const PictureSet& pictures, std::int32_t picture) {
    switch (picture) {
        case 1: return &pictures.get(PictureRole::Planet1);
        case 2: return &pictures.get(PictureRole::Planet2);
        case 3: return &pictures.get(PictureRole::Planet3);
        default: return nullptr;
    }
}

const QImage* StarPicture(const PictureSet& pictures, std::int32_t kind) {
    switch (kind) {
        case 1: return &pictures.get(PictureRole::StarYellow);
        case 2: return &pictures.get(PictureRole::StarBlue);
        default: return nullptr;
    }
}

// The ship's pixel list, from its top-left corner (x - 15, y - 15); white
// entries take the owner's colour, the first colour-0 entry ends the list.
void DrawSprite(raster::Surface& surface, const View& view, const Ship& ship) {
    const QRgb owner = OwnerRgb(ship.owner);
    const std::int64_t left = view.wx(ship.x) - 15;
    const std::int64_t top = view.wy(ship.y) - 15;
    for (const Pixel& p : ship.pixels) {
        if (p.colour == 0) break;
        surface.set(left + p.x, top + p.y, p.colour == kSpriteWhite ? owner : raster::ToRgb(p.colour));
    }
}

// An instability ring of radius 100 x level (levels 1 to 3; other values
// draw nothing) around the map point (x, y).
void DrawRing(raster::Surface& surface, const View& view, int level, std::int64_t x, std::int64_t y) {
    if (level < 1 || level > 3) return;
    surface.circle(view.wx(x), view.wy(y), 100 * level, kRed);
}

}  // namespace

MapPainter::MapPainter(PictureSet pictures)
    : pictures_(std::move(pictures)),
      back_(kViewWidth, kViewHeight, QImage::Format_RGB32),
      stars_(kViewWidth, kViewHeight, QImage::Format_RGB32),
      scratch_(kViewWidth, kViewHeight, QImage::Format_RGB32),
      text_(std::make_unique<TextLayers>()),
      front_(kViewWidth, kViewHeight, QImage::Format_RGB32) {
    back_.fill(Qt::black);
    front_.fill(Qt::black);
    stars_.fill(Qt::black);
    raster::Surface stars(stars_);
    stars.blit(pictures_.get(PictureRole::Stars), 0, 0);
}

MapPainter::~MapPainter() = default;

void MapPainter::setScrollStep(int step) { step_ = step; }

void MapPainter::shiftStars(int dx, int dy) {
    const int width = stars_.width();
    const int height = stars_.height();
    // Content moves by (-dx, -dy): the new pixel (x, y) is the old one at
    // ((x + dx) mod width, (y + dy) mod height).
    const int sx = static_cast<int>(((static_cast<long long>(dx) % width) + width) % width);
    const int sy = static_cast<int>(((static_cast<long long>(dy) % height) + height) % height);
    if (sx == 0 && sy == 0) return;
    const auto head = static_cast<std::size_t>(width - sx) * sizeof(QRgb);
    const auto tail = static_cast<std::size_t>(sx) * sizeof(QRgb);
    for (int y = 0; y < height; ++y) {
        const auto* source = reinterpret_cast<const QRgb*>(stars_.constScanLine((y + sy) % height));
        auto* target = reinterpret_cast<QRgb*>(scratch_.scanLine(y));
        std::memcpy(target, source + sx, head);
        std::memcpy(target + (width - sx), source, tail);
    }
    stars_.swap(scratch_);
}

void MapPainter::compose(FrameKind kind, const FrameRequests& requests) {
    raster::Surface surface(back_);
    surface.copyFrame(stars_);
    if (g_currentWorld) drawMap(kind, requests);

    QPainter painter(&back_);
    text_->drawStatusLine(painter);
    if (kind == FrameKind::Idle) {
        text_->drawPanels(painter);
        text_->drawComputerMove(painter);
        text_->drawGameOver(painter);
    }
}

FrameEffect::Kind MapPainter::drawSmallExplosion(std::int64_t x, std::int64_t y) {
    raster::Surface surface(back_);
    const bool second = phase_;
    surface.blit(pictures_.get(second ? PictureRole::BlastSmallB : PictureRole::BlastSmallA), x, y);
    phase_ = !phase_;
    return second ? FrameEffect::Kind::SmallBlastB : FrameEffect::Kind::SmallBlastA;
}

// Pictures of earlier requests still on screen, where they were first
// drawn: the rings under the bodies, the explosions over them.
void MapPainter::drawAfterglow(const std::vector<FrameEffect>& effects, bool rings) {
    const View view;
    raster::Surface surface(back_);
    for (const FrameEffect& e : effects) {
        const std::int64_t x = view.wx(e.x);
        const std::int64_t y = view.wy(e.y);
        switch (e.kind) {
            case FrameEffect::Kind::Ring:
                if (rings) DrawRing(surface, view, e.level, e.x, e.y);
                break;
            case FrameEffect::Kind::LargeBlast:
                if (!rings) surface.blit(pictures_.get(PictureRole::BlastLarge), x - 30, y - 30);
                break;
            case FrameEffect::Kind::SmallBlastA:
            case FrameEffect::Kind::SmallBlastB:
                if (!rings)
                    surface.blit(pictures_.get(e.kind == FrameEffect::Kind::SmallBlastA ? PictureRole::BlastSmallA
                                                                                        : PictureRole::BlastSmallB),
                                 x - 15, y - 15);
                break;
        }
    }
}

std::vector<FrameEffect> MapPainter::takeEffectsDrawn() { return std::exchange(effectsDrawn_, {}); }

void MapPainter::drawMap(FrameKind kind, const FrameRequests& requests) {
    const World& world = *g_currentWorld;
    const View view;
    const bool idle = kind == FrameKind::Idle;
    raster::Surface surface(back_);

    if (idle) {
        drawAfterglow(requests.afterglow, true);
        // The second ring is asked for on behalf of the event's destination:
        // it marks where the moved objects land.
        const std::pair<int, std::pair<std::int64_t, std::int64_t>> rings[] = {
            {requests.ringFirst, {g_eventX, g_eventY}}, {requests.ringSecond, {g_eventDestX, g_eventDestY}}};
        for (const auto& [level, at] : rings) {
            DrawRing(surface, view, level, at.first, at.second);
            if (level >= 1 && level <= 3)
                effectsDrawn_.push_back({FrameEffect::Kind::Ring, at.first, at.second, level});
        }
    }

    if (const Star* star = world.star; star && view.shows(star->x, star->y, kStarMargin))
        if (const QImage* picture = StarPicture(pictures_, star->kind))
            surface.blit(*picture, view.wx(star->x) - 80, view.wy(star->y) - 80);

    for (Planet* p = world.planets; p; p = p->next) {
        const std::int64_t x = view.wx(p->x);
        const std::int64_t y = view.wy(p->y);
        if (view.shows(p->x, p->y, kPlanetMargin))
            if (const QImage* picture = PlanetPicture(pictures_, p->picture)) surface.blit(*picture, x - 30, y - 30);
        if (p == g_selPlanet) {
            surface.circle(x, y, 35, OwnerRgb(p->owner));
            if (p->weapon) surface.circle(x, y, std::int64_t{p->weapon->range} + 30, kRed, raster::Stroke::Dotted);
        }
        if (idle && p == requests.explodingPlanet) {
            surface.blit(pictures_.get(PictureRole::BlastLarge), x - 30, y - 30);
            phase_ = !phase_;
            effectsDrawn_.push_back({FrameEffect::Kind::LargeBlast, p->x, p->y});
        }
    }

    for (Asteroid* a = world.asteroids; a; a = a->next) {
        const std::int64_t x = view.wx(a->x);
        const std::int64_t y = view.wy(a->y);
        if (view.shows(a->x, a->y, kAsteroidMargin))
            surface.blit(pictures_.get(a->resources > 0 ? PictureRole::AsteroidRich : PictureRole::AsteroidSpent),
                         x - 17, y - 17);
        if (a == g_selAsteroid) surface.circle(x, y, 22, kRed);
        if (idle && a == requests.explodingAsteroid)
            effectsDrawn_.push_back({drawSmallExplosion(x - 15, y - 15), a->x, a->y});
    }

    for (Ship* s = world.ships; s; s = s->next) {
        const std::int64_t x = view.wx(s->x);
        const std::int64_t y = view.wy(s->y);
        if (view.shows(s->x, s->y, kShipMargin)) DrawSprite(surface, view, *s);
        if (s == g_selShip) {
            surface.circle(x, y, 20, OwnerRgb(s->owner));
            surface.circle(x, y, s->actionPoints, kWhite, raster::Stroke::Dotted);
            if (s->weapon) surface.circle(x, y, s->weapon->range, kRed, raster::Stroke::Dotted);
        }
        if (idle && s == requests.explodingShip)
            effectsDrawn_.push_back({drawSmallExplosion(x - 15, y - 15), s->x, s->y});
    }
    if (idle) drawAfterglow(requests.afterglow, false);

    DrawOverviewMap(surface, world, g_worldSize, g_viewLeft, g_viewTop);
}

void MapPainter::present() {
    std::lock_guard lock(frontMutex_);
    std::memcpy(front_.bits(), back_.constBits(), static_cast<std::size_t>(back_.sizeInBytes()));
    serial_.fetch_add(1, std::memory_order_release);
}

QImage MapPainter::frontImage() const {
    std::lock_guard lock(frontMutex_);
    return front_;
}

}  // namespace qv
