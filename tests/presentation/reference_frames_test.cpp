// Frames of one fixed hand-built game, compared pixel by pixel with the
// reference pictures in tests/fixtures/frames. Pictures are solid colours, so
// every layer shows by its pixels; objects sit exactly at the margins where
// they stop being drawn. On a difference the frame is written beside the
// build (<build>/tests/frames/NAME.actual.png). After a deliberate change of
// the drawing, rewrite the references and look at them before committing:
//   QUORVANE_UPDATE_FRAMES=1 build/default/bin/quorvane-presentation-tests
#include <gtest/gtest.h>

#include <QDir>
#include <QImage>
#include <QPainter>

#include <algorithm>
#include <memory>
#include <tuple>
#include <vector>

#include "model/globals.h"
#include "model/lists.h"
#include "model/records.h"
#include "presentation/map_painter.h"
#include "presentation/picture_set.h"
#include "presentation/power_graph.h"
#include "presentation/text_layers.h"
#include "presentation/title_screen.h"

namespace qv {
namespace {

QImage Solid(int width, int height, QColor colour) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

void ExpectReference(const QImage& frame, const QString& name) {
    const QString reference = QStringLiteral(QUORVANE_FRAMES "/") + name + ".png";
    const QImage actual = frame.convertToFormat(QImage::Format_RGB32);
    if (qEnvironmentVariableIsSet("QUORVANE_UPDATE_FRAMES")) {
        EXPECT_TRUE(actual.save(reference, "PNG", 0));
        GTEST_SKIP() << "rewrote " << reference.toStdString();
    }
    const QImage expected = QImage(reference).convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(expected.size(), actual.size()) << reference.toStdString();
    int differing = 0;
    for (int y = 0; y < actual.height(); ++y)
        for (int x = 0; x < actual.width(); ++x) differing += actual.pixel(x, y) != expected.pixel(x, y);
    if (differing == 0) return;
    QDir().mkpath(QStringLiteral(QUORVANE_FRAMES_OUT));
    const QString out = QStringLiteral(QUORVANE_FRAMES_OUT "/") + name + ".actual.png";
    actual.save(out);
    ADD_FAILURE() << differing << " pixels differ from " << reference.toStdString() << "; see " << out.toStdString();
}

template <typename T>
T* Add(T*& head, T* rec) {
    if (T* last = LastOf(head)) {
        last->next = rec;
        rec->prev = last;
    } else {
        head = rec;
    }
    return rec;
}

// A world of 2600 seen from (600, 700); positions below are given in window
// coordinates (map minus the view's corner).
class ReferenceFrames : public ::testing::Test {
protected:
    void SetUp() override {
        ResetGlobals();
        g_worldSize = 2600;
        g_turn = 7;
        g_viewLeft = 600;
        g_viewTop = 700;
        g_viewRight = 1400;
        g_viewBottom = 1300;
        testers = Add(g_races, new Race{});
        testers->name = "Sol\xC3\xA9 Guild";  // UTF-8
        others = Add(g_races, new Race{});
        others->name = "Sol\xE9 Pact";  // Latin-1
        weapon = new Weapon{};
        weapon->range = 50;
        testers->weapons = weapon;
        testers->weaponCount = 1;
        model = new ShipModel{};
        model->name = "Scout";
        testers->shipModels = model;
        testers->shipModelCount = 1;
        human = AddPlayer(0x000080FF, testers);  // orange
        human->gold = 2000;
        human->planetCount = 3;
        human->shipCount = 12;
        enemy = AddPlayer(0x00FFC000, others);  // sky blue
        AddPlayer(kNeutralColour, nullptr);
        world = Add(g_worlds, new World{});
        world->number = 65535;
        world->star = new Star{-79 + 600, 450 + 700, 1};
        g_currentWorld = g_lastWorld = world;
        g_worldCount = 1;

        PictureSet pictures;
        QImage stars = Solid(800, 600, Qt::black);
        for (const QPoint p : {QPoint(2, 3), QPoint(797, 596), QPoint(20, 300), QPoint(400, 1), QPoint(780, 590)})
            stars.setPixel(p, qRgb(200, 200, 255));
        pictures.set(PictureRole::Stars, stars);
        // Planet 1 and the rich asteroid larger than their box, so that one
        // drawn past its margin would show.
        for (const auto& [role, size, colour] : std::initializer_list<std::tuple<PictureRole, QSize, QColor>>{
                 {PictureRole::StarYellow, {163, 158}, {250, 240, 10}},
                 {PictureRole::StarBlue, {163, 158}, {10, 40, 250}},
                 {PictureRole::Planet1, {100, 100}, {20, 200, 20}},
                 {PictureRole::Planet2, {60, 60}, {20, 200, 120}},
                 {PictureRole::Planet3, {60, 60}, {120, 200, 20}},
                 {PictureRole::AsteroidRich, {100, 100}, {90, 60, 30}},
                 {PictureRole::AsteroidSpent, {34, 34}, {220, 200, 150}},
                 {PictureRole::BlastSmallA, {30, 30}, {250, 120, 0}},
                 {PictureRole::BlastSmallB, {30, 30}, {250, 60, 60}},
                 {PictureRole::BlastLarge, {60, 60}, {250, 200, 100}}})
            pictures.set(role, Solid(size.width(), size.height(), colour));
        painter = std::make_unique<MapPainter>(pictures);
    }
    void TearDown() override {
        painter.reset();
        ResetGlobals();
    }

    Player* AddPlayer(Colour colour, Race* race) {
        Player* p = Add(g_players, new Player{});
        p->colour = colour;
        p->race = race;
        return p;
    }
    Planet* AddPlanet(int x, int y, int picture, Player* owner) {
        Planet* p = Add(world->planets, new Planet{});
        p->x = x + 600;
        p->y = y + 700;
        p->picture = picture;
        p->owner = owner;
        return p;
    }
    Asteroid* AddAsteroid(int x, int y, int resources) {
        Asteroid* a = Add(world->asteroids, new Asteroid{});
        a->kind = 1;
        a->x = x + 600;
        a->y = y + 700;
        a->resources = resources;
        return a;
    }
    // A ship with the sprite entries {x, y, colour}.
    Ship* AddShip(int x, int y, Player* owner, std::initializer_list<Pixel> sprite) {
        Ship* s = Add(world->ships, new Ship{});
        s->x = x + 600;
        s->y = y + 700;
        s->owner = owner;
        s->model = model;
        std::copy(sprite.begin(), sprite.end(), s->pixels);
        return s;
    }
    QImage Frame(FrameKind kind, const FrameRequests& requests = {}) {
        painter->compose(kind, requests);
        return painter->backBuffer().copy();
    }

    Race* testers = nullptr;
    Race* others = nullptr;
    Weapon* weapon = nullptr;
    ShipModel* model = nullptr;
    Player* human = nullptr;
    Player* enemy = nullptr;
    World* world = nullptr;
    std::unique_ptr<MapPainter> painter;
};

TEST_F(ReferenceFrames, MapLayersPanelsAndOverview) {
    constexpr Colour kWhite = 0xFFFFFF;
    // Margins: a planet 29 (drawn) and 30 (not) left of the view, 29 right of
    // it; an asteroid 16 and 17; a ship 14 and 15, its entry reaching in.
    AddPlanet(-29, 80, 1, human);
    AddPlanet(-30, 190, 1, human);
    AddPlanet(829, 420, 2, human);
    AddAsteroid(-16, 290, 5);
    g_selAsteroid = AddAsteroid(-17, 560, 5);  // its circle shows though it is not drawn
    AddShip(-14, 540, human, {{40, 15, kWhite}});
    AddShip(-15, 580, human, {{40, 15, kWhite}});
    // Planet pictures 2, 3 and none; spent and rich asteroids; layers stacked.
    AddPlanet(130, 490, 2, enemy);
    AddPlanet(200, 490, 3, human);
    AddPlanet(270, 490, 4, human);
    AddAsteroid(330, 490, 0);
    AddPlanet(400, 200, 1, human);
    AddAsteroid(410, 210, 1);
    AddShip(420, 220, human, {{15, 15, kWhite}, {16, 15, kWhite}});
    // Sprites: white takes the owner's colour, colour 0 ends the list, all
    // 700 entries drawn, clipped at the edges without wrapping.
    AddShip(520, 100, human, {{0, 0, kWhite}, {5, 2, 0x123456}, {29, 29, kWhite}, {10, 10, 0}, {12, 12, 0x123456}});
    AddShip(560, 100, enemy, {{3, 4, kWhite}, {4, 4, 0xFEFFFF}});
    Ship* full = AddShip(600, 100, nullptr, {});
    for (int i = 0; i < kPixelListSize; ++i) full->pixels[i] = Pixel{i % 30, i / 30 % 30, 0x000080};
    full->pixels[kPixelListSize - 1] = Pixel{29, 29, 0x008000};
    AddShip(790, 300, human, {{29, 16, kWhite}, {25, 16, kWhite}});
    AddShip(400, 595, human, {{15, 29, kWhite}, {15, 19, kWhite}});
    // Selections: a planet with a weapon, a ship with action points and one.
    Planet* selected = AddPlanet(250, 380, 3, enemy);
    selected->weapon = weapon;
    g_selPlanet = selected;
    Ship* ship = AddShip(560, 420, enemy, {{15, 15, kWhite}});
    ship->actionPoints = 60;
    ship->weapon = weapon;
    ship->holds = 2;
    ship->shieldPoints = 75;
    g_selShip = ship;
    g_hoverShip = ship;
    // Under the overview map, and a docked ship the overview leaves out.
    Planet* dock = AddPlanet(640, 60, 2, human);
    dock->docks = new Ship{};
    dock->docks->owner = enemy;
    g_eventX = 1000;  // rings of 200 and 100
    g_eventY = 1000;
    g_eventDestX = 900;
    g_eventDestY = 950;
    FrameRequests requests;
    requests.ringFirst = 2;
    requests.ringSecond = 1;
    requests.explodingAsteroid = AddAsteroid(650, 520, 5);  // the first blast picture,
    requests.explodingShip = AddShip(700, 520, human, {});  // then the second
    const QImage idle = Frame(FrameKind::Idle, requests);
    ExpectReference(idle, "map_idle");

    // The window sees a frame only once it is presented, and keeps it.
    EXPECT_NE(painter->frontImage(), idle);
    painter->present();
    const QImage shown = painter->frontImage();
    EXPECT_EQ(shown, idle);

    // Scroll frames leave out rings, explosions, panels, the computer-move
    // box and the game-over text; the star field moves against the view.
    g_computerMove = 1;
    g_gameOver = 1;
    painter->shiftStars(30, -10);
    const QImage scroll = Frame(FrameKind::Scroll, requests);
    g_computerMove = g_gameOver = 0;
    g_hoverShip = nullptr;
    EXPECT_EQ(scroll, Frame(FrameKind::Idle));
    painter->present();
    EXPECT_EQ(painter->frameSerial(), 2u);
    EXPECT_EQ(shown, idle);

    // The next idle frame: the large blast flips the phase, the ship takes
    // the second picture; the computer-move box with the turn; game over over
    // the map; a blue star; negative gold; a planet's panel.
    g_computerMove = g_gameOver = 1;
    g_hoverPlanet = AddPlanet(130, 310, 2, human);
    g_hoverPlanet->shieldPoints = 432;
    g_turn = 1234;
    human->gold = -1234;
    world->star->kind = 2;
    requests.explodingPlanet = selected;
    requests.explodingAsteroid = nullptr;
    ExpectReference(Frame(FrameKind::Idle, requests), "map_over");
}

TEST_F(ReferenceFrames, PanelLinesOfHoldsAndResources) {
    Ship* ship = AddShip(100, 100, enemy, {});
    QImage lines = Solid(200, 3 * 22, Qt::black);
    QPainter strip(&lines);
    ship->holds = 2;  // full, then none
    ship->holdFull = 1;
    g_hoverShip = ship;
    strip.drawImage(0, 0, Frame(FrameKind::Idle).copy(600, 238, 200, 22));
    ship->holds = 0;
    strip.drawImage(0, 22, Frame(FrameKind::Idle).copy(600, 238, 200, 22));
    g_hoverShip = nullptr;
    g_hoverAsteroid = AddAsteroid(300, 100, -7);
    strip.drawImage(0, 44, Frame(FrameKind::Idle).copy(600, 198, 200, 22));
    strip.end();
    ExpectReference(lines, "panel_lines");
}

TEST_F(ReferenceFrames, TitleAndPowerGraph) {
    PictureSet set;
    QImage title = Solid(800, 600, QColor(0, 0, 60));
    title.setPixel(0, 0, qRgb(1, 2, 3));
    title.setPixel(799, 599, qRgb(4, 5, 6));
    set.set(PictureRole::Title, title);
    ExpectReference(TitleScreenImage(set), "title");

    // Three turns of the players but the neutral one, a power above 11000
    // leaving the top; beside it a game of 1000 turns squeezed into the
    // graph, its history ending at turn 600.
    for (int t = 0; t < 10; ++t) {
        human->power[t] = 5000 + 2000 * (t % 2) + 10000 * (t == 2);
        enemy->power[t] = 1000;
        LastOf(g_players)->power[t] = 9000;
    }
    g_turn = 4;
    const QImage few = PowerGraphImage(CollectPowerGraph());
    PowerGraphData many{1000, {{0x008000, std::vector<std::int32_t>(1000, 8000)}, {0x0000FF, {}}}};
    for (int t = 0; t < 600; ++t)
        many.lines[1].power.push_back(t == 500 ? 10000 : t > 300 ? 2000 + 2000 * (t % 2) : 1000);
    QImage both = Solid(940, 290, Qt::white);
    QPainter p(&both);
    p.drawImage(0, 0, few);
    p.drawImage(470, 0, PowerGraphImage(many));
    p.end();
    ExpectReference(both, "power_graph");
}

TEST(Pictures, EveryRoleLoadsItsBuiltInPictureOfTheSizeTheMapNeeds) {
    const PictureSet set = PictureSet::Load();
    for (int i = 0; i < kPictureRoleCount; ++i)
        EXPECT_TRUE(set.loaded(static_cast<PictureRole>(i))) << InfoOf(static_cast<PictureRole>(i)).name;
}

}  // namespace
}  // namespace qv
