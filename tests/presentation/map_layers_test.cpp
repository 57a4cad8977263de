// The map layers of a frame: which objects are drawn (the visibility margins),
// where, in which order, ship sprites, selection and range circles,
// instability rings and explosions.
#include "map_frame_fixture.h"

namespace qv::painttest {
namespace {

class MapLayersTest : public MapFrameTest {
protected:
    // The test pictures with one role replaced by a larger solid picture, so
    // that a picture skipped at the margin would still have reached into the
    // frame had it been drawn.
    void UseOversized(PictureRole role, QColor colour) {
        PictureSet set = TestPictures();
        set.set(role, Solid(100, 100, colour));
        painter = std::make_unique<MapPainter>(set);
    }
};

TEST_F(MapLayersTest, PlanetIsDrawnOnlyWhileItsCentreIsLessThan30OutsideTheView) {
    SetView(500, 400);
    Planet* p = AddPlanet(500 - 29, 700);  // window (-29, 300)
    QImage frame = Frame();
    EXPECT_EQ(frame.pixel(0, 300), kPlanet1.rgb()) << "its right edge shows in column 0";
    EXPECT_EQ(frame.pixel(1, 300), kBlack);

    UseOversized(PictureRole::Planet1, kPlanet1);
    frame = Frame();
    EXPECT_EQ(frame.pixel(40, 300), kPlanet1.rgb());
    p->x = 500 - 30;
    frame = Frame();
    EXPECT_EQ(LitIn(frame, QRect(0, 250, 80, 120)), 0) << "30 outside the left edge is not drawn";
    p->x = 500 + 350;
    p->y = 400 - 30;
    frame = Frame();
    EXPECT_EQ(LitIn(frame, QRect(320, 0, 100, 80)), 0) << "30 above the top edge is not drawn";
    p->y = 400 - 29;
    frame = Frame();
    EXPECT_EQ(frame.pixel(350, 40), kPlanet1.rgb());
    p->x = 500 + 829;  // window x 829: its left edge in column 799
    p->y = 700;
    frame = Frame();
    EXPECT_EQ(frame.pixel(799, 300), kPlanet1.rgb());
}

TEST_F(MapLayersTest, StarAsteroidAndShipMarginsAre80And17And15) {
    SetView(100, 100);
    world->star->x = 100 - 79;
    world->star->y = 400;
    QImage frame = Frame();
    EXPECT_EQ(frame.pixel(3, 300), kStarYellow.rgb()) << "163 wide from x - 80";
    EXPECT_EQ(frame.pixel(4, 300), kBlack);
    world->star->x = 100 - 80;
    frame = Frame();
    EXPECT_EQ(LitIn(frame, QRect(0, 200, 10, 200)), 0);

    world->star->x = 1000;
    UseOversized(PictureRole::AsteroidRich, kAsteroidRich);
    Asteroid* a = AddAsteroid(100 - 16, 400);
    frame = Frame();
    EXPECT_EQ(frame.pixel(50, 300), kAsteroidRich.rgb());
    a->x = 100 - 17;
    frame = Frame();
    EXPECT_EQ(LitIn(frame, QRect(0, 250, 90, 120)), 0);

    // A sprite entry reaching beyond the 30 x 30 box makes the ship's
    // margin visible.
    Ship* s = AddShip(100 - 14, 400);
    s->pixels[0] = Pixel{40, 15, 0xFFFFFF};
    frame = Frame();
    EXPECT_EQ(frame.pixel(-14 - 15 + 40, 300), kHumanRgb);
    s->x = 100 - 15;
    frame = Frame();
    EXPECT_EQ(frame.pixel(-15 - 15 + 40, 300), kBlack);
}

TEST_F(MapLayersTest, PicturesFollowTheirKindAndUnknownKindsDrawNothing) {
    SetView(600, 700);  // the star at window (400, 300)
    AddPlanet(700, 900, 2);
    AddPlanet(800, 900, 3);
    AddPlanet(900, 900, 4);
    Asteroid* spent = AddAsteroid(1100, 900, 0);
    QImage frame = Frame();
    EXPECT_EQ(frame.pixel(400, 300), kStarYellow.rgb());
    EXPECT_EQ(frame.pixel(100, 200), kPlanet2.rgb());
    EXPECT_EQ(frame.pixel(200, 200), kPlanet3.rgb());
    EXPECT_EQ(frame.pixel(300, 200), kBlack) << "picture 4 does not exist";
    EXPECT_EQ(frame.pixel(500, 200), kAsteroidSpent.rgb());

    world->star->kind = 2;
    spent->resources = 1;
    frame = Frame();
    EXPECT_EQ(frame.pixel(400, 300), kStarBlue.rgb());
    EXPECT_EQ(frame.pixel(500, 200), kAsteroidRich.rgb()) << "the rich picture while resources are left";

    world->star->kind = 0;
    frame = Frame();
    EXPECT_EQ(frame.pixel(400, 300), kBlack);
}

TEST_F(MapLayersTest, PicturesArePlacedByTheirCentreAndLaterListsCoverEarlierOnes) {
    SetView(600, 700);
    AddPlanet(1000, 1000);  // window (400, 300), on the star
    AddAsteroid(1000, 1000);
    Ship* s = AddShip(1000, 1000);
    s->pixels[0] = Pixel{15, 15, 0xFFFFFF};  // the ship's centre
    const QImage frame = Frame();
    EXPECT_EQ(frame.pixel(400, 300), kHumanRgb) << "ship over asteroid";
    EXPECT_EQ(frame.pixel(401, 300), kAsteroidRich.rgb()) << "asteroid over planet";
    EXPECT_EQ(frame.pixel(383, 283), kAsteroidRich.rgb()) << "asteroid box from x - 17";
    EXPECT_EQ(frame.pixel(382, 300), kPlanet1.rgb());
    EXPECT_EQ(frame.pixel(370, 270), kPlanet1.rgb()) << "planet box from x - 30";
    EXPECT_EQ(frame.pixel(429, 329), kPlanet1.rgb());
    EXPECT_EQ(frame.pixel(369, 300), kStarYellow.rgb()) << "planet over star";
    EXPECT_EQ(frame.pixel(320, 220), kStarYellow.rgb()) << "star box from x - 80";
    EXPECT_EQ(frame.pixel(319, 300), kBlack);
    EXPECT_EQ(frame.pixel(482, 300), kStarYellow.rgb());
    EXPECT_EQ(frame.pixel(483, 300), kBlack);
}

TEST_F(MapLayersTest, SpriteWhiteTakesTheOwnersColourAndTheFirstZeroEndsTheList) {
    Ship* mine = AddShip(400, 300);  // box from (385, 285)
    mine->pixels[0] = Pixel{0, 0, 0xFFFFFF};
    mine->pixels[1] = Pixel{5, 2, 0x00123456};
    mine->pixels[2] = Pixel{29, 29, 0xFFFFFF};
    mine->pixels[3] = Pixel{10, 10, 0};
    mine->pixels[4] = Pixel{12, 12, 0x00123456};
    Ship* theirs = AddShip(200, 300, enemy);
    theirs->pixels[0] = Pixel{3, 4, 0xFFFFFF};
    theirs->pixels[1] = Pixel{4, 4, 0x00FEFFFF};  // almost white stays as it is
    Ship* full = AddShip(600, 300, neutral);
    for (int i = 0; i < kPixelListSize; ++i) full->pixels[i] = Pixel{i % 30, i / 30 % 30, 0x00000080};
    full->pixels[kPixelListSize - 1] = Pixel{29, 29, 0x00008000};

    const QImage frame = Frame();
    EXPECT_EQ(frame.pixel(385, 285), kHumanRgb);
    EXPECT_EQ(frame.pixel(390, 287), qRgb(0x56, 0x34, 0x12));
    EXPECT_EQ(frame.pixel(414, 314), kHumanRgb);
    EXPECT_EQ(frame.pixel(395, 295), kBlack) << "the colour-0 entry draws nothing";
    EXPECT_EQ(frame.pixel(397, 297), kBlack) << "entries after it are not drawn";
    EXPECT_EQ(frame.pixel(188, 289), kEnemyRgb);
    EXPECT_EQ(frame.pixel(189, 289), qRgb(0xFF, 0xFF, 0xFE));
    EXPECT_EQ(frame.pixel(585, 285), qRgb(0x80, 0, 0));
    EXPECT_EQ(frame.pixel(614, 314), qRgb(0, 0x80, 0)) << "all 700 entries are drawn";
}

TEST_F(MapLayersTest, SpritesAreClippedAtTheFrameEdgesWithoutWrapping) {
    Ship* left = AddShip(10, 300);
    left->pixels[0] = Pixel{0, 15, 0xFFFFFF};  // window (-5, 300)
    left->pixels[1] = Pixel{20, 15, 0xFFFFFF};
    Ship* right = AddShip(790, 300);
    right->pixels[0] = Pixel{29, 16, 0xFFFFFF};  // window (804, 301)
    Ship* edge = AddShip(3, 200);
    for (int i = 0; i < 30; ++i) edge->pixels[i] = Pixel{i, i, 0xFFFFFF};  // from window (-12, 185)
    Ship* top = AddShip(400, 3);
    top->pixels[0] = Pixel{15, 0, 0xFFFFFF};  // window (400, -12)
    Ship* bottom = AddShip(400, 595);
    bottom->pixels[0] = Pixel{15, 29, 0xFFFFFF};  // window (400, 609)

    const QImage frame = Frame();
    EXPECT_EQ(frame.pixel(15, 300), kHumanRgb);
    EXPECT_EQ(frame.pixel(795, 299), kBlack);
    EXPECT_EQ(frame.pixel(4, 302), kBlack);
    EXPECT_EQ(frame.pixel(0, 197), kHumanRgb);
    EXPECT_EQ(frame.pixel(17, 214), kHumanRgb);
    EXPECT_EQ(frame.pixel(788, 184), kBlack);
    EXPECT_EQ(frame.pixel(799, 195), kBlack);
    EXPECT_EQ(LitIn(frame, QRect(0, 590, 800, 10)), 0);
}

TEST_F(MapLayersTest, SelectedPlanetGetsAnOwnerCircleOf35AndADottedRangeCircle) {
    Planet* p = AddPlanet(400, 300, 1, enemy);
    g_selPlanet = p;
    QImage frame = Frame();
    // The box (365, 265) to (435, 335): its outermost pixels.
    EXPECT_EQ(frame.pixel(365, 300), kEnemyRgb);
    EXPECT_EQ(frame.pixel(434, 300), kEnemyRgb);
    EXPECT_EQ(frame.pixel(400, 265), kEnemyRgb);
    EXPECT_EQ(frame.pixel(400, 334), kEnemyRgb);
    EXPECT_EQ(frame.pixel(364, 300), kBlack);
    EXPECT_EQ(frame.pixel(435, 300), kBlack);
    EXPECT_EQ(frame.pixel(400, 264), kBlack);
    EXPECT_EQ(frame.pixel(400, 335), kBlack);
    EXPECT_EQ(frame.pixel(365, 301), kEnemyRgb) << "a solid line";
    for (int x = 0; x < 800; ++x) EXPECT_NE(frame.pixel(x, 300), kRed) << "no range circle without a weapon";

    p->weapon = weapon;  // range 50: a circle of 80
    frame = Frame();
    EXPECT_EQ(frame.pixel(320, 300), kRed);
    EXPECT_EQ(frame.pixel(479, 300), kRed);
    EXPECT_EQ(frame.pixel(400, 220), kRed);
    EXPECT_EQ(frame.pixel(400, 379), kRed);
    EXPECT_EQ(frame.pixel(319, 300), kBlack);
    EXPECT_EQ(frame.pixel(480, 300), kBlack);
    EXPECT_EQ(frame.pixel(320, 301), kBlack) << "dotted: every other pixel is left out";
    EXPECT_EQ(frame.pixel(320, 302), kRed);

    g_selPlanet = nullptr;
    frame = Frame();
    EXPECT_EQ(LitIn(frame, QRect(300, 200, 200, 200)), 60 * 60) << "only the picture without the selection";
}

TEST_F(MapLayersTest, SelectionCirclesAreDrawnForObjectsOutsideTheView) {
    Planet* p = AddPlanet(-31, 300);  // not drawn: 31 outside
    g_selPlanet = p;
    const QImage frame = Frame();
    EXPECT_EQ(frame.pixel(0, 300), kBlack);
    EXPECT_EQ(frame.pixel(3, 300), kHumanRgb) << "the circle's right edge at -31 + 34";
}

TEST_F(MapLayersTest, SelectedShipShowsOwnerMovementAndWeaponCircles) {
    Ship* s = AddShip(400, 300, enemy);
    s->pixels[0] = Pixel{0, 0, 0};  // draws nothing
    s->actionPoints = 60;
    g_selShip = s;
    QImage frame = Frame();
    EXPECT_EQ(frame.pixel(380, 300), kEnemyRgb);
    EXPECT_EQ(frame.pixel(419, 300), kEnemyRgb);
    EXPECT_EQ(frame.pixel(400, 280), kEnemyRgb);
    EXPECT_EQ(frame.pixel(379, 300), kBlack);
    EXPECT_EQ(frame.pixel(340, 300), kWhite) << "movement circle of radius 60";
    EXPECT_EQ(frame.pixel(459, 300), kWhite);
    EXPECT_EQ(frame.pixel(400, 240), kWhite);
    EXPECT_EQ(frame.pixel(339, 300), kBlack);
    for (int x = 0; x < 800; ++x) EXPECT_NE(frame.pixel(x, 300), kRed) << "no weapon, no red circle";

    s->weapon = weapon;  // range 50
    s->actionPoints = 0;
    frame = Frame();
    EXPECT_EQ(frame.pixel(350, 300), kRed);
    EXPECT_EQ(frame.pixel(449, 300), kRed);
    EXPECT_EQ(frame.pixel(400, 250), kRed);
    EXPECT_EQ(frame.pixel(349, 300), kBlack);
    for (int x = 0; x < 800; ++x) EXPECT_NE(frame.pixel(x, 300), kWhite) << "0 action points: no movement circle";
}

TEST_F(MapLayersTest, SelectedAsteroidGetsARedCircleOf22) {
    g_selAsteroid = AddAsteroid(400, 300);
    const QImage frame = Frame();
    EXPECT_EQ(frame.pixel(378, 300), kRed);
    EXPECT_EQ(frame.pixel(421, 300), kRed);
    EXPECT_EQ(frame.pixel(400, 278), kRed);
    EXPECT_EQ(frame.pixel(400, 321), kRed);
    EXPECT_EQ(frame.pixel(377, 300), kBlack);
    EXPECT_EQ(frame.pixel(422, 300), kBlack);
}

TEST_F(MapLayersTest, RingRadiusIs100PerLevelAndOnlyWhenRequested) {
    SetView(100, 100);
    g_eventX = 500;  // window (400, 300)
    g_eventY = 400;
    g_eventDestX = 400;  // window (300, 250)
    g_eventDestY = 350;
    FrameRequests ring;
    ring.ringFirst = 2;
    QImage frame = Frame(FrameKind::Idle, ring);
    EXPECT_EQ(frame.pixel(200, 300), kRed);
    EXPECT_EQ(frame.pixel(599, 300), kRed);
    EXPECT_EQ(frame.pixel(400, 100), kRed);
    EXPECT_EQ(frame.pixel(400, 499), kRed);
    EXPECT_EQ(frame.pixel(199, 300), kBlack);
    EXPECT_EQ(frame.pixel(600, 300), kBlack);
    EXPECT_EQ(frame.pixel(200, 301), kRed) << "a solid line";
    EXPECT_EQ(frame.pixel(300, 300), kBlack) << "no ring of level 1";

    frame = Frame();
    EXPECT_EQ(frame.pixel(200, 300), kBlack) << "not without a request";
    frame = Frame(FrameKind::Scroll, ring);
    EXPECT_EQ(frame.pixel(200, 300), kBlack) << "not in a scroll frame";

    for (int level : {0, 4, -1}) {
        ring.ringFirst = level;
        frame = Frame(FrameKind::Idle, ring);
        int red = 0;
        for (int y = 0; y < 600; ++y)
            for (int x = 0; x < 680; ++x) red += frame.pixel(x, y) == kRed;
        EXPECT_EQ(red, 0) << "level " << level;
    }

    // The second ring marks the destination of the moved objects.
    ring.ringFirst = 0;
    ring.ringSecond = 1;
    frame = Frame(FrameKind::Idle, ring);
    EXPECT_EQ(frame.pixel(200, 250), kRed);
    EXPECT_EQ(frame.pixel(399, 250), kRed);
    EXPECT_EQ(frame.pixel(300, 150), kRed);
    EXPECT_EQ(frame.pixel(300, 300), kBlack) << "not around the event centre";

    ring.ringFirst = 3;
    frame = Frame(FrameKind::Idle, ring);
    EXPECT_EQ(frame.pixel(100, 300), kRed) << "both rings in one frame";
    EXPECT_EQ(frame.pixel(200, 250), kRed);
}

TEST_F(MapLayersTest, SmallExplosionsAlternateByThePhaseBitOnConsecutiveIdleFrames) {
    Ship* s = AddShip(400, 300);
    Asteroid* a = AddAsteroid(200, 300);
    FrameRequests boom;
    boom.explodingShip = s;
    ASSERT_FALSE(painter->explosionPhase());

    QImage frame = Frame(FrameKind::Idle, boom);
    EXPECT_EQ(frame.pixel(385, 285), kBlastA.rgb());
    EXPECT_EQ(frame.pixel(414, 314), kBlastA.rgb());
    EXPECT_EQ(frame.pixel(384, 300), kBlack);
    EXPECT_EQ(frame.pixel(415, 300), kBlack);
    EXPECT_TRUE(painter->explosionPhase());
    frame = Frame(FrameKind::Idle, boom);
    EXPECT_EQ(frame.pixel(400, 300), kBlastB.rgb());
    EXPECT_FALSE(painter->explosionPhase());
    frame = Frame();
    EXPECT_EQ(frame.pixel(400, 300), kBlack) << "drawn only while requested";

    // One bit for all: the asteroid takes A, the ship after it B.
    boom.explodingAsteroid = a;
    frame = Frame(FrameKind::Idle, boom);
    EXPECT_EQ(frame.pixel(200, 300), kBlastA.rgb());
    EXPECT_EQ(frame.pixel(184, 300), kAsteroidRich.rgb()) << "30 x 30 from x - 15 over the 34 x 34 asteroid";
    EXPECT_EQ(frame.pixel(185, 300), kBlastA.rgb());
    EXPECT_EQ(frame.pixel(400, 300), kBlastB.rgb());
    EXPECT_FALSE(painter->explosionPhase());

    frame = Frame(FrameKind::Scroll, boom);
    EXPECT_EQ(frame.pixel(400, 300), kBlack) << "no explosions in scroll frames";
    EXPECT_FALSE(painter->explosionPhase());
}

TEST_F(MapLayersTest, PlanetExplosionFlipsThePhaseWithoutChangingItsPicture) {
    Planet* p = AddPlanet(400, 300);
    Ship* s = AddShip(600, 300);
    FrameRequests boom;
    boom.explodingPlanet = p;
    QImage frame = Frame(FrameKind::Idle, boom);
    EXPECT_EQ(frame.pixel(370, 270), kBlastLarge.rgb());
    EXPECT_EQ(frame.pixel(429, 329), kBlastLarge.rgb());
    EXPECT_TRUE(painter->explosionPhase());
    frame = Frame(FrameKind::Idle, boom);
    EXPECT_EQ(frame.pixel(400, 300), kBlastLarge.rgb());
    EXPECT_FALSE(painter->explosionPhase());
    frame = Frame(FrameKind::Idle, boom);
    boom.explodingPlanet = nullptr;
    boom.explodingShip = s;
    frame = Frame(FrameKind::Idle, boom);
    EXPECT_EQ(frame.pixel(600, 300), kBlastB.rgb()) << "after an odd number of planet flips";
}

TEST_F(MapLayersTest, ExplosionsOfRecordsOutsideTheCurrentWorldAreNotDrawn) {
    Ship stray;  // in no list of the current world
    stray.x = 400;
    stray.y = 300;
    FrameRequests boom;
    boom.explodingShip = &stray;
    const QImage frame = Frame(FrameKind::Idle, boom);
    EXPECT_EQ(frame.pixel(400, 300), kBlack);
    EXPECT_FALSE(painter->explosionPhase());

    // One of the world's asteroids far outside the view still counts.
    boom.explodingShip = nullptr;
    boom.explodingAsteroid = AddAsteroid(1900, 1900);
    Frame(FrameKind::Idle, boom);
    EXPECT_TRUE(painter->explosionPhase());
}

}  // namespace
}  // namespace qv::painttest
