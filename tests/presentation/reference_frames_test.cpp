// Frames of one fixed hand-built game, compared pixel by pixel with the
// pictures in tests/fixtures/frames; a differing one is written to
// <build>/tests/NAME.actual.png. After a deliberate change of the drawing,
// rewrite the references and look at them before committing:
//   QUORVANE_UPDATE_FRAMES=1 build/default/bin/quorvane-presentation-tests
#include <gtest/gtest.h>

#include <QPainter>

#include <tuple>

#include "model/globals.h"
#include "model/lists.h"
#include "presentation/map_painter.h"
#include "presentation/power_graph.h"
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
    const QString out = QStringLiteral(QUORVANE_FRAMES_OUT "/") + name + ".actual.png";
    EXPECT_EQ(differing, 0) << "pixels differ from " << reference.toStdString() << "; see " << out.toStdString();
    if (differing > 0) actual.save(out);
}

// A record at window position (x, y) of the view from (600, 700); a ship with its sprite entries.
template <typename T>
T* Put(T*& list, int x, int y, Player* owner = nullptr, std::initializer_list<Pixel> sprite = {}) {
    T* rec = new T{};
    std::tie(rec->x, rec->y) = std::tuple(x + 600, y + 700);
    if constexpr (requires { rec->owner; }) rec->owner = owner;
    if constexpr (requires { rec->pixels; }) std::copy(sprite.begin(), sprite.end(), rec->pixels);
    InsertAtHead(list, rec);
    return rec;
}

// One world of 2600 seen from (600, 700); two players with races named in UTF-8 and in Latin-1, and the
// neutral player; pictures in solid colours, planet 1 and the rich asteroid larger than their box, so
// that one drawn past its margin would show.
TEST(ReferenceFrames, OfOneFixedGame) {
    ResetGlobals();
    std::tie(g_worldSize, g_worldCount, g_turn) = std::tuple(2600, 1, 7);
    std::tie(g_viewLeft, g_viewTop, g_viewRight, g_viewBottom) = std::tuple(600, 700, 1400, 1300);
    for (const char* name : {"Sol\xE9 Pact", "Sol\xC3\xA9 Guild"}) {
        InsertAtHead(g_races, new Race{});
        g_races->name = name;
    }
    Weapon weapon;
    ShipModel model;
    std::tie(weapon.range, model.name) = std::tuple(50, "Scout");
    for (int i = 0; i < 3; ++i) InsertAtHead(g_players, new Player{});
    Player *human = g_players, *enemy = human->next, *neutral = enemy->next;
    std::tie(human->colour, human->race, human->gold, human->planetCount, human->shipCount) =
        std::tuple(0x000080FF, g_races, 2000, 3, 12);  // orange
    std::tie(enemy->colour, enemy->race, neutral->colour) = std::tuple(0x00FFC000, g_races->next, kNeutralColour);
    World* world = g_currentWorld = g_lastWorld = g_worlds = new World{};
    std::tie(world->number, world->star) = std::tuple(65535, new Star{-79 + 600, 450 + 700, 1});
    PictureSet pictures;
    QImage stars = Solid(800, 600, Qt::black);
    for (const QPoint p : {QPoint(2, 3), QPoint(797, 596), QPoint(20, 300), QPoint(400, 1), QPoint(780, 590)})
        stars.setPixel(p, qRgb(200, 200, 255));
    pictures.set(PictureRole::Stars, stars);
    for (int i = 1; i <= static_cast<int>(PictureRole::BlastLarge); ++i) {
        const auto role = static_cast<PictureRole>(i);
        const bool large = role == PictureRole::Planet1 || role == PictureRole::AsteroidRich;
        pictures.set(role, Solid(large ? 100 : InfoOf(role).width, large ? 100 : InfoOf(role).height,
                                 QColor::fromHsv(i * 33, 120 + i * 10, 250 - i * 10)));
    }
    MapPainter painter(pictures);
    const auto Frame = [&](FrameKind kind, const FrameRequests& requests = {}) {
        painter.compose(kind, requests);
        return painter.backBuffer().copy();
    };

    constexpr Colour kWhite = 0xFFFFFF;
    // Margins: a planet 29 (drawn) and 30 (not) left of the view, 29 right of
    // it; an asteroid 16 and 17; a ship 14 and 15, its entry reaching in.
    Put(world->planets, -29, 80, human)->picture = 1;
    Put(world->planets, -30, 190, human)->picture = 1;
    Put(world->planets, 829, 420, human)->picture = 2;
    Put(world->asteroids, -16, 290)->resources = 5;
    (g_selAsteroid = Put(world->asteroids, -17, 560))->resources = 5;  // not drawn, its circle shows
    Put(world->ships, -14, 540, human, {{40, 15, kWhite}});
    Put(world->ships, -15, 580, human, {{40, 15, kWhite}});
    // Planet pictures 2, 3 and none; spent and rich asteroids; layers stacked.
    Put(world->planets, 130, 490, enemy)->picture = 2;
    Put(world->planets, 200, 490, human)->picture = 3;
    Put(world->planets, 270, 490, human)->picture = 4;
    Put(world->asteroids, 330, 490);
    Put(world->planets, 400, 200, human)->picture = 1;
    Put(world->asteroids, 410, 210)->resources = 1;
    Put(world->ships, 420, 220, human, {{15, 15, kWhite}, {16, 15, kWhite}});
    // Sprites: white takes the owner's colour, colour 0 ends the list, all
    // 700 entries drawn, clipped at the edges without wrapping.
    Put(world->ships, 520, 100, human, {{0, 0, kWhite}, {5, 2, 0x123456}, {29, 29, kWhite}, {10, 10, 0}, {12, 12, 1}});
    Put(world->ships, 560, 100, enemy, {{3, 4, kWhite}, {4, 4, 0xFEFFFF}});
    Ship* full = Put(world->ships, 600, 100);
    for (int i = 0; i < kPixelListSize; ++i) full->pixels[i] = Pixel{i % 30, i / 30 % 30, 0x000080};
    full->pixels[kPixelListSize - 1] = Pixel{29, 29, 0x008000};
    Put(world->ships, 790, 300, human, {{29, 16, kWhite}, {25, 16, kWhite}});
    Put(world->ships, 400, 595, human, {{15, 29, kWhite}, {15, 19, kWhite}});
    // Selected: a planet with a weapon, a ship with action points and one.
    Planet* selected = g_selPlanet = Put(world->planets, 250, 380, enemy);
    std::tie(selected->picture, selected->weapon) = std::tuple(3, &weapon);
    Ship* ship = g_selShip = g_hoverShip = Put(world->ships, 560, 420, enemy, {{15, 15, kWhite}});
    std::tie(ship->model, ship->actionPoints, ship->weapon, ship->holds, ship->shieldPoints) =
        std::tuple(&model, 60, &weapon, 2, 75);
    // Under the overview map, with a docked ship the overview leaves out.
    Put(world->planets, 640, 60, human)->picture = 2;
    Put(world->planets->docks, -500, -500, enemy);
    std::tie(g_eventX, g_eventY, g_eventDestX, g_eventDestY) = std::tuple(750, 1250, 1350, 1350);
    FrameRequests requests{.explodingAsteroid = Put(world->asteroids, 650, 520),
                           .explodingShip = Put(world->ships, 700, 520, human),
                           .ringFirst = 2,
                           .ringSecond = 1,
                           .afterglow = {}};
    const QImage idle = Frame(FrameKind::Idle, requests);
    ExpectReference(idle, "map_idle");

    // What the frame drew for its requests, drawn again from that alone, gives the same frame; it is
    // handed over once.
    using K = FrameEffect::Kind;
    const std::vector<FrameEffect> drawn = painter.takeEffectsDrawn();
    EXPECT_EQ(drawn, (std::vector<FrameEffect>{{K::Ring, 750, 1250, 2},
                                               {K::Ring, 1350, 1350, 1},
                                               {K::SmallBlastA, 1250, 1220},
                                               {K::SmallBlastB, 1300, 1220}}));
    FrameRequests glow;
    glow.afterglow = drawn;
    EXPECT_EQ(Frame(FrameKind::Idle, glow), idle);
    EXPECT_TRUE(painter.takeEffectsDrawn().empty());

    // The window sees a frame only once it is presented, and keeps it.
    EXPECT_NE(painter.frontImage(), idle);
    painter.present();
    const QImage shown = painter.frontImage();
    EXPECT_EQ(shown, idle);

    // Scroll frames leave out rings, explosions, panels, the computer-move
    // box and the game-over text; the star field moves against the view.
    g_computerMove = g_gameOver = 1;
    painter.shiftStars(30, -10);
    const QImage scroll = Frame(FrameKind::Scroll, requests);
    std::tie(g_computerMove, g_gameOver, g_hoverShip) = std::tuple(0, 0, nullptr);
    EXPECT_EQ(scroll, Frame(FrameKind::Idle,
                            {.ringFirst = 4, .ringSecond = -1, .afterglow = {}}));  // rings of levels 1 to 3 only
    painter.present();
    EXPECT_EQ(painter.frameSerial(), 2u);
    EXPECT_EQ(shown, idle);

    // The next idle frame: the large blast flips the phase, so the ship takes
    // the second picture; the computer-move box with the turn; game over over
    // the map; the star of kind 2; negative gold; a planet's panel; no rings or
    // selections this time.
    g_computerMove = g_gameOver = 1;
    g_hoverPlanet = Put(world->planets, 130, 310, human);
    std::tie(g_hoverPlanet->picture, g_hoverPlanet->shieldPoints) = std::tuple(2, 432);
    std::tie(g_turn, human->gold, world->star->kind) = std::tuple(1234, -1234, 2);
    requests = FrameRequests{.explodingPlanet = selected, .explodingShip = requests.explodingShip, .afterglow = {}};
    std::tie(g_selPlanet, g_selShip) = std::tuple(nullptr, nullptr);
    QImage over = Frame(FrameKind::Idle, requests);
    // Right of the gold the status line is the first frame's; not kept twice.
    EXPECT_EQ(over.copy(110, 0, 570, 30), scroll.copy(110, 0, 570, 30));
    QPainter(&over).fillRect(110, 0, 570, 30, Qt::black);
    ExpectReference(over, "map_over");

    // Beside the title screen: the holds line with full holds and with none,
    // the asteroid's panel; three turns of the players but the neutral one, a
    // power above 11000 leaving the top; a game of 1000 turns squeezed into
    // the graph, its history ending at turn 600.
    QImage more = Solid(1740, 600, Qt::white);
    QPainter p(&more);
    PictureSet set;
    set.set(PictureRole::Title, Solid(800, 600, QColor(0, 0, 60)));
    p.drawImage(0, 0, TitleScreenImage(set));
    Ship* carrier = Put(world->ships, 100, 100, enemy);
    Asteroid* rock = Put(world->asteroids, 300, 100);
    std::tie(carrier->holds, carrier->holdFull, rock->resources, g_hoverPlanet) = std::tuple(2, 1, -7, nullptr);
    for (int row = 0; row < 3; ++row, carrier->holds = 0) {
        g_hoverShip = row < 2 ? carrier : nullptr;
        g_hoverAsteroid = row < 2 ? nullptr : rock;
        p.drawImage(800, row * 22, Frame(FrameKind::Idle).copy(600, row < 2 ? 238 : 198, 200, 22));
    }
    for (int t = 0; t < 10; ++t)
        std::tie(human->power[t], enemy->power[t], neutral->power[t]) =
            std::tuple(5000 + 2000 * (t % 2) + 10000 * (t == 2), 1000, 9000);
    g_turn = 4;
    PowerGraphData many{1000, {{0x008000, std::vector<std::int32_t>(1000, 8000)}, {0x0000FF, {}}}};
    for (int t = 0; t < 600; ++t)
        many.lines[1].power.push_back(t == 500 ? 10000 : t > 300 ? 2000 + 2000 * (t % 2) : 1000);
    p.drawImage(800, 100, PowerGraphImage(CollectPowerGraph()));
    p.drawImage(1270, 100, PowerGraphImage(many));
    p.end();
    ExpectReference(more, "title_panels_graphs");
    ResetGlobals();
    // The built-in pictures have the sizes the map needs, or the game would show stand-ins.
    const PictureSet builtIn = PictureSet::Load();
    for (int i = 0; i < kPictureRoleCount; ++i)
        EXPECT_TRUE(builtIn.loaded(static_cast<PictureRole>(i))) << InfoOf(static_cast<PictureRole>(i)).name;
}

}  // namespace
}  // namespace qv
