// A hand-built game for frame tests: one 2000-unit world with a yellow star
// in the middle, a human player and the neutral player, one race with a ship
// model and a weapon, and pictures of solid, distinct colours on a black
// star field, so that every layer can be found by its pixels.
#pragma once

#include <gtest/gtest.h>

#include <QColor>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QString>

#include <memory>

#include "model/globals.h"
#include "model/lists.h"
#include "model/records.h"
#include "presentation/map_painter.h"
#include "presentation/picture_set.h"
#include "presentation/text_layers.h"

namespace qv::painttest {

inline QImage Solid(int width, int height, QColor colour) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

// The colours of the test pictures.
inline const QColor kPlanet1(20, 200, 20);
inline const QColor kPlanet2(20, 200, 120);
inline const QColor kPlanet3(120, 200, 20);
inline const QColor kStarYellow(250, 240, 10);
inline const QColor kStarBlue(10, 40, 250);
inline const QColor kAsteroidRich(90, 60, 30);
inline const QColor kAsteroidSpent(220, 200, 150);
inline const QColor kBlastA(250, 120, 0);
inline const QColor kBlastB(250, 60, 60);
inline const QColor kBlastLarge(250, 200, 100);

inline constexpr QRgb kBlack = 0xFF000000u;
inline constexpr QRgb kRed = 0xFFFF0000u;
inline constexpr QRgb kWhite = 0xFFFFFFFFu;

// The human player's colour: 0x00BBGGRR with red FF, green 80, blue 00.
inline constexpr Colour kHumanColour = 0x000080FF;
inline constexpr QRgb kHumanRgb = 0xFFFF8000u;
// A computer player's colour: red 00, green C0, blue FF.
inline constexpr Colour kEnemyColour = 0x00FFC000;
inline constexpr QRgb kEnemyRgb = 0xFF00C0FFu;

inline PictureSet TestPictures() {
    PictureSet set;
    set.set(PictureRole::Stars, Solid(800, 600, Qt::black));
    set.set(PictureRole::StarYellow, Solid(163, 158, kStarYellow));
    set.set(PictureRole::StarBlue, Solid(163, 158, kStarBlue));
    set.set(PictureRole::Planet1, Solid(60, 60, kPlanet1));
    set.set(PictureRole::Planet2, Solid(60, 60, kPlanet2));
    set.set(PictureRole::Planet3, Solid(60, 60, kPlanet3));
    set.set(PictureRole::AsteroidRich, Solid(34, 34, kAsteroidRich));
    set.set(PictureRole::AsteroidSpent, Solid(34, 34, kAsteroidSpent));
    set.set(PictureRole::BlastSmallA, Solid(30, 30, kBlastA));
    set.set(PictureRole::BlastSmallB, Solid(30, 30, kBlastB));
    set.set(PictureRole::BlastLarge, Solid(60, 60, kBlastLarge));
    return set;
}

// Appends rec at the end of the list, keeping list order = creation order.
template <typename T>
void Append(T*& head, T* rec) {
    if (T* last = LastOf(head)) {
        last->next = rec;
        rec->prev = last;
    } else {
        head = rec;
    }
}

class MapFrameTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetGlobals();
        g_worldSize = 2000;
        g_worldCount = 1;
        g_turn = 7;

        race = new Race;
        race->name = "Testers";
        weapon = new Weapon;
        weapon->name = "Laser";
        weapon->range = 50;
        race->weapons = weapon;
        race->weaponCount = 1;
        model = new ShipModel;
        model->name = "Scout";
        race->shipModels = model;
        race->shipModelCount = 1;
        Append(g_races, race);

        human = new Player;
        human->colour = kHumanColour;
        human->race = race;
        human->gold = 2000;
        human->planetCount = 1;
        human->shipCount = 2;
        enemy = new Player;
        enemy->colour = kEnemyColour;
        enemy->race = race;
        neutral = new Player;
        neutral->colour = kNeutralColour;
        Append(g_players, human);
        Append(g_players, enemy);
        Append(g_players, neutral);

        world = new World;
        world->number = 1;
        world->star = new Star{1000, 1000, 1};
        Append(g_worlds, world);
        g_lastWorld = world;
        g_currentWorld = world;
        SetView(0, 0);

        painter = std::make_unique<MapPainter>(TestPictures());
    }

    void TearDown() override {
        painter.reset();
        ResetGlobals();
    }

    static void SetView(int left, int top) {
        g_viewLeft = left;
        g_viewTop = top;
        g_viewRight = left + kViewWidth;
        g_viewBottom = top + kViewHeight;
    }

    Planet* AddPlanet(int x, int y, int picture = 1, Player* owner = nullptr) {
        auto* p = new Planet;
        p->x = x;
        p->y = y;
        p->picture = picture;
        p->owner = owner ? owner : human;
        Append(world->planets, p);
        return p;
    }

    Asteroid* AddAsteroid(int x, int y, int resources = 100) {
        auto* a = new Asteroid;
        a->kind = 1;
        a->x = x;
        a->y = y;
        a->resources = resources;
        Append(world->asteroids, a);
        return a;
    }

    // A ship with an empty pixel list (nothing of it is drawn).
    Ship* AddShip(int x, int y, Player* owner = nullptr) {
        auto* s = new Ship;
        s->x = x;
        s->y = y;
        s->owner = owner ? owner : human;
        s->model = model;
        Append(world->ships, s);
        return s;
    }

    // Composes a frame and returns a copy of the back buffer.
    QImage Frame(FrameKind kind = FrameKind::Idle, const FrameRequests& requests = {}) {
        painter->compose(kind, requests);
        return painter->backBuffer().copy();
    }

    // What the frame shows when text in colour is written with its top-left
    // corner at (x, y) on the black star field and nothing else.
    static QImage TextOnBlack(const QString& text, QColor colour, int x, int y) {
        QImage image = Solid(kViewWidth, kViewHeight, Qt::black);
        QPainter p(&image);
        const TextLayers layers;
        p.setFont(layers.font());
        p.setPen(colour);
        layers.write(p, x, y, text);
        return image;
    }

    Race* race = nullptr;
    Weapon* weapon = nullptr;
    ShipModel* model = nullptr;
    Player* human = nullptr;
    Player* enemy = nullptr;
    Player* neutral = nullptr;
    World* world = nullptr;
    std::unique_ptr<MapPainter> painter;
};

// True when the two images agree on every pixel of the rectangle.
inline bool SameIn(const QImage& a, const QImage& b, const QRect& area) {
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (a.pixel(x, y) != b.pixel(x, y)) return false;
    return true;
}

// The number of pixels of the rectangle that are not black.
inline int LitIn(const QImage& image, const QRect& area) {
    int lit = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (image.pixel(x, y) != kBlack) ++lit;
    return lit;
}

}  // namespace qv::painttest
